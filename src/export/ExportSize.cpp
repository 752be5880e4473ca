#include "export/ExportSize.h"

#include <algorithm>

#include "base/Numeric.h"

namespace qz {

TExportSize FitExportSize(int32_t w, int32_t h) {
  if (w <= 0 || h <= 0) return {};
  // A very thin picture keeps a side of one pixel rather than rounding it away.
  if (static_cast<double>(w) / h >= 4.0) return {160, std::max(1, RoundHalfEven(160.0L * h / w))};
  return {std::max(1, RoundHalfEven(40.0L * w / h)), 40};
}

void RefitExportSize(TDimensions& d, int32_t imageWidth, int32_t imageHeight, bool held) {
  if (held || (imageWidth == d.BaseWidth && imageHeight == d.BaseHeight)) return;
  d.BaseWidth = imageWidth;
  d.BaseHeight = imageHeight;
  const TExportSize fit = FitExportSize(imageWidth, imageHeight);
  d.Width = fit.width;
  d.Height = fit.height;
}

}  // namespace qz
