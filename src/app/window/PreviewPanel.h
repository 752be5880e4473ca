// The preview area of the main window: a panel in the background colour holding the
// centred preview picture, and above it the light marker, a 32 x 32 picture the user
// drags to move the light (while the Light Source tab is shown).
#pragma once

#include <QLabel>
#include <QWidget>

namespace qz {

// The marker's picture: a small sun on a transparent ground.
QPixmap LightMarkerPicture();

class TLightMarker : public QLabel {
  Q_OBJECT
 public:
  explicit TLightMarker(QWidget* preview);

 signals:
  // The marker was let go; the point is the pointer's position in the preview.
  void Dropped(QPoint pointInPreview);

 protected:
  void mousePressEvent(QMouseEvent* e) override;
  void mouseMoveEvent(QMouseEvent* e) override;
  void mouseReleaseEvent(QMouseEvent* e) override;

 private:
  bool dragLight_ = false;
};

class TPreviewPanel : public QWidget {
  Q_OBJECT
 public:
  explicit TPreviewPanel(QWidget* parent = nullptr);

  void SetBackground(const QColor& color);
  void SetPicture(const QPixmap& picture);
  QLabel* Picture() const { return picture_; }
  TLightMarker* Marker() const { return marker_; }

 signals:
  void Resized();

 protected:
  void resizeEvent(QResizeEvent* e) override;

 private:
  QLabel* picture_;
  TLightMarker* marker_;
};

}  // namespace qz
