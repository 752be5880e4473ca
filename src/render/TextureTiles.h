// Fitting the texture pictures to their tiles. A texture is tiled over the rendered
// picture from its top-left pixel, TexW tiles across and TexH down; every build fits
// each part's texture picture (the letters', the button's) to the size of one tile of
// the picture it will make:
//
//   TTexturePicture wood = ...;                      // as read from its file
//   TFittedTextures fit = ResizeTextures(view, params, nullptr, wood);
//   // fit.Button.TexW: the tile counts the button's tile was made with
//
// A tile is always made from the texture's own picture, never from the tile of an
// earlier build, so the tiles depend on the design alone: the same design fitted
// after any number of other fits gives the same pixels. The view keeps the tile it
// was given with the picture it came from; a fit of the same picture to the same size
// keeps that tile as it is.
#pragma once

#include <cstdint>
#include <memory>

#include "image/Bitmap.h"
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
TTileSize TextureTileSize(int64_t w, int64_t h, float texW, float texH);

// The tile counts a part's tile was made with.
struct TTextureFit {
  float TexW = 1.0f;
  float TexH = 1.0f;
  bool operator==(const TTextureFit&) const = default;
};
struct TFittedTextures {
  bool Text = false;  // the letters' texture was fitted (TextFit holds its counts)
  bool Button = false;
  TTextureFit TextFit;
  TTextureFit ButtonFit;
};

// The picture's size without shadow margins (projected extents plus two) with the
// centre at 0; then for the button and the letters, each when given a picture: with
// HoldRatio, TexW = W * TexH / (H * the picture's width / height), so tiles keep the
// picture's proportions; otherwise TexW and TexH rounded to whole numbers. The tile is
// round(W / TexW) x round(H / TexH): the picture itself when it has that size, else
// the picture resampled to it with "B-Spline", width 2.0. A part without a picture,
// or whose tile is too thin, is drawn without texture. A scene with nothing drawn, or
// too large to render, fits nothing (and keeps no texture). params is not changed:
// the counts the fit settled on are returned.
TFittedTextures ResizeTextures(TView3D& view, const TParams& params, const TTexturePicture& text,
                               const TTexturePicture& button);

}  // namespace qz
