#include "render/TextureTiles.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "base/Numeric.h"
#include "render/RenderDriver.h"
#include "image/Resample.h"

namespace qz {

namespace {

int32_t TileSide(int64_t imageSide, float count) {
  const int64_t limit = MaxTilesPerImageSide * imageSide;
  // A count of 0 (or less, or not a number) asks for an endless tile: the limit.
  if (!(count > 0)) return static_cast<int32_t>(limit);
  return static_cast<int32_t>(Clamp<int64_t>(RoundHalfEven(imageSide / static_cast<long double>(count)), 1, limit));
}

template <typename TSet>
void FitTexture(TSideParams& side, TBitmap& texture, TTileCache& cache, int64_t W, int64_t H, TSet set) {
  if (side.HoldRatio) {
    const long double aspect = static_cast<long double>(texture.Width()) / texture.Height();
    side.TexW = ToFloat32(W * static_cast<long double>(side.TexH) / (H * aspect));
  } else {
    side.TexH = static_cast<float>(RoundHalfEven(side.TexH));
    side.TexW = static_cast<float>(RoundHalfEven(side.TexW));
  }
  const TTileSize size = TextureTileSize(W, H, side.TexW, side.TexH);
  if (texture.Width() == size.Width && texture.Height() == size.Height) return;
  if (size.Width <= 1 || size.Height <= 1) {
    // A tile this thin switches texturing off and leaves the texture as it is.
    TBitmap tile(size.Width, size.Height);
    ResampleImage(texture, tile, SplineFilter, 2.0);
    set(std::move(tile));
    return;
  }
  TBitmap tile = cache.Take(texture, size.Width, size.Height, SplineFilter, 2.0);
  if (tile.Empty()) {
    tile = cache.Recycle();  // the last tile's memory, already mapped
    tile.Reshape(size.Width, size.Height);  // the resample writes every pixel
    ResampleImage(texture, tile, SplineFilter, 2.0);
    cache.Keep(std::move(texture), SplineFilter, 2.0);  // the view lets go of it below
  }
  set(std::move(tile));  // the tile is the texture now: no copy
}

}  // namespace

TTileSize TextureTileSize(int64_t W, int64_t H, float texW, float texH) {
  TTileSize t{TileSide(W, texW), TileSide(H, texH)};
  if (int64_t{t.Width} * t.Height > MaxRenderPixels) {
    const long double shrink = std::sqrt(static_cast<long double>(MaxRenderPixels) / (int64_t{t.Width} * t.Height));
    t.Width = std::max(1, static_cast<int32_t>(t.Width * shrink));
    t.Height = std::max(1, static_cast<int32_t>(t.Height * shrink));
  }
  return t;
}

void ResizeTextures(TView3D& view, TParams& params) {
  view.Params = RenderBlock(params, 0, 0);
  view.SetCamera(CameraBlock(params));
  const TScreenExtents e = view.ScreenExtents();
  if (e.MinX > e.MaxX || e.MinY > e.MaxY) return;  // nothing drawn, nothing to tile
  const int64_t W = int64_t{e.MaxX} - e.MinX + 2, H = int64_t{e.MaxY} - e.MinY + 2;
  // A picture the render will refuse gets no textures fitted either.
  if (W > MaxRenderSide || H > MaxRenderSide || W * H > MaxRenderPixels) return;

  // The tile set is lent by the part's cache (a thin one is not the cache's, and is
  // not set either: texturing of the part is off then).
  if (view.ButtonTextured)
    FitTexture(params.Button, view.ButtonTexture, view.ButtonTiles, W, H, [&](TBitmap&& b) {
      view.SetButtonTexture(std::move(b));
      if (view.ButtonTextured) view.ButtonTiles.Lend(view.ButtonTexture);
    });
  if (view.TextTextured)
    FitTexture(params.Message, view.TextTexture, view.TextTiles, W, H, [&](TBitmap&& b) {
      view.SetTextTexture(std::move(b));
      if (view.TextTextured) view.TextTiles.Lend(view.TextTexture);
    });
}

}  // namespace qz
