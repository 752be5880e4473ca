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

// At most this many characters of the message are built (the rest stay in it).
constexpr int MaxBuiltChars = 32;
// Shaping may draw a character with several glyphs (a vowel sign in two parts, an
// accent the font has only apart), each a letter of its own; a message of
// MaxBuiltChars characters is given room for this many glyphs per character, and
// glyphs beyond MaxMessageGlyphs are not read.
constexpr int MaxGlyphsPerChar = 4;
constexpr int MaxMessageGlyphs = MaxBuiltChars * MaxGlyphsPerChar;

class TLetters {
 public:
  // Letter slots: every glyph a full message can make, and one more (the 8-bit
  // layout fills at most MaxBuiltChars of them).
  static constexpr int MaxLetters = MaxMessageGlyphs + 1;

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
  bool Full() const { return count_ >= MaxLetters; }
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
