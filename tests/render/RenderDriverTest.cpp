#include "render/RenderDriver.h"

#include <gtest/gtest.h>

#include <functional>

#include "render/RenderKit.h"
#include "support/HostileInput.h"
#include "support/MessageCollector.h"

namespace qz {
namespace {

// A design with its built view and the picture rendered from it.
struct TDesignView : TParams {
  TView3D View;
  TPicture Picture;
  TNullProgressSink Quiet;
  void Draw(bool withMask, IProgressSink* sink = nullptr, bool progress = false) {
    RenderScene(View, *this, Picture, withMask, sink ? *sink : Quiet, progress);
  }
};

// A flat rectangle of the given pixel extents at depth 0, filled as a cap: with
// Render.Y = CnX = CnZ = 450 a vertex (X, 0, Z) projects to (X + CenterX, CenterY - Z).
void AddQuad(TDesignView& scene, int l, int b, int r, int t) {
  scene.Render.Y = 450;
  TBody& body = scene.View.Body(scene.View.AddBody());
  const TPoint outline[] = {{l, t}, {r, t}, {r, b}, {l, b}, {l, t}};
  body.AddContour(outline, 5, 0);
  test::AddFrontQuad(body, l, b, r, t, 0);
}

TEST(RenderDriver, ProgressTextsAndValues) {
  TDesignView scene;
  test::TProgressLog log;
  AddQuad(scene, -5, -5, 5, 5);
  scene.Draw(false, &log, true);
  EXPECT_EQ(log.Events, (std::vector<std::string>{" Calculating viewport ...", "*", "35", " Rendering scene ...", "*", "75"}));
  log.Events.clear();
  scene.Draw(true, &log, false);
  EXPECT_EQ(log.Events, (std::vector<std::string>{"*"}));
}

TEST(RenderDriver, PicturesBeyondTheLimitsAreRefusedInWords) {
  auto refused = [](TDesignView& scene) { return test::ErrorOf([&] { scene.Draw(true); }); };
  TDesignView wide;
  wide.Message.Altitude = 0;  // no shadow room
  AddQuad(wide, -20000, -10, 20000, 10);
  EXPECT_NE(refused(wide).find("The picture would be 40002 x 22 pixels"), std::string::npos) << refused(wide);
  EXPECT_NE(refused(wide).find("32767 pixels a side and 64 million in all"), std::string::npos);
  EXPECT_EQ(wide.Picture.Image.Width(), 64);  // untouched
  TDesignView big;
  big.Message.Altitude = 0;
  AddQuad(big, -5000, -5000, 5000, 5000);  // 100 million pixels
  EXPECT_NE(refused(big).find("10002 x 10002"), std::string::npos) << refused(big);
  // A camera at or behind the eye, a huge factor, an absurd shadow: a message, never a
  // division by zero.
  const std::vector<std::function<void(TDesignView&)>> hostile = {
      [](TDesignView& s) { s.Render.Y = 0; }, [](TDesignView& s) { s.Render.Y = -1500; }, [](TDesignView& s) { s.CnX = 1e12f; },
      [](TDesignView& s) { s.Type = 1, s.ButShadowX = INT32_MIN, s.View.MarkButton(1); }};
  for (const auto& change : hostile) {
    TDesignView scene;
    AddQuad(scene, -50, -20, 50, 20);
    change(scene);
    EXPECT_FALSE(refused(scene).empty());
  }
}

TEST(RenderDriver, WithoutAButtonBodyTheLastLetterIsNotDrawnAsTheButton) {
  // A build abandoned before the button: one letter, one body, Type still 2.
  TDesignView scene;
  scene.Type = TButtonType::Rounded;
  AddQuad(scene, -30, -20, 30, 20);
  const TColor blue = RGBToColor(0, 0, 200);
  scene.Message = TSideParams{blue, blue, blue, 204, 10, {}, 1.0f, 1.0f, false};
  scene.Button.DColor = scene.Button.MColor = scene.Button.BColor = RGBToColor(200, 0, 0);
  scene.Draw(false);
  const TPicture& p = scene.Picture;
  EXPECT_EQ(p.Image.Pixel(p.CenterX, p.CenterY), RGBToPixel(0, 0, 200));
  EXPECT_EQ(p.Image.Width(), 62 + std::abs(scene.TxtShadowX));  // the letters' shadow room
  // Marked as the button, the same body is drawn in the button's colour with its room.
  scene.View.MarkButton(1);
  scene.Draw(false);
  EXPECT_EQ(p.Image.Pixel(p.CenterX, p.CenterY), RGBToPixel(200, 0, 0));
  EXPECT_EQ(p.Image.Width(), 62 + std::abs(scene.ButShadowX));
  // An empty scene is a small field of background.
  TDesignView empty;
  empty.BkgColor = RGBToColor(1, 2, 3);
  empty.Draw(true);
  EXPECT_EQ(empty.Picture.Image.Width(), 16);
  EXPECT_EQ(empty.Picture.Image.Height(), 16);
  EXPECT_EQ(empty.Picture.Image.Pixel(7, 7), RGBToPixel(1, 2, 3));
  EXPECT_EQ(empty.Picture.Mask.Pixel(7, 7), 0u);
}

TEST(RenderDriver, PreviewFitsInsideBothSidesAndScalesSmoothOrPlain) {
  EXPECT_EQ(PreviewSize(400, 100, 800, 600, 50), (TPreviewSize{400, 100}));
  EXPECT_EQ(PreviewSize(100, 400, 800, 600, 50), (TPreviewSize{75, 300}));
  EXPECT_EQ(PreviewSize(10, 10, 3, 3, 50), (TPreviewSize{2, 2}));  // 1.5 -> 2 and 2.5 -> 2: halves to even
  EXPECT_EQ(PreviewSize(100, 100, 800, 600, 100000), (TPreviewSize{600, 600}));  // bounded to 100 percent
  EXPECT_EQ(PreviewSize(300, 200, 1000, 200, 50), (TPreviewSize{150, 100}));  // a wide, low panel: its height decides
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
