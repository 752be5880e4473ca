#include "app/MessageEdit.h"

#include <QKeyEvent>
#include <QMimeData>
#include <QTextBlock>
#include <QTextDocument>

#include "platform/CodePages.h"

namespace qz {

namespace {

bool IsControl(char32_t u) { return u < 0x20 || u == 0x7F || (u >= 0x80 && u < 0xA0) || u == 0x2028 || u == 0x2029; }

QString CodeToQString(uint8_t code, int32_t charset) {
  const char32_t u = CodeToUnicode(code, static_cast<uint8_t>(charset));
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

int TMessageEdit::Length() const { return document()->characterCount() - 1; }

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
      for (char32_t u : fragment.text().toUcs4()) {
        if (IsControl(u)) continue;
        // Every character was checked against its charset when it went in.
        const std::optional<uint8_t> code = UnicodeToCode(u, static_cast<uint8_t>(format.Charset));
        text.Append(std::string(1, static_cast<char>(code.value_or('?'))), format);
      }
    }
  }
  const QTextCursor c = textCursor();
  text.SetSelection(c.selectionStart(), c.selectionEnd() - c.selectionStart());
}

void TMessageEdit::FromMessageText(const TMessageText& text) {
  SetDefaultFormat(text.DefaultFormat());
  clear();
  QTextCursor c(document());
  for (const TMessageText::TChar& ch : text.Chars())
    c.insertText(CodeToQString(ch.Code, ch.Format.Charset), ToQtFormat(ch.Format));
  c.setPosition(text.SelStart());
  c.setPosition(text.SelStart() + text.SelLength(), QTextCursor::KeepAnchor);
  setTextCursor(c);
}

int TMessageEdit::RoomForInsert() const {
  const QTextCursor c = textCursor();
  const int afterRemoval = Length() - (c.selectionEnd() - c.selectionStart());
  return std::max(0, TMessageText::MaxTyped - afterRemoval);
}

int TMessageEdit::CharsetAtCaret() const { return FromQtFormat(currentCharFormat()).Charset; }

QString TMessageEdit::Admissible(const QString& s) const {
  const int room = RoomForInsert();
  const auto charset = static_cast<uint8_t>(CharsetAtCaret());
  QList<uint> kept;
  for (char32_t u : s.toUcs4()) {
    if (static_cast<int>(kept.size()) >= room) break;
    if (IsControl(u) || !UnicodeToCode(u, charset)) continue;
    kept.push_back(u);
  }
  return QString::fromUcs4(reinterpret_cast<const char32_t*>(kept.data()), kept.size());
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
  if (printable && Admissible(typed) != typed) {
    e->accept();  // over the limit or not in the charset: the key is dropped
    return;
  }
  QTextEdit::keyPressEvent(e);
}

void TMessageEdit::inputMethodEvent(QInputMethodEvent* e) {
  if (!e->commitString().isEmpty()) {
    const QString allowed = Admissible(e->commitString());
    if (allowed != e->commitString()) e->setCommitString(allowed);
  }
  QTextEdit::inputMethodEvent(e);
}

void TMessageEdit::insertFromMimeData(const QMimeData* source) {
  if (!source || !source->hasText()) return;
  const QString allowed = Admissible(source->text());
  if (allowed.isEmpty()) return;
  QTextCursor c = textCursor();
  c.insertText(allowed, currentCharFormat());
  setTextCursor(c);
}

}  // namespace qz
