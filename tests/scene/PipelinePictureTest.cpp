// The whole pipeline on real glyphs: build and render, then look at the picture the
// way a person would - letters standing on a plate, each in its own colours, the
// letters' shadow on the plate. (The plate's light and shadow are the render tests'.)
#include <gtest/gtest.h>

#include "platform/PngFile.h"
#include "render/RenderDriver.h"
#include "scene/Build.h"
#include "support/TempDir.h"

namespace qz {
namespace {

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
