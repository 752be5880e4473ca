// The handlers of the editing controls: each reads its control, calls the session's
// edit named for what the user did, and hands the result to FollowUp, which runs what
// the edit asks for when the control table says.
#include <QAbstractButton>
#include <QColorDialog>
#include <QFileDialog>
#include <QLineEdit>
#include <QTabWidget>

#include "app/bridge/QtBridge.h"
#include "app/dialogs/FontChooser.h"
#include "app/files/FileFilter.h"
#include "app/files/SafeFileDialog.h"
#include "app/widgets/MessageEdit.h"
#include "app/window/DesignControls.h"
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

TControl ControlOf(TPart part, TControl text, TControl button) { return part == TPart::Text ? text : button; }

}  // namespace

void TMainWindow::FollowUp(TControl id, const TEditResult& edit) {
  if (edit.Changed) history_->Edited();
  setWindowModified(edit.Unsaved);
  const TWhen when = ControlRow(id).When;
  const int delay = when == TWhen::Paused ? RDelayTicks() : 0;
  switch (edit.Follow) {
    case TFollowUp::Rebuild:
      if (when == TWhen::Now) Rebuild();
      else Deferred.DeferRebuild(delay);
      break;
    case TFollowUp::Render:
      if (when == TWhen::Now) RedrawPreview(true);
      else Deferred.DeferRender(delay);
      break;
    case TFollowUp::None: break;
  }
}

void TMainWindow::ConnectHandlers() {
  auto button = [this](TControl id) { return static_cast<QAbstractButton*>(Control(id)); };
  using C = TControl;
  connect(MessageEdit(), &QTextEdit::textChanged, this, &TMainWindow::MessageEditChange);
  connect(button(C::FontSelection), &QAbstractButton::clicked, this, &TMainWindow::FontSelectionClick);
  connect(button(C::AdvancedText), &QAbstractButton::clicked, this, &TMainWindow::AdvancedTextClick);
  connect(button(C::BkgColorSelection), &QAbstractButton::clicked, this, &TMainWindow::BkgColorClick);
  connect(button(C::BkgSetHex), &QAbstractButton::clicked, this, &TMainWindow::BkgSetHexClick);
  connect(tabs_->HexColorBox, &QLineEdit::returnPressed, this, &TMainWindow::BkgSetHexClick);
  for (TPart part : {TPart::Text, TPart::Button}) {
    connect(button(ControlOf(part, C::TextColorSelection, C::ButtonColorSelection)), &QAbstractButton::clicked, this,
            [this, part] { SideColorClick(part); });
    connect(button(ControlOf(part, C::TextTextureSelection, C::ButtonTextureSelection)), &QAbstractButton::clicked,
            this, [this, part] { SideTextureClick(part); });
  }
  connect(button(C::ShapeSelection), &QAbstractButton::clicked, this, &TMainWindow::SelectShapeClick);
  connect(preview_->Marker(), &TLightMarker::Dropped, this, &TMainWindow::DropLightMarker);
  connect(button(C::LightColorSelection), &QAbstractButton::clicked, this, &TMainWindow::LightColorClick);
  connect(tabs_, &QTabWidget::currentChanged, this, &TMainWindow::TabChange);
  connect(preview_, &TPreviewPanel::Resized, this, &TMainWindow::PreviewResized);
}

void TMainWindow::DesignToControls() {
  controls_->ShowDesign();
  tabs_->HexColorBox->setText(QString::fromStdString(ColorToHex(Session->Params().BkgColor)));
  ShowBackground();
}

void TMainWindow::ShowBackground() {
  const QColor color = ToQColor(Session->Params().BkgColor);
  preview_->SetBackground(color);
  QPalette pal = tabs_->DimFrame->palette();
  pal.setColor(QPalette::Window, color);
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
  fileName = PathFromQt(dialog.selectedFiles().first());
  return true;
}

void TMainWindow::MessageEditChange() {
  TMessageText typed;
  MessageEdit()->ToMessageText(typed);
  FollowUp(TControl::MessageEdit, Session->SetMessage(typed));
}

void TMainWindow::FontSelectionClick() {
  // The chooser opens on the face the message is drawn with.
  const TMessageText& text = Session->Text();
  TFontChooser chooser(TFontEngine::TrueTypeFaces(), this);
  chooser.SetFormat(text.Length() > 0 ? text.At(0).Format : text.DefaultFormat());
  if (chooser.exec() != QDialog::Accepted) return;
  const TEditResult edit = Session->ApplyFontToAll(chooser.Format());
  controls_->ShowMessage();
  MessageEdit()->SetDefaultFormat(Session->Text().DefaultFormat());
  FollowUp(TControl::FontSelection, edit);
}

void TMainWindow::BkgColorClick() {
  TColor c = Session->Params().BkgColor;
  if (!PickColor(c, "Background color")) return;
  const TEditResult edit = Session->SetBackground(c);
  tabs_->HexColorBox->setText(QString::fromStdString(ColorToHex(c)));
  ShowBackground();
  FollowUp(TControl::BkgColorSelection, edit);
}

void TMainWindow::BkgSetHexClick() {
  const std::string box = tabs_->HexColorBox->text().toStdString();
  const std::optional<TColor> c = HexToColor(box);
  if (!c) {
    ShowError("'" + box + "' is not a valid hexadecimal color value");
    return;
  }
  const TEditResult edit = Session->SetBackground(*c);
  ShowBackground();
  FollowUp(TControl::BkgSetHex, edit);
}

void TMainWindow::SideColorClick(TPart part) {
  const bool text = part == TPart::Text;
  TColor c = text ? Session->Params().Message.MColor : Session->Params().Button.MColor;
  if (!PickColor(c, text ? "Text color" : "Button color")) return;
  FollowUp(ControlOf(part, TControl::TextColorSelection, TControl::ButtonColorSelection), Session->SetColor(part, c));
}

void TMainWindow::SideTextureClick(TPart part) {
  std::string file = part == TPart::Text ? Session->Params().Message.TexFile : Session->Params().Button.TexFile;
  if (!ChooseTexture(file)) return;
  FollowUp(ControlOf(part, TControl::TextTextureSelection, TControl::ButtonTextureSelection),
           Session->ChooseTexture(part, file));
}

void TMainWindow::UseDroppedTexture(const QString& path, bool text) {
  if (Deferred.Busy) return;
  const TPart part = text ? TPart::Text : TPart::Button;
  // A picture that cannot be loaded has been reported and changed nothing.
  FollowUp(ControlOf(part, TControl::TextTextureSelection, TControl::ButtonTextureSelection),
           Session->ChooseTexture(part, PathFromQt(path)));
}

void TMainWindow::LightColorClick() {
  TColor c = Session->Params().Light.Color;
  if (!PickColor(c, "Light source color")) return;
  FollowUp(TControl::LightColorSelection, Session->SetLightColor(c));
}

void TMainWindow::UndoClick() {
  if (!Deferred.Busy && Session->Undo()) ShowDesign();
}

void TMainWindow::RedoClick() {
  if (!Deferred.Busy && Session->Redo()) ShowDesign();
}

void TMainWindow::ShowDesign() {
  DesignToControls();
  PlaceLightMarker();
  Rebuild();  // also carries out what an undone edit left waiting for the timer
  ShowDimensionsTab();
  setWindowModified(Modified());
}

}  // namespace qz
