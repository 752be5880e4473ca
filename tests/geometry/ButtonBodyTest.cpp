#include "geometry/ButtonBody.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "geometry/LetterLayout.h"
#include "support/HostileInput.h"
#include "support/TempDir.h"

namespace qz {
namespace {

// A design's parameters with what a build makes of them: the letters, the view, the
// shape last read, and the button outline.
struct TButtonBuild : TParams {
  TLetters Letters;
  TView3D View;
  TButShape Shape;
  TButtonOutline Outline;
  std::string ShapesDir;
};

// Builds the button round one letter body spanning x -70..70, z -60..60 (a square of
// half-size 50 with its bevel), with margins of 10 all round.
const TBody& BuildButton(TButtonBuild& b) {
  b.GutLeft = b.GutRight = b.GutTop = b.GutBottom = 10;
  b.Letters.Clear();
  b.Letters.Add();
  const TPoint square[] = {{-50, 50}, {50, 50}, {50, -50}, {-50, -50}, {-50, 50}};
  b.Letters[1].AddContour(square, 5);
  b.Letters[1].UpdateBounds();
  TransformLetters(b.Letters, b, b.View);
  b.Outline = MakeButtonOutline(ButtonRect(b.View, b), b, b.Shape, TFolderList(b.ShapesDir));
  MakeButtonBody(b.Outline, b, b.View);
  return b.View.Body(2);
}

TEST(ButtonBody, TheRectangleIsTheLettersExtentWithMarginsOrTheHeldOne) {
  TButtonBuild b;
  b.Type = TButtonType::Rectangle;
  BuildButton(b);
  EXPECT_EQ(b.Outline.Rect, (TButtonRect{-81, 71, 81, -71}));  // 70 + 10 + 1
  EXPECT_EQ(b.View.ButtonBody(), 2);
  b.HoldButtonSize = true;
  b.ButLeft = -300, b.ButTop = 20, b.ButRight = 300, b.ButBottom = -20;
  BuildButton(b);
  EXPECT_EQ(b.Outline.Pts[1], (TPoint{-300, 20}));
  EXPECT_EQ(b.Outline.Pts[3], (TPoint{300, -20}));
}

// Extruded 40 with a bevel of 20: the cap at depth 40, the wall up to 20 * 40 / 100 = 8,
// the bevel out to the ring at 0, the skirt back to 4 * 20 = 80.
TEST(ButtonBody, TheDepthsOfCapWallBevelRingAndSkirt) {
  TButtonBuild b;
  b.Type = TButtonType::Rectangle;
  b.ButY = -40;
  b.ButW = 20;
  const TBody& body = BuildButton(b);
  std::set<int> depths;
  for (int i = 1; i <= body.VertexCount(); ++i) depths.insert(body.Vertex(i).Y);
  EXPECT_EQ(depths, (std::set<int>{0, 8, 40, 80}));
  // Four faces an outline edge (wall, bevel, ring, skirt), then the plane quad in the cap.
  EXPECT_EQ(body.FaceCount(), 4 * (b.Outline.Count - 1) + 1);
  // The ring runs from 20 to 40 outside the outline, the skirt on to 160 (x twice as far).
  int minX = 0;
  for (int i = 1; i <= body.VertexCount(); ++i) minX = std::min(minX, body.Vertex(i).X);
  EXPECT_EQ(minX, -81 - 8 * 20 * 2);
}

TEST(ButtonBody, EmptyOutlinesGiveOnlyThePlaneQuad) {
  for (int type : {16, 8, 9, 100}) {  // 8 and 16 without a ShapeName; 9 and 100 no shape at all
    TButtonBuild b;
    b.Type = type;
    const TBody& body = BuildButton(b);
    EXPECT_EQ(b.Outline.Count, 0) << type;
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
  TButtonBuild b;
  b.ShapesDir = dir.File("BShapes/");
  b.Type = TButtonType::ShapeFile;
  // Another case finds the file; a name that is not there keeps the shape of the last build.
  for (const char* name : {"DIAMOND.QZKH", "gone.qzkh"}) {
    EXPECT_EQ(FindShapeFile(TFolderList(b.ShapesDir), name).has_value(), name[0] != 'g') << name;
    b.ShapeName = name;
    BuildButton(b);
    EXPECT_EQ(b.Outline.Count, 5) << name;
    EXPECT_EQ(b.Shape.PointCount, 4);
  }
  EXPECT_FALSE(FindShapeFile(TFolderList(b.ShapesDir), "").has_value());
  // A name with a folder in it is refused, never read: it could name any file.
  test::WriteText(dir.File("secret"), "not a shape");
  for (const char* name : {"../secret", "C:\\Buttons\\BShapes\\diamond.qzkh", "..", "/etc/passwd"}) {
    b.ShapeName = name;
    EXPECT_FALSE(FindShapeFile(TFolderList(b.ShapesDir), name).has_value()) << name;
    const std::string error = test::ErrorOf([&] { BuildButton(b); });
    EXPECT_NE(error.find("Cannot use the shape " + std::string(name) + ": "), std::string::npos) << error;
  }
}

}  // namespace
}  // namespace qz
