#include "app/dialogs/ShapeDialog.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/bridge/QtBridge.h"
#include "app/dialogs/DialogMessages.h"
#include "app/dialogs/IconList.h"
#include "base/FileUtil.h"
#include "geometry/ButShape.h"
#include "image/formats/JpegReader.h"

namespace qz {

namespace {

constexpr int PathRole = Qt::UserRole;
}  // namespace

TShapeDialog::TShapeDialog(QWidget* parent) : QDialog(parent) {
  setWindowTitle(" Open 3D Button Shape");
  setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);

  ShapeList = new QListWidget(this);
  SetUpIconList(ShapeList);
  ShapeList->setSortingEnabled(true);
  ShapeList->setMinimumSize(600, 300);
  connect(ShapeList, &QListWidget::itemDoubleClicked, this, &TShapeDialog::ShapeDoubleClick);

  SortedCheck = new QCheckBox(" Sorted", this);
  SortedCheck->setChecked(true);
  connect(SortedCheck, &QCheckBox::clicked, this, &TShapeDialog::SortedClick);

  OkButton = new QPushButton("OK", this);
  OkButton->setDefault(true);
  CancelButton = new QPushButton("Cancel", this);
  connect(OkButton, &QPushButton::clicked, this, &QDialog::accept);
  connect(CancelButton, &QPushButton::clicked, this, &QDialog::reject);

  auto* buttons = new QHBoxLayout;
  buttons->addWidget(SortedCheck);
  buttons->addStretch();
  buttons->addWidget(OkButton);
  buttons->addWidget(CancelButton);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(ShapeList);
  layout->addLayout(buttons);
  setFixedSize(sizeHint());
}

void TShapeDialog::showEvent(QShowEvent* event) {
  ShapesDir = ProgramDir + "BShapes/";
  ListShapes(ShapesDir + "*.qzkh");
  QDialog::showEvent(event);
}

void TShapeDialog::ListShapes(const std::string& mask) {
  const TFileMask m = SplitMask(mask);
  const TFolderListing listing = ListFolders({UserShapesDir, m.Folder}, m.Pattern, false);
  if (listing.IsMissing(m.Folder)) {
    ShowDialogMessage(this, MissingFolderText(m.Folder, "You do not have saved files"));
    if (listing.Paths.empty()) {
      ColourIconList(ShapeList, false);
      ShapeList->clear();
      return;
    }
  }
  ColourIconList(ShapeList, true);
  ShapeList->clear();
  // Items join in the file system's order; a sorting list files each by caption.
  ShapeList->setSortingEnabled(SortedCheck->isChecked());
  for (const std::string& path : listing.Paths) AddShapeItem(path);
}

QString TShapeDialog::ShapeCaption(const std::string& fileName) {
  const std::string bare = BareFileName(fileName);
  const size_t dot = bare.find_last_of('.');
  return PathToQt(dot == std::string::npos ? bare : bare.substr(0, dot)).toUpper();
}

void TShapeDialog::AddShapeItem(const std::string& fileName) {
  TBitmap bitmap;
  const QImage picture = LoadShapeIcon(fileName, bitmap) ? BitmapToQImage(bitmap)
                                                         : PlaceholderIcon("No Icon", font());
  auto* item = new QListWidgetItem(QIcon(QPixmap::fromImage(picture)), ShapeCaption(fileName));
  item->setData(PathRole, PathToQt(fileName));
  ShapeList->addItem(item);
}

bool TShapeDialog::LoadShapeIcon(const std::string& fileName, TBitmap& picture) {
  const std::optional<std::vector<uint8_t>> jpeg = TButShape::ReadPicture(fileName);
  if (!jpeg) return false;
  try {
    TBitmap decoded = DecodeJpeg(*jpeg, fileName + " (picture)");
    if (decoded.Empty()) return false;
    picture = std::move(decoded);
    return true;
  } catch (const std::exception&) {
    return false;  // listed with the "No Icon" box
  }
}

void TShapeDialog::ShapeDoubleClick(QListWidgetItem* item) {
  if (item) accept();
}

void TShapeDialog::SortedClick(bool checked) {
  if (checked) {
    ShapeList->setSortingEnabled(true);
    ShapeList->sortItems(Qt::AscendingOrder);
  } else {
    ListShapes(ShapesDir + "*.qzkh");
  }
}

void TShapeDialog::done(int result) {
  Accepted = false;
  const QList<QListWidgetItem*> chosen = ShapeList->selectedItems();
  if (!chosen.isEmpty()) {
    SelectedFile = PathFromQt(chosen.first()->data(PathRole).toString());
    Accepted = true;
  }
  QDialog::done(result);
}

}  // namespace qz
