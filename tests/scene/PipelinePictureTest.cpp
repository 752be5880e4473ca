// The whole pipeline on real glyphs: build and render, then look at the picture the
// way a person would - a plate lit from the upper left with its shadow falling right
// and down, letters standing on it.
#include <gtest/gtest.h>

#include "platform/PngFile.h"
#include "render/RenderDriver.h"
#include "scene/Build.h"
#include "support/TempDir.h"

namespace qz {
namespace {

uint32_t Brightness(uint32_t p) { return PixelRed(p) + PixelGreen(p) + PixelBlue(p); }

struct PipelinePicture : ::testing::Test {
  void Make(const std::string& message, const std::string& picture) {
    text.Append(message, TCharFormat{});
    Build(scene, text);
    RenderScene(scene, true, false);
    WritePng(test::OutputPath(picture), scene.Image);
  }
  TScene scene;
  TMessageText text;
};

TEST_F(PipelinePicture, APlateLitFromTheUpperLeftWithItsShadowRightAndDown) {
  scene.Type = 1;  // rectangle
  Make("Hi", "pipeline-rectangle.png");
  const TBitmap& img = scene.Image;
  const int W = img.Width(), H = img.Height(), cx = scene.CenterX;
  const uint32_t bkg = ColorToPixel(scene.BkgColor);
  const uint32_t shadow = RGBToPixel(PixelRed(bkg) / 2, PixelGreen(bkg) / 2, PixelBlue(bkg) / 2);
  ASSERT_GT(scene.ButShadowX, 0);
  ASSERT_GT(scene.ButShadowY, 0);
  // The plate fills the picture but for the room of its shadow: the bottom-right
  // corner is in shadow (the last row and column are the picture's margin), the
  // top-right and bottom-left corners are background.
  EXPECT_NE(img.Pixel(0, 0), bkg);
  EXPECT_EQ(img.Pixel(W - 2, H - 2), shadow);
  EXPECT_EQ(img.Pixel(W - 1, H - 1), bkg);
  EXPECT_EQ(img.Pixel(W - 1, 0), bkg);
  EXPECT_EQ(img.Pixel(0, H - 1), bkg);
  // Down the centre column: plate, then as many rows of shadow as it falls; the skirt
  // facing up is brighter than the one facing down.
  int bottom = H - 2;
  while (img.Pixel(cx, bottom) == shadow) --bottom;
  EXPECT_EQ(H - 2 - bottom, scene.ButShadowY);
  EXPECT_GT(Brightness(img.Pixel(cx, 3)), Brightness(img.Pixel(cx, bottom - 3)) + 60);
  // The mask covers plate and shadow and nothing else.
  EXPECT_EQ(scene.Mask.Pixel(W - 2, H - 2), MaskWhite);
  EXPECT_EQ(scene.Mask.Pixel(W - 1, 0), 0u);
  EXPECT_EQ(scene.Mask.Pixel(cx, scene.CenterY), MaskWhite);
}

TEST_F(PipelinePicture, LettersStandOnThePlateInTheirOwnColours) {
  scene.Type = 2;
  scene.SetColors(0, RGBToColor(0, 0, 255), RGBToColor(255, 255, 255), 204, 1);  // blue letters
  scene.SetColors(0, RGBToColor(255, 0, 0), RGBToColor(255, 255, 255), 204, 0);  // red plate
  Make("I", "pipeline-letter.png");
  // The middle of the I is its cap: blue, no red; the plate beside it is red.
  const uint32_t cap = scene.Image.Pixel(scene.CenterX, scene.CenterY);
  EXPECT_GT(PixelBlue(cap), 100u);
  EXPECT_EQ(PixelRed(cap), 0u);
  const int beside = scene.CenterX + (scene.Letter(1).Right - scene.Letter(1).Left) / 2 + 60;  // past bevel and shadow
  const uint32_t plate = scene.Image.Pixel(beside, scene.CenterY - 40);
  EXPECT_GT(PixelRed(plate), 100u);
  EXPECT_EQ(PixelBlue(plate), 0u);
  // The letter's shadow falls on the plate, right of the letter: darker red.
  int x = scene.CenterX;
  while (PixelBlue(scene.Image.Pixel(x, scene.CenterY)) > 0) ++x;
  EXPECT_LT(PixelRed(scene.Image.Pixel(x, scene.CenterY)), PixelRed(plate));
}

}  // namespace
}  // namespace qz
