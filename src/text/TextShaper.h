// Shaping a run of text with HarfBuzz in one face of a font file: which glyphs draw
// it (Arabic letters in their joining forms, Devanagari conjuncts, ligatures) and
// where each stands (kerning, marks on their bases), at an em of whole pixels. The
// font engine calls it for its Shape (TextFonts.h).
//
//   TShapedRun run = ShapeText(file, 0, 683, text, 0, text.size(), false);
//
// HarfBuzz's own OpenType functions read the file, so the glyph indices are those
// hb-shape prints for the same file and text. The faces are opened once per process
// (a lock guards them). A file that cannot be read shapes to the default glyph.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "text/TextFonts.h"

namespace qz {

// text[start, start + length) shaped, the rest of text as context, in the direction
// given; the script is guessed from the text, the language left undetermined.
TShapedRun ShapeText(const std::string& file, int index, int32_t em, std::u32string_view text, size_t start,
                     size_t length, bool rightToLeft);

}  // namespace qz
