#include "export/ExportSize.h"

#include <algorithm>
#include <stdexcept>
#include <string>

#include "base/Numeric.h"

namespace qz {

bool IsExportSize(int64_t width, int64_t height) {
  return width >= 1 && height >= 1 && width <= MaxExportSide && height <= MaxExportSide &&
         width * height <= MaxExportPixels;
}

void CheckExportSize(int64_t width, int64_t height) {
  if (!IsExportSize(width, height))
    throw std::runtime_error("Cannot export an image of " + std::to_string(width) + " x " + std::to_string(height) +
                             " pixels: each side must be 1 to " + std::to_string(MaxExportSide) + " pixels and " +
                             "the whole at most " + std::to_string(MaxExportPixels) + " pixels");
}

TExportSize FitExportSize(int32_t w, int32_t h) {
  if (w <= 0 || h <= 0) return {};
  // A very thin picture keeps a side of one pixel rather than rounding it away.
  if (static_cast<double>(w) / h >= 4.0) return {160, std::max(1, RoundHalfEven(160.0L * h / w))};
  return {std::max(1, RoundHalfEven(40.0L * w / h)), 40};
}

TDimensions StoredExportSize(const TParams& params) {
  if (!IsExportSize(params.ExpWidth, params.ExpHeight)) return {};
  return {params.ExpWidth, params.ExpHeight, 0, 0};
}

bool RefitExportSize(TDimensions& d, int32_t imageWidth, int32_t imageHeight, bool held) {
  const bool known = d.BaseWidth != 0 || d.BaseHeight != 0;
  const bool usable = IsExportSize(d.Width, d.Height);
  if (!known && usable) {  // the first build of a work loaded with its size
    d.BaseWidth = imageWidth;
    d.BaseHeight = imageHeight;
    return false;
  }
  if (usable && (held || (imageWidth == d.BaseWidth && imageHeight == d.BaseHeight))) return false;
  d.BaseWidth = imageWidth;
  d.BaseHeight = imageHeight;
  const TExportSize fit = FitExportSize(imageWidth, imageHeight);
  const bool changed = fit.width != d.Width || fit.height != d.Height;
  d.Width = fit.width;
  d.Height = fit.height;
  return changed;
}

void SetExportSide(TDimensions& d, TSide side, int32_t value, bool constrain) {
  if (side == TSide::Width) {
    d.Width = std::min(value, MaxDimWidth);
    if (constrain && d.BaseWidth != 0)
      d.Height = RoundHalfEven(static_cast<long double>(d.Width) * d.BaseHeight / d.BaseWidth);
  } else {
    d.Height = std::min(value, MaxDimHeight);
    if (constrain && d.BaseHeight != 0)
      d.Width = RoundHalfEven(static_cast<long double>(d.Height) * d.BaseWidth / d.BaseHeight);
  }
}

}  // namespace qz
