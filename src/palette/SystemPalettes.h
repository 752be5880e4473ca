// Our own tables of the two Windows palettes the GIF export offers: the system's
// default 20-colour palette and the halftone palette of a 256-colour screen.
//
// The 20 colours are the static colours every 256-colour Windows screen reserves:
// 10 at the bottom of the hardware palette and 10 at the top. The halftone palette
// keeps those 20 at both ends and fills the 236 entries between with a 6x6x6 colour
// cube (levels 0, 51, 102, 153, 204, 255) followed by 20 extra greys.
#pragma once

#include <vector>

#include "image/IndexedImage.h"

namespace qz {

// The 20 static colours: entries 0..9 are the bottom ten, 10..19 the top ten.
const std::vector<TRgb>& WindowsSystemPalette();

// 256 entries: system colours 0..9, the cube 10..225 (entry 10 + 36 r + 6 g + b is
// red 51 r, green 51 g, blue 51 b), 20 greys 226..245 and system colours 246..255.
const std::vector<TRgb>& WindowsHalftonePalette();

// A halftone entry that repeats an earlier one (the top system magenta repeats the
// cube's magenta), so nearest-colour matching, which keeps the first entry on a tie,
// never picks it. It can hold transparent pixels without taking a colour away, and
// its colour is the magenta of the uncovered area.
constexpr int kHalftoneSpareEntry = 253;

}  // namespace qz
