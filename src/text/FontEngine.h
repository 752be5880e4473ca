// TFontEngine: the glyph outlines of the system's TrueType fonts, delivered as native
// outline records (GlyphRecords.h). fontconfig picks the face for
// a name, bold, italic and character set among TrueType-format faces ("Arial" becomes
// Liberation Sans, "Times New Roman" Liberation Serif, "Courier New" Liberation Mono;
// an unknown name gets fontconfig's fallback); FreeType loads the glyph unhinted at an
// em of MulDiv(points, 96, 72) whole pixels (at least 1; above 65535, or a glyph that
// reaches 32768 pixels, the call fails). Bold and italic that the face lacks are
// synthesised: the outline is emboldened (and the advance widened) as
// FT_GlyphSlot_Embolden does, then sheared as FT_GlyphSlot_Oblique does.
//
//   TFontEngine fonts;
//   fonts.SelectFont({"Arial", 512, false, false, 0});   // 18 pt read at 512/18
//   TGlyphMetrics gm;
//   uint32_t size = fonts.GetGlyphOutline('o', gm, 0, nullptr);
//
// A character the chosen face lacks is drawn from another face (FaceFor): the first
// TrueType face in fontconfig's order for the same name, weight, slant and language
// whose character map holds it. Runs of text in one face are shaped with HarfBuzz
// (Shape, TextShaper.h); their glyphs are read by index (GetGlyphOutlineOfIndex).
//
// FreeType and the faces it opened are shared by every engine of the process (one
// library, one face per font file, guarded by a lock), so engines are cheap to make
// and 32 glyphs of one font cost one face lookup.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "text/GlyphRecords.h"
#include "text/TextFonts.h"

namespace qz {

class TFontEngine : public IGlyphSource, public ITextFonts {
 public:
  // Selects the font for the following outline calls (the font of the drawing surface).
  void SelectFont(const TFontRequest& font);

  // See IGlyphSource. The code is read through the charset's code page (CodePages.h);
  // charset 2 through the face's symbol map.
  uint32_t GetGlyphOutline(uint8_t code, TGlyphMetrics& metrics, uint32_t bufferSize,
                           uint8_t* buffer) override;
  uint32_t GetGlyphOutlineOfIndex(uint32_t glyph, TGlyphMetrics& metrics, uint32_t bufferSize,
                                  uint8_t* buffer) override;

  // See ITextFonts.
  TCharFace FaceFor(const TFontRequest& font, char32_t u) override;
  TShapedRun Shape(const TFontRequest& font, std::u32string_view text, size_t start, size_t length,
                   bool rightToLeft) override;

  // The characters the face of a name (upright, regular) maps, ascending: what the
  // character map can offer of the Unicode blocks. Empty for a face without a Unicode
  // map (a symbol font) or when there is no face.
  static std::vector<char32_t> CoveredCharacters(const std::string& name);

  // The charset characters typed in the face of a name are given: 2 (symbol codes) for
  // a face that has only a symbol map, else 1 (the default charset).
  static int32_t TypingCharset(const std::string& name);

  // The face that serves a name, style and charset (cached per request).
  static TFaceChoice ResolveFace(const std::string& name, bool bold, bool italic, uint8_t charset);

  // The names of the TrueType faces, sorted without regard to case, each once; names
  // longer than 32 characters are left out (a work cannot name them).
  static std::vector<std::string> TrueTypeFaces();

  // a * b / c rounded to nearest, halves away from zero; -1 for c = 0 (the point size
  // to the em, without overflow on the way).
  static int32_t MulDiv(int32_t a, int32_t b, int32_t c);

 private:
  // The records of the last glyph read, so the size query and the read that follows
  // load the glyph once.
  struct TGlyph {
    bool Valid = false;
    bool Failed = false;
    bool ByIndex = false;  // Value is a glyph index, else an 8-bit code
    uint32_t Value = 0;
    std::vector<uint8_t> Records;
    TGlyphMetrics Metrics;
  };
  void LoadGlyph(bool byIndex, uint32_t value);
  uint32_t CopyGlyph(bool byIndex, uint32_t value, TGlyphMetrics& metrics, uint32_t bufferSize, uint8_t* buffer);

  TFontRequest font_;
  TGlyph glyph_;
};

}  // namespace qz
