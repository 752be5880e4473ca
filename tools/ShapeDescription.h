// The readable description of a button shape (tools/shapes/*.txt), from which
// make_shapes writes the shape files of the installation:
//
//   # comment
//   frame LEFT TOP RIGHT BOTTOM    the stretch zone, top the larger y
//   on X Y                         a point on the outline
//   off X Y                        the control point of a quadratic curve
//
//   TButShape shape = ParseShapeDescription(text, "Capsule.txt");
//
// A description must give the frame once, with width and height, and between 3 and
// 256 points, the first on the outline and no two control points in a row (the shape
// walk would take a control point as a curve's end), running clockwise with y up so
// that the button's bevel lies outside the outline. Anything else throws
// std::runtime_error naming the file and line.
#pragma once

#include <sstream>
#include <stdexcept>
#include <string>

#include "geometry/ButShape.h"

namespace qz::tools {

// Twice the signed area of the polygon through all points (control points included):
// negative when the points run clockwise with y up.
inline double SignedArea2(const TButShape& shape) {
  double a = 0;
  for (int i = 1; i <= shape.PointCount; ++i) {
    const TShapePoint& p = shape.Points[i];
    const TShapePoint& q = shape.Points[i % shape.PointCount + 1];
    a += static_cast<double>(p.X) * q.Y - static_cast<double>(q.X) * p.Y;
  }
  return a;
}

inline bool HasControlPoints(const TButShape& shape) {
  for (int i = 1; i <= shape.PointCount; ++i)
    if (shape.Points[i].OnCurve == 0) return true;
  return false;
}

inline TButShape ParseShapeDescription(const std::string& text, const std::string& fileName) {
  TButShape shape;
  bool haveFrame = false;
  std::istringstream lines(text);
  std::string line;
  int lineNo = 0;
  auto fail = [&](const std::string& why) -> void {
    throw std::runtime_error(fileName + ":" + std::to_string(lineNo) + ": " + why);
  };
  while (std::getline(lines, line)) {
    ++lineNo;
    const size_t hash = line.find('#');
    if (hash != std::string::npos) line.erase(hash);
    std::istringstream words(line);
    std::string word;
    if (!(words >> word)) continue;
    if (word == "frame") {
      if (haveFrame) fail("a second frame");
      TButtonRect& f = shape.Frame;
      if (!(words >> f.Left >> f.Top >> f.Right >> f.Bottom)) fail("a frame needs LEFT TOP RIGHT BOTTOM");
      if (f.Right <= f.Left || f.Top <= f.Bottom) fail("the frame needs a width and a height, top above bottom");
      haveFrame = true;
    } else if (word == "on" || word == "off") {
      TShapePoint p;
      p.OnCurve = word == "on" ? 1 : 0;
      if (!(words >> p.X >> p.Y)) fail("a point needs X Y");
      if (shape.PointCount == TButShape::MaxPoints) fail("more than 256 points");
      if (shape.PointCount == 0 && !p.OnCurve) fail("the first point must lie on the outline");
      if (!p.OnCurve && shape.PointCount > 0 && !shape.Points[shape.PointCount].OnCurve)
        fail("two control points in a row");
      shape.Points[++shape.PointCount] = p;
    } else {
      fail("unknown word \"" + word + "\"");
    }
    if (words >> word) fail("more than expected on the line");
  }
  lineNo = 0;
  if (!haveFrame) fail("no frame");
  if (shape.PointCount < 3) fail("fewer than 3 points");
  if (SignedArea2(shape) >= 0) fail("the outline runs counter-clockwise (y up); the bevel would lie inside it");
  return shape;
}

}  // namespace qz::tools
