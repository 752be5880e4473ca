#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <set>

#include <ft2build.h>
#include FT_FREETYPE_H

#include "platform/FontEngine.h"
#include "support/GlyphRecordsKit.h"

namespace qz {
namespace {

using test::DecodeRecords;
using test::TDecodedPolygon;
using test::TRawPoint;

constexpr int32_t ReadSize = 512;  // an 18-point character, read at 512/18 times its size
constexpr int32_t ReadEm = 683;    // MulDiv(512, 96, 72)

struct TGlyphResult {
  uint32_t size = 0;
  TGlyphMetrics metrics;
  std::vector<TDecodedPolygon> polygons;
};

TGlyphResult Read(TFontEngine& fonts, uint8_t code) {
  TGlyphResult r;
  r.size = fonts.GetGlyphOutline(code, r.metrics, 0, nullptr);
  if (r.size == GDI_ERROR) return r;
  std::vector<uint8_t> block(r.size);
  EXPECT_EQ(fonts.GetGlyphOutline(code, r.metrics, r.size, block.data()), r.size);
  bool ok = false;
  r.polygons = DecodeRecords(block, ok);
  EXPECT_TRUE(ok);
  return r;
}

TGlyphResult Read(const TFontRequest& font, uint8_t code) {
  TFontEngine fonts;
  fonts.SelectFont(font);
  return Read(fonts, code);
}

// Twice the signed area of the polygon through a contour's stored points (start,
// record points, back to the start): positive counter-clockwise with y up.
double SignedArea(const TDecodedPolygon& p) {
  std::vector<TRawPoint> pts{p.Start};
  for (const auto& c : p.Curves) pts.insert(pts.end(), c.Points.begin(), c.Points.end());
  double a = 0;
  for (size_t i = 0; i < pts.size(); ++i) {
    const TRawPoint& u = pts[i];
    const TRawPoint& v = pts[(i + 1) % pts.size()];
    a += static_cast<double>(u.x) * v.y - static_cast<double>(v.x) * u.y;
  }
  return a / 2 / 65536.0 / 65536.0;
}

TEST(FontEngine, MulDivRoundsHalvesAwayFromZero) {
  EXPECT_EQ(TFontEngine::MulDiv(512, 96, 72), ReadEm);
  EXPECT_EQ(TFontEngine::MulDiv(341, 96, 72), 455);  // 454.67
  EXPECT_EQ(TFontEngine::MulDiv(3, 1, 2), 2);
  EXPECT_EQ(TFontEngine::MulDiv(-3, 1, 2), -2);
  EXPECT_EQ(TFontEngine::MulDiv(5, 1, -2), -3);
  EXPECT_EQ(TFontEngine::MulDiv(7, 1, 0), -1);
}

TEST(FontEngine, WindowsFaceNamesResolveToMetricCompatibleFaces) {
  EXPECT_EQ(TFontEngine::ResolveFace("Arial", false, false, 0).Family, "Liberation Sans");
  EXPECT_EQ(TFontEngine::ResolveFace("Times New Roman", false, false, 0).Family, "Liberation Serif");
  EXPECT_EQ(TFontEngine::ResolveFace("Courier New", false, false, 0).Family, "Liberation Mono");
  // The styles come from real faces, nothing synthesised.
  const TFaceChoice bold = TFontEngine::ResolveFace("Arial", true, true, 0);
  EXPECT_EQ(bold.Family, "Liberation Sans");
  EXPECT_NE(bold.File, TFontEngine::ResolveFace("Arial", false, false, 0).File);
  EXPECT_FALSE(bold.SynthBold);
  EXPECT_FALSE(bold.SynthItalic);
  // The character set steers only the fallback, never the named face.
  EXPECT_EQ(TFontEngine::ResolveFace("Arial", false, false, 204).Family, "Liberation Sans");

  // An unknown face gets a fallback, as the Windows font mapper gives one.
  for (const char* name : {"Comic Sans MS", "No Such Face Qzx", ""}) {
    const TFaceChoice c = TFontEngine::ResolveFace(name, false, false, 0);
    EXPECT_TRUE(c.Found) << name;
    EXPECT_FALSE(c.File.empty()) << name;
    const TGlyphResult o = Read(TFontRequest{name, ReadSize, false, false, 0}, 'o');
    EXPECT_NE(o.size, GDI_ERROR) << name;
    EXPECT_FALSE(o.polygons.empty()) << name;
  }
}

TEST(FontEngine, RecordsOfKnownGlyphs) {
  const TFaceChoice face = TFontEngine::ResolveFace("Arial", false, false, 0);
  ASSERT_EQ(face.Family, "Liberation Sans");
  const TFontRequest arial{"Arial", ReadSize, false, false, 0};

  // "o": an outer contour clockwise with y up and a hole counter-clockwise.
  const TGlyphResult o = Read(arial, 'o');
  ASSERT_EQ(o.polygons.size(), 2u);
  double outer = 0, hole = 0;
  for (const auto& p : o.polygons) {
    EXPECT_EQ(p.Type, TT_POLYGON_TYPE);
    const double a = SignedArea(p);
    (std::abs(a) > std::abs(outer) ? (hole = outer, outer = a) : hole = a);
  }
  EXPECT_LT(outer, 0);
  EXPECT_GT(hole, 0);
  // About the size of an "o" of a 683-pixel em: some 300 pixels across.
  EXPECT_GT(-outer, 200.0 * 200.0);
  EXPECT_LT(-outer, 400.0 * 400.0);

  // "l": one contour of straight lines only.
  const TGlyphResult l = Read(arial, 'l');
  ASSERT_EQ(l.polygons.size(), 1u);
  for (const auto& c : l.polygons[0].Curves) EXPECT_EQ(c.Type, TT_PRIM_LINE);

  // The advance is the font's own: advance width in font units scaled to the em.
  FT_Library lib;
  FT_Face ft;
  ASSERT_EQ(FT_Init_FreeType(&lib), 0);
  ASSERT_EQ(FT_New_Face(lib, face.File.c_str(), face.Index, &ft), 0);
  for (uint8_t ch : {'o', ' ', 'W'}) {
    ASSERT_EQ(FT_Load_Char(ft, ch, FT_LOAD_NO_SCALE), 0);
    const double expected = std::round(ft->glyph->advance.x * static_cast<double>(ReadEm) / ft->units_per_EM);
    EXPECT_EQ(Read(arial, ch).metrics.gmCellIncX, expected) << ch;
  }

  // A spline record ends on an on-curve point of the glyph (o's contours start on-curve).
  ASSERT_EQ(FT_Set_Pixel_Sizes(ft, 0, ReadEm), 0);
  ASSERT_EQ(FT_Load_Char(ft, 'o', FT_LOAD_NO_HINTING), 0);
  std::set<std::pair<int32_t, int32_t>> onCurve;
  const FT_Outline& ol = ft->glyph->outline;
  for (int i = 0; i < ol.n_points; ++i)
    if (FT_CURVE_TAG(ol.tags[i]) == FT_CURVE_TAG_ON)
      onCurve.insert({static_cast<int32_t>(ol.points[i].x * 1024), static_cast<int32_t>(ol.points[i].y * 1024)});
  int splines = 0;
  for (const auto& p : o.polygons)
    for (const auto& c : p.Curves)
      if (c.Type == TT_PRIM_QSPLINE) {
        ++splines;
        EXPECT_TRUE(onCurve.count({c.Points.back().x, c.Points.back().y}));
      }
  EXPECT_GT(splines, 0);
  FT_Done_Face(ft);
  FT_Done_FreeType(lib);

  // A blank has no outline but an advance.
  const TGlyphResult blank = Read(arial, ' ');
  EXPECT_EQ(blank.size, 0u);
  EXPECT_GT(blank.metrics.gmCellIncX, 100);
}

TEST(FontEngine, OutlineCallBehavesAsTheWindowsCall) {
  TFontEngine fonts;
  fonts.SelectFont({"Arial", ReadSize, false, false, 0});
  TGlyphMetrics gm;
  const uint32_t size = fonts.GetGlyphOutline('B', gm, 0, nullptr);
  ASSERT_NE(size, GDI_ERROR);
  std::vector<uint8_t> block(size + 8, 0xAB);
  EXPECT_EQ(fonts.GetGlyphOutline('B', gm, size - 1, block.data()), GDI_ERROR);  // too small
  EXPECT_EQ(fonts.GetGlyphOutline('B', gm, size + 8, block.data()), size);
  EXPECT_EQ(block[size], 0xAB);  // nothing written past the records

  // Every engine gives the same bytes for the same font.
  TFontEngine other;
  other.SelectFont({"Arial", ReadSize, false, false, 0});
  std::vector<uint8_t> again(size);
  ASSERT_EQ(other.GetGlyphOutline('B', gm, size, again.data()), size);
  EXPECT_TRUE(std::equal(again.begin(), again.end(), block.begin()));

  // Twice the size, twice the coordinates (within rounding of the em).
  const TGlyphResult small = Read(TFontRequest{"Arial", ReadSize, false, false, 0}, 'l');
  const TGlyphResult large = Read(TFontRequest{"Arial", 2 * ReadSize, false, false, 0}, 'l');
  ASSERT_EQ(small.polygons.size(), large.polygons.size());
  EXPECT_NEAR(large.polygons[0].Start.y / 65536.0, 2 * small.polygons[0].Start.y / 65536.0, 2.0);

  // An em beyond what FreeType can set, and coordinates beyond 16.16, fail cleanly.
  EXPECT_EQ(Read(TFontRequest{"Arial", 60000, false, false, 0}, 'o').size, GDI_ERROR);
  EXPECT_EQ(Read(TFontRequest{"Arial", 40000, false, false, 0}, 'W').size, GDI_ERROR);
  // A size whose em overflows the 32-bit MulDiv (a hostile work) fails too, rather than
  // reading at the smallest em.
  EXPECT_EQ(Read(TFontRequest{"Arial", INT32_MAX, false, false, 0}, 'o').size, GDI_ERROR);
  // A size of 0 reads at the smallest em instead of failing.
  EXPECT_NE(Read(TFontRequest{"Arial", 0, false, false, 0}, 'o').size, GDI_ERROR);
}

TEST(FontEngine, CodesReadThroughTheCharsetsCodePage) {
  // 0xE4 is a-umlaut in 1252 (a bowl, its counter and two dots) and de in 1251 (one
  // outline with its counter).
  EXPECT_EQ(Read(TFontRequest{"Arial", ReadSize, false, false, 0}, 0xE4).polygons.size(), 4u);
  EXPECT_EQ(Read(TFontRequest{"Arial", ReadSize, false, false, 204}, 0xE4).polygons.size(), 2u);
  // Greek 0xE1 (alpha) differs from Latin 0xE1 (a-acute).
  const TGlyphResult alpha = Read(TFontRequest{"Arial", ReadSize, false, false, 161}, 0xE1);
  const TGlyphResult aacute = Read(TFontRequest{"Arial", ReadSize, false, false, 0}, 0xE1);
  EXPECT_EQ(alpha.polygons.size(), 2u);
  EXPECT_EQ(aacute.polygons.size(), 3u);
  // A face without a symbol map reads a symbol-charset code through 1252.
  const TGlyphResult symbolA = Read(TFontRequest{"Arial", ReadSize, false, false, 2}, 'A');
  const TGlyphResult latinA = Read(TFontRequest{"Arial", ReadSize, false, false, 0}, 'A');
  EXPECT_EQ(symbolA.size, latinA.size);
  EXPECT_EQ(symbolA.metrics.gmCellIncX, latinA.metrics.gmCellIncX);
  // A code its code page leaves undefined shows the default glyph, not an error.
  EXPECT_NE(Read(TFontRequest{"Arial", ReadSize, false, false, 0}, 0x81).size, GDI_ERROR);
}

// A family that has neither bold nor italic face on this machine, if there is one.
std::string FamilyWithoutStyles() {
  for (const std::string& name : TFontEngine::TrueTypeFaces()) {
    const TFaceChoice c = TFontEngine::ResolveFace(name, true, true, 0);
    if (c.Family == name && c.SynthBold && c.SynthItalic) return name;
  }
  return {};
}

TEST(FontEngine, SynthesisedBoldAndItalic) {
  const std::string family = FamilyWithoutStyles();
  if (family.empty()) GTEST_SKIP() << "every face on this machine has bold and italic faces";
  const TGlyphResult regular = Read(TFontRequest{family, ReadSize, false, false, 0}, 'l');
  const TGlyphResult bold = Read(TFontRequest{family, ReadSize, true, false, 0}, 'l');
  const TGlyphResult italic = Read(TFontRequest{family, ReadSize, false, true, 0}, 'l');
  ASSERT_FALSE(regular.polygons.empty());

  // Emboldened by em / 24 (28 pixels here): wider advance, larger area.
  EXPECT_NEAR(bold.metrics.gmCellIncX - regular.metrics.gmCellIncX, ReadEm / 24.0, 1.0);
  double regularArea = 0, boldArea = 0;
  for (const auto& p : regular.polygons) regularArea += SignedArea(p);
  for (const auto& p : bold.polygons) boldArea += SignedArea(p);
  EXPECT_GT(std::abs(boldArea), std::abs(regularArea) * 1.1);

  // Sheared: the same points, each moved right by about 0.2126 of its height.
  EXPECT_EQ(italic.metrics.gmCellIncX, regular.metrics.gmCellIncX);
  ASSERT_EQ(italic.polygons.size(), regular.polygons.size());
  for (size_t i = 0; i < regular.polygons.size(); ++i) {
    const auto& r = regular.polygons[i];
    const auto& s = italic.polygons[i];
    EXPECT_EQ(s.Start.y, r.Start.y);
    EXPECT_NEAR((s.Start.x - r.Start.x) / 65536.0, r.Start.y / 65536.0 * 0x366A / 65536.0, 0.05);
  }
}

TEST(FontEngine, TrueTypeFaceList) {
  const std::vector<std::string> faces = TFontEngine::TrueTypeFaces();
  ASSERT_FALSE(faces.empty());
  EXPECT_TRUE(std::count(faces.begin(), faces.end(), "Liberation Sans"));
  EXPECT_TRUE(std::count(faces.begin(), faces.end(), "Liberation Serif"));
  EXPECT_TRUE(std::count(faces.begin(), faces.end(), "DejaVu Sans"));
  auto folded = [](std::string s) {
    for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
  };
  for (size_t i = 0; i < faces.size(); ++i) {
    EXPECT_LE(faces[i].size(), 32u);
    if (i == 0) continue;
    EXPECT_NE(faces[i - 1], faces[i]) << "unique";
    EXPECT_LE(folded(faces[i - 1]), folded(faces[i])) << "sorted";
  }
}

}  // namespace
}  // namespace qz
