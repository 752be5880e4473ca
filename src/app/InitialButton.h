// The command buttons of the tabs show their initial capital as a drawn 16 x 16
// glyph followed by the rest of the word as caption ("F" + "ont Selection").
#pragma once

#include <QPixmap>
#include <QPushButton>

namespace qz {

// The capital drawn in bold, hugging the right edge so it reads on into the caption.
QPixmap InitialGlyph(QChar letter);

// A push button with the drawn initial and the caption; hint may be empty.
QPushButton* MakeInitialButton(QChar initial, const QString& caption, const QString& hint,
                               QWidget* parent);

}  // namespace qz
