// TLetter: one glyph as up to eight closed integer contours (the last point of a
// contour repeats its first) with its bounding box, in plane coordinates (x right,
// y up). Contours are numbered from 1.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace qz {

struct TPoint {
  int32_t x = 0;
  int32_t y = 0;
  bool operator==(const TPoint&) const = default;
};

class TLetter {
 public:
  static constexpr int MaxContours = 8;

  struct TContour {
    int32_t PtCount = 0;
    std::vector<TPoint> Points;  // PtCount points, index 0 is point 1
  };

  int32_t ContourCount = 0;
  int32_t Left = 0;    // smallest x
  int32_t Top = 0;     // largest y
  int32_t Right = 0;   // largest x
  int32_t Bottom = 0;  // smallest y

  // Where the glyph came from: the message character it draws (for a shaped cluster
  // of several, the first), its glyph index in its face and that face's font file.
  char32_t Code = 0;
  uint32_t Glyph = 0;
  std::string FontFile;

  // Stores a copy of the first count points as the next contour; a ninth contour is
  // dropped silently.
  void AddContour(const TPoint* points, int32_t count);
  // The box over every point of every contour; left as it was when there is no
  // contour or the last contour has no point.
  void UpdateBounds();

  // Contour c (1..ContourCount).
  TContour& Contour(int c) { return Contours[c - 1]; }
  const TContour& Contour(int c) const { return Contours[c - 1]; }

 private:
  TContour Contours[MaxContours];
};

}  // namespace qz
