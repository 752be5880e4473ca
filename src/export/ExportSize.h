// The export size of a design, by one set of rules that the designer, `export` and
// `save` all use:
//
//   TDimensions d = StoredExportSize(params);        // a work just loaded: its own size
//   RefitExportSize(d, image.Width(), image.Height(), params.HoldButtonSize);  // after each build
//   SetExportSide(d, TSide::Width, 120, true);       // the user sets a side
//
// A work's stored size (ExpWidth x ExpHeight) is its export size when it is loaded;
// the first build after the load only takes note of the picture's size. From then on
// a build that renders a picture of another size refits the export size to it (160
// pixels wide for a long, flat picture, otherwise 40 high), unless the design holds
// its button size. A size the user set stays while the picture keeps its size.
#pragma once

#include <cstdint>

#include "scene/Params.h"

namespace qz {

struct TExportSize {
  int32_t width = 160;
  int32_t height = 40;
  bool operator==(const TExportSize&) const = default;
};

// The export size a picture may have: the renderer's own bounds, one side and the
// whole picture, so an export never asks for more memory than a render may use.
constexpr int32_t MaxExportSide = 32767;
constexpr int64_t MaxExportPixels = int64_t{64} * 1000 * 1000;
// True when width x height is a size an export can be written at.
bool IsExportSize(int64_t width, int64_t height);
// Throws std::runtime_error saying why, unless IsExportSize.
void CheckExportSize(int64_t width, int64_t height);

// The export size that fits a rendered picture: 160 pixels wide for a long, flat one
// (width at least four times the height), otherwise 40 pixels high, the other side
// keeping the picture's proportions. A picture with a side of 0 or less gives the
// default 160 x 40; a fitted side is at least 1.
TExportSize FitExportSize(int32_t imageWidth, int32_t imageHeight);

// A design's export size (the Dimensions tab's Width and Height) with the size of
// the rendered picture it was last fitted to; a base of 0 x 0 is not yet known.
struct TDimensions {
  int32_t Width = 0;
  int32_t Height = 0;
  int32_t BaseWidth = 0;
  int32_t BaseHeight = 0;
  bool operator==(const TDimensions&) const = default;
  TExportSize Size() const { return {Width, Height}; }
};

// The export size of a work as loaded: its ExpWidth x ExpHeight with the base not yet
// known. A stored size no export can have (a damaged work) is 0 x 0, which the first
// build refits.
TDimensions StoredExportSize(const TParams& params);

// After a build rendered a picture of imageWidth x imageHeight: a base not yet known
// becomes that size (the size stays, unless it is 0 x 0); otherwise, unless held, a
// picture of another size than the base becomes the base and the export size is
// fitted to it; a picture of the same size leaves the size as the user set it. True
// when the export size changed.
bool RefitExportSize(TDimensions& d, int32_t imageWidth, int32_t imageHeight, bool held);

// The largest export size the Dimensions boxes accept for the side the user edits;
// the side derived from it by " Constrain proportions" is not clamped.
inline constexpr int32_t MaxDimWidth = 800;
inline constexpr int32_t MaxDimHeight = 600;

enum class TSide { Width, Height };

// The user sets one side of the export size: at most MaxDimWidth / MaxDimHeight; with
// constrain, the other side follows the base proportions, rounded half to even (a base
// side of 0 leaves it as it is: there are no proportions to keep). A side below 1 is
// kept, and refused by the export with a message.
void SetExportSide(TDimensions& d, TSide side, int32_t value, bool constrain);

}  // namespace qz
