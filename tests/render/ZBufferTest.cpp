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

// The insertion rules, entry by entry: a nearer span trims what it overlaps on either
// side, a span behind one inside it is split with its right part inserted first, and
// on equal depth the span already present wins. Trimmed parts keep their levels.
TEST(ZBuffer, NearerSpansTrimBothSidesFartherOnesSplitAndTiesKeepTheFirst) {
  TZBuffer zb = Buffer(1, 100);
  zb.InsertSpan(0, 10, 30, 1, 2, 5.0f);
  zb.InsertSpan(0, 40, 60, 3, 4, 5.0f);
  zb.InsertSpan(0, 25, 45, 7, 8, 1.0f);  // nearer: trims the first on its right, the second on its left
  EXPECT_EQ(RowEntries(zb, 0), (std::vector<Entry>{{10, 24, 1, 2, 5.0f, 1}, {46, 60, 3, 4, 5.0f, 1}, {25, 45, 7, 8, 1.0f, 1}}));

  TZBuffer split = Buffer(1, 100);
  split.InsertSpan(0, 40, 50, 1, 1, 1.0f);
  split.InsertSpan(0, 20, 70, 9, 9, 2.0f);  // behind, and around it: the right part goes in first
  EXPECT_EQ(RowEntries(split, 0), (std::vector<Entry>{{40, 50, 1, 1, 1.0f, 1}, {51, 70, 9, 9, 2.0f, 1}, {20, 39, 9, 9, 2.0f, 1}}));

  TZBuffer tie = Buffer(1, 100);
  tie.InsertSpan(0, 10, 20, 1, 1, 3.0f);
  tie.InsertSpan(0, 15, 25, 2, 2, 3.0f);  // as near: the earlier span keeps 15..20
  tie.InsertSpan(0, 12, 18, 4, 4, 3.0f);  // wholly under an earlier one: dropped
  EXPECT_EQ(RowEntries(tie, 0), (std::vector<Entry>{{10, 20, 1, 1, 3.0f, 1}, {21, 25, 2, 2, 3.0f, 1}}));
  // A nearer span inside an entry cuts it in two; one over it hides it.
  tie.InsertSpan(0, 12, 14, 5, 5, 0.5f);
  tie.InsertSpan(0, 21, 25, 6, 6, 0.5f);
  EXPECT_EQ(LiveSpans(tie, 0), (std::vector<Entry>{{10, 11, 1, 1, 3.0f, 1}, {12, 14, 5, 5, 0.5f, 1}, {15, 20, 1, 1, 3.0f, 1},
                                                   {21, 25, 6, 6, 0.5f, 1}}));
}

// Hundreds of spans in one row, as the letters of a long message leave them: however
// they overlap, every column ends up with exactly the nearest span over it (the
// earliest among equally near ones), and nothing where none was inserted. Rows at
// the widest size put spans against both 16-bit ends of the columns.
TEST(ZBuffer, EveryColumnKeepsItsNearestSpanAmongHundreds) {
  for (const int width : {700, static_cast<int>(TZBuffer::MaxSide)}) {
    for (const unsigned seed : {1u, 2u, 3u}) {
      std::mt19937 random(seed);
      TZBuffer zb = Buffer(1, width);
      std::vector<int> owner(width, -1);  // the insertion each column shows
      std::vector<float> nearest(width);
      for (int i = 0; i < 160; ++i) {
        // Mostly narrow spans, some wide ones, a few over the edges; depths from a
        // small set, so ties happen.
        const bool atEnd = random() % 2 == 0 && width > 1000;
        const int centre = atEnd ? width - 1 - static_cast<int>(random() % 300) : static_cast<int>(random() % width);
        const int half = random() % 8 == 0 ? static_cast<int>(random() % 400) : static_cast<int>(random() % 12);
        const int x1 = centre - half - 5, x2 = centre + half;
        const float depth = static_cast<float>(random() % 20);
        zb.InsertSpan(0, x1, x2, i % 256, i / 256, depth);
        for (int x = std::max(x1, 0); x <= std::min(x2, width - 1); ++x)
          if (owner[x] < 0 || depth < nearest[x]) {
            owner[x] = i;
            nearest[x] = depth;
          }
      }
      ASSERT_LT(zb.Count(0), TZBuffer::MaxEntries);  // nothing was dropped for room
      std::vector<int> shown(width, -1);
      for (const Entry& e : LiveSpans(zb, 0))
        for (int x = std::get<0>(e); x <= std::get<1>(e); ++x) {
          ASSERT_EQ(shown[x], -1) << "two live spans over column " << x;
          shown[x] = std::get<2>(e) + 256 * std::get<3>(e);
        }
      EXPECT_EQ(shown, owner) << "width " << width << ", seed " << seed;
    }
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

// A bitmap smaller than the buffer is left alone rather than written past its end; an
// empty texture draws the plain gradient.
TEST(ZBuffer, FlushIntoASmallBitmapOrWithAnEmptyTexture) {
  TPalette pal;
  for (int i = 0; i < 256; ++i) pal[i] = RGBToPixel(i, 255 - i, 7);
  TZBuffer zb = Buffer(3, 30);
  zb.InsertSpan(0, 0, 9, 10, 40, 5.0f);
  TBitmap small(10, 3), img(30, 3), again(30, 3);
  zb.Flush(small, pal, false);
  EXPECT_EQ(small, TBitmap(10, 3));
  zb.Flush(img, pal, false);
  TBitmap empty;
  zb.SetTexture(empty);
  EXPECT_TRUE(zb.Textured);
  zb.Flush(again, pal, false);
  EXPECT_EQ(again, img);
}

}  // namespace
}  // namespace qz
