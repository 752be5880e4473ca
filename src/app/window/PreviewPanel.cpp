#include "app/window/PreviewPanel.h"

#include <QMouseEvent>
#include <QPainter>
#include <QtMath>

#include "app/window/Dimensions.h"

namespace qz {

QPixmap LightMarkerPicture() {
  QPixmap pix(MarkerSize, MarkerSize);
  pix.fill(Qt::transparent);
  QPainter p(&pix);
  p.setRenderHint(QPainter::Antialiasing);
  const QPointF c(MarkerHalf, MarkerHalf);
  p.setPen(QPen(QColor(200, 110, 0), 2.0, Qt::SolidLine, Qt::RoundCap));
  for (int i = 0; i < 8; ++i) {
    const double a = i * M_PI / 4;
    p.drawLine(c + QPointF(10 * qCos(a), 10 * qSin(a)), c + QPointF(15 * qCos(a), 15 * qSin(a)));
  }
  p.setPen(QPen(QColor(200, 110, 0), 1.5));
  p.setBrush(QColor(255, 220, 40));
  p.drawEllipse(c, 7.5, 7.5);
  return pix;
}

namespace {

// Exactly the left button, and no Shift, Ctrl or Alt.
bool OnlyLeftButton(const QMouseEvent* e) {
  return e->buttons() == Qt::LeftButton &&
         (e->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier)) == 0;
}

}  // namespace

TLightMarker::TLightMarker(QWidget* preview) : QLabel(preview) {
  setPixmap(LightMarkerPicture());
  setFixedSize(MarkerSize, MarkerSize);
  setAttribute(Qt::WA_TranslucentBackground);
  setCursor(Qt::SizeAllCursor);
  setToolTip("Drag to move the light source");
}

void TLightMarker::mousePressEvent(QMouseEvent* e) {
  if (e->button() == Qt::LeftButton && OnlyLeftButton(e)) dragLight_ = true;
}

void TLightMarker::mouseMoveEvent(QMouseEvent* e) {
  if (!dragLight_ || !OnlyLeftButton(e)) return;
  const QPoint p = e->position().toPoint();
  const int left = x() + p.x() - MarkerHalf;
  const int top = y() + p.y() - MarkerHalf;
  const QWidget* preview = parentWidget();
  // Each coordinate moves only while the marker stays wholly inside the preview.
  move(MarkerPositionAllowed(left, preview->width()) ? left : x(),
       MarkerPositionAllowed(top, preview->height()) ? top : y());
}

void TLightMarker::mouseReleaseEvent(QMouseEvent*) {
  if (!dragLight_) return;
  dragLight_ = false;
  // The light comes from where the marker stands, which is always inside the preview,
  // not from where the pointer was let go.
  emit Dropped(QPoint(x() + MarkerHalf, y() + MarkerHalf));
}

TPreviewPanel::TPreviewPanel(QWidget* parent) : QWidget(parent) {
  setAutoFillBackground(true);
  setMinimumSize(64, 48);
  picture_ = new QLabel(this);
  picture_->setAlignment(Qt::AlignCenter);
  picture_->setObjectName("previewPicture");
  marker_ = new TLightMarker(this);
  marker_->setObjectName("lightMarker");
  marker_->raise();
}

void TPreviewPanel::SetBackground(const QColor& color) {
  QPalette pal = palette();
  pal.setColor(QPalette::Window, color);
  setPalette(pal);
}

void TPreviewPanel::SetPicture(const QPixmap& picture) { picture_->setPixmap(picture); }

void TPreviewPanel::resizeEvent(QResizeEvent* e) {
  QWidget::resizeEvent(e);
  picture_->setGeometry(rect());
  emit Resized();
}

}  // namespace qz
