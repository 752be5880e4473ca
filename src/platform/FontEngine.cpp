#include "platform/FontEngine.h"

#include <fontconfig/fontconfig.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <mutex>
#include <tuple>

#include "platform/CodePages.h"
#include "platform/NativeOutline.h"

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

// FcConfigSubstitute and FcDefaultSubstitute turn the name into the families the
// configuration prefers (the metric-compatible substitutes of the Windows fonts);
// FcFontSort orders every face by that, and the first TrueType face wins (a
// pattern's format only weights a match, it never excludes one).
TFaceChoice MatchFace(const std::string& name, bool bold, bool italic, uint8_t charset) {
  TFaceChoice choice;
  FcPattern* pattern = FcPatternCreate();
  if (!pattern) return choice;
  if (!name.empty())
    FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(name.c_str()));
  FcPatternAddInteger(pattern, FC_WEIGHT, bold ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
  FcPatternAddInteger(pattern, FC_SLANT, italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
  FcPatternAddString(pattern, FC_LANG, reinterpret_cast<const FcChar8*>(LanguageOfCharset(charset)));
  FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
  FcDefaultSubstitute(pattern);
  FcResult result = FcResultNoMatch;
  FcFontSet* fonts = FcFontSort(nullptr, pattern, FcFalse, nullptr, &result);
  if (fonts) {
    for (int i = 0; i < fonts->nfont; ++i) {
      FcPattern* f = fonts->fonts[i];
      if (!IsTrueTypeOutline(f)) continue;
      choice.File = PatternString(f, FC_FILE);
      if (choice.File.empty()) continue;
      choice.Found = true;
      choice.Family = PatternString(f, FC_FAMILY);
      choice.Index = PatternInt(f, FC_INDEX, 0);
      choice.SynthBold = bold && PatternInt(f, FC_WEIGHT, FC_WEIGHT_REGULAR) < FC_WEIGHT_DEMIBOLD;
      choice.SynthItalic = italic && PatternInt(f, FC_SLANT, FC_SLANT_ROMAN) == FC_SLANT_ROMAN;
      break;
    }
    FcFontSetDestroy(fonts);
  }
  FcPatternDestroy(pattern);
  return choice;
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
    for (auto& [key, face] : faces_)
      if (face) FT_Done_Face(face);
    if (library_) FT_Done_FreeType(library_);
  }

  FT_Library library_ = nullptr;
  std::map<std::pair<std::string, int>, FT_Face> faces_;
  std::map<std::tuple<std::string, bool, bool, std::string>, TFaceChoice> choices_;
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

void TFontEngine::LoadGlyph(uint8_t code) {
  glyph_ = TGlyph{};
  glyph_.Valid = true;
  glyph_.Code = code;
  glyph_.Failed = true;

  TFaceCache& cache = TFaceCache::Instance();
  std::lock_guard<std::mutex> hold(cache.Lock);
  const TFaceChoice choice = cache.Choose(font_.Name, font_.Bold, font_.Italic, font_.Charset);
  if (!choice.Found) return;
  FT_Face face = cache.Face(choice.File, choice.Index);
  if (!face) return;

  // The em in whole pixels, as the Windows font mapper sets it for a point size on a
  // 96-dpi screen; a fractional em would move every point.
  const int32_t scaled = MulDiv(font_.Size, 96, 72);
  // MulDiv gives -1 when the product leaves the 32-bit range: for a size from a work
  // of 2147483647 points that is an em far beyond the largest, not the smallest one.
  if (font_.Size > 0 && scaled < 0) return;
  const int32_t em = std::max(scaled, 1);
  if (em > MaxPixelEm) return;
  if (FT_Set_Pixel_Sizes(face, 0, static_cast<FT_UInt>(em)) != 0) return;
  const FT_UInt index = GlyphIndex(face, code, font_.Charset);
  if (FT_Load_Glyph(face, index, FT_LOAD_NO_HINTING | FT_LOAD_NO_BITMAP) != 0) return;
  FT_GlyphSlot slot = face->glyph;
  if (slot->format != FT_GLYPH_FORMAT_OUTLINE) return;

  FT_Pos advance = slot->advance.x;
  if (choice.SynthBold) {
    const FT_Pos strength = FT_MulFix(face->units_per_EM, face->size->metrics.y_scale) / 24;
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
    m.gmBlackBoxX = m.gmBlackBoxY = 1;  // what Windows reports for a blank
  }
  glyph_.Failed = false;
}

uint32_t TFontEngine::GetGlyphOutline(uint8_t code, TGlyphMetrics& metrics, uint32_t bufferSize,
                                      uint8_t* buffer) {
  if (!glyph_.Valid || glyph_.Code != code) LoadGlyph(code);
  if (glyph_.Failed) return GDI_ERROR;
  const uint32_t size = static_cast<uint32_t>(glyph_.Records.size());
  metrics = glyph_.Metrics;
  if (bufferSize == 0 || buffer == nullptr) return size;
  if (bufferSize < size) return GDI_ERROR;
  std::copy(glyph_.Records.begin(), glyph_.Records.end(), buffer);
  return size;
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
