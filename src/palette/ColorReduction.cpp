#include "palette/ColorReduction.h"

#include <algorithm>
#include <optional>
#include <stdexcept>
#include <string>

#include "palette/NearestColor.h"
#include "palette/OctreeQuantizer.h"
#include "palette/SystemPalettes.h"
#include "base/SideBySide.h"

namespace qz {

namespace {

constexpr int kNoGrey = -1;

// A palette before mapping: the entries, which of them nearest-colour matching may
// choose, and the reserved transparent entry (kPendingGrey: chosen after mapping).
struct TPalettePlan {
  std::vector<TRgb> palette;
  std::vector<bool> candidate;
  int usedSize = 0;
  int transparentIndex = -1;
};
constexpr int kPendingGrey = -2;

bool IsTransparent(const uint8_t* mask, size_t i) { return mask && mask[i] != 0; }

// Builds the octree from the opaque pixels, rows top to bottom, left to right.
std::vector<TRgb> QuantizeColors(const TBitmap& image, const uint8_t* mask, int maxColors) {
  TOctreeQuantizer octree(maxColors);
  size_t i = 0;
  for (int y = 0; y < image.Height(); ++y) {
    const uint32_t* row = image.ScanLine(y);
    for (int x = 0; x < image.Width(); ++x, ++i)
      if (!IsTransparent(mask, i)) octree.AddColor(PixelRed(row[x]), PixelGreen(row[x]), PixelBlue(row[x]));
  }
  return octree.Colors();
}

// " Optimized" and " Optimized Windows (256)": the octree's colours, black where it
// left room, and for the latter the system colours at both ends.
TPalettePlan PlanQuantized(const TPaletteKindInfo& kind, const TBitmap& image, const uint8_t* mask, int colorBits) {
  bool inSystem = kind.source == TPaletteSource::QuantizedInSystem;
  int size = inSystem ? 256 : 1 << colorBits;
  int first = inSystem ? kSystemSplitFirst : 0;
  int room = inSystem ? kSystemSplitColors : size;
  if (mask) --room;  // one entry for the transparent pixels
  std::vector<TRgb> colors = QuantizeColors(image, mask, room);

  TPalettePlan plan;
  plan.palette.assign(size, TRgb{});
  plan.candidate.assign(size, false);
  auto place = [&](int at, const TRgb& c) {
    plan.palette[at] = c;
    plan.candidate[at] = true;
  };
  for (size_t i = 0; i < colors.size(); ++i) place(first + static_cast<int>(i), colors[i]);
  if (inSystem) {
    const std::vector<TRgb>& sys = WindowsSystemPalette();
    for (int i = 0; i < 10; ++i) {
      place(i, sys[i]);
      place(246 + i, sys[10 + i]);
    }
  }
  int end = first + static_cast<int>(colors.size());
  plan.usedSize = inSystem ? size : end;
  if (mask) {
    plan.transparentIndex = end;
    plan.palette[end] = kTransparentRgb;
    plan.usedSize = std::max(plan.usedSize, end + 1);
  }
  return plan;
}

TPalettePlan PlanFixed(const TPaletteKindInfo& kind, bool withTransparency) {
  TPalettePlan plan;
  plan.palette = kind.fixedTable();
  plan.candidate.assign(plan.palette.size(), true);
  plan.usedSize = static_cast<int>(plan.palette.size());
  if (!withTransparency) return plan;
  if (plan.palette.size() < 256) {
    plan.transparentIndex = plan.usedSize++;
    plan.palette.push_back(kTransparentRgb);
    plan.candidate.push_back(false);
  } else if (kind.kind == TPaletteKind::WindowsHalftone) {
    plan.transparentIndex = kHalftoneSpareEntry;
    plan.candidate[kHalftoneSpareEntry] = false;
  } else {
    plan.transparentIndex = kPendingGrey;
  }
  return plan;
}

// One colour to one index by the kind's rule.
class TColorMapper {
 public:
  TColorMapper(TColorRule rule, const TPalettePlan& plan, int excludedGrey) : rule_(rule), excludedGrey_(excludedGrey) {
    if (rule == TColorRule::Nearest) nearest_.emplace(plan.palette, plan.candidate);
  }

  uint8_t Map(int r, int g, int b) {
    switch (rule_) {
      case TColorRule::Nearest:
        return nearest_->Map(static_cast<uint8_t>(r), static_cast<uint8_t>(g), static_cast<uint8_t>(b));
      case TColorRule::NetscapeLevels:
        return static_cast<uint8_t>(36 * ((r + 3) / 51) + 6 * ((g + 3) / 51) + (b + 3) / 51);
      case TColorRule::MonochromeLuma:
        return Luma256(r, g, b) < kMonochromeThreshold ? 0 : 1;
      case TColorRule::GrayscaleLuma:
        return Grey(Luma256(r, g, b));
    }
    return 0;
  }

  // Only the nearest-colour rule remembers its answers; the others are formulas.
  bool Remembers() const { return rule_ == TColorRule::Nearest; }
  // What this mapper makes of a colour a fresh copy of it, mapping later pixels,
  // mapped to `later` (see TNearestColor::Settle).
  uint8_t Settle(int r, int g, int b, uint8_t later) const {
    if (!Remembers()) return later;
    return nearest_->Settle(static_cast<uint8_t>(r), static_cast<uint8_t>(g), static_cast<uint8_t>(b), later);
  }

 private:
  // The grey of a luma; the excluded grey's pixels go to the neighbour on the side
  // the luma leans to.
  uint8_t Grey(int luma) const {
    int level = luma / 256;
    if (level == excludedGrey_) {
      bool up = level == 0 || (level < 255 && luma % 256 >= 128);
      level += up ? 1 : -1;
    }
    return static_cast<uint8_t>(level);
  }

  TColorRule rule_;
  int excludedGrey_;
  std::optional<TNearestColor> nearest_;
};

// Pictures from this many pixels are mapped in two halves at once when they are not
// dithered (error diffusion carries from pixel to pixel, so a dithered picture is
// mapped in one walk).
constexpr size_t kSideBySidePixels = size_t{1} << 16;

// Rows first..end-1 of the serpentine walk: even rows from left to right, odd rows
// from right to left. Transparent pixels get their entry and stay out of the error
// diffusion.
void MapRows(const TBitmap& image, const uint8_t* mask, const TDitherMethodInfo& dither, TColorMapper& mapper,
             const std::vector<TRgb>& palette, int transparentIndex, int first, int end, std::vector<uint8_t>& out) {
  int w = image.Width();
  bool diffuse = !dither.weights.empty();
  TErrorDiffuser diffuser(dither, diffuse ? w : 0);
  for (int y = first; y < end; ++y) {
    bool leftToRight = y % 2 == 0;
    diffuser.BeginRow(leftToRight);
    const uint32_t* row = image.ScanLine(y);
    uint8_t* outRow = out.data() + static_cast<size_t>(y) * w;
    for (int i = 0; i < w; ++i) {
      int x = leftToRight ? i : w - 1 - i;
      if (IsTransparent(mask, static_cast<size_t>(y) * w + x)) {
        outRow[x] = static_cast<uint8_t>(transparentIndex);
        continue;
      }
      int r = PixelRed(row[x]), g = PixelGreen(row[x]), b = PixelBlue(row[x]);
      if (diffuse) diffuser.Adjust(x, r, g, b);
      uint8_t k = mapper.Map(r, g, b);
      outRow[x] = k;
      if (diffuse) diffuser.Spread(x, r - palette[k].r, g - palette[k].g, b - palette[k].b);
    }
    if (diffuse) diffuser.EndRow();
  }
}

// The whole picture in the serpentine walk. Without dithering, a large picture's
// lower half is mapped beside the upper one by a copy of the fresh mapper, and the
// upper half's mapper then settles the lower half's pixels as its own walk would have
// mapped them: the same entries as one walk.
std::vector<uint8_t> MapPixels(const TBitmap& image, const uint8_t* mask, const TDitherMethodInfo& dither,
                               TColorMapper& mapper, const std::vector<TRgb>& palette, int transparentIndex) {
  const int w = image.Width(), h = image.Height();
  std::vector<uint8_t> out(static_cast<size_t>(w) * h, 0);
  const bool halves = dither.weights.empty() && out.size() >= kSideBySidePixels && h >= 2;
  if (!halves) {
    MapRows(image, mask, dither, mapper, palette, transparentIndex, 0, h, out);
    return out;
  }
  const int split = h / 2;
  TColorMapper lower = mapper;
  SideBySide(
      true, [&] { MapRows(image, mask, dither, lower, palette, transparentIndex, split, h, out); },
      [&] { MapRows(image, mask, dither, mapper, palette, transparentIndex, 0, split, out); });
  for (int y = split; y < h && mapper.Remembers(); ++y) {
    const uint32_t* row = image.ScanLine(y);
    uint8_t* outRow = out.data() + static_cast<size_t>(y) * w;
    for (int x = 0; x < w; ++x)
      if (!IsTransparent(mask, static_cast<size_t>(y) * w + x))
        outRow[x] = mapper.Settle(PixelRed(row[x]), PixelGreen(row[x]), PixelBlue(row[x]), outRow[x]);
  }
  return out;
}

// " Grayscale (256)" with transparency: every entry is a grey some colour maps to,
// so the transparent entry is a grey the opaque pixels turned out not to use; when
// they use all 256, the least used grey gives way and the image is mapped again.
int ChooseTransparentGrey(const TBitmap& image, const uint8_t* mask, const TDitherMethodInfo& dither,
                          const TPalettePlan& plan, std::vector<uint8_t>& pixels) {
  std::vector<size_t> uses(256, 0);
  for (size_t i = 0; i < pixels.size(); ++i)
    if (!IsTransparent(mask, i)) ++uses[pixels[i]];
  auto least = std::min_element(uses.begin(), uses.end());
  int grey = static_cast<int>(least - uses.begin());
  if (*least != 0) {
    TColorMapper mapper(TColorRule::GrayscaleLuma, plan, grey);
    pixels = MapPixels(image, mask, dither, mapper, plan.palette, grey);
  } else {
    for (size_t i = 0; i < pixels.size(); ++i)
      if (IsTransparent(mask, i)) pixels[i] = static_cast<uint8_t>(grey);
  }
  return grey;
}

}  // namespace

TIndexedImage MakeIndexedImage(const TBitmap& image, TPaletteKind kind, TDitherMethod dither, int colorBits,
                               const std::vector<uint8_t>* transparentMask) {
  const TPaletteKindInfo& kindInfo = PaletteKindInfo(kind);
  const TDitherMethodInfo& ditherInfo = DitherMethodInfo(dither);
  if (colorBits < 1 || colorBits > 8)
    throw std::invalid_argument("The colour resolution must be 1 to 8 bits, not " + std::to_string(colorBits));
  size_t pixelCount = static_cast<size_t>(image.Width()) * image.Height();
  if (transparentMask && transparentMask->size() != pixelCount)
    throw std::invalid_argument("The transparency mask must have one byte per pixel");
  const uint8_t* mask = transparentMask ? transparentMask->data() : nullptr;

  TPalettePlan plan = kindInfo.source == TPaletteSource::Fixed
                          ? PlanFixed(kindInfo, mask != nullptr)
                          : PlanQuantized(kindInfo, image, mask, colorBits);

  TIndexedImage result;
  result.width = image.Width();
  result.height = image.Height();
  TColorMapper mapper(kindInfo.rule, plan, kNoGrey);
  result.pixels = MapPixels(image, mask, ditherInfo, mapper, plan.palette, std::max(plan.transparentIndex, 0));
  if (plan.transparentIndex == kPendingGrey) {
    plan.transparentIndex = ChooseTransparentGrey(image, mask, ditherInfo, plan, result.pixels);
    plan.palette[plan.transparentIndex] = kTransparentRgb;
  }
  result.palette = std::move(plan.palette);
  result.usedSize = plan.usedSize;
  result.transparentIndex = plan.transparentIndex;
  return result;
}

}  // namespace qz
