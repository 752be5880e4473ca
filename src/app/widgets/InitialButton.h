// The drawn initial capitals of command buttons: a button shows its first letter as
// a 16 x 16 picture and the rest of the word as its caption, so "N" + "ew" reads
// "New". The letter is drawn bold with a soft drop shadow, right-aligned in the
// picture so that it sits close to the caption that follows it.
//
//   auto* b = new TInitialButton('N', "ew", this);   // text() is "ew"
#pragma once

#include <QChar>
#include <QToolButton>

namespace qz {

inline constexpr int InitialIconSize = 16;

// A tool button showing the initial picture and its caption side by side without
// the gap a style leaves between an icon and a text, so the two read as one word.
class TInitialButton : public QToolButton {
  Q_OBJECT
 public:
  TInitialButton(QChar initial, const QString& rest, QWidget* parent = nullptr);
  QSize sizeHint() const override;
  QSize minimumSizeHint() const override { return sizeHint(); }

 protected:
  void paintEvent(QPaintEvent* event) override;
};

}  // namespace qz
