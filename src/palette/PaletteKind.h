// The eight palette kinds of the GIF export, as one table: where the palette comes
// from and by which rule a colour becomes an index. Codes are the ones the export
// passes (1..8).
//
//   const TPaletteKindInfo* info = FindPaletteKind(6);   // " Netscape (216)"
//   info->rule == TColorRule::NetscapeLevels
#pragma once

#include <span>
#include <vector>

#include "image/IndexedImage.h"

namespace qz {

enum class TPaletteKind : int {
  WindowsSystem = 1,
  WindowsHalftone = 2,
  WindowsGrayscale = 3,
  Monochrome = 4,
  Grayscale = 5,
  Netscape = 6,
  Optimized = 7,
  OptimizedWindows = 8,
};

// Where the entries come from.
enum class TPaletteSource {
  Fixed,              // a fixed table
  Quantized,          // the octree's colours from entry 0 on
  QuantizedInSystem,  // system colours at both ends, the octree's colours between
};

// How a colour is mapped to an index.
enum class TColorRule {
  Nearest,         // smallest sum of absolute channel differences, 15-bit cache
  NetscapeLevels,  // each channel to the level (c + 3) div 51
  MonochromeLuma,  // black below luma 32513 (of 65280), else white
  GrayscaleLuma,   // the grey luma div 256
};

struct TPaletteKindInfo {
  TPaletteKind kind;
  const char* exportEntry;  // the entry of the export page's "Palette" list
  const char* key;          // the command-line name
  TPaletteSource source;
  TColorRule rule;
  const std::vector<TRgb>& (*fixedTable)();  // the entries of a fixed palette, else null
};

// All kinds, in the order of the export page's list.
std::span<const TPaletteKindInfo> PaletteKinds();
// The kind of a code, or null for a code that names none.
const TPaletteKindInfo* FindPaletteKind(int code);
// Throws std::invalid_argument for a value outside the table.
const TPaletteKindInfo& PaletteKindInfo(TPaletteKind kind);

// The computed palettes' fixed parts: the octree's room in the " Optimized Windows"
// palette and where its colours start.
constexpr int kSystemSplitFirst = 10;
constexpr int kSystemSplitColors = 236;

// Luma with weights summing to 256: 0 .. 65280.
constexpr int Luma256(int r, int g, int b) { return 77 * r + 150 * g + 29 * b; }
constexpr int kMonochromeThreshold = 32513;

// The fixed tables.
const std::vector<TRgb>& NetscapePalette();          // 216: entry 36 r + 6 g + b
const std::vector<TRgb>& MonochromePalette();        // black, white
const std::vector<TRgb>& GrayscalePalette();         // 256 greys
const std::vector<TRgb>& WindowsGrayscalePalette();  // 0, 128, 192, 255

}  // namespace qz
