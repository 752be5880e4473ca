// TMessageEdit: the message box of the main window and the editor of the Advanced
// Text Settings dialog, a one-line QTextEdit whose characters each carry their own
// face, size, character set, bold, italic and underline, converted to and from
// TMessageText, which is what the build and the work files read.
//
//   TMessageEdit edit;
//   edit.FromMessageText(text);      // after a load
//   edit.ToMessageText(text);        // after every edit, before a build or a save
//   edit.SetSelection(1, 3);
//   edit.EditAsText([](TMessageText& t) { t.SetSelBold(true); });  // those three only
//
// What the box accepts: at most TMessageText::MaxTyped characters, typed or pasted
// (a load may put more in); no line breaks and no tabs (Enter is left to a dialog's
// default button, Tab moves the focus); any other character of any plane. A typed
// character that the charset at the caret cannot hold takes the first charset of the
// message's code pages that can, and typing goes on in it; one that no code page
// holds keeps the caret's charset and is held by its code point (TypedChar). Lengths
// and selections count characters, not the UTF-16 units of the document.
// The charset travels in a user property of each character's QTextCharFormat; a
// format that leaves family, size or charset unset (text typed with the document's
// own font) is read as the default format.
#pragma once

#include <QTextCharFormat>
#include <QTextEdit>
#include <functional>
#include <optional>

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
  // Replaces the content by the text (its default format and selection included).
  void FromMessageText(const TMessageText& text);
  // Runs an operation of the message text on the box's content: the selection's
  // restyling keeps every other attribute of each character, and with nothing
  // selected it sets the format of what is typed next at the caret.
  void EditAsText(const std::function<void(TMessageText&)>& edit);

  int Length() const;
  // Selects length characters from start (both clipped); the caret ends after them.
  void SetSelection(int start, int length);
  // The selection's attributes: its first character's; with nothing selected, the
  // format typing at the caret gets.
  TCharFormat SelFormat() const;

  QTextCharFormat ToQtFormat(const TCharFormat& format) const;
  // Resolved against the default format where the Qt format leaves a value unset.
  TCharFormat FromQtFormat(const QTextCharFormat& format) const;

  // Inserts typed or pasted text at the selection: control characters dropped, each
  // character in a charset that holds it (see above), cut at MaxTyped characters.
  void InsertTyped(const QString& s);

 protected:
  void keyPressEvent(QKeyEvent* e) override;
  void inputMethodEvent(QInputMethodEvent* e) override;
  void insertFromMimeData(const QMimeData* source) override;

 private:
  int RoomForInsert() const;
  int CharsetAtCaret() const;
  // The document position before the character of an index, and the index of the
  // character a position stands before.
  int PositionOf(int index) const;
  int IndexOf(int position) const;

  TCharFormat default_;
};

}  // namespace qz
