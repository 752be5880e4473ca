#include "app/dialogs/OptionsDialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QVBoxLayout>
#include <algorithm>

#include "app/dialogs/DialogMessages.h"
#include "base/NumberText.h"

namespace qz {

namespace {

constexpr int DelayStep = 250;  // one timer tick, in milliseconds

QSpinBox* StepSpinner(int lo, int hi, int step, QWidget* parent) {
  auto* s = new QSpinBox(parent);
  s->setRange(lo, hi);
  s->setSingleStep(step);
  // No typed entry: the arrows (and the keyboard's up and down) choose the value.
  if (auto* edit = s->findChild<QLineEdit*>()) edit->setReadOnly(true);
  s->setAlignment(Qt::AlignRight);
  return s;
}

// A value typed or stepped with the arrows.
QSpinBox* NumberSpinner(int lo, int hi, int step, QWidget* parent) {
  auto* s = new QSpinBox(parent);
  s->setRange(lo, hi);
  s->setSingleStep(step);
  s->setAlignment(Qt::AlignRight);
  return s;
}

// The user's decimal separator may be a comma; numbers are read with a point.
std::optional<float> ReadFactor(const std::string& text) {
  std::string t = text;
  if (t.find('.') == std::string::npos) std::replace(t.begin(), t.end(), ',', '.');
  return TextToFloat(t);
}

}  // namespace

TOptionsDialog::TOptionsDialog(QWidget* parent) : QDialog(parent) {
  setWindowTitle(" Advanced Options");
  setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);
  QWidget* rendering = CreateRenderingPage();
  QWidget* margins = CreateMarginsPage();
  QWidget* states = CreateStatesPage();
  OptionTabs = new QTabWidget(this);
  OptionTabs->addTab(rendering, "Rendering");
  OptionTabs->addTab(margins, "Margins");
  OptionTabs->addTab(states, "States");
  LayOut();
  ParamsToControls();
}

// "Rendering": the projection factors, shading, camera distance and the delay.
QWidget* TOptionsDialog::CreateRenderingPage() {
  auto* rendering = new QWidget;
  auto* optics = new QGroupBox(" Optics ", rendering);
  XFactorBox = new QLineEdit(optics);
  YFactorBox = new QLineEdit(optics);
  auto* opticsForm = new QFormLayout(optics);
  opticsForm->addRow("X Factor", XFactorBox);
  opticsForm->addRow("Y Factor", YFactorBox);
  ShadingList = new QComboBox(rendering);
  ShadingList->addItems({" Flat", " Smooth"});
  DistanceBox = new QLineEdit(rendering);
  DelaySpinner = StepSpinner(DelayStep, 10 * DelayStep, DelayStep, rendering);
  auto* renderForm = new QFormLayout;
  renderForm->addRow("Shading", ShadingList);
  renderForm->addRow("Distance", DistanceBox);
  renderForm->addRow("Rendering delay (msec)", DelaySpinner);
  auto* renderLayout = new QVBoxLayout(rendering);
  renderLayout->addWidget(optics);
  renderLayout->addLayout(renderForm);
  renderLayout->addStretch();
  return rendering;
}

// "Margins": the room around the text inside the button, and the preview's size.
QWidget* TOptionsDialog::CreateMarginsPage() {
  auto* margins = new QWidget;
  auto* text = new QGroupBox(" Button Text ", margins);
  TopMarginBox = new QLineEdit(text);
  BottomMarginBox = new QLineEdit(text);
  LeftMarginBox = new QLineEdit(text);
  RightMarginBox = new QLineEdit(text);
  auto* textForm = new QFormLayout(text);
  textForm->addRow("Top", TopMarginBox);
  textForm->addRow("Bottom", BottomMarginBox);
  textForm->addRow("Left", LeftMarginBox);
  textForm->addRow("Right", RightMarginBox);
  PreviewSizeSpinner = StepSpinner(10, 90, 5, margins);
  auto* previewForm = new QFormLayout;
  previewForm->addRow("Preview size (%)", PreviewSizeSpinner);
  auto* marginLayout = new QVBoxLayout(margins);
  marginLayout->addWidget(text);
  marginLayout->addLayout(previewForm);
  marginLayout->addStretch();
  return margins;
}

// "States": how an export's hover and pressed pictures differ from the button. The
// preview shows the button as it stands, so these change no picture but those.
QWidget* TOptionsDialog::CreateStatesPage() {
  auto* states = new QWidget;
  auto* stateBox = new QGroupBox(" Button states ", states);
  HoverSpinner = NumberSpinner(0, MaxHoverBrightening, 4, stateBox);
  PressedSpinner = NumberSpinner(0, 100, 5, stateBox);
  auto* stateForm = new QFormLayout(stateBox);
  stateForm->addRow("Hover: lighter by", HoverSpinner);
  stateForm->addRow("Pressed: height (%)", PressedSpinner);
  auto* stateLayout = new QVBoxLayout(states);
  stateLayout->addWidget(stateBox);
  stateLayout->addWidget(new QLabel("For exports with hover and pressed states;\n"
                                    "the preview shows the button as it stands.", states));
  stateLayout->addStretch();
  return states;
}

// The pages above OK and Cancel; the numbers typed read from the right.
void TOptionsDialog::LayOut() {
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  buttons->button(QDialogButtonBox::Ok)->setDefault(true);
  connect(buttons, &QDialogButtonBox::accepted, this, &TOptionsDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &TOptionsDialog::reject);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(OptionTabs);
  layout->addWidget(buttons);
  for (QLineEdit* number :
       {XFactorBox, YFactorBox, DistanceBox, TopMarginBox, BottomMarginBox, LeftMarginBox, RightMarginBox})
    number->setAlignment(Qt::AlignRight);
  setFixedSize(sizeHint().expandedTo(QSize(320, 0)));
}

std::string TOptionsDialog::MakeInt(const std::string& s) {
  std::string digits;
  for (char c : s)
    if (c >= '0' && c <= '9') digits += c;
  return digits;
}

void TOptionsDialog::LoadParams(const TParams& p) {
  Params = p;
  ParamsToControls();
}

void TOptionsDialog::ParamsToControls() {
  XFactorBox->setText(QString::fromStdString(FloatToText(Params.CnX)));
  YFactorBox->setText(QString::fromStdString(FloatToText(Params.CnZ)));
  TopMarginBox->setText(QString::number(Params.GutTop));
  BottomMarginBox->setText(QString::number(Params.GutBottom));
  LeftMarginBox->setText(QString::number(Params.GutLeft));
  RightMarginBox->setText(QString::number(Params.GutRight));
  DistanceBox->setText(QString::number(Params.Distance));
  ShadingList->setCurrentIndex(std::clamp(Params.ShadType, 0, 1));
  // A delay read from a file may be any number; the spinner clips it to its range.
  const int64_t ms = static_cast<int64_t>(Params.RDelay) * DelayStep;
  DelaySpinner->setValue(static_cast<int>(std::clamp<int64_t>(ms, DelaySpinner->minimum(), DelaySpinner->maximum())));
  PreviewSizeSpinner->setValue(Params.ViewSize);
  // Values from a file outside the spinners' ranges are clipped to them, as the delay is.
  HoverSpinner->setValue(Params.States.HoverBrightening);
  PressedSpinner->setValue(Params.States.PressedAltitude);
}

std::optional<std::string> TOptionsDialog::ControlsToParams() {
  TParams p = Params;
  auto fail = [this](QLineEdit* edit, const std::string& message) {
    for (int i = 0; i < OptionTabs->count(); ++i)
      if (OptionTabs->widget(i)->isAncestorOf(edit)) OptionTabs->setCurrentIndex(i);
    edit->setFocus();
    edit->selectAll();
    return std::optional<std::string>(message);
  };
  for (auto [edit, field] : {std::pair{XFactorBox, &p.CnX}, {YFactorBox, &p.CnZ}}) {
    const std::string text = edit->text().toStdString();
    const auto v = ReadFactor(text);
    if (!v) return fail(edit, "'" + text + "' is not a valid floating point value");
    *field = *v;
  }
  for (auto [edit, field] : {std::pair{TopMarginBox, &p.GutTop}, {BottomMarginBox, &p.GutBottom},
                             {LeftMarginBox, &p.GutLeft}, {RightMarginBox, &p.GutRight}, {DistanceBox, &p.Distance}}) {
    const std::string digits = MakeInt(edit->text().toStdString());
    const auto v = TextToInt(digits);
    if (!v) return fail(edit, "'" + digits + "' is not a valid integer value");
    *field = *v;
  }
  p.ShadType = ShadingList->currentIndex();
  p.RDelay = DelaySpinner->value() / DelayStep;
  p.ViewSize = PreviewSizeSpinner->value();
  p.States.HoverBrightening = HoverSpinner->value();
  p.States.PressedAltitude = PressedSpinner->value();
  Params = p;
  return std::nullopt;
}

void TOptionsDialog::showEvent(QShowEvent* event) {
  ParamsToControls();
  QDialog::showEvent(event);
}

void TOptionsDialog::accept() {
  if (const auto error = ControlsToParams()) {
    ShowDialogMessage(this, QString::fromStdString(*error));
    return;
  }
  QDialog::accept();
}

}  // namespace qz
