#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <tuple>
#include <vector>

#include "render/ZBuffer.h"

namespace qz {
namespace {

// One entry of a row as (X1, X2, A, B, Depth, Live), in entry order.
using Entry = std::tuple<int, int, int, int, float, int>;

std::vector<Entry> RowEntries(const TZBuffer& zb, int row) {
  std::vector<Entry> out;
  for (int k = 1; k <= zb.Count(row); ++k) {
    const TSpanEntry& e = zb.Entry(row, k);
    out.emplace_back(e.X1, e.X2, e.A, e.B, e.Depth, e.Live);
  }
  return out;
}

// Live spans only, sorted by column.
std::vector<Entry> LiveSpans(const TZBuffer& zb, int row) {
  std::vector<Entry> out;
  for (const Entry& e : RowEntries(zb, row))
    if (std::get<5>(e)) out.push_back(e);
  std::sort(out.begin(), out.end());
  return out;
}

TZBuffer Buffer(int rows, int width) {
  TZBuffer zb;
  zb.SetSize(rows, width);
  return zb;
}

// Spans inserted one after another into row 0, and the row's entries after them in
// entry order, dead ones too: entry order decides which span a full row loses. Which
// pixels each span wins is checked against a per-pixel reference below.
struct TInsertCase {
  const char* What;
  std::vector<std::tuple<int, int, int, int, float>> Spans;  // X1, X2, A, B, Depth
  std::vector<Entry> Want;
};

TEST(ZBuffer, InsertionTrimsSplitsAndKillsSpans) {
  const TInsertCase cases[] = {
      {"a nearer span trims the right part of a farther one",
       {{10, 20, 7, 9, 5}, {15, 30, 1, 2, 3}},
       {{10, 14, 7, 9, 5, 1}, {15, 30, 1, 2, 3, 1}}},
      {"a farther span round a nearer one goes in as two pieces, the right one first",
       {{10, 20, 7, 9, 5}, {5, 25, 1, 2, 7}},
       {{10, 20, 7, 9, 5, 1}, {21, 25, 1, 2, 7, 1}, {5, 9, 1, 2, 7, 1}}},
      {"a nearer span inside a farther one splits it: the old entry keeps the right part",
       {{10, 40, 3, 4, 9}, {20, 25, 50, 60, 1}},
       {{26, 40, 3, 4, 9, 1}, {10, 19, 3, 4, 9, 1}, {20, 25, 50, 60, 1, 1}}},
      {"a farther span inside a nearer one is not inserted; a nearer one over all of it kills it",
       {{10, 40, 3, 4, 2}, {15, 30, 8, 8, 6}, {5, 45, 1, 1, 1}},
       {{10, 40, 3, 4, 2, 0}, {5, 45, 1, 1, 1, 1}}},
      {"the earlier span wins a tie; one wholly inside an equally deep span is not inserted",
       {{10, 20, 1, 1, 4}, {0, 30, 2, 2, 4}, {12, 18, 3, 3, 4}},
       {{10, 20, 1, 1, 4, 1}, {21, 30, 2, 2, 4, 1}, {0, 9, 2, 2, 4, 1}}},
  };
  for (const TInsertCase& c : cases) {
    TZBuffer zb = Buffer(1, 100);
    for (auto [x1, x2, a, b, depth] : c.Spans) zb.InsertSpan(0, x1, x2, a, b, depth);
    EXPECT_EQ(RowEntries(zb, 0), c.Want) << c.What;
  }
}

TEST(ZBuffer, SizesRangeTestsAndClippingKeepEverythingInside) {
  TZBuffer zb;
  zb.InsertSpan(0, 0, 1, 1, 1, 1.0f);  // no rows yet: nothing happens
  zb.SetSize(0, 10);
  zb.SetSize(10, 0);
  EXPECT_EQ(zb.RowCount(), 0);
  zb.SetSize(5, 8);
  zb.InsertSpan(4, 0, 7, 1, 1, 1.0f);
  zb.SetSize(5, 12);  // same rows, new width: cleared
  EXPECT_EQ(zb.Count(4), 0);
  EXPECT_EQ(zb.MaxX(), 11);
  zb.SetSize(100000, 100000);  // beyond 16-bit columns: limited
  EXPECT_EQ(zb.RowCount(), TZBuffer::MaxSide);
  EXPECT_EQ(zb.MaxX(), TZBuffer::MaxSide - 1);

  zb.SetSize(3, 20);
  zb.InsertSpan(-1, 0, 5, 1, 1, 1.0f);
  zb.InsertSpan(3, 0, 5, 1, 1, 1.0f);
  zb.InsertSpan(0, 6, 5, 1, 1, 1.0f);     // X2 < X1
  zb.InsertSpan(0, -9, -1, 1, 1, 1.0f);   // wholly left
  zb.InsertSpan(0, 20, 25, 1, 1, 1.0f);   // wholly right of MaxX = 19
  EXPECT_EQ(zb.Count(0), 0);
  zb.InsertSpan(1, -5, 5, 10, 20, 1.0f);
  zb.InsertSpan(2, 15, 40, 30, 40, 1.0f);
  EXPECT_EQ(RowEntries(zb, 1), (std::vector<Entry>{{0, 5, 10, 20, 1.0f, 1}}));
  EXPECT_EQ(RowEntries(zb, 2), (std::vector<Entry>{{15, 19, 30, 40, 1.0f, 1}}));
  // Columns beyond 16 bits are clipped, never wrapped: 65539 would wrap to column 3.
  zb.InsertSpan(0, 65539, 65545, 1, 1, 1.0f);
  EXPECT_EQ(zb.Count(0), 0);
  zb.InsertSpan(0, -70000, 70000, -40, 900, 1.0f);  // levels bounded to the palette
  EXPECT_EQ(RowEntries(zb, 0), (std::vector<Entry>{{0, 19, 0, 255, 1.0f, 1}}));
}

TEST(ZBuffer, FiveHundredTwelveEntriesCountingDeadOnes) {
  TZBuffer zb = Buffer(2, 100);
  // Each span is nearer than the last and covers it: one live entry, many dead.
  for (int i = 0; i < TZBuffer::MaxEntries; ++i) zb.InsertSpan(0, 10, 20, 1, 1, 1000.0f - i);
  EXPECT_EQ(zb.Count(0), TZBuffer::MaxEntries);
  EXPECT_EQ(LiveSpans(zb, 0).size(), 1u);
  zb.InsertSpan(0, 30, 40, 2, 2, 1.0f);  // free columns, but the row is full
  EXPECT_EQ(LiveSpans(zb, 0).size(), 1u);
  // Clear makes room again and switches texturing off.
  TBitmap tex(4, 4);
  zb.SetTexture(tex);
  zb.Clear();
  EXPECT_FALSE(zb.Textured);
  EXPECT_EQ(zb.Count(0), 0);
  zb.InsertSpan(0, 30, 40, 2, 2, 1.0f);
  EXPECT_EQ(zb.Count(0), 1);

  // 511 entries: the left remainder of a split takes entry 512 and the nearer span
  // itself finds no room.
  TZBuffer zb2 = Buffer(1, 100);
  for (int i = 0; i < TZBuffer::MaxEntries - 2; ++i) zb2.InsertSpan(0, 90, 95, 1, 1, 1000.0f - i);
  zb2.InsertSpan(0, 0, 50, 3, 3, 900.0f);  // entry 511
  zb2.InsertSpan(0, 20, 30, 4, 4, 1.0f);   // remainder 0..19 is entry 512; 20..30 is lost
  EXPECT_EQ(LiveSpans(zb2, 0), (std::vector<Entry>{{0, 19, 3, 3, 900.0f, 1},
                                                   {31, 50, 3, 3, 900.0f, 1},
                                                   {90, 95, 1, 1, 491.0f, 1}}));
}

// Against a per-pixel reference: a span wins a pixel only when strictly nearer than
// what holds it, and keeps the levels it was inserted with. With fewer than 512
// entries nothing is dropped, so the live spans must give exactly that picture.
TEST(ZBuffer, LiveSpansMatchAPerPixelDepthTest) {
  std::mt19937 rng(1234);
  const int width = 64;
  for (int trial = 0; trial < 400; ++trial) {
    TZBuffer zb = Buffer(1, width);
    struct Px { float depth = 1e30f; int a = -1, b = -1; };
    std::vector<Px> ref(width);
    const int spans = 1 + trial % 40;
    for (int s = 0; s < spans; ++s) {
      int x1 = static_cast<int>(rng() % 90) - 13, x2 = x1 + static_cast<int>(rng() % 40) - 3;
      const int a = static_cast<int>(rng() % 256), b = static_cast<int>(rng() % 256);
      const float depth = static_cast<float>(rng() % 12);  // many ties on purpose
      zb.InsertSpan(0, x1, x2, a, b, depth);
      if (x2 < x1) continue;
      for (int x = std::max(x1, 0); x <= std::min(x2, width - 1); ++x)
        if (depth < ref[x].depth) ref[x] = {depth, a, b};
    }
    std::vector<Px> got(width);
    for (const Entry& e : LiveSpans(zb, 0)) {
      for (int x = std::get<0>(e); x <= std::get<1>(e); ++x) {
        ASSERT_EQ(got[x].a, -1) << "live spans overlap at column " << x << " in trial " << trial;
        got[x] = {std::get<4>(e), std::get<2>(e), std::get<3>(e)};
      }
    }
    for (int x = 0; x < width; ++x) {
      ASSERT_EQ(got[x].a, ref[x].a) << "column " << x << " trial " << trial;
      ASSERT_EQ(got[x].b, ref[x].b) << "column " << x << " trial " << trial;
      if (ref[x].a >= 0) {
        ASSERT_EQ(got[x].depth, ref[x].depth);
      }
    }
  }
}

TPalette Ramp() {
  TPalette p;
  for (int i = 0; i < 256; ++i) p[i] = RGBToPixel(i, 255 - i, 7);
  return p;
}

std::vector<int> Levels(const TBitmap& bmp, int row, int x1, int x2) {
  std::vector<int> out;
  for (int x = x1; x <= x2; ++x) out.push_back(static_cast<int>(PixelRed(bmp.Pixel(x, row))));
  return out;
}

TEST(ZBuffer, GradientsInFixedPoint) {
  const TPalette pal = Ramp();
  // From level A to B in 16.16 steps truncated toward zero: 10 to 20 over 11 pixels
  // reaches 20; 0 to 2 over 4 pixels steps 682 and stays at 1 (a rounded step would
  // reach 2); downwards the truncation keeps the level from dropping below B.
  const std::tuple<int, int, int, int, std::vector<int>> cases[] = {
      {10, 20, 10, 20, {10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20}},
      {30, 33, 10, 0, {10, 6, 3, 0}},
      {0, 3, 0, 2, {0, 0, 1, 1}},
      {15, 15, 200, 5, {200}},  // one pixel: Palette[A] only
  };
  for (const auto& [x1, x2, a, b, want] : cases) {
    std::vector<uint32_t> row(40, 0);
    TZBuffer::GradientSpan(x1, x2, row.data(), pal, a, b);
    std::vector<int> levels;
    for (int x = x1; x <= x2; ++x) levels.push_back(static_cast<int>(PixelRed(row[x])));
    EXPECT_EQ(levels, want) << a << " to " << b;
    EXPECT_EQ(row[x2 + 1], 0u);
  }
}

TEST(ZBuffer, FlushDrawsLiveSpansOnly) {
  const TPalette pal = Ramp();
  TZBuffer zb = Buffer(3, 30);
  zb.InsertSpan(0, 0, 9, 40, 40, 5.0f);
  zb.InsertSpan(0, 2, 4, 10, 14, 1.0f);   // splits the first
  zb.InsertSpan(1, 5, 8, 20, 20, 3.0f);
  zb.InsertSpan(1, 0, 20, 1, 1, 1.0f);    // kills it
  TBitmap img(30, 3);
  img.Fill(0x12345678);
  zb.Flush(img, pal, false);
  EXPECT_EQ(Levels(img, 0, 0, 10), (std::vector<int>{40, 40, 10, 12, 14, 40, 40, 40, 40, 40, 0x34}));
  EXPECT_EQ(Levels(img, 1, 0, 20), std::vector<int>(21, 1));
  EXPECT_EQ(img.Pixel(21, 1), 0x12345678u);
  EXPECT_EQ(img.Pixel(0, 2), 0x12345678u);
  // Mask mode: white, all three channels 255, wherever a live span lies.
  TBitmap mask(30, 3);
  zb.Flush(mask, pal, true);
  EXPECT_EQ(mask.Pixel(3, 0), MaskWhite);
  EXPECT_EQ(mask.Pixel(20, 1), MaskWhite);
  EXPECT_EQ(mask.Pixel(10, 0), 0u);
  // A bitmap smaller than the buffer is left alone rather than written past its end.
  TBitmap small(10, 3);
  zb.Flush(small, pal, false);
  EXPECT_EQ(small, TBitmap(10, 3));
  // Textured with an empty texture: the gradient, as without one.
  TBitmap empty, again(30, 3);
  zb.SetTexture(empty);
  EXPECT_TRUE(zb.Textured);
  zb.Flush(again, pal, false);
  EXPECT_EQ(Levels(again, 0, 0, 9), Levels(img, 0, 0, 9));
}

}  // namespace
}  // namespace qz
