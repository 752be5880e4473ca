#include <gtest/gtest.h>

#include "render/RenderKit.h"

namespace qz {
namespace {

using test::V;

// A horizontal face below the eye (seen from above, its outside up), one above the eye
// (seen from below, its outside down), one turned away with vertices of its own, and a
// cap face. Light straight down.
struct TLitBody {
  TBody body;
  TRenderParams params;
  TLitBody() {
    body.Camera.Render.Y = 1500;
    body.AddFace(V(-100, 200, -100), V(-100, 0, -100), V(100, 0, -100), V(100, 200, -100));  // floor
    body.AddFace(V(-100, 0, 100), V(-100, 200, 100), V(100, 200, 100), V(100, 0, 100));      // ceiling
    body.AddFace(V(300, 0, 300), V(400, 0, 300), V(400, 0, 200), V(300, 0, 200));            // turned away
    test::AddFrontQuad(body, -50, -50, 50, 50, -10);
    params.Light = {0.0f, 0.0f, -1.0f, 1.0f, 0xFFFFFF};
  }
  // The levels of the floor, the ceiling, the cap, and the lonely vertex of the face turned away.
  std::vector<int> Levels(int lo, int hi) {
    params.LoBright = lo;
    params.HiBright = hi;
    body.Prepare(params);
    return {body.Face(1).Level, body.Face(2).Level, body.Face(4).Level, body.Vertex(body.Face(3).V2).Level};
  }
};

TEST(Lighting, LevelRangeHiBrightFirstThenLoBrightBoundedToThePalette) {
  TLitBody t;
  EXPECT_EQ(t.Levels(100, 100), (std::vector<int>{100, 100, 100, 100}));
  EXPECT_EQ(t.Levels(150, 120), (std::vector<int>{150, 150, 150, 120}));  // crossed: LoBright prevails (but unlit)
  // Values from a file outside 0..255 are bounded where they become levels.
  EXPECT_EQ(t.Levels(300, 400), (std::vector<int>{255, 255, 255, 255}));
  EXPECT_EQ(t.Levels(-40, -20), (std::vector<int>{0, 0, 0, 0}));
}

TEST(Shadows, HalvingKeepsTheFourthByteAndShadowsLandInsideTheBitmap) {
  uint32_t px[3] = {0xAB3366FFu, 0x00FFFFFFu, 0x01010101u};
  TZBuffer::HalveSpan(0, 2, px);
  EXPECT_EQ(std::vector<uint32_t>(px, px + 3), (std::vector<uint32_t>{0xAB19337Fu, 0x007F7F7Fu, 0x01000000u}));
  TZBuffer zb;
  zb.SetSize(6, 10);
  zb.InsertSpan(1, 2, 4, 0, 0, 1.0f);
  zb.InsertSpan(5, 6, 8, 0, 0, 1.0f);
  const uint32_t full = 0x00C8C8C8, half = 0x00646464;
  TBitmap img(10, 6);
  img.Fill(full);
  zb.ShadowSpans(img, -20, 0, false);  // far left: both ends limited to column 0
  EXPECT_EQ(img.Pixel(0, 1), half);
  EXPECT_EQ(img.Pixel(1, 1), full);
  img.Fill(full);
  zb.ShadowSpans(img, 1, 3, false);
  EXPECT_EQ(img.Pixel(9, 5), half);  // row 5 + 3 lands on the last row; column 9 = 8 + 1

  zb.SetSize(4, 20);
  zb.InsertSpan(1, 2, 4, 0, 0, 1.0f);
  zb.InsertSpan(1, 10, 12, 0, 0, 1.0f);
  zb.InsertSpan(2, 5, 6, 0, 0, 5.0f);
  zb.InsertSpan(2, 0, 19, 0, 0, 1.0f);  // kills 5..6: only live spans count
  // Only live spans cast: the gap between two spans of a row stays clear, as it must
  // between the spikes of a shape.
  TBitmap rows(23, 6);
  zb.ShadowSpans(rows, 3, 2, true);
  for (int x = 0; x < 23; ++x) {
    EXPECT_EQ(rows.Pixel(x, 3), (x >= 5 && x <= 7) || (x >= 13 && x <= 15) ? MaskWhite : 0u) << x;
    EXPECT_EQ(rows.Pixel(x, 4), x >= 3 && x <= 22 ? MaskWhite : 0u) << x;
  }
}

}  // namespace
}  // namespace qz
