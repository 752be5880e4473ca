// TOptionsDialog, " Advanced Options": the rendering parameters, text margins and
// settings of the exported button states that have no place on the main window's
// tabs. The dialog edits its own copy of the design's whole TParams record, so fields
// it does not show travel through unchanged.
//
//   dialog.LoadParams(Session->Params);
//   if (dialog.exec() == QDialog::Accepted) {
//     Session->Params = dialog.Params;
//     Session->RecordEdit();  // the dialog's OK is one step
//   }
//
// OK reads every field first; a factor that is not a number, or a margin or distance
// without a digit, shows the number parser's error and keeps the dialog open with
// the field focused, so a record is only ever handed back whole and valid. Cancel
// reads nothing.
#pragma once

#include <QDialog>
#include <optional>
#include <string>

#include "scene/Params.h"

class QComboBox;
class QLineEdit;
class QSpinBox;
class QTabWidget;

namespace qz {

class TOptionsDialog : public QDialog {
  Q_OBJECT
 public:
  explicit TOptionsDialog(QWidget* parent = nullptr);

  TParams Params;  // the dialog's copy of the design parameters

  // Params := p, and the controls show it.
  void LoadParams(const TParams& p);

  // The decimal digits of s in order, every other character dropped: "-5" -> "5",
  // "1.5" -> "15", "" -> "".
  static std::string MakeInt(const std::string& s);

  // Fills the controls from Params (done on every showing).
  void ParamsToControls();
  // Reads the controls into a copy of Params, in the order X Factor, Y Factor, Top,
  // Bottom, Left, Right, Distance, Shading, delay, preview size, the states' two
  // settings (the session makes the camera follow Distance). The first text that
  // does not convert gives its error message and focuses its control; Params is then
  // left as it was.
  std::optional<std::string> ControlsToParams();

  void showEvent(QShowEvent* event) override;
  void accept() override;

  QTabWidget* OptionTabs;
  QLineEdit* XFactorBox;
  QLineEdit* YFactorBox;
  QComboBox* ShadingList;
  QLineEdit* DistanceBox;
  QSpinBox* DelaySpinner;        // "Rendering delay (msec)": 250..2500 in steps of 250
  QLineEdit* TopMarginBox;
  QLineEdit* BottomMarginBox;
  QLineEdit* LeftMarginBox;
  QLineEdit* RightMarginBox;
  QSpinBox* PreviewSizeSpinner;  // "Preview size (%)": 10..90 in steps of 5
  QSpinBox* HoverSpinner;        // "Hover: lighter by": HoverBrightening, 0..MaxHoverBrightening
  QSpinBox* PressedSpinner;      // "Pressed: height (%)": PressedAltitude, 0..100

  // The most the hover picture's light may be brightened from the dialog.
  static constexpr int MaxHoverBrightening = 128;

 private:
  QWidget* CreateRenderingPage();
  QWidget* CreateMarginsPage();
  QWidget* CreateStatesPage();
  void LayOut();
};

}  // namespace qz
