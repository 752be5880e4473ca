// The button outline: the closed point list, in an outline buffer, that the
// button body is built from. The built-in shapes are generated here from the button
// rectangle R; a shape file maps its own outline onto R (ButShape.h).
//
//   Type 1 rectangle          Type 4 chamfered rectangle, divisor 8
//   Type 2 rounded, divisor 4 Type 5 chamfered rectangle, divisor 16
//   Type 3 rounded, divisor 8 Type 6 ellipse       Type 7 circle
//   Type 8, 16: the shape file ShapeName; any other positive Type: an empty outline
//
// Every built-in outline is closed (its last point repeats its first) and runs
// clockwise with y up; the rectangles start at their top left, ellipse and circle at
// their leftmost point. SplPnt sets how finely the round ones are divided.
//
//   TOutlinePoints pts;  int32_t count = 0;
//   MakeBuiltInOutline(params.Type, R, params.SplPnt, pts, count);
#pragma once

#include <cstdint>

#include "geometry/OutlinePoints.h"
#include "scene/Params.h"

namespace qz {

// A rectangle in plane coordinates; Top is the larger y.
struct TButtonRect {
  int32_t Left = 0;
  int32_t Top = 0;
  int32_t Right = 0;
  int32_t Bottom = 0;
  bool operator==(const TButtonRect&) const = default;
};

// Appends (x, y) when fewer than 1024 points are held, else does nothing. Unlike a
// glyph point it is not shifted by the pen and does not widen the message box.
void AddButtonPoint(TOutlinePoints& pts, int32_t& count, int32_t x, int32_t y);

constexpr bool IsShapeFileType(int32_t type) {
  return type == TButtonType::ShapeFileOld || type == TButtonType::ShapeFile;
}

// Appends the built-in outline of type (1..7) for R; any other type appends nothing.
// splPnt is bounded to 0..64 here.
void MakeBuiltInOutline(int32_t type, const TButtonRect& rect, int32_t splPnt, TOutlinePoints& pts,
                        int32_t& count);

}  // namespace qz
