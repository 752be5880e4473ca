// ITextFonts: what laying out Unicode text asks of the fonts, beyond the outlines
// (GlyphRecords.h): which face draws a character, and how a run of characters in one
// face is shaped. TFontEngine answers with fontconfig, FreeType and HarfBuzz; tests
// may stand in.
//
//   TCharFace f = fonts.FaceFor(request, U'\u05E9');   // Fallback: a Hebrew face
//   TShapedRun run = fonts.Shape(request, text, 0, 5, true);   // right to left
//   for (const TShapedGlyph& g : run.Glyphs) ...             // in visual order
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace qz {

// The face fontconfig chose for a request.
struct TFaceChoice {
  bool Found = false;     // false: no TrueType face at all
  std::string Family;     // e.g. "Liberation Sans"
  std::string File;
  int Index = 0;          // face index inside File
  bool SynthBold = false;   // bold asked for, face is not bold
  bool SynthItalic = false; // italic asked for, face is upright
  bool operator==(const TFaceChoice&) const = default;
};

// The font of one character as the message holds it, with the size in points at
// which its glyph is read; Face, when found, is the face its glyphs come from instead
// of the one the name gives (a fallback face).
struct TFontRequest {
  std::string Name;
  int32_t Size = 0;  // points
  bool Bold = false;
  bool Italic = false;
  uint8_t Charset = 1;
  TFaceChoice Face = {};
  bool operator==(const TFontRequest&) const = default;
};

// Where a character's glyph comes from.
struct TCharFace {
  enum TKind {
    Own,       // the font's own face has it
    Fallback,  // another installed face has it, in the same weight and slant where one does
    None,      // no installed face has it: Face is the font's own (its default width)
  };
  TKind Kind = None;
  TFaceChoice Face = {};
  uint32_t Glyph = 0;  // the character's glyph index in Face; 0 for None
};

// One glyph of a shaped run. Offsets and advance in 1/64 pixel at the run's size.
struct TShapedGlyph {
  uint32_t Glyph = 0;    // glyph index in the run's face
  uint32_t Cluster = 0;  // index in the text of the first character it draws
  int32_t XAdvance = 0;
  int32_t XOffset = 0;
  int32_t YOffset = 0;
};

struct TShapedRun {
  std::vector<TShapedGlyph> Glyphs;  // in visual order, left to right
  // The run's script draws its letters joined (Arabic and the other cursive scripts,
  // Devanagari, Bengali and Gurmukhi with their headline): glyphs of one word touch.
  bool Joined = false;
};

class ITextFonts {
 public:
  virtual ~ITextFonts() = default;
  // The face that draws character u of a character in font (a code-page character
  // as its code page gives it, a symbol-font code as U+F000 + code).
  virtual TCharFace FaceFor(const TFontRequest& font, char32_t u) = 0;
  // Shapes text[start, start + length) in font's face (font.Face when found) at
  // font's size, left to right or right to left; the rest of text is the context
  // (Arabic letters join across a change of size).
  virtual TShapedRun Shape(const TFontRequest& font, std::u32string_view text, size_t start, size_t length,
                           bool rightToLeft) = 0;
};

}  // namespace qz
