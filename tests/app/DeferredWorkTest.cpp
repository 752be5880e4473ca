#include "app/DeferredWork.h"

#include <QtTest>

namespace qz {

class DeferredWorkTest : public QObject {
  Q_OBJECT

  struct TCounts {
    int rebuilds = 0, renders = 0, textLoads = 0, buttonLoads = 0, clears = 0;
    bool textTextured = false, buttonTextured = false;
  };

  static TDeferredWork::THandlers Handlers(TCounts& c, TDeferredWork*& self) {
    return {[&c, &self] { ++c.rebuilds; self->RebuildDone(); },
            [&c, &self] { ++c.renders; self->RenderDone(); },
            [&c] { return c.textTextured; },
            [&c] { return c.buttonTextured; },
            [&c] { ++c.textLoads; },
            [&c] { ++c.buttonLoads; },
            [&c] { ++c.clears; }};
  }

 private slots:
  void tenSliderMovesRebuildOnceAfterTheDelay() {
    TCounts c;
    TDeferredWork* self = nullptr;
    TDeferredWork w(Handlers(c, self));
    self = &w;
    const int rdelay = 3;
    for (int i = 0; i < 10; ++i) w.DeferRebuild(rdelay);  // all within one tick
    for (int tick = 1; tick <= rdelay; ++tick) {
      w.Tick();
      QCOMPARE(c.rebuilds, 0);
    }
    w.Tick();  // the RDelay + 1-th tick
    QCOMPARE(c.rebuilds, 1);
    for (int i = 0; i < 10; ++i) w.Tick();
    QCOMPARE(c.rebuilds, 1);
  }

  void aFurtherEditRestartsTheCount() {
    TCounts c;
    TDeferredWork* self = nullptr;
    TDeferredWork w(Handlers(c, self));
    self = &w;
    w.DeferRender(3);
    w.Tick();
    w.Tick();
    w.DeferRender(3);
    w.Tick(); w.Tick(); w.Tick();
    QCOMPARE(c.renders, 0);
    w.Tick();
    QCOMPARE(c.renders, 1);
  }

  void sliderAndSpinnerInOneDelayRebuildOnce() {
    TCounts c;
    c.buttonTextured = true;
    TDeferredWork* self = nullptr;
    TDeferredWork w(Handlers(c, self));
    self = &w;
    w.DeferRebuild(3);
    w.DeferTexture();
    QVERIFY(w.RebuildPending && w.TexturePending);
    for (int i = 0; i < 4; ++i) w.Tick();
    QCOMPARE(c.rebuilds, 1);  // the rebuild cleared the texture flag too
    QCOMPARE(c.buttonLoads, 0);
  }

  void textureSpinnerWithoutTextureStartsNoWork() {
    TCounts c;
    TDeferredWork* self = nullptr;
    TDeferredWork w(Handlers(c, self));
    self = &w;
    w.DeferTexture();
    for (int i = 0; i < 10; ++i) w.Tick();
    QCOMPARE(c.rebuilds, 0);
    QVERIFY(w.TexturePending);  // waits for the next rebuild
    c.textTextured = true;      // a texture arrives: the next tick reloads and rebuilds
    w.Tick();
    QCOMPARE(c.textLoads, 1);
    QCOMPARE(c.rebuilds, 1);
    QVERIFY(!w.TexturePending);
  }

  void busyLeavesWorkForALaterTick() {
    TCounts c;
    TDeferredWork* self = nullptr;
    TDeferredWork w(Handlers(c, self));
    self = &w;
    w.DeferRebuild(0);
    w.Busy = true;
    for (int i = 0; i < 5; ++i) w.Tick();
    QCOMPARE(c.rebuilds, 0);
    w.Busy = false;
    w.Tick();
    QCOMPARE(c.rebuilds, 1);
  }

  void doneIsClearedAfterDelayPlusOneTicks() {
    TCounts c;
    TDeferredWork* self = nullptr;
    TDeferredWork w(Handlers(c, self));
    self = &w;
    w.ShowDone(3);
    for (int i = 0; i < 4; ++i) w.Tick();
    QCOMPARE(c.clears, 0);
    w.Tick();
    QCOMPARE(c.clears, 1);
    QVERIFY(!w.ProgressPending);
  }
};

}  // namespace qz

QTEST_APPLESS_MAIN(qz::DeferredWorkTest)
#include "DeferredWorkTest.moc"
