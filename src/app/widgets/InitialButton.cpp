#include "app/widgets/InitialButton.h"

#include <QFont>
#include <QIcon>
#include <QPixmap>
#include <algorithm>
#include <QPainter>
#include <QStyleOptionToolButton>
#include <QStylePainter>

namespace qz {

namespace {

constexpr int Padding = 8;  // left and right of the word inside the button

QPixmap DrawLetter(QChar letter, const QColor& ink, const QColor& shadow) {
  QPixmap pixmap(InitialIconSize, InitialIconSize);
  pixmap.fill(Qt::transparent);
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::TextAntialiasing);
  QFont font("DejaVu Sans");
  font.setPixelSize(15);
  font.setBold(true);
  p.setFont(font);
  // Right-aligned, so the caption can follow at once; the shadow one pixel down and
  // right gives the letter the raised look of the buttons the program makes.
  const QRect box(0, 0, InitialIconSize - 1, InitialIconSize - 1);
  p.setPen(shadow);
  p.drawText(box.translated(1, 1), Qt::AlignRight | Qt::AlignVCenter, QString(letter));
  p.setPen(ink);
  p.drawText(box, Qt::AlignRight | Qt::AlignVCenter, QString(letter));
  return pixmap;
}

// The letter in the program's navy with a greyed form for a disabled button.
QIcon MakeInitialIcon(QChar letter) {
  QIcon icon(DrawLetter(letter, QColor(0, 0, 128), QColor(160, 160, 200)));
  icon.addPixmap(DrawLetter(letter, QColor(128, 128, 128), QColor(220, 220, 220)), QIcon::Disabled);
  return icon;
}

}  // namespace

TInitialButton::TInitialButton(QChar initial, const QString& rest, QWidget* parent)
    : QToolButton(parent) {
  setIcon(MakeInitialIcon(initial));
  setIconSize(QSize(InitialIconSize, InitialIconSize));
  setText(rest);
  setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
}

QSize TInitialButton::sizeHint() const {
  const int caption = fontMetrics().horizontalAdvance(text());
  return {Padding + InitialIconSize + caption + Padding, std::max(InitialIconSize, fontMetrics().height()) + 10};
}

void TInitialButton::paintEvent(QPaintEvent*) {
  QStylePainter p(this);
  QStyleOptionToolButton opt;
  initStyleOption(&opt);
  // The frame and the pressed look from the style; the picture and the word ourselves.
  opt.text.clear();
  opt.icon = QIcon();
  p.drawComplexControl(QStyle::CC_ToolButton, opt);
  const bool down = isDown() || isChecked();
  const int shiftX = down ? style()->pixelMetric(QStyle::PM_ButtonShiftHorizontal, &opt, this) : 0;
  const int shiftY = down ? style()->pixelMetric(QStyle::PM_ButtonShiftVertical, &opt, this) : 0;
  const int wordWidth = InitialIconSize + fontMetrics().horizontalAdvance(text());
  const int left = (width() - wordWidth) / 2 + shiftX;
  const QPixmap pixmap = icon().pixmap(iconSize(), isEnabled() ? QIcon::Normal : QIcon::Disabled);
  p.drawPixmap(left, (height() - InitialIconSize) / 2 + shiftY, pixmap);
  const QRect textBox(left + InitialIconSize, shiftY, width() - left - InitialIconSize, height());
  p.setPen(palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::ButtonText));
  p.drawText(textBox, Qt::AlignLeft | Qt::AlignVCenter, text());
}

}  // namespace qz
