// TFontEngine: the glyph outlines of the system's TrueType fonts, delivered as the
// Windows outline call delivers them (GlyphRecords.h). fontconfig picks the face for
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
// FreeType and the faces it opened are shared by every engine of the process (one
// library, one face per font file, guarded by a lock), so engines are cheap to make
// and 32 glyphs of one font cost one face lookup.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/GlyphRecords.h"

namespace qz {

// The font of one character as the message holds it, with the size in points at
// which its glyph is read.
struct TFontRequest {
  std::string Name;
  int32_t Size = 0;  // points
  bool Bold = false;
  bool Italic = false;
  uint8_t Charset = 1;
  bool operator==(const TFontRequest&) const = default;
};

// The face fontconfig chose for a request.
struct TFaceChoice {
  bool Found = false;     // false: no TrueType face at all
  std::string Family;     // e.g. "Liberation Sans"
  std::string File;
  int Index = 0;          // face index inside File
  bool SynthBold = false;   // bold asked for, face is not bold
  bool SynthItalic = false; // italic asked for, face is upright
};

class TFontEngine : public IGlyphSource {
 public:
  // Selects the font for the following outline calls (the font of the drawing surface).
  void SelectFont(const TFontRequest& font);

  // See IGlyphSource. The code is read through the charset's code page (CodePages.h);
  // charset 2 through the face's symbol map.
  uint32_t GetGlyphOutline(uint8_t code, TGlyphMetrics& metrics, uint32_t bufferSize,
                           uint8_t* buffer) override;

  // The face that serves a name, style and charset (cached per request).
  static TFaceChoice ResolveFace(const std::string& name, bool bold, bool italic, uint8_t charset);

  // The names of the TrueType faces, sorted without regard to case, each once; names
  // longer than 32 characters are left out (a work cannot name them).
  static std::vector<std::string> TrueTypeFaces();

  // Windows MulDiv: a * b / c rounded to nearest, halves away from zero; -1 for c = 0.
  static int32_t MulDiv(int32_t a, int32_t b, int32_t c);

 private:
  // The records of the last glyph read, so the size query and the read that follows
  // load the glyph once.
  struct TGlyph {
    bool Valid = false;
    bool Failed = false;
    uint8_t Code = 0;
    std::vector<uint8_t> Records;
    TGlyphMetrics Metrics;
  };
  void LoadGlyph(uint8_t code);

  TFontRequest font_;
  TGlyph glyph_;
};

}  // namespace qz
