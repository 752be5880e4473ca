// TShapeDialog, " Open 3D Button Shape": the shape files of the BShapes folder (and
// of the user's own, whose files win over factory files of the same name) as large
// icons (the JPEG picture stored in each file, or a "No Icon" box), captioned with
// the upper-case name without extension.
//
//   shapes.ProgramDir = FactoryDir;  shapes.UserShapesDir = ...;
//   if (shapes.exec() == QDialog::Accepted && shapes.Accepted) {
//     Session->ChooseShape(shapes.SelectedFile);
//   }
//
// SelectedFile is the listed file's own path: the caption is upper case, and the
// chosen name is resolved in the folder without regard to case when listing.
#pragma once

#include <QDialog>
#include <string>

#include "image/Bitmap.h"

class QCheckBox;
class QListWidget;
class QListWidgetItem;
class QPushButton;

namespace qz {

class TShapeDialog : public QDialog {
  Q_OBJECT
 public:
  explicit TShapeDialog(QWidget* parent = nullptr);

  std::string ProgramDir;     // the folder of the factory BShapes/; set before showing
  std::string UserShapesDir;  // the user's own shape files, listed first when it exists
  std::string ShapesDir;      // ProgramDir + "BShapes/", set on every showing
  std::string SelectedFile;   // the chosen shape file; kept when nothing is chosen
  bool Accepted = false;      // a shape was selected when the dialog closed

  // Lists the files of UserShapesDir and of a mask "folder/*.qzkh" (sorted by
  // caption while " Sorted" is ticked, else in the file system's order); a missing
  // mask folder gives the message "Directory: "folder" does not exist" and, with
  // nothing else to list, an empty list in the button colour (ColourIconList).
  void ListShapes(const std::string& mask);
  void AddShapeItem(const std::string& fileName);
  // The JPEG picture of a shape file: the word at byte 0 must be 0x00100000 and the
  // word at byte 40 gives the picture's offset. False for a file without one, one too
  // short for its header, or a picture that does not decode to a non-empty image.
  static bool LoadShapeIcon(const std::string& fileName, TBitmap& picture);
  // The caption of a shape file: bare name without extension, upper case.
  static QString ShapeCaption(const std::string& fileName);

  // On showing: ShapesDir := ProgramDir + "BShapes/", then the list.
  void showEvent(QShowEvent* event) override;
  // On closing: Accepted := false; a selected item sets SelectedFile and Accepted.
  void done(int result) override;

  QListWidget* ShapeList;
  QCheckBox* SortedCheck;      // " Sorted"
  QPushButton* OkButton;
  QPushButton* CancelButton;

 private slots:
  void ShapeDoubleClick(QListWidgetItem* item);
  void SortedClick(bool checked);
};

}  // namespace qz
