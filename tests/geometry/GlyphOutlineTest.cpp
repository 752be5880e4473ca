#include "geometry/GlyphOutline.h"

#include <gtest/gtest.h>

#include "support/GlyphRecordsKit.h"
#include "support/MessageCollector.h"

namespace qz {
namespace {

using test::FX;
using test::FXi;
using test::TRecordBuilder;

// A glyph source that hands out a fixed block, or fails as told.
class TFakeGlyphs : public IGlyphSource {
 public:
  std::vector<uint8_t> Block;
  int16_t Advance = 40;
  bool FailSizeQuery = false, ShrinkSecondCall = false;
  uint32_t GetGlyphOutline(uint8_t, TGlyphMetrics& m, uint32_t bufferSize, uint8_t* buffer) override {
    if (FailSizeQuery) return GDI_ERROR;
    m.gmCellIncX = Advance;
    const uint32_t size = static_cast<uint32_t>(Block.size());
    if (bufferSize == 0) return size;
    if (bufferSize < size) return GDI_ERROR;
    std::copy(Block.begin(), Block.end(), buffer);
    return ShrinkSecondCall ? size - 1 : size;
  }
  uint32_t GetGlyphOutlineOfIndex(uint32_t, TGlyphMetrics& m, uint32_t bufferSize, uint8_t* buffer) override {
    return GetGlyphOutline(0, m, bufferSize, buffer);
  }
};

struct GlyphOutline : ::testing::Test {
  // Parses a block into a fresh letter, as GetFontOutline does.
  const TLetter& Parse(const std::vector<uint8_t>& block) {
    letters.Clear();
    letters.Add();
    TGlyphReader(letters, splPnt, 10, messages).ParseOutline(block.data(), block.size());
    return letters.Last();
  }
  TLetters letters;
  int32_t splPnt = 2;
  test::TMessageCollector messages;
};

TEST_F(GlyphOutline, HostileSizesDoNotOverflow) {
  EXPECT_EQ(GlyphPointSize(-12), -341);
  EXPECT_EQ(GlyphPointSize(INT32_MAX), INT32_MAX);  // enlarged by 512/18 without overflow
}

TEST_F(GlyphOutline, LinesSplinesAndClosing) {
  // One line record and one spline record of three points (two segments with an
  // implied mid-point), closed back to the start; an unknown record type is skipped.
  const auto block = TRecordBuilder()
                         .Polygon(FXi(0, 0))
                         .Line({FXi(10, 0), FXi(10, 10)})
                         .Spline({FXi(10, 20), FXi(0, 20), FXi(0, 10)})
                         .Curve(3, {FXi(99, 99)})
                         .Bytes();
  for (int steps : {1, 2, 3}) {
    splPnt = steps;
    const auto& c = Parse(block).Contour(1);
    // start, 2 line points, 2 segments of SplPnt points each, the closing start.
    EXPECT_EQ(c.PtCount, 1 + 2 + 2 * steps + 1) << steps;
    EXPECT_EQ(c.Points.front(), c.Points.back());
    EXPECT_EQ(c.Points[c.PtCount - 2], (TPoint{0, 10}));
    if (steps == 1) {
      EXPECT_EQ(c.Points[3], (TPoint{5, 20}));  // at " Simple" a segment ends at the implied mid-point
    }
  }
  EXPECT_EQ((std::vector<int>{letters.TextMinX, letters.TextMaxX, letters.TextMaxY}), (std::vector<int>{0, 10, 20}));
  EXPECT_TRUE(messages.Texts.empty());
  // A spline record of one point adds nothing.
  EXPECT_EQ(Parse(TRecordBuilder().Polygon(FXi(0, 0)).Spline({FXi(5, 5)}).Line({FXi(1, 0)}).Bytes()).Contour(1).PtCount, 3);
}

TEST_F(GlyphOutline, HostileBlocksEndTheGlyphCleanly) {
  const auto good = TRecordBuilder().Polygon(FXi(0, 0)).Line({FXi(5, 0), FXi(5, 5)}).Bytes();
  const auto bad = TRecordBuilder().Polygon(FXi(900, 900)).Line({FXi(901, 900)}).Bytes();
  auto patched = [&](size_t at, uint32_t value, bool wide) {
    std::vector<uint8_t> b = bad;
    wide ? WriteU32LE(b.data() + at, value) : WriteU16LE(b.data() + at, static_cast<uint16_t>(value));
    return b;
  };
  const std::vector<std::vector<uint8_t>> tails = {
      patched(0, 0, true),        // cb of 0: would never advance
      patched(0, 1000, true),     // cb past the block
      patched(0, 8, true),        // cb smaller than the header
      patched(18, 60000, false),  // cpfx running past the polygon
      TRecordBuilder().Polygon(FXi(900, 900)).Raw({1, 0}).Bytes(),  // a record header torn by the polygon end
      std::vector<uint8_t>(bad.begin(), bad.begin() + 10)};          // a header torn by the block end
  for (const auto& tail : tails) {
    std::vector<uint8_t> b = good;
    b.insert(b.end(), tail.begin(), tail.end());
    EXPECT_EQ(Parse(b).ContourCount, 1);  // the good contour before it stays
    EXPECT_EQ(letters.TextMaxX, 5);        // nothing of the damaged one was read
  }
  EXPECT_EQ(Parse(tails[0]).ContourCount, 0);
  EXPECT_TRUE(messages.Texts.empty());
  // A polygon type other than 24 is reported, the contours before it kept.
  std::vector<uint8_t> b = good, foreign = TRecordBuilder().Polygon(FXi(1, 1), 25).Line({FXi(2, 2)}).Bytes();
  b.insert(b.end(), foreign.begin(), foreign.end());
  EXPECT_EQ(Parse(b).ContourCount, 1);
  EXPECT_EQ(messages.Texts, std::vector<std::string>{"ERROR: Unknown Polygon"});
}

TEST_F(GlyphOutline, CapacitiesDropPointsAndContoursSilently) {
  // 1100 line points: the contour keeps the first 1024, the closing point dropped too.
  std::vector<TPointFX> many;
  for (int i = 1; i <= 1100; ++i) many.push_back(FXi(i, i % 7));
  const auto& c = Parse(TRecordBuilder().Polygon(FXi(0, 0)).Line(many).Bytes()).Contour(1);
  EXPECT_EQ(c.PtCount, 1024);
  EXPECT_EQ(c.Points.back(), (TPoint{1023, 1023 % 7}));
  // Ten contours: eight stored, the last two still widen the box.
  TRecordBuilder b;
  for (int i = 0; i < 10; ++i) b.Polygon(FXi(i * 100, 0)).Line({FXi(i * 100 + 50, 0), FXi(i * 100, 50)});
  EXPECT_EQ(Parse(b.Bytes()).ContourCount, 8);
  EXPECT_EQ(letters.TextMaxX, 950);
  // A SplPnt from a damaged work is bounded: no endless loop, at most 64 steps.
  const auto spline = TRecordBuilder().Polygon(FXi(0, 0)).Spline({FXi(10, 10), FXi(20, 0)}).Bytes();
  splPnt = 2000000000;
  EXPECT_EQ(Parse(spline).Contour(1).PtCount, 1 + MaxSplPnt + 1);
  // With 0 (or less) a curve adds no point of its own: the contour runs straight on.
  splPnt = -5;
  EXPECT_EQ(Parse(spline).Contour(1).PtCount, 1 + 1);
  splPnt = 0;
  EXPECT_EQ(Parse(spline).Contour(1).PtCount, 1 + 1);
}

TEST_F(GlyphOutline, EngineFailuresLeaveLettersAndPenAlone) {
  TFakeGlyphs glyphs;
  glyphs.Block = TRecordBuilder().Polygon(FXi(0, 0)).Line({FXi(5, 0), FXi(5, 5)}).Bytes();
  TGlyphReader reader(letters, 2, 10, messages);
  reader.PenX = 7;
  reader.GetFontOutline(glyphs, 'x');
  EXPECT_EQ(letters[1].Contour(1).Points[1], (TPoint{12, 0}));  // shifted by the pen
  EXPECT_EQ(reader.PenX, 7 + 40 + 20);
  glyphs.FailSizeQuery = true;
  reader.GetFontOutline(glyphs, 'x');
  glyphs.FailSizeQuery = false;
  glyphs.ShrinkSecondCall = true;
  reader.GetFontOutline(glyphs, 'x');
  EXPECT_EQ(letters.Count(), 1);
  EXPECT_EQ(reader.PenX, 67);
  EXPECT_EQ(messages.Texts, (std::vector<std::string>{"ERROR: Cannot obtain Size of the Glyph", "ERROR: Cannot get Glyph"}));
  glyphs.ShrinkSecondCall = false;  // a negative advance (signed 16 bits) moves the pen back
  glyphs.Advance = -30;
  reader.GetFontOutline(glyphs, 'x');
  EXPECT_EQ(reader.PenX, 67 - 30 + 20);
}

}  // namespace
}  // namespace qz
