// Laying the letters of the message out around the origin. After the last glyph is
// read, NormalizeCoordinates centres the message box TextMinX..TextMaxY on (0, 0) and
// gives every letter its box; the letter bodies and the button are then built around
// the origin.
#pragma once

#include "scene/Scene.h"

namespace qz {

// Moves every point of every letter by the same translation: with W and H the width
// and height of the message box and halfW = W div 2, halfH = H div 2,
//   x <- x - TextMinX - halfW,   y <- halfH - (TextMaxY - y + 1),
// so the box becomes x in [-halfW, W - 1 - halfW], y in [halfH - H, halfH - 1]; then
// UpdateBounds on every letter (a blank keeps its box of zeros). The message box keeps
// its values.
void NormalizeCoordinates(TScene& scene);

}  // namespace qz
