// Fitting the texture images to their tiles. A texture is tiled over the rendered
// picture from its top-left pixel, TexW tiles across and TexH down; every build
// resamples each texture in use to the size of one tile of the picture it will make.
//
//   ResizeTextures(view, params);   // the build's " Resizing textures ..." stage
//
// The resampled image replaces the texture: a later fit starts from it, not from the
// file. A texture already of the tile size is left untouched. Each part's cache in the
// view (TTileCache) keeps the last tile: the same texture fitted to the same size
// again, as after it was loaded anew, is given that tile instead of being resampled.
#pragma once

#include <cstdint>

#include "render/View3D.h"
#include "scene/Params.h"

namespace qz {

// Tile counts come from works and may be anything (the designer's spinners give 1 to
// 10): a tile side is at most four times the picture's side (a count of a quarter),
// and a tile of more pixels than the largest picture keeps its proportions but is made
// small enough. Counts of 1 or more never reach either bound. A tile of one pixel or
// less turns texturing of its part off.
constexpr int32_t MaxTilesPerImageSide = 4;

// The size of one tile for a picture of W x H without shadow margins and the tile
// counts texW across and texH down: round(W / texW) x round(H / texH), bounded as above.
struct TTileSize {
  int32_t Width = 0;
  int32_t Height = 0;
  bool operator==(const TTileSize&) const = default;
};
TTileSize TextureTileSize(int64_t W, int64_t H, float texW, float texH);

// The picture's size without shadow margins (projected extents plus two) with the
// centre at 0; then for the button (when textured) and the letters (when textured):
// with HoldRatio, TexW = W * TexH / (H * the texture's width / height), so tiles keep
// the texture's proportions; otherwise TexW and TexH are rounded to whole numbers
// (both written back into params). The tile is round(W / TexW) x round(H / TexH); a
// texture of another size is resampled to it with "B-Spline", width 2.0.
void ResizeTextures(TView3D& view, TParams& params);

}  // namespace qz
