#include "palette/PaletteKind.h"

#include <stdexcept>
#include <string>

#include "palette/SystemPalettes.h"

namespace qz {

namespace {

std::vector<TRgb> MakeNetscape() {
  std::vector<TRgb> p;
  for (int r = 0; r < 6; ++r)
    for (int g = 0; g < 6; ++g)
      for (int b = 0; b < 6; ++b) p.push_back({uint8_t(51 * r), uint8_t(51 * g), uint8_t(51 * b)});
  return p;
}

std::vector<TRgb> MakeGreys(std::initializer_list<int> levels) {
  std::vector<TRgb> p;
  for (int v : levels) p.push_back({uint8_t(v), uint8_t(v), uint8_t(v)});
  return p;
}

std::vector<TRgb> MakeGrayscale() {
  std::vector<TRgb> p;
  for (int i = 0; i < 256; ++i) p.push_back({uint8_t(i), uint8_t(i), uint8_t(i)});
  return p;
}

using S = TPaletteSource;
using R = TColorRule;
using K = TPaletteKind;

constexpr TPaletteKindInfo kKinds[] = {
    {K::Optimized, " Optimized", "optimized", S::Quantized, R::Nearest, nullptr},
    {K::Netscape, " Netscape (216)", "netscape", S::Fixed, R::NetscapeLevels, NetscapePalette},
    {K::Monochrome, " Monochrome (2)", "monochrome", S::Fixed, R::MonochromeLuma, MonochromePalette},
    {K::Grayscale, " Grayscale (256)", "grayscale", S::Fixed, R::GrayscaleLuma, GrayscalePalette},
    {K::WindowsGrayscale, " Windows grayscale (4)", "windows-grayscale", S::Fixed, R::Nearest,
     WindowsGrayscalePalette},
    {K::WindowsSystem, " Windows System (20)", "windows-system", S::Fixed, R::Nearest, WindowsSystemPalette},
    {K::WindowsHalftone, " Windows halftone (256)", "windows-halftone", S::Fixed, R::Nearest,
     WindowsHalftonePalette},
    {K::OptimizedWindows, " Optimized Windows (256)", "optimized-windows", S::QuantizedInSystem, R::Nearest,
     nullptr},
};

}  // namespace

std::span<const TPaletteKindInfo> PaletteKinds() { return kKinds; }

const TPaletteKindInfo* FindPaletteKind(int code) {
  for (const TPaletteKindInfo& k : kKinds)
    if (static_cast<int>(k.kind) == code) return &k;
  return nullptr;
}

const TPaletteKindInfo& PaletteKindInfo(TPaletteKind kind) {
  const TPaletteKindInfo* info = FindPaletteKind(static_cast<int>(kind));
  if (!info) throw std::invalid_argument("Unknown palette kind " + std::to_string(static_cast<int>(kind)));
  return *info;
}

const std::vector<TRgb>& NetscapePalette() {
  static const std::vector<TRgb> p = MakeNetscape();
  return p;
}

const std::vector<TRgb>& MonochromePalette() {
  static const std::vector<TRgb> p = MakeGreys({0, 255});
  return p;
}

const std::vector<TRgb>& GrayscalePalette() {
  static const std::vector<TRgb> p = MakeGrayscale();
  return p;
}

const std::vector<TRgb>& WindowsGrayscalePalette() {
  static const std::vector<TRgb> p = MakeGreys({0, 128, 192, 255});
  return p;
}

}  // namespace qz
