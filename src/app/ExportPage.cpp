#include "app/ExportPage.h"

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

#include "app/InitialButton.h"

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
  PageControl2 = new QTabWidget(this);
  PageControl2->addTab(MakeGifPage(), " GIF");
  PageControl2->addTab(MakeJpegPage(), "JPEG");
  PageControl2->addTab(MakeNoOptionsPage("Just press \"Export\" button"), "Bitmap");
  PageControl2->addTab(MakeNoOptionsPage(QString("Just press \"Export\" button\n\n") + AlphaNote), "PNG");
  PageControl2->addTab(MakeWebpPage(), "WebP");

  auto* layout = new QHBoxLayout(this);
  layout->addWidget(PageControl2, 1);
  layout->addLayout(MakeSideColumn());
}

// What every sub-page shares: the preview, the size, the further pictures, the export.
QLayout* TExportPage::MakeSideColumn() {
  chBrowserPreview = new QCheckBox(" Browser Preview", this);
  chBrowserPreview->setChecked(true);

  auto* dimensions = new QGroupBox(" Image Dimensions ", this);
  edDimWidth = ReadOnlyBox(dimensions);
  edDimHeight = ReadOnlyBox(dimensions);
  auto* dimForm = new QFormLayout(dimensions);
  dimForm->addRow("Width", edDimWidth);
  dimForm->addRow("Height", edDimHeight);

  cbScale = new QComboBox(this);
  for (const char* entry : ScaleEntries) cbScale->addItem(entry);
  cbScale->setCurrentIndex(0);
  chStates = new QCheckBox(" Hover and pressed states", this);

  ExportButton = new TInitialButton('E', "xport 3D Button", this);
  ExportButton->setMinimumHeight(32);
  connect(ExportButton, &QToolButton::clicked, this, &TExportPage::ExportRequested);

  auto* side = new QVBoxLayout;
  side->addWidget(chBrowserPreview);
  side->addWidget(dimensions);
  auto* density = new QHBoxLayout;
  density->addWidget(new QLabel("High density", this));
  density->addWidget(cbScale, 1);
  side->addLayout(density);
  side->addWidget(chStates);
  side->addStretch();
  side->addWidget(ExportButton);
  return side;
}

QWidget* TExportPage::MakeGifPage() {
  GifSimple = PresetGroup(GifPresets, GifPresetGroup, this);
  connect(GifPresetGroup, &QButtonGroup::idClicked, this, &TExportPage::GifPresetClick);

  GifAdvanced = new QGroupBox(" Advanced Options ", this);
  cbColors = new QComboBox(GifAdvanced);
  for (const char* c : ColorEntries) cbColors->addItem(c);
  cbDithering = new QComboBox(GifAdvanced);
  for (const TDitherMethodInfo& d : DitherMethods()) cbDithering->addItem(d.exportEntry);
  cbPalette = new QComboBox(GifAdvanced);
  for (const TPaletteKindInfo& p : PaletteKinds()) cbPalette->addItem(p.exportEntry);
  cbGifCompression = new QComboBox(GifAdvanced);
  for (const TGifCompressionEntry& c : GifCompressionEntries) cbGifCompression->addItem(c.Text);
  chTransparency = new QCheckBox("Transparency", GifAdvanced);
  auto* form = new QFormLayout(GifAdvanced);
  form->addRow("Colors", cbColors);
  form->addRow("Dithering", cbDithering);
  form->addRow("Palette", cbPalette);
  form->addRow("Compression", cbGifCompression);
  form->addRow(chTransparency);
  connect(cbPalette, &QComboBox::currentIndexChanged, this, &TExportPage::PaletteChange);

  // Start values: 256 colours, no dithering, the optimized palette, LZW, transparency.
  cbColors->setCurrentIndex(static_cast<int>(ColorEntries.size()) - 1);
  cbDithering->setCurrentIndex(0);
  cbPalette->setCurrentIndex(0);
  cbGifCompression->setCurrentIndex(0);
  chTransparency->setChecked(true);

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
  layout->addLayout(QualityRow(tbQuality, edQuality, JpegAdvanced));
  layout->addStretch();
  tbQuality->setValue(JpegPresets[StartPreset].Value);
  edQuality->setText(QString::number(tbQuality->value()));

  JpegToggle = ToggleButton(this);
  JpegToggle->setObjectName("jpegToggle");
  connect(JpegToggle, &QPushButton::clicked, this, [this] { Toggle(JpegSimple, JpegAdvanced, JpegToggle); });
  return OptionsPage(JpegSimple, JpegAdvanced, JpegToggle);
}

QWidget* TExportPage::MakeWebpPage() {
  auto* page = new QWidget;
  auto* options = new QGroupBox(" Options ", page);
  chLossless = new QCheckBox(" Lossless", options);
  chLossless->setChecked(true);
  // The quality is a lossy picture's only: greyed while " Lossless" is checked.
  auto* quality = new QWidget(options);
  auto* qualityLayout = new QVBoxLayout(quality);
  qualityLayout->setContentsMargins(0, 0, 0, 0);
  qualityLayout->addWidget(new QLabel("Image Quality ", quality));
  qualityLayout->addLayout(QualityRow(tbWebpQuality, edWebpQuality, quality));
  tbWebpQuality->setValue(JpegPresets[StartPreset].Value);
  edWebpQuality->setText(QString::number(tbWebpQuality->value()));
  quality->setEnabled(false);
  connect(chLossless, &QCheckBox::toggled, quality, [quality](bool lossless) { quality->setEnabled(!lossless); });
  auto* layout = new QVBoxLayout(options);
  layout->addWidget(chLossless);
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
  cbDithering->setCurrentIndex(0);
  cbPalette->setCurrentIndex(0);
  cbColors->setCurrentIndex(GifPresets[index].Value);
}

void TExportPage::JpegPresetClick(int index) {
  if (index < 0 || index >= static_cast<int>(JpegPresets.size())) return;
  tbQuality->setValue(JpegPresets[index].Value);
  edQuality->setText(QString::number(JpegPresets[index].Value));
}

// The colour count is the palette's size only for " Optimized".
void TExportPage::PaletteChange(int index) {
  cbColors->setEnabled(index >= 0 && PaletteKinds()[static_cast<size_t>(index)].kind == TPaletteKind::Optimized);
}

TExportFormat TExportPage::Format() const {
  switch (PageControl2->currentIndex()) {
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
  o.ColorBits = cbColors->currentIndex() + 3;
  o.PaletteKind = PaletteKinds()[static_cast<size_t>(std::max(0, cbPalette->currentIndex()))].kind;
  o.Dithering = DitherMethods()[static_cast<size_t>(std::max(0, cbDithering->currentIndex()))].method;
  o.Transparency = chTransparency->isChecked();
  o.GifCompression = GifCompressionEntries[static_cast<size_t>(std::max(0, cbGifCompression->currentIndex()))].Compression;
  // One quality field serves JPEG and lossy WebP: the format says whose slider counts.
  o.WebpLossy = !chLossless->isChecked();
  o.JpegQuality = QualityIn(o.Format == TExportFormat::WebP ? edWebpQuality : edQuality);
  o.Scale = std::max(0, cbScale->currentIndex()) + 1;
  o.States = chStates->isChecked();
  o.BrowserPreview = chBrowserPreview->isChecked();
  o.Diffusion = cbDithering->currentText().toStdString();
  o.NumberOfColors = cbColors->currentText().toStdString();
  return o;
}

void TExportPage::SetDimensions(int width, int height) {
  edDimWidth->setText(" " + QString::number(width));
  edDimHeight->setText(" " + QString::number(height));
}

void TExportPage::showEvent(QShowEvent* event) {
  if (DimensionsSource) {
    const QSize size = DimensionsSource();
    SetDimensions(size.width(), size.height());
  }
  QWidget::showEvent(event);
}

}  // namespace qz
