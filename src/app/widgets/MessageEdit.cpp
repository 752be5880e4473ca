#include "app/widgets/MessageEdit.h"

#include <QKeyEvent>
#include <QMimeData>
#include <QTextBlock>
#include <QTextDocument>
#include <algorithm>
#include <vector>

#include "text/CodePages.h"

namespace qz {

namespace {

bool IsControl(char32_t u) { return u < 0x20 || u == 0x7F || (u >= 0x80 && u < 0xA0) || u == 0x2028 || u == 0x2029; }

QString CharToQString(const TMessageText::TChar& c) {
  const char32_t u = c.CodePoint();
  return QString::fromUcs4(&u, 1);
}

}  // namespace

TMessageEdit::TMessageEdit(QWidget* parent) : QTextEdit(parent) {
  setLineWrapMode(QTextEdit::NoWrap);
  setWordWrapMode(QTextOption::NoWrap);
  setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  setAcceptRichText(false);
  setTabChangesFocus(true);  // Tab moves on to the next control, it is not typed
  SetDefaultFormat(default_);
}

void TMessageEdit::SetDefaultFormat(const TCharFormat& format) {
  default_ = format;
  QFont f(QString::fromStdString(format.Name));
  f.setPointSize(format.Size > 0 ? format.Size : 1);
  f.setBold(format.Bold);
  f.setItalic(format.Italic);
  f.setUnderline(format.Underline);
  document()->setDefaultFont(f);
}

// The document counts positions in UTF-16 units, the message in characters: a
// character beyond the Basic Multilingual Plane takes two positions.
int TMessageEdit::Length() const { return IndexOf(document()->characterCount() - 1); }

int TMessageEdit::PositionOf(int index) const {
  const QString plain = document()->toPlainText();
  int position = 0;
  for (int i = 0; i < index && position < plain.size(); ++i)
    position += plain.at(position).isHighSurrogate() && position + 1 < plain.size() ? 2 : 1;
  return position;
}

int TMessageEdit::IndexOf(int position) const {
  const QString plain = document()->toPlainText();
  int index = 0;
  for (int p = 0; p < position && p < plain.size(); ++index)
    p += plain.at(p).isHighSurrogate() && p + 1 < plain.size() ? 2 : 1;
  return index;
}

QTextCharFormat TMessageEdit::ToQtFormat(const TCharFormat& format) const {
  QTextCharFormat q;
  q.setFontFamilies(QStringList{QString::fromStdString(format.Name)});
  q.setFontPointSize(format.Size > 0 ? format.Size : 1);
  q.setProperty(CharsetProperty, format.Charset);
  q.setFontWeight(format.Bold ? QFont::Bold : QFont::Normal);
  q.setFontItalic(format.Italic);
  q.setFontUnderline(format.Underline);
  return q;
}

TCharFormat TMessageEdit::FromQtFormat(const QTextCharFormat& q) const {
  TCharFormat f = default_;
  const QStringList families = q.fontFamilies().toStringList();
  if (!families.isEmpty() && !families.first().isEmpty()) f.Name = families.first().toStdString();
  if (q.hasProperty(QTextFormat::FontPointSize) && q.fontPointSize() > 0)
    f.Size = static_cast<int32_t>(q.fontPointSize());
  if (q.hasProperty(CharsetProperty)) f.Charset = q.intProperty(CharsetProperty) & 0xFF;
  if (q.hasProperty(QTextFormat::FontWeight)) f.Bold = q.fontWeight() > QFont::Medium;
  if (q.hasProperty(QTextFormat::FontItalic)) f.Italic = q.fontItalic();
  if (q.hasProperty(QTextFormat::TextUnderlineStyle) || q.hasProperty(QTextFormat::FontUnderline))
    f.Underline = q.fontUnderline();
  return f;
}

void TMessageEdit::ToMessageText(TMessageText& text) const {
  text.Clear();
  text.SetDefaultFormat(default_);
  for (QTextBlock block = document()->begin(); block.isValid(); block = block.next()) {
    for (auto it = block.begin(); !it.atEnd(); ++it) {
      const QTextFragment fragment = it.fragment();
      const TCharFormat format = FromQtFormat(fragment.charFormat());
      for (char32_t u : fragment.text().toUcs4())
        if (!IsControl(u)) text.Append(TMessageText::MakeChar(u, format));
    }
  }
  const QTextCursor c = textCursor();
  const int start = IndexOf(c.selectionStart());
  text.SetSelection(start, IndexOf(c.selectionEnd()) - start);
}

void TMessageEdit::FromMessageText(const TMessageText& text) {
  SetDefaultFormat(text.DefaultFormat());
  clear();
  QTextCursor c(document());
  for (const TMessageText::TChar& ch : text.Chars()) c.insertText(CharToQString(ch), ToQtFormat(ch.Format));
  c.setPosition(PositionOf(text.SelStart()));
  c.setPosition(PositionOf(text.SelStart() + text.SelLength()), QTextCursor::KeepAnchor);
  setTextCursor(c);
}

void TMessageEdit::EditAsText(const std::function<void(TMessageText&)>& edit) {
  TMessageText text;
  ToMessageText(text);
  // With nothing selected the operation starts from what typing would get here.
  if (text.SelLength() == 0) text.SetSelFormat(SelFormat());
  edit(text);
  FromMessageText(text);
  if (text.SelLength() == 0) setCurrentCharFormat(ToQtFormat(text.SelFormat()));
}

void TMessageEdit::SetSelection(int start, int length) {
  const int n = Length();
  start = std::clamp(start, 0, n);
  length = std::clamp(length, 0, n - start);
  QTextCursor c(document());
  c.setPosition(PositionOf(start));
  c.setPosition(PositionOf(start + length), QTextCursor::KeepAnchor);
  setTextCursor(c);
}

TCharFormat TMessageEdit::SelFormat() const {
  const QTextCursor c = textCursor();
  if (!c.hasSelection()) return FromQtFormat(currentCharFormat());
  // A cursor reports the format of the character before its position.
  QTextCursor first(document());
  first.setPosition(PositionOf(IndexOf(c.selectionStart()) + 1));
  return FromQtFormat(first.charFormat());
}

int TMessageEdit::RoomForInsert() const {
  const QTextCursor c = textCursor();
  const int afterRemoval = Length() - (IndexOf(c.selectionEnd()) - IndexOf(c.selectionStart()));
  return std::max(0, TMessageText::MaxTyped - afterRemoval);
}

int TMessageEdit::CharsetAtCaret() const { return FromQtFormat(currentCharFormat()).Charset; }

void TMessageEdit::InsertTyped(const QString& s) {
  QTextCharFormat format = currentCharFormat();
  int charset = CharsetAtCaret();
  // What goes in, each character with its format, decided before the selection goes.
  std::vector<std::pair<QString, QTextCharFormat>> pieces;
  const int room = RoomForInsert();
  int count = 0;
  for (char32_t u : s.toUcs4()) {
    if (count >= room) break;
    if (IsControl(u)) continue;
    // A character of another code page takes its charset, and typing goes on in it,
    // as after it in the box; one of no code page keeps the charset at the caret.
    TCharFormat typed = FromQtFormat(format);
    TypedChar(u, typed);
    if (typed.Charset != charset) {
      charset = typed.Charset;
      format.setProperty(CharsetProperty, charset);
    }
    pieces.emplace_back(QString::fromUcs4(&u, 1), format);
    ++count;
  }
  if (pieces.empty()) return;
  QTextCursor c = textCursor();
  c.beginEditBlock();
  for (const auto& [text, f] : pieces) c.insertText(text, f);
  c.endEditBlock();
  setTextCursor(c);
}

void TMessageEdit::keyPressEvent(QKeyEvent* e) {
  switch (e->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
      e->ignore();  // one line: Enter and Tab are not typed
      return;
    default:
      break;
  }
  const QString typed = e->text();
  const bool printable = !typed.isEmpty() && !IsControl(typed.toUcs4().value(0)) &&
                         !(e->modifiers() & (Qt::ControlModifier | Qt::MetaModifier));
  if (printable) {
    const QList<uint> codes = typed.toUcs4();
    const bool plain = RoomForInsert() >= static_cast<int>(codes.size()) &&
                       std::all_of(codes.begin(), codes.end(), [this](uint u) {
                         return UnicodeToCode(u, static_cast<uint8_t>(CharsetAtCaret())).has_value();
                       });
    // A key the caret's charset holds is typed as usual; any other is inserted in the
    // charset that holds it (or, held by none, as it is).
    if (!plain) {
      InsertTyped(typed);
      e->accept();
      return;
    }
  }
  QTextEdit::keyPressEvent(e);
}

void TMessageEdit::inputMethodEvent(QInputMethodEvent* e) {
  const QString commit = e->commitString();
  if (!commit.isEmpty()) e->setCommitString(QString());
  QTextEdit::inputMethodEvent(e);
  if (!commit.isEmpty()) InsertTyped(commit);
}

void TMessageEdit::insertFromMimeData(const QMimeData* source) {
  if (source && source->hasText()) InsertTyped(source->text());
}

}  // namespace qz
