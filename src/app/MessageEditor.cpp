#include "app/MessageEditor.h"

#include <QApplication>
#include <QClipboard>
#include <QFontMetricsF>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QPainter>
#include <algorithm>
#include <cmath>

#include "app/QtBridge.h"
#include "platform/CodePages.h"

namespace qz {

namespace {

constexpr int Margin = 4;  // room between the frame and the text
// Charsets tried, in order, for a typed character the selection's charset cannot
// hold: Western first, then the other code pages of the message model.
constexpr uint8_t FallbackCharsets[] = {1, 238, 204, 161, 162, 177, 178, 186, 163, 222};

QString Glyph(const TMessageText::TChar& c) {
  return CodesToQt(std::string(1, static_cast<char>(c.Code)), c.Format.Charset);
}

}  // namespace

TMessageEditor::TMessageEditor(QWidget* parent) : QFrame(parent) {
  setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
  setFocusPolicy(Qt::StrongFocus);
  setAttribute(Qt::WA_InputMethodEnabled);
  setCursor(Qt::IBeamCursor);
  setBackgroundRole(QPalette::Base);
  setAutoFillBackground(true);
  text_.OnSelectionChange = [this] { ModelChanged(); };
  blink_.setInterval(QApplication::cursorFlashTime() > 0 ? QApplication::cursorFlashTime() / 2 : 500);
  connect(&blink_, &QTimer::timeout, this, [this] {
    caretShown_ = !caretShown_;
    update();
  });
}

void TMessageEditor::SetText(const TMessageText& text) {
  text_ = text;
  text_.OnSelectionChange = [this] { ModelChanged(); };
  anchor_ = caret_ = -1;  // resynchronised from the model's selection
  ModelChanged();
}

TMessageText TMessageEditor::TakeText() const {
  TMessageText copy = text_;
  copy.OnSelectionChange = nullptr;
  return copy;
}

void TMessageEditor::SetSelection(int start, int length) {
  const int n = text_.Length();
  start = std::clamp(start, 0, n);
  length = std::clamp(length, 0, n - start);
  anchor_ = start;
  caret_ = start + length;
  text_.SetSelection(start, length);
}

// The model changed its text or selection (by our own calls or from outside): keep
// the caret and anchor when they still describe its selection, otherwise take the
// selection's ends, caret last.
void TMessageEditor::ModelChanged() {
  const int start = text_.SelStart(), length = text_.SelLength();
  if (std::min(anchor_, caret_) != start || std::abs(anchor_ - caret_) != length) {
    anchor_ = start;
    caret_ = start + length;
  }
  caretShown_ = true;
  EnsureCaretVisible(Layout());
  update();
  emit selectionChanged();
}

QFont TMessageEditor::DisplayFont(const TCharFormat& format) {
  QFont font(QString::fromStdString(format.Name));
  // Size 0 is the face's own height in the message; it is shown at the default size.
  font.setPointSize(format.Size > 0 ? std::min(format.Size, 200) : 18);
  font.setBold(format.Bold);
  font.setItalic(format.Italic);
  font.setUnderline(format.Underline);
  return font;
}

TMessageEditor::TLayout TMessageEditor::Layout() const {
  TLayout l;
  l.X.push_back(0);
  const QFontMetricsF base(DisplayFont(text_.DefaultFormat()));
  l.Ascent = base.ascent();
  l.Descent = base.descent();
  for (const auto& c : text_.Chars()) {
    const QFontMetricsF fm(DisplayFont(c.Format));
    l.X.push_back(l.X.back() + fm.horizontalAdvance(Glyph(c)));
    l.Ascent = std::max(l.Ascent, fm.ascent());
    l.Descent = std::max(l.Descent, fm.descent());
  }
  return l;
}

// Centred vertically when the line fits; otherwise its top stays visible.
qreal TMessageEditor::Baseline(const TLayout& l) const {
  const QRect r = contentsRect();
  const qreal free = r.height() - (l.Ascent + l.Descent);
  return r.top() + std::max<qreal>(0, free / 2) + l.Ascent;
}

void TMessageEditor::EnsureCaretVisible(const TLayout& l) {
  const qreal width = contentsRect().width() - 2 * Margin;
  if (width <= 0) return;
  const qreal x = l.X[std::clamp(caret_, 0, static_cast<int>(l.X.size()) - 1)];
  if (x - scroll_ > width) scroll_ = x - width;
  if (x - scroll_ < 0) scroll_ = x;
  scroll_ = std::max<qreal>(0, std::min(scroll_, std::max<qreal>(0, l.X.back() - width)));
}

int TMessageEditor::HitTest(qreal x) const {
  const TLayout l = Layout();
  const qreal tx = x - contentsRect().left() - Margin + scroll_;
  int best = 0;
  for (int i = 1; i < static_cast<int>(l.X.size()); ++i)
    if (std::abs(l.X[i] - tx) < std::abs(l.X[best] - tx)) best = i;
  return best;
}

void TMessageEditor::paintEvent(QPaintEvent* event) {
  QFrame::paintEvent(event);
  QPainter p(this);
  const QRect r = contentsRect();
  p.setClipRect(r);
  const TLayout l = Layout();
  const qreal baseline = Baseline(l);
  const qreal left = r.left() + Margin - scroll_;
  const int selStart = text_.SelStart(), selEnd = text_.SelStart() + text_.SelLength();
  const QPalette& pal = palette();
  if (selEnd > selStart) {
    const QRectF band(left + l.X[selStart], baseline - l.Ascent, l.X[selEnd] - l.X[selStart],
                      l.Ascent + l.Descent);
    p.fillRect(band, pal.brush(hasFocus() ? QPalette::Active : QPalette::Inactive, QPalette::Highlight));
  }
  for (int i = 0; i < text_.Length(); ++i) {
    const auto& c = text_.At(i);
    p.setFont(DisplayFont(c.Format));
    const bool selected = i >= selStart && i < selEnd;
    p.setPen(pal.color(selected ? QPalette::HighlightedText : QPalette::Text));
    p.drawText(QPointF(left + l.X[i], baseline), Glyph(c));
  }
  if (hasFocus() && caretShown_) {
    const qreal x = std::round(left + l.X[caret_]);
    p.fillRect(QRectF(x, baseline - l.Ascent, 1, l.Ascent + l.Descent), pal.color(QPalette::Text));
  }
}

void TMessageEditor::MoveCaret(int to, bool extend) {
  caret_ = std::clamp(to, 0, text_.Length());
  if (!extend) anchor_ = caret_;
  text_.SetSelection(std::min(anchor_, caret_), std::abs(anchor_ - caret_));
}

void TMessageEditor::InsertText(const QString& typed) {
  for (char32_t u : typed.toUcs4()) {
    if (u < 0x20 || u == 0x7F) continue;  // line ends, tabs and other controls
    if (text_.Length() - text_.SelLength() >= TMessageText::MaxTyped) return;
    const TCharFormat format = text_.SelFormat();
    std::optional<uint8_t> code = UnicodeToCode(u, static_cast<uint8_t>(format.Charset));
    if (!code) {
      for (uint8_t cs : FallbackCharsets) {
        if ((code = UnicodeToCode(u, cs))) {
          text_.SetSelCharset(cs);
          break;
        }
      }
    }
    if (!code) continue;  // no code page of the message holds it
    text_.ReplaceSelection(std::string(1, static_cast<char>(*code)));
  }
}

void TMessageEditor::CopyToClipboard() const {
  if (text_.SelLength() == 0) return;
  QString out;
  for (int i = text_.SelStart(); i < text_.SelStart() + text_.SelLength(); ++i) out += Glyph(text_.At(i));
  QApplication::clipboard()->setText(out);
}

void TMessageEditor::keyPressEvent(QKeyEvent* event) {
  const bool shift = event->modifiers() & Qt::ShiftModifier;
  if (event == QKeySequence::SelectAll) return SelectAll();
  if (event == QKeySequence::Copy) return CopyToClipboard();
  if (event == QKeySequence::Cut) {
    CopyToClipboard();
    if (text_.SelLength() > 0) text_.ReplaceSelection("");
    return;
  }
  if (event == QKeySequence::Paste) return InsertText(QApplication::clipboard()->text());
  switch (event->key()) {
    case Qt::Key_Left:
      if (!shift && anchor_ != caret_) return MoveCaret(std::min(anchor_, caret_), false);
      return MoveCaret(caret_ - 1, shift);
    case Qt::Key_Right:
      if (!shift && anchor_ != caret_) return MoveCaret(std::max(anchor_, caret_), false);
      return MoveCaret(caret_ + 1, shift);
    case Qt::Key_Home: return MoveCaret(0, shift);
    case Qt::Key_End: return MoveCaret(text_.Length(), shift);
    case Qt::Key_Backspace:
    case Qt::Key_Delete:
      if (text_.SelLength() == 0) {
        const int at = event->key() == Qt::Key_Backspace ? caret_ - 1 : caret_;
        if (at < 0 || at >= text_.Length()) return;
        SetSelection(at, 1);
      }
      text_.ReplaceSelection("");
      return;
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Escape:
      event->ignore();  // the dialog's OK and Cancel
      return;
    default: break;
  }
  const QString typed = event->text();
  if (!typed.isEmpty() && !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier)) &&
      typed.at(0).isPrint()) {
    InsertText(typed);
    return;
  }
  QFrame::keyPressEvent(event);
}

void TMessageEditor::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return QFrame::mousePressEvent(event);
  setFocus(Qt::MouseFocusReason);
  MoveCaret(HitTest(event->position().x()), event->modifiers() & Qt::ShiftModifier);
}

void TMessageEditor::mouseMoveEvent(QMouseEvent* event) {
  if (event->buttons() & Qt::LeftButton) MoveCaret(HitTest(event->position().x()), true);
}

void TMessageEditor::mouseDoubleClickEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) SelectAll();
}

void TMessageEditor::focusInEvent(QFocusEvent* event) {
  caretShown_ = true;
  blink_.start();
  QFrame::focusInEvent(event);
  update();
}

void TMessageEditor::focusOutEvent(QFocusEvent* event) {
  blink_.stop();
  QFrame::focusOutEvent(event);
  update();
}

void TMessageEditor::inputMethodEvent(QInputMethodEvent* event) {
  if (!event->commitString().isEmpty()) InsertText(event->commitString());
  event->accept();
}

QVariant TMessageEditor::inputMethodQuery(Qt::InputMethodQuery query) const {
  if (query == Qt::ImEnabled) return true;
  if (query == Qt::ImCursorRectangle) {
    const TLayout l = Layout();
    const qreal x = contentsRect().left() + Margin - scroll_ + l.X[caret_];
    return QRectF(x, Baseline(l) - l.Ascent, 1, l.Ascent + l.Descent).toRect();
  }
  return QFrame::inputMethodQuery(query);
}

QSize TMessageEditor::sizeHint() const { return {360, 80}; }
QSize TMessageEditor::minimumSizeHint() const { return {120, 40}; }

}  // namespace qz
