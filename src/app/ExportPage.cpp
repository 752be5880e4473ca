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

QLineEdit* ReadOnlyBox(QWidget* parent) {
  auto* e = new QLineEdit(parent);
  e->setReadOnly(true);
  e->setMaximumWidth(64);
  return e;
}

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
  PageControl2->addTab(
      MakeNoOptionsPage("Just press \"Export\" button\n\n"
                        "The button keeps its soft edges on any page background:\n"
                        "the colours with the button's outline as transparency."),
      "PNG");

  chBrowserPreview = new QCheckBox(" Browser Preview", this);
  chBrowserPreview->setChecked(true);

  auto* dimensions = new QGroupBox(" Image Dimensions ", this);
  edDimWidth = ReadOnlyBox(dimensions);
  edDimHeight = ReadOnlyBox(dimensions);
  auto* dimForm = new QFormLayout(dimensions);
  dimForm->addRow("Width", edDimWidth);
  dimForm->addRow("Height", edDimHeight);

  ExportButton = new TInitialButton('E', "xport 3D Button", this);
  ExportButton->setMinimumHeight(32);
  connect(ExportButton, &QToolButton::clicked, this, &TExportPage::ExportRequested);

  auto* side = new QVBoxLayout;
  side->addWidget(chBrowserPreview);
  side->addWidget(dimensions);
  side->addStretch();
  side->addWidget(ExportButton);
  auto* layout = new QHBoxLayout(this);
  layout->addWidget(PageControl2, 1);
  layout->addLayout(side);
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
  chTransparency = new QCheckBox("Transparency", GifAdvanced);
  auto* form = new QFormLayout(GifAdvanced);
  form->addRow("Colors", cbColors);
  form->addRow("Dithering", cbDithering);
  form->addRow("Palette", cbPalette);
  form->addRow(chTransparency);
  connect(cbPalette, &QComboBox::currentIndexChanged, this, &TExportPage::PaletteChange);

  // Start values: 256 colours, no dithering, the optimized palette, transparency.
  cbColors->setCurrentIndex(static_cast<int>(ColorEntries.size()) - 1);
  cbDithering->setCurrentIndex(0);
  cbPalette->setCurrentIndex(0);
  chTransparency->setChecked(true);

  GifToggle = ToggleButton(this);
  GifToggle->setObjectName("GifToggle");
  connect(GifToggle, &QPushButton::clicked, this, [this] { Toggle(GifSimple, GifAdvanced, GifToggle); });
  return OptionsPage(GifSimple, GifAdvanced, GifToggle);
}

QWidget* TExportPage::MakeJpegPage() {
  JpegSimple = PresetGroup(JpegPresets, JpegPresetGroup, this);
  connect(JpegPresetGroup, &QButtonGroup::idClicked, this, &TExportPage::JpegPresetClick);

  JpegAdvanced = new QGroupBox(" Advanced Options ", this);
  tbQuality = new QSlider(Qt::Horizontal, JpegAdvanced);
  tbQuality->setRange(1, 100);
  tbQuality->setPageStep(10);
  edQuality = ReadOnlyBox(JpegAdvanced);
  auto* scale = new QHBoxLayout;
  scale->addWidget(new QLabel("Low", JpegAdvanced));
  scale->addWidget(tbQuality, 1);
  scale->addWidget(new QLabel("High", JpegAdvanced));
  scale->addWidget(edQuality);
  auto* layout = new QVBoxLayout(JpegAdvanced);
  layout->addWidget(new QLabel("Image Quality ", JpegAdvanced));
  layout->addLayout(scale);
  layout->addStretch();
  connect(tbQuality, &QSlider::valueChanged, this,
          [this](int v) { edQuality->setText(QString::number(v)); });
  tbQuality->setValue(JpegPresets[StartPreset].Value);
  edQuality->setText(QString::number(tbQuality->value()));

  JpegToggle = ToggleButton(this);
  JpegToggle->setObjectName("JpegToggle");
  connect(JpegToggle, &QPushButton::clicked, this, [this] { Toggle(JpegSimple, JpegAdvanced, JpegToggle); });
  return OptionsPage(JpegSimple, JpegAdvanced, JpegToggle);
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
    default: return TExportFormat::Bmp;
  }
}

TExportOptions TExportPage::Options() const {
  TExportOptions o;
  o.Format = Format();
  o.ColorBits = cbColors->currentIndex() + 3;
  o.PaletteKind = PaletteKinds()[static_cast<size_t>(std::max(0, cbPalette->currentIndex()))].kind;
  o.Dithering = DitherMethods()[static_cast<size_t>(std::max(0, cbDithering->currentIndex()))].method;
  o.Transparency = chTransparency->isChecked();
  o.JpegQuality = std::clamp(edQuality->text().toInt(), 1, 100);
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
