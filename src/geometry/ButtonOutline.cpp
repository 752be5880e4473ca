#include "geometry/ButtonOutline.h"

#include <cmath>
#include <numbers>

#include "geometry/GlyphOutline.h"
#include "base/Numeric.h"

namespace qz {

namespace {

constexpr long double Pi = std::numbers::pi_v<long double>;
constexpr long double Sqrt2 = std::numbers::sqrt2_v<long double>;

// The buffer being filled, with rounding to the nearest integer (halves to even).
struct TOutlineSink {
  TOutlinePoints& pts;
  int32_t& count;
  void Add(long double x, long double y) { AddButtonPoint(pts, count, RoundHalfEven(x), RoundHalfEven(y)); }
  void AddInt(int64_t x, int64_t y) { AddButtonPoint(pts, count, Saturate32(x), Saturate32(y)); }
};

// The size of rect as the generators measure it (one more than the difference).
int64_t HeightOf(const TButtonRect& rect) { return int64_t{rect.Top} - rect.Bottom + 1; }
int64_t WidthOf(const TButtonRect& rect) { return int64_t{rect.Right} - rect.Left + 1; }

void Rectangle(TOutlineSink& out, const TButtonRect& rect, int32_t, int32_t) {
  out.AddInt(rect.Left, rect.Top);
  out.AddInt(rect.Right, rect.Top);
  out.AddInt(rect.Right, rect.Bottom);
  out.AddInt(rect.Left, rect.Bottom);
  out.AddInt(rect.Left, rect.Top);
}

// Four quarter arcs of radius r about corner centres inset by s = r / sqrt 2, joined by
// straight sides; each arc has 2 steps + 1 points strictly inside its right angle.
void Rounded(TOutlineSink& out, const TButtonRect& rect, int32_t divisor, int32_t steps) {
  const float r = ToFloat32(Sqrt2 * HeightOf(rect) / divisor);
  const float s = ToFloat32(r / Sqrt2);
  const long double L = rect.Left, Rt = rect.Right, T = rect.Top, B = rect.Bottom;
  const long double xL = L + s, xR = Rt - s, yT = T - s, yB = B + s;  // corner centres
  const int n = 2 * steps + 1;
  const int m = 2 * (n + 1);
  auto sinr = [&](int k) { return ToFloat32(std::sin(k * Pi / m) * r); };
  auto cosr = [&](int k) { return ToFloat32(std::cos(k * Pi / m) * r); };

  out.Add(xL, yT + r);
  out.Add(xR, yT + r);
  for (int k = 1; k <= n; ++k) out.Add(xR + sinr(k), yT + cosr(k));
  out.Add(xR + r, yT);
  out.Add(xR + r, yB);
  for (int k = 1; k <= n; ++k) out.Add(xR + cosr(k), yB - sinr(k));
  out.Add(xR, yB - r);
  out.Add(xL, yB - r);
  for (int k = 1; k <= n; ++k) out.Add(xL - sinr(k), yB - cosr(k));
  out.Add(xL - r, yB);
  out.Add(xL - r, yT);
  for (int k = 1; k <= n; ++k) out.Add(xL - cosr(k), yT + sinr(k));
  out.Add(xL, yT + r);
}

// An octagon whose straight sides lie c = H div divisor outside rect.
void Chamfered(TOutlineSink& out, const TButtonRect& rect, int32_t divisor, int32_t) {
  const int64_t c = DivTrunc(HeightOf(rect), divisor);
  const int64_t L = rect.Left, T = rect.Top, Rt = rect.Right, B = rect.Bottom;
  out.AddInt(L - c, T - c);
  out.AddInt(L + c, T + c);
  out.AddInt(Rt - c, T + c);
  out.AddInt(Rt + c, T - c);
  out.AddInt(Rt + c, B + c);
  out.AddInt(Rt - c, B - c);
  out.AddInt(L + c, B - c);
  out.AddInt(L - c, B + c);
  out.AddInt(L - c, T - c);
}

// N + 1 points round the centre of rect, from the leftmost point upward.
void Round(TOutlineSink& out, const TButtonRect& rect, float rx, float ry, int32_t steps) {
  const long double cx = DivTrunc(int64_t{rect.Left} + rect.Right, 2);
  const long double cy = DivTrunc(int64_t{rect.Top} + rect.Bottom, 2);
  const int N = (steps + 2) * 8 + 8;
  for (int k = 0; k <= N; ++k) {
    const long double theta = 2 * k * Pi / N;
    out.Add(cx - ToFloat32(std::cos(theta) * rx), cy + ToFloat32(std::sin(theta) * ry));
  }
}

// Taller than rect by 1.3, as wide in proportion.
void Ellipse(TOutlineSink& out, const TButtonRect& rect, int32_t, int32_t steps) {
  const int64_t H = HeightOf(rect);
  if (H == 0) return;
  const float ry = ToFloat32(H * 1.3L / 2);
  const float rx = ToFloat32(WidthOf(rect) * static_cast<long double>(ry) / H);
  Round(out, rect, rx, ry, steps);
}

// Through the corners of rect: the radius is half its diagonal.
void Circle(TOutlineSink& out, const TButtonRect& rect, int32_t, int32_t steps) {
  const long double H = HeightOf(rect), W = WidthOf(rect);
  const float rho = ToFloat32(std::sqrt(H * H + W * W) / 2);
  Round(out, rect, rho, rho, steps);
}

struct TBuiltInShape {
  int32_t Type;
  void (*Make)(TOutlineSink&, const TButtonRect&, int32_t divisor, int32_t steps);
  int32_t Divisor;
};

constexpr TBuiltInShape kBuiltInShapes[] = {
    {TButtonType::Rectangle, Rectangle, 0},       {TButtonType::Rounded, Rounded, 4},
    {TButtonType::RoundedSmall, Rounded, 8},      {TButtonType::Chamfered, Chamfered, 8},
    {TButtonType::ChamferedSmall, Chamfered, 16}, {TButtonType::Ellipse, Ellipse, 0},
    {TButtonType::Circle, Circle, 0},
};

}  // namespace

void AddButtonPoint(TOutlinePoints& pts, int32_t& count, int32_t x, int32_t y) {
  if (count < 0 || count >= MaxOutlinePoints) return;
  pts[++count] = TPoint{x, y};
}

void MakeBuiltInOutline(int32_t type, const TButtonRect& rect, int32_t splPnt, TOutlinePoints& pts,
                        int32_t& count) {
  TOutlineSink out{pts, count};
  for (const TBuiltInShape& shape : kBuiltInShapes)
    if (shape.Type == type) shape.Make(out, rect, shape.Divisor, BoundedSplPnt(splPnt));
}

}  // namespace qz
