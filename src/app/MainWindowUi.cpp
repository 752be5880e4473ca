// The widgets of the main window: preview, progress bar, the ten tabs with their
// steps and controls, status bar and menus. Ranges come from the control table.
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QSlider>
#include <QSpinBox>
#include <QStatusBar>
#include <QTabWidget>
#include <QVBoxLayout>

#include "app/ExportPage.h"
#include "app/InitialButton.h"
#include "app/MainWindow.h"
#include "app/MessageEdit.h"
#include "app/PreviewPanel.h"

namespace qz {

namespace {

QLabel* StepLabel(const QString& text, QWidget* parent) {
  auto* l = new QLabel(text, parent);
  QFont f = l->font();
  f.setBold(true);
  l->setFont(f);
  return l;
}

// A page of a tab: steps stacked from the top, the rest of the height left empty.
QVBoxLayout* PageLayout(QWidget* page) {
  auto* v = new QVBoxLayout(page);
  v->setContentsMargins(12, 10, 12, 8);
  v->setSpacing(6);
  return v;
}

QHBoxLayout* Row(QVBoxLayout* page, int indent = 16) {
  auto* h = new QHBoxLayout;
  h->setContentsMargins(indent, 0, 0, 0);
  h->setSpacing(8);
  page->addLayout(h);
  return h;
}

}  // namespace

void TForm1::Register(TControl id, QWidget* w) {
  controls_[static_cast<size_t>(id)] = w;
  w->setObjectName(Spec(id).Name);
}

QSlider* TForm1::MakeSlider(TControl id, QWidget* parent) {
  const TControlSpec& s = Spec(id);
  auto* slider = new QSlider(Qt::Horizontal, parent);
  slider->setRange(s.Min, s.Max);
  slider->setTickPosition(QSlider::TicksBelow);
  slider->setTickInterval((s.Max - s.Min) / 20 > 0 ? (s.Max - s.Min) / 20 : 1);
  slider->setPageStep(std::max(1, (s.Max - s.Min) / 10));
  slider->setMinimumWidth(320);
  Register(id, slider);
  return slider;
}

QSpinBox* TForm1::MakeSpinner(TControl id, QWidget* parent) {
  const TControlSpec& s = Spec(id);
  auto* spin = new QSpinBox(parent);
  spin->setRange(s.Min, s.Max);
  spin->setMinimumWidth(64);
  // Typed entry is off: the arrows (and the keys) step the value.
  spin->findChild<QLineEdit*>()->setReadOnly(true);
  Register(id, spin);
  return spin;
}

QCheckBox* TForm1::MakeCheck(TControl id, const QString& caption, QWidget* parent) {
  auto* check = new QCheckBox(caption, parent);
  Register(id, check);
  return check;
}

QAbstractButton* TForm1::MakeCommand(TControl id, QChar initial, const QString& caption,
                                     const QString& hint, QWidget* parent) {
  auto* b = new TInitialButton(initial, caption, parent);
  if (!hint.isEmpty()) b->setToolTip(hint);
  Register(id, b);
  return b;
}

void TForm1::CreateUi() {
  setWindowTitle("Quenzar");
  setWindowIcon(QIcon(LightMarkerPicture()));
  auto* central = new QWidget(this);
  auto* v = new QVBoxLayout(central);
  v->setContentsMargins(4, 4, 4, 0);
  v->setSpacing(2);

  preview_ = new TPreviewPanel(central);
  preview_->setObjectName("Panel1");
  v->addWidget(preview_, 1);
  Register(TControl::LightMarker, preview_->Marker());

  progressBar_ = new QProgressBar(central);
  progressBar_->setObjectName("ProgressBar1");
  progressBar_->setRange(0, 100);
  progressBar_->setTextVisible(false);
  progressBar_->setFixedHeight(8);
  v->addWidget(progressBar_);

  tabs_ = new QTabWidget(central);
  tabs_->setObjectName("PageControl1");
  tabs_->addTab(CreateCaptionTab(), TabCaption(TTab::Caption));
  tabs_->addTab(CreateBackgroundTab(), TabCaption(TTab::Background));
  tabs_->addTab(CreateColorTab(true), TabCaption(TTab::CaptionColor));
  tabs_->addTab(CreateColorTab(false), TabCaption(TTab::ButtonColor));
  tabs_->addTab(CreateCaptionTuneupTab(), TabCaption(TTab::CaptionTuneup));
  tabs_->addTab(CreateButtonTuneupTab(), TabCaption(TTab::ButtonTuneup));
  tabs_->addTab(CreateLightTab(), TabCaption(TTab::LightSource));
  tabs_->addTab(CreateLinkTab(), TabCaption(TTab::Link));
  tabs_->addTab(CreateDimensionsTab(), TabCaption(TTab::Dimensions));
  tabs_->addTab(CreateExportTab(), TabCaption(TTab::Export));
  tabs_->setFixedHeight(250);
  v->addWidget(tabs_);
  setCentralWidget(central);

  // Status bar: vertices, faces, memory (centred), then the progress text.
  static constexpr int Widths[4] = {64, 64, 64, 256};
  for (int i = 0; i < 4; ++i) {
    auto* panel = new QLabel(this);
    panel->setFixedWidth(Widths[i]);
    panel->setFrameShape(QFrame::Panel);
    panel->setFrameShadow(QFrame::Sunken);
    if (i < 3) panel->setAlignment(Qt::AlignCenter);
    statusBar()->addWidget(panel);
    statusPanels_[i] = panel;
  }
  statusBar()->setSizeGripEnabled(true);
  CreateMenus();
}

void TForm1::CreateMenus() {
  QMenu* file = menuBar()->addMenu("&File");
  file->addAction("&New", this, &TForm1::NewClick);
  file->addAction("New from &template ...", this, &TForm1::NewFromTemplateClick);
  file->addAction("&Open ...", this, &TForm1::OpenClick);
  file->addAction("&Save ...", QKeySequence("Ctrl+S"), this, &TForm1::SaveClick);
  file->addSeparator();
  file->addAction("E&xit", this, &QWidget::close);

  QMenu* settings = menuBar()->addMenu("&Settings");
  settings->addAction("&Advanced Options ...", this, &TForm1::AdvancedOptionsClick);
  QMenu* view = settings->addMenu("&View");
  statusBarAction_ = view->addAction("Status Bar");
  statusBarAction_->setCheckable(true);
  statusBarAction_->setChecked(true);
  connect(statusBarAction_, &QAction::toggled, statusBar(), &QWidget::setVisible);
  progressBarAction_ = view->addAction("&Progress Bar");
  progressBarAction_->setCheckable(true);
  progressBarAction_->setChecked(true);
  connect(progressBarAction_, &QAction::toggled, progressBar_, &QWidget::setVisible);

  QMenu* help = menuBar()->addMenu("&Help");
  help->addAction("Hel&p ...", this, &TForm1::HelpClick);
  help->addAction("&About Quenzar", this, &TForm1::AboutClick);
}

QWidget* TForm1::CreateCaptionTab() {
  auto* page = new QWidget;
  QVBoxLayout* v = PageLayout(page);
  v->addWidget(StepLabel("A. Type in the message you want the button to show:", page));
  messageEdit_ = new TMessageEdit(page);
  messageEdit_->setToolTip("Text on the button");
  messageEdit_->setFixedHeight(52);
  Register(TControl::MessageEdit, messageEdit_);
  Row(v)->addWidget(messageEdit_);
  v->addSpacing(6);
  v->addWidget(StepLabel("B. You can also choose a font for the message:", page));
  QHBoxLayout* r = Row(v);
  r->addWidget(MakeCommand(TControl::FontSelection, 'F', "ont Selection",
                           "Font selection for the Button Text", page));
  r->addWidget(MakeCommand(TControl::AdvancedText, 'A', "dvanced", "Advanced Text Settings", page));
  r->addStretch();
  v->addStretch();
  return page;
}

QWidget* TForm1::CreateBackgroundTab() {
  auto* page = new QWidget;
  QVBoxLayout* v = PageLayout(page);
  auto* step = StepLabel(
      "C. Click the button to change the background color according to your Web Page settings.", page);
  step->setWordWrap(true);
  v->addWidget(step);
  QHBoxLayout* r = Row(v);
  r->addWidget(MakeCommand(TControl::BkgColorSelection, 'C', "olor Selection",
                           "Background color selection", page));
  r->addStretch();
  QHBoxLayout* hex = Row(v);
  hexBox_ = new QLineEdit(page);
  hexBox_->setMaxLength(Spec(TControl::BkgHexBox).Max);
  hexBox_->setFixedWidth(90);
  Register(TControl::BkgHexBox, hexBox_);
  hex->addWidget(hexBox_);
  hex->addWidget(MakeCommand(TControl::BkgSetHex, 'S', "et Hex (RGB)", "", page));
  hex->addStretch();
  v->addStretch();
  return page;
}

QWidget* TForm1::CreateColorTab(bool text) {
  auto* page = new QWidget;
  QVBoxLayout* v = PageLayout(page);
  v->addWidget(StepLabel(text ? "D. Choose a color or a texture image for the message."
                              : "E. Choose a color or a texture image to fill in the button's basement.",
                         page));
  QHBoxLayout* r = Row(v);
  r->addWidget(MakeCommand(text ? TControl::TextColorSelection : TControl::ButtonColorSelection, 'C',
                           "olor Selection", text ? "Text color selection" : "Button color selection",
                           page));
  r->addWidget(MakeCommand(text ? TControl::TextTextureSelection : TControl::ButtonTextureSelection, 'T',
                           "exture Selection", "Select Texture", page));
  r->addWidget(MakeCommand(text ? TControl::TextClearTexture : TControl::ButtonClearTexture, 'C',
                           "lear Texture",
                           text ? "Clear texture and set Text to color" : "Clear texture and set Button to color",
                           page));
  r->addStretch();
  v->addSpacing(6);
  v->addWidget(StepLabel("Texture scaling (relative to button):", page));
  QHBoxLayout* s = Row(v);
  s->addWidget(new QLabel("Width", page));
  s->addWidget(MakeSpinner(text ? TControl::TextTexWidth : TControl::ButtonTexWidth, page));
  s->addSpacing(12);
  s->addWidget(new QLabel("Height", page));
  s->addWidget(MakeSpinner(text ? TControl::TextTexHeight : TControl::ButtonTexHeight, page));
  s->addSpacing(12);
  s->addWidget(MakeCheck(text ? TControl::TextConstrain : TControl::ButtonConstrain,
                         " Constrain proportions", page));
  s->addStretch();
  v->addStretch();
  return page;
}

QWidget* TForm1::CreateCaptionTuneupTab() {
  auto* page = new QWidget;
  QVBoxLayout* v = PageLayout(page);
  v->addWidget(StepLabel("F. Select the font outline complexity", page));
  auto* list = new QComboBox(page);
  list->addItems({" Simple", " Normal", " Complex"});
  list->setToolTip("Font Outline Complexity");
  list->setMinimumWidth(140);
  Register(TControl::OutlineComplexity, list);
  QHBoxLayout* r = Row(v);
  r->addWidget(list);
  r->addStretch();
  v->addWidget(StepLabel("G. Set the text extrusion level", page));
  QHBoxLayout* g = Row(v);
  g->addWidget(MakeSlider(TControl::TextExtrusion, page));
  g->addStretch();
  v->addWidget(StepLabel("H. Set the text altitude above the button", page));
  QHBoxLayout* h = Row(v);
  h->addWidget(MakeSlider(TControl::TextAltitude, page));
  QCheckBox* shadow = MakeCheck(TControl::TextDropShadow, " Drop shadow", page);
  shadow->setChecked(true);
  h->addWidget(shadow);
  h->addStretch();
  v->addStretch();
  return page;
}

QWidget* TForm1::CreateButtonTuneupTab() {
  auto* page = new QWidget;
  auto* grid = new QGridLayout(page);
  grid->setContentsMargins(12, 10, 12, 8);
  grid->setVerticalSpacing(6);
  grid->setHorizontalSpacing(24);
  grid->addWidget(StepLabel("I. Choose a button shape from the list", page), 0, 0);
  auto* shapeRow = new QHBoxLayout;
  shapeRow->setContentsMargins(16, 0, 0, 0);
  shapeRow->addWidget(
      MakeCommand(TControl::ShapeSelection, 'S', "elect Button Shape", "Select button shape", page));
  shapeRow->addStretch();
  grid->addLayout(shapeRow, 1, 0);
  grid->addWidget(StepLabel("J. Set the button extrusion level", page), 2, 0);
  auto* j = new QHBoxLayout;
  j->setContentsMargins(16, 0, 0, 0);
  j->addWidget(MakeSlider(TControl::ButtonExtrusion, page));
  grid->addLayout(j, 3, 0);
  grid->addWidget(StepLabel("K. Set the button altitude above the background", page), 4, 0);
  auto* k = new QHBoxLayout;
  k->setContentsMargins(16, 0, 0, 0);
  k->addWidget(MakeSlider(TControl::ButtonAltitude, page));
  QCheckBox* shadow = MakeCheck(TControl::ButtonDropShadow, " Drop shadow", page);
  shadow->setChecked(true);
  k->addWidget(shadow);
  grid->addLayout(k, 5, 0);
  auto* checks = new QVBoxLayout;
  checks->addWidget(MakeCheck(TControl::HoldButtonSize, " Hold button size (create similar buttons) ", page));
  checks->addWidget(MakeCheck(TControl::HideButton, " Hide button to make a heading", page));
  checks->addStretch();
  grid->addLayout(checks, 1, 1, 5, 1);
  grid->setColumnStretch(2, 1);
  grid->setRowStretch(6, 1);
  return page;
}

QWidget* TForm1::CreateLightTab() {
  auto* page = new QWidget;
  QVBoxLayout* v = PageLayout(page);
  auto* step = new QHBoxLayout;
  step->setSpacing(4);
  step->addWidget(StepLabel("L. You can chage the light source position by dragging this marker ", page));
  auto* marker = new QLabel(page);
  marker->setPixmap(LightMarkerPicture());
  step->addWidget(marker);
  step->addWidget(StepLabel("within the upper frame", page));
  step->addStretch();
  v->addLayout(step);
  QHBoxLayout* r = Row(v);
  r->addWidget(MakeCommand(TControl::LightColorSelection, 'C', "olor Selection",
                           "Light source color selection", page));
  r->addStretch();
  v->addSpacing(6);
  v->addWidget(StepLabel("Brightness", page));
  QHBoxLayout* b = Row(v);
  b->addWidget(MakeSlider(TControl::Brightness, page));
  b->addStretch();
  v->addStretch();
  return page;
}

QWidget* TForm1::CreateLinkTab() {
  auto* page = new QWidget;
  QVBoxLayout* v = PageLayout(page);
  v->addWidget(StepLabel("M. Enter an URL your button will be linked to", page));
  linkEdit_ = new QLineEdit(page);
  linkEdit_->setMinimumWidth(420);
  Register(TControl::LinkAddress, linkEdit_);
  QHBoxLayout* r = Row(v);
  r->addWidget(linkEdit_);
  r->addStretch();
  v->addStretch();
  return page;
}

QWidget* TForm1::CreateDimensionsTab() {
  auto* page = new QWidget;
  auto* grid = new QGridLayout(page);
  grid->setContentsMargins(12, 10, 12, 8);
  grid->setHorizontalSpacing(10);
  grid->addWidget(StepLabel("N. Use rulers to set button dimensions", page), 0, 0, 1, 4);

  // Height ruler: the position is -height and its top end is the largest height.
  heightRuler_ = new QSlider(Qt::Vertical, page);
  heightRuler_->setRange(HeightRulerMin, HeightRulerMax);
  heightRuler_->setInvertedAppearance(true);
  heightRuler_->setPageStep(5);
  heightRuler_->setTickInterval(10);
  heightRuler_->setTickPosition(QSlider::TicksLeft);
  Register(TControl::HeightRuler, heightRuler_);
  auto* hr = new QVBoxLayout;
  hr->addWidget(new QLabel("Max", page), 0, Qt::AlignHCenter);
  hr->addWidget(heightRuler_, 1, Qt::AlignHCenter);
  hr->addWidget(new QLabel("Min", page), 0, Qt::AlignHCenter);
  grid->addLayout(hr, 1, 0, 3, 1);

  widthRuler_ = new QSlider(Qt::Horizontal, page);
  widthRuler_->setRange(WidthRulerMin, WidthRulerMax);
  widthRuler_->setPageStep(5);
  widthRuler_->setTickInterval(5);
  widthRuler_->setTickPosition(QSlider::TicksAbove);
  widthRuler_->setMinimumWidth(300);
  Register(TControl::WidthRuler, widthRuler_);
  auto* wr = new QHBoxLayout;
  wr->addWidget(new QLabel("Min", page));
  wr->addWidget(widthRuler_, 1);
  wr->addWidget(new QLabel("Max", page));
  grid->addLayout(wr, 1, 1);

  auto* boxes = new QHBoxLayout;
  boxes->setSpacing(6);
  widthEdit_ = new QLineEdit(page);
  heightEdit_ = new QLineEdit(page);
  widthEdit_->setFixedWidth(64);
  heightEdit_->setFixedWidth(64);
  Register(TControl::DimWidthEdit, widthEdit_);
  Register(TControl::DimHeightEdit, heightEdit_);
  dimConstrain_ = MakeCheck(TControl::DimConstrain, " Constrain proportions", page);
  dimConstrain_->setChecked(true);
  boxes->addWidget(new QLabel("Width", page));
  boxes->addWidget(widthEdit_);
  boxes->addSpacing(12);
  boxes->addWidget(new QLabel("Height", page));
  boxes->addWidget(heightEdit_);
  boxes->addSpacing(12);
  boxes->addWidget(dimConstrain_);
  boxes->addStretch();
  grid->addLayout(boxes, 2, 1);

  dimFrame_ = new QFrame(page);
  dimFrame_->setFrameShape(QFrame::Panel);
  dimFrame_->setFrameShadow(QFrame::Sunken);
  dimFrame_->setAutoFillBackground(true);
  auto* frameLayout = new QVBoxLayout(dimFrame_);
  frameLayout->setContentsMargins(2, 2, 2, 2);
  dimPicture_ = new QLabel(dimFrame_);
  dimPicture_->setObjectName("Image3");
  dimPicture_->setAlignment(Qt::AlignCenter);
  // A picture larger than the frame is cut, never grows the window.
  dimPicture_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Ignored);
  frameLayout->addWidget(dimPicture_);
  grid->addWidget(dimFrame_, 0, 2, 4, 1);
  grid->setColumnStretch(2, 1);
  grid->setColumnMinimumWidth(2, 300);
  grid->setRowStretch(3, 1);
  return page;
}

QWidget* TForm1::CreateExportTab() {
  exportPage_ = new TExportPage;
  exportPage_->setObjectName("TabSheet10");
  exportPage_->ExportButton->setObjectName("SpeedButton13");
  // The " Image Dimensions " boxes show the export size whenever the page is shown.
  exportPage_->DimensionsSource = [this] { return QSize(Dim.Width, Dim.Height); };
  connect(exportPage_, &TExportPage::ExportRequested, this, &TForm1::ExportClick);
  return exportPage_;
}

}  // namespace qz
