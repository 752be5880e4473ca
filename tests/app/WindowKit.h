// Shared by the window's tests: a main window in a program folder of its own (with a
// texture file in Textures/ and a shape file in BShapes/), and what an edit asked
// for, as seen from outside. The modal dialogs its commands open are answered with
// WhenModal (ModalDriver.h).
#pragma once

#include <QApplication>
#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QFile>
#include <QFileDialog>
#include <QFontDialog>
#include <QImage>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QToolButton>
#include <QAbstractButton>
#include <QSignalSpy>
#include <QSlider>
#include <QSpinBox>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QtTest>
#include <fstream>
#include <functional>
#include <numbers>

#include "ModalDriver.h"
#include "app/MainWindow.h"
#include "app/MessageEdit.h"
#include "app/PreviewPanel.h"
#include "app/WelcomeDialog.h"
#include "geometry/ButShape.h"
#include "platform/IniFile.h"
#include "scene/ExportSize.h"
#include "scene/Scene.h"
#include "support/MessageCollector.h"

namespace qz {

template <typename W>
W* Widget(TForm1& w, TControl id) {
  auto* widget = qobject_cast<W*>(w.Control(id));
  if (!widget) qFatal("control %s is not of the expected kind", Spec(id).Name);
  return widget;
}

// What an edit asked for, as seen from outside.
struct TObserved {
  int rebuilds = 0, renders = 0;
  bool rebuildPending = false, renderPending = false, texturePending = false;
  int delayTicks = 0;
  bool modified = false;
};

inline TEffect Classify(const TObserved& o) {
  if (o.rebuilds > 0) return TEffect::RebuildNow;
  if (o.renders > 0) return TEffect::RenderNow;
  if (o.rebuildPending) return TEffect::RebuildDeferred;
  if (o.renderPending) return TEffect::RenderDeferred;
  if (o.texturePending) return TEffect::TextureDeferred;
  return TEffect::None;
}

class TWindowTestBase : public QObject {
 protected:
  QTemporaryDir dir_;
  std::string programDir_;
  std::string textureFile_;
  test::TMessageCollector messages_;

  // A window after its start-up; welcome answers the welcome dialog (by default
  // Cancel, which loads the factory design default.dat: when the folder has none,
  // the scene keeps its defaults).
  std::unique_ptr<TForm1> MakeWindow(std::function<void(TForm4*)> welcome = [](TForm4* f) {
    f->CancelBtn->click();
  }) {
    auto w = std::make_unique<TForm1>(programDir_);
    w->SetMessageSink(&messages_);
    w->resize(1000, 760);
    WhenModal<TForm4>(welcome);
    w->show();
    if (!QTest::qWaitForWindowExposed(w.get())) qFatal("window not shown");
    if (!QTest::qWaitFor([&] { return w->Started(); }, 20000)) qFatal("start-up did not end");
    return w;
  }

  // A message and a built scene to edit.
  void Prepare(TForm1& w, const QString& message = "Go") {
    w.MessageEdit()->setPlainText(message);
    w.Rebuild();
  }

  // A work file whose message is text (default format).
  static void WriteWork(const std::string& path, const std::string& text) {
    TScene scene;
    TMessageText message;
    message.Append(text, TCharFormat{});
    scene.SaveToFile(path, message);
  }

  TObserved Observe(TForm1& w, const std::function<void()>& act) {
    w.Modified = false;
    w.Deferred.RebuildPending = w.Deferred.RenderPending = w.Deferred.TexturePending = false;
    w.Deferred.DelayTicks = -7;  // a value no edit writes
    QSignalSpy rebuilt(&w, &TForm1::Rebuilt);
    QSignalSpy redrawn(&w, &TForm1::Redrawn);
    act();
    TObserved o;
    o.rebuilds = static_cast<int>(rebuilt.count());
    o.renders = static_cast<int>(redrawn.count());
    o.rebuildPending = w.Deferred.RebuildPending;
    o.renderPending = w.Deferred.RenderPending;
    o.texturePending = w.Deferred.TexturePending;
    o.delayTicks = w.Deferred.DelayTicks;
    o.modified = w.Modified;
    return o;
  }

  void SetUpProgramFolder() {
    QVERIFY(dir_.isValid());
    programDir_ = dir_.path().toStdString() + "/";
    QDir(dir_.path()).mkpath("Textures");
    textureFile_ = programDir_ + "Textures/check.bmp";
    QImage tex(16, 16, QImage::Format_RGB32);
    tex.fill(QColor(200, 40, 40));
    QVERIFY(tex.save(QString::fromStdString(textureFile_), "BMP"));
    // A square button shape.
    QDir(dir_.path()).mkpath("BShapes");
    TButShape square;
    square.PointCount = 4;
    square.Points[1] = {1, -10, -10};
    square.Points[2] = {1, 10, -10};
    square.Points[3] = {1, 10, 10};
    square.Points[4] = {1, -10, 10};
    square.Frame = {-10, 10, 10, -10};
    square.SaveToFile(programDir_ + "BShapes/square.qzkh");
  }
};

}  // namespace qz
