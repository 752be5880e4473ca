// The control table of the main window: every control, set through its widget as a
// user would, writes its design field and asks for the follow-up the table gives;
// the table itself holds the designed follow-ups; SceneToControls loads from it.
#include <QListWidget>

#include "WindowKit.h"
#include "app/ShapeDialog.h"
#include "app/TextDialog.h"
#include "app/MessageEdit.h"

namespace qz {

class ControlTableTest : public TWindowTestBase {
  Q_OBJECT

 private slots:
  void initTestCase() { SetUpProgramFolder(); }

  void init() { messages_.Texts.clear(); }

  void controlTableIsInEnumOrder() {
    for (size_t i = 0; i < ControlTable.size(); ++i)
      QCOMPARE(static_cast<size_t>(ControlTable[i].Id), i);
    for (size_t i = 0; i < TabTable.size(); ++i) QCOMPARE(static_cast<size_t>(TabTable[i].Tab), i);
  }

  void everyControlWritesItsFieldAndAsksForItsFollowUp() {
    auto w = MakeWindow();
    Prepare(*w);
    TScene& s = *w->Scene;
    // Textures loaded and a button, so the texture spinners' work is due.
    s.Message.TexFile = textureFile_;
    s.Button.TexFile = textureFile_;
    w->LoadTextTexture();
    w->LoadButtonTexture();
    QVERIFY(s.View.TextTextured && s.View.ButtonTextured);
    const int rdelay = s.RDelay;

    for (const TControlSpec& row : ControlTable) {
      const QByteArray name = QByteArray(row.Name) + " (" + row.Field + ")";
      std::function<void()> act;
      std::function<bool()> wrote = [] { return true; };
      const QColor pick(10, 120, 230);
      const TColor picked = RGBToColor(10, 120, 230);
      auto value = [&](int v) {
        return [&, v] {
          QWidget* c = w->Control(row.Id);
          if (auto* sl = qobject_cast<QSlider*>(c)) sl->setValue(v);
          else if (auto* sp = qobject_cast<QSpinBox*>(c)) sp->setValue(v);
          else if (auto* cb = qobject_cast<QComboBox*>(c)) cb->setCurrentIndex(v);
        };
      };
      auto loaded = [&](int v) { return [&, v] { return row.Loaded(s) == v; }; };
      auto click = [&] { QTest::mouseClick(w->Control(row.Id), Qt::LeftButton); };
      auto pickColor = [&] {
        WhenModal<QColorDialog>([pick](QColorDialog* d) { d->setCurrentColor(pick); d->accept(); });
        click();
      };

      switch (row.Id) {
        case TControl::MessageEdit:
          act = [&] {
            QTest::keyClick(w->MessageEdit(), Qt::Key_End);
            QTest::keyClicks(w->MessageEdit(), "!");
          };
          wrote = [&] { return w->Text.Text() == "Go!"; };
          break;
        case TControl::FontSelection:
          act = [&] {
            WhenModal<QFontDialog>([](QFontDialog* d) { d->setCurrentFont(QFont("DejaVu Serif", 14)); d->accept(); });
            click();
          };
          wrote = [&] { return w->Text.At(0).Format.Name == "DejaVu Serif" && w->Text.At(0).Format.Charset == 1; };
          break;
        case TControl::AdvancedText:
          act = [&] {
            WhenModal<TForm2>([](TForm2* f) {
              f->RichEdit1->selectAll();
              f->ToolButton1->click();  // Bold
              f->accept();
            });
            click();
          };
          wrote = [&] { return w->Text.At(0).Format.Bold && w->Text.At(1).Format.Bold; };
          break;
        case TControl::ShapeSelection:
          act = [&] {
            WhenModal<TOpenShForm>([](TOpenShForm* f) {
              f->ListView1->setCurrentRow(0);
              f->OKBtn->click();
            });
            click();
          };
          wrote = [&] { return s.ShapeName == "square.qzkh" && s.Type == 16; };
          break;
        case TControl::BkgColorSelection:
          act = pickColor;
          wrote = [&] { return s.BkgColor == picked && Widget<QLineEdit>(*w, TControl::BkgHexBox)->text() == "0A78E6"; };
          break;
        case TControl::BkgHexBox:
          act = [&] { QTest::keyClicks(w->Control(row.Id), "00"); };
          wrote = [&] { return s.BkgColor == picked; };  // nothing until applied
          break;
        case TControl::BkgSetHex:
          act = [&] {
            Widget<QLineEdit>(*w, TControl::BkgHexBox)->setText("ff8000");
            click();
          };
          wrote = [&] { return s.BkgColor == RGBToColor(255, 128, 0); };
          break;
        case TControl::TextColorSelection:
          act = pickColor;
          wrote = [&] { return s.Message.MColor == picked; };
          break;
        case TControl::ButtonColorSelection:
          act = pickColor;
          wrote = [&] { return s.Button.MColor == picked; };
          break;
        case TControl::LightColorSelection:
          act = pickColor;
          wrote = [&] { return s.Light.Color == picked; };
          break;
        case TControl::TextTextureSelection:
        case TControl::ButtonTextureSelection:
          act = [&] {
            const QString file = QString::fromStdString(textureFile_);
            WhenModal<QFileDialog>([file](QFileDialog* d) { TypeIntoFileDialog(d, file); });
            click();
          };
          wrote = [&] {
            const bool text = row.Id == TControl::TextTextureSelection;
            return (text ? s.Message.TexFile : s.Button.TexFile) == textureFile_ &&
                   (text ? s.View.TextTextured : s.View.ButtonTextured);
          };
          break;
        case TControl::TextClearTexture:
        case TControl::ButtonClearTexture:
          act = click;
          wrote = [&] {
            const bool text = row.Id == TControl::TextClearTexture;
            const bool cleared = (text ? s.Message.TexFile : s.Button.TexFile).empty() &&
                                 !(text ? s.View.TextTextured : s.View.ButtonTextured);
            // Loaded again for the spinners that follow.
            (text ? s.Message.TexFile : s.Button.TexFile) = textureFile_;
            if (text) w->LoadTextTexture(); else w->LoadButtonTexture();
            return cleared;
          };
          break;
        case TControl::TextTexWidth:
        case TControl::TextTexHeight:
        case TControl::ButtonTexWidth:
        case TControl::ButtonTexHeight:
          act = value(4);
          wrote = loaded(4);
          break;
        case TControl::TextConstrain:
        case TControl::ButtonConstrain:
          act = click;
          wrote = [&] {
            const bool text = row.Id == TControl::TextConstrain;
            const bool ok = loaded(1)() && !w->Control(text ? TControl::TextTexWidth : TControl::ButtonTexWidth)->isEnabled();
            Widget<QCheckBox>(*w, row.Id)->setChecked(false);  // back, for the width rows
            return ok;
          };
          break;
        case TControl::OutlineComplexity:
          act = value(2);
          wrote = [&] { return s.SplPnt == 3; };
          break;
        case TControl::TextExtrusion:
          act = value(120);
          wrote = [&] { return s.TxtY == 120; };
          break;
        case TControl::ButtonExtrusion:
          act = value(40);
          wrote = [&] { return s.ButY == -40; };
          break;
        case TControl::TextAltitude:
        case TControl::ButtonAltitude:
          act = value(60);
          wrote = loaded(60);
          break;
        case TControl::TextDropShadow:
        case TControl::ButtonDropShadow:
          act = click;  // switched off: no shadow, the altitude slider disabled
          wrote = [&] {
            const bool text = row.Id == TControl::TextDropShadow;
            return (text ? s.Message.Altitude : s.Button.Altitude) == 0 &&
                   !w->Control(text ? TControl::TextAltitude : TControl::ButtonAltitude)->isEnabled();
          };
          break;
        case TControl::HoldButtonSize:
          // Switched on asks for nothing; switched off (the second click) refits at once.
          Widget<QCheckBox>(*w, row.Id)->setChecked(true);
          act = click;
          wrote = [&] { return !s.HoldButtonSize && w->Deferred.DelayTicks == 0; };
          break;
        case TControl::HideButton:
          act = click;
          wrote = [&] { return s.Type == 0; };
          break;
        case TControl::LightMarker:
          act = [&] {
            w->Tabs()->setCurrentIndex(static_cast<int>(TTab::LightSource));
            TLightMarker* m = w->Preview()->Marker();
            QTest::mousePress(m, Qt::LeftButton, {}, QPoint(16, 16));
            QTest::mouseRelease(m, Qt::LeftButton, {}, QPoint(20, 16));
          };
          wrote = [&] { return s.a1 != 0.5f; };
          break;
        case TControl::Brightness:
          act = value(100);
          wrote = [&] { return s.Brightness == 155 && s.Message.ColSplit == 155 && s.Button.ColSplit == 155; };
          break;
        case TControl::LinkAddress:
          act = [&] { QTest::keyClicks(w->Control(row.Id), "https://example.org/"); };
          wrote = [&] { return w->LinkAddress() == "https://example.org/"; };
          break;
        case TControl::DimWidthEdit:
          act = [&] {
            auto* e = Widget<QLineEdit>(*w, row.Id);
            e->selectAll();
            QTest::keyClicks(e, "1000");
          };
          wrote = [&] { return w->Dim.Width == 800; };
          break;
        case TControl::DimHeightEdit:
          act = [&] {
            auto* e = Widget<QLineEdit>(*w, row.Id);
            e->selectAll();
            QTest::keyClicks(e, "90");
          };
          wrote = [&] { return w->Dim.Height == 90; };
          break;
        case TControl::WidthRuler:
          act = [&] { Widget<QSlider>(*w, row.Id)->setValue(77); };
          wrote = [&] { return w->Dim.Width == 77; };
          break;
        case TControl::HeightRuler:
          act = [&] { Widget<QSlider>(*w, row.Id)->setValue(-33); };
          wrote = [&] { return w->Dim.Height == 33; };
          break;
        case TControl::DimConstrain:
          act = click;
          wrote = [&] { return !Widget<QCheckBox>(*w, row.Id)->isChecked(); };
          break;
        case TControl::Count:
          break;
      }
      QVERIFY2(act, "no user action for " + name);
      if (row.Tab != TTab::Export) w->Tabs()->setCurrentIndex(static_cast<int>(row.Tab));
      const TObserved o = Observe(*w, act);
      QVERIFY2(wrote(), "field not written by " + name);
      const TEffect expected = row.Effect == TEffect::AtExport ? TEffect::None : row.Effect;
      QVERIFY2(Classify(o) == expected, "follow-up of " + name);
      if (expected == TEffect::RebuildDeferred || expected == TEffect::RenderDeferred)
        QVERIFY2(o.delayTicks == (row.ZeroDelay ? 0 : rdelay), "countdown of " + name);
      if (expected == TEffect::TextureDeferred)
        QVERIFY2(o.delayTicks == (row.ZeroDelay ? 0 : -7), "countdown of " + name);
      QVERIFY2(o.modified == (row.Marks || expected == TEffect::RebuildNow), "Modified after " + name);
    }
    QVERIFY(messages_.Texts.size() <= 1);  // nothing but the start-up's missing default.dat
    w->Modified = false;
  }

  // The table is data the handlers follow; this pins the data to the design.
  void tableHoldsTheDesignedFollowUps() {
    using E = TEffect;
    using C = TControl;
    const std::pair<C, std::pair<E, bool>> designed[] = {
        {C::MessageEdit, {E::RebuildDeferred, true}},   {C::FontSelection, {E::RebuildNow, false}},
        {C::AdvancedText, {E::RebuildNow, false}},      {C::BkgColorSelection, {E::RenderNow, true}},
        {C::BkgHexBox, {E::None, false}},               {C::BkgSetHex, {E::RenderNow, true}},
        {C::TextColorSelection, {E::RenderNow, true}},  {C::TextTextureSelection, {E::RebuildNow, false}},
        {C::TextClearTexture, {E::RenderNow, true}},    {C::TextTexWidth, {E::TextureDeferred, true}},
        {C::TextTexHeight, {E::TextureDeferred, true}}, {C::TextConstrain, {E::TextureDeferred, false}},
        {C::ButtonColorSelection, {E::RenderNow, true}}, {C::ButtonTextureSelection, {E::RebuildNow, false}},
        {C::ButtonClearTexture, {E::RenderNow, true}},  {C::ButtonTexWidth, {E::TextureDeferred, true}},
        {C::ButtonTexHeight, {E::TextureDeferred, true}}, {C::ButtonConstrain, {E::TextureDeferred, false}},
        {C::OutlineComplexity, {E::RebuildNow, false}}, {C::TextExtrusion, {E::RebuildDeferred, false}},
        {C::TextAltitude, {E::RenderDeferred, true}},   {C::TextDropShadow, {E::RebuildNow, false}},
        {C::ShapeSelection, {E::RebuildNow, false}},    {C::ButtonExtrusion, {E::RebuildDeferred, false}},
        {C::ButtonAltitude, {E::RenderDeferred, true}}, {C::ButtonDropShadow, {E::RebuildNow, false}},
        {C::HoldButtonSize, {E::RebuildDeferred, false}}, {C::HideButton, {E::RebuildNow, false}},
        {C::LightMarker, {E::RenderNow, true}},         {C::LightColorSelection, {E::RenderNow, true}},
        {C::Brightness, {E::RebuildDeferred, false}},   {C::LinkAddress, {E::AtExport, false}},
        {C::DimWidthEdit, {E::None, false}},            {C::DimHeightEdit, {E::None, false}},
        {C::WidthRuler, {E::None, false}},              {C::HeightRuler, {E::None, false}},
        {C::DimConstrain, {E::None, false}},
    };
    QCOMPARE(std::size(designed), ControlTable.size());
    for (const auto& [id, expect] : designed) {
      QVERIFY2(Spec(id).Effect == expect.first, Spec(id).Name);
      QVERIFY2(Spec(id).Marks == expect.second, Spec(id).Name);
    }
    for (C zero : {C::TextConstrain, C::ButtonConstrain, C::HoldButtonSize}) QVERIFY(Spec(zero).ZeroDelay);
  }

  void sceneToControlsShowsALoadedDesign() {
    auto w = MakeWindow();
    TScene& s = *w->Scene;
    s.TxtY = 77;
    s.ButY = -120;
    s.SplPnt = 1;
    s.Brightness = 100;
    s.Message.TexW = 2.5f;  // rounded half to even: 2
    s.Button.TexH = 3.5f;   // 4
    s.Button.HoldRatio = true;
    s.Type = 0;
    s.BkgColor = RGBToColor(255, 128, 0);
    QSignalSpy rebuilt(w.get(), &TForm1::Rebuilt);
    w->Modified = false;
    w->SceneToControls();
    QCOMPARE(Widget<QSlider>(*w, TControl::TextExtrusion)->value(), 77);
    QCOMPARE(Widget<QSlider>(*w, TControl::ButtonExtrusion)->value(), 120);
    QCOMPARE(Widget<QComboBox>(*w, TControl::OutlineComplexity)->currentIndex(), 0);
    QCOMPARE(Widget<QSlider>(*w, TControl::Brightness)->value(), 155);
    QCOMPARE(Widget<QSpinBox>(*w, TControl::TextTexWidth)->value(), 2);
    QCOMPARE(Widget<QSpinBox>(*w, TControl::ButtonTexHeight)->value(), 4);
    QVERIFY(!w->Control(TControl::ButtonTexWidth)->isEnabled());
    QVERIFY(Widget<QCheckBox>(*w, TControl::HideButton)->isChecked());
    QCOMPARE(Widget<QLineEdit>(*w, TControl::BkgHexBox)->text(), QString("FF8000"));
    QCOMPARE(w->Preview()->palette().color(QPalette::Window), QColor(255, 128, 0));
    // Setting the controls asked for no work and left the design as it was.
    QCOMPARE(rebuilt.count(), 0);
    QVERIFY(!w->Deferred.RebuildPending && !w->Modified);
    QCOMPARE(s.Brightness, 100);
  }

  void textureSpinnersWaitForATexture() {
    auto w = MakeWindow();
    Prepare(*w);
    TScene& s = *w->Scene;
    QVERIFY(!s.View.TextTextured);
    const TObserved o = Observe(*w, [&] { Widget<QSpinBox>(*w, TControl::TextTexHeight)->setValue(3); });
    QCOMPARE(s.Message.TexH, 3.0f);
    QVERIFY(o.modified);
    QCOMPARE(Classify(o), TEffect::None);
    // Clear Texture without a texture does nothing.
    const TObserved c = Observe(*w, [&] { QTest::mouseClick(w->Control(TControl::TextClearTexture), Qt::LeftButton); });
    QCOMPARE(Classify(c), TEffect::None);
    QVERIFY(!c.modified);
    // A button texture with the button hidden: the spinner waits as well.
    s.Button.TexFile = textureFile_;
    w->LoadButtonTexture();
    s.Type = 0;
    const TObserved b = Observe(*w, [&] { Widget<QSpinBox>(*w, TControl::ButtonTexHeight)->setValue(5); });
    QCOMPARE(Classify(b), TEffect::None);
    w->Modified = false;
  }
};
}  // namespace qz

QTEST_MAIN(qz::ControlTableTest)
#include "ControlTableTest.moc"
