#include "text/FontEngine.h"

#include <fontconfig/fontconfig.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <mutex>
#include <optional>
#include <tuple>

#include "text/CodePages.h"
#include "text/NativeOutline.h"
#include "text/TextShaper.h"

namespace qz {

namespace {

constexpr size_t MaxFaceNameLength = 32;  // a face name of a work or a font list
constexpr int32_t MaxPixelEm = 0xFFFF;    // FreeType's largest em
// The shear of a synthesised italic (FT_GlyphSlot_Oblique: about 12 degrees).
constexpr FT_Fixed ObliqueShear = 0x0366A;

// The language that steers fontconfig's fallback for a charset, so the choice does
// not depend on the locale of the environment.
const char* LanguageOfCharset(uint8_t charset) {
  switch (CodePageOfCharset(charset)) {
    case 1250: return "pl";
    case 1251: return "ru";
    case 1253: return "el";
    case 1254: return "tr";
    case 1255: return "he";
    case 1256: return "ar";
    case 1257: return "lt";
    case 1258: return "vi";
    case 874: return "th";
    default: return "en";
  }
}

std::string PatternString(FcPattern* p, const char* object) {
  FcChar8* s = nullptr;
  if (FcPatternGetString(p, object, 0, &s) != FcResultMatch || s == nullptr) return {};
  return reinterpret_cast<const char*>(s);
}

int PatternInt(FcPattern* p, const char* object, int fallback) {
  int v = fallback;
  FcPatternGetInteger(p, object, 0, &v);
  return v;
}

bool IsTrueTypeOutline(FcPattern* p) {
  FcBool outline = FcTrue;
  FcPatternGetBool(p, FC_OUTLINE, 0, &outline);
  return outline && PatternString(p, FC_FONTFORMAT) == "TrueType";
}

// The face of a pattern fontconfig listed, with what it lacks of the style asked for.
TFaceChoice ChoiceOf(FcPattern* f, bool bold, bool italic) {
  TFaceChoice choice;
  choice.File = PatternString(f, FC_FILE);
  choice.Found = !choice.File.empty();
  choice.Family = PatternString(f, FC_FAMILY);
  choice.Index = PatternInt(f, FC_INDEX, 0);
  choice.SynthBold = bold && PatternInt(f, FC_WEIGHT, FC_WEIGHT_REGULAR) < FC_WEIGHT_DEMIBOLD;
  choice.SynthItalic = italic && PatternInt(f, FC_SLANT, FC_SLANT_ROMAN) == FC_SLANT_ROMAN;
  return choice;
}

// The pattern of a request: its name as the family, its weight, slant and language,
// substituted as the configuration says.
FcPattern* RequestPattern(const std::string& name, bool bold, bool italic, uint8_t charset) {
  FcPattern* pattern = FcPatternCreate();
  if (!pattern) return nullptr;
  if (!name.empty())
    FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(name.c_str()));
  FcPatternAddInteger(pattern, FC_WEIGHT, bold ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
  FcPatternAddInteger(pattern, FC_SLANT, italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
  FcPatternAddString(pattern, FC_LANG, reinterpret_cast<const FcChar8*>(LanguageOfCharset(charset)));
  FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
  FcDefaultSubstitute(pattern);
  return pattern;
}

// FcConfigSubstitute and FcDefaultSubstitute turn the name into the families the
// configuration prefers (the metric-compatible substitutes of the Windows fonts);
// FcFontSort orders every face by that, and the first TrueType face wins (a
// pattern's format only weights a match, it never excludes one).
TFaceChoice MatchFace(const std::string& name, bool bold, bool italic, uint8_t charset) {
  TFaceChoice choice;
  FcPattern* pattern = RequestPattern(name, bold, italic, charset);
  if (!pattern) return choice;
  FcResult result = FcResultNoMatch;
  FcFontSet* fonts = FcFontSort(nullptr, pattern, FcFalse, nullptr, &result);
  if (fonts) {
    for (int i = 0; i < fonts->nfont; ++i) {
      FcPattern* f = fonts->fonts[i];
      if (!IsTrueTypeOutline(f)) continue;
      choice = ChoiceOf(f, bold, italic);
      if (choice.Found) break;
    }
    FcFontSetDestroy(fonts);
  }
  FcPatternDestroy(pattern);
  return choice;
}

// The glyph of a Unicode character in a face's Unicode map; 0 when it has none.
FT_UInt UnicodeGlyph(FT_Face face, char32_t u) {
  if (FT_Select_Charmap(face, FT_ENCODING_UNICODE) != 0) return 0;
  return FT_Get_Char_Index(face, u);
}

// The process's FreeType library, its open faces and the face choices made so far.
class TFaceCache {
 public:
  static TFaceCache& Instance() {
    static TFaceCache cache;
    return cache;
  }
  std::mutex Lock;

  TFaceChoice Choose(const std::string& name, bool bold, bool italic, uint8_t charset) {
    auto key = std::make_tuple(name, bold, italic, LanguageOfCharset(charset));
    auto it = choices_.find(key);
    if (it == choices_.end()) it = choices_.emplace(key, MatchFace(name, bold, italic, charset)).first;
    return it->second;
  }

  // The first TrueType face in fontconfig's order for the request whose character
  // map holds u, with its glyph for u; Found false when no face has one. Sorting every
  // face by the request once and then taking the first that holds u gives the order
  // a sort with u's character set would give (fontconfig ranks the character set
  // before the family, the style and the rest).
  std::pair<TFaceChoice, FT_UInt> Fallback(const std::string& name, bool bold, bool italic, uint8_t charset,
                                           char32_t u) {
    auto key = std::make_tuple(name, bold, italic, LanguageOfCharset(charset), u);
    auto it = fallbacks_.find(key);
    if (it != fallbacks_.end()) return it->second;
    std::pair<TFaceChoice, FT_UInt> found{};
    FcFontSet* sorted = SortedFaces(name, bold, italic, charset);
    for (int i = 0; sorted && i < sorted->nfont; ++i) {
      FcPattern* f = sorted->fonts[i];
      FcCharSet* chars = nullptr;
      if (!IsTrueTypeOutline(f) || FcPatternGetCharSet(f, FC_CHARSET, 0, &chars) != FcResultMatch ||
          !FcCharSetHasChar(chars, u))
        continue;
      const TFaceChoice choice = ChoiceOf(f, bold, italic);
      FT_Face face = choice.Found ? Face(choice.File, choice.Index) : nullptr;
      const FT_UInt glyph = face ? UnicodeGlyph(face, u) : 0;
      if (glyph == 0) continue;  // fontconfig's table and the face disagree
      found = {choice, glyph};
      break;
    }
    fallbacks_.emplace(key, found);
    return found;
  }

  // The face of a file, opened once; null when FreeType cannot open it.
  FT_Face Face(const std::string& file, int index) {
    if (!library_) return nullptr;
    auto key = std::make_pair(file, index);
    auto it = faces_.find(key);
    if (it != faces_.end()) return it->second;
    FT_Face face = nullptr;
    if (FT_New_Face(library_, file.c_str(), index, &face) != 0) face = nullptr;
    faces_.emplace(key, face);
    return face;
  }

 private:
  TFaceCache() {
    if (FT_Init_FreeType(&library_) != 0) library_ = nullptr;
  }
  ~TFaceCache() {
    for (auto& [key, set] : sorted_)
      if (set) FcFontSetDestroy(set);
    for (auto& [key, face] : faces_)
      if (face) FT_Done_Face(face);
    if (library_) FT_Done_FreeType(library_);
  }

  FT_Library library_ = nullptr;
  std::map<std::pair<std::string, int>, FT_Face> faces_;
  std::map<std::tuple<std::string, bool, bool, std::string>, TFaceChoice> choices_;
  std::map<std::tuple<std::string, bool, bool, std::string>, FcFontSet*> sorted_;
  std::map<std::tuple<std::string, bool, bool, std::string, char32_t>, std::pair<TFaceChoice, FT_UInt>> fallbacks_;

  FcFontSet* SortedFaces(const std::string& name, bool bold, bool italic, uint8_t charset) {
    auto key = std::make_tuple(name, bold, italic, std::string(LanguageOfCharset(charset)));
    auto it = sorted_.find(key);
    if (it != sorted_.end()) return it->second;
    FcFontSet* set = nullptr;
    if (FcPattern* pattern = RequestPattern(name, bold, italic, charset)) {
      FcResult result = FcResultNoMatch;
      set = FcFontSort(nullptr, pattern, FcFalse, nullptr, &result);
      FcPatternDestroy(pattern);
    }
    sorted_.emplace(key, set);
    return set;
  }
};

// The glyph of a code: through the charset's code page into the Unicode map, or for
// the symbol charset through the face's symbol map, where a code may be stored as
// itself or as 0xF000 + code. A face without the map asked for tries the other one.
FT_UInt GlyphIndex(FT_Face face, uint8_t code, uint8_t charset) {
  auto bySymbolMap = [&]() -> FT_UInt {
    if (FT_Select_Charmap(face, FT_ENCODING_MS_SYMBOL) != 0) return 0;
    FT_UInt g = FT_Get_Char_Index(face, code);
    return g != 0 ? g : FT_Get_Char_Index(face, 0xF000u + code);
  };
  auto byUnicode = [&](uint8_t cs) -> FT_UInt {
    if (FT_Select_Charmap(face, FT_ENCODING_UNICODE) != 0) return 0;
    return FT_Get_Char_Index(face, CodeToUnicode(code, cs));
  };
  if (charset == SymbolCharset) {
    FT_UInt g = bySymbolMap();
    return g != 0 ? g : byUnicode(0);
  }
  FT_UInt g = byUnicode(charset);
  return g != 0 ? g : bySymbolMap();
}

// The glyph that the font of a message character draws for it: a code-page
// character (a symbol code as U+F000 + code) exactly as reading its code
// (GetGlyphOutline) finds it, any other character through the Unicode map.
FT_UInt OwnGlyph(FT_Face face, char32_t u, uint8_t charset) {
  if (charset == SymbolCharset && u >= 0xF000 && u <= 0xF0FF) return GlyphIndex(face, static_cast<uint8_t>(u - 0xF000), charset);
  if (const std::optional<uint8_t> code = UnicodeToCode(u, charset)) return GlyphIndex(face, *code, charset);
  return UnicodeGlyph(face, u);
}

// The em in whole pixels for a point size on a 96-dpi screen, rounded to nearest (a
// fractional em would move every point); nothing for a size beyond FreeType's
// largest em. MulDiv gives -1 when the product leaves the 32-bit range: for a size
// from a work of 2147483647 points that is an em far beyond the largest, not the
// smallest one.
std::optional<int32_t> PixelEm(int32_t points) {
  const int32_t scaled = TFontEngine::MulDiv(points, 96, 72);
  if (points > 0 && scaled < 0) return std::nullopt;
  const int32_t em = std::max(scaled, 1);
  if (em > MaxPixelEm) return std::nullopt;
  return em;
}

// How far a synthesised bold widens the outline (and a non-zero advance), in 26.6
// units of the face's current size (FT_GlyphSlot_Embolden's strength).
FT_Pos EmboldenStrength(FT_Face face) { return FT_MulFix(face->units_per_EM, face->size->metrics.y_scale) / 24; }

int16_t Saturate16(int64_t v) {
  return static_cast<int16_t>(std::clamp<int64_t>(v, INT16_MIN, INT16_MAX));
}

}  // namespace

int32_t TFontEngine::MulDiv(int32_t a, int32_t b, int32_t c) {
  if (c == 0) return -1;
  const int64_t p = static_cast<int64_t>(a) * b;
  const bool negative = (p < 0) != (c < 0);
  const int64_t ap = p < 0 ? -p : p;
  const int64_t ac = c < 0 ? -static_cast<int64_t>(c) : c;
  const int64_t q = (ap + ac / 2) / ac;
  const int64_t r = negative ? -q : q;
  if (r > INT32_MAX || r < INT32_MIN) return -1;
  return static_cast<int32_t>(r);
}

void TFontEngine::SelectFont(const TFontRequest& font) {
  if (font == font_) return;
  font_ = font;
  glyph_.Valid = false;
}

TFaceChoice TFontEngine::ResolveFace(const std::string& name, bool bold, bool italic, uint8_t charset) {
  TFaceCache& cache = TFaceCache::Instance();
  std::lock_guard<std::mutex> hold(cache.Lock);
  return cache.Choose(name, bold, italic, charset);
}

void TFontEngine::LoadGlyph(bool byIndex, uint32_t value) {
  glyph_ = TGlyph{};
  glyph_.Valid = true;
  glyph_.ByIndex = byIndex;
  glyph_.Value = value;
  glyph_.Failed = true;

  TFaceCache& cache = TFaceCache::Instance();
  std::lock_guard<std::mutex> hold(cache.Lock);
  const TFaceChoice choice =
      font_.Face.Found ? font_.Face : cache.Choose(font_.Name, font_.Bold, font_.Italic, font_.Charset);
  if (!choice.Found) return;
  FT_Face face = cache.Face(choice.File, choice.Index);
  if (!face) return;

  const std::optional<int32_t> em = PixelEm(font_.Size);
  if (!em || FT_Set_Pixel_Sizes(face, 0, static_cast<FT_UInt>(*em)) != 0) return;
  const FT_UInt index = byIndex ? value : GlyphIndex(face, static_cast<uint8_t>(value), font_.Charset);
  if (FT_Load_Glyph(face, index, FT_LOAD_NO_HINTING | FT_LOAD_NO_BITMAP) != 0) return;
  FT_GlyphSlot slot = face->glyph;
  if (slot->format != FT_GLYPH_FORMAT_OUTLINE) return;

  FT_Pos advance = slot->advance.x;
  if (choice.SynthBold) {
    const FT_Pos strength = EmboldenStrength(face);
    FT_Outline_EmboldenXY(&slot->outline, strength, strength);
    if (advance != 0) advance += strength;
  }
  if (choice.SynthItalic) {
    FT_Matrix shear{0x10000, ObliqueShear, 0, 0x10000};
    FT_Outline_Transform(&slot->outline, &shear);
  }
  if (!MakeNativeOutline(slot->outline, glyph_.Records)) return;

  TGlyphMetrics& m = glyph_.Metrics;
  m.gmCellIncX = Saturate16((advance + 32) >> 6);
  m.gmCellIncY = 0;
  if (slot->outline.n_points > 0) {
    FT_BBox box;
    FT_Outline_Get_CBox(&slot->outline, &box);
    const int64_t left = box.xMin >> 6, right = (box.xMax + 63) >> 6;
    const int64_t bottom = box.yMin >> 6, top = (box.yMax + 63) >> 6;
    m.gmBlackBoxX = static_cast<uint32_t>(std::max<int64_t>(right - left, 1));
    m.gmBlackBoxY = static_cast<uint32_t>(std::max<int64_t>(top - bottom, 1));
    m.gmptGlyphOriginX = static_cast<int32_t>(left);
    m.gmptGlyphOriginY = static_cast<int32_t>(top);
  } else {
    m.gmBlackBoxX = m.gmBlackBoxY = 1;  // a blank: an ink box of one pixel, no records
  }
  glyph_.Failed = false;
}

uint32_t TFontEngine::CopyGlyph(bool byIndex, uint32_t value, TGlyphMetrics& metrics, uint32_t bufferSize,
                                uint8_t* buffer) {
  if (!glyph_.Valid || glyph_.ByIndex != byIndex || glyph_.Value != value) LoadGlyph(byIndex, value);
  if (glyph_.Failed) return GDI_ERROR;
  const uint32_t size = static_cast<uint32_t>(glyph_.Records.size());
  metrics = glyph_.Metrics;
  if (bufferSize == 0 || buffer == nullptr) return size;
  if (bufferSize < size) return GDI_ERROR;
  std::copy(glyph_.Records.begin(), glyph_.Records.end(), buffer);
  return size;
}

uint32_t TFontEngine::GetGlyphOutline(uint8_t code, TGlyphMetrics& metrics, uint32_t bufferSize,
                                      uint8_t* buffer) {
  return CopyGlyph(false, code, metrics, bufferSize, buffer);
}

uint32_t TFontEngine::GetGlyphOutlineOfIndex(uint32_t glyph, TGlyphMetrics& metrics, uint32_t bufferSize,
                                             uint8_t* buffer) {
  return CopyGlyph(true, glyph, metrics, bufferSize, buffer);
}

TCharFace TFontEngine::FaceFor(const TFontRequest& font, char32_t u) {
  TFaceCache& cache = TFaceCache::Instance();
  std::lock_guard<std::mutex> hold(cache.Lock);
  TCharFace result;
  result.Face = font.Face.Found ? font.Face : cache.Choose(font.Name, font.Bold, font.Italic, font.Charset);
  FT_Face face = result.Face.Found ? cache.Face(result.Face.File, result.Face.Index) : nullptr;
  if (face) {
    result.Glyph = OwnGlyph(face, u, font.Charset);
    if (result.Glyph != 0) {
      result.Kind = TCharFace::Own;
      return result;
    }
  }
  const auto [fallback, glyph] = cache.Fallback(font.Name, font.Bold, font.Italic, font.Charset, u);
  if (fallback.Found && !(fallback.File == result.Face.File && fallback.Index == result.Face.Index)) {
    result = {TCharFace::Fallback, fallback, glyph};
    return result;
  }
  result.Kind = TCharFace::None;
  result.Glyph = 0;
  return result;
}

TShapedRun TFontEngine::Shape(const TFontRequest& font, std::u32string_view text, size_t start, size_t length,
                              bool rightToLeft) {
  const std::optional<int32_t> em = PixelEm(font.Size);
  TFaceChoice choice = font.Face;
  FT_Pos strength = 0;
  {
    TFaceCache& cache = TFaceCache::Instance();
    std::lock_guard<std::mutex> hold(cache.Lock);
    if (!choice.Found) choice = cache.Choose(font.Name, font.Bold, font.Italic, font.Charset);
    FT_Face face = choice.Found ? cache.Face(choice.File, choice.Index) : nullptr;
    if (!face || !em || FT_Set_Pixel_Sizes(face, 0, static_cast<FT_UInt>(*em)) != 0) return {};
    if (choice.SynthBold) strength = EmboldenStrength(face);
  }
  TShapedRun run = ShapeText(choice.File, choice.Index, *em, text, start, length, rightToLeft);
  // A synthesised bold is wider by its strength, as a glyph read alone is widened.
  for (TShapedGlyph& g : run.Glyphs)
    if (g.XAdvance != 0) g.XAdvance += static_cast<int32_t>(strength);
  return run;
}

std::vector<char32_t> TFontEngine::CoveredCharacters(const std::string& name) {
  std::vector<char32_t> chars;
  TFaceCache& cache = TFaceCache::Instance();
  std::lock_guard<std::mutex> hold(cache.Lock);
  const TFaceChoice choice = cache.Choose(name, false, false, 1);
  FT_Face face = choice.Found ? cache.Face(choice.File, choice.Index) : nullptr;
  if (!face || FT_Select_Charmap(face, FT_ENCODING_UNICODE) != 0) return chars;
  FT_UInt glyph = 0;
  for (FT_ULong u = FT_Get_First_Char(face, &glyph); glyph != 0; u = FT_Get_Next_Char(face, u, &glyph))
    chars.push_back(static_cast<char32_t>(u));
  std::sort(chars.begin(), chars.end());
  return chars;
}

int32_t TFontEngine::TypingCharset(const std::string& name) {
  TFaceCache& cache = TFaceCache::Instance();
  std::lock_guard<std::mutex> hold(cache.Lock);
  const TFaceChoice choice = cache.Choose(name, false, false, 1);
  FT_Face face = choice.Found ? cache.Face(choice.File, choice.Index) : nullptr;
  if (!face) return 1;
  bool symbol = false;
  for (int i = 0; i < face->num_charmaps; ++i) {
    if (face->charmaps[i]->encoding == FT_ENCODING_UNICODE) return 1;
    symbol = symbol || face->charmaps[i]->encoding == FT_ENCODING_MS_SYMBOL;
  }
  return symbol ? 2 : 1;
}

std::vector<std::string> TFontEngine::TrueTypeFaces() {
  std::vector<std::string> names;
  FcPattern* pattern = FcPatternCreate();
  FcObjectSet* objects = FcObjectSetBuild(FC_FAMILY, FC_FONTFORMAT, FC_OUTLINE, nullptr);
  FcFontSet* fonts = pattern && objects ? FcFontList(nullptr, pattern, objects) : nullptr;
  if (fonts) {
    for (int i = 0; i < fonts->nfont; ++i) {
      FcPattern* f = fonts->fonts[i];
      if (!IsTrueTypeOutline(f)) continue;
      FcChar8* family = nullptr;
      for (int n = 0; FcPatternGetString(f, FC_FAMILY, n, &family) == FcResultMatch; ++n) {
        std::string name = reinterpret_cast<const char*>(family);
        if (!name.empty() && name.size() <= MaxFaceNameLength) names.push_back(std::move(name));
      }
    }
    FcFontSetDestroy(fonts);
  }
  if (objects) FcObjectSetDestroy(objects);
  if (pattern) FcPatternDestroy(pattern);

  // Sorted as a list box sorts: without regard to case, ties by the bytes.
  auto folded = [](std::string s) {
    for (char& c : s)
      if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + 32);
    return s;
  };
  std::sort(names.begin(), names.end(), [&](const std::string& a, const std::string& b) {
    const std::string fa = folded(a), fb = folded(b);
    return fa != fb ? fa < fb : a < b;
  });
  names.erase(std::unique(names.begin(), names.end()), names.end());
  return names;
}

}  // namespace qz
