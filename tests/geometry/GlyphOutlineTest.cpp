#include <gtest/gtest.h>

#include "geometry/GlyphOutline.h"
#include "platform/FontEngine.h"
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
  bool FailSizeQuery = false;
  bool ShrinkSecondCall = false;
  uint32_t GetGlyphOutline(uint8_t, TGlyphMetrics& m, uint32_t bufferSize, uint8_t* buffer) override {
    if (FailSizeQuery) return GDI_ERROR;
    m.gmCellIncX = Advance;
    const uint32_t size = static_cast<uint32_t>(Block.size());
    if (bufferSize == 0) return size;
    if (bufferSize < size) return GDI_ERROR;
    std::copy(Block.begin(), Block.end(), buffer);
    return ShrinkSecondCall ? size - 1 : size;
  }
};

struct GlyphOutline : ::testing::Test {
  GlyphOutline() {
    scene.Messages = &messages;
    scene.ClearLetters();
    scene.PenX = 0;
  }
  // Parses a block into a fresh letter, as GetFontOutline does.
  void Parse(const std::vector<uint8_t>& block) {
    scene.AddLetter();
    ParseOutline(scene, block.data(), block.size());
  }
  const TLetter& Last() { return scene.Letter(scene.LetterCount); }
  TScene scene;
  test::TMessageCollector messages;
};

TEST_F(GlyphOutline, FixedConversions) {
  EXPECT_EQ(FixedToInt(RawToFixed(-3 * 32768)), -1);  // -1.5 moves upward
  EXPECT_EQ(FixedToInt(RawToFixed(5 * 32768)), 3);    // 2.5
  EXPECT_EQ(FixedToInt(RawToFixed(-32769)), -1);      // just below -0.5
  EXPECT_EQ(FixedToInt(RawToFixed(-32768)), 0);       // -0.5
  EXPECT_DOUBLE_EQ(FixedToDouble(RawToFixed(-98304)), -1.5);
  // The implied point between controls at x = -3 and x = -4 is exactly -3.5.
  EXPECT_EQ(FixedToRaw(FixedMid(RawToFixed(-3 * 65536), RawToFixed(-4 * 65536))), -7 * 32768);
  EXPECT_EQ(FixedToRaw(FixedMid(RawToFixed(-1), RawToFixed(-2))), -1);  // halved toward zero
}

TEST_F(GlyphOutline, MessageSizesAreReadEnlarged) {
  EXPECT_EQ(GlyphPointSize(18), 512);
  EXPECT_EQ(GlyphPointSize(12), 341);  // 341.33, truncated
  EXPECT_EQ(GlyphPointSize(-12), -341);
  EXPECT_EQ(GlyphPointSize(INT32_MAX), INT32_MAX);
}

TEST_F(GlyphOutline, SplineSegmentsAreFlattenedIntoSplPntPoints) {
  scene.PenX = 100;
  scene.PtCount = 0;
  AddSplinePoints(scene, FXi(0, 0), FXi(2, 2), FXi(4, 0), 2);
  ASSERT_EQ(scene.PtCount, 2);
  EXPECT_EQ(scene.Pts[1], (TPoint{102, 1}));
  EXPECT_EQ(scene.Pts[2], (TPoint{104, 0}));
  // Three steps: t = 1/3, 2/3, 1; halves go to the even neighbour.
  scene.PenX = 0;
  scene.PtCount = 0;
  AddSplinePoints(scene, FXi(0, 0), FXi(3, 3), FXi(6, 0), 3);
  ASSERT_EQ(scene.PtCount, 3);
  EXPECT_EQ(scene.Pts[1], (TPoint{2, 1}));  // (2, 1.333)
  EXPECT_EQ(scene.Pts[2], (TPoint{4, 1}));
  EXPECT_EQ(scene.Pts[3], (TPoint{6, 0}));
  scene.PtCount = 0;
  AddSplinePoints(scene, FXi(0, 0), FXi(1, 1), FXi(1, 1), 2);  // t = 1/2 gives (0.75, 0.75)
  EXPECT_EQ(scene.Pts[1], (TPoint{1, 1}));
  scene.PtCount = 0;
  AddSplinePoints(scene, FXi(0, 0), FX(65536, 0), FX(65536, 0), 2);  // x = 0.75 -> 1, halves: none
  AddSplinePoints(scene, FXi(0, 0), FX(32768, 0), FX(65536, 0), 2);  // x = 0.5 -> 0 (even)
  EXPECT_EQ(scene.Pts[3], (TPoint{0, 0}));
}

TEST_F(GlyphOutline, LinesSplinesAndClosing) {
  // A contour of one line record and one spline record of three points (two segments
  // with an implied mid-point), closed back to the start.
  const auto block = TRecordBuilder()
                         .Polygon(FXi(0, 0))
                         .Line({FXi(10, 0), FXi(10, 10)})
                         .Spline({FXi(10, 20), FXi(0, 20), FXi(0, 10)})
                         .Curve(3, {FXi(99, 99)})  // an unknown record type is skipped
                         .Bytes();
  for (int splPnt : {1, 2, 3}) {
    scene.SplPnt = splPnt;
    Parse(block);
    ASSERT_EQ(Last().ContourCount, 1);
    const auto& c = Last().Contour(1);
    // start, 2 line points, 2 segments of SplPnt points each, the closing start.
    EXPECT_EQ(c.PtCount, 1 + 2 + 2 * splPnt + 1) << splPnt;
    EXPECT_EQ(c.Points.front(), c.Points.back());
    EXPECT_EQ(c.Points[c.PtCount - 2], (TPoint{0, 10}));  // the spline's last point
    // At " Simple" the segments end at the implied mid-point (5, 20) and at (0, 10).
    if (splPnt == 1) {
      EXPECT_EQ(c.Points[3], (TPoint{5, 20}));
    }
  }
  EXPECT_EQ(scene.TextMinX, 0);
  EXPECT_EQ(scene.TextMaxX, 10);
  EXPECT_EQ(scene.TextMaxY, 20);
  EXPECT_TRUE(messages.Texts.empty());

  // A spline record of one point adds nothing; the next segment starts where the last
  // stored point is.
  Parse(TRecordBuilder().Polygon(FXi(0, 0)).Spline({FXi(5, 5)}).Line({FXi(1, 0)}).Bytes());
  EXPECT_EQ(Last().Contour(1).PtCount, 3);
}

TEST_F(GlyphOutline, HostileBlocksEndTheGlyphCleanly) {
  const auto good = TRecordBuilder().Polygon(FXi(0, 0)).Line({FXi(5, 0), FXi(5, 5)}).Bytes();
  auto withTail = [&](std::vector<uint8_t> tail) {
    std::vector<uint8_t> b = good;
    b.insert(b.end(), tail.begin(), tail.end());
    return b;
  };
  auto bad = TRecordBuilder().Polygon(FXi(900, 900)).Line({FXi(901, 900)}).Bytes();

  // cb of 0: would never advance.
  auto zeroCb = bad;
  WriteU32LE(zeroCb.data(), 0);
  // cb past the block.
  auto longCb = bad;
  WriteU32LE(longCb.data(), 1000);
  // cb smaller than the header.
  auto shortCb = bad;
  WriteU32LE(shortCb.data(), 8);
  // cpfx running past the polygon.
  auto longCpfx = bad;
  WriteU16LE(longCpfx.data() + 18, 60000);
  // A record header torn by the polygon end.
  auto torn = TRecordBuilder().Polygon(FXi(900, 900)).Raw({1, 0}).Bytes();
  // A header torn by the block end.
  std::vector<uint8_t> tornHeader(bad.begin(), bad.begin() + 10);

  for (const auto& tail : {zeroCb, longCb, shortCb, longCpfx, torn, tornHeader}) {
    scene.ClearLetters();
    Parse(withTail(tail));
    EXPECT_EQ(Last().ContourCount, 1);      // the good contour before it stays
    EXPECT_EQ(scene.TextMaxX, 5);           // nothing of the damaged one was read
    EXPECT_TRUE(messages.Texts.empty());
  }
  // A damaged block alone gives a letter without contours.
  scene.ClearLetters();
  Parse(zeroCb);
  EXPECT_EQ(Last().ContourCount, 0);

  // A polygon type other than 24 is reported, the contours before it kept.
  auto foreign = TRecordBuilder().Polygon(FXi(1, 1), 25).Line({FXi(2, 2)}).Bytes();
  scene.ClearLetters();
  Parse(withTail(foreign));
  EXPECT_EQ(Last().ContourCount, 1);
  EXPECT_EQ(messages.Texts, std::vector<std::string>{"ERROR: Unknown Polygon"});
}

// Real glyph records with bytes flipped at random: parsing always ends, stays inside
// the block (checked by the sanitizer build) and within the letter's capacities.
TEST_F(GlyphOutline, MutatedRealRecordsNeverRunAway) {
  TFontEngine fonts;
  fonts.SelectFont({"Arial", 512, false, false, 0});
  TGlyphMetrics gm;
  const uint32_t size = fonts.GetGlyphOutline('&', gm, 0, nullptr);
  ASSERT_NE(size, GDI_ERROR);
  std::vector<uint8_t> original(size);
  ASSERT_EQ(fonts.GetGlyphOutline('&', gm, size, original.data()), size);
  uint32_t seed = 12345;
  auto next = [&] { return seed = seed * 1664525u + 1013904223u; };
  for (int round = 0; round < 2000; ++round) {
    std::vector<uint8_t> block = original;
    for (int flips = 1 + next() % 4; flips > 0; --flips) block[next() % block.size()] = static_cast<uint8_t>(next() >> 24);
    block.resize(block.size() - next() % 8);
    scene.ClearLetters();
    messages.Texts.clear();
    Parse(block);
    EXPECT_LE(Last().ContourCount, TLetter::MaxContours);
    EXPECT_LE(scene.PtCount, TScene::MaxPoints);
  }
}

TEST_F(GlyphOutline, CapacitiesDropPointsAndContoursSilently) {
  // 1100 line points: the contour keeps the first 1024 points, the closing point too
  // is dropped.
  std::vector<TPointFX> many;
  for (int i = 1; i <= 1100; ++i) many.push_back(FXi(i, i % 7));
  Parse(TRecordBuilder().Polygon(FXi(0, 0)).Line(many).Bytes());
  EXPECT_EQ(Last().Contour(1).PtCount, 1024);
  EXPECT_EQ(Last().Contour(1).Points.back(), (TPoint{1023, 1023 % 7}));
  EXPECT_EQ(scene.TextMaxX, 1023);

  // Ten contours: eight stored, the last two still widen the box.
  TRecordBuilder b;
  for (int i = 0; i < 10; ++i) b.Polygon(FXi(i * 100, 0)).Line({FXi(i * 100 + 50, 0), FXi(i * 100, 50)});
  scene.ClearLetters();
  Parse(b.Bytes());
  EXPECT_EQ(Last().ContourCount, 8);
  EXPECT_EQ(scene.TextMaxX, 950);

  // A SplPnt from a damaged work is bounded: no endless loop, at most 64 steps.
  scene.ClearLetters();
  scene.SplPnt = 2000000000;
  Parse(TRecordBuilder().Polygon(FXi(0, 0)).Spline({FXi(10, 10), FXi(20, 0)}).Bytes());
  EXPECT_EQ(Last().Contour(1).PtCount, 1 + MaxSplPnt + 1);
  scene.ClearLetters();
  scene.SplPnt = -5;
  Parse(TRecordBuilder().Polygon(FXi(0, 0)).Spline({FXi(10, 10), FXi(20, 0)}).Bytes());
  EXPECT_EQ(Last().Contour(1).PtCount, 1 + 1 + 1);
}

TEST_F(GlyphOutline, EngineFailuresLeaveLettersAndPenAlone) {
  TFakeGlyphs glyphs;
  glyphs.Block = TRecordBuilder().Polygon(FXi(0, 0)).Line({FXi(5, 0), FXi(5, 5)}).Bytes();
  scene.TxtW = 10;
  scene.PenX = 7;
  GetFontOutline(scene, glyphs, 'x');
  EXPECT_EQ(scene.LetterCount, 1);
  EXPECT_EQ(scene.Letter(1).ContourCount, 1);
  EXPECT_EQ(scene.Letter(1).Contour(1).Points[1], (TPoint{12, 0}));  // shifted by the pen
  EXPECT_EQ(scene.PenX, 7 + 40 + 20);

  glyphs.FailSizeQuery = true;
  GetFontOutline(scene, glyphs, 'x');
  glyphs.FailSizeQuery = false;
  glyphs.ShrinkSecondCall = true;
  GetFontOutline(scene, glyphs, 'x');
  EXPECT_EQ(scene.LetterCount, 1);
  EXPECT_EQ(scene.PenX, 67);
  EXPECT_EQ(messages.Texts,
            (std::vector<std::string>{"ERROR: Cannot obtain Size of the Glyph", "ERROR: Cannot get Glyph"}));

  // A negative advance (signed 16 bits) moves the pen back.
  glyphs.ShrinkSecondCall = false;
  glyphs.Advance = -30;
  GetFontOutline(scene, glyphs, 'x');
  EXPECT_EQ(scene.PenX, 67 - 30 + 20);
}

// The real font engine: Liberation Sans for "Arial", 18 points read at 512.
TEST_F(GlyphOutline, GlyphsOfARealFont) {
  TFontEngine fonts;
  fonts.SelectFont({"Arial", 512, false, false, 0});
  scene.TxtW = 10;

  GetFontOutline(scene, fonts, ' ');
  ASSERT_EQ(scene.LetterCount, 1);
  EXPECT_EQ(scene.Letter(1).ContourCount, 0);
  TGlyphMetrics blank;
  fonts.GetGlyphOutline(' ', blank, 0, nullptr);
  EXPECT_EQ(scene.PenX, blank.gmCellIncX + 20);
  EXPECT_EQ(scene.TextMinX, 65535);  // a blank adds no point

  const int32_t pen = scene.PenX;
  GetFontOutline(scene, fonts, 'o');
  const TLetter& o = scene.Letter(2);
  ASSERT_EQ(o.ContourCount, 2);
  for (int c = 1; c <= 2; ++c) {
    EXPECT_GT(o.Contour(c).PtCount, 20);
    EXPECT_EQ(o.Contour(c).Points.front(), o.Contour(c).Points.back());
  }
  // The glyph stands on the baseline right of the pen, about 330 pixels wide.
  EXPECT_GE(scene.TextMinX, pen);
  EXPECT_NEAR(scene.TextMaxX - scene.TextMinX, 330, 60);
  EXPECT_NEAR(scene.TextMinY, 0, 15);

  // The outline complexity sets the points per spline segment: at " Complex" every
  // segment has two more points than at " Simple", so the contours grow by twice
  // their segment count.
  int counts[4] = {};
  for (int splPnt : {1, 2, 3}) {
    scene.ClearLetters();
    scene.PenX = 0;
    scene.SplPnt = splPnt;
    GetFontOutline(scene, fonts, 'o');
    counts[splPnt] = scene.Letter(1).Contour(1).PtCount + scene.Letter(1).Contour(2).PtCount;
  }
  const int segments = counts[2] - counts[1];
  EXPECT_GT(segments, 8);
  EXPECT_EQ(counts[3] - counts[1], 2 * segments);
  EXPECT_TRUE(messages.Texts.empty());
}

}  // namespace
}  // namespace qz
