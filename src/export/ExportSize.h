// The export size that fits a rendered image: 160 pixels wide for a long, flat image
// (width at least four times the height), otherwise 40 pixels high, the other side
// keeping the image's proportions. The designer refits after every rebuild that
// changed the image size; the command-line tool uses it when no size is given.
#pragma once

#include <cstdint>

namespace qz {

struct TExportSize {
  int32_t width = 160;
  int32_t height = 40;
  bool operator==(const TExportSize&) const = default;
};

// An image with a side of 0 or less gives the default 160 x 40; a fitted side is at
// least 1.
TExportSize FitExportSize(int32_t imageWidth, int32_t imageHeight);

// The designer's export size (DimWidth, DimHeight) with the size of the rendered
// image it was last fitted to.
struct TDimensions {
  int32_t Width = 0;
  int32_t Height = 0;
  int32_t BaseWidth = 0;
  int32_t BaseHeight = 0;
};

// After a rebuild rendered an image of imageWidth x imageHeight: unless held, an
// image of another size than the base becomes the base and the export size is fitted
// to it; an image of the same size leaves the size as the user set it.
void RefitExportSize(TDimensions& d, int32_t imageWidth, int32_t imageHeight, bool held);

}  // namespace qz
