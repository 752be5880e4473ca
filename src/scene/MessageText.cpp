#include "scene/MessageText.h"

#include <algorithm>

namespace qz {

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

void TMessageText::ReplaceSelection(const std::string& text) {
  const TCharFormat format = SelFormat();
  const int room = std::max(0, MaxTyped - (Length() - selLength_));
  const int count = std::min(static_cast<int>(text.size()), room);
  auto at = chars_.begin() + selStart_;
  at = chars_.erase(at, at + selLength_);
  std::vector<TChar> inserted;
  for (int i = 0; i < count; ++i) inserted.push_back(TChar{static_cast<uint8_t>(text[i]), format});
  chars_.insert(at, inserted.begin(), inserted.end());
  text_.replace(static_cast<size_t>(selStart_), static_cast<size_t>(selLength_), text.substr(0, count));
  selStart_ += count;
  selLength_ = 0;
  typingSet_ = false;
  Changed();
}

void TMessageText::Append(const std::string& text, const TCharFormat& format) {
  for (char c : text) chars_.push_back(TChar{static_cast<uint8_t>(c), format});
  text_ += text;
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

int CountNonBlank(const std::string& text) {
  int n = 0;
  for (char c : text)
    if (c != ' ') ++n;
  return n;
}

}  // namespace qz
