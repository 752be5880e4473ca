#include "render/TextureTiles.h"

#include <gtest/gtest.h>

#include <memory>
#include <random>

#include "image/Resample.h"
#include "render/RenderKit.h"
#include "render/View3D.h"

namespace qz {
namespace {

TTexturePicture Noise(int w, int h, unsigned seed) {
  std::mt19937 rng(seed);
  TBitmap b(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) b.SetPixel(x, y, rng() & 0x00FFFFFFu);
  return std::make_shared<const TBitmap>(std::move(b));
}

// The tile a picture fitted to w x h gets: B-Spline, width 2.0.
TBitmap Fitted(const TTexturePicture& picture, int w, int h) {
  TBitmap tile(w, h);
  ResampleImage(*picture, tile, SplineFilter, 2.0);
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

// Every fit starts from the texture's own picture, so a design fitted after any number
// of other fits (an undo, counts changed and changed back) gets the very same tile.
TEST(TextureTiles, ATileDependsOnThePictureAndTheCountsAlone) {
  TDesignView scene;
  OneQuad(scene);
  const TTexturePicture wood = Noise(16, 12, 2);
  ResizeTextures(scene.View, scene, nullptr, wood);
  ASSERT_TRUE(scene.View.ButtonTextured);
  EXPECT_EQ(scene.View.ButtonTexture, Fitted(wood, 102, 42));
  for (float across : {2.0f, 3.0f, 2.0f, 1.0f}) {
    scene.Button.TexW = across;
    ResizeTextures(scene.View, scene, nullptr, wood);
    const int width = across == 1.0f ? 102 : across == 2.0f ? 51 : 34;
    EXPECT_EQ(scene.View.ButtonTexture, Fitted(wood, width, 42)) << across;
  }
  // The letters have their own tile; the button's is untouched by it.
  const TTexturePicture gold = Noise(9, 7, 3);
  ResizeTextures(scene.View, scene, gold, wood);
  EXPECT_EQ(scene.View.TextTexture, Fitted(gold, 102, 42));
  EXPECT_EQ(scene.View.ButtonTexture, Fitted(wood, 102, 42));
  // A part without a picture is drawn with its colours.
  ResizeTextures(scene.View, scene, nullptr, wood);
  EXPECT_FALSE(scene.View.TextTextured);
  EXPECT_TRUE(scene.View.ButtonTextured);
}

// A fit of the same picture to the same size keeps the tile (no resampling, the same
// memory); another picture of the same size, or a picture as large as the tile, is
// taken as it is.
TEST(TextureTiles, TheSameFitKeepsItsTileAndAPictureOfTheTilesSizeIsTheTile) {
  TDesignView scene;
  OneQuad(scene);
  const TTexturePicture wood = Noise(16, 12, 2);
  ResizeTextures(scene.View, scene, nullptr, wood);
  const uint32_t* memory = scene.View.ButtonTexture.Data();
  ResizeTextures(scene.View, scene, nullptr, wood);
  EXPECT_EQ(scene.View.ButtonTexture.Data(), memory);

  TBitmap edited = *wood;  // the file changed on disk and was read again
  edited.SetPixel(3, 4, RGBToPixel(255, 0, 0));
  const TTexturePicture reread = std::make_shared<const TBitmap>(edited);
  ResizeTextures(scene.View, scene, nullptr, reread);
  EXPECT_EQ(scene.View.ButtonTexture, Fitted(reread, 102, 42));

  const TTexturePicture exact = Noise(102, 42, 5);
  ResizeTextures(scene.View, scene, nullptr, exact);
  EXPECT_EQ(scene.View.ButtonTexture, *exact);
}

// With its proportions held, the count across follows the picture's own proportions
// (never a tile's), and the counts the fit settled on are returned, not written into
// the design.
TEST(TextureTiles, HeldProportionsComeFromThePictureAndTheCountsAreReturned) {
  TDesignView scene;
  OneQuad(scene);
  const TTexturePicture wide = Noise(40, 10, 6);  // four times as wide as high
  scene.Button.HoldRatio = true;
  scene.Button.TexW = 7.0f;
  scene.Button.TexH = 2.0f;
  const TParams before = scene;
  TFittedTextures first = ResizeTextures(scene.View, scene, nullptr, wide);
  ASSERT_TRUE(first.Button);
  EXPECT_FALSE(first.Text);
  EXPECT_FLOAT_EQ(first.ButtonFit.TexW, 102.0f * 2.0f / (42.0f * 4.0f));
  EXPECT_EQ(first.ButtonFit.TexH, 2.0f);
  EXPECT_EQ(static_cast<const TParams&>(scene), before);
  for (int i = 0; i < 3; ++i) EXPECT_EQ(ResizeTextures(scene.View, scene, nullptr, wide).ButtonFit, first.ButtonFit);

  scene.Button.HoldRatio = false;
  scene.Button.TexW = 2.4f;
  scene.Button.TexH = 2.5f;  // halves to even
  const TFittedTextures rounded = ResizeTextures(scene.View, scene, nullptr, wide);
  EXPECT_EQ(rounded.ButtonFit, (TTextureFit{2.0f, 2.0f}));
  EXPECT_EQ(scene.Button.TexW, 2.4f);
}

}  // namespace
}  // namespace qz
