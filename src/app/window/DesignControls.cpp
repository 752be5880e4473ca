#include "app/window/DesignControls.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QSignalBlocker>
#include <QSlider>
#include <QSpinBox>
#include <algorithm>

#include "app/bridge/QtBridge.h"
#include "app/widgets/MessageEdit.h"
#include "app/window/DesignerTabs.h"
#include "app/window/Dimensions.h"
#include "image/Resample.h"

namespace qz {

namespace {

using C = TControl;
using S = TDesignSession&;

C ControlOf(TPart part, C text, C button) { return part == TPart::Text ? text : button; }

// Digits, or a control character #1..#30; any other typed key is dropped.
class TDigitKeys : public QObject {
 public:
  using QObject::QObject;
  bool eventFilter(QObject* watched, QEvent* e) override {
    if (e->type() == QEvent::KeyPress) {
      const QString t = static_cast<QKeyEvent*>(e)->text();
      if (!t.isEmpty()) {
        const char16_t c = t.at(0).unicode();
        const bool allowed = (c >= 1 && c <= 30) || (c >= u'0' && c <= u'9');
        if (!allowed) return true;
      }
    }
    return QObject::eventFilter(watched, e);
  }
};

int32_t DigitsValue(const std::string& digits) {
  // More digits than an int holds: as large as it gets (the side is clamped anyway).
  if (digits.size() > 9) return 999999999;
  return static_cast<int32_t>(std::stol(digits));
}

}  // namespace

TDesignControls::TDesignControls(TDesignerTabs& tabs, TDesignSession& session, TFollowUpFn followUp,
                                 QObject* parent)
    : QObject(parent), tabs_(tabs), session_(session), followUp_(std::move(followUp)) {
  // A control whose value is handed to one edit of the session.
  auto edit = [this](auto* control, auto signal, C id, auto apply) {
    connect(control, signal, this, [this, id, apply](auto v) { followUp_(id, apply(session_, v)); });
  };
  for (TPart part : {TPart::Text, TPart::Button}) ConnectPart(part);
  edit(static_cast<QComboBox*>(Control(C::OutlineComplexity)), &QComboBox::currentIndexChanged, C::OutlineComplexity,
       [](S s, int index) { return s.SetOutlineComplexity(index + 1); });
  edit(static_cast<QCheckBox*>(Control(C::HoldButtonSize)), &QCheckBox::toggled, C::HoldButtonSize,
       [](S s, bool on) { return s.SetHoldButtonSize(on); });
  edit(static_cast<QCheckBox*>(Control(C::HideButton)), &QCheckBox::toggled, C::HideButton,
       [](S s, bool on) { return s.HideButton(on); });
  edit(static_cast<QSlider*>(Control(C::Brightness)), &QSlider::valueChanged, C::Brightness,
       [](S s, int v) { return s.SetBrightness(255 - v); });
  ConnectDimensions();
}

void TDesignControls::ConnectDimensions() {
  for (QLineEdit* edit : {tabs_.DimWidthBox, tabs_.DimHeightBox}) {
    edit->installEventFilter(new TDigitKeys(edit));
    const TSide side = edit == tabs_.DimWidthBox ? TSide::Width : TSide::Height;
    connect(edit, &QLineEdit::textEdited, this, [this, side](const QString& text) {
      if (text.isEmpty()) return;
      const std::string digits = DigitsOnly(text.toStdString());
      if (!digits.empty()) DimensionChange(side, DigitsValue(digits));
    });
  }
  // A ruler moved to the value it shows changes nothing; a number typed again is applied.
  connect(tabs_.WidthRuler, &QSlider::valueChanged, this, [this](int position) {
    if (position != session_.Dimensions().Width) DimensionChange(TSide::Width, position);
  });
  connect(tabs_.HeightRuler, &QSlider::valueChanged, this, [this](int position) {
    const int32_t height = HeightFromRuler(position);
    if (height != session_.Dimensions().Height) DimensionChange(TSide::Height, height);
  });
}

void TDesignControls::ShowDimensions() {
  const TDimensions& d = session_.Dimensions();
  rulersActive_ = false;
  tabs_.DimWidthBox->setText(QString::number(d.Width));
  tabs_.DimHeightBox->setText(QString::number(d.Height));
  tabs_.HeightRuler->setValue(HeightRulerPosition(d.Height));
  tabs_.WidthRuler->setValue(WidthRulerPosition(d.Width));
  rulersActive_ = true;
}

void TDesignControls::ShowDimensionsTab() {
  ShowDimensions();
  DrawDimensionPreview();
}

void TDesignControls::DimensionChange(TSide side, int32_t value) {
  // The rulers and boxes are set by ShowDimensions too: those changes are not edits.
  if (!rulersActive_) return;
  const C id = side == TSide::Width ? C::DimWidthEdit : C::DimHeightEdit;
  followUp_(id, session_.SetExportSize(side, value, tabs_.DimConstrainCheck->isChecked()));
  ShowDimensionsTab();
}

void TDesignControls::DrawDimensionPreview() {
  const TBitmap& preview = session_.Preview();
  const TDimensions& d = session_.Dimensions();
  if (!CanDrawDimensionPicture(preview.Width(), preview.Height(), d)) return;
  const TBitmap scratch = preview;
  TBitmap picture(d.Width, d.Height);
  ResampleImage(scratch, picture, TriangleFilter, 1.0);
  tabs_.DimPicture->setPixmap(QPixmap::fromImage(BitmapToQImage(picture)));
}

void TDesignControls::ConnectPart(TPart part) {
  auto of = [part](C text, C button) { return ControlOf(part, text, button); };
  auto edit = [this](auto* control, auto signal, C id, auto apply) {
    connect(control, signal, this, [this, id, apply](auto v) { followUp_(id, apply(session_, v)); });
  };
  const C clear = of(C::TextClearTexture, C::ButtonClearTexture);
  edit(static_cast<QAbstractButton*>(Control(clear)), &QAbstractButton::clicked, clear,
       [part](S s, bool) { return s.ClearTexture(part); });
  for (bool across : {true, false}) {
    const C id = across ? of(C::TextTexWidth, C::ButtonTexWidth) : of(C::TextTexHeight, C::ButtonTexHeight);
    edit(static_cast<QSpinBox*>(Control(id)), &QSpinBox::valueChanged, id,
         [part, across](S s, int v) { return s.SetTextureTiles(part, across, v); });
  }
  const C constrain = of(C::TextConstrain, C::ButtonConstrain), across = of(C::TextTexWidth, C::ButtonTexWidth);
  connect(static_cast<QCheckBox*>(Control(constrain)), &QCheckBox::toggled, this, [this, part, constrain, across](bool on) {
    followUp_(constrain, session_.HoldTextureRatio(part, on));
    Control(across)->setEnabled(!on);
  });
  const C altitude = of(C::TextAltitude, C::ButtonAltitude), shadow = of(C::TextDropShadow, C::ButtonDropShadow);
  edit(static_cast<QSlider*>(Control(altitude)), &QSlider::valueChanged, altitude,
       [part](S s, int v) { return s.SetAltitude(part, v); });
  connect(static_cast<QCheckBox*>(Control(shadow)), &QCheckBox::toggled, this, [this, part, shadow, altitude](bool on) {
    followUp_(shadow, session_.SetDropShadow(part, on));
    Control(altitude)->setEnabled(on);
  });
  const C extrusion = of(C::TextExtrusion, C::ButtonExtrusion);
  edit(static_cast<QSlider*>(Control(extrusion)), &QSlider::valueChanged, extrusion,
       [part](S s, int v) { return s.SetExtrusion(part, v); });
}

QWidget* TDesignControls::Control(TControl id) const { return tabs_.Control(id); }

void TDesignControls::ShowDesign() {
  for (const TControlRow& s : ControlTable) {
    if (!s.Shown) continue;
    QWidget* w = Control(s.Id);
    const QSignalBlocker block(w);
    const int32_t v = s.Shown(session_);
    if (auto* slider = qobject_cast<QSlider*>(w)) slider->setValue(v);
    else if (auto* spin = qobject_cast<QSpinBox*>(w)) spin->setValue(v);
    else if (auto* check = qobject_cast<QCheckBox*>(w)) check->setChecked(v != 0);
    else if (auto* list = qobject_cast<QComboBox*>(w)) list->setCurrentIndex(std::clamp(v, s.Min, s.Max));
  }
  const TParams& p = session_.Params();
  Control(C::TextTexWidth)->setEnabled(!p.Message.HoldRatio);
  Control(C::ButtonTexWidth)->setEnabled(!p.Button.HoldRatio);
  Control(C::TextAltitude)->setEnabled(session_.Shadow(TPart::Text).On);
  Control(C::ButtonAltitude)->setEnabled(session_.Shadow(TPart::Button).On);
  ShowMessage();
}

void TDesignControls::ShowMessage() {
  const QSignalBlocker block(tabs_.MessageEdit);
  tabs_.MessageEdit->FromMessageText(session_.Text());
}

void TDesignControls::ShowTextureScales() {
  for (C id : {C::TextTexWidth, C::TextTexHeight, C::ButtonTexWidth, C::ButtonTexHeight}) {
    auto* spin = static_cast<QSpinBox*>(Control(id));
    const QSignalBlocker block(spin);
    spin->setValue(ControlRow(id).Shown(session_));
  }
}

}  // namespace qz
