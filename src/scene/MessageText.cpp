#include "scene/MessageText.h"

#include <algorithm>

#include "text/CodePages.h"

namespace qz {

char32_t TMessageText::TChar::CodePoint() const {
  return Wide != 0 ? Wide : CodeToUnicode(Code, CharsetByte(Format.Charset));
}

TMessageText::TChar TMessageText::MakeChar(char32_t u, const TCharFormat& format) {
  if (const auto code = UnicodeToCode(u, CharsetByte(format.Charset))) return TChar{*code, 0, format};
  return TChar{'?', u, format};
}

std::u32string TMessageText::CodePoints() const {
  std::u32string out;
  for (const TChar& c : chars_) out += c.CodePoint();
  return out;
}

void TMessageText::Changed() {
  if (OnSelectionChange) OnSelectionChange();
}

void TMessageText::SetSelection(int start, int length) {
  const int n = Length();
  start = std::clamp(start, 0, n);
  length = std::clamp(length, 0, n - start);
  if (start != selStart_ || length != selLength_) typingSet_ = false;
  selStart_ = start;
  selLength_ = length;
  Changed();
}

TCharFormat TMessageText::SelFormat() const {
  if (selLength_ > 0) return chars_[selStart_].Format;
  if (typingSet_) return typing_;
  // Typing continues the format of the character before the caret, as in a
  // rich-text control; at the very start it takes the first character's.
  if (selStart_ > 0) return chars_[selStart_ - 1].Format;
  if (!chars_.empty()) return chars_[0].Format;
  return default_;
}

template <typename F>
void TMessageText::ForSelection(F apply) {
  if (selLength_ == 0) {
    typing_ = SelFormat();
    apply(typing_);
    typingSet_ = true;
    return;
  }
  for (int i = selStart_; i < selStart_ + selLength_; ++i) apply(chars_[i].Format);
  Changed();
}

void TMessageText::SetSelFormat(const TCharFormat& format) {
  ForSelection([&](TCharFormat& f) { f = format; });
}
void TMessageText::SetSelName(const std::string& name) {
  ForSelection([&](TCharFormat& f) { f.Name = name; });
}
void TMessageText::SetSelSize(int32_t size) {
  ForSelection([&](TCharFormat& f) { f.Size = size; });
}
void TMessageText::SetSelCharset(int32_t charset) {
  ForSelection([&](TCharFormat& f) { f.Charset = charset; });
  // A code keeps its byte and so reads through the new code page; a character held
  // by its code point becomes a code of the new charset when that one holds it.
  for (int i = selStart_; i < selStart_ + selLength_; ++i) {
    TChar& c = chars_[i];
    if (c.Wide == 0) continue;
    c = MakeChar(c.Wide, c.Format);
    text_[i] = static_cast<char>(c.Code);
  }
}
void TMessageText::SetSelBold(bool on) {
  ForSelection([&](TCharFormat& f) { f.Bold = on; });
}
void TMessageText::SetSelItalic(bool on) {
  ForSelection([&](TCharFormat& f) { f.Italic = on; });
}
void TMessageText::SetSelUnderline(bool on) {
  ForSelection([&](TCharFormat& f) { f.Underline = on; });
}

void TMessageText::Insert(const std::vector<TChar>& chars) {
  const int room = std::max(0, MaxTyped - (Length() - selLength_));
  const int count = std::min(static_cast<int>(chars.size()), room);
  auto at = chars_.begin() + selStart_;
  at = chars_.erase(at, at + selLength_);
  chars_.insert(at, chars.begin(), chars.begin() + count);
  std::string codes;
  for (int i = 0; i < count; ++i) codes += static_cast<char>(chars[i].Code);
  text_.replace(static_cast<size_t>(selStart_), static_cast<size_t>(selLength_), codes);
  selStart_ += count;
  selLength_ = 0;
  typingSet_ = false;
  Changed();
}

void TMessageText::ReplaceSelection(const std::string& text) {
  const TCharFormat format = SelFormat();
  std::vector<TChar> chars;
  for (char c : text) chars.push_back(TChar{static_cast<uint8_t>(c), 0, format});
  Insert(chars);
}

void TMessageText::ReplaceSelection(std::u32string_view text) {
  TCharFormat format = SelFormat();
  std::vector<TChar> chars;
  for (char32_t u : text) chars.push_back(TypedChar(u, format));
  Insert(chars);
}

void TMessageText::Append(const std::string& text, const TCharFormat& format) {
  for (char c : text) chars_.push_back(TChar{static_cast<uint8_t>(c), 0, format});
  text_ += text;
  Changed();
}

void TMessageText::Append(const TChar& c) {
  chars_.push_back(c);
  text_ += static_cast<char>(c.Code);
  Changed();
}

void TMessageText::Clear() {
  chars_.clear();
  text_.clear();
  selStart_ = selLength_ = 0;
  typingSet_ = false;
  Changed();
}

void TMessageText::CopySelectionTo(TMessageText& dest) const {
  const int room = std::max(0, MaxTyped - (dest.Length() - dest.selLength_));
  const int count = std::min(selLength_, room);
  auto at = dest.chars_.begin() + dest.selStart_;
  at = dest.chars_.erase(at, at + dest.selLength_);
  dest.text_.erase(static_cast<size_t>(dest.selStart_), static_cast<size_t>(dest.selLength_));
  dest.chars_.insert(at, chars_.begin() + selStart_, chars_.begin() + selStart_ + count);
  dest.text_.insert(static_cast<size_t>(dest.selStart_), text_.substr(static_cast<size_t>(selStart_), static_cast<size_t>(count)));
  dest.selStart_ += count;
  dest.selLength_ = 0;
  dest.typingSet_ = false;
  dest.Changed();
}

TMessageText::TChar TypedChar(char32_t u, TCharFormat& format) {
  if (const auto charset = CharsetHolding(u, CharsetByte(format.Charset)); charset && *charset != CharsetByte(format.Charset))
    format.Charset = *charset;
  return TMessageText::MakeChar(u, format);
}

int CountNonBlank(const std::string& text) {
  int n = 0;
  for (char c : text)
    if (c != ' ') ++n;
  return n;
}

}  // namespace qz
