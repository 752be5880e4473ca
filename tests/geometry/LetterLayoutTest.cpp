#include "geometry/LetterLayout.h"

#include <gtest/gtest.h>

#include "geometry/GlyphOutline.h"

namespace qz {
namespace {

// Adds a letter with one contour through the given points, closed by repeating the
// first, as glyph reading does (so the message box follows).
void AddGlyph(TScene& scene, const std::vector<TPoint>& pts) {
  scene.AddLetter();
  scene.PtCount = 0;
  for (const TPoint& p : pts) AddIntPoint(scene, p.x, p.y);
  AddIntPoint(scene, pts[0].x, pts[0].y);
  scene.Letter(scene.LetterCount).AddContour(&scene.Pts[1], scene.PtCount);
  scene.Letter(scene.LetterCount).UpdateBounds();
}

// A square of half-size h round the origin, clockwise with y up like a TrueType outer
// contour.
void AddSquare(TScene& scene, int h) { AddGlyph(scene, {{-h, h}, {h, h}, {h, -h}, {-h, -h}}); }

TEST(LetterLayout, PedestalOnlyAboveTenAndThePlaneInTheFaceOfARaisedButton) {
  for (int txtY : {10, 11}) {
    TScene scene;
    scene.TxtY = txtY;
    AddSquare(scene, 40);
    TransformLetters(scene);
    EXPECT_EQ(scene.View.Body(1).FaceCount(), txtY > 10 ? 9 : 5) << txtY;
  }
  // A raised button (extrusion 40): the face lies 30 in front of the button face.
  TScene scene;
  scene.ButY = -40;
  AddSquare(scene, 40);
  TransformLetters(scene);
  EXPECT_EQ(LetterFaceDepth(scene), 10);
  EXPECT_EQ(LetterPlaneDepth(scene), 10);
  // Extrusions from a damaged work saturate instead of wrapping.
  scene.ButY = scene.TxtY = INT32_MIN;
  TransformLetters(scene);
  EXPECT_EQ(LetterFaceDepth(scene), INT32_MAX);
  EXPECT_EQ(scene.View.Body(1).Vertex(1).Y, INT32_MAX);
}

TEST(LetterLayout, BlanksDotsAndRepeatedPoints) {
  TScene scene;
  scene.AddLetter();  // a blank: no contours, box of zeros
  AddGlyph(scene, {{7, 7}, {7, 7}});
  AddSquare(scene, 20);
  TransformLetters(scene);
  TransformLetters(scene);  // a second run replaces the bodies
  ASSERT_EQ(scene.View.BodyCount(), 3);
  // The blank's plane quad collapses to the point (0, Yp, 0).
  EXPECT_EQ(scene.View.Body(1).VertexCount(), 1);
  EXPECT_EQ(scene.View.Body(1).Vertex(1).Y, -30);
  // The dot keeps its cap outline but has no walls.
  EXPECT_EQ(scene.View.Body(2).ContourCount(), 1);
  EXPECT_EQ(scene.View.Body(2).FaceCount(), 1);
  EXPECT_EQ(scene.View.Body(3).FaceCount(), 9);

  // A repeated point is walked twice, giving a second, identical bevel quad, which
  // AddFace stores again; AddLetterPlane appends another plane quad.
  TScene repeated;
  repeated.TxtY = 5;  // bevel only
  AddGlyph(repeated, {{0, 10}, {10, 10}, {10, 10}, {10, 0}, {0, 0}});
  TransformLetters(repeated);
  EXPECT_EQ(repeated.View.Body(1).FaceCount(), 5 + 1);
  AddLetterPlane(repeated, 1, 1);
  EXPECT_EQ(repeated.View.Body(1).FaceCount(), 7);
}

}  // namespace
}  // namespace qz
