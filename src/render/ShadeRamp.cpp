#include "render/ShadeRamp.h"

#include "base/Numeric.h"

namespace qz {

TPalette MakeShadeRamp(const TSideParams& side, TColor light) {
  TPalette ramp{};
  const int32_t S = Clamp(side.ColSplit, 0, 255);
  const TColor D = side.DColor, M = side.MColor, B = side.BColor, L = light;
  uint32_t (*const channel[3])(TColor) = {ColorRed, ColorGreen, ColorBlue};
  for (int i = 0; i < 256; ++i) {
    uint32_t rgb[3];
    for (int ch = 0; ch < 3; ++ch) {
      const int64_t d = channel[ch](D), m = channel[ch](M), b = channel[ch](B), l = channel[ch](L);
      long double v;
      if (i <= S) {
        // With a split of 0 the only entry of the first part is the middle colour
        // itself (the entry at the split), not 0/0.
        v = S == 0 ? m : d + static_cast<long double>((m - d) * i) / S;
      } else {
        v = m + static_cast<long double>((b - m) * (i - S)) / (255 - S);
      }
      int64_t lit = static_cast<int64_t>(RoundHalfEven(v)) * l / 255;
      rgb[ch] = static_cast<uint32_t>(Clamp<int64_t>(lit, 0, 255));
    }
    ramp[i] = RGBToPixel(rgb[0], rgb[1], rgb[2]);
  }
  return ramp;
}

}  // namespace qz
