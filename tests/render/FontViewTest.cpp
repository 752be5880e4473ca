#include "render/FontView.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

namespace qz {
namespace {

using Pairs = std::vector<std::pair<int, int>>;  // (X, Dir) crossings or (X1, X2) spans

Pairs RowSpans(const TFontView& v, int row) {
  Pairs out;
  for (int k = 1; k <= v.SpanCount(row); ++k) out.emplace_back(v.Span(row, k).X1, v.Span(row, k).X2);
  return out;
}

// The spans of the polygons' edges, every row.
std::vector<Pairs> Fill(int rows, const std::vector<std::vector<TScreenPoint>>& polygons) {
  TFontView v(rows);
  for (const auto& pts : polygons)
    for (size_t i = 0; i + 1 < pts.size(); ++i) v.AddEdge(pts[i], pts[i + 1]);
  v.MakeSpans();
  std::vector<Pairs> out;
  for (int r = 0; r < rows; ++r) out.push_back(RowSpans(v, r));
  return out;
}

TEST(FontView, RowsOutsideTheViewAndFullRowsTakeNothing) {
  TFontView v(4);
  v.AddCrossing(1, -1, false, 0);  // rows outside the view take nothing
  v.AddCrossing(1, 4, false, 0);
  for (int r : {0, 1, 2, 3}) EXPECT_EQ(v.CrossCount(r), 0);
  // Full rows take nothing more.
  TFontView full(1);
  for (int x = 0; x < 40; ++x) full.AddCrossing(x * 2, 0, false, 0);
  EXPECT_EQ(full.CrossCount(0), TFontView::MaxCrossings);
  full.MakeSpans();
  EXPECT_EQ(full.SpanCount(0), TFontView::MaxSpans);
  EXPECT_EQ(RowSpans(full, 0).back(), std::make_pair(60, 62));
  full.AddSpan(0, 100, 110);
  EXPECT_EQ(full.SpanCount(0), TFontView::MaxSpans);
}

TEST(FontView, UnclosedAndFarOutsideOutlinesStayBounded) {
  // An unclosed outline leaves its closing edge out: one crossing a row, nothing filled.
  const auto open = Fill(12, {{{2, 2}, {8, 2}, {8, 8}, {2, 8}}});
  for (int r = 3; r <= 7; ++r) EXPECT_EQ(open[r], Pairs{}) << "row " << r;
  // Edges far outside the view cost nothing and add nothing outside.
  for (const Pairs& row : Fill(5, {{{10, -1000000}, {10, 1000000}}, {{20, 1000000}, {20, -1000000}}}))
    EXPECT_EQ(row, (Pairs{{10, 20}}));
}

}  // namespace
}  // namespace qz
