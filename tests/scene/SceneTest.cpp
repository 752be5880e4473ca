#include "scene/Scene.h"

#include <gtest/gtest.h>

#include "scene/ExportSize.h"

namespace qz {
namespace {

struct TShadows {
  int bx, by, tx, ty;
  bool operator==(const TShadows&) const = default;
};
TShadows Shadows(const TScene& s) { return {s.ButShadowX, s.ButShadowY, s.TxtShadowX, s.TxtShadowY}; }

TEST(Scene, ShadowAnglesAreClampedAndAZeroCameraCastsNoShadow) {
  TScene s;
  s.SetLightAngles(0.0f, 3.14159265f);
  const TShadows clamped = Shadows(s);
  EXPECT_NEAR(s.Light.X, 0.0, 1e-6);
  EXPECT_NEAR(s.Light.Z, 1.0, 1e-6);
  EXPECT_LT(clamped.by, 0);  // light from below: shadow falls upward
  s.SetLightAngles(0.31415927f, 2.8274333f);
  EXPECT_EQ(Shadows(s), clamped);

  s.Message.Altitude = 0;
  s.SetLightAngles(0.5f, 0.3f);
  EXPECT_EQ(Shadows(s), (TShadows{16, 28, 0, 0}));
  s.Render.Y = 0;  // a camera at the eye: no shadow instead of a division by zero
  s.SetLightAngles(0.5f, 0.3f);
  EXPECT_EQ(s.ButShadowX, 0);
}

TEST(Scene, RampSplitsOutsideThePaletteAreBoundedWhereUsed) {
  TScene s;
  // Splits from files: 0 starts at the middle colour; out of range is bounded where it
  // is used and kept as read in the design.
  const TColor dark = RGBToColor(10, 20, 30), mid = RGBToColor(100, 110, 120), bright = RGBToColor(200, 210, 220);
  s.SetColors(dark, mid, bright, 0, 0);
  EXPECT_EQ(s.ButtonPalette[0], ColorToPixel(mid));
  EXPECT_EQ(s.ButtonPalette[255], ColorToPixel(bright));
  s.SetColors(dark, mid, bright, 100000, 0);
  EXPECT_EQ(s.Button.ColSplit, 100000);
  EXPECT_EQ(s.ButtonPalette[255], ColorToPixel(mid));
  s.SetColors(dark, mid, bright, -7, 1);
  EXPECT_EQ(s.TextPalette[0], ColorToPixel(mid));
}

TEST(Scene, LettersAreBoundedAndClearedAndBlanksCounted) {
  TScene s;
  for (int i = 0; i < 40; ++i) s.AddLetter();
  EXPECT_EQ(s.LetterCount, 33);
  TLetter& last = s.Letter(33);
  last.Left = 7;
  last.AddContour(nullptr, 0);
  last.UpdateBounds();  // without points the box stays
  EXPECT_EQ(last.Left, 7);
  const TPoint pts[] = {{1, 2}, {5, -3}, {1, 2}};
  for (int i = 0; i < 10; ++i) last.AddContour(pts, 3);
  EXPECT_EQ(last.ContourCount, 8);
  last.UpdateBounds();
  EXPECT_EQ((std::vector<int>{last.Left, last.Top, last.Right, last.Bottom}), (std::vector<int>{1, 2, 5, -3}));
  s.TextMinX = 3;
  s.ClearLetters();
  EXPECT_EQ(s.LetterCount, 0);
  EXPECT_EQ(s.TextMinX, 65535);
  EXPECT_EQ(TScene::CountNonBlank("   "), 0);
  EXPECT_EQ(TScene::CountNonBlank(" a b "), 2);
}

TEST(ExportSize, LongImagesGetWidth160OthersHeight40) {
  EXPECT_EQ(FitExportSize(400, 100), (TExportSize{160, 40}));  // exactly 4: width wins
  EXPECT_EQ(FitExportSize(64, 16), (TExportSize{160, 40}));
  EXPECT_EQ(FitExportSize(90, 80), (TExportSize{45, 40}));
  EXPECT_EQ(FitExportSize(1280, 100), (TExportSize{160, 12}));  // 12.5 -> 12, halves to even
  EXPECT_EQ(FitExportSize(0, 10), (TExportSize{160, 40}));
}

}  // namespace
}  // namespace qz
