// The handlers of the editing controls: each reads its control, writes the design
// field and hands the control to FollowUp, which does what the control table says.
#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QFileDialog>
#include <QFontDatabase>
#include <QFontDialog>
#include <QLineEdit>
#include <QAbstractButton>
#include <QSignalBlocker>
#include <QSlider>
#include <QSpinBox>
#include <QTabWidget>

#include "app/FileFilter.h"
#include "app/HexColor.h"
#include "app/MainWindow.h"
#include "app/MessageEdit.h"
#include "app/PreviewPanel.h"
#include "platform/FileUtil.h"
#include "scene/Scene.h"

namespace qz {

namespace {

QColor ToQColor(TColor c) { return QColor(ColorRed(c), ColorGreen(c), ColorBlue(c)); }
TColor FromQColor(const QColor& c) { return RGBToColor(c.red(), c.green(), c.blue()); }

// A face that has only a symbol map reads its characters as symbol codes (charset 2);
// every other face uses the default charset.
int32_t CharsetOfFace(const QString& family) {
  const QList<QFontDatabase::WritingSystem> systems = QFontDatabase::writingSystems(family);
  const bool symbolOnly = systems.contains(QFontDatabase::Symbol) &&
                          !systems.contains(QFontDatabase::Latin);
  return symbolOnly ? 2 : 1;
}

}  // namespace

void TForm1::FollowUp(TControl id, bool due) {
  const TControlSpec& s = Spec(id);
  if (s.Marks) Modified = true;
  if (!due) return;
  const int delay = s.ZeroDelay ? 0 : RDelayTicks();
  switch (s.Effect) {
    case TEffect::RebuildNow: Rebuild(); break;
    case TEffect::RebuildDeferred: Deferred.DeferRebuild(delay); break;
    case TEffect::RenderNow: RedrawPreview(true); break;
    case TEffect::RenderDeferred: Deferred.DeferRender(delay); break;
    case TEffect::TextureDeferred:
      Deferred.DeferTexture();
      if (s.ZeroDelay) Deferred.DelayTicks = 0;
      break;
    case TEffect::None:
    case TEffect::AtExport: break;
  }
}

void TForm1::ConnectHandlers() {
  auto slider = [this](TControl id) { return static_cast<QSlider*>(Control(id)); };
  auto spin = [this](TControl id) { return static_cast<QSpinBox*>(Control(id)); };
  auto check = [this](TControl id) { return static_cast<QCheckBox*>(Control(id)); };
  auto button = [this](TControl id) { return static_cast<QAbstractButton*>(Control(id)); };
  using C = TControl;

  connect(messageEdit_, &QTextEdit::textChanged, this, &TForm1::MessageEditChange);
  connect(button(C::FontSelection), &QAbstractButton::clicked, this, &TForm1::FontSelectionClick);
  connect(button(C::AdvancedText), &QAbstractButton::clicked, this, &TForm1::AdvancedTextClick);
  connect(button(C::BkgColorSelection), &QAbstractButton::clicked, this, &TForm1::BkgColorClick);
  connect(button(C::BkgSetHex), &QAbstractButton::clicked, this, &TForm1::BkgSetHexClick);
  connect(hexBox_, &QLineEdit::returnPressed, this, &TForm1::BkgSetHexClick);
  for (bool text : {true, false}) {
    connect(button(text ? C::TextColorSelection : C::ButtonColorSelection), &QAbstractButton::clicked,
            this, [this, text] { SideColorClick(text); });
    connect(button(text ? C::TextTextureSelection : C::ButtonTextureSelection), &QAbstractButton::clicked,
            this, [this, text] { SideTextureClick(text); });
    connect(button(text ? C::TextClearTexture : C::ButtonClearTexture), &QAbstractButton::clicked, this,
            [this, text] { SideClearTextureClick(text); });
    connect(spin(text ? C::TextTexWidth : C::ButtonTexWidth), &QSpinBox::valueChanged, this,
            [this, text](int v) { SideTexWidthChange(text, v); });
    connect(spin(text ? C::TextTexHeight : C::ButtonTexHeight), &QSpinBox::valueChanged, this,
            [this, text](int v) { SideTexHeightChange(text, v); });
    connect(check(text ? C::TextConstrain : C::ButtonConstrain), &QCheckBox::toggled, this,
            [this, text](bool on) { SideConstrainClick(text, on); });
    connect(slider(text ? C::TextAltitude : C::ButtonAltitude), &QSlider::valueChanged, this,
            [this, text](int v) { AltitudeChange(text, v); });
    connect(check(text ? C::TextDropShadow : C::ButtonDropShadow), &QCheckBox::toggled, this,
            [this, text](bool on) { DropShadowClick(text, on); });
  }
  connect(static_cast<QComboBox*>(Control(C::OutlineComplexity)), &QComboBox::currentIndexChanged,
          this, &TForm1::OutlineComplexityChange);
  connect(slider(C::TextExtrusion), &QSlider::valueChanged, this, &TForm1::TextExtrusionChange);
  connect(button(C::ShapeSelection), &QAbstractButton::clicked, this, &TForm1::SelectShapeClick);
  connect(slider(C::ButtonExtrusion), &QSlider::valueChanged, this, &TForm1::ButtonExtrusionChange);
  connect(check(C::HoldButtonSize), &QCheckBox::toggled, this, &TForm1::HoldButtonSizeClick);
  connect(check(C::HideButton), &QCheckBox::toggled, this, &TForm1::HideButtonClick);
  connect(preview_->Marker(), &TLightMarker::Dropped, this, &TForm1::DropLightMarker);
  connect(button(C::LightColorSelection), &QAbstractButton::clicked, this, &TForm1::LightColorClick);
  connect(slider(C::Brightness), &QSlider::valueChanged, this, &TForm1::BrightnessChange);

  AcceptDigitKeysOnly(widthEdit_);
  AcceptDigitKeysOnly(heightEdit_);
  connect(widthRuler_, &QSlider::valueChanged, this, &TForm1::WidthRulerChange);
  connect(heightRuler_, &QSlider::valueChanged, this, &TForm1::HeightRulerChange);
  connect(widthEdit_, &QLineEdit::textEdited, this,
          [this](const QString& t) { DimEditChange(TSide::Width, t); });
  connect(heightEdit_, &QLineEdit::textEdited, this,
          [this](const QString& t) { DimEditChange(TSide::Height, t); });
  connect(tabs_, &QTabWidget::currentChanged, this, &TForm1::TabChange);
  connect(preview_, &TPreviewPanel::Resized, this, &TForm1::PreviewResized);
}

void TForm1::SceneToControls() {
  // The window sets its own controls: their handlers stay quiet (every load ends in a
  // rebuild anyway), and the states the handlers would set are set here.
  for (const TControlSpec& s : ControlTable) {
    if (!s.Loaded) continue;
    QWidget* w = Control(s.Id);
    const QSignalBlocker block(w);
    const int32_t v = s.Loaded(*Scene);
    if (auto* slider = qobject_cast<QSlider*>(w)) slider->setValue(v);
    else if (auto* spin = qobject_cast<QSpinBox*>(w)) spin->setValue(v);
    else if (auto* check = qobject_cast<QCheckBox*>(w)) check->setChecked(v != 0);
    else if (auto* list = qobject_cast<QComboBox*>(w)) list->setCurrentIndex(std::clamp(v, s.Min, s.Max));
  }
  Control(TControl::TextTexWidth)->setEnabled(!Scene->Message.HoldRatio);
  Control(TControl::ButtonTexWidth)->setEnabled(!Scene->Button.HoldRatio);
  Control(TControl::TextAltitude)->setEnabled(static_cast<QCheckBox*>(Control(TControl::TextDropShadow))->isChecked());
  Control(TControl::ButtonAltitude)->setEnabled(static_cast<QCheckBox*>(Control(TControl::ButtonDropShadow))->isChecked());
  {
    const QSignalBlocker block(messageEdit_);
    messageEdit_->FromMessageText(Text);
  }
  hexBox_->setText(QString::fromStdString(ColorToHex(Scene->BkgColor)));
  SetBkgColor(Scene->BkgColor);
}

void TForm1::SetBkgColor(TColor color) {
  Scene->BkgColor = color;
  preview_->SetBackground(ToQColor(color));
  QPalette pal = dimFrame_->palette();
  pal.setColor(QPalette::Window, ToQColor(color));
  dimFrame_->setPalette(pal);
}

QString TForm1::LinkAddress() const { return linkEdit_->text(); }

bool TForm1::PickColor(TColor& color, const QString& title) {
  const QColor c = QColorDialog::getColor(ToQColor(color), this, title);
  if (!c.isValid()) return false;
  color = FromQColor(c);
  return true;
}

bool TForm1::ChooseTexture(std::string& fileName) {
  const std::string folder = DirectoryExists(Settings.TextureDir) ? Settings.TextureDir : Settings.TexturesDir;
  QString start = QString::fromStdString(folder);
  if (!fileName.empty()) start += QString::fromStdString(BareFileName(fileName));
  const QString chosen = QFileDialog::getOpenFileName(this, "Select Texture", start,
                                                      TextureFilters().join(";;"));
  if (chosen.isEmpty()) return false;
  fileName = chosen.toStdString();
  return true;
}

void TForm1::MessageEditChange() {
  messageEdit_->ToMessageText(Text);
  FollowUp(TControl::MessageEdit);
}

void TForm1::FontSelectionClick() {
  const TCharFormat& def = messageEdit_->DefaultFormat();
  QFont start(QString::fromStdString(def.Name), def.Size);
  start.setBold(def.Bold);
  start.setItalic(def.Italic);
  start.setUnderline(def.Underline);
  bool ok = false;
  const QFont f = QFontDialog::getFont(&ok, start, this, "Font", QFontDialog::ScalableFonts);
  if (!ok) return;
  TCharFormat chosen;
  chosen.Name = f.family().toStdString();
  chosen.Size = f.pointSize() > 0 ? f.pointSize() : def.Size;
  chosen.Charset = CharsetOfFace(f.family());
  chosen.Bold = f.bold();
  chosen.Italic = f.italic();
  chosen.Underline = f.underline();
  // The edit's own font takes the whole choice; every character takes its face,
  // style and charset and keeps its own size. Done on the codes, so a character
  // keeps its code when its charset changes.
  messageEdit_->ToMessageText(Text);
  Text.SetDefaultFormat(chosen);
  Text.SetSelection(0, Text.Length());
  Text.SetSelName(chosen.Name);
  Text.SetSelBold(chosen.Bold);
  Text.SetSelItalic(chosen.Italic);
  Text.SetSelUnderline(chosen.Underline);
  Text.SetSelCharset(chosen.Charset);
  {
    const QSignalBlocker block(messageEdit_);
    messageEdit_->FromMessageText(Text);
  }
  FollowUp(TControl::FontSelection);
}

void TForm1::BkgColorClick() {
  TColor c = Scene->BkgColor;
  if (!PickColor(c, "Background color")) return;
  SetBkgColor(c);
  hexBox_->setText(QString::fromStdString(ColorToHex(c)));
  FollowUp(TControl::BkgColorSelection);
}

void TForm1::BkgSetHexClick() {
  const std::string box = hexBox_->text().toStdString();
  const std::optional<TColor> c = HexToColor(box);
  if (!c) {
    ShowError("'" + box + "' is not a valid hexadecimal color value");
    return;
  }
  SetBkgColor(*c);
  FollowUp(TControl::BkgSetHex);
}

void TForm1::SideColorClick(bool text) {
  TSideParams& side = text ? Scene->Message : Scene->Button;
  if (!PickColor(side.MColor, text ? "Text color" : "Button color")) return;
  Scene->BuildRamp(text ? 1 : 0);
  FollowUp(text ? TControl::TextColorSelection : TControl::ButtonColorSelection);
}

void TForm1::SideTextureClick(bool text) {
  TSideParams& side = text ? Scene->Message : Scene->Button;
  if (!ChooseTexture(side.TexFile)) return;
  if (text) LoadTextTexture();
  else LoadButtonTexture();
  FollowUp(text ? TControl::TextTextureSelection : TControl::ButtonTextureSelection);
}

void TForm1::SideClearTextureClick(bool text) {
  TView3D& view = Scene->View;
  bool& textured = text ? view.TextTextured : view.ButtonTextured;
  if (!textured) return;  // nothing to clear
  (text ? Scene->Message : Scene->Button).TexFile.clear();
  textured = false;
  (text ? view.TextTexture : view.ButtonTexture).SetSize(0, 0);
  FollowUp(text ? TControl::TextClearTexture : TControl::ButtonClearTexture);
}

void TForm1::SideTexWidthChange(bool text, int value) {
  TSideParams& side = text ? Scene->Message : Scene->Button;
  side.TexW = static_cast<float>(value);
  const bool loaded = text ? Scene->View.TextTextured : (Scene->View.ButtonTextured && Scene->Type > 0);
  FollowUp(text ? TControl::TextTexWidth : TControl::ButtonTexWidth, loaded && !side.HoldRatio);
}

void TForm1::SideTexHeightChange(bool text, int value) {
  TSideParams& side = text ? Scene->Message : Scene->Button;
  side.TexH = static_cast<float>(value);
  const bool loaded = text ? Scene->View.TextTextured : (Scene->View.ButtonTextured && Scene->Type > 0);
  FollowUp(text ? TControl::TextTexHeight : TControl::ButtonTexHeight, loaded);
}

void TForm1::SideConstrainClick(bool text, bool on) {
  (text ? Scene->Message : Scene->Button).HoldRatio = on;
  Control(text ? TControl::TextTexWidth : TControl::ButtonTexWidth)->setEnabled(!on);
  FollowUp(text ? TControl::TextConstrain : TControl::ButtonConstrain);
}

void TForm1::OutlineComplexityChange(int index) {
  Scene->SplPnt = index + 1;
  FollowUp(TControl::OutlineComplexity);
}

void TForm1::TextExtrusionChange(int value) {
  Scene->TxtY = value;
  FollowUp(TControl::TextExtrusion);
}

void TForm1::AltitudeChange(bool text, int value) {
  (text ? Scene->Message : Scene->Button).Altitude = value;
  Scene->SetLightAngles(Scene->a1, Scene->a2);  // the shadow offsets follow the altitude
  FollowUp(text ? TControl::TextAltitude : TControl::ButtonAltitude);
}

void TForm1::DropShadowClick(bool text, bool on) {
  auto* slider = static_cast<QSlider*>(Control(text ? TControl::TextAltitude : TControl::ButtonAltitude));
  (text ? Scene->Message : Scene->Button).Altitude = on ? slider->value() : 0;
  slider->setEnabled(on);
  FollowUp(text ? TControl::TextDropShadow : TControl::ButtonDropShadow);
}

void TForm1::ButtonExtrusionChange(int value) {
  Scene->ButY = -value;
  FollowUp(TControl::ButtonExtrusion);
}

void TForm1::HoldButtonSizeClick(bool on) {
  Scene->HoldButtonSize = on;
  // Letting go of the size refits it at once.
  FollowUp(TControl::HoldButtonSize, !on);
}

void TForm1::HideButtonClick(bool on) {
  Scene->Type = on ? 0 : (Scene->ShapeName.empty() ? 2 : 16);
  FollowUp(TControl::HideButton);
}

void TForm1::LightColorClick() {
  if (!PickColor(Scene->Light.Color, "Light source color")) return;
  Scene->BuildRamp(0);
  Scene->BuildRamp(1);
  FollowUp(TControl::LightColorSelection);
}

void TForm1::BrightnessChange(int value) {
  const int32_t brightness = 255 - value;
  if (brightness == Scene->Brightness) return;
  Scene->Brightness = brightness;
  Scene->Message.ColSplit = brightness;
  Scene->Button.ColSplit = brightness;
  Scene->BuildRamp(0);
  Scene->BuildRamp(1);
  FollowUp(TControl::Brightness);
}

}  // namespace qz
