#include <gtest/gtest.h>

#include <memory>

#include "render/RenderDriver.h"
#include "render/TextureTiles.h"
#include "render/View3D.h"
#include "render/ZBuffer.h"
#include "render/RenderKit.h"

namespace qz {
namespace {

// A texture of one colour (red, green, blue channels r, g, b).
TBitmap Plain(int w, int h, uint32_t r, uint32_t g, uint32_t b) {
  TBitmap t(w, h);
  t.Fill(RGBToPixel(r, g, b));
  return t;
}

// The pixel a textured span of constant level draws over one texel colour.
uint32_t Lit(uint32_t texel, int level, int mid = 204, TColor tint = 0xFFFFFF, int x1 = 0, int x2 = 3) {
  TBitmap texture(2, 2);
  texture.Fill(texel);
  TBitmap image(4, 1);
  image.Fill(0xFF123456);  // the fourth byte must survive
  TZBuffer zb;
  zb.SetSize(1, 4);
  zb.InsertSpan(0, x1, x2, level, level, 1.0f);
  zb.SetTexture(texture);
  zb.MidLevel = mid;
  zb.Tint = tint;
  TPalette palette{};
  zb.Flush(image, palette, false);
  EXPECT_EQ(image.Pixel(x1, 0) >> 24, 0xFFu);
  return image.Pixel(x1, 0) & 0x00FFFFFF;
}

TEST(Texture, NeutralLevelsAtAndBeyondThePaletteEnds) {
  const uint32_t texel = RGBToPixel(100, 40, 220), white = RGBToPixel(255, 255, 255);
  struct TCase {
    int level, mid;
    TColor tint;
    uint32_t want;
  };
  const TCase cases[] = {
      {255, 204, 0xFFFFFF, white},
      {0, 0, 0xFFFFFF, texel},  // a neutral level of 0 is level 0 itself, not a division by zero
      {255, 255, 0xFFFFFF, texel},  // 255: only darkening
      {0, -40, 0xFFFFFF, texel},    // brightness from a file outside 0..255 is bounded to it
      {255, 9999, 0xFFFFFF, texel},
  };
  for (const TCase& c : cases)
    EXPECT_EQ(Lit(texel, c.level, c.mid, c.tint), c.want) << "level " << c.level << " neutral " << c.mid << " tint " << c.tint;
}

TEST(Texture, ATextureTooThinToTileSwitchesTexturingOff) {
  TView3D view;
  TBitmap t = Plain(4, 3, 1, 2, 3);
  t.SetPixel(0, 0, 0xAB010203);
  view.SetButtonTexture(t);
  EXPECT_EQ(view.ButtonTexture.Pixel(0, 0), 0x00010203u);  // never transparent
  for (TBitmap thin : {Plain(1, 5, 0, 0, 0), Plain(5, 1, 0, 0, 0), TBitmap()}) {
    view.SetButtonTexture(thin);
    EXPECT_FALSE(view.ButtonTextured);
  }
}

struct TDesignView : TParams {
  TView3D View;
};

// A scene with one front quad that projects to an image of 102 x 42.
void OneQuad(TDesignView& scene) {
  scene.Render.Y = 450;  // with CnX = CnZ = 450 a vertex at depth 0 projects to (X, -Z)
  const int b = scene.View.AddBody();
  test::AddFrontQuad(scene.View.Body(b), -50, -20, 50, 20, 0);
}

TEST(Texture, HostileScalesAreBoundedAndOnePixelTilesSwitchTexturingOff) {
  TDesignView held;
  OneQuad(held);
  const TTexturePicture picture = std::make_shared<const TBitmap>(Plain(8, 8, 9, 9, 9));
  for (float scale : {0.0f, -3.0f, 1e-9f, 1e9f}) {
    held.Message.HoldRatio = false;
    held.Message.TexW = scale;
    held.Message.TexH = 1.0f;
    ResizeTextures(held.View, held, picture, nullptr);
    const int w = held.View.TextTexture.Width();
    EXPECT_LE(w, MaxTilesPerImageSide * 102) << scale;
    EXPECT_LE(int64_t{w} * held.View.TextTexture.Height(), MaxRenderPixels) << scale;
    EXPECT_EQ(held.View.TextTextured, scale < 1e8f) << scale;
  }
}

TEST(Texture, TileSizesAreBoundedForCountsBelowOne) {
  EXPECT_EQ(TextureTileSize(5000, 300, 1.0f, 1.0f), (TTileSize{5000, 300}));  // wider than any texture file
  EXPECT_EQ(TextureTileSize(100, 40, 0.1f, 0.5f), (TTileSize{400, 80}));      // a quarter at most
  // A big picture with counts below one: proportions kept, no more pixels than a picture.
  const TTileSize t = TextureTileSize(8000, 8000, 0.25f, 0.25f);
  EXPECT_LE(int64_t{t.Width} * t.Height, MaxRenderPixels);
  EXPECT_EQ(t.Width, t.Height);
  EXPECT_GT(t.Width, 7000);
}

}  // namespace
}  // namespace qz
