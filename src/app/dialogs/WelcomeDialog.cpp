#include "app/dialogs/WelcomeDialog.h"

#include <QButtonGroup>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

#include "app/bridge/QtBridge.h"
#include "app/dialogs/DialogMessages.h"
#include "app/dialogs/IconList.h"
#include "app/files/BrowseForFolder.h"
#include "app/widgets/InitialButton.h"
#include "base/FileUtil.h"
#include "base/IniFile.h"
#include "scene/IconRecord.h"

namespace qz {

namespace {

constexpr int ListRole = Qt::UserRole;  // an item's full path

QToolButton* ModeButton(QChar initial, const QString& rest, QWidget* parent) {
  auto* b = new TInitialButton(initial, rest, parent);
  b->setCheckable(true);
  b->setMinimumWidth(96);
  return b;
}

}  // namespace

TWelcomeDialog::TWelcomeDialog(QWidget* parent) : QDialog(parent) {
  setWindowTitle(" Welcome to Quenzar v1.5");
  setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);
  CreateModeButtons();
  CreateFileList();
  CreateCommandButtons();
  LayOut();

  // Creation: the New mode, nothing chosen yet.
  Mode = ModeNew;
  SelectedFile.clear();
  NewButton->setChecked(true);
  ColourIconList(FileList, false);
  BrowseButton->setEnabled(false);
}

// "ew", "aved" and "emplate": one of them pressed at a time.
void TWelcomeDialog::CreateModeButtons() {
  NewButton = ModeButton('N', "ew", this);
  SavedButton = ModeButton('S', "aved", this);
  TemplateButton = ModeButton('T', "emplate", this);
  modeGroup_ = new QButtonGroup(this);
  modeGroup_->setExclusive(true);
  modeGroup_->addButton(NewButton, ModeNew);
  modeGroup_->addButton(SavedButton, ModeSaved);
  modeGroup_->addButton(TemplateButton, ModeTemplate);
  connect(NewButton, &QToolButton::clicked, this, &TWelcomeDialog::NewModeClick);
  connect(SavedButton, &QToolButton::clicked, this, &TWelcomeDialog::SavedModeClick);
  connect(TemplateButton, &QToolButton::clicked, this, &TWelcomeDialog::TemplateModeClick);
}

// The icons of the files, the folder they are in, and the progress of reading them.
void TWelcomeDialog::CreateFileList() {
  FileList = new QListWidget(this);
  SetUpIconList(FileList);
  FileList->setMinimumSize(600, 300);
  connect(FileList, &QListWidget::itemDoubleClicked, this, &TWelcomeDialog::FileDoubleClick);

  FolderLabel = new QLabel(this);
  FolderLabel->setTextInteractionFlags(Qt::TextSelectableByMouse);
  FolderLabel->setMinimumWidth(600);
  FolderLabel->setMaximumWidth(600);

  ProgressBar = new QProgressBar(this);
  ProgressBar->setRange(0, 100);
  ProgressBar->setValue(0);
  ProgressBar->setTextVisible(false);
  ProgressBar->setMaximumHeight(6);
}

void TWelcomeDialog::CreateCommandButtons() {
  OkButton = new QPushButton("OK", this);
  OkButton->setDefault(true);
  CancelButton = new QPushButton("Cancel", this);
  BrowseButton = new QPushButton("Browse Folder", this);
  connect(OkButton, &QPushButton::clicked, this, &QDialog::accept);
  connect(CancelButton, &QPushButton::clicked, this, &QDialog::reject);
  connect(BrowseButton, &QPushButton::clicked, this, &TWelcomeDialog::BrowseClick);
}

// The modes on top, the list with its folder and progress, then Browse Folder on the
// left and OK and Cancel on the right.
void TWelcomeDialog::LayOut() {
  auto* modes = new QHBoxLayout;
  modes->setSpacing(0);
  modes->addWidget(NewButton);
  modes->addWidget(SavedButton);
  modes->addWidget(TemplateButton);
  modes->addStretch();
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(BrowseButton);
  buttons->addStretch();
  buttons->addWidget(OkButton);
  buttons->addWidget(CancelButton);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(modes);
  layout->addWidget(FileList);
  layout->addWidget(FolderLabel);
  layout->addWidget(ProgressBar);
  layout->addLayout(buttons);
  setFixedSize(sizeHint());
}

void TWelcomeDialog::SetMode(int mode) {
  switch (mode) {
    case ModeSaved: SavedButton->click(); break;
    case ModeTemplate: TemplateButton->click(); break;
    default: NewButton->click(); break;
  }
}

void TWelcomeDialog::NewModeClick() {
  Mode = ModeNew;
  FileList->clear();
  FolderLabel->clear();
  ColourIconList(FileList, false);
  BrowseButton->setEnabled(false);
}

void TWelcomeDialog::SavedModeClick() {
  Mode = ModeSaved;
  ListWorks(WorksDir + "*.qznr");
  BrowseButton->setEnabled(true);
}

void TWelcomeDialog::TemplateModeClick() {
  Mode = ModeTemplate;
  ListWorks(TemplatesDir + "*.qzpl", FactoryTemplatesDir);
  BrowseButton->setEnabled(false);
}

void TWelcomeDialog::FileDoubleClick(QListWidgetItem* item) {
  if (item) accept();
}

void TWelcomeDialog::BrowseClick() {
  std::string folder = WorksDir;
  if (folder.size() > 1 && folder.back() == '/') folder.pop_back();
  if (!BrowseForFolder("Select folder with saved works (*.qznr)", folder, this)) return;
  WorksDir = WithTrailingSlash(folder);
  ListWorks(WorksDir + "*.qznr");
}

void TWelcomeDialog::ListWorks(const std::string& mask, const std::string& moreFolder) {
  const TFileMask m = SplitMask(mask);
  // Long paths are cut in the middle, so both their start and their end show.
  const QString folder = PathToQt(m.Folder);
  FolderLabel->setText(FolderLabel->fontMetrics().elidedText("In " + folder, Qt::ElideMiddle, 600));
  FolderLabel->setToolTip(folder);
  // Works are listed by name: the folder order of the file system here is a hash
  // order that would look random to the user.
  const TFolderListing listing = ListFolders({m.Folder, moreFolder}, m.Pattern, true);
  if (listing.IsMissing(m.Folder)) {
    ShowDialogMessage(this, MissingFolderText(m.Folder, "You do not have the saved files"));
    if (listing.Paths.empty()) {
      ColourIconList(FileList, false);
      FileList->clear();
      return;
    }
  }
  ColourIconList(FileList, true);
  FileList->clear();
  for (const std::string& path : listing.Paths) AddWorkItem(path);
  ProgressBar->setValue(0);
}

void TWelcomeDialog::AddWorkItem(const std::string& fileName) {
  QImage picture;
  TBitmap icon;
  const auto progress = [this](int percent) { ProgressBar->setValue(percent); };
  if (LoadIconFromIni(fileName, "Icon", icon, progress)) {
    picture = CropIcon(icon);
  } else {
    const TIniFile ini(fileName);
    picture = PlaceholderIcon(CodesToQt(ini.ReadString("Message", "Text", "<None>"), 0), font());
  }
  auto* item = new QListWidgetItem(QIcon(QPixmap::fromImage(picture)),
                                   PathToQt(BareFileName(fileName)), FileList);
  item->setData(ListRole, PathToQt(fileName));
}

void TWelcomeDialog::done(int result) {
  SelectedFile = ProgramDir + "default.dat";
  Accepted = false;
  const QList<QListWidgetItem*> chosen = FileList->selectedItems();
  const std::string path = chosen.isEmpty() ? std::string() : PathFromQt(chosen.first()->data(ListRole).toString());
  const std::string name = BareFileName(path);
  if (Mode == ModeNew) {
    Accepted = true;
  } else if (Mode == ModeSaved && !chosen.isEmpty()) {
    SelectedFile = WorksDir + name;
    WorksDir = FolderOf(SelectedFile);
    Accepted = true;
  } else if (Mode == ModeTemplate && !chosen.isEmpty()) {
    SelectedFile = path;  // the user's template folder or the factory's
    Accepted = true;
  }
  QDialog::done(result);
}

}  // namespace qz
