#include <gtest/gtest.h>

#include "scene/Scene.h"

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
}

}  // namespace
}  // namespace qz
