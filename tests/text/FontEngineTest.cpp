#include "text/FontEngine.h"

#include <gtest/gtest.h>

#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>
#include <cmath>

#include "support/GlyphRecordsKit.h"

namespace qz {
namespace {

using test::TDecodedPolygon;

constexpr int32_t ReadSize = 512;  // an 18-point character, read at 512/18 times its size
constexpr int32_t ReadEm = 683;    // MulDiv(512, 96, 72)

struct TGlyphResult {
  uint32_t size = 0;
  TGlyphMetrics metrics;
  std::vector<TDecodedPolygon> polygons;
};

TGlyphResult Read(const std::string& face, uint8_t code, uint8_t charset = 0, int32_t size = ReadSize,
                  bool bold = false, bool italic = false) {
  TFontEngine fonts;
  fonts.SelectFont({face, size, bold, italic, charset});
  TGlyphResult r;
  r.size = fonts.GetGlyphOutline(code, r.metrics, 0, nullptr);
  if (r.size == GDI_ERROR) return r;
  std::vector<uint8_t> block(r.size);
  EXPECT_EQ(fonts.GetGlyphOutline(code, r.metrics, r.size, block.data()), r.size);
  bool ok = false;
  r.polygons = test::DecodeRecords(block, ok);
  EXPECT_TRUE(ok);
  return r;
}

// The signed area of the polygon through a contour's stored points, in square
// pixels: positive counter-clockwise with y up.
double SignedArea(const TDecodedPolygon& p) {
  std::vector<test::TRawPoint> pts{p.Start};
  for (const auto& c : p.Curves) pts.insert(pts.end(), c.Points.begin(), c.Points.end());
  double a = 0;
  for (size_t i = 0; i < pts.size(); ++i) {
    const auto &u = pts[i], &v = pts[(i + 1) % pts.size()];
    a += static_cast<double>(u.x) * v.y - static_cast<double>(v.x) * u.y;
  }
  return a / 2 / 65536.0 / 65536.0;
}

TEST(FontEngine, MulDivRoundsHalvesAwayFromZero) {
  const int cases[][4] = {{512, 96, 72, ReadEm}, {341, 96, 72, 455}, {3, 1, 2, 2}, {-3, 1, 2, -2}, {5, 1, -2, -3}, {7, 1, 0, -1}};
  for (const auto& c : cases) EXPECT_EQ(TFontEngine::MulDiv(c[0], c[1], c[2]), c[3]) << c[0] << "*" << c[1] << "/" << c[2];
}

TEST(FontEngine, UnknownFacesFallBackAndTheCharsetSteersOnlyTheFallback) {
  // The character set steers only the fallback, never the named face.
  EXPECT_EQ(TFontEngine::ResolveFace("Arial", false, false, 204).Family, "Liberation Sans");
  for (const char* name : {"Comic Sans MS", ""}) {
    EXPECT_TRUE(TFontEngine::ResolveFace(name, false, false, 0).Found) << name;
    EXPECT_FALSE(Read(name, 'o').polygons.empty()) << name;
  }
}

TEST(FontEngine, ReadingACodeGivesItsSizeThenItsRecordsOrFailsCleanly) {
  TFontEngine fonts, other;
  fonts.SelectFont({"Arial", ReadSize, false, false, 0});
  other.SelectFont({"Arial", ReadSize, false, false, 0});
  TGlyphMetrics gm;
  const uint32_t size = fonts.GetGlyphOutline('B', gm, 0, nullptr);
  ASSERT_NE(size, GDI_ERROR);
  std::vector<uint8_t> block(size + 8, 0xAB), again(size);
  EXPECT_EQ(fonts.GetGlyphOutline('B', gm, size - 1, block.data()), GDI_ERROR);  // too small
  EXPECT_EQ(fonts.GetGlyphOutline('B', gm, size + 8, block.data()), size);
  EXPECT_EQ(block[size], 0xAB);  // nothing written past the records
  ASSERT_EQ(other.GetGlyphOutline('B', gm, size, again.data()), size);
  EXPECT_TRUE(std::equal(again.begin(), again.end(), block.begin())) << "every engine gives the same bytes";

  // Twice the size, twice the coordinates (within rounding of the em).
  EXPECT_NEAR(Read("Arial", 'l', 0, 2 * ReadSize).polygons[0].Start.y, 2 * Read("Arial", 'l').polygons[0].Start.y, 2 * 65536);
  // An em beyond what FreeType can set, coordinates beyond 16.16, or an em that
  // overflows the 32-bit MulDiv (a hostile work) fail cleanly; a size of 0 reads at
  // the smallest em.
  EXPECT_EQ(Read("Arial", 'o', 0, 60000).size, GDI_ERROR);
  EXPECT_EQ(Read("Arial", 'W', 0, 40000).size, GDI_ERROR);
  EXPECT_EQ(Read("Arial", 'o', 0, INT32_MAX).size, GDI_ERROR);
  EXPECT_NE(Read("Arial", 'o', 0, 0).size, GDI_ERROR);
}

TEST(FontEngine, CodesReadThroughTheCharsetsCodePage) {
  // 0xE4: a-umlaut in 1252 (bowl, counter, two dots), de in 1251 (outline, counter).
  EXPECT_EQ(Read("Arial", 0xE4, 0).polygons.size(), 4u);
  EXPECT_EQ(Read("Arial", 0xE4, 204).polygons.size(), 2u);
  EXPECT_EQ(Read("Arial", 0xE1, 161).polygons.size(), 2u);  // Greek alpha, not a-acute (3)
  // A face without a symbol map reads a symbol-charset code through 1252.
  EXPECT_EQ(Read("Arial", 'A', 2).size, Read("Arial", 'A', 0).size);
  // A code its code page leaves undefined shows the default glyph, not an error.
  EXPECT_NE(Read("Arial", 0x81).size, GDI_ERROR);
}

TEST(FontEngine, SynthesisedBoldAndItalic) {
  std::string family;  // one with neither bold nor italic face on this machine
  for (const std::string& name : TFontEngine::TrueTypeFaces()) {
    const TFaceChoice c = TFontEngine::ResolveFace(name, true, true, 0);
    if (c.Family == name && c.SynthBold && c.SynthItalic) family = name;
  }
  if (family.empty()) GTEST_SKIP() << "every face on this machine has bold and italic faces";
  const TGlyphResult regular = Read(family, 'l'), bold = Read(family, 'l', 0, ReadSize, true),
                     italic = Read(family, 'l', 0, ReadSize, false, true);
  ASSERT_FALSE(regular.polygons.empty());
  // Emboldened by em / 24: wider advance, larger area.
  EXPECT_NEAR(bold.metrics.gmCellIncX - regular.metrics.gmCellIncX, ReadEm / 24.0, 1.0);
  EXPECT_GT(std::abs(SignedArea(bold.polygons[0])), std::abs(SignedArea(regular.polygons[0])) * 1.1);
  // Sheared: the same points, each moved right by about 0.2126 of its height.
  EXPECT_EQ(italic.metrics.gmCellIncX, regular.metrics.gmCellIncX);
  ASSERT_EQ(italic.polygons.size(), regular.polygons.size());
  const auto &r = regular.polygons[0].Start, &s = italic.polygons[0].Start;
  EXPECT_EQ(s.y, r.y);
  EXPECT_NEAR((s.x - r.x) / 65536.0, r.y / 65536.0 * 0x366A / 65536.0, 0.05);
}

TEST(FontEngine, TrueTypeFaceListHoldsEachInstalledFaceOnce) {
  const std::vector<std::string> faces = TFontEngine::TrueTypeFaces();
  for (const char* name : {"Liberation Sans", "Liberation Serif", "DejaVu Sans"})
    EXPECT_EQ(std::count(faces.begin(), faces.end(), name), 1) << name;
  for (const std::string& face : faces) EXPECT_LE(face.size(), 32u);
}

}  // namespace
}  // namespace qz
