#include "geometry/ButtonBody.h"

#include <gtest/gtest.h>

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
