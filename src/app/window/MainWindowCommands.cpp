// The main window's commands: the start-up with the welcome dialog, New, New from
// template, Open, Open Recent and dropped works, Save and the question before
// quitting (the File menu), Copy Picture (the Edit menu), and the
// dialogs of the tabs and menus (Advanced Text Settings, the shape dialog, Advanced
// Options, Help and About in the browser window).
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QSignalBlocker>
#include <QTabWidget>
#include <QTimer>

#include "app/bridge/QtBridge.h"
#include "app/dialogs/BrowserWindow.h"
#include "app/dialogs/CopyRichText.h"
#include "app/dialogs/OptionsDialog.h"
#include "app/dialogs/ShapeDialog.h"
#include "app/dialogs/TextDialog.h"
#include "app/dialogs/WelcomeDialog.h"
#include "app/export/CopyPicture.h"
#include "app/files/ProjectCommands.h"
#include "app/widgets/MessageEdit.h"
#include "app/window/DesignControls.h"
#include "app/window/EditHistory.h"
#include "app/window/MainWindow.h"
#include "base/FileUtil.h"

namespace qz {

// ---- The dialogs, made on first use ------------------------------------------------

TTextDialog& TMainWindow::AdvancedTextDialog() {
  if (!textDialog_) textDialog_ = new TTextDialog(this);
  return *textDialog_;
}

TOptionsDialog& TMainWindow::AdvancedOptionsDialog() {
  if (!optionsDialog_) optionsDialog_ = new TOptionsDialog(this);
  return *optionsDialog_;
}

TWelcomeDialog& TMainWindow::WelcomeDialog() {
  if (!welcomeDialog_) welcomeDialog_ = new TWelcomeDialog(this);
  return *welcomeDialog_;
}

TShapeDialog& TMainWindow::ShapeDialog() {
  if (!shapeDialog_) shapeDialog_ = new TShapeDialog(this);
  return *shapeDialog_;
}

TBrowserWindow& TMainWindow::BrowserWindow() {
  if (!browserWindow_) browserWindow_ = new TBrowserWindow(this);
  return *browserWindow_;
}

// ---- Start-up ----------------------------------------------------------------------

void TMainWindow::showEvent(QShowEvent* e) {
  QMainWindow::showEvent(e);
  if (!firstShow_) return;
  firstShow_ = false;
  // The welcome dialog and the first load run once the window stands at its size,
  // so the preview fits it.
  QTimer::singleShot(0, this, &TMainWindow::StartUp);
}

std::string TMainWindow::WorksFolderForDialog() const {
  const std::string folder = FolderOf(Settings.JobFile);
  if (!folder.empty() && DirectoryExists(folder)) return folder;
  const std::string works = Settings.Folders.DefaultWorksDir();
  ForceDirectories(works);
  return works;
}

void TMainWindow::PrepareWelcome(TWelcomeDialog& welcome) {
  welcome.ProgramDir = Settings.Folders.FactoryDir;
  Settings.WorksDir = WorksFolderForDialog();
  welcome.WorksDir = Settings.WorksDir;
  welcome.TemplatesDir = Settings.TemplatesDir;
  welcome.FactoryTemplatesDir = Settings.Folders.FactoryTemplatesDir();
}

void TMainWindow::StartUp() {
  TWelcomeDialog& welcome = WelcomeDialog();
  PrepareWelcome(welcome);
  // Whatever mode the dialog is in: OK loads the file it chose (default.dat for New
  // or nothing selected), Cancel the factory design.
  const bool ok = welcome.exec() == QDialog::Accepted;
  const bool opened = ok && welcome.Accepted && welcome.Mode == TWelcomeDialog::ModeSaved;
  if (opened) Settings.WorksDir = welcome.WorksDir;
  const std::string file =
      ok && !welcome.SelectedFile.empty() ? welcome.SelectedFile : Settings.Folders.FactoryDir + "default.dat";
  // The New mode names the factory design too: that is no file of the user's.
  const bool users = ok && welcome.Accepted && welcome.Mode != TWelcomeDialog::ModeNew;
  // A design just opened has no changes of the user's: quitting now asks nothing.
  Opened(users ? file : std::string(), LoadWork(file));
  started_ = true;
}

// ---- Unsaved changes and quitting --------------------------------------------------

bool TMainWindow::AskToSave(TProjectCommand command) {
  if (!Modified()) return true;
  return CommandGoesOn(AskUnsavedChanges(this, command), [this] { SaveClick(); });
}

void TMainWindow::closeEvent(QCloseEvent* e) {
  // A close that arrives while a build lets events run waits: the user closes again.
  if (Deferred.Busy || !AskToSave(TProjectCommand::Quit)) {
    e->ignore();
    return;
  }
  if (browserWindow_) browserWindow_->close();
  e->accept();
}

// ---- File menu -----------------------------------------------------------------------

void TMainWindow::Opened(const std::string& path, bool loaded) {
  if (loaded) {
    DesignFile = path;
    if (!path.empty()) Settings.Recent.Add(path);
  }
  // A refused file leaves the design as it was, with its changes unsaved still.
  ShowTitle();
}

void TMainWindow::ShowTitle() {
  const std::string name = DesignFile.empty() ? "Untitled" : BareFileName(DesignFile);
  setWindowTitle(PathToQt(name) + "[*] - Quenzar");
  setWindowModified(Modified());
}

void TMainWindow::NewClick() {
  if (!AskToSave(TProjectCommand::New)) return;
  const bool loaded = LoadWork(Settings.Folders.FactoryDir + "Default.dat");
  tabs_->setCurrentIndex(static_cast<int>(TTab::Caption));
  ShowDimensionsTab();
  Opened({}, loaded);
}

bool TMainWindow::RunWelcome(int mode, const char* title) {
  TWelcomeDialog& welcome = WelcomeDialog();
  welcome.setWindowTitle(title);
  PrepareWelcome(welcome);
  welcome.SetMode(mode);
  if (welcome.exec() != QDialog::Accepted || !welcome.Accepted) return false;
  Settings.WorksDir = welcome.WorksDir;
  return true;
}

void TMainWindow::OpenClick() {
  if (!AskToSave(TProjectCommand::Open) || !RunWelcome(TWelcomeDialog::ModeSaved, " Open")) return;
  const std::string file = WelcomeDialog().SelectedFile;
  const bool loaded = LoadWork(file);
  ShowDimensionsTab();
  Opened(file, loaded);
}

void TMainWindow::NewFromTemplateClick() {
  if (!AskToSave(TProjectCommand::NewFromTemplate) ||
      !RunWelcome(TWelcomeDialog::ModeTemplate, " New from template"))
    return;
  Settings.TemplateFile = WelcomeDialog().SelectedFile;
  const bool loaded = LoadWork(Settings.TemplateFile);
  ShowDimensionsTab();
  Opened(Settings.TemplateFile, loaded);
}

void TMainWindow::OpenDesignFile(const QString& path) {
  if (Deferred.Busy || !AskToSave(TProjectCommand::Open)) return;
  const std::string file = PathFromQt(path);
  // As Open and New from template do: a work's folder is where the works are looked
  // for next, a template is the template last chosen and begins a new design.
  const bool isTemplate = path.endsWith(QLatin1String(TemplateExtension), Qt::CaseInsensitive);
  const bool loaded = LoadWork(file);
  if (loaded && isTemplate)
    Settings.TemplateFile = file;
  else if (loaded)
    Settings.WorksDir = FolderOf(file);
  ShowDimensionsTab();
  Opened(file, loaded);
}

void TMainWindow::OpenRecentFile(const QString& path) {
  const std::string file = PathFromQt(path);
  if (!FileExists(file)) {
    Settings.Recent.Remove(file);
    ShowError("The file " + file + " no longer exists: it has been taken off the recent works.");
    return;
  }
  OpenDesignFile(path);
}

void TMainWindow::SaveClick() {
  TProjectFiles files{Settings.JobFile, Settings.TemplateFile, Settings.WorksDir, Settings.TemplatesDir};
  const std::optional<TSaveTarget> target = AskSaveTarget(this, files);
  bool iconSaved = false;
  if (target) {
    // The icon lets events run: the timer leaves its work until it is written.
    TBusyScope busy(*this);
    // A save that fails leaves the work's name and folders as they were: the next
    // save and the welcome dialog do not move to a folder that could not be written.
    if (!Try([&] { iconSaved = Session->Save(target->File); })) return;
  }
  Settings.JobFile = files.JobFile;
  Settings.TemplateFile = files.TemplateFile;
  Settings.WorksDir = files.WorksDir;
  Settings.TemplatesDir = files.TemplatesDir;
  if (!target) return;
  if (iconSaved) Deferred.ShowDone(RDelayTicks());
  DesignFile = target->File;
  Settings.Recent.Add(target->File);
  ShowTitle();
}

void TMainWindow::CopyPictureClick() {
  if (!FinishPendingEdits()) return;
  std::optional<TUnmixed> picture;
  {
    TBusyScope busy(*this);
    Try([&] { picture = Session->ExportPicture(); });  // "Sorry, there is nothing to export"
  }
  if (picture) CopyPictureToClipboard(*picture);
}

// ---- The tabs' dialogs ---------------------------------------------------------------

void TMainWindow::AdvancedTextClick() {
  TTextDialog& dialog = AdvancedTextDialog();
  dialog.LoadText(Session->Text());
  dialog.ShapingCheck->setChecked(Session->Params().Shaping);
  if (dialog.exec() != QDialog::Accepted) return;  // the message edit stays as it was
  TMessageText text = Session->Text();
  CopyRichText(text, dialog.TakeText());
  const TEditResult edit = Session->SetText(text, dialog.ShapingCheck->isChecked());
  controls_->ShowMessage();
  FollowUp(TControl::AdvancedText, edit);
}

void TMainWindow::SelectShapeClick() {
  TShapeDialog& dialog = ShapeDialog();
  dialog.ProgramDir = Settings.Folders.FactoryDir;
  dialog.UserShapesDir = Settings.Folders.UserShapesDir();
  // OK with no shape selected chooses nothing: the design keeps its shape.
  if (dialog.exec() != QDialog::Accepted || !dialog.Accepted) return;
  const TEditResult edit = Session->ChooseShape(dialog.SelectedFile);
  // The button is shown again: " Hide button" says so without running its handler.
  auto* hide = static_cast<QCheckBox*>(Control(TControl::HideButton));
  {
    const QSignalBlocker block(hide);
    hide->setChecked(false);
  }
  FollowUp(TControl::ShapeSelection, edit);
}

void TMainWindow::AdvancedOptionsClick() {
  TOptionsDialog& dialog = AdvancedOptionsDialog();
  dialog.LoadParams(Session->Params());
  if (dialog.exec() != QDialog::Accepted) return;  // the design keeps its record
  const TEditResult edit = Session->SetOptions(dialog.Params);  // the dialog's OK is one step
  setWindowModified(edit.Unsaved);
  if (edit.Changed) history_->Edited();
  Rebuild();
  ShowDimensionsTab();
}

// ---- Help menu -------------------------------------------------------------------------

void TMainWindow::ShowPage(const std::string& path) {
  const TBusyScope busy(*this);
  if (!FileExists(path)) {
    ShowError("Error loading file: " + path);
    return;
  }
  BrowserWindow().ShowURL(path);
}

void TMainWindow::HelpClick() { ShowPage(Settings.Folders.FactoryDir + "Help/index.html"); }

void TMainWindow::AboutClick() { ShowPage(Settings.Folders.FactoryDir + "HTML/About.html"); }

}  // namespace qz
