// The handlers of the editing controls: each reads its control, writes the design
// field and hands the control to FollowUp, which does what the control table says.
#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QFileDialog>
#include <QFontDatabase>
#include <QLineEdit>
#include <QAbstractButton>
#include <QSignalBlocker>
#include <QSlider>
#include <QSpinBox>
#include <QTabWidget>

#include "app/bridge/QtBridge.h"
#include "app/dialogs/FontChooser.h"
#include "app/files/FileFilter.h"
#include "app/files/SafeFileDialog.h"
#include "app/widgets/MessageEdit.h"
#include "app/window/EditHistory.h"
#include "app/window/HexColor.h"
#include "app/window/MainWindow.h"
#include "app/window/PreviewPanel.h"
#include "base/FileUtil.h"
#include "text/FontEngine.h"

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

void TMainWindow::FollowUp(TControl id, bool due) {
  const TControlRow& s = ControlRow(id);
  history_->Record(id);
  // An edit that brought the design back to its saved state leaves nothing unsaved.
  if (s.Marks) SetModified(!Session->History.IsClean());
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

void TMainWindow::ConnectHandlers() {
  auto slider = [this](TControl id) { return static_cast<QSlider*>(Control(id)); };
  auto spin = [this](TControl id) { return static_cast<QSpinBox*>(Control(id)); };
  auto check = [this](TControl id) { return static_cast<QCheckBox*>(Control(id)); };
  auto button = [this](TControl id) { return static_cast<QAbstractButton*>(Control(id)); };
  // A value control whose handler only writes its field and follows up.
  auto value = [this](auto* control, auto signal, TControl id, auto write) {
    connect(control, signal, this, [this, id, write](int v) { write(Session->Params, v), FollowUp(id); });
  };
  using C = TControl;

  connect(MessageEdit(), &QTextEdit::textChanged, this, &TMainWindow::MessageEditChange);
  connect(button(C::FontSelection), &QAbstractButton::clicked, this, &TMainWindow::FontSelectionClick);
  connect(button(C::AdvancedText), &QAbstractButton::clicked, this, &TMainWindow::AdvancedTextClick);
  connect(button(C::BkgColorSelection), &QAbstractButton::clicked, this, &TMainWindow::BkgColorClick);
  connect(button(C::BkgSetHex), &QAbstractButton::clicked, this, &TMainWindow::BkgSetHexClick);
  connect(tabs_->HexColorBox, &QLineEdit::returnPressed, this, &TMainWindow::BkgSetHexClick);
  for (bool text : {true, false}) {
    connect(button(text ? C::TextColorSelection : C::ButtonColorSelection), &QAbstractButton::clicked,
            this, [this, text] { SideColorClick(text); });
    connect(button(text ? C::TextTextureSelection : C::ButtonTextureSelection), &QAbstractButton::clicked,
            this, [this, text] { SideTextureClick(text); });
    connect(button(text ? C::TextClearTexture : C::ButtonClearTexture), &QAbstractButton::clicked, this,
            [this, text] { SideClearTextureClick(text); });
    for (bool width : {true, false})
      connect(spin(text ? (width ? C::TextTexWidth : C::TextTexHeight) : (width ? C::ButtonTexWidth : C::ButtonTexHeight)),
              &QSpinBox::valueChanged, this, [this, text, width](int v) { SideTexScaleChange(text, width, v); });
    connect(check(text ? C::TextConstrain : C::ButtonConstrain), &QCheckBox::toggled, this,
            [this, text](bool on) { SideConstrainClick(text, on); });
    connect(slider(text ? C::TextAltitude : C::ButtonAltitude), &QSlider::valueChanged, this,
            [this, text](int v) { AltitudeChange(text, v); });
    connect(check(text ? C::TextDropShadow : C::ButtonDropShadow), &QCheckBox::toggled, this,
            [this, text](bool on) { DropShadowClick(text, on); });
  }
  value(static_cast<QComboBox*>(Control(C::OutlineComplexity)), &QComboBox::currentIndexChanged,
        C::OutlineComplexity, [](TParams& p, int index) { p.SplPnt = index + 1; });
  value(slider(C::TextExtrusion), &QSlider::valueChanged, C::TextExtrusion, [](TParams& p, int v) { p.TxtY = v; });
  value(slider(C::ButtonExtrusion), &QSlider::valueChanged, C::ButtonExtrusion, [](TParams& p, int v) { p.ButY = -v; });
  connect(button(C::ShapeSelection), &QAbstractButton::clicked, this, &TMainWindow::SelectShapeClick);
  connect(check(C::HoldButtonSize), &QCheckBox::toggled, this, &TMainWindow::HoldButtonSizeClick);
  connect(check(C::HideButton), &QCheckBox::toggled, this, &TMainWindow::HideButtonClick);
  connect(preview_->Marker(), &TLightMarker::Dropped, this, &TMainWindow::DropLightMarker);
  connect(button(C::LightColorSelection), &QAbstractButton::clicked, this, &TMainWindow::LightColorClick);
  connect(slider(C::Brightness), &QSlider::valueChanged, this, &TMainWindow::BrightnessChange);
  ConnectDimensions();
  connect(tabs_, &QTabWidget::currentChanged, this, &TMainWindow::TabChange);
  connect(preview_, &TPreviewPanel::Resized, this, &TMainWindow::PreviewResized);
}

void TMainWindow::DesignToControls() {
  // The window sets its own controls: their handlers stay quiet (every load ends in a
  // rebuild anyway), and the states the handlers would set are set here.
  const TParams& p = Session->Params;
  for (const TControlRow& s : ControlTable) {
    if (!s.Loaded) continue;
    QWidget* w = Control(s.Id);
    const QSignalBlocker block(w);
    const int32_t v = s.Loaded(p);
    if (auto* slider = qobject_cast<QSlider*>(w)) slider->setValue(v);
    else if (auto* spin = qobject_cast<QSpinBox*>(w)) spin->setValue(v);
    else if (auto* check = qobject_cast<QCheckBox*>(w)) check->setChecked(v != 0);
    else if (auto* list = qobject_cast<QComboBox*>(w)) list->setCurrentIndex(std::clamp(v, s.Min, s.Max));
  }
  Control(TControl::TextTexWidth)->setEnabled(!p.Message.HoldRatio);
  Control(TControl::ButtonTexWidth)->setEnabled(!p.Button.HoldRatio);
  Control(TControl::TextAltitude)->setEnabled(static_cast<QCheckBox*>(Control(TControl::TextDropShadow))->isChecked());
  Control(TControl::ButtonAltitude)->setEnabled(static_cast<QCheckBox*>(Control(TControl::ButtonDropShadow))->isChecked());
  {
    const QSignalBlocker block(MessageEdit());
    MessageEdit()->FromMessageText(Session->Text);
  }
  tabs_->HexColorBox->setText(QString::fromStdString(ColorToHex(p.BkgColor)));
  SetBkgColor(p.BkgColor);
}

void TMainWindow::SetBkgColor(TColor color) {
  Session->Params.BkgColor = color;
  preview_->SetBackground(ToQColor(color));
  QPalette pal = tabs_->DimFrame->palette();
  pal.setColor(QPalette::Window, ToQColor(color));
  tabs_->DimFrame->setPalette(pal);
}

QString TMainWindow::LinkAddress() const { return tabs_->LinkAddressBox->text(); }

bool TMainWindow::PickColor(TColor& color, const QString& title) {
  const QColor c = QColorDialog::getColor(ToQColor(color), this, title);
  if (!c.isValid()) return false;
  color = FromQColor(c);
  return true;
}

bool TMainWindow::ChooseTexture(std::string& fileName) {
  const std::string folder = DirectoryExists(Settings.TextureDir) ? Settings.TextureDir : Settings.TexturesDir;
  QString start = QString::fromStdString(folder);
  if (!fileName.empty()) start += QString::fromStdString(BareFileName(fileName));
  QFileDialog dialog(this, "Select Texture", start, TextureFilters().join(";;"));
  dialog.setFileMode(QFileDialog::ExistingFile);
  UsePlainIcons(dialog);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return false;
  fileName = dialog.selectedFiles().first().toStdString();
  return true;
}

void TMainWindow::MessageEditChange() {
  MessageEdit()->ToMessageText(Session->Text);
  FollowUp(TControl::MessageEdit);
}

void TMainWindow::FontSelectionClick() {
  TMessageText& text = Session->Text;
  MessageEdit()->ToMessageText(text);
  // The chooser opens on the face the message is drawn with.
  TFontChooser chooser(TFontEngine::TrueTypeFaces(), this);
  chooser.SetFormat(text.Length() > 0 ? text.At(0).Format : MessageEdit()->DefaultFormat());
  if (chooser.exec() != QDialog::Accepted) return;
  TCharFormat chosen = chooser.Format();
  chosen.Charset = CharsetOfFace(QString::fromStdString(chosen.Name));
  // The edit's own font takes the whole choice; every character takes its face,
  // style and charset and keeps its own size. Done on the codes, so a character
  // keeps its code when its charset changes.
  text.SetDefaultFormat(chosen);
  text.SetSelection(0, text.Length());
  text.SetSelName(chosen.Name);
  text.SetSelBold(chosen.Bold);
  text.SetSelItalic(chosen.Italic);
  text.SetSelUnderline(chosen.Underline);
  text.SetSelCharset(chosen.Charset);
  {
    const QSignalBlocker block(MessageEdit());
    MessageEdit()->FromMessageText(text);
  }
  FollowUp(TControl::FontSelection);
}

void TMainWindow::BkgColorClick() {
  TColor c = Session->Params.BkgColor;
  if (!PickColor(c, "Background color")) return;
  SetBkgColor(c);
  tabs_->HexColorBox->setText(QString::fromStdString(ColorToHex(c)));
  FollowUp(TControl::BkgColorSelection);
}

void TMainWindow::BkgSetHexClick() {
  const std::string box = tabs_->HexColorBox->text().toStdString();
  const std::optional<TColor> c = HexToColor(box);
  if (!c) {
    ShowError("'" + box + "' is not a valid hexadecimal color value");
    return;
  }
  SetBkgColor(*c);
  FollowUp(TControl::BkgSetHex);
}

void TMainWindow::SideColorClick(bool text) {
  TSideParams& side = text ? Session->Params.Message : Session->Params.Button;
  if (!PickColor(side.MColor, text ? "Text color" : "Button color")) return;
  FollowUp(text ? TControl::TextColorSelection : TControl::ButtonColorSelection);
}

void TMainWindow::SideTextureClick(bool text) {
  TSideParams& side = text ? Session->Params.Message : Session->Params.Button;
  if (!ChooseTexture(side.TexFile)) return;
  if (text) Session->LoadTextTexture();
  else Session->LoadButtonTexture();
  FollowUp(text ? TControl::TextTextureSelection : TControl::ButtonTextureSelection);
}

void TMainWindow::UseDroppedTexture(const QString& path, bool text) {
  // A picture that cannot be loaded has been reported and changed nothing.
  if (Deferred.Busy || !Session->UseTextureFile(text, PathFromQt(path))) return;
  FollowUp(text ? TControl::TextTextureSelection : TControl::ButtonTextureSelection);
}

void TMainWindow::SideClearTextureClick(bool text) {
  if (!Session->ClearTexture(text)) return;  // nothing to clear
  FollowUp(text ? TControl::TextClearTexture : TControl::ButtonClearTexture);
}

void TMainWindow::SideTexScaleChange(bool text, bool width, int value) {
  TSideParams& side = text ? Session->Params.Message : Session->Params.Button;
  (width ? side.TexW : side.TexH) = static_cast<float>(value);
  const bool loaded = text ? Session->TextTextured() : (Session->ButtonTextured() && Session->Params.Type > 0);
  // With its proportions held, the width follows the height: typing it changes nothing.
  const TControl id = text ? (width ? TControl::TextTexWidth : TControl::TextTexHeight)
                           : (width ? TControl::ButtonTexWidth : TControl::ButtonTexHeight);
  FollowUp(id, loaded && !(width && side.HoldRatio));
}

void TMainWindow::ReadTextureScales() {
  TParams& p = Session->Params;
  p.Message.TexW = static_cast<float>(static_cast<QSpinBox*>(Control(TControl::TextTexWidth))->value());
  p.Message.TexH = static_cast<float>(static_cast<QSpinBox*>(Control(TControl::TextTexHeight))->value());
  p.Button.TexW = static_cast<float>(static_cast<QSpinBox*>(Control(TControl::ButtonTexWidth))->value());
  p.Button.TexH = static_cast<float>(static_cast<QSpinBox*>(Control(TControl::ButtonTexHeight))->value());
}

void TMainWindow::ShowTextureScales() {
  const TParams& p = Session->Params;
  const std::pair<TControl, float> scales[] = {{TControl::TextTexWidth, p.Message.TexW},
                                               {TControl::TextTexHeight, p.Message.TexH},
                                               {TControl::ButtonTexWidth, p.Button.TexW},
                                               {TControl::ButtonTexHeight, p.Button.TexH}};
  for (const auto& [id, value] : scales) {
    auto* spin = static_cast<QSpinBox*>(Control(id));
    const QSignalBlocker block(spin);
    spin->setValue(RoundHalfEven(value));
  }
}

void TMainWindow::SideConstrainClick(bool text, bool on) {
  (text ? Session->Params.Message : Session->Params.Button).HoldRatio = on;
  Control(text ? TControl::TextTexWidth : TControl::ButtonTexWidth)->setEnabled(!on);
  FollowUp(text ? TControl::TextConstrain : TControl::ButtonConstrain);
}

void TMainWindow::AltitudeChange(bool text, int value) {
  TParams& p = Session->Params;
  (text ? p.Message : p.Button).Altitude = value;
  p.SetLightAngles(p.a1, p.a2);  // the shadow offsets follow the altitude
  FollowUp(text ? TControl::TextAltitude : TControl::ButtonAltitude);
}

void TMainWindow::DropShadowClick(bool text, bool on) {
  auto* slider = static_cast<QSlider*>(Control(text ? TControl::TextAltitude : TControl::ButtonAltitude));
  (text ? Session->Params.Message : Session->Params.Button).Altitude = on ? slider->value() : 0;
  slider->setEnabled(on);
  FollowUp(text ? TControl::TextDropShadow : TControl::ButtonDropShadow);
}

void TMainWindow::HoldButtonSizeClick(bool on) {
  Session->Params.HoldButtonSize = on;
  // Letting go of the size refits it at once.
  FollowUp(TControl::HoldButtonSize, !on);
}

void TMainWindow::HideButtonClick(bool on) {
  TParams& p = Session->Params;
  p.Type = on ? TButtonType::None : (p.ShapeName.empty() ? TButtonType::Rounded : TButtonType::ShapeFile);
  FollowUp(TControl::HideButton);
}

void TMainWindow::LightColorClick() {
  if (!PickColor(Session->Params.Light.Color, "Light source color")) return;
  FollowUp(TControl::LightColorSelection);
}

void TMainWindow::UndoClick() {
  if (!Deferred.Busy && Session->Undo()) ShowRestoredDesign();
}

void TMainWindow::RedoClick() {
  if (!Deferred.Busy && Session->Redo()) ShowRestoredDesign();
}

void TMainWindow::ShowRestoredDesign() {
  // The " Drop shadow" boxes are not loaded from a design (DesignToControls leaves
  // them): here they show whether the design put back has its shadows.
  const TParams& p = Session->Params;
  for (auto [box, altitude] : {std::pair{TControl::TextDropShadow, p.Message.Altitude},
                               std::pair{TControl::ButtonDropShadow, p.Button.Altitude}}) {
    auto* check = static_cast<QCheckBox*>(Control(box));
    const QSignalBlocker block(check);
    check->setChecked(altitude != 0);
  }
  DesignToControls();
  PlaceLightMarker();
  Rebuild();  // also carries out what an undone edit left waiting for the timer
  ShowDimensionsTab();
  SetModified(!Session->History.IsClean());
}

void TMainWindow::BrightnessChange(int value) {
  TParams& p = Session->Params;
  const int32_t brightness = 255 - value;
  if (brightness == p.Brightness) return;
  p.Brightness = p.Message.ColSplit = p.Button.ColSplit = brightness;
  FollowUp(TControl::Brightness);
}

}  // namespace qz
