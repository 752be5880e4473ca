#include "app/InitialIcon.h"

#include <QFont>
#include <QPainter>

namespace qz {

namespace {

QPixmap DrawLetter(QChar letter, const QColor& ink, const QColor& shadow) {
  QPixmap pixmap(InitialIconSize, InitialIconSize);
  pixmap.fill(Qt::transparent);
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::TextAntialiasing);
  QFont font("DejaVu Sans");
  font.setPixelSize(15);
  font.setBold(true);
  p.setFont(font);
  // Right-aligned and on the caption's baseline region; the shadow one pixel down
  // and right gives the letter the raised look of the buttons the program makes.
  const QRect box(0, 0, InitialIconSize - 1, InitialIconSize - 1);
  p.setPen(shadow);
  p.drawText(box.translated(1, 1), Qt::AlignRight | Qt::AlignVCenter, QString(letter));
  p.setPen(ink);
  p.drawText(box, Qt::AlignRight | Qt::AlignVCenter, QString(letter));
  return pixmap;
}

}  // namespace

QPixmap MakeInitialPixmap(QChar letter) {
  return DrawLetter(letter, QColor(0, 0, 128), QColor(160, 160, 200));
}

QIcon MakeInitialIcon(QChar letter) {
  QIcon icon(MakeInitialPixmap(letter));
  icon.addPixmap(DrawLetter(letter, QColor(128, 128, 128), QColor(220, 220, 220)), QIcon::Disabled);
  return icon;
}

}  // namespace qz
