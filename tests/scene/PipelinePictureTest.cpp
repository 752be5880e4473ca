// The whole pipeline on real glyphs: build and render, then look at the picture the
// way a person would - a plate lit from the upper left with its shadow falling right
// and down, letters standing on it.
#include <gtest/gtest.h>

#include <filesystem>
#include <stdexcept>

#include "platform/PngFile.h"
#include "render/RenderDriver.h"
#include "scene/Build.h"

namespace qz {
namespace {

uint32_t Brightness(uint32_t p) { return PixelRed(p) + PixelGreen(p) + PixelBlue(p); }

void Save(const std::string& name, const TBitmap& image) {
  std::filesystem::create_directories(QZ_TEST_OUTPUT_DIR);
  WritePng(std::string(QZ_TEST_OUTPUT_DIR) + "/" + name, image);
}

struct PipelinePicture : ::testing::Test {
  void Make(const std::string& message) {
    text.Clear();
    text.Append(message, TCharFormat{});
    Build(scene, text);
    RenderScene(scene, true, false);
  }
  TScene scene;
  TMessageText text;
};

TEST_F(PipelinePicture, APlateLitFromTheUpperLeftWithItsShadowRightAndDown) {
  scene.Type = 1;  // rectangle
  Make("Hi");
  Save("pipeline-rectangle.png", scene.Image);
  const TBitmap& img = scene.Image;
  const uint32_t bkg = ColorToPixel(scene.BkgColor);
  const int cx = scene.CenterX, cy = scene.CenterY;
  ASSERT_GT(cx, 0);
  ASSERT_GT(cy, 0);

  // The plate fills the picture but for the room of its shadow, which falls right
  // and down: the bottom-right corner is in shadow (the background halved; the last
  // row and column are the picture's one-pixel margin), the top-right and
  // bottom-left corners are background.
  const int W = img.Width(), H = img.Height();
  const uint32_t shadow = RGBToPixel(PixelRed(bkg) / 2, PixelGreen(bkg) / 2, PixelBlue(bkg) / 2);
  ASSERT_GT(scene.ButShadowX, 0);
  ASSERT_GT(scene.ButShadowY, 0);
  EXPECT_EQ(img.Pixel(W - 2, H - 2), shadow);
  EXPECT_EQ(img.Pixel(W - 1, H - 1), bkg);
  EXPECT_EQ(img.Pixel(W - 1, 0), bkg);
  EXPECT_EQ(img.Pixel(0, H - 1), bkg);
  EXPECT_NE(img.Pixel(0, 0), bkg);

  // Down the centre column: plate from the top, then shadow. The skirt facing up is
  // brighter than the one facing down.
  int bottom = H - 2;
  while (img.Pixel(cx, bottom) == shadow) --bottom;
  EXPECT_EQ(H - 2 - bottom, scene.ButShadowY);
  EXPECT_GT(Brightness(img.Pixel(cx, 3)), Brightness(img.Pixel(cx, bottom - 3)) + 60);

  // The mask covers plate and shadow and nothing else.
  EXPECT_EQ(scene.Mask.Pixel(W - 2, H - 2), MaskWhite);
  EXPECT_EQ(scene.Mask.Pixel(W - 1, 0), 0u);
  EXPECT_EQ(scene.Mask.Pixel(cx, cy), MaskWhite);
}

TEST_F(PipelinePicture, LettersStandOnThePlateInTheirOwnColours) {
  scene.Type = 2;
  scene.SetColors(0, RGBToColor(0, 0, 255), RGBToColor(255, 255, 255), 204, 1);  // blue letters
  scene.SetColors(0, RGBToColor(255, 0, 0), RGBToColor(255, 255, 255), 204, 0);  // red plate
  Make("I");
  Save("pipeline-letter.png", scene.Image);
  // The middle of the I is its cap: pure blue, no red; the plate beside it is red.
  const uint32_t cap = scene.Image.Pixel(scene.CenterX, scene.CenterY);
  EXPECT_GT(PixelBlue(cap), 100u);
  EXPECT_EQ(PixelRed(cap), 0u);
  const TLetter& I = scene.Letter(1);
  const int beside = scene.CenterX + (I.Right - I.Left) / 2 + 60;  // past the bevel and the letter's shadow
  const uint32_t plate = scene.Image.Pixel(beside, scene.CenterY - 40);
  EXPECT_GT(PixelRed(plate), 100u);
  EXPECT_EQ(PixelBlue(plate), 0u);
  // The letter's shadow falls on the plate, right of the letter: darker red.
  int x = scene.CenterX;
  while (PixelBlue(scene.Image.Pixel(x, scene.CenterY)) > 0) ++x;
  EXPECT_LT(PixelRed(scene.Image.Pixel(x, scene.CenterY)), PixelRed(plate));
}

TEST_F(PipelinePicture, HostileNumbersGiveAMessageOrAPictureNeverACrash) {
  scene.LoBright = -500;
  scene.HiBright = 9999;
  scene.Brightness = -7;
  scene.Message.ColSplit = 4000;
  scene.BuildRamp(1);
  TBitmap texture(8, 8);
  texture.Fill(RGBToPixel(90, 90, 90));
  scene.View.SetTextTexture(texture);
  Make("Ok");
  EXPECT_GT(scene.Image.Width(), 16);

  for (int distance : {0, -1500}) {
    scene.Distance = distance;
    EXPECT_THROW(Make("Ok"), std::runtime_error) << distance;
  }
  scene.Distance = 1500;
  scene.CnX = 3e9f;
  EXPECT_THROW(Make("Ok"), std::runtime_error);
}

}  // namespace
}  // namespace qz
