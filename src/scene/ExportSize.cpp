#include "scene/ExportSize.h"

#include "platform/Numeric.h"

namespace qz {

TExportSize FitExportSize(int32_t w, int32_t h) {
  if (w <= 0 || h <= 0) return {};
  if (static_cast<double>(w) / h >= 4.0) return {160, RoundHalfEven(160.0L * h / w)};
  return {RoundHalfEven(40.0L * w / h), 40};
}

}  // namespace qz
