// TMessageEdit: the message box of the main window (and the editor of the text
// dialog), a one-line QTextEdit whose characters each carry their own face, size,
// character set, bold, italic and underline, converted to and from TMessageText,
// which is what the build and the work files read.
//
//   TMessageEdit edit;
//   edit.FromMessageText(text);      // after a load
//   edit.ToMessageText(text);        // after every edit, before a build or a save
//
// What the box accepts: at most TMessageText::MaxTyped characters, typed or pasted
// (a load may put more in); no line breaks and no tabs; only characters that the
// code page of the character set at the caret can hold (each character is stored as
// an 8-bit code of its charset). The charset travels in a user property of each
// character's QTextCharFormat; a format that leaves family, size or charset unset
// (text typed with the document's own font) is read as the default format.
#pragma once

#include <QTextCharFormat>
#include <QTextEdit>

#include "scene/MessageText.h"

namespace qz {

class TMessageEdit : public QTextEdit {
  Q_OBJECT
 public:
  static constexpr int CharsetProperty = QTextFormat::UserProperty + 1;

  explicit TMessageEdit(QWidget* parent = nullptr);

  // The format of text typed where nothing else applies (the edit's own font).
  const TCharFormat& DefaultFormat() const { return default_; }
  void SetDefaultFormat(const TCharFormat& format);

  // The whole text with every character's format, the default format and the
  // caret or selection.
  void ToMessageText(TMessageText& text) const;
  // Replaces the content by the text (its default format included).
  void FromMessageText(const TMessageText& text);

  int Length() const;

  QTextCharFormat ToQtFormat(const TCharFormat& format) const;
  // Resolved against the default format where the Qt format leaves a value unset.
  TCharFormat FromQtFormat(const QTextCharFormat& format) const;

  // The part of s that may be inserted at the caret: line breaks, tabs and other
  // control characters dropped, characters the charset there cannot hold dropped,
  // cut so that the text stays within MaxTyped characters.
  QString Admissible(const QString& s) const;

 protected:
  void keyPressEvent(QKeyEvent* e) override;
  void inputMethodEvent(QInputMethodEvent* e) override;
  void insertFromMimeData(const QMimeData* source) override;

 private:
  int RoomForInsert() const;
  int CharsetAtCaret() const;

  TCharFormat default_;
};

}  // namespace qz
