// TDesignerTabs: the ten tabs under the main window's preview, which lead through the
// steps "A." to "N.", with the editing controls of the control table on them. It only
// builds and holds the widgets; the main window connects their handlers.
//
//   auto* tabs = new TDesignerTabs(parent);
//   QSlider* s = static_cast<QSlider*>(tabs->Control(TControl::TextExtrusion));
#pragma once

#include <QTabWidget>
#include <array>

#include "app/window/ControlTable.h"

class QAbstractButton;
class QCheckBox;
class QFrame;
class QGridLayout;
class QLabel;
class QLineEdit;
class QSlider;
class QSpinBox;

namespace qz {

class TExportPage;
class TMessageEdit;

class TDesignerTabs : public QTabWidget {
  Q_OBJECT
 public:
  static constexpr int MinimumHeight = 250;

  explicit TDesignerTabs(QWidget* parent = nullptr);

  // The widget of a control of the table (the light marker is the preview's, and is
  // registered by the window).
  QWidget* Control(TControl id) const { return controls_[static_cast<size_t>(id)]; }
  // Gives the widget its control's object name and makes it Control(id).
  void Register(TControl id, QWidget* w);

  TMessageEdit* MessageEdit = nullptr;
  QLineEdit* HexColorBox = nullptr;
  QLineEdit* LinkAddressBox = nullptr;
  QLineEdit* DimWidthBox = nullptr;
  QLineEdit* DimHeightBox = nullptr;
  QSlider* WidthRuler = nullptr;
  QSlider* HeightRuler = nullptr;
  QCheckBox* DimConstrainCheck = nullptr;
  QFrame* DimFrame = nullptr;
  QLabel* DimPicture = nullptr;
  TExportPage* ExportPage = nullptr;

 private:
  QWidget* CreateCaptionTab();
  QWidget* CreateBackgroundTab();
  QWidget* CreateColorTab(bool text);
  QWidget* CreateCaptionTuneupTab();
  QWidget* CreateButtonTuneupTab();
  QWidget* CreateLightTab();
  QWidget* CreateLinkTab();
  QWidget* CreateDimensionsTab();
  void AddRulers(QGridLayout* grid, QWidget* page);
  QWidget* CreateExportTab();
  QSlider* MakeSlider(TControl id, QWidget* parent);
  QSpinBox* MakeSpinner(TControl id, QWidget* parent);
  QCheckBox* MakeCheck(TControl id, const QString& caption, QWidget* parent);
  QAbstractButton* MakeCommand(TControl id, QChar initial, const QString& caption, const QString& hint,
                               QWidget* parent);

  std::array<QWidget*, static_cast<size_t>(TControl::Count)> controls_{};
};

}  // namespace qz
