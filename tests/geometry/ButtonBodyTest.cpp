#include <gtest/gtest.h>

#include <set>
#include <stdexcept>

#include "geometry/ButtonBody.h"
#include "geometry/LetterLayout.h"
#include "support/TempDir.h"

namespace qz {
namespace {

// A scene whose only letter body spans x -70..70, z -60..60 (a square of half-size
// 50 with its bevel), with margins of 10 all round.
void PrepareLetters(TScene& scene) {
  scene.GutLeft = scene.GutRight = scene.GutTop = scene.GutBottom = 10;
  scene.AddLetter();
  const TPoint square[] = {{-50, 50}, {50, 50}, {50, -50}, {-50, -50}, {-50, 50}};
  scene.Letter(1).AddContour(square, 5);
  scene.Letter(1).UpdateBounds();
  TransformLetters(scene);
}

std::set<int32_t> Depths(const TBody& body) {
  std::set<int32_t> d;
  for (int v = 1; v <= body.VertexCount(); ++v) d.insert(body.Vertex(v).Y);
  return d;
}

TEST(ButtonBody, RectangleOutlineAndItsSeventeenFaces) {
  TScene scene;
  scene.Type = 1;
  PrepareLetters(scene);
  MakeButtonOutline(scene);
  // The letters' extent plus margins plus one.
  EXPECT_EQ(scene.ButLeft, -81);
  EXPECT_EQ(scene.ButTop, 71);
  EXPECT_EQ(scene.ButRight, 81);
  EXPECT_EQ(scene.ButBottom, -71);
  ASSERT_EQ(scene.PtCount, 5);
  EXPECT_EQ(scene.Pts[1], (TPoint{-81, 71}));
  EXPECT_EQ(scene.Pts[5], scene.Pts[1]);

  MakeButtonBody(scene);
  ASSERT_EQ(scene.View.BodyCount(), 2);
  const TBody& body = scene.View.Body(2);
  EXPECT_EQ(body.ContourCount(), 1);
  EXPECT_EQ(body.FaceCount(), 4 * 4 + 1);  // wall, bevel, ring, skirt per edge; plane quad
  // ButY 0: cap, wall top and ring all at 0; the skirt reaches back to 4 ButW.
  EXPECT_EQ(Depths(body), (std::set<int32_t>{0, 80}));
  // The plane quad spans the extent plus the margins, without the extra unit.
  const TFace& cap = body.Face(body.FaceCount());
  EXPECT_EQ(body.Vertex(cap.V1).X, -80);
  EXPECT_EQ(body.Vertex(cap.V1).Z, 70);
  EXPECT_EQ(body.Vertex(cap.V3).X, 80);
  EXPECT_EQ(body.Vertex(cap.V3).Z, -70);
  // The skirt's foot lies 8 ButW outside the outline (twice that along x).
  const TModelExtents e = scene.View.ModelExtents();
  EXPECT_EQ(e.Left, -81 - 2 * 160);
  EXPECT_EQ(e.Top, 71 + 160);
}

TEST(ButtonBody, ExtrudedButtonDepthsAndRoundShapes) {
  TScene scene;
  scene.Type = 6;  // ellipse, 41 points with SplPnt 2
  scene.ButY = -50;
  scene.ButW = 20;
  PrepareLetters(scene);
  MakeButtonOutline(scene);
  ASSERT_EQ(scene.PtCount, 41);
  MakeButtonBody(scene);
  const TBody& body = scene.View.Body(2);
  EXPECT_EQ(body.FaceCount(), 4 * 40 + 1);
  // Cap at 50, wall top at 20 * 50 / 100 = 10, ring at 0, skirt to 80.
  EXPECT_EQ(Depths(body), (std::set<int32_t>{50, 10, 0, 80}));
  EXPECT_EQ(body.Vertex(body.Face(body.FaceCount()).V1).Y, 50);

  // A rounded rectangle with SplPnt 2: 29 points, 28 distinct.
  TScene rounded;
  rounded.Type = 2;
  PrepareLetters(rounded);
  MakeButtonOutline(rounded);
  MakeButtonBody(rounded);
  EXPECT_EQ(rounded.View.Body(2).FaceCount(), 4 * 28 + 1);
}

TEST(ButtonBody, HeldSizeIgnoresTheTextAndIsNotOverwritten) {
  TScene scene;
  scene.Type = 1;
  scene.HoldButtonSize = true;
  scene.ButLeft = -300;
  scene.ButTop = 20;
  scene.ButRight = 300;
  scene.ButBottom = -20;
  PrepareLetters(scene);
  MakeButtonOutline(scene);
  EXPECT_EQ(scene.Pts[1], (TPoint{-300, 20}));
  EXPECT_EQ(scene.Pts[3], (TPoint{300, -20}));
  EXPECT_EQ(scene.ButLeft, -300);
  EXPECT_EQ(scene.ButTop, 20);
}

TEST(ButtonBody, EmptyOutlinesGiveOnlyThePlaneQuad) {
  for (int type : {16, 8, 9, 100}) {
    TScene scene;
    scene.Type = type;  // 8 and 16 with no ShapeName; 9 and 100 are no shape at all
    PrepareLetters(scene);
    MakeButtonOutline(scene);
    EXPECT_EQ(scene.PtCount, 0) << type;
    MakeButtonBody(scene);
    const TBody& body = scene.View.Body(2);
    EXPECT_EQ(body.FaceCount(), 1) << type;
    EXPECT_EQ(body.ContourCount(), 0) << type;
  }
}

// A diamond shape file, frame 0 wide so every coordinate keeps its edge distance.
void WriteDiamond(const std::string& path) {
  TButShape shape;
  shape.PointCount = 4;
  shape.Points[1] = {1, -10, 0};
  shape.Points[2] = {1, 0, 10};
  shape.Points[3] = {1, 10, 0};
  shape.Points[4] = {1, 0, -10};
  shape.SaveToFile(path);
}

TEST(ButtonBody, ShapeFilesAreFoundInTheShapesFolderAndKeptWhenMissing) {
  test::TTempDir dir;
  std::filesystem::create_directories(dir.File("BShapes"));
  WriteDiamond(dir.File("BShapes/Diamond.qzkh"));

  TScene scene;
  scene.ProgramDir = dir.Path();
  scene.Type = 16;
  // Another case, and a path written on Windows, both find the file by its name.
  for (const char* name : {"DIAMOND.QZKH", "C:\\Program Files\\Buttons\\BShapes\\diamond.qzkh"}) {
    EXPECT_TRUE(FindShapeFile(dir.Path(), name).has_value()) << name;
    scene.ShapeName = name;
    PrepareLetters(scene);
    MakeButtonOutline(scene);
    EXPECT_EQ(scene.PtCount, 5) << name;
    EXPECT_EQ(scene.Shape.PointCount, 4);
  }
  // A name that is not there keeps the shape of the last build.
  scene.ShapeName = "gone.qzkh";
  EXPECT_FALSE(FindShapeFile(dir.Path(), scene.ShapeName).has_value());
  PrepareLetters(scene);
  MakeButtonOutline(scene);
  EXPECT_EQ(scene.PtCount, 5);
  EXPECT_FALSE(FindShapeFile(dir.Path(), "").has_value());
}

TEST(ButtonBody, ABrokenShapeFileAbandonsWithAClearMessage) {
  test::TTempDir dir;
  std::filesystem::create_directories(dir.File("BShapes"));
  test::WriteText(dir.File("BShapes/broken.qzkh"), std::string(20, '\0'));
  TScene scene;
  scene.ProgramDir = dir.Path();
  scene.Type = 16;
  scene.ShapeName = "broken.qzkh";
  PrepareLetters(scene);
  try {
    MakeButtonOutline(scene);
    FAIL() << "no exception";
  } catch (const std::runtime_error& e) {
    EXPECT_NE(std::string(e.what()).find("broken.qzkh"), std::string::npos) << e.what();
    EXPECT_NE(std::string(e.what()).find("shorter than its header"), std::string::npos) << e.what();
  }
}

}  // namespace
}  // namespace qz
