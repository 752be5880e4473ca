// Draws flattened glyph outlines and a button outline into a picture to look at
// (build/test-output/outlines.png), and checks what the eye would check.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "geometry/ButtonOutline.h"
#include "geometry/GlyphOutline.h"
#include "geometry/LetterLayout.h"
#include "platform/FontEngine.h"
#include "platform/PngFile.h"

namespace qz {
namespace {

// Plane coordinates (y up, origin in the middle) to pixels, scaled down by 2.
struct TCanvas {
  TBitmap image{1000, 560};
  void Line(TPoint a, TPoint b, uint32_t colour) {
    int x0 = image.Width() / 2 + a.x / 2, y0 = image.Height() / 2 - a.y / 2;
    const int x1 = image.Width() / 2 + b.x / 2, y1 = image.Height() / 2 - b.y / 2;
    const int dx = std::abs(x1 - x0), dy = -std::abs(y1 - y0);
    const int sx = x0 < x1 ? 1 : -1, sy = y0 < y1 ? 1 : -1;
    int err = dx + dy;
    for (;;) {
      if (x0 >= 0 && y0 >= 0 && x0 < image.Width() && y0 < image.Height()) image.SetPixel(x0, y0, colour);
      if (x0 == x1 && y0 == y1) break;
      const int e2 = 2 * err;
      if (e2 >= dy) err += dy, x0 += sx;
      if (e2 <= dx) err += dx, y0 += sy;
    }
  }
  void Polyline(const TPoint* pts, int count, uint32_t colour) {
    for (int i = 0; i + 1 < count; ++i) Line(pts[i], pts[i + 1], colour);
  }
  int Count(uint32_t colour) const {
    int n = 0;
    for (int y = 0; y < image.Height(); ++y)
      for (int x = 0; x < image.Width(); ++x) n += image.Pixel(x, y) == colour;
    return n;
  }
};

TEST(OutlinePicture, WordAndRoundedButton) {
  TScene scene;
  scene.SplPnt = 3;  // " Complex"
  scene.ClearLetters();
  scene.PenX = 0;
  TFontEngine fonts;
  fonts.SelectFont({"Arial", 512, false, false, 0});
  for (char c : std::string("Qo&")) GetFontOutline(scene, fonts, static_cast<uint8_t>(c));
  ASSERT_EQ(scene.LetterCount, 3);
  NormalizeCoordinates(scene);

  constexpr uint32_t Ink = RGBToPixel(0, 0, 160), Plate = RGBToPixel(200, 0, 0);
  TCanvas canvas;
  canvas.image.Fill(RGBToPixel(255, 255, 255));
  for (int i = 1; i <= scene.LetterCount; ++i) {
    const TLetter& l = scene.Letter(i);
    EXPECT_GE(l.ContourCount, 2) << i;  // Q, o and & all have a counter
    for (int c = 1; c <= l.ContourCount; ++c) {
      const auto& contour = l.Contour(c);
      EXPECT_EQ(contour.Points.front(), contour.Points.back());
      canvas.Polyline(contour.Points.data(), contour.PtCount, Ink);
    }
  }
  // The rounded button around the centred message with the default margins.
  const TButtonRect R{scene.Letter(1).Left - scene.GutLeft, scene.Letter(1).Top + scene.GutTop,
                      scene.Letter(3).Right + scene.GutRight, scene.Letter(1).Bottom - scene.GutBottom};
  scene.PtCount = 0;
  MakeBuiltInOutline(2, R, scene.SplPnt, scene.Pts, scene.PtCount);
  EXPECT_EQ(scene.PtCount, 4 * 7 + 9);
  canvas.Polyline(&scene.Pts[1], scene.PtCount, Plate);

  std::filesystem::create_directories(QZ_TEST_OUTPUT_DIR);
  WritePng(std::string(QZ_TEST_OUTPUT_DIR) + "/outlines.png", canvas.image);
  // Outlines of three 683-pixel letters at half size: some thousands of pixels.
  EXPECT_GT(canvas.Count(Ink), 1500);
  EXPECT_GT(canvas.Count(Plate), 1000);
}

}  // namespace
}  // namespace qz
