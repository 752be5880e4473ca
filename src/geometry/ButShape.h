// TButShape: a button outline designed once and stretched onto any button rectangle,
// read from a shape file (.qzkh) in the BShapes folder.
//
// Shape file, little-endian, no padding:
//   0  u32  format word: 0x00100000 when the file carries a picture (the shape dialog's)
//   4  i32  PointCount, 0..256
//   8  4 x i32  Frame: Left, Top, Right, Bottom (Top is the larger y)
//   24 16 bytes, unused (written as zeros)
//   40 u32  file offset of a JPEG picture of the shape, 0 without one
//   44 4 bytes, unused
//   48 PointCount x 9 bytes: OnCurve (u8, 0 for the control point of a quadratic
//      curve), X (i32), Y (i32), in outline order
//
// The design is drawn around the origin. Mapping onto a rectangle R is a nine-patch
// stretch, each axis by itself: coordinates strictly inside the frame are scaled by
// R's size over the frame's, coordinates on or outside a frame edge keep their
// distance to the matching edge of R, so corners keep their shape at any size.
//
//   TButShape shape;
//   TButtonOutline outline;
//   if (shape.LoadFromFile(path)) shape.MakeOutline(R, outline.Pts, outline.Count);
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "geometry/ButtonOutline.h"

namespace qz {

struct TShapePoint {
  uint8_t OnCurve = 1;  // non-zero: on the outline; 0: control point of a curve
  int32_t X = 0;
  int32_t Y = 0;
};

class TButShape {
 public:
  static constexpr int32_t MaxPoints = 256;
  static constexpr uint32_t PictureFormat = 0x00100000;
  static constexpr size_t HeaderSize = 48;
  static constexpr size_t PointSize = 9;

  int32_t PointCount = 0;
  std::array<TShapePoint, MaxPoints + 1> Points{};  // used 1-based
  TButtonRect Frame;
  double ScaleX = 1.0;
  double ScaleY = 1.0;

  // Reads the points and frame of a shape file, the name matched exactly first, then
  // without regard to case. False when there is no such file (the shape keeps what it
  // held). Throws std::runtime_error naming the file when it cannot be read or is
  // damaged: shorter than its header or its points, a point count outside 0..256, or
  // a first point that is a control point (its curve would need the point before the
  // first). A damaged file leaves the shape as it was.
  bool LoadFromFile(const std::string& path);

  // The JPEG picture a shape file carries after its points (the shape dialog shows it),
  // or nothing when the file has none, cannot be read, or names a picture that lies
  // outside it or is larger than MaxPictureBytes.
  static std::optional<std::vector<uint8_t>> ReadPicture(const std::string& path);
  static constexpr size_t MaxPictureBytes = size_t{16} << 20;

  // Writes the shape (and, when given, its JPEG picture after the points). Throws
  // std::runtime_error naming the file when it cannot be written, or when PointCount
  // lies outside 0..256; the old file is then left whole.
  void SaveToFile(const std::string& path, const std::vector<uint8_t>& picture = {}) const;

  // Appends the outline mapped onto R to the buffer (1024-point limit), closed by
  // point 1 again; sets ScaleX and ScaleY. An empty shape appends nothing. A frame of
  // zero width (or height) has no stretch zone along that axis: every coordinate keeps
  // its distance to an edge, and the scale is 0. Each curve (control point C between
  // P0 and P2) is drawn in round(0.0075 * (|C - P0| + |P2 - C|)) steps, at least one
  // so it always reaches P2, at most 1024.
  void MakeOutline(const TButtonRect& rect, TOutlinePoints& pts, int32_t& count);

 private:
  TPoint Map(const TShapePoint& p, const TButtonRect& rect) const;
};

}  // namespace qz
