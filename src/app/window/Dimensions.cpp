#include "app/window/Dimensions.h"

#include <algorithm>
#include <numbers>

#include "base/Numeric.h"

namespace qz {

std::string DigitsOnly(std::string_view text) {
  std::string digits;
  for (char c : text)
    if (c >= '0' && c <= '9') digits += c;
  return digits;
}

int32_t WidthRulerPosition(int32_t width) {
  return std::clamp(width, WidthRulerMin, WidthRulerMax);
}

int32_t HeightRulerPosition(int32_t height) {
  // -height would overflow for the smallest int; the clip makes that moot.
  return std::clamp(height <= -HeightRulerMax ? HeightRulerMax : -height, HeightRulerMin,
                    HeightRulerMax);
}

int32_t HeightFromRuler(int32_t position) { return std::max(-position, MinRulerHeight); }

bool CanDrawDimensionPicture(int32_t previewW, int32_t previewH, const TDimensions& d) {
  return previewW >= 2 && previewH >= 2 && d.Width >= 2 && d.Height >= 2 &&
         static_cast<int64_t>(d.Width) * d.Height <= MaxDimensionPicturePixels;
}

TMarkerPoint LightMarkerCentre(float a1, float a2, int32_t clientW, int32_t clientH) {
  constexpr double pi = std::numbers::pi;
  return {RoundHalfEven(clientW * static_cast<double>(a1) / pi),
          RoundHalfEven(clientH * static_cast<double>(a2) / pi)};
}

TLightAngles LightAnglesAt(int32_t x, int32_t y, int32_t clientW, int32_t clientH) {
  constexpr double pi = std::numbers::pi;
  return {static_cast<float>(clientW > 0 ? x * pi / clientW : pi / 2),
          static_cast<float>(clientH > 0 ? y * pi / clientH : pi / 2)};
}

bool MarkerPositionAllowed(int32_t pos, int32_t client) {
  return pos > 0 && pos < client - MarkerSize;
}

}  // namespace qz
