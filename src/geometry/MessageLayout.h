// Laying the message out as letters: which face draws each character, in which order
// the glyphs stand on the line, and where. Two ways:
//
// - The 8-bit rules (a design without shaping): one letter per character in message
//   order, read in the character's own font (a code-page character by its code, as
//   the font engine reads a code), the pen moving on by each glyph's advance plus the
//   bevel's room, 2 * TxtW.
// - Shaping: the bidirectional algorithm (FriBidi) gives every character a level and
//   the line its visual order; each run of consecutive characters in one face, size,
//   style and direction is shaped (HarfBuzz: kerning, joining forms, conjuncts, marks
//   on their bases) and each glyph becomes a letter at its shaped place. The bevel's
//   room goes between the glyphs of different characters, but not inside a word of a
//   script whose letters join. A character of a symbol font is read by its code.
//
// Either way, a character its font lacks is drawn from a fallback face, and one no
// installed face has becomes a blank of its font's default width; one notice names
// each fallback face with its characters and the characters no face has (as U+XXXX).
// Every letter records the character, the glyph index and the font file it came from.
//
//   TGlyphReader reader(letters, params.SplPnt, params.TxtW, messages);
//   LayOutMessage(chars, params.Shaping, reader, {glyphs, fonts, select}, messages);
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "geometry/GlyphOutline.h"
#include "text/GlyphRecords.h"
#include "base/Sinks.h"
#include "text/TextFonts.h"

namespace qz {

// One character as the layout reads it.
struct TLayoutChar {
  char32_t CodePoint = ' ';
  std::optional<uint8_t> Code;  // its 8-bit code when its charset's code page holds it
  TFontRequest Font;            // its font, the size already enlarged (GlyphPointSize)
  std::string Which = {};       // how an engine error names it (its place, itself, its font)
};

// Called before glyphs are read in a font (its Face set for a fallback face).
using TSelectFont = std::function<void(const TFontRequest&)>;

struct TLayoutFonts {
  IGlyphSource& Glyphs;
  ITextFonts& Text;
  TSelectFont Select;
};

void LayOutMessage(const std::vector<TLayoutChar>& chars, bool shaping, TGlyphReader& reader,
                   const TLayoutFonts& fonts, IMessageSink& messages);

}  // namespace qz
