// The Dimensions tab (export size by rulers and boxes, with its scaled picture) and
// the light marker over the preview. The arithmetic is in Dimensions.h.
#include <QCheckBox>
#include <QEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QSlider>

#include "app/bridge/QtBridge.h"
#include "app/window/EditHistory.h"
#include "app/window/MainWindow.h"
#include "app/window/PreviewPanel.h"
#include "image/Resample.h"

namespace qz {

namespace {

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

void TMainWindow::ConnectDimensions() {
  for (QLineEdit* edit : {tabs_->DimWidthBox, tabs_->DimHeightBox}) {
    edit->installEventFilter(new TDigitKeys(edit));
    const TSide side = edit == tabs_->DimWidthBox ? TSide::Width : TSide::Height;
    connect(edit, &QLineEdit::textEdited, this, [this, side](const QString& text) {
      if (text.isEmpty()) return;
      const std::string digits = DigitsOnly(text.toStdString());
      if (!digits.empty()) DimensionChange(side, DigitsValue(digits));
    });
  }
  // A ruler moved to the value it shows changes nothing; a number typed again is applied.
  connect(tabs_->WidthRuler, &QSlider::valueChanged, this, [this](int position) {
    if (position != Session->Dimensions().Width) DimensionChange(TSide::Width, position);
  });
  connect(tabs_->HeightRuler, &QSlider::valueChanged, this, [this](int position) {
    const int32_t height = HeightFromRuler(position);
    if (height != Session->Dimensions().Height) DimensionChange(TSide::Height, height);
  });
}

void TMainWindow::TabChange(int index) {
  const bool light = index == static_cast<int>(TTab::LightSource);
  preview_->Marker()->setEnabled(light);
  preview_->Marker()->setVisible(light);
  if (light) preview_->Marker()->raise();
  if (index == static_cast<int>(TTab::Dimensions)) ShowDimensionsTab();
}

void TMainWindow::ShowDimensions() {
  const TDimensions& d = Session->Dimensions();
  RulersActive = false;
  tabs_->DimWidthBox->setText(QString::number(d.Width));
  tabs_->DimHeightBox->setText(QString::number(d.Height));
  tabs_->HeightRuler->setValue(HeightRulerPosition(d.Height));
  tabs_->WidthRuler->setValue(WidthRulerPosition(d.Width));
  RulersActive = true;
}

void TMainWindow::ShowDimensionsTab() {
  ShowDimensions();
  DrawDimensionPreview();
}

void TMainWindow::DimensionChange(TSide side, int32_t value) {
  // The rulers and boxes are set by ShowDimensions too: those changes are not edits.
  if (!RulersActive) return;
  const TControl id = side == TSide::Width ? TControl::DimWidthEdit : TControl::DimHeightEdit;
  FollowUp(id, Session->SetExportSize(side, value, tabs_->DimConstrainCheck->isChecked()));
  ShowDimensions();
  DrawDimensionPreview();
}

void TMainWindow::DrawDimensionPreview() {
  const TBitmap& preview = Session->Preview();
  const TDimensions& d = Session->Dimensions();
  if (!CanDrawDimensionPicture(preview.Width(), preview.Height(), d)) return;
  const TBitmap scratch = preview;
  TBitmap picture(d.Width, d.Height);
  ResampleImage(scratch, picture, TriangleFilter, 1.0);
  tabs_->DimPicture->setPixmap(QPixmap::fromImage(BitmapToQImage(picture)));
}

void TMainWindow::PlaceLightMarker() {
  const TParams& p = Session->Params();
  const TMarkerPoint c = LightMarkerCentre(p.a1, p.a2, preview_->width(), preview_->height());
  preview_->Marker()->move(c.X - MarkerHalf, c.Y - MarkerHalf);
}

void TMainWindow::DropLightMarker(QPoint pointInPreview) {
  const TLightAngles a =
      LightAnglesAt(pointInPreview.x(), pointInPreview.y(), preview_->width(), preview_->height());
  FollowUp(TControl::LightMarker, Session->SetLightAngles(a.a1, a.a2));
}

}  // namespace qz
