// TMessageEditor: a one-line editor of a message whose characters each carry their
// own font (TMessageText). The widget edits the TMessageText directly (there is no
// second copy of the text to keep in step): typing, deleting, the selection and the
// restyling of the selection all go through TMessageText's operations, and the
// widget only lays out and paints the characters, each in its own font, through its
// charset's code page.
//
//   TMessageEditor editor;
//   editor.SetText(message);                   // or edit editor.Text() directly
//   editor.SetSelection(1, 3);
//   editor.Text().SetSelBold(true);            // the three selected characters only
//   TMessageText result = editor.TakeText();
//
// At most 32 characters, typed or pasted; Enter and Tab are not typed (Enter is left
// to the dialog's default button, Tab moves the focus). A typed character that the
// selection's charset cannot hold takes the first charset that can.
#pragma once

#include <QFrame>
#include <QTimer>
#include <vector>

#include "scene/MessageText.h"

namespace qz {

class TMessageEditor : public QFrame {
  Q_OBJECT
 public:
  explicit TMessageEditor(QWidget* parent = nullptr);

  // The model. Changes made to it through its operations show at once.
  TMessageText& Text() { return text_; }
  const TMessageText& Text() const { return text_; }
  void SetText(const TMessageText& text);
  // A copy of the text without the editor's change callback.
  TMessageText TakeText() const;

  // Selects length characters from start; the caret ends after them.
  void SetSelection(int start, int length);
  void SelectAll() { SetSelection(0, text_.Length()); }
  int Caret() const { return caret_; }

  // Inserts typed or pasted text at the selection (see the note above).
  void InsertText(const QString& typed);

  // The font a character is shown in.
  static QFont DisplayFont(const TCharFormat& format);

  QSize sizeHint() const override;
  QSize minimumSizeHint() const override;

 signals:
  void selectionChanged();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;
  void inputMethodEvent(QInputMethodEvent* event) override;
  QVariant inputMethodQuery(Qt::InputMethodQuery query) const override;

 private:
  struct TLayout {
    std::vector<qreal> X;  // caret positions 0..n, in text coordinates
    qreal Ascent = 0;
    qreal Descent = 0;
  };
  TLayout Layout() const;
  qreal Baseline(const TLayout& layout) const;
  int HitTest(qreal x) const;
  void MoveCaret(int to, bool extend);
  void ModelChanged();
  void EnsureCaretVisible(const TLayout& layout);
  void CopyToClipboard() const;

  TMessageText text_;
  int anchor_ = 0;
  int caret_ = 0;
  qreal scroll_ = 0;
  bool caretShown_ = true;
  QTimer blink_;
};

}  // namespace qz
