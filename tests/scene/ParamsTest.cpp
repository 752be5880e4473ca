#include "scene/Params.h"

#include <gtest/gtest.h>

#include "scene/Letters.h"
#include "scene/MessageText.h"

namespace qz {
namespace {

struct TShadows {
  int bx, by, tx, ty;
  bool operator==(const TShadows&) const = default;
};
TShadows Shadows(const TParams& s) { return {s.ButShadowX, s.ButShadowY, s.TxtShadowX, s.TxtShadowY}; }

TEST(Params, ShadowAnglesAreClampedAndAZeroCameraCastsNoShadow) {
  TParams s;
  // A new design's light and shadows already follow its default angles.
  EXPECT_EQ(Shadows(s), (TShadows{16, 28, 5, 9}));
  EXPECT_NEAR(s.Light.Z, -0.955336, 1e-6);
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

TEST(Letters, LettersAreBoundedAndClearedAndBlanksCounted) {
  TLetters s;
  for (int i = 0; i < TLetters::MaxLetters + 7; ++i) s.Add();
  EXPECT_EQ(s.Count(), MaxMessageGlyphs + 1);
  EXPECT_TRUE(s.Full());
  TLetter& last = s[MaxMessageGlyphs + 1];
  last.Left = 7;
  last.AddContour(nullptr, 0);
  last.UpdateBounds();  // without points the box stays
  EXPECT_EQ(last.Left, 7);
  const TPoint pts[] = {{1, 2}, {5, -3}, {1, 2}};
  for (int i = 0; i < 10; ++i) last.AddContour(pts, 3);
  EXPECT_EQ(last.ContourCount, 8);
  last.UpdateBounds();
  EXPECT_EQ((std::vector<int>{last.Left, last.Top, last.Right, last.Bottom}), (std::vector<int>{1, 2, 5, -3}));
  s.Widen(3, -4);
  s.Widen(-2, 9);
  EXPECT_EQ((std::vector<int>{s.TextMinX, s.TextMaxX, s.TextMinY, s.TextMaxY}), (std::vector<int>{-2, 3, -4, 9}));
  s.Clear();
  EXPECT_EQ(s.Count(), 0);
  EXPECT_EQ(s.TextMinX, 65535);
  EXPECT_EQ(CountNonBlank("   "), 0);
  EXPECT_EQ(CountNonBlank(" a b "), 2);
}

}  // namespace
}  // namespace qz
