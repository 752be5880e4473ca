#include <gtest/gtest.h>

#include "geometry/ContourOffset.h"

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
  EXPECT_EQ(ContourPoint(l, 1, 5), ContourPoint(l, 1, 1));
  EXPECT_EQ(ContourPoint(l, 1, 0), (TPoint{10, 0}));   // point 4
  EXPECT_EQ(ContourPoint(l, 1, 6), (TPoint{0, 10}));   // point 2
  EXPECT_EQ(ContourPoint(l, 1, -2), (TPoint{0, 10}));  // -2 + 4 = 2
  EXPECT_EQ(ContourPoint(l, 3, 2), (TPoint{0, 10}));   // contour 3 of 2 is contour 1
  EXPECT_EQ(ContourPoint(l, 0, 2), (TPoint{6, 5}));    // contour 0 is contour 2
  // Far outside a period (no walk makes such an index): still a point of the contour.
  EXPECT_EQ(ContourPoint(l, 1, 4 * 1000 + 2), (TPoint{0, 10}));
  EXPECT_EQ(ContourPoint(l, 1, -4 * 1000 + 2), (TPoint{0, 10}));
  // Nothing to read: the origin, never a read outside the letter.
  EXPECT_EQ(ContourPoint(TLetter{}, 1, 1), (TPoint{0, 0}));
  const TLetter empty = LetterOf({{}});
  EXPECT_EQ(ContourPoint(empty, 1, 3), (TPoint{0, 0}));
  const TLetter single = LetterOf({{{7, 8}}});
  EXPECT_EQ(ContourPoint(single, 1, 5), (TPoint{7, 8}));
}

TEST(ContourOffset, DistinctNeighboursSkipRepeats) {
  const TLetter l = LetterOf({{{0, 0}, {0, 10}, {0, 10}, {0, 10}, {10, 10}, {10, 0}, {0, 0}}});
  int k = 1;
  EXPECT_EQ(PrevDistinct(l, 1, k), (TPoint{10, 0}));  // index 0 is the same place as 6
  EXPECT_EQ(k, 0);
  const TLetter doubled = LetterOf({{{0, 0}, {0, 10}, {10, 10}, {10, 0}, {0, 0}, {0, 0}}});
  k = 1;
  EXPECT_EQ(PrevDistinct(doubled, 1, k), (TPoint{10, 0}));  // skips the repeated start
  EXPECT_EQ(k, -1);                                         // unwrapped
  k = 2;
  EXPECT_EQ(NextDistinct(l, 1, k), (TPoint{10, 10}));
  EXPECT_EQ(k, 5);
  EXPECT_EQ(NextDistinct(l, 1, k), (TPoint{10, 0}));  // continues from there
  EXPECT_EQ(k, 6);
  EXPECT_EQ(NextDistinct(l, 1, k), (TPoint{0, 0}));
  EXPECT_EQ(k, 7);
  EXPECT_EQ(NextDistinct(l, 1, k), (TPoint{0, 10}));  // across the closing point, unwrapped
  EXPECT_EQ(k, 8);
  const TLetter sq = LetterOf({Square});
  k = 1;
  EXPECT_EQ(PrevDistinct(sq, 1, k), (TPoint{10, 0}));
  EXPECT_EQ(k, 0);
  EXPECT_TRUE(HasDistinctPoints(sq, 1));
}

TEST(ContourOffset, ContoursWithoutDistinctPointsEndTheSearch) {
  for (const auto& pts : std::vector<std::vector<TPoint>>{
           {{3, 3}, {3, 3}}, {{3, 3}, {3, 3}, {3, 3}, {3, 3}}, {{3, 3}}, {}}) {
    const TLetter l = LetterOf({pts});
    int k = 1;
    EXPECT_EQ(NextDistinct(l, 1, k), ContourPoint(l, 1, 1));
    EXPECT_EQ(k, 1);
    EXPECT_EQ(PrevDistinct(l, 1, k), ContourPoint(l, 1, 1));
    EXPECT_EQ(k, 1);
    EXPECT_FALSE(HasDistinctPoints(l, 1));
  }
  EXPECT_FALSE(HasDistinctPoints(TLetter{}, 1));
}

TEST(ContourOffset, OffsetVertexMitres) {
  // The corner of a square walked up and then right: out by 2 in x, 1 in y.
  EXPECT_EQ(OffsetVertex({0, 0}, {0, 10}, {10, 10}, 1), (TPoint{-2, 11}));
  // Collinear: the middle of the shifted reference points.
  EXPECT_EQ(OffsetVertex({0, 0}, {1, 0}, {10, 0}, 1), (TPoint{5, 1}));
  // d = 0 gives M itself.
  EXPECT_EQ(OffsetVertex({0, 0}, {7, 3}, {20, -4}, 0), (TPoint{7, 3}));
  // Walking the square clockwise with y up pushes every corner outward.
  const TLetter sq = LetterOf({Square});
  for (int j = 1; j <= 4; ++j) {
    int k = j;
    const TPoint A = ContourPoint(sq, 1, j), B = PrevDistinct(sq, 1, k);
    k = j;
    const TPoint C = NextDistinct(sq, 1, k);
    const TPoint off = OffsetVertex(B, A, C, 3);
    EXPECT_EQ(std::abs(off.x - 5), 5 + 6) << j;
    EXPECT_EQ(std::abs(off.y - 5), 5 + 3) << j;
  }
  // A sharp corner is not limited: the mitre of a thin spike walked clockwise reaches
  // far beyond its tip.
  const TPoint spike = OffsetVertex({0, 2}, {100, 1}, {0, 0}, 10);
  EXPECT_GT(spike.x, 1000);
}

TEST(ContourOffset, ZeroLengthEdgesDoNotDivideByZero) {
  // M = Q: the arriving edge alone decides (up the left side: pushed left by 2 d).
  EXPECT_EQ(OffsetVertex({0, 0}, {0, 10}, {0, 10}, 1), (TPoint{-2, 10}));
  // P = M: the leaving edge alone (rightward along the top: pushed up by d).
  EXPECT_EQ(OffsetVertex({0, 10}, {0, 10}, {10, 10}, 1), (TPoint{0, 11}));
  // All three equal: M stays.
  EXPECT_EQ(OffsetVertex({4, 4}, {4, 4}, {4, 4}, 5), (TPoint{4, 4}));
}

}  // namespace
}  // namespace qz
