// TWelcomeDialog, the welcome dialog: shown at start-up and reused by Open and New from
// template. Three toggle buttons choose the mode (New, Saved works, Templates); the
// saved modes list the files of their folder with the icon stored in each.
//
//   welcome.ProgramDir = ...; welcome.WorksDir = ...; welcome.TemplatesDir = ...;
//   welcome.FactoryTemplatesDir = ...;               // listed with TemplatesDir
//   welcome.setWindowTitle(" Open");
//   welcome.SetMode(TWelcomeDialog::ModeSaved);      // presses "aved", lists the works
//   if (welcome.exec() == QDialog::Accepted && welcome.Accepted)
//     LoadWork(welcome.SelectedFile);
//
// Closing by any button sets SelectedFile and Accepted (see done()).
#pragma once

#include <QDialog>
#include <string>

class QButtonGroup;
class QListWidget;
class QListWidgetItem;
class QProgressBar;
class QLabel;
class QPushButton;
class QToolButton;

namespace qz {

class TWelcomeDialog : public QDialog {
  Q_OBJECT
 public:
  static constexpr int ModeNew = 1;
  static constexpr int ModeSaved = 2;
  static constexpr int ModeTemplate = 3;

  explicit TWelcomeDialog(QWidget* parent = nullptr);

  int Mode = ModeNew;
  std::string ProgramDir;           // the folder of default.dat; set before each showing
  std::string WorksDir;             // listed in the Saved mode; changed by a choice or Browse Folder
  std::string TemplatesDir;         // listed in the Template mode (the user's templates)
  std::string FactoryTemplatesDir;  // listed with it: the templates that come with the program
  std::string SelectedFile;         // the file to load once the dialog has closed
  bool Accepted = false;            // a file was chosen (or New) when the dialog closed

  // Presses the mode's toggle button, which runs its handler.
  void SetMode(int mode);

  // Lists the files of a mask "folder/*.ext", and those of moreFolder that no file of
  // the mask's folder hides (same name in any case). A missing mask folder gives the
  // message "Directory: "folder" does not exist" and, with nothing else to list, an
  // empty list in the button colour (ColourIconList).
  void ListWorks(const std::string& mask, const std::string& moreFolder = {});
  // Adds one file: its icon record cut to 120 x 40, or the "<None>" box (with the
  // work's Message Text key when it has one); the caption is the bare file name.
  void AddWorkItem(const std::string& fileName);

  // The closing rules, whatever closed the dialog: SelectedFile := ProgramDir +
  // "default.dat" and Accepted := false; then New accepts; Saved with a selected
  // item chooses WorksDir + its name (WorksDir := that file's folder); Template with
  // a selected item chooses that template, from whichever folder it was listed.
  void done(int result) override;

  QToolButton* NewButton;       // "ew"
  QToolButton* SavedButton;     // "aved"
  QToolButton* TemplateButton;  // "emplate"
  QListWidget* FileList;
  QLabel* FolderLabel;          // which folder the list shows
  QProgressBar* ProgressBar;
  QPushButton* OkButton;
  QPushButton* CancelButton;
  QPushButton* BrowseButton;    // "Browse Folder", Saved mode only

 private slots:
  void NewModeClick();
  void SavedModeClick();
  void TemplateModeClick();
  void FileDoubleClick(QListWidgetItem* item);
  void BrowseClick();

 private:
  void CreateModeButtons();
  void CreateFileList();
  void CreateCommandButtons();
  void LayOut();

  QButtonGroup* modeGroup_;
};

}  // namespace qz
