#include "render/TextureTiles.h"

#include <algorithm>

#include "platform/Numeric.h"
#include "render/RenderDriver.h"
#include "render/Resample.h"

namespace qz {

namespace {

int32_t TileSide(long double imageSide, float count) {
  const int64_t limit = std::min<int64_t>(MaxTileSide, MaxTilesPerImageSide * static_cast<int64_t>(imageSide));
  // A count of 0 (or less, or not a number) asks for an endless tile: the limit.
  if (!(count > 0)) return static_cast<int32_t>(limit);
  return static_cast<int32_t>(Clamp<int64_t>(RoundHalfEven(imageSide / count), 1, limit));
}

template <typename TSet>
void FitTexture(TSideParams& side, const TBitmap& texture, int64_t W, int64_t H, TSet set) {
  if (side.HoldRatio) {
    const long double aspect = static_cast<long double>(texture.Width()) / texture.Height();
    side.TexW = ToFloat32(W * static_cast<long double>(side.TexH) / (H * aspect));
  } else {
    side.TexH = static_cast<float>(RoundHalfEven(side.TexH));
    side.TexW = static_cast<float>(RoundHalfEven(side.TexW));
  }
  const int32_t tileW = TileSide(W, side.TexW), tileH = TileSide(H, side.TexH);
  if (texture.Width() == tileW && texture.Height() == tileH) return;
  TBitmap tile(tileW, tileH);
  ResampleImage(texture, tile, SplineFilter, 2.0);
  set(tile);
}

}  // namespace

void ResizeTextures(TScene& scene) {
  TView3D& view = scene.View;
  scene.CenterX = scene.CenterY = 0;
  view.Params = scene.RenderBlock();
  view.SetCamera(scene.CameraBlock());
  const TScreenExtents e = view.ScreenExtents();
  if (e.MinX > e.MaxX || e.MinY > e.MaxY) return;  // nothing drawn, nothing to tile
  const int64_t W = int64_t{e.MaxX} - e.MinX + 2, H = int64_t{e.MaxY} - e.MinY + 2;
  // A picture the render will refuse gets no textures fitted either.
  if (W > MaxImageSide || H > MaxImageSide || W * H > MaxImagePixels) return;

  if (view.ButtonTextured)
    FitTexture(scene.Button, view.ButtonTexture, W, H, [&](const TBitmap& b) { view.SetButtonTexture(b); });
  if (view.TextTextured)
    FitTexture(scene.Message, view.TextTexture, W, H, [&](const TBitmap& b) { view.SetTextTexture(b); });
}

}  // namespace qz
