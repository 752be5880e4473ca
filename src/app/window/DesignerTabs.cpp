// The widgets of the ten tabs, each page built from the top with its steps; ranges and
// names come from the control table.
#include "app/window/DesignerTabs.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QSlider>
#include <QSpinBox>
#include <QVBoxLayout>
#include <algorithm>

#include "app/export/ExportPage.h"
#include "app/widgets/InitialButton.h"
#include "app/widgets/MessageEdit.h"
#include "app/window/Dimensions.h"
#include "app/window/PreviewPanel.h"

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

TDesignerTabs::TDesignerTabs(QWidget* parent) : QTabWidget(parent) {
  setObjectName("designerTabs");
  addTab(CreateCaptionTab(), TabCaption(TTab::Caption));
  addTab(CreateBackgroundTab(), TabCaption(TTab::Background));
  addTab(CreateColorTab(true), TabCaption(TTab::CaptionColor));
  addTab(CreateColorTab(false), TabCaption(TTab::ButtonColor));
  addTab(CreateCaptionTuneupTab(), TabCaption(TTab::CaptionTuneup));
  addTab(CreateButtonTuneupTab(), TabCaption(TTab::ButtonTuneup));
  addTab(CreateLightTab(), TabCaption(TTab::LightSource));
  addTab(CreateLinkTab(), TabCaption(TTab::Link));
  addTab(CreateDimensionsTab(), TabCaption(TTab::Dimensions));
  addTab(CreateExportTab(), TabCaption(TTab::Export));
  // As tall as the tallest page needs in the user's font, and no less than the steps'
  // usual room.
  setFixedHeight(std::max(MinimumHeight, sizeHint().height()));
}

void TDesignerTabs::Register(TControl id, QWidget* w) {
  controls_[static_cast<size_t>(id)] = w;
  w->setObjectName(ControlRow(id).Name);
}

QSlider* TDesignerTabs::MakeSlider(TControl id, QWidget* parent) {
  const TControlRow& s = ControlRow(id);
  auto* slider = new QSlider(Qt::Horizontal, parent);
  slider->setRange(s.Min, s.Max);
  slider->setTickPosition(QSlider::TicksBelow);
  slider->setTickInterval((s.Max - s.Min) / 20 > 0 ? (s.Max - s.Min) / 20 : 1);
  slider->setPageStep(std::max(1, (s.Max - s.Min) / 10));
  slider->setMinimumWidth(320);
  Register(id, slider);
  return slider;
}

QSpinBox* TDesignerTabs::MakeSpinner(TControl id, QWidget* parent) {
  const TControlRow& s = ControlRow(id);
  auto* spin = new QSpinBox(parent);
  spin->setRange(s.Min, s.Max);
  spin->setMinimumWidth(64);
  // Typed entry is off: the arrows (and the keys) step the value.
  spin->findChild<QLineEdit*>()->setReadOnly(true);
  Register(id, spin);
  return spin;
}

QCheckBox* TDesignerTabs::MakeCheck(TControl id, const QString& caption, QWidget* parent) {
  auto* check = new QCheckBox(caption, parent);
  Register(id, check);
  return check;
}

QAbstractButton* TDesignerTabs::MakeCommand(TControl id, QChar initial, const QString& caption,
                                     const QString& hint, QWidget* parent) {
  auto* b = new TInitialButton(initial, caption, parent);
  if (!hint.isEmpty()) b->setToolTip(hint);
  Register(id, b);
  return b;
}

QWidget* TDesignerTabs::CreateCaptionTab() {
  auto* page = new QWidget;
  QVBoxLayout* v = PageLayout(page);
  v->addWidget(StepLabel("A. Type in the message you want the button to show:", page));
  MessageEdit = new TMessageEdit(page);
  MessageEdit->setToolTip("Text on the button");
  MessageEdit->setFixedHeight(52);
  Register(TControl::MessageEdit, MessageEdit);
  Row(v)->addWidget(MessageEdit);
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

QWidget* TDesignerTabs::CreateBackgroundTab() {
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
  HexColorBox = new QLineEdit(page);
  HexColorBox->setMaxLength(ControlRow(TControl::BkgHexBox).Max);
  HexColorBox->setFixedWidth(90);
  Register(TControl::BkgHexBox, HexColorBox);
  hex->addWidget(HexColorBox);
  hex->addWidget(MakeCommand(TControl::BkgSetHex, 'S', "et Hex (RGB)", "", page));
  hex->addStretch();
  v->addStretch();
  return page;
}

QWidget* TDesignerTabs::CreateColorTab(bool text) {
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

QWidget* TDesignerTabs::CreateCaptionTuneupTab() {
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

QWidget* TDesignerTabs::CreateButtonTuneupTab() {
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

QWidget* TDesignerTabs::CreateLightTab() {
  auto* page = new QWidget;
  QVBoxLayout* v = PageLayout(page);
  auto* step = new QHBoxLayout;
  step->setSpacing(4);
  step->addWidget(StepLabel("L. You can change the light source position by dragging this marker ", page));
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

QWidget* TDesignerTabs::CreateLinkTab() {
  auto* page = new QWidget;
  QVBoxLayout* v = PageLayout(page);
  v->addWidget(StepLabel("M. Enter an URL your button will be linked to", page));
  LinkAddressBox = new QLineEdit(page);
  LinkAddressBox->setMinimumWidth(420);
  Register(TControl::LinkAddress, LinkAddressBox);
  QHBoxLayout* r = Row(v);
  r->addWidget(LinkAddressBox);
  r->addStretch();
  v->addStretch();
  return page;
}

// The rulers: the height ruler's position is -height, its top end the largest height.
void TDesignerTabs::AddRulers(QGridLayout* grid, QWidget* page) {
  HeightRuler = new QSlider(Qt::Vertical, page);
  HeightRuler->setRange(HeightRulerMin, HeightRulerMax);
  HeightRuler->setInvertedAppearance(true);
  HeightRuler->setPageStep(5);
  HeightRuler->setTickInterval(10);
  HeightRuler->setTickPosition(QSlider::TicksLeft);
  Register(TControl::HeightRuler, HeightRuler);
  auto* hr = new QVBoxLayout;
  hr->addWidget(new QLabel("Max", page), 0, Qt::AlignHCenter);
  hr->addWidget(HeightRuler, 1, Qt::AlignHCenter);
  hr->addWidget(new QLabel("Min", page), 0, Qt::AlignHCenter);
  grid->addLayout(hr, 1, 0, 3, 1);

  WidthRuler = new QSlider(Qt::Horizontal, page);
  WidthRuler->setRange(WidthRulerMin, WidthRulerMax);
  WidthRuler->setPageStep(5);
  WidthRuler->setTickInterval(5);
  WidthRuler->setTickPosition(QSlider::TicksAbove);
  WidthRuler->setMinimumWidth(300);
  Register(TControl::WidthRuler, WidthRuler);
  auto* wr = new QHBoxLayout;
  wr->addWidget(new QLabel("Min", page));
  wr->addWidget(WidthRuler, 1);
  wr->addWidget(new QLabel("Max", page));
  grid->addLayout(wr, 1, 1);
}

QWidget* TDesignerTabs::CreateDimensionsTab() {
  auto* page = new QWidget;
  auto* grid = new QGridLayout(page);
  grid->setContentsMargins(12, 10, 12, 8);
  grid->setHorizontalSpacing(10);
  grid->addWidget(StepLabel("N. Use rulers to set button dimensions", page), 0, 0, 1, 4);

  AddRulers(grid, page);

  auto* boxes = new QHBoxLayout;
  boxes->setSpacing(6);
  DimWidthBox = new QLineEdit(page);
  DimHeightBox = new QLineEdit(page);
  DimWidthBox->setFixedWidth(64);
  DimHeightBox->setFixedWidth(64);
  Register(TControl::DimWidthEdit, DimWidthBox);
  Register(TControl::DimHeightEdit, DimHeightBox);
  DimConstrainCheck = MakeCheck(TControl::DimConstrain, " Constrain proportions", page);
  DimConstrainCheck->setChecked(true);
  boxes->addWidget(new QLabel("Width", page));
  boxes->addWidget(DimWidthBox);
  boxes->addSpacing(12);
  boxes->addWidget(new QLabel("Height", page));
  boxes->addWidget(DimHeightBox);
  boxes->addSpacing(12);
  boxes->addWidget(DimConstrainCheck);
  boxes->addStretch();
  grid->addLayout(boxes, 2, 1);

  DimFrame = new QFrame(page);
  DimFrame->setFrameShape(QFrame::Panel);
  DimFrame->setFrameShadow(QFrame::Sunken);
  DimFrame->setAutoFillBackground(true);
  auto* frameLayout = new QVBoxLayout(DimFrame);
  frameLayout->setContentsMargins(2, 2, 2, 2);
  DimPicture = new QLabel(DimFrame);
  DimPicture->setObjectName("dimPicture");
  DimPicture->setAlignment(Qt::AlignCenter);
  // A picture larger than the frame is cut, never grows the window.
  DimPicture->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Ignored);
  frameLayout->addWidget(DimPicture);
  grid->addWidget(DimFrame, 0, 2, 4, 1);
  grid->setColumnStretch(2, 1);
  grid->setColumnMinimumWidth(2, 300);
  grid->setRowStretch(3, 1);
  return page;
}

QWidget* TDesignerTabs::CreateExportTab() {
  ExportPage = new TExportPage;
  ExportPage->setObjectName("exportPage");
  ExportPage->ExportButton->setObjectName("exportButton");
  return ExportPage;
}

}  // namespace qz
