#include "render/ShadeRamp.h"

#include <gtest/gtest.h>

namespace qz {
namespace {

TEST(ShadeRamp, SplitsOutsideTheRampAreBoundedAndTheLightTints) {
  // Splits from files: 0 starts at the middle colour; out of range is bounded where it
  // is used and kept as read in the design.
  TSideParams side;
  side.DColor = RGBToColor(10, 20, 30);
  side.MColor = RGBToColor(100, 110, 120);
  side.BColor = RGBToColor(200, 210, 220);
  const TColor white = RGBToColor(255, 255, 255);
  side.ColSplit = 0;
  TPalette ramp = MakeShadeRamp(side, white);
  EXPECT_EQ(ramp[0], ColorToPixel(side.MColor));
  EXPECT_EQ(ramp[255], ColorToPixel(side.BColor));
  side.ColSplit = 100000;
  EXPECT_EQ(MakeShadeRamp(side, white)[255], ColorToPixel(side.MColor));
  side.ColSplit = -7;
  EXPECT_EQ(MakeShadeRamp(side, white)[0], ColorToPixel(side.MColor));
  // Entries between run straight from one colour to the next, rounded half to even
  // (10 + 90 * 51 / 102 = 55), and a light of half strength halves every channel
  // (truncating: 255 * 128 / 255 = 128, 200 * 128 / 255 = 100.39).
  side.ColSplit = 102;
  ramp = MakeShadeRamp(side, white);
  EXPECT_EQ(ramp[51], RGBToPixel(55, 65, 75));
  ramp = MakeShadeRamp(side, RGBToColor(128, 255, 0));
  EXPECT_EQ(ramp[255], RGBToPixel(100, 210, 0));
}

}  // namespace
}  // namespace qz
