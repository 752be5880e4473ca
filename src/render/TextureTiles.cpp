#include "render/TextureTiles.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "base/Numeric.h"
#include "image/Resample.h"
#include "render/RenderDriver.h"

namespace qz {

namespace {

int32_t TileSide(int64_t imageSide, float count) {
  const int64_t limit = MaxTilesPerImageSide * imageSide;
  // A count of 0 (or less, or not a number) asks for an endless tile: the limit.
  if (!(count > 0)) return static_cast<int32_t>(limit);
  return static_cast<int32_t>(Clamp<int64_t>(RoundHalfEven(imageSide / static_cast<long double>(count)), 1, limit));
}

// The counts a part's tile is made with for a picture of W x H.
TTextureFit FitCounts(const TSideParams& side, const TBitmap& picture, int64_t w, int64_t h) {
  if (side.HoldRatio) {
    const long double aspect = static_cast<long double>(picture.Width()) / picture.Height();
    return {ToFloat32(w * static_cast<long double>(side.TexH) / (h * aspect)), side.TexH};
  }
  return {static_cast<float>(RoundHalfEven(side.TexW)), static_cast<float>(RoundHalfEven(side.TexH))};
}

void ClearFourthBytes(TBitmap& b) {
  uint32_t* p = b.Data();
  for (size_t i = 0, n = static_cast<size_t>(b.Width()) * b.Height(); i < n; ++i) p[i] &= 0x00FFFFFFu;
}

// One part of the view's textures: its tile, whether it is drawn, the picture the
// tile was made from.
struct TPart {
  TBitmap& Tile;
  bool& Textured;
  TTexturePicture& FittedFrom;
};

// The part's tile: kept when it was made from this picture at this size, else made
// anew from the picture (into the memory of the tile before).
void FitTexture(TPart part, const TTexturePicture& picture, TTileSize size) {
  if (part.Textured && part.FittedFrom == picture && part.Tile.Width() == size.Width &&
      part.Tile.Height() == size.Height)
    return;
  part.FittedFrom = picture;
  part.Textured = false;
  if (size.Width <= 1 || size.Height <= 1) return;  // too thin to tile: drawn with its colours
  if (picture->Width() == size.Width && picture->Height() == size.Height) {
    part.Tile = *picture;
  } else {
    part.Tile.Reshape(size.Width, size.Height);  // the resample writes every pixel
    ResampleImage(*picture, part.Tile, SplineFilter, 2.0);
  }
  ClearFourthBytes(part.Tile);  // a texture is never transparent
  part.Textured = true;
}

}  // namespace

TTileSize TextureTileSize(int64_t w, int64_t h, float texW, float texH) {
  TTileSize t{TileSide(w, texW), TileSide(h, texH)};
  if (int64_t{t.Width} * t.Height > MaxRenderPixels) {
    const long double shrink = std::sqrt(static_cast<long double>(MaxRenderPixels) / (int64_t{t.Width} * t.Height));
    t.Width = std::max(1, static_cast<int32_t>(t.Width * shrink));
    t.Height = std::max(1, static_cast<int32_t>(t.Height * shrink));
  }
  return t;
}

TFittedTextures ResizeTextures(TView3D& view, const TParams& params, const TTexturePicture& text,
                               const TTexturePicture& button) {
  TFittedTextures fitted;
  view.Params = RenderBlock(params, 0, 0);
  view.SetCamera(CameraBlock(params));
  const TScreenExtents e = view.ScreenExtents();
  const int64_t W = int64_t{e.MaxX} - e.MinX + 2, H = int64_t{e.MaxY} - e.MinY + 2;
  // Nothing drawn, or a picture the render will refuse: no textures fitted either.
  const bool drawn = e.MinX <= e.MaxX && e.MinY <= e.MaxY && W <= MaxRenderSide && H <= MaxRenderSide &&
                     W * H <= MaxRenderPixels;
  auto fit = [&](TPart part, const TTexturePicture& picture, const TSideParams& side, bool& done,
                 TTextureFit& counts) {
    if (!drawn || !picture || picture->Width() <= 1 || picture->Height() <= 1) {
      part.Textured = false;
      part.FittedFrom = nullptr;
      return;
    }
    counts = FitCounts(side, *picture, W, H);
    done = true;
    FitTexture(part, picture, TextureTileSize(W, H, counts.TexW, counts.TexH));
  };
  fit({view.ButtonTexture, view.ButtonTextured, view.ButtonFittedFrom}, button, params.Button, fitted.Button,
      fitted.ButtonFit);
  fit({view.TextTexture, view.TextTextured, view.TextFittedFrom}, text, params.Message, fitted.Text, fitted.TextFit);
  return fitted;
}

}  // namespace qz
