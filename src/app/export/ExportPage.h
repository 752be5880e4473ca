// TExportPage: the content of the main window's "Export 3D Button " tab. Sub-pages
// " GIF", "JPEG", "Bitmap", "PNG" and "WebP" (the one on top chooses the format); the
// first two show " Simple Options " or, after "Advanced  >>", " Advanced Options ".
// Common to all: " Browser Preview", the " Image Dimensions " boxes, the pictures
// written beside the plain one (" High density", " Hover and pressed states") and
// "xport 3D Button". None of its controls changes the design.
//
//   auto* page = new TExportPage;  tabs->addTab(page, "Export 3D Button ");
//   page->DimensionsSource = [this] { return QSize(Session->ExportSize().width, Session->ExportSize().height); };
//   connect(page, &TExportPage::ExportRequested, this, &TMainWindow::ExportClick);
//   ... TExportOptions o = page->Options();
#pragma once

#include <QWidget>
#include <functional>

#include "app/export/ExportChoices.h"

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLayout;
class QLineEdit;
class QPushButton;
class QSlider;
class QTabWidget;
class QToolButton;

namespace qz {

class TExportPage : public QWidget {
  Q_OBJECT
 public:
  explicit TExportPage(QWidget* parent = nullptr);

  // Everything the export reads, as the controls stand, for the format of the
  // sub-page on top.
  TExportOptions Options() const;
  TExportFormat Format() const;
  // The same for a picture of format (the save dialog may choose another than the
  // page): a JPEG takes the JPEG page's quality, a lossy WebP the WebP page's.
  TExportOptions OptionsFor(TExportFormat format) const;

  // The " Image Dimensions " boxes show " <width>" and " <height>".
  void SetDimensions(int width, int height);
  // Asked for the export size every time the page is shown.
  std::function<QSize()> DimensionsSource;

  // The simple options (index into GifPresets / JpegPresets): the GIF ones set
  // Dithering " None", Palette " Optimized" and the preset's colours; the JPEG ones
  // move the slider and write the number into the box.
  void GifPresetClick(int index);
  void JpegPresetClick(int index);

  QTabWidget* FormatTabs;  // " GIF", "JPEG", "Bitmap", "PNG", "WebP"
  // GIF
  QGroupBox* GifSimple;           // " Simple Options "
  QGroupBox* GifAdvanced;         // " Advanced Options "
  QPushButton* GifToggle;         // "Advanced  >>" / "Simple  <<"
  QButtonGroup* GifPresetGroup;
  QComboBox* ColorsList;
  QComboBox* DitheringList;
  QComboBox* PaletteList;
  QCheckBox* TransparencyCheck;
  QComboBox* GifCompressionList;  // GifCompressionEntries
  // JPEG
  QGroupBox* JpegSimple;
  QGroupBox* JpegAdvanced;
  QPushButton* JpegToggle;
  QButtonGroup* JpegPresetGroup;
  QSlider* JpegQualitySlider;  // "Image Quality " 1..100
  QLineEdit* JpegQualityBox;   // read-only: the number used
  // WebP
  QCheckBox* LosslessCheck;    // " Lossless"; unchecked, the quality below counts
  QSlider* WebpQualitySlider;  // "Image Quality " 1..100, enabled for lossy pictures only
  QLineEdit* WebpQualityBox;   // read-only: the number used
  // Common
  QCheckBox* BrowserPreviewCheck;  // " Browser Preview"
  QLineEdit* ImageWidthBox;
  QLineEdit* ImageHeightBox;
  QComboBox* HighDensityList;      // " High density": ScaleEntries
  QCheckBox* StatesCheck;          // " Hover and pressed states"
  QToolButton* ExportButton;       // "xport 3D Button"

 signals:
  void ExportRequested();

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void PaletteChange(int index);
  static void Toggle(QGroupBox* simple, QGroupBox* advanced, QPushButton* button);
  QWidget* MakeGifPage();
  QWidget* MakeJpegPage();
  QWidget* MakeWebpPage();
  QLayout* MakeSideColumn();
  static QWidget* MakeNoOptionsPage(const QString& note);
};

}  // namespace qz
