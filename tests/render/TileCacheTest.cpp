#include "render/TileCache.h"

#include <gtest/gtest.h>

#include <random>

#include "image/Resample.h"
#include "render/RenderKit.h"
#include "render/TextureTiles.h"
#include "render/View3D.h"

namespace qz {
namespace {

TBitmap Noise(int w, int h, unsigned seed) {
  std::mt19937 rng(seed);
  TBitmap b(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) b.SetPixel(x, y, rng() & 0x00FFFFFFu);
  return b;
}

// The tile a texture fitted afresh gets: B-Spline, width 2.0.
TBitmap Fitted(const TBitmap& texture, int w, int h) {
  TBitmap tile(w, h);
  ResampleImage(texture, tile, SplineFilter, 2.0);
  return tile;
}

struct TDesignView : TParams {
  TView3D View;
};

// A scene with one front quad that projects to a picture of 102 x 42 (without margins).
void OneQuad(TDesignView& scene) {
  scene.Render.Y = 450;
  const int b = scene.View.AddBody();
  test::AddFrontQuad(scene.View.Body(b), -50, -20, 50, 20, 0);
}

TEST(TileCache, GivenOnlyForTheSamePixelsSizeAndFilterAndOnlyOnce) {
  TTileCache cache;
  const TBitmap texture = Noise(9, 7, 1);
  EXPECT_TRUE(cache.Take(texture, 30, 20, SplineFilter, 2.0).Empty());
  TBitmap view = Fitted(texture, 30, 20);
  const TBitmap tile = view;
  TBitmap source = texture;
  cache.Keep(std::move(source), SplineFilter, 2.0);
  cache.Lend(view);
  EXPECT_TRUE(cache.Take(texture, 30, 20, SplineFilter, 2.0).Empty());  // the view has it
  cache.Return(view);
  EXPECT_TRUE(view.Empty());
  EXPECT_EQ(cache.Bytes(), (9u * 7 + 30u * 20) * 4);

  TBitmap edited = texture;
  edited.SetPixel(8, 6, edited.Pixel(8, 6) ^ 1);  // one channel of one pixel
  EXPECT_TRUE(cache.Take(edited, 30, 20, SplineFilter, 2.0).Empty());
  EXPECT_TRUE(cache.Take(Noise(7, 9, 1), 30, 20, SplineFilter, 2.0).Empty());
  EXPECT_TRUE(cache.Take(texture, 31, 20, SplineFilter, 2.0).Empty());
  EXPECT_TRUE(cache.Take(texture, 30, 21, SplineFilter, 2.0).Empty());
  EXPECT_TRUE(cache.Take(texture, 30, 20, LanczosFilter, 2.0).Empty());
  EXPECT_TRUE(cache.Take(texture, 30, 20, SplineFilter, 3.0).Empty());
  EXPECT_EQ(cache.Take(texture, 30, 20, SplineFilter, 2.0), tile);
  EXPECT_TRUE(cache.Take(texture, 30, 20, SplineFilter, 2.0).Empty());  // given out once
}

// A lent tile comes back only as the very pixels lent: another bitmap of its size, or
// the view's texture after it was cleared, is not taken for it.
TEST(TileCache, OnlyTheLentPixelsComeBack) {
  TTileCache cache;
  const TBitmap texture = Noise(5, 5, 4);
  TBitmap view = Fitted(texture, 12, 8);
  TBitmap source = texture;
  cache.Keep(std::move(source), SplineFilter, 2.0);
  cache.Lend(view);
  TBitmap lookalike = view;
  cache.Return(lookalike);
  EXPECT_FALSE(lookalike.Empty());
  view.SetSize(0, 0);
  cache.Return(view);
  EXPECT_TRUE(cache.Take(texture, 12, 8, SplineFilter, 2.0).Empty());
  EXPECT_EQ(cache.Bytes(), 5u * 5 * 4);
  cache.Clear();
  EXPECT_EQ(cache.Bytes(), 0u);
}

// Builds as the designer runs them: the texture loaded anew (an undo, a reload) and
// fitted again is the kept tile; an edited texture file or another tile count is
// fitted afresh; a tile fitted again to a new size still starts from the tile before.
TEST(TileCache, TheViewsFitsAreNeverStale) {
  TDesignView scene;
  OneQuad(scene);
  const TBitmap texture = Noise(16, 12, 2);
  scene.View.SetButtonTexture(texture);
  ResizeTextures(scene.View, scene);
  const TBitmap first = scene.View.ButtonTexture;
  ASSERT_EQ(first, Fitted(texture, 102, 42));
  EXPECT_EQ(scene.View.ButtonTiles.Bytes(), 16u * 12 * 4);  // the texture; the view has the tile

  scene.View.SetButtonTexture(texture);  // loaded again: the tile is back in the cache
  EXPECT_EQ(scene.View.ButtonTiles.Bytes(), (16u * 12 + 102u * 42) * 4);
  ResizeTextures(scene.View, scene);
  EXPECT_EQ(scene.View.ButtonTexture, first);
  EXPECT_EQ(scene.View.ButtonTiles.Bytes(), 16u * 12 * 4);  // and lent again

  TBitmap edited = texture;  // the file changed on disk, and was loaded again
  edited.SetPixel(3, 4, RGBToPixel(255, 0, 0));
  scene.View.SetButtonTexture(edited);
  ResizeTextures(scene.View, scene);
  EXPECT_EQ(scene.View.ButtonTexture, Fitted(edited, 102, 42));
  EXPECT_NE(scene.View.ButtonTexture, first);

  scene.View.SetButtonTexture(texture);  // another tile count
  scene.Button.TexW = 2.0f;
  ResizeTextures(scene.View, scene);
  EXPECT_EQ(scene.View.ButtonTexture, Fitted(texture, 51, 42));

  scene.Button.TexW = 3.0f;  // refitted from the 51 x 42 tile, not from the file
  ResizeTextures(scene.View, scene);
  EXPECT_EQ(scene.View.ButtonTexture, Fitted(Fitted(texture, 51, 42), 34, 42));
  scene.Button.TexW = 2.0f;  // and back: from the 34 x 42 tile
  ResizeTextures(scene.View, scene);
  EXPECT_EQ(scene.View.ButtonTexture, Fitted(Fitted(Fitted(texture, 51, 42), 34, 42), 51, 42));
  scene.View.SetButtonTexture(texture);  // the file again, at the 51 x 42 of that tile
  scene.Button.TexW = 3.0f;
  ResizeTextures(scene.View, scene);
  scene.View.SetButtonTexture(texture);
  scene.Button.TexW = 2.0f;
  ResizeTextures(scene.View, scene);
  EXPECT_EQ(scene.View.ButtonTexture, Fitted(texture, 51, 42));

  // The letters keep their own tile.
  scene.View.SetTextTexture(edited);
  ResizeTextures(scene.View, scene);
  EXPECT_EQ(scene.View.TextTexture, Fitted(edited, 102, 42));
  EXPECT_EQ(scene.View.ButtonTexture, Fitted(texture, 51, 42));
}

}  // namespace
}  // namespace qz
