#include "app/InitialButton.h"

#include <QFont>
#include <QPainter>

namespace qz {

QPixmap InitialGlyph(QChar letter) {
  QPixmap pix(16, 16);
  pix.fill(Qt::transparent);
  QPainter p(&pix);
  p.setRenderHint(QPainter::TextAntialiasing);
  QFont f("DejaVu Sans");
  f.setPixelSize(15);
  f.setBold(true);
  p.setFont(f);
  p.setPen(QColor(0, 64, 160));
  p.drawText(QRect(0, 0, 16, 16), Qt::AlignRight | Qt::AlignVCenter, QString(letter));
  return pix;
}

QPushButton* MakeInitialButton(QChar initial, const QString& caption, const QString& hint,
                               QWidget* parent) {
  auto* b = new QPushButton(QIcon(InitialGlyph(initial)), caption, parent);
  b->setIconSize(QSize(16, 16));
  if (!hint.isEmpty()) b->setToolTip(hint);
  // The glyph and the caption read as one word: no gap between them.
  b->setStyleSheet("QPushButton { padding-left: 6px; padding-right: 10px; }");
  return b;
}

}  // namespace qz
