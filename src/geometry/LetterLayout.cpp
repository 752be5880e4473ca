#include "geometry/LetterLayout.h"

#include "platform/Numeric.h"

namespace qz {

void NormalizeCoordinates(TScene& scene) {
  const int64_t W = int64_t{scene.TextMaxX} - scene.TextMinX + 1;
  const int64_t H = int64_t{scene.TextMaxY} - scene.TextMinY + 1;
  const int64_t halfW = W / 2, halfH = H / 2;  // both truncate toward zero
  for (int i = 1; i <= scene.LetterCount; ++i) {
    TLetter& letter = scene.Letter(i);
    for (int c = 1; c <= letter.ContourCount; ++c) {
      for (TPoint& p : letter.Contour(c).Points) {
        p.x = Saturate32(p.x - int64_t{scene.TextMinX} - halfW);
        p.y = Saturate32(halfH - (int64_t{scene.TextMaxY} - p.y + 1));
      }
    }
    letter.UpdateBounds();
  }
}

}  // namespace qz
