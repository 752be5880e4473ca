#include "render/RenderDriver.h"

#include <gtest/gtest.h>

#include <functional>

#include "render/RenderKit.h"
#include "support/HostileInput.h"
#include "support/MessageCollector.h"

namespace qz {
namespace {

// A flat rectangle of the given pixel extents at depth 0, filled as a cap: with
// Render.Y = CnX = CnZ = 450 a vertex (X, 0, Z) projects to (X + CenterX, CenterY - Z).
void AddQuad(TScene& scene, int l, int b, int r, int t) {
  scene.Render.Y = 450;
  TBody& body = scene.View.Body(scene.View.AddBody());
  const TPoint outline[] = {{l, t}, {r, t}, {r, b}, {l, b}, {l, t}};
  body.AddContour(outline, 5, 0);
  test::AddFrontQuad(body, l, b, r, t, 0);
}

TEST(RenderDriver, ProgressTextsAndValues) {
  TScene scene;
  test::TProgressLog log;
  scene.Progress = &log;
  AddQuad(scene, -5, -5, 5, 5);
  RenderScene(scene, false, true);
  EXPECT_EQ(log.Events, (std::vector<std::string>{" Calculating viewport ...", "*", "35", " Rendering scene ...", "*", "75"}));
  log.Events.clear();
  RenderScene(scene, true, false);
  EXPECT_EQ(log.Events, (std::vector<std::string>{"*"}));
}

TEST(RenderDriver, PicturesBeyondTheLimitsAreRefusedInWords) {
  auto refused = [](TScene& scene) { return test::ErrorOf([&] { RenderScene(scene, true, false); }); };
  TScene wide;
  wide.Button.Altitude = 0;  // no shadow room
  AddQuad(wide, -20000, -10, 20000, 10);
  EXPECT_NE(refused(wide).find("The picture would be 40002 x 22 pixels"), std::string::npos) << refused(wide);
  EXPECT_NE(refused(wide).find("32767 pixels a side and 64 million in all"), std::string::npos);
  EXPECT_EQ(wide.Image.Width(), 64);  // untouched
  TScene big;
  big.Button.Altitude = 0;
  AddQuad(big, -5000, -5000, 5000, 5000);  // 100 million pixels
  EXPECT_NE(refused(big).find("10002 x 10002"), std::string::npos) << refused(big);
  // A camera at or behind the eye, a huge factor, an absurd shadow: a message, never a
  // division by zero.
  const std::vector<std::function<void(TScene&)>> hostile = {
      [](TScene& s) { s.Render.Y = 0; }, [](TScene& s) { s.Render.Y = -1500; }, [](TScene& s) { s.CnX = 1e12f; },
      [](TScene& s) { s.Type = 1, s.ButShadowX = INT32_MIN; }};
  for (const auto& change : hostile) {
    TScene scene;
    AddQuad(scene, -50, -20, 50, 20);
    change(scene);
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
  // An empty scene is a small field of background.
  TScene empty;
  empty.BkgColor = RGBToColor(1, 2, 3);
  RenderScene(empty, true, false);
  EXPECT_EQ(empty.Image.Width(), 16);
  EXPECT_EQ(empty.Image.Height(), 16);
  EXPECT_EQ(empty.Image.Pixel(7, 7), RGBToPixel(1, 2, 3));
  EXPECT_EQ(empty.Mask.Pixel(7, 7), 0u);
}

TEST(RenderDriver, PreviewFitsTallImagesByHeightOthersByWidthAndScalesSmoothOrPlain) {
  EXPECT_EQ(PreviewSize(400, 100, 800, 600, 50), (TPreviewSize{400, 100}));
  EXPECT_EQ(PreviewSize(100, 400, 800, 600, 50), (TPreviewSize{75, 300}));
  EXPECT_EQ(PreviewSize(10, 10, 3, 3, 50), (TPreviewSize{2, 2}));  // 1.5 -> 2 and 2.5 -> 2: halves to even
  EXPECT_EQ(PreviewSize(100, 100, 800, 600, 100000), (TPreviewSize{800, 800}));  // bounded to 100 percent
  EXPECT_EQ(PreviewSize(0, 100, 800, 600, 50), (TPreviewSize{}));

  // Smooth scaling blends across an edge; the plain stretch does not. The fourth byte is cleared.
  TBitmap image(40, 20);
  image.Fill(0xFF000000 | RGBToPixel(200, 100, 50));
  image.FillRect(20, 0, 40, 20, 0);
  const TBitmap plain = ScalePreview(image, {20, 10}, false), smooth = ScalePreview(image, {20, 10}, true);
  ASSERT_EQ((std::vector<int>{plain.Width(), plain.Height(), smooth.Width(), smooth.Height()}), (std::vector<int>{20, 10, 20, 10}));
  EXPECT_EQ((std::vector<uint32_t>{plain.Pixel(9, 5), plain.Pixel(10, 5)}), (std::vector<uint32_t>{RGBToPixel(200, 100, 50), 0u}));
  EXPECT_EQ(smooth.Pixel(2, 5), RGBToPixel(200, 100, 50));
  EXPECT_NE(smooth.Pixel(10, 5), 0u);
  EXPECT_EQ(ScalePreview(TBitmap(), {5, 5}, true).Width(), 5);
  EXPECT_TRUE(ScalePreview(image, {0, 0}, true).Empty());
}

}  // namespace
}  // namespace qz
