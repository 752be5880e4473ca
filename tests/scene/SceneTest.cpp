#include "scene/Scene.h"

#include <gtest/gtest.h>

#include <cmath>

namespace qz {
namespace {

TEST(Scene, FreshSceneDerivedValues) {
  TScene s;
  EXPECT_EQ(s.Render.Y, 1500.0f);
  EXPECT_EQ(s.Message.ColSplit, 204);
  EXPECT_EQ(s.Button.ColSplit, 204);
  EXPECT_NEAR(s.Light.X, 0.2593, 1e-4);
  EXPECT_NEAR(s.Light.Y, 0.1417, 1e-4);
  EXPECT_NEAR(s.Light.Z, -0.9553, 1e-4);
  EXPECT_NEAR(s.Light.A, 1.0, 1e-6);
  EXPECT_EQ(s.ButShadowX, 16);
  EXPECT_EQ(s.ButShadowY, 28);
  EXPECT_EQ(s.TxtShadowX, 5);
  EXPECT_EQ(s.TxtShadowY, 9);
  EXPECT_EQ(s.Image.Width(), 64);
  EXPECT_EQ(s.Image.Height(), 16);
  EXPECT_EQ(s.LetterCount, 0);
  EXPECT_EQ(s.TextMinX, 65535);
  EXPECT_EQ(s.TextMaxY, -65535);
}

TEST(Scene, ShadowAnglesAreClampedButTheLightVectorIsNot) {
  TScene s;
  s.SetLightAngles(0.0f, 3.14159265f);
  const int bx = s.ButShadowX, by = s.ButShadowY, tx = s.TxtShadowX, ty = s.TxtShadowY;
  EXPECT_NEAR(s.Light.X, 0.0, 1e-6);     // sin(pi) ~ 0: the unclamped angle
  EXPECT_NEAR(s.Light.Z, 1.0, 1e-6);     // -cos(pi)
  s.SetLightAngles(0.31415927f, 2.8274333f);
  EXPECT_EQ(s.ButShadowX, bx);
  EXPECT_EQ(s.ButShadowY, by);
  EXPECT_EQ(s.TxtShadowX, tx);
  EXPECT_EQ(s.TxtShadowY, ty);
  EXPECT_LT(by, 0);  // light from below: shadow falls upward

  s.Message.Altitude = 0;
  s.SetLightAngles(0.5f, 0.3f);
  EXPECT_EQ(s.TxtShadowX, 0);
  EXPECT_EQ(s.TxtShadowY, 0);
  EXPECT_EQ(s.ButShadowX, 16);

  s.Render.Y = 0;  // a camera at the eye: no shadow instead of a division by zero
  s.SetLightAngles(0.5f, 0.3f);
  EXPECT_EQ(s.ButShadowX, 0);
}

TEST(Scene, RampEndsAndTheHalfToEvenExample) {
  TScene s;
  const auto& b = s.ButtonPalette;
  EXPECT_EQ(b[0], 0x000000u);
  EXPECT_EQ(b[204], RGBToPixel(255, 128, 128));  // the middle colour at the split
  EXPECT_EQ(b[255], RGBToPixel(255, 255, 255));
  EXPECT_EQ(b[102], RGBToPixel(128, 64, 64));    // 255 * 102 / 204 = 127.5 goes to 128
  EXPECT_EQ(s.TextPalette[204], RGBToPixel(255, 255, 128));

  s.Light.Color = 0;
  s.BuildRamp(0);
  for (uint32_t v : s.ButtonPalette) EXPECT_EQ(v, 0u);

  s.Light.Color = RGBToColor(255, 0, 128);  // each channel scaled by its own
  s.BuildRamp(1);
  EXPECT_EQ(s.TextPalette[255], RGBToPixel(255, 0, 128));
}

TEST(Scene, SplitsFromFilesStayInsideTheRamp) {
  TScene s;
  s.SetColors(RGBToColor(10, 20, 30), RGBToColor(100, 110, 120), RGBToColor(200, 210, 220), 0, 0);
  // Split 0: entry 0 is the middle colour (the entry at the split), then up to bright.
  EXPECT_EQ(s.ButtonPalette[0], RGBToPixel(100, 110, 120));
  EXPECT_EQ(s.ButtonPalette[255], RGBToPixel(200, 210, 220));
  s.SetColors(RGBToColor(10, 20, 30), RGBToColor(100, 110, 120), RGBToColor(200, 210, 220), 255, 0);
  EXPECT_EQ(s.ButtonPalette[255], RGBToPixel(100, 110, 120));
  // Out of range: bounded where it is used, kept as read in the design.
  s.SetColors(RGBToColor(10, 20, 30), RGBToColor(100, 110, 120), RGBToColor(200, 210, 220), 100000, 0);
  EXPECT_EQ(s.Button.ColSplit, 100000);
  EXPECT_EQ(s.ButtonPalette[255], RGBToPixel(100, 110, 120));
  s.SetColors(RGBToColor(10, 20, 30), RGBToColor(100, 110, 120), RGBToColor(200, 210, 220), -7, 1);
  EXPECT_EQ(s.TextPalette[0], RGBToPixel(100, 110, 120));
}

TEST(Scene, LettersAreBoundedAndClearedAndBlanksCounted) {
  TScene s;
  for (int i = 0; i < 40; ++i) s.AddLetter();
  EXPECT_EQ(s.LetterCount, 33);
  TPoint pts[] = {{1, 2}, {5, -3}, {1, 2}};
  for (int i = 0; i < 10; ++i) s.Letter(33).AddContour(pts, 3);
  EXPECT_EQ(s.Letter(33).ContourCount, 8);
  s.Letter(33).UpdateBounds();
  EXPECT_EQ(s.Letter(33).Left, 1);
  EXPECT_EQ(s.Letter(33).Right, 5);
  EXPECT_EQ(s.Letter(33).Top, 2);
  EXPECT_EQ(s.Letter(33).Bottom, -3);
  s.TextMinX = 3;
  s.ClearLetters();
  EXPECT_EQ(s.LetterCount, 0);
  EXPECT_EQ(s.TextMinX, 65535);

  EXPECT_EQ(TScene::CountNonBlank(""), 0);
  EXPECT_EQ(TScene::CountNonBlank("   "), 0);
  EXPECT_EQ(TScene::CountNonBlank(" a b "), 2);
}

TEST(Scene, AnEmptyLetterKeepsItsBox) {
  TLetter l;
  l.Left = 7;
  l.UpdateBounds();
  EXPECT_EQ(l.Left, 7);
  l.AddContour(nullptr, 0);
  l.UpdateBounds();
  EXPECT_EQ(l.Left, 7);
}

}  // namespace
}  // namespace qz
