#include "text/NativeOutline.h"

#include "text/GlyphRecords.h"

namespace qz {

namespace {

// The largest 26.6 magnitude whose 16.16 form (times 1024) still fits 32 bits.
constexpr FT_Pos MaxPos26_6 = 32768 * 64 - 1;
constexpr size_t MaxRecordPoints = 0xFFFF;  // cpfx is 16 bits

struct TWalkPoint {
  int32_t x = 0;  // 16.16, as 32-bit numbers
  int32_t y = 0;
  bool onCurve = true;
};

bool ToRaw(FT_Pos v, int32_t& raw) {
  if (v > MaxPos26_6 || v < -MaxPos26_6 - 1) return false;
  raw = static_cast<int32_t>(v * 1024);
  return true;
}

void AppendPoint(std::vector<uint8_t>& out, const TWalkPoint& p) {
  const size_t at = out.size();
  out.resize(at + PointFXSize);
  WriteU32LE(out.data() + at, static_cast<uint32_t>(p.x));
  WriteU32LE(out.data() + at + 4, static_cast<uint32_t>(p.y));
}

bool AppendCurve(std::vector<uint8_t>& out, uint16_t type, const TWalkPoint* points, size_t count) {
  if (count == 0) return true;
  if (count > MaxRecordPoints) return false;
  const size_t at = out.size();
  out.resize(at + CurveHeaderSize);
  WriteU16LE(out.data() + at, type);
  WriteU16LE(out.data() + at + 2, static_cast<uint16_t>(count));
  for (size_t i = 0; i < count; ++i) AppendPoint(out, points[i]);
  return true;
}

// One contour, points first..last of the outline, as a polygon record.
bool AppendContour(const FT_Outline& outline, int first, int last, std::vector<uint8_t>& out) {
  std::vector<TWalkPoint> pts;
  pts.reserve(static_cast<size_t>(last - first + 2));
  for (int i = first; i <= last; ++i) {
    TWalkPoint p;
    if (!ToRaw(outline.points[i].x, p.x) || !ToRaw(outline.points[i].y, p.y)) return false;
    const int tag = FT_CURVE_TAG(outline.tags[i]);
    if (tag == FT_CURVE_TAG_CUBIC) return false;  // TrueType faces have quadratic curves only
    p.onCurve = tag == FT_CURVE_TAG_ON;
    pts.push_back(p);
  }

  // The start point and the walk that follows it, ending on the start again.
  TWalkPoint start;
  std::vector<TWalkPoint> walk;
  if (pts.front().onCurve) {
    start = pts.front();
    walk.assign(pts.begin() + 1, pts.end());
  } else if (pts.back().onCurve) {
    start = pts.back();
    walk.assign(pts.begin(), pts.end() - 1);
  } else {
    // Both 16.16 values are multiples of 1024, so halving their sum is exact.
    const TWalkPoint& a = pts.back();
    const TWalkPoint& b = pts.front();
    start.x = static_cast<int32_t>((static_cast<int64_t>(a.x) + b.x) / 2);
    start.y = static_cast<int32_t>((static_cast<int64_t>(a.y) + b.y) / 2);
    walk = pts;
  }
  start.onCurve = true;
  walk.push_back(start);

  const size_t headerAt = out.size();
  out.resize(headerAt + PolygonHeaderSize);
  WriteU32LE(out.data() + headerAt + 4, TT_POLYGON_TYPE);
  WriteU32LE(out.data() + headerAt + 8, static_cast<uint32_t>(start.x));
  WriteU32LE(out.data() + headerAt + 12, static_cast<uint32_t>(start.y));

  size_t i = 0;
  while (i < walk.size()) {
    size_t j = i;
    if (walk[i].onCurve) {
      while (j < walk.size() && walk[j].onCurve) ++j;
      // The closing return to the start needs no line record of its own.
      const size_t end = j == walk.size() ? j - 1 : j;
      if (!AppendCurve(out, TT_PRIM_LINE, walk.data() + i, end - i)) return false;
      i = j;
    } else {
      while (!walk[j].onCurve) ++j;  // the walk ends on the on-curve start
      if (!AppendCurve(out, TT_PRIM_QSPLINE, walk.data() + i, j - i + 1)) return false;
      i = j + 1;
    }
  }
  WriteU32LE(out.data() + headerAt, static_cast<uint32_t>(out.size() - headerAt));
  return true;
}

}  // namespace

bool MakeNativeOutline(const FT_Outline& outline, std::vector<uint8_t>& records) {
  std::vector<uint8_t> out;
  int first = 0;
  for (int c = 0; c < outline.n_contours; ++c) {
    const int last = outline.contours[c];
    if (last < first || last >= outline.n_points) return false;
    if (!AppendContour(outline, first, last, out)) return false;
    first = last + 1;
  }
  records.insert(records.end(), out.begin(), out.end());
  return true;
}

}  // namespace qz
