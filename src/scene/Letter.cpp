#include "scene/Letter.h"

#include <algorithm>

namespace qz {

void TLetter::AddContour(const TPoint* points, int32_t count) {
  if (ContourCount >= MaxContours) return;
  TContour& c = Contours[ContourCount++];
  count = std::max(count, 0);
  c.PtCount = count;
  c.Points.assign(points, points + count);
}

void TLetter::UpdateBounds() {
  if (ContourCount == 0 || Contours[ContourCount - 1].PtCount == 0) return;
  bool first = true;
  for (int c = 0; c < ContourCount; ++c) {
    for (const TPoint& p : Contours[c].Points) {
      if (first) {
        Left = Right = p.x;
        Top = Bottom = p.y;
        first = false;
      }
      Left = std::min(Left, p.x);
      Right = std::max(Right, p.x);
      Top = std::max(Top, p.y);
      Bottom = std::min(Bottom, p.y);
    }
  }
}

}  // namespace qz
