#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "render/RenderDriver.h"
#include "render/RenderKit.h"

namespace qz {
namespace {

class TProgressLog : public IProgressSink {
 public:
  void SetStatus(const std::string& text) override { Events.push_back(text); }
  void SetProgress(int value) override { Events.push_back(std::to_string(value)); }
  void ProcessMessages() override { Events.push_back("*"); }
  std::vector<std::string> Events;
};

// A flat rectangle of the given pixel extents at depth 0, filled as a cap: with
// Render.Y = CnX = CnZ = 450 a vertex (X, 0, Z) projects to (X + CenterX, CenterY - Z).
void AddQuad(TScene& scene, int l, int b, int r, int t) {
  scene.Render.Y = 450;
  TBody& body = scene.View.Body(scene.View.AddBody());
  const TPoint outline[] = {{l, t}, {r, t}, {r, b}, {l, b}, {l, t}};
  body.AddContour(outline, 5, 0);
  test::AddFrontQuad(body, l, b, r, t, 0);
}

TEST(RenderDriver, ImageSizeAndCentreMakeRoomForTheButtonsShadow) {
  // Extents 100 x 40; the button's shadow at (-3, 5): 105 x 47, centre moved right by 3.
  TScene scene;
  scene.Type = 1;
  AddQuad(scene, -50, -20, 50, 20);
  scene.ButShadowX = -3;
  scene.ButShadowY = 5;
  scene.TxtShadowX = 40;  // the letters' shadow falls on the button: no room for it
  scene.TxtShadowY = 40;
  RenderScene(scene, false, false);
  EXPECT_EQ(scene.Image.Width(), 105);
  EXPECT_EQ(scene.Image.Height(), 47);
  EXPECT_EQ(scene.CenterX, 50 + 3);
  EXPECT_EQ(scene.CenterY, 20);
  EXPECT_EQ(scene.Mask.Width(), 105);
  EXPECT_EQ(scene.Mask.Height(), 47);

  // No shadow room when the button casts none.
  scene.Button.Altitude = 0;
  RenderScene(scene, false, false);
  EXPECT_EQ(scene.Image.Width(), 102);
  EXPECT_EQ(scene.Image.Height(), 42);
}

TEST(RenderDriver, AHeadingMakesRoomForTheLettersShadow) {
  TScene scene;
  scene.Type = 0;
  AddQuad(scene, -50, -20, 50, 20);
  scene.TxtShadowX = 4;
  scene.TxtShadowY = -6;
  RenderScene(scene, false, false);
  EXPECT_EQ(scene.Image.Width(), 106);
  EXPECT_EQ(scene.Image.Height(), 48);
  EXPECT_EQ(scene.CenterX, 50);
  EXPECT_EQ(scene.CenterY, 26);
  scene.Message.Altitude = 0;
  RenderScene(scene, false, false);
  EXPECT_EQ(scene.Image.Width(), 102);
}

TEST(RenderDriver, MaskCoversLettersButtonAndShadows) {
  TScene scene;
  scene.Type = 1;
  scene.BkgColor = RGBToColor(0, 0, 255);
  AddQuad(scene, -10, -10, 10, 10);   // a "letter"
  AddQuad(scene, -30, -20, 30, 20);   // the button, last
  scene.ButShadowX = 6;
  scene.ButShadowY = 6;
  scene.TxtShadowX = 2;
  scene.TxtShadowY = 2;
  RenderScene(scene, true, false);
  const TBitmap& image = scene.Image;
  const TBitmap& mask = scene.Mask;
  ASSERT_EQ(image.Width(), 68);
  // The top-right corner is background: blue in the image, black in the mask.
  EXPECT_EQ(image.Pixel(image.Width() - 1, 0), RGBToPixel(0, 0, 255));
  EXPECT_EQ(mask.Pixel(mask.Width() - 1, 0), 0u);
  // The button and the letter in the middle, and the button's shadow at the bottom
  // right, are white in the mask; the shadow halves the background.
  EXPECT_EQ(mask.Pixel(30, 20), MaskWhite);
  EXPECT_EQ(mask.Pixel(2, 2), MaskWhite);
  EXPECT_EQ(mask.Pixel(image.Width() - 2, image.Height() - 2), MaskWhite);
  EXPECT_EQ(image.Pixel(image.Width() - 2, image.Height() - 2), RGBToPixel(0, 0, 127));
  // Every mask pixel is black or white, and white exactly where the image is not
  // plain background.
  for (int y = 0; y < mask.Height(); ++y)
    for (int x = 0; x < mask.Width(); ++x) {
      const uint32_t m = mask.Pixel(x, y) & 0x00FFFFFF;
      ASSERT_TRUE(m == 0 || m == MaskWhite);
      ASSERT_EQ(m == 0, image.Pixel(x, y) == RGBToPixel(0, 0, 255)) << x << "," << y;
    }
  test::SavePicture("render-driver-mask.png", mask);
  test::SavePicture("render-driver-image.png", image);
}

TEST(RenderDriver, WithoutMaskTheMaskIsOnlyResized) {
  TScene scene;
  scene.Type = 1;
  AddQuad(scene, -30, -20, 30, 20);
  RenderScene(scene, false, false);
  scene.Mask.Fill(0x00FF0000);
  RenderScene(scene, false, false);
  for (int y = 0; y < scene.Mask.Height(); ++y)
    for (int x = 0; x < scene.Mask.Width(); ++x) ASSERT_EQ(scene.Mask.Pixel(x, y), 0x00FF0000u);
  // Asked for, the mask is cleared and drawn.
  RenderScene(scene, true, false);
  EXPECT_EQ(scene.Mask.Pixel(0, scene.Mask.Height() - 1), 0u);
}

TEST(RenderDriver, ProgressTextsAndValues) {
  TScene scene;
  TProgressLog log;
  scene.Progress = &log;
  AddQuad(scene, -5, -5, 5, 5);
  RenderScene(scene, false, true);
  EXPECT_EQ(log.Events, (std::vector<std::string>{" Calculating viewport ...", "*", "35", " Rendering scene ...", "*",
                                                  "75"}));
  log.Events.clear();
  RenderScene(scene, true, false);
  EXPECT_EQ(log.Events, (std::vector<std::string>{"*"}));
}

TEST(RenderDriver, PicturesBeyondTheLimitsAreRefusedInWords) {
  auto refused = [](TScene& scene) -> std::string {
    try {
      RenderScene(scene, true, false);
    } catch (const std::runtime_error& e) {
      return e.what();
    }
    return "";
  };
  {
    TScene scene;
    scene.Button.Altitude = 0;  // no shadow room
    AddQuad(scene, -20000, -10, 20000, 10);  // 40002 wide
    const std::string why = refused(scene);
    EXPECT_NE(why.find("The picture would be 40002 x 22 pixels"), std::string::npos) << why;
    EXPECT_NE(why.find("32767 pixels a side and 64 million in all"), std::string::npos) << why;
    EXPECT_EQ(scene.Image.Width(), 64);  // untouched
  }
  {
    TScene scene;
    scene.Button.Altitude = 0;
    AddQuad(scene, -5000, -5000, 5000, 5000);  // 10002 x 10002: 100 million pixels
    const std::string why = refused(scene);
    EXPECT_NE(why.find("10002 x 10002"), std::string::npos) << why;
  }
  {
    // A camera at the eye (Distance 0) or a huge factor: no division by zero, a message.
    TScene scene;
    AddQuad(scene, -50, -20, 50, 20);
    scene.Render.Y = 0;
    EXPECT_FALSE(refused(scene).empty());
    scene.Render.Y = -1500;
    EXPECT_FALSE(refused(scene).empty());
    scene.Render.Y = 450;
    scene.CnX = 1e12f;
    EXPECT_FALSE(refused(scene).empty());
  }
  {
    // A shadow offset of absurd size.
    TScene scene;
    scene.Type = 1;
    AddQuad(scene, -50, -20, 50, 20);
    scene.ButShadowX = INT32_MIN;
    EXPECT_FALSE(refused(scene).empty());
  }
}

TEST(RenderDriver, WithoutAButtonBodyTheLastLetterIsNotDrawnAsTheButton) {
  // A build abandoned before the button: one letter, one body, Type still 2.
  TScene scene;
  scene.Type = 2;
  scene.AddLetter();
  AddQuad(scene, -30, -20, 30, 20);
  scene.TextPalette.fill(RGBToPixel(0, 0, 200));
  scene.ButtonPalette.fill(RGBToPixel(200, 0, 0));
  RenderScene(scene, false, false);
  EXPECT_EQ(scene.Image.Pixel(scene.CenterX, scene.CenterY), RGBToPixel(0, 0, 200));
  EXPECT_EQ(scene.Image.Width(), 62 + std::abs(scene.TxtShadowX));  // the letters' shadow room
}

TEST(RenderDriver, AnEmptySceneIsASmallFieldOfBackground) {
  TScene scene;
  scene.BkgColor = RGBToColor(1, 2, 3);
  RenderScene(scene, true, false);
  EXPECT_EQ(scene.Image.Width(), 16);
  EXPECT_EQ(scene.Image.Height(), 16);
  EXPECT_EQ(scene.Image.Pixel(7, 7), RGBToPixel(1, 2, 3));
  EXPECT_EQ(scene.Mask.Pixel(7, 7), 0u);
}

TEST(RenderDriver, PreviewSizeFitsTallImagesByHeightAndOthersByWidth) {
  EXPECT_EQ(PreviewSize(400, 100, 800, 600, 50), (TPreviewSize{400, 100}));
  EXPECT_EQ(PreviewSize(100, 400, 800, 600, 50), (TPreviewSize{75, 300}));
  EXPECT_EQ(PreviewSize(100, 100, 800, 600, 50), (TPreviewSize{400, 400}));
  // Halves round to even: 3 * 0.5 = 1.5 -> 2, 5 * 0.5 = 2.5 -> 2.
  EXPECT_EQ(PreviewSize(10, 10, 3, 3, 50), (TPreviewSize{2, 2}));
  EXPECT_EQ(PreviewSize(10, 10, 5, 5, 50), (TPreviewSize{2, 2}));
  // A view size from a file beyond 100 percent is bounded; an empty image gives nothing.
  EXPECT_EQ(PreviewSize(100, 100, 800, 600, 100000), (TPreviewSize{800, 800}));
  EXPECT_EQ(PreviewSize(0, 100, 800, 600, 50), (TPreviewSize{}));
}

TEST(RenderDriver, ScalePreviewSmoothOrPlain) {
  TBitmap image(40, 20);
  image.Fill(0xFF000000 | RGBToPixel(200, 100, 50));
  for (int y = 0; y < 20; ++y) image.FillRect(20, y, 40, y + 1, RGBToPixel(0, 0, 0));
  for (bool smooth : {false, true}) {
    const TBitmap p = ScalePreview(image, {20, 10}, smooth);
    ASSERT_EQ(p.Width(), 20);
    ASSERT_EQ(p.Height(), 10);
    EXPECT_EQ(p.Pixel(2, 5), RGBToPixel(200, 100, 50)) << smooth;  // fourth byte cleared
    EXPECT_EQ(p.Pixel(17, 5), 0u) << smooth;
  }
  // Smooth scaling blends across the edge; the plain stretch does not.
  const TBitmap plain = ScalePreview(image, {20, 10}, false);
  const TBitmap smooth = ScalePreview(image, {20, 10}, true);
  EXPECT_TRUE(plain.Pixel(9, 5) == RGBToPixel(200, 100, 50) && plain.Pixel(10, 5) == 0u);
  EXPECT_NE(smooth.Pixel(10, 5), 0u);
  EXPECT_NE(smooth.Pixel(9, 5), RGBToPixel(200, 100, 50));
  EXPECT_TRUE(ScalePreview(TBitmap(), {5, 5}, true).Width() == 5);
  EXPECT_TRUE(ScalePreview(image, {0, 0}, true).Empty());
}

}  // namespace
}  // namespace qz
