#include "scene/Letters.h"

#include <algorithm>

namespace qz {

void TLetters::Add() {
  if (count_ >= MaxLetters) return;
  letters_[++count_] = std::make_unique<TLetter>();
}

void TLetters::Clear() {
  for (auto& l : letters_) l.reset();
  count_ = 0;
  TextMinX = 65535;
  TextMaxX = -65535;
  TextMinY = 65535;
  TextMaxY = -65535;
}

void TLetters::Widen(int32_t x, int32_t y) {
  TextMinX = std::min(TextMinX, x);
  TextMaxX = std::max(TextMaxX, x);
  TextMinY = std::min(TextMinY, y);
  TextMaxY = std::max(TextMaxY, y);
}

}  // namespace qz
