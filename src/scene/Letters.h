// TLetters: the letters of one build, in message order, numbered from 1, with the
// box over every glyph point read since they were cleared (the message box the
// layout centres on the origin).
//
//   TLetters letters;
//   letters.Add();                       // an empty letter in the next slot
//   letters.Widen(x, y);                 // a glyph point read
//   for (int i = 1; i <= letters.Count(); ++i) use(letters[i]);
#pragma once

#include <array>
#include <cstdint>
#include <memory>

#include "scene/Letter.h"

namespace qz {

class TLetters {
 public:
  static constexpr int MaxLetters = 33;  // letter slots (a build fills at most 32)

  TLetters() { Clear(); }
  TLetters(const TLetters&) = delete;
  TLetters& operator=(const TLetters&) = delete;

  int32_t Count() const { return count_; }
  TLetter& operator[](int i) { return *letters_[i]; }
  const TLetter& operator[](int i) const { return *letters_[i]; }
  // The letter added last; there must be one.
  TLetter& Last() { return *letters_[count_]; }

  // Adds an empty letter in the next slot; does nothing when all are used.
  void Add();
  // No letters, and the box at its start values (nothing read).
  void Clear();
  // Takes a glyph point into the box.
  void Widen(int32_t x, int32_t y);

  // The box of every glyph point read since Clear.
  int32_t TextMinX = 65535, TextMaxX = -65535, TextMinY = 65535, TextMaxY = -65535;

 private:
  std::array<std::unique_ptr<TLetter>, MaxLetters + 1> letters_;  // letters_[0] unused
  int32_t count_ = 0;
};

}  // namespace qz
