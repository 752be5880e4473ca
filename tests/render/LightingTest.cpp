#include <gtest/gtest.h>

#include "render/RenderKit.h"

namespace qz {
namespace {

using test::V;

// A horizontal face below the eye (seen from above, its outside up) and one above
// the eye (seen from below, its outside down); then a cap face. Light straight down.
struct TLitBody {
  TBody body;
  TRenderParams params;
  TLitBody() {
    body.Camera.Render.Y = 1500;
    body.AddFace(V(-100, 200, -100), V(-100, 0, -100), V(100, 0, -100), V(100, 200, -100));  // floor
    body.AddFace(V(-100, 0, 100), V(-100, 200, 100), V(100, 200, 100), V(100, 0, 100));      // ceiling
    // Turned away from the viewer, with vertices of its own.
    body.AddFace(V(300, 0, 300), V(400, 0, 300), V(400, 0, 200), V(300, 0, 200));
    test::AddFrontQuad(body, -50, -50, 50, 50, -10);  // cap face
    params.Light = {0.0f, 0.0f, -1.0f, 1.0f, 0xFFFFFF};
  }
};

TEST(Lighting, FacesAlongAndAgainstTheLight) {
  TLitBody t;
  t.body.Prepare(t.params);
  ASSERT_EQ(t.body.Face(1).Visible, 1);
  ASSERT_EQ(t.body.Face(2).Visible, 1);
  EXPECT_EQ(t.body.Face(3).Visible, 0);
  EXPECT_EQ(t.body.Face(1).Level, 254);  // its outside faces the light: the normal into it points along
  EXPECT_EQ(t.body.Face(2).Level, 0);
  EXPECT_EQ(t.body.Face(4).Level, 127);  // the cap: at right angles to the light
  // A vertex of the floor alone takes the floor's level.
  EXPECT_EQ(t.body.Vertex(t.body.Face(1).V1).Level, 254);
  EXPECT_EQ(t.body.Vertex(t.body.Face(2).V2).Level, 0);
  // A face turned away keeps the level it had and gives its vertices no normal.
  EXPECT_EQ(t.body.Face(3).Level, 0);
  const int lonely = t.body.Face(3).V2;
  EXPECT_EQ(t.body.Vertex(lonely).NX, 0.0f);
  EXPECT_EQ(t.body.Vertex(lonely).Level, 255);  // HiBright
  t.params.HiBright = 200;
  t.body.Prepare(t.params);
  EXPECT_EQ(t.body.Vertex(lonely).Level, 200);
  EXPECT_EQ(t.body.Face(1).Level, 200);
}

TEST(Lighting, LevelRangeHiBrightFirstThenLoBrightThenThePalette) {
  TLitBody t;
  t.params.LoBright = t.params.HiBright = 100;
  t.body.Prepare(t.params);
  for (int f = 1; f <= 4; ++f)
    if (t.body.Face(f).Visible) {
      EXPECT_EQ(t.body.Face(f).Level, 100) << "face " << f;
    }
  for (int v = 1; v <= t.body.VertexCount(); ++v) EXPECT_EQ(t.body.Vertex(v).Level, 100) << "vertex " << v;

  t.params.LoBright = 150;  // crossed: LoBright prevails
  t.params.HiBright = 120;
  t.body.Prepare(t.params);
  EXPECT_EQ(t.body.Face(1).Level, 150);
  EXPECT_EQ(t.body.Face(2).Level, 150);

  // Values from a file outside 0..255 are bounded where they become levels.
  t.params.LoBright = 300;
  t.params.HiBright = 400;
  t.body.Prepare(t.params);
  EXPECT_EQ(t.body.Face(2).Level, 255);
  EXPECT_EQ(t.body.Vertex(t.body.Face(3).V2).Level, 255);
  t.params.LoBright = -40;
  t.params.HiBright = -20;
  t.body.Prepare(t.params);
  EXPECT_EQ(t.body.Face(1).Level, 0);
  EXPECT_EQ(t.body.Vertex(t.body.Face(3).V2).Level, 0);
}

TEST(Shadows, HalveSpanKeepsTheFourthByte) {
  uint32_t px[3] = {0xAB3366FFu, 0x00FFFFFFu, 0x01010101u};
  TZBuffer::HalveSpan(0, 2, px);
  EXPECT_EQ(px[0], 0xAB19337Fu);
  EXPECT_EQ(px[1], 0x007F7F7Fu);
  EXPECT_EQ(px[2], 0x01000000u);
}

TEST(Shadows, ShadowSpansLandOnTheEdgesOfTheImage) {
  TZBuffer zb;
  zb.SetSize(6, 10);
  zb.InsertSpan(1, 2, 4, 0, 0, 1.0f);
  zb.InsertSpan(5, 6, 8, 0, 0, 1.0f);
  TBitmap img(10, 6);
  img.Fill(0x00C8C8C8);
  const uint32_t half = 0x00646464, full = 0x00C8C8C8;
  // Far left: both ends limited to column 0; far down: the last row.
  zb.ShadowSpans(img, -20, 0, false);
  EXPECT_EQ(img.Pixel(0, 1), half);
  EXPECT_EQ(img.Pixel(1, 1), full);
  EXPECT_EQ(img.Pixel(0, 5), half);
  img.Fill(full);
  zb.ShadowSpans(img, 1, 3, false);
  EXPECT_EQ(img.Pixel(3, 4), half);   // row 1 + 3, columns 3..5
  EXPECT_EQ(img.Pixel(5, 4), half);
  EXPECT_EQ(img.Pixel(6, 4), full);
  EXPECT_EQ(img.Pixel(2, 4), full);
  EXPECT_EQ(img.Pixel(7, 5), half);   // row 5 + 3 lands on row 5
  EXPECT_EQ(img.Pixel(9, 5), half);   // column 9 = 8 + 1
  TBitmap mask(10, 6);
  zb.ShadowSpans(mask, 1, 3, true);
  EXPECT_EQ(mask.Pixel(4, 4), MaskWhite);
  EXPECT_EQ(mask.Pixel(2, 4), 0u);
}

TEST(Shadows, ShadowRowsCoverEachRowFromItsFirstToItsLastLiveColumn) {
  TZBuffer zb;
  zb.SetSize(4, 20);
  zb.InsertSpan(1, 2, 4, 0, 0, 1.0f);
  zb.InsertSpan(1, 10, 12, 0, 0, 1.0f);
  zb.InsertSpan(2, 5, 6, 0, 0, 5.0f);
  zb.InsertSpan(2, 0, 19, 0, 0, 1.0f);  // kills 5..6; only live spans count
  TBitmap mask(23, 6);
  zb.ShadowRows(mask, 3, 2, true);
  for (int x = 0; x < 23; ++x) {
    EXPECT_EQ(mask.Pixel(x, 3), x >= 5 && x <= 15 ? MaskWhite : 0u) << x;  // the gap 5..9 too
    EXPECT_EQ(mask.Pixel(x, 4), x >= 3 && x <= 22 ? MaskWhite : 0u) << x;
  }
  // A bitmap too small for the shift is not written outside: rows beyond it are
  // skipped and columns cut at its edge.
  TBitmap small(8, 4);
  zb.ShadowRows(small, 3, 2, true);
  EXPECT_EQ(small.Pixel(4, 3), 0u);
  EXPECT_EQ(small.Pixel(5, 3), MaskWhite);
  EXPECT_EQ(small.Pixel(7, 3), MaskWhite);
  TBitmap tiny(2, 2);
  zb.ShadowRows(tiny, -30, -30, false);
  zb.ShadowRows(tiny, 30, 30, false);
  EXPECT_EQ(tiny, TBitmap(2, 2));
}

}  // namespace
}  // namespace qz
