// The Dimensions tab (export size by rulers and boxes, with its scaled picture) and
// the light marker over the preview. The arithmetic is in Dimensions.h.
#include <QCheckBox>
#include <QEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QSlider>
#include <QTabWidget>

#include "app/Dimensions.h"
#include "app/MainWindow.h"
#include "app/PreviewPanel.h"
#include "app/QtBridge.h"
#include "render/Resample.h"
#include "scene/Scene.h"

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

void TForm1::AcceptDigitKeysOnly(QLineEdit* edit) { edit->installEventFilter(new TDigitKeys(edit)); }

void TForm1::TabChange(int index) {
  const bool light = index == static_cast<int>(TTab::LightSource);
  preview_->Marker()->setEnabled(light);
  preview_->Marker()->setVisible(light);
  if (light) preview_->Marker()->raise();
  if (index == static_cast<int>(TTab::Dimensions)) TabSheet9Show();
}

void TForm1::ShowDimensions() {
  RulersActive = false;
  widthEdit_->setText(QString::number(Dim.Width));
  heightEdit_->setText(QString::number(Dim.Height));
  heightRuler_->setValue(HeightRulerPosition(Dim.Height));
  widthRuler_->setValue(WidthRulerPosition(Dim.Width));
  RulersActive = true;
}

void TForm1::TabSheet9Show() {
  ShowDimensions();
  DrawDimensionPreview();
}

void TForm1::WidthRulerChange(int position) {
  if (!RulersActive || position == Dim.Width) return;
  Dim.Width = position;
  ApplyDimensionEdit(TSide::Width);
}

void TForm1::HeightRulerChange(int position) {
  if (!RulersActive) return;
  const int32_t height = HeightFromRuler(position);
  if (height == Dim.Height) return;
  Dim.Height = height;
  ApplyDimensionEdit(TSide::Height);
}

void TForm1::DimEditChange(TSide side, const QString& text) {
  if (!RulersActive || text.isEmpty()) return;
  const std::string digits = DigitsOnly(text.toStdString());
  if (digits.empty()) return;
  (side == TSide::Width ? Dim.Width : Dim.Height) = DigitsValue(digits);
  ApplyDimensionEdit(side);
}

void TForm1::ApplyDimensionEdit(TSide side) {
  ApplyDimension(Dim, side, dimConstrain_->isChecked());
  ShowDimensions();
  DrawDimensionPreview();
}

void TForm1::DrawDimensionPreview() {
  if (!CanDrawDimensionPicture(PreviewBitmap.Width(), PreviewBitmap.Height(), Dim)) return;
  const TBitmap scratch = PreviewBitmap;
  TBitmap picture(Dim.Width, Dim.Height);
  ResampleImage(scratch, picture, TriangleFilter, 1.0);
  dimPicture_->setPixmap(QPixmap::fromImage(BitmapToQImage(picture)));
}

void TForm1::PlaceLightMarker() {
  const TMarkerPoint c = LightMarkerCentre(Scene->a1, Scene->a2, preview_->width(), preview_->height());
  preview_->Marker()->move(c.X - MarkerHalf, c.Y - MarkerHalf);
}

void TForm1::DropLightMarker(QPoint pointInPreview) {
  const TLightAngles a =
      LightAnglesAt(pointInPreview.x(), pointInPreview.y(), preview_->width(), preview_->height());
  Scene->SetLightAngles(a.a1, a.a2);
  FollowUp(TControl::LightMarker);
}

}  // namespace qz
