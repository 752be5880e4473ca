// Fitting the texture images to their tiles. A texture is tiled over the rendered
// picture from its top-left pixel, TexW tiles across and TexH down; every build
// resamples each texture in use to the size of one tile of the picture it will make.
//
//   ResizeTextures(scene);   // the build's " Resizing textures ..." stage
//
// The resampled image replaces the texture: a later fit starts from it, not from the
// file. A texture already of the tile size is left untouched.
#pragma once

#include <cstdint>

#include "scene/Scene.h"

namespace qz {

// Tile counts come from works and may be anything: a tile side is bounded to this and
// to four times the picture's side (a count of a quarter), so no count allocates more
// than 64 MiB. A tile of one pixel or less turns texturing of its part off.
constexpr int32_t MaxTileSide = 4096;
constexpr int32_t MaxTilesPerImageSide = 4;

// The picture's size without shadow margins (projected extents plus two) with the
// centre at 0; then for the button (when textured) and the letters (when textured):
// with HoldRatio, TexW = W * TexH / (H * the texture's width / height), so tiles keep
// the texture's proportions; otherwise TexW and TexH are rounded to whole numbers.
// The tile is round(W / TexW) x round(H / TexH); a texture of another size is
// resampled to it with "B-Spline", width 2.0. Sets CenterX and CenterY to 0.
void ResizeTextures(TScene& scene);

}  // namespace qz
