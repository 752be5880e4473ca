#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "render/FontView.h"

namespace qz {
namespace {

using Crossings = std::vector<std::pair<int, int>>;  // (X, Dir)
using Spans = std::vector<std::pair<int, int>>;

Crossings RowCrossings(const TFontView& v, int row) {
  Crossings out;
  for (int k = 1; k <= v.CrossCount(row); ++k) out.emplace_back(v.Crossing(row, k).X, v.Crossing(row, k).Dir);
  return out;
}

Spans RowSpans(const TFontView& v, int row) {
  Spans out;
  for (int k = 1; k <= v.SpanCount(row); ++k) out.emplace_back(v.Span(row, k).X1, v.Span(row, k).X2);
  return out;
}

void AddPolygon(TFontView& v, const std::vector<TScreenPoint>& pts) {
  for (size_t i = 0; i + 1 < pts.size(); ++i) v.AddEdge(pts[i], pts[i + 1]);
}

TEST(FontView, CrossingsStaySortedAndBeforeDecidesAmongEqualColumns) {
  TFontView v(4);
  v.AddCrossing(5, 1, false, TFontView::DirDown);
  v.AddCrossing(3, 1, false, TFontView::DirUp);
  EXPECT_EQ(RowCrossings(v, 1), (Crossings{{3, 1}, {5, 0}}));
  v.AddCrossing(5, 1, true, TFontView::DirUp);    // before: goes in front of the 5 already there
  EXPECT_EQ(RowCrossings(v, 1), (Crossings{{3, 1}, {5, 1}, {5, 0}}));
  v.AddCrossing(3, 1, false, TFontView::DirDown);  // after: behind the 3 already there
  EXPECT_EQ(RowCrossings(v, 1), (Crossings{{3, 1}, {3, 0}, {5, 1}, {5, 0}}));
  // Same column and same direction: one vertex shared by two edges running the same way.
  v.AddCrossing(5, 1, true, TFontView::DirDown);
  EXPECT_EQ(v.CrossCount(1), 4);
  // Rows outside the view take nothing.
  v.AddCrossing(1, -1, false, 0);
  v.AddCrossing(1, 4, false, 0);
  for (int r : {0, 2, 3}) EXPECT_EQ(v.CrossCount(r), 0);
}

TEST(FontView, RowLimits) {
  TFontView v(1);
  for (int x = 0; x < 40; ++x) v.AddCrossing(x * 2, 0, false, 0);
  EXPECT_EQ(v.CrossCount(0), TFontView::MaxCrossings);
  v.MakeSpans();
  EXPECT_EQ(v.SpanCount(0), TFontView::MaxSpans);
  EXPECT_EQ(RowSpans(v, 0).back(), std::make_pair(60, 62));
  v.AddSpan(0, 100, 110);  // full
  EXPECT_EQ(v.SpanCount(0), TFontView::MaxSpans);
}

TEST(FontView, PairsCrossingsOnEvenRowsOnly) {
  TFontView v(3);
  for (int x : {2, 8, 12, 20}) v.AddCrossing(x, 0, false, x < 10 ? 0 : 1);
  for (int x : {2, 8, 12}) v.AddCrossing(x, 1, false, 0);
  v.AddCrossing(4, 2, false, 1);
  v.AddCrossing(4, 2, false, 0);  // zero width: dropped
  v.MakeSpans();
  EXPECT_EQ(RowSpans(v, 0), (Spans{{2, 8}, {12, 20}}));
  EXPECT_EQ(RowSpans(v, 1), Spans{});
  EXPECT_EQ(RowSpans(v, 2), Spans{});
}

TEST(FontView, ClosedSquareFillsEveryRowItSpans) {
  TFontView v(12);
  AddPolygon(v, {{2, 2}, {8, 2}, {8, 8}, {2, 8}, {2, 2}});
  v.MakeSpans();
  for (int r = 0; r < 12; ++r)
    EXPECT_EQ(RowSpans(v, r), (r >= 2 && r <= 8 ? Spans{{2, 8}} : Spans{})) << "row " << r;
}

TEST(FontView, HoleLeavesItsInsideOpen) {
  TFontView v(20);
  AddPolygon(v, {{2, 2}, {2, 16}, {16, 16}, {16, 2}, {2, 2}});
  AddPolygon(v, {{6, 6}, {12, 6}, {12, 12}, {6, 12}, {6, 6}});  // the other way round
  v.MakeSpans();
  EXPECT_EQ(RowSpans(v, 4), (Spans{{2, 16}}));
  EXPECT_EQ(RowSpans(v, 9), (Spans{{2, 6}, {12, 16}}));
}

TEST(FontView, UnclosedOutlineLeavesItsClosingEdgeOut) {
  TFontView v(12);
  AddPolygon(v, {{2, 2}, {8, 2}, {8, 8}, {2, 8}});  // no edge back up the left side
  v.MakeSpans();
  for (int r = 3; r <= 7; ++r) EXPECT_EQ(RowSpans(v, r), Spans{}) << "row " << r;  // one crossing: odd
}

TEST(FontView, SlantedEdgesRoundHalvesToEven) {
  TFontView v(4);
  // x = (y - 0) * 3 / 2 + 0: 0, 1.5 -> 2, 3, 4.5 -> 4.
  v.AddEdge({0, 0}, {3, 2});
  v.AddEdge({9, 3}, {9, 0});
  EXPECT_EQ(v.Crossing(1, 1).X, 2);
  TFontView w(4);
  w.AddEdge({0, 0}, {9, 2});  // 0, 4.5 -> 4, 9
  EXPECT_EQ(w.Crossing(1, 1).X, 4);
}

TEST(FontView, EdgesFarOutsideTheViewCostNothingAndAddNothingOutside) {
  TFontView v(5);
  v.AddEdge({10, -1000000}, {10, 1000000});
  v.AddEdge({20, 1000000}, {20, -1000000});
  v.MakeSpans();
  for (int r = 0; r < 5; ++r) EXPECT_EQ(RowSpans(v, r), (Spans{{10, 20}}));
}

}  // namespace
}  // namespace qz
