// TIndexedImage: a picture of at most 256 colours, one palette index per pixel. The
// colour reduction makes it from a TBitmap; the GIF writer writes it as one frame.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace qz {

// One palette entry.
struct TRgb {
  uint8_t r = 0;
  uint8_t g = 0;
  uint8_t b = 0;
  bool operator==(const TRgb&) const = default;
};

// The colour the export paints the uncovered area with; the reserved transparent
// entry carries it, so a viewer that ignores transparency shows what it always did.
constexpr TRgb kTransparentRgb{255, 0, 255};

struct TIndexedImage {
  int width = 0;
  int height = 0;
  // One index per pixel, rows from top to bottom, each row from left to right.
  std::vector<uint8_t> pixels;
  // The whole palette of the chosen kind; entries a computed palette did not fill
  // are black.
  std::vector<TRgb> palette;
  // Entries 0 .. usedSize - 1 are the ones pixels may refer to: what a file needs
  // to store. Equal to palette.size() except for a computed palette with fewer
  // colours than room.
  int usedSize = 0;
  // The entry reserved for transparent pixels, which no opaque pixel uses; -1 when
  // the image has no transparency.
  int transparentIndex = -1;

  uint8_t At(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
};

}  // namespace qz
