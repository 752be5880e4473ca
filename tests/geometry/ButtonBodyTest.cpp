#include "geometry/ButtonBody.h"

#include <gtest/gtest.h>

#include <set>

#include "geometry/LetterLayout.h"
#include "support/TempDir.h"

namespace qz {
namespace {

// Builds the button of `scene` round one letter body spanning x -70..70, z -60..60
// (a square of half-size 50 with its bevel), with margins of 10 all round.
const TBody& BuildButton(TScene& scene) {
  scene.GutLeft = scene.GutRight = scene.GutTop = scene.GutBottom = 10;
  scene.ClearLetters();
  scene.AddLetter();
  const TPoint square[] = {{-50, 50}, {50, 50}, {50, -50}, {-50, -50}, {-50, 50}};
  scene.Letter(1).AddContour(square, 5);
  scene.Letter(1).UpdateBounds();
  TransformLetters(scene);
  MakeButtonOutline(scene);
  MakeButtonBody(scene);
  return scene.View.Body(2);
}

std::set<int32_t> Depths(const TBody& body) {
  std::set<int32_t> d;
  for (int v = 1; v <= body.VertexCount(); ++v) d.insert(body.Vertex(v).Y);
  return d;
}

TEST(ButtonBody, RectangleOutlineAndItsSeventeenFaces) {
  TScene scene;
  scene.Type = 1;
  const TBody& body = BuildButton(scene);
  // The letters' extent plus margins plus one.
  EXPECT_EQ((std::vector<int>{scene.ButLeft, scene.ButTop, scene.ButRight, scene.ButBottom}), (std::vector<int>{-81, 71, 81, -71}));
  ASSERT_EQ(scene.PtCount, 5);
  EXPECT_EQ(scene.Pts[1], (TPoint{-81, 71}));
  EXPECT_EQ(scene.Pts[5], scene.Pts[1]);
  ASSERT_EQ(scene.View.BodyCount(), 2);
  EXPECT_EQ(body.ContourCount(), 1);
  EXPECT_EQ(body.FaceCount(), 4 * 4 + 1);  // wall, bevel, ring, skirt per edge; plane quad
  // ButY 0: cap, wall top and ring all at 0; the skirt reaches back to 4 ButW.
  EXPECT_EQ(Depths(body), (std::set<int32_t>{0, 80}));
  // The plane quad spans the extent plus the margins, without the extra unit.
  const TFace& cap = body.Face(body.FaceCount());
  EXPECT_EQ(body.Vertex(cap.V1).X, -80);
  EXPECT_EQ(body.Vertex(cap.V1).Z, 70);
  EXPECT_EQ(body.Vertex(cap.V3).X, 80);
  // The skirt's foot lies 8 ButW outside the outline (twice that along x).
  EXPECT_EQ(scene.View.ModelExtents().Left, -81 - 2 * 160);
  EXPECT_EQ(scene.View.ModelExtents().Top, 71 + 160);
}

TEST(ButtonBody, ExtrudedButtonDepthsAndRoundShapes) {
  TScene scene;
  scene.Type = 6;  // ellipse, 41 points with SplPnt 2
  scene.ButY = -50;
  scene.ButW = 20;
  const TBody& body = BuildButton(scene);
  ASSERT_EQ(scene.PtCount, 41);
  EXPECT_EQ(body.FaceCount(), 4 * 40 + 1);
  // Cap at 50, wall top at 20 * 50 / 100 = 10, ring at 0, skirt to 80.
  EXPECT_EQ(Depths(body), (std::set<int32_t>{50, 10, 0, 80}));
  EXPECT_EQ(body.Vertex(body.Face(body.FaceCount()).V1).Y, 50);
  TScene rounded;  // a rounded rectangle with SplPnt 2: 29 points, 28 distinct
  rounded.Type = 2;
  EXPECT_EQ(BuildButton(rounded).FaceCount(), 4 * 28 + 1);
}

TEST(ButtonBody, HeldSizeIgnoresTheTextAndIsNotOverwritten) {
  TScene scene;
  scene.Type = 1;
  scene.HoldButtonSize = true;
  scene.ButLeft = -300, scene.ButTop = 20, scene.ButRight = 300, scene.ButBottom = -20;
  BuildButton(scene);
  EXPECT_EQ(scene.Pts[1], (TPoint{-300, 20}));
  EXPECT_EQ(scene.Pts[3], (TPoint{300, -20}));
  EXPECT_EQ(scene.ButLeft, -300);
}

TEST(ButtonBody, EmptyOutlinesGiveOnlyThePlaneQuad) {
  for (int type : {16, 8, 9, 100}) {  // 8 and 16 without a ShapeName; 9 and 100 no shape at all
    TScene scene;
    scene.Type = type;
    const TBody& body = BuildButton(scene);
    EXPECT_EQ(scene.PtCount, 0) << type;
    EXPECT_EQ(body.FaceCount(), 1) << type;
    EXPECT_EQ(body.ContourCount(), 0) << type;
  }
}

TEST(ButtonBody, ShapeFilesAreFoundInTheShapesFolderAndKeptWhenMissing) {
  test::TTempDir dir;
  std::filesystem::create_directories(dir.File("BShapes"));
  TButShape diamond;  // frame 0 wide: every coordinate keeps its edge distance
  diamond.PointCount = 4;
  diamond.Points[1] = {1, -10, 0}, diamond.Points[2] = {1, 0, 10}, diamond.Points[3] = {1, 10, 0}, diamond.Points[4] = {1, 0, -10};
  diamond.SaveToFile(dir.File("BShapes/Diamond.qzkh"));
  TScene scene;
  scene.ProgramDir = dir.Path();
  scene.Type = 16;
  // Another case, and a path written on Windows, both find the file by its name; a
  // name that is not there keeps the shape of the last build.
  for (const char* name : {"DIAMOND.QZKH", "C:\\Program Files\\Buttons\\BShapes\\diamond.qzkh", "gone.qzkh"}) {
    EXPECT_EQ(FindShapeFile(dir.Path(), name).has_value(), name[0] != 'g') << name;
    scene.ShapeName = name;
    BuildButton(scene);
    EXPECT_EQ(scene.PtCount, 5) << name;
    EXPECT_EQ(scene.Shape.PointCount, 4);
  }
  EXPECT_FALSE(FindShapeFile(dir.Path(), "").has_value());
}

}  // namespace
}  // namespace qz
