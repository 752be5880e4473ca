#include "palette/SystemPalettes.h"

namespace qz {

namespace {

// The static colours: black, the six dark primaries and secondaries, light grey,
// money green and sky blue at the bottom; cream, medium grey, dark grey, the six
// bright primaries and secondaries and white at the top.
constexpr TRgb kSystemColors[20] = {
    {0, 0, 0},       {128, 0, 0},     {0, 128, 0},     {128, 128, 0},   {0, 0, 128},
    {128, 0, 128},   {0, 128, 128},   {192, 192, 192}, {192, 220, 192}, {166, 202, 240},
    {255, 251, 240}, {160, 160, 164}, {128, 128, 128}, {255, 0, 0},     {0, 255, 0},
    {255, 255, 0},   {0, 0, 255},     {255, 0, 255},   {0, 255, 255},   {255, 255, 255},
};

constexpr int kCubeLevel = 51;  // 6 levels from 0 to 255

std::vector<TRgb> MakeHalftone() {
  std::vector<TRgb> p(kSystemColors, kSystemColors + 10);
  for (int r = 0; r < 6; ++r)
    for (int g = 0; g < 6; ++g)
      for (int b = 0; b < 6; ++b)
        p.push_back({uint8_t(r * kCubeLevel), uint8_t(g * kCubeLevel), uint8_t(b * kCubeLevel)});
  // Four greys in each of the five gaps between the cube's greys, at fifths of the
  // gap (rounded): a grey ramp about 10 levels apart, none equal to a cube or
  // system grey.
  for (int gap = 0; gap < 5; ++gap)
    for (int k = 1; k <= 4; ++k) {
      int v = gap * kCubeLevel + (kCubeLevel * k * 2 + 5) / 10;
      p.push_back({uint8_t(v), uint8_t(v), uint8_t(v)});
    }
  p.insert(p.end(), kSystemColors + 10, kSystemColors + 20);
  return p;
}

}  // namespace

const std::vector<TRgb>& WindowsSystemPalette() {
  static const std::vector<TRgb> palette(kSystemColors, kSystemColors + 20);
  return palette;
}

const std::vector<TRgb>& WindowsHalftonePalette() {
  static const std::vector<TRgb> palette = MakeHalftone();
  return palette;
}

}  // namespace qz
