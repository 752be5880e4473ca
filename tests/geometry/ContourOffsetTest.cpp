#include "geometry/ContourOffset.h"

#include <gtest/gtest.h>

namespace qz {
namespace {

TLetter LetterOf(const std::vector<std::vector<TPoint>>& contours) {
  TLetter l;
  for (const auto& c : contours) l.AddContour(c.data(), static_cast<int32_t>(c.size()));
  return l;
}

const std::vector<TPoint> Square{{0, 0}, {0, 10}, {10, 10}, {10, 0}, {0, 0}};

TEST(ContourOffset, ContourPointWrapsIndicesAndContours) {
  const TLetter l = LetterOf({Square, {{5, 5}, {6, 5}, {5, 6}, {5, 5}}});
  // (contour, index) -> point: a period of 4 (the closing point is not counted).
  const std::tuple<int, int, TPoint> cases[] = {{1, 5, {0, 0}},  {1, 0, {10, 0}},  {1, 6, {0, 10}},  {1, -2, {0, 10}},
                                                {3, 2, {0, 10}}, {0, 2, {6, 5}},   {1, 4002, {0, 10}}, {1, -3998, {0, 10}}};
  for (const auto& [contour, index, point] : cases) EXPECT_EQ(ContourPoint(l, contour, index), point) << contour << " " << index;
  // Nothing to read: the origin, never a read outside the letter.
  EXPECT_EQ(ContourPoint(TLetter{}, 1, 1), (TPoint{0, 0}));
  EXPECT_EQ(ContourPoint(LetterOf({{}}), 1, 3), (TPoint{0, 0}));
  EXPECT_EQ(ContourPoint(LetterOf({{{7, 8}}}), 1, 5), (TPoint{7, 8}));
}

TEST(ContourOffset, DistinctNeighboursSkipRepeatsWithUnwrappedIndices) {
  const TLetter l = LetterOf({{{0, 0}, {0, 10}, {0, 10}, {0, 10}, {10, 10}, {10, 0}, {0, 0}}});
  int k = 1;
  EXPECT_EQ(PrevDistinct(l, 1, k), (TPoint{10, 0}));  // index 0 is the same place as 6
  EXPECT_EQ(k, 0);
  k = 2;
  for (auto [point, index] : {std::pair{TPoint{10, 10}, 5}, {TPoint{10, 0}, 6}, {TPoint{0, 0}, 7}, {TPoint{0, 10}, 8}}) {
    EXPECT_EQ(NextDistinct(l, 1, k), point);  // on from there, across the closing point
    EXPECT_EQ(k, index);
  }
  k = 1;
  EXPECT_EQ(PrevDistinct(LetterOf({{{0, 0}, {0, 10}, {10, 10}, {10, 0}, {0, 0}, {0, 0}}}), 1, k), (TPoint{10, 0}));
  EXPECT_EQ(k, -1);  // skips the repeated start
  EXPECT_TRUE(HasDistinctPoints(LetterOf({Square}), 1));
  // Contours without distinct points end the search where it began.
  for (const auto& pts : std::vector<std::vector<TPoint>>{{{3, 3}, {3, 3}, {3, 3}}, {{3, 3}}, {}}) {
    const TLetter d = LetterOf({pts});
    k = 1;
    EXPECT_EQ(NextDistinct(d, 1, k), ContourPoint(d, 1, 1));
    EXPECT_EQ(PrevDistinct(d, 1, k), ContourPoint(d, 1, 1));
    EXPECT_EQ(k, 1);
    EXPECT_FALSE(HasDistinctPoints(d, 1));
  }
  EXPECT_FALSE(HasDistinctPoints(TLetter{}, 1));
}

// The mitre of a right angle: up the left side, then right along the top (clockwise
// with y up); both edges pushed outward, x twice as far as y, meet at (-2d, 10 + d).
TEST(ContourOffset, TheMitreOfAKnownCornerAndTheEdgeWalk) {
  EXPECT_EQ(OffsetVertex({0, 0}, {0, 10}, {10, 10}, 5), (TPoint{-10, 15}));
  EXPECT_EQ(OffsetVertex({0, 0}, {0, 10}, {10, 10}, -5), (TPoint{10, 5}));  // inward
  // The walk over a square of half-size 50 from its top left corner: the neighbours
  // are the distinct positions around the edge, and the offset edge lies outside.
  const TLetter square = LetterOf({{{-50, 50}, {50, 50}, {50, -50}, {-50, -50}, {-50, 50}}});
  const TContourEdge e = EdgeAt(square, 1, 1);
  EXPECT_EQ((std::vector<TPoint>{e.B, e.A, e.C, e.D}), (std::vector<TPoint>{{-50, -50}, {-50, 50}, {50, 50}, {50, -50}}));
  const TContourEdge w = e.Offset(10);
  EXPECT_EQ((std::vector<TPoint>{w.B, w.A, w.C, w.D}), (std::vector<TPoint>{{-50, -50}, {-70, 60}, {70, 60}, {50, -50}}));
}

TEST(ContourOffset, OffsetVertexOfDegenerateCorners) {
  EXPECT_EQ(OffsetVertex({0, 0}, {7, 3}, {20, -4}, 0), (TPoint{7, 3}));     // d = 0 gives M itself
  // A sharp corner is not limited: the mitre of a thin spike reaches far beyond its tip.
  EXPECT_GT(OffsetVertex({0, 2}, {100, 1}, {0, 0}, 10).x, 1000);
  // Zero-length edges do not divide by zero: the other edge alone decides.
  EXPECT_EQ(OffsetVertex({0, 0}, {0, 10}, {0, 10}, 1), (TPoint{-2, 10}));
  EXPECT_EQ(OffsetVertex({0, 10}, {0, 10}, {10, 10}, 1), (TPoint{0, 11}));
  EXPECT_EQ(OffsetVertex({4, 4}, {4, 4}, {4, 4}, 5), (TPoint{4, 4}));
}

}  // namespace
}  // namespace qz
