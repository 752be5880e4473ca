#include "geometry/ContourOffset.h"

#include <cmath>

#include "base/Numeric.h"

namespace qz {

namespace {

// Wraps i once into 1..count as the contour walk does, then as often as still needed
// (only an index far outside a period, which the walk never makes, gets that far).
int WrapOnce(int i, int count, int period) {
  if (i > count) i -= period;
  if (i < 1) i += period;
  if (i < 1 || i > count) i = ((i - 1) % period + period) % period + 1;
  return i;
}

// One edge's sideways shift of its reference point: along x twice the unit normal
// times d, along y once. Edge vectors and lengths are single precision; products and
// quotients are formed in extended precision.
struct TShift {
  float x, y;
};
TShift EdgeShift(float dx, float dy, float len, int32_t d) {
  return {ToFloat32(2.0L * d * dy / len), ToFloat32(-static_cast<long double>(d) * dx / len)};
}

// The number of points of contour c, wrapped as ContourPoint wraps it.
int PointCount(const TLetter& letter, int c) {
  if (letter.ContourCount < 1) return 0;
  return static_cast<int>(letter.Contour(WrapOnce(c, letter.ContourCount, letter.ContourCount)).Points.size());
}

}  // namespace

TPoint ContourPoint(const TLetter& letter, int c, int j) {
  const int count = letter.ContourCount;
  if (count < 1) return {};
  c = WrapOnce(c, count, count);
  const TLetter::TContour& contour = letter.Contour(c);
  const int n = PointCount(letter, c);
  if (n < 1) return {};
  if (n == 1) return contour.Points[0];
  return contour.Points[WrapOnce(j, n, n - 1) - 1];
}

TPoint NextDistinct(const TLetter& letter, int c, int& k) {
  const TPoint p0 = ContourPoint(letter, c, k);
  const int n = PointCount(letter, c);
  for (int step = 1; step < n; ++step) {
    const TPoint p = ContourPoint(letter, c, k + step);
    if (!(p == p0)) {
      k += step;
      return p;
    }
  }
  return p0;
}

TPoint PrevDistinct(const TLetter& letter, int c, int& k) {
  const TPoint p0 = ContourPoint(letter, c, k);
  const int n = PointCount(letter, c);
  for (int step = 1; step < n; ++step) {
    const TPoint p = ContourPoint(letter, c, k - step);
    if (!(p == p0)) {
      k -= step;
      return p;
    }
  }
  return p0;
}

bool HasDistinctPoints(const TLetter& letter, int c) {
  int k = 1;
  const TPoint p0 = ContourPoint(letter, c, k);
  return !(NextDistinct(letter, c, k) == p0);
}

TPoint OffsetVertex(TPoint p, TPoint m, TPoint q, int32_t d) {
  // Edge vectors pointing backward along the contour.
  const float dx1 = ToFloat32(static_cast<long double>(p.x) - m.x);
  const float dy1 = ToFloat32(static_cast<long double>(p.y) - m.y);
  const float dx2 = ToFloat32(static_cast<long double>(m.x) - q.x);
  const float dy2 = ToFloat32(static_cast<long double>(m.y) - q.y);
  const float len1 = ToFloat32(std::sqrt(static_cast<long double>(dx1) * dx1 + static_cast<long double>(dy1) * dy1));
  const float len2 = ToFloat32(std::sqrt(static_cast<long double>(dx2) * dx2 + static_cast<long double>(dy2) * dy2));

  // A zero-length edge has no direction: the other edge alone decides the offset.
  if (len1 == 0 || len2 == 0) {
    if (len1 == 0 && len2 == 0) return m;
    const TShift s = len1 == 0 ? EdgeShift(dx2, dy2, len2, d) : EdgeShift(dx1, dy1, len1, d);
    return {RoundHalfEven(static_cast<long double>(m.x) + s.x), RoundHalfEven(static_cast<long double>(m.y) + s.y)};
  }

  // A point on each shifted line: the edge's reference point moved sideways.
  const TShift s1 = EdgeShift(dx1, dy1, len1, d);
  const TShift s2 = EdgeShift(dx2, dy2, len2, d);
  const long double L1x = ToFloat32(static_cast<long double>(p.x) + s1.x);
  const long double L1y = ToFloat32(static_cast<long double>(p.y) + s1.y);
  const long double L2x = ToFloat32(static_cast<long double>(q.x) + s2.x);
  const long double L2y = ToFloat32(static_cast<long double>(q.y) + s2.y);

  const float det = ToFloat32(static_cast<long double>(dx1) * dy2 - static_cast<long double>(dy1) * dx2);
  if (det == 0) {
    // Parallel edges, or a contour turning back on itself: the middle of the two
    // shifted reference points (not the shifted M).
    return {RoundHalfEven((L1x + L2x) / 2), RoundHalfEven((L1y + L2y) / 2)};
  }
  // The intersection of the two shifted lines.
  const long double x = ((L1y - L2y) * dx1 * dx2 - L1x * dy1 * dx2 + L2x * dy2 * dx1) / det;
  const long double y = ((L2x - L1x) * dy1 * dy2 - L2y * dy1 * dx2 + L1y * dy2 * dx1) / det;
  return {RoundHalfEven(x), RoundHalfEven(y)};
}

TContourEdge EdgeAt(const TLetter& letter, int c, int j) {
  TContourEdge e;
  e.A = ContourPoint(letter, c, j);
  int k = j;
  e.B = PrevDistinct(letter, c, k);
  k = j;
  e.C = NextDistinct(letter, c, k);
  e.D = NextDistinct(letter, c, k);  // continues from C's index
  return e;
}

}  // namespace qz
