#include "geometry/ButShape.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <memory>
#include <optional>
#include <stdexcept>

#include "base/FileUtil.h"
#include "base/OutputFiles.h"
#include "base/Numeric.h"

namespace qz {

namespace {

constexpr int32_t MaxCurveSteps = MaxOutlinePoints;  // more could not be stored
constexpr long double StepsPerUnit = 0.0075L;        // one curve step per about 133 units

int32_t ReadI32(const uint8_t* p) {
  return static_cast<int32_t>(static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 |
                              static_cast<uint32_t>(p[2]) << 16 | static_cast<uint32_t>(p[3]) << 24);
}

void PutI32(std::vector<uint8_t>& out, size_t at, int64_t v) {
  const uint32_t u = static_cast<uint32_t>(v);
  for (int i = 0; i < 4; ++i) out[at + i] = static_cast<uint8_t>(u >> (8 * i));
}

[[noreturn]] void Damaged(const std::string& path, const std::string& why) {
  throw std::runtime_error("Cannot read shape file " + path + ": " + why);
}

// The file itself, or a file of the same name in another case beside it.
std::optional<std::string> ResolveShapeFile(const std::string& path) {
  if (FileExists(path)) return path;
  const size_t slash = path.find_last_of('/');
  const std::string folder = slash == std::string::npos ? "./" : path.substr(0, slash + 1);
  return FindFileNoCase(folder, path.substr(slash == std::string::npos ? 0 : slash + 1));
}

struct TFileCloser {
  void operator()(std::FILE* f) const { std::fclose(f); }
};

// Reads up to size bytes; fewer only at the end of the file.
size_t ReadBytes(std::FILE* f, uint8_t* to, size_t size) { return std::fread(to, 1, size, f); }

// Nine-patch mapping of one coordinate onto the edges lo..hi of R, frame edges
// fLo..fHi: strictly inside the frame scaled about the origin, otherwise the distance
// to the nearer frame edge kept.
int32_t MapAxis(int32_t v, int32_t fLo, int32_t fHi, int32_t lo, int32_t hi, double scale) {
  if (fLo < v && v < fHi) return RoundHalfEven(static_cast<long double>(v) * scale);
  if (v >= fHi) return Saturate32(int64_t{hi} - (int64_t{fHi} - v));
  return Saturate32(int64_t{lo} - (int64_t{fLo} - v));
}

// The quadratic curve P0, C, P2 in straight steps, P0 left out.
void AddCurve(TOutlinePoints& pts, int32_t& count, TPoint p0, TPoint c, TPoint p2) {
  const long double length = std::hypot(static_cast<long double>(c.x) - p0.x, static_cast<long double>(c.y) - p0.y) +
                             std::hypot(static_cast<long double>(p2.x) - c.x, static_cast<long double>(p2.y) - c.y);
  const int32_t n = Clamp(RoundHalfEven(StepsPerUnit * length), 1, MaxCurveSteps);
  const long double ax = static_cast<long double>(p0.x) - 2.0L * c.x + p2.x, bx = 2.0L * (static_cast<long double>(c.x) - p0.x);
  const long double ay = static_cast<long double>(p0.y) - 2.0L * c.y + p2.y, by = 2.0L * (static_cast<long double>(c.y) - p0.y);
  for (int32_t q = 1; q <= n; ++q) {
    const long double t = static_cast<long double>(q) / n;
    AddButtonPoint(pts, count, RoundHalfEven(t * t * ax + t * bx + p0.x), RoundHalfEven(t * t * ay + t * by + p0.y));
  }
}

}  // namespace

bool TButShape::LoadFromFile(const std::string& path) {
  const std::optional<std::string> found = ResolveShapeFile(path);
  if (!found) return false;
  std::unique_ptr<std::FILE, TFileCloser> file(std::fopen(found->c_str(), "rb"));
  if (!file) Damaged(*found, "the file cannot be opened");

  uint8_t header[HeaderSize];
  if (ReadBytes(file.get(), header, HeaderSize) != HeaderSize) Damaged(*found, "the file is shorter than its header");
  const int32_t count = ReadI32(header + 4);
  if (count < 0 || count > MaxPoints)
    Damaged(*found, "it claims " + std::to_string(count) + " points, a shape has 0 to " + std::to_string(MaxPoints));
  std::vector<uint8_t> data(static_cast<size_t>(count) * PointSize);
  if (ReadBytes(file.get(), data.data(), data.size()) != data.size())
    Damaged(*found, "the file is shorter than its " + std::to_string(count) + " points");
  if (count > 0 && data[0] == 0) Damaged(*found, "its first point is a control point");

  PointCount = count;
  Frame = {ReadI32(header + 8), ReadI32(header + 12), ReadI32(header + 16), ReadI32(header + 20)};
  Points.fill(TShapePoint{});
  for (int32_t i = 0; i < count; ++i) {
    const uint8_t* p = data.data() + static_cast<size_t>(i) * PointSize;
    Points[i + 1] = {p[0], ReadI32(p + 1), ReadI32(p + 5)};
  }
  return true;
}

std::optional<std::vector<uint8_t>> TButShape::ReadPicture(const std::string& path) {
  const std::optional<std::vector<uint8_t>> file = ReadWholeFile(path, HeaderSize + MaxPoints * PointSize + MaxPictureBytes);
  if (!file || file->size() < HeaderSize || static_cast<uint32_t>(ReadI32(file->data())) != PictureFormat)
    return std::nullopt;
  const size_t offset = static_cast<uint32_t>(ReadI32(file->data() + 40));
  if (offset >= file->size() || file->size() - offset > MaxPictureBytes) return std::nullopt;
  return std::vector<uint8_t>(file->begin() + static_cast<std::ptrdiff_t>(offset), file->end());
}

void TButShape::SaveToFile(const std::string& path, const std::vector<uint8_t>& picture) const {
  if (PointCount < 0 || PointCount > MaxPoints)
    throw std::runtime_error("Cannot write shape file " + path + ": a shape has 0 to " + std::to_string(MaxPoints) + " points");
  const size_t pointsEnd = HeaderSize + static_cast<size_t>(PointCount) * PointSize;
  std::vector<uint8_t> out(pointsEnd, 0);
  PutI32(out, 0, picture.empty() ? 0 : PictureFormat);
  PutI32(out, 4, PointCount);
  PutI32(out, 8, Frame.Left);
  PutI32(out, 12, Frame.Top);
  PutI32(out, 16, Frame.Right);
  PutI32(out, 20, Frame.Bottom);
  PutI32(out, 40, picture.empty() ? 0 : static_cast<int64_t>(pointsEnd));
  for (int32_t i = 1; i <= PointCount; ++i) {
    const size_t at = HeaderSize + static_cast<size_t>(i - 1) * PointSize;
    out[at] = Points[i].OnCurve;
    PutI32(out, at + 1, Points[i].X);
    PutI32(out, at + 5, Points[i].Y);
  }
  out.insert(out.end(), picture.begin(), picture.end());
  WriteFileAtomically(path, [&](std::FILE* f) { return std::fwrite(out.data(), 1, out.size(), f) == out.size(); });
}

TPoint TButShape::Map(const TShapePoint& p, const TButtonRect& rect) const {
  return {MapAxis(p.X, Frame.Left, Frame.Right, rect.Left, rect.Right, ScaleX),
          MapAxis(p.Y, Frame.Bottom, Frame.Top, rect.Bottom, rect.Top, ScaleY)};
}

void TButShape::MakeOutline(const TButtonRect& rect, TOutlinePoints& pts, int32_t& count) {
  // A frame without width or height has no stretch zone: nothing is ever scaled along
  // that axis, and no scale is formed from a zero divisor.
  const int64_t frameW = int64_t{Frame.Right} - Frame.Left, frameH = int64_t{Frame.Top} - Frame.Bottom;
  ScaleX = frameW != 0 ? static_cast<double>(int64_t{rect.Right} - rect.Left) / static_cast<double>(frameW) : 0.0;
  ScaleY = frameH != 0 ? static_cast<double>(int64_t{rect.Top} - rect.Bottom) / static_cast<double>(frameH) : 0.0;

  const int32_t n = Clamp(PointCount, 0, MaxPoints);
  if (n == 0) return;
  int32_t i = 1;
  while (i <= n) {
    if (Points[i].OnCurve != 0) {
      const TPoint p = Map(Points[i], rect);
      AddButtonPoint(pts, count, p.x, p.y);
      ++i;
    } else {
      // A control point: the curve runs from the point before it to the point after it
      // (point 1 after the last), whatever their own flags.
      const int32_t before = i > 1 ? i - 1 : n;
      const int32_t after = i < n ? i + 1 : 1;
      AddCurve(pts, count, Map(Points[before], rect), Map(Points[i], rect), Map(Points[after], rect));
      i += 2;
    }
  }
  const TPoint first = Map(Points[1], rect);
  AddButtonPoint(pts, count, first.x, first.y);
}

}  // namespace qz
