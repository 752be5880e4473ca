// TFontChooser: the dialog of " Font Selection": the TrueType faces the renderer can
// read (and no others: fontconfig's aliases such as "Sans Serif" name no face), a size
// in points, bold, italic and underline, with a sample. It opens on the face a
// character in the given font is actually drawn with ("Arial" opens on the face
// fontconfig gives for it).
//
//   TFontChooser chooser(faces, this);
//   chooser.SetFormat(defaultFormat);
//   if (chooser.exec() == QDialog::Accepted) TCharFormat f = chooser.Format();
#pragma once

#include <QDialog>
#include <string>
#include <vector>

#include "scene/MessageText.h"

class QCheckBox;
class QLabel;
class QListWidget;
class QSpinBox;

namespace qz {

class TFontChooser : public QDialog {
  Q_OBJECT
 public:
  TFontChooser(const std::vector<std::string>& faces, QWidget* parent = nullptr);

  // Selects the face the format's font resolves to, and its size and styles.
  void SetFormat(const TCharFormat& format);
  // The choice: the face selected (the format's own when none is), the size and styles;
  // the charset is the format's.
  TCharFormat Format() const;

  QListWidget* FaceList;
  QSpinBox* SizeSpinner;
  QCheckBox* BoldCheck;
  QCheckBox* ItalicCheck;
  QCheckBox* UnderlineCheck;
  QLabel* SampleLabel;

 private:
  void ShowSample();

  TCharFormat format_;
};

}  // namespace qz
