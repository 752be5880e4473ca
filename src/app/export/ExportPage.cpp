#include "app/export/ExportPage.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QTabWidget>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>

#include "app/widgets/InitialButton.h"

namespace qz {

namespace {

constexpr int StartPreset = 2;  // " High quality"

// The formats with an alpha channel say what it gives.
constexpr char AlphaNote[] =
    "The picture has true alpha: the button keeps its soft edges\n"
    "and a see-through shadow on any page colour.";

QLineEdit* ReadOnlyBox(QWidget* parent) {
  auto* e = new QLineEdit(parent);
  e->setReadOnly(true);
  e->setMaximumWidth(64);
  return e;
}

// "Low", the slider, "High" and the number used, as one row. The box follows the slider.
QHBoxLayout* QualityRow(QSlider*& slider, QLineEdit*& box, QWidget* parent) {
  slider = new QSlider(Qt::Horizontal, parent);
  slider->setRange(MinJpegQuality, MaxJpegQuality);
  slider->setPageStep(10);
  box = ReadOnlyBox(parent);
  QObject::connect(slider, &QSlider::valueChanged, box, [box](int v) { box->setText(QString::number(v)); });
  auto* row = new QHBoxLayout;
  row->addWidget(new QLabel("Low", parent));
  row->addWidget(slider, 1);
  row->addWidget(new QLabel("High", parent));
  row->addWidget(box);
  return row;
}

// The quality a read-only box shows, within the export's range.
int QualityIn(const QLineEdit* box) { return std::clamp(box->text().toInt(), MinJpegQuality, MaxJpegQuality); }

QPushButton* ToggleButton(QWidget* parent) {
  auto* b = new QPushButton("Advanced  >>", parent);
  b->setMinimumWidth(b->fontMetrics().horizontalAdvance("Advanced  >>") + 24);
  return b;
}

QGroupBox* PresetGroup(const std::array<TPreset, 3>& presets, QButtonGroup*& group, QWidget* parent) {
  auto* box = new QGroupBox(" Simple Options ", parent);
  auto* layout = new QVBoxLayout(box);
  group = new QButtonGroup(box);
  for (int i = 0; i < static_cast<int>(presets.size()); ++i) {
    auto* radio = new QRadioButton(presets[i].Text, box);
    group->addButton(radio, i);
    layout->addWidget(radio);
  }
  group->button(StartPreset)->setChecked(true);
  return box;
}

// The options of a page: its simple and advanced groups (one shown at a time) and
// the button that switches between them.
QWidget* OptionsPage(QGroupBox* simple, QGroupBox* advanced, QPushButton* toggle) {
  auto* page = new QWidget;
  simple->setParent(page);
  advanced->setParent(page);
  toggle->setParent(page);
  auto* column = new QVBoxLayout;
  column->addWidget(toggle);
  column->addStretch();
  // The groups keep a reading width; a wide window leaves the room on the right.
  simple->setMinimumWidth(360);
  advanced->setMinimumWidth(360);
  simple->setMaximumWidth(480);
  advanced->setMaximumWidth(480);
  // Both as tall as the taller, so switching never changes the page's height.
  const int tall = std::max(simple->sizeHint().height(), advanced->sizeHint().height());
  simple->setMinimumHeight(tall);
  advanced->setMinimumHeight(tall);
  auto* layout = new QHBoxLayout(page);
  layout->addWidget(simple, 1);
  layout->addWidget(advanced, 1);
  layout->addLayout(column);
  layout->addStretch(0);
  advanced->hide();
  return page;
}

}  // namespace

TExportPage::TExportPage(QWidget* parent) : QWidget(parent) {
  FormatTabs = new QTabWidget(this);
  FormatTabs->addTab(MakeGifPage(), " GIF");
  FormatTabs->addTab(MakeJpegPage(), "JPEG");
  FormatTabs->addTab(MakeNoOptionsPage("Just press \"Export\" button"), "Bitmap");
  FormatTabs->addTab(MakeNoOptionsPage(QString("Just press \"Export\" button\n\n") + AlphaNote), "PNG");
  FormatTabs->addTab(MakeWebpPage(), "WebP");

  auto* layout = new QHBoxLayout(this);
  layout->addWidget(FormatTabs, 1);
  layout->addLayout(MakeSideColumn());
}

// What every sub-page shares: the preview, the size, the further pictures, the export.
QLayout* TExportPage::MakeSideColumn() {
  BrowserPreviewCheck = new QCheckBox(" Browser Preview", this);
  BrowserPreviewCheck->setChecked(true);

  auto* dimensions = new QGroupBox(" Image Dimensions ", this);
  ImageWidthBox = ReadOnlyBox(dimensions);
  ImageHeightBox = ReadOnlyBox(dimensions);
  auto* dimForm = new QFormLayout(dimensions);
  dimForm->addRow("Width", ImageWidthBox);
  dimForm->addRow("Height", ImageHeightBox);

  HighDensityList = new QComboBox(this);
  for (const char* entry : ScaleEntries) HighDensityList->addItem(entry);
  HighDensityList->setCurrentIndex(0);
  StatesCheck = new QCheckBox(" Hover and pressed states", this);

  ExportButton = new TInitialButton('E', "xport 3D Button", this);
  ExportButton->setMinimumHeight(32);
  connect(ExportButton, &QToolButton::clicked, this, &TExportPage::ExportRequested);

  auto* side = new QVBoxLayout;
  side->addWidget(BrowserPreviewCheck);
  side->addWidget(dimensions);
  auto* density = new QHBoxLayout;
  density->addWidget(new QLabel("High density", this));
  density->addWidget(HighDensityList, 1);
  side->addLayout(density);
  side->addWidget(StatesCheck);
  side->addStretch();
  side->addWidget(ExportButton);
  return side;
}

QWidget* TExportPage::MakeGifPage() {
  GifSimple = PresetGroup(GifPresets, GifPresetGroup, this);
  connect(GifPresetGroup, &QButtonGroup::idClicked, this, &TExportPage::GifPresetClick);

  GifAdvanced = new QGroupBox(" Advanced Options ", this);
  ColorsList = new QComboBox(GifAdvanced);
  for (const char* c : ColorEntries) ColorsList->addItem(c);
  DitheringList = new QComboBox(GifAdvanced);
  for (const TDitherMethodInfo& d : DitherMethods()) DitheringList->addItem(d.exportEntry);
  PaletteList = new QComboBox(GifAdvanced);
  for (const TPaletteKindInfo& p : PaletteKinds()) PaletteList->addItem(p.exportEntry);
  GifCompressionList = new QComboBox(GifAdvanced);
  for (const TGifCompressionEntry& c : GifCompressionEntries) GifCompressionList->addItem(c.Text);
  TransparencyCheck = new QCheckBox("Transparency", GifAdvanced);
  auto* form = new QFormLayout(GifAdvanced);
  form->addRow("Colors", ColorsList);
  form->addRow("Dithering", DitheringList);
  form->addRow("Palette", PaletteList);
  form->addRow("Compression", GifCompressionList);
  form->addRow(TransparencyCheck);
  connect(PaletteList, &QComboBox::currentIndexChanged, this, &TExportPage::PaletteChange);

  // Start values: 256 colours, no dithering, the optimized palette, LZW, transparency.
  ColorsList->setCurrentIndex(static_cast<int>(ColorEntries.size()) - 1);
  DitheringList->setCurrentIndex(0);
  PaletteList->setCurrentIndex(0);
  GifCompressionList->setCurrentIndex(0);
  TransparencyCheck->setChecked(true);

  GifToggle = ToggleButton(this);
  GifToggle->setObjectName("gifToggle");
  connect(GifToggle, &QPushButton::clicked, this, [this] { Toggle(GifSimple, GifAdvanced, GifToggle); });
  return OptionsPage(GifSimple, GifAdvanced, GifToggle);
}

QWidget* TExportPage::MakeJpegPage() {
  JpegSimple = PresetGroup(JpegPresets, JpegPresetGroup, this);
  connect(JpegPresetGroup, &QButtonGroup::idClicked, this, &TExportPage::JpegPresetClick);

  JpegAdvanced = new QGroupBox(" Advanced Options ", this);
  auto* layout = new QVBoxLayout(JpegAdvanced);
  layout->addWidget(new QLabel("Image Quality ", JpegAdvanced));
  layout->addLayout(QualityRow(JpegQualitySlider, JpegQualityBox, JpegAdvanced));
  layout->addStretch();
  JpegQualitySlider->setValue(JpegPresets[StartPreset].Value);
  JpegQualityBox->setText(QString::number(JpegQualitySlider->value()));

  JpegToggle = ToggleButton(this);
  JpegToggle->setObjectName("jpegToggle");
  connect(JpegToggle, &QPushButton::clicked, this, [this] { Toggle(JpegSimple, JpegAdvanced, JpegToggle); });
  return OptionsPage(JpegSimple, JpegAdvanced, JpegToggle);
}

QWidget* TExportPage::MakeWebpPage() {
  auto* page = new QWidget;
  auto* options = new QGroupBox(" Options ", page);
  LosslessCheck = new QCheckBox(" Lossless", options);
  LosslessCheck->setChecked(true);
  // The quality is a lossy picture's only: greyed while " Lossless" is checked.
  auto* quality = new QWidget(options);
  auto* qualityLayout = new QVBoxLayout(quality);
  qualityLayout->setContentsMargins(0, 0, 0, 0);
  qualityLayout->addWidget(new QLabel("Image Quality ", quality));
  qualityLayout->addLayout(QualityRow(WebpQualitySlider, WebpQualityBox, quality));
  WebpQualitySlider->setValue(JpegPresets[StartPreset].Value);
  WebpQualityBox->setText(QString::number(WebpQualitySlider->value()));
  quality->setEnabled(false);
  connect(LosslessCheck, &QCheckBox::toggled, quality, [quality](bool lossless) { quality->setEnabled(!lossless); });
  auto* layout = new QVBoxLayout(options);
  layout->addWidget(LosslessCheck);
  layout->addWidget(quality);
  layout->addStretch();
  options->setMinimumWidth(360);

  // The note under the options, so the page is no wider than the GIF page.
  auto* column = new QVBoxLayout(page);
  column->addWidget(options, 0, Qt::AlignLeft);
  column->addWidget(new QLabel(AlphaNote, page));
  column->addStretch();
  return page;
}

QWidget* TExportPage::MakeNoOptionsPage(const QString& note) {
  auto* page = new QWidget;
  auto* label = new QLabel(note, page);
  label->setAlignment(Qt::AlignCenter);
  auto* layout = new QVBoxLayout(page);
  layout->addWidget(label);
  return page;
}

void TExportPage::Toggle(QGroupBox* simple, QGroupBox* advanced, QPushButton* button) {
  const bool toAdvanced = simple->isVisibleTo(simple->parentWidget());
  simple->setVisible(!toAdvanced);
  advanced->setVisible(toAdvanced);
  button->setText(toAdvanced ? "Simple  <<" : "Advanced  >>");
}

void TExportPage::GifPresetClick(int index) {
  if (index < 0 || index >= static_cast<int>(GifPresets.size())) return;
  DitheringList->setCurrentIndex(0);
  PaletteList->setCurrentIndex(0);
  ColorsList->setCurrentIndex(GifPresets[index].Value);
}

void TExportPage::JpegPresetClick(int index) {
  if (index < 0 || index >= static_cast<int>(JpegPresets.size())) return;
  JpegQualitySlider->setValue(JpegPresets[index].Value);
  JpegQualityBox->setText(QString::number(JpegPresets[index].Value));
}

// The colour count is the palette's size only for " Optimized".
void TExportPage::PaletteChange(int index) {
  ColorsList->setEnabled(index >= 0 && PaletteKinds()[static_cast<size_t>(index)].kind == TPaletteKind::Optimized);
}

TExportFormat TExportPage::Format() const {
  switch (FormatTabs->currentIndex()) {
    case 0: return TExportFormat::Gif;
    case 1: return TExportFormat::Jpeg;
    case 3: return TExportFormat::Png;
    case 4: return TExportFormat::WebP;
    default: return TExportFormat::Bmp;
  }
}

TExportOptions TExportPage::Options() const { return OptionsFor(Format()); }

TExportOptions TExportPage::OptionsFor(TExportFormat format) const {
  TExportOptions o;
  o.Format = format;
  o.ColorBits = ColorsList->currentIndex() + 3;
  o.PaletteKind = PaletteKinds()[static_cast<size_t>(std::max(0, PaletteList->currentIndex()))].kind;
  o.Dithering = DitherMethods()[static_cast<size_t>(std::max(0, DitheringList->currentIndex()))].method;
  o.Transparency = TransparencyCheck->isChecked();
  const int compression = std::max(0, GifCompressionList->currentIndex());
  o.GifCompression = GifCompressionEntries[static_cast<size_t>(compression)].Compression;
  // One quality field serves JPEG and lossy WebP: the format says whose slider counts.
  o.WebpLossy = !LosslessCheck->isChecked();
  o.JpegQuality = QualityIn(o.Format == TExportFormat::WebP ? WebpQualityBox : JpegQualityBox);
  o.Scale = std::max(0, HighDensityList->currentIndex()) + 1;
  o.States = StatesCheck->isChecked();
  o.BrowserPreview = BrowserPreviewCheck->isChecked();
  o.Diffusion = DitheringList->currentText().toStdString();
  o.NumberOfColors = ColorsList->currentText().toStdString();
  return o;
}

void TExportPage::SetDimensions(int width, int height) {
  ImageWidthBox->setText(" " + QString::number(width));
  ImageHeightBox->setText(" " + QString::number(height));
}

void TExportPage::showEvent(QShowEvent* event) {
  if (DimensionsSource) {
    const QSize size = DimensionsSource();
    SetDimensions(size.width(), size.height());
  }
  QWidget::showEvent(event);
}

}  // namespace qz
