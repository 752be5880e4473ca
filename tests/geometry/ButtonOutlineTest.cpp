#include "geometry/ButtonOutline.h"

#include <gtest/gtest.h>

#include <cmath>

namespace qz {
namespace {

std::vector<TPoint> Outline(int32_t type, TButtonRect R, int32_t splPnt = 2) {
  TOutlinePoints pts{};
  int32_t count = 0;
  MakeBuiltInOutline(type, R, splPnt, pts, count);
  return std::vector<TPoint>(pts.begin() + 1, pts.begin() + 1 + count);
}

const TButtonRect R{-100, 50, 100, -50};

TEST(ButtonOutline, RectangleAndChamfers) {
  EXPECT_EQ(Outline(1, R), (std::vector<TPoint>{{-100, 50}, {100, 50}, {100, -50}, {-100, -50}, {-100, 50}}));
  // Height 100 + 1 with divisor 8: c = 12, the straight sides 12 outside R.
  const TButtonRect R2{0, 100, 200, 0};
  EXPECT_EQ(Outline(4, R2), (std::vector<TPoint>{{-12, 88}, {12, 112}, {188, 112}, {212, 88}, {212, 12},
                                                  {188, -12}, {12, -12}, {-12, 12}, {-12, 88}}));
  EXPECT_EQ(Outline(5, R2)[0], (TPoint{-6, 94}));  // divisor 16: c = 6
  // Height 7 with divisor 8: c = 0, every corner twice.
  EXPECT_EQ(Outline(4, {0, 6, 10, 0}),
            (std::vector<TPoint>{{0, 6}, {0, 6}, {10, 6}, {10, 6}, {10, 0}, {10, 0}, {0, 0}, {0, 0}, {0, 6}}));
}

TEST(ButtonOutline, RoundOutlinesHaveTheirPointCountsAndRunClockwise) {
  for (int s : {1, 2, 3})
    for (int type : {2, 3, 6, 7}) {
      const auto o = Outline(type, R, s);
      ASSERT_EQ(o.size(), size_t(type < 6 ? 4 * (2 * s + 1) + 9 : (s + 2) * 8 + 8 + 1)) << type << " " << s;
      EXPECT_EQ(o.front(), o.back());
      double area = 0;  // twice the signed area: negative clockwise with y up
      for (size_t i = 0; i + 1 < o.size(); ++i) area += double(o[i].x) * o[i + 1].y - double(o[i + 1].x) * o[i].y;
      EXPECT_LT(area, 0);
    }
}

TEST(ButtonOutline, EllipseAndCircleLieWhereTheyShould) {
  // Ellipse: ry = 101 * 1.3 / 2 = 65.65, rx = 201 * ry / 101 = 130.65, from the left.
  const auto e = Outline(6, R);
  EXPECT_EQ(e[0], (TPoint{-131, 0}));
  EXPECT_EQ(e[10], (TPoint{0, 66}));  // a quarter of 40 segments: the top
  EXPECT_EQ(e[20], (TPoint{131, 0}));
  const auto c = Outline(7, R);  // circle of radius sqrt(101^2 + 201^2) / 2 = 112.47
  EXPECT_EQ(c[0], (TPoint{-112, 0}));
  EXPECT_EQ(c[10].y, 112);
  // The centre is taken with truncating division: (-3 + 0) div 2 = -1.
  EXPECT_EQ(Outline(7, {-3, 1, 0, 0}, 1)[0].y, 0);
  EXPECT_EQ(Outline(6, {-3, 1, 0, -1}, 1)[0].y, 0);
}

TEST(ButtonOutline, DegenerateAndHostileInputStayBounded) {
  EXPECT_TRUE(Outline(6, {0, -1, 10, 0}).empty());  // H = 0: no ellipse
  for (int type : {8, 9, 0, -3}) EXPECT_TRUE(Outline(type, R).empty()) << type;  // shape files are not built in
  // SplPnt from a damaged work: bounded to 0..64, so no division by zero (N = 0 for
  // SplPnt -3) and no endless loop. 0 gives the fewest points: 13 for the rounded
  // rectangle (one point on each arc), 25 for the ellipse.
  EXPECT_EQ(Outline(6, R, -3).size(), 25u);
  EXPECT_EQ(Outline(6, R, 0).size(), 25u);
  EXPECT_EQ(Outline(2, R, 0).size(), 13u);
  EXPECT_EQ(Outline(2, R, 1 << 30).size(), size_t(4 * (2 * 64 + 1) + 9));
  // Extreme rectangles saturate instead of wrapping.
  const auto huge = Outline(4, {INT32_MIN, INT32_MAX, INT32_MAX, INT32_MIN});
  ASSERT_EQ(huge.size(), 9u);
  EXPECT_EQ(huge[0].x, INT32_MIN);
  EXPECT_EQ(huge[1].y, INT32_MAX);
  EXPECT_EQ(Outline(7, {INT32_MIN, INT32_MAX, INT32_MAX, INT32_MIN}).size(), 41u);
  // The buffer holds 1024 points; more are dropped, the closing point included.
  TOutlinePoints pts{};
  int32_t count = 1020;
  MakeBuiltInOutline(1, R, 2, pts, count);
  EXPECT_EQ(count, 1024);
  EXPECT_EQ(pts[1024], (TPoint{-100, -50}));
}

}  // namespace
}  // namespace qz
