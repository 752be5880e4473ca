// The drawn initial capitals of command buttons: a button shows its first letter as
// a 16 x 16 picture and the rest of the word as its caption, so "N" + "ew" reads
// "New". The letter is drawn bold with a soft drop shadow, right-aligned in the
// picture so that it sits close to the caption that follows it.
#pragma once

#include <QChar>
#include <QIcon>
#include <QPixmap>

namespace qz {

inline constexpr int InitialIconSize = 16;

QPixmap MakeInitialPixmap(QChar letter);
// The same picture as an icon, with a greyed form for a disabled button.
QIcon MakeInitialIcon(QChar letter);

}  // namespace qz
