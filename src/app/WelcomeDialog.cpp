#include "app/WelcomeDialog.h"

#include <QButtonGroup>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

#include "app/BrowseForFolder.h"
#include "app/DialogMessages.h"
#include "app/IconList.h"
#include "app/InitialButton.h"
#include "app/QtBridge.h"
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

  SpeedButton1 = ModeButton('N', "ew", this);
  SpeedButton2 = ModeButton('S', "aved", this);
  SpeedButton3 = ModeButton('T', "emplate", this);
  modeGroup_ = new QButtonGroup(this);
  modeGroup_->setExclusive(true);
  modeGroup_->addButton(SpeedButton1, ModeNew);
  modeGroup_->addButton(SpeedButton2, ModeSaved);
  modeGroup_->addButton(SpeedButton3, ModeTemplate);
  connect(SpeedButton1, &QToolButton::clicked, this, &TWelcomeDialog::SpeedButton1Click);
  connect(SpeedButton2, &QToolButton::clicked, this, &TWelcomeDialog::SpeedButton2Click);
  connect(SpeedButton3, &QToolButton::clicked, this, &TWelcomeDialog::SpeedButton3Click);

  ListView1 = new QListWidget(this);
  SetUpIconList(ListView1);
  ListView1->setMinimumSize(600, 300);
  connect(ListView1, &QListWidget::itemDoubleClicked, this, &TWelcomeDialog::ListView1DblClick);

  FolderLabel = new QLabel(this);
  FolderLabel->setTextInteractionFlags(Qt::TextSelectableByMouse);
  FolderLabel->setMinimumWidth(600);
  FolderLabel->setMaximumWidth(600);

  ProgressBar1 = new QProgressBar(this);
  ProgressBar1->setRange(0, 100);
  ProgressBar1->setValue(0);
  ProgressBar1->setTextVisible(false);
  ProgressBar1->setMaximumHeight(6);

  OKBtn = new QPushButton("OK", this);
  OKBtn->setDefault(true);
  CancelBtn = new QPushButton("Cancel", this);
  BrowseBtn = new QPushButton("Browse Folder", this);
  connect(OKBtn, &QPushButton::clicked, this, &QDialog::accept);
  connect(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);
  connect(BrowseBtn, &QPushButton::clicked, this, &TWelcomeDialog::BrowseBtnClick);

  auto* modes = new QHBoxLayout;
  modes->setSpacing(0);
  modes->addWidget(SpeedButton1);
  modes->addWidget(SpeedButton2);
  modes->addWidget(SpeedButton3);
  modes->addStretch();
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(BrowseBtn);
  buttons->addStretch();
  buttons->addWidget(OKBtn);
  buttons->addWidget(CancelBtn);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(modes);
  layout->addWidget(ListView1);
  layout->addWidget(FolderLabel);
  layout->addWidget(ProgressBar1);
  layout->addLayout(buttons);
  setFixedSize(sizeHint());

  // Creation: the New mode, nothing chosen yet.
  Mode = ModeNew;
  SelectedFile.clear();
  SpeedButton1->setChecked(true);
  ColourIconList(ListView1, false);
  BrowseBtn->setEnabled(false);
}

void TWelcomeDialog::SetMode(int mode) {
  switch (mode) {
    case ModeSaved: SpeedButton2->click(); break;
    case ModeTemplate: SpeedButton3->click(); break;
    default: SpeedButton1->click(); break;
  }
}

void TWelcomeDialog::SpeedButton1Click() {
  Mode = ModeNew;
  ListView1->clear();
  FolderLabel->clear();
  ColourIconList(ListView1, false);
  BrowseBtn->setEnabled(false);
}

void TWelcomeDialog::SpeedButton2Click() {
  Mode = ModeSaved;
  ListWorks(WorksDir + "*.qznr");
  BrowseBtn->setEnabled(true);
}

void TWelcomeDialog::SpeedButton3Click() {
  Mode = ModeTemplate;
  ListWorks(TemplatesDir + "*.qzpl", FactoryTemplatesDir);
  BrowseBtn->setEnabled(false);
}

void TWelcomeDialog::ListView1DblClick(QListWidgetItem* item) {
  if (item) accept();
}

void TWelcomeDialog::BrowseBtnClick() {
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
      ColourIconList(ListView1, false);
      ListView1->clear();
      return;
    }
  }
  ColourIconList(ListView1, true);
  ListView1->clear();
  for (const std::string& path : listing.Paths) AddWorkItem(path);
  ProgressBar1->setValue(0);
}

void TWelcomeDialog::AddWorkItem(const std::string& fileName) {
  QImage picture;
  TBitmap icon;
  const auto progress = [this](int percent) { ProgressBar1->setValue(percent); };
  if (LoadIconFromIni(fileName, "Icon", icon, progress)) {
    picture = CropIcon(icon);
  } else {
    const TIniFile ini(fileName);
    picture = PlaceholderIcon(CodesToQt(ini.ReadString("Message", "Text", "<None>"), 0), font());
  }
  auto* item = new QListWidgetItem(QIcon(QPixmap::fromImage(picture)),
                                   PathToQt(BareFileName(fileName)), ListView1);
  item->setData(ListRole, PathToQt(fileName));
}

void TWelcomeDialog::done(int result) {
  SelectedFile = ProgramDir + "default.dat";
  Accepted = false;
  const QList<QListWidgetItem*> chosen = ListView1->selectedItems();
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
