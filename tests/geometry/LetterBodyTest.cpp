#include <gtest/gtest.h>

#include <set>
#include <vector>

#include "geometry/LetterLayout.h"

namespace qz {
namespace {

// A letter with one square contour of half-size h around the origin, clockwise with y
// up like a TrueType outer contour, closed by repeating its first point.
void AddSquareLetter(TScene& scene, int h) {
  scene.AddLetter();
  TLetter& l = scene.Letter(scene.LetterCount);
  const TPoint square[] = {{-h, h}, {h, h}, {h, -h}, {-h, -h}, {-h, h}};
  l.AddContour(square, 5);
  l.UpdateBounds();
}

std::set<int32_t> Depths(const TBody& body) {
  std::set<int32_t> d;
  for (int v = 1; v <= body.VertexCount(); ++v) d.insert(body.Vertex(v).Y);
  return d;
}

TEST(LetterBody, SquareLetterHasBevelPedestalAndPlaneQuad) {
  TScene scene;  // TxtY 30, TxtW 10, ButY 0
  AddSquareLetter(scene, 50);
  TransformLetters(scene);
  ASSERT_EQ(scene.View.BodyCount(), 1);
  const TBody& body = scene.View.Body(1);
  EXPECT_EQ(body.ContourCount(), 1);
  EXPECT_EQ(body.Contour(1).Length, 5);
  EXPECT_EQ(body.FaceCount(), 4 + 4 + 1);
  // Face at -30, bevel foot at -20, pedestal foot on the button face at 0.
  EXPECT_EQ(Depths(body), (std::set<int32_t>{-30, -20, 0}));
  // The bevel widens 2 TxtW in x and TxtW in y.
  const TModelExtents e = scene.View.ModelExtents();
  EXPECT_EQ(e.Left, -70);
  EXPECT_EQ(e.Right, 70);
  EXPECT_EQ(e.Top, 60);
  EXPECT_EQ(e.Bottom, -60);
  // The first bevel quad, in its order: A, C at the face, then C's and A's feet.
  const TFace& f = body.Face(1);
  auto pos = [&](int v) { return std::vector<int32_t>{body.Vertex(v).X, body.Vertex(v).Y, body.Vertex(v).Z}; };
  EXPECT_EQ(pos(f.V1), (std::vector<int32_t>{-50, -30, 50}));
  EXPECT_EQ(pos(f.V2), (std::vector<int32_t>{50, -30, 50}));
  EXPECT_EQ(pos(f.V3), (std::vector<int32_t>{70, -20, 60}));
  EXPECT_EQ(pos(f.V4), (std::vector<int32_t>{-70, -20, 60}));
  // The plane quad is the last face, over the letter's box at the face's depth.
  const TFace& cap = body.Face(body.FaceCount());
  EXPECT_EQ(pos(cap.V1), (std::vector<int32_t>{-50, -30, 50}));
  EXPECT_EQ(pos(cap.V2), (std::vector<int32_t>{-50, -30, -50}));
  EXPECT_EQ(pos(cap.V3), (std::vector<int32_t>{50, -30, -50}));
  EXPECT_EQ(pos(cap.V4), (std::vector<int32_t>{50, -30, 50}));
}

TEST(LetterBody, PedestalOnlyAboveTenAndThePlaneInTheFaceOfARaisedButton) {
  for (int txtY : {10, 11}) {
    TScene scene;
    scene.TxtY = txtY;
    AddSquareLetter(scene, 40);
    TransformLetters(scene);
    EXPECT_EQ(scene.View.Body(1).FaceCount(), txtY > 10 ? 9 : 5) << txtY;
  }
  // A raised button (extrusion 40): the face lies 30 in front of the button face at
  // depth 40, and the plane quad lies in the face.
  TScene scene;
  scene.ButY = -40;
  AddSquareLetter(scene, 40);
  TransformLetters(scene);
  EXPECT_EQ(LetterFaceDepth(scene), 10);
  EXPECT_EQ(LetterPlaneDepth(scene), 10);
  const TBody& body = scene.View.Body(1);
  EXPECT_EQ(Depths(body), (std::set<int32_t>{10, 20, 40}));
  EXPECT_EQ(body.Vertex(body.Face(body.FaceCount()).V1).Y, 10);
}

TEST(LetterBody, BlanksAndDegenerateContoursGetNoWalls) {
  TScene scene;
  scene.AddLetter();  // a blank: no contours, box of zeros
  scene.AddLetter();
  const TPoint dot[] = {{7, 7}, {7, 7}, {7, 7}};
  scene.Letter(2).AddContour(dot, 3);
  scene.Letter(2).UpdateBounds();
  AddSquareLetter(scene, 20);
  TransformLetters(scene);
  ASSERT_EQ(scene.View.BodyCount(), 3);
  // The blank's plane quad collapses to the point (0, Yp, 0).
  EXPECT_EQ(scene.View.Body(1).FaceCount(), 1);
  EXPECT_EQ(scene.View.Body(1).VertexCount(), 1);
  EXPECT_EQ(scene.View.Body(1).Vertex(1).Y, -30);
  // The dot keeps its cap outline but has no walls.
  EXPECT_EQ(scene.View.Body(2).ContourCount(), 1);
  EXPECT_EQ(scene.View.Body(2).FaceCount(), 1);
  EXPECT_EQ(scene.View.Body(3).FaceCount(), 9);
  // A second run replaces the bodies.
  TransformLetters(scene);
  EXPECT_EQ(scene.View.BodyCount(), 3);
}

TEST(LetterBody, RepeatedPointsWalkTwiceAndAddLetterPlaneAppends) {
  TScene scene;
  scene.TxtY = 5;  // bevel only
  scene.AddLetter();
  const TPoint pts[] = {{0, 10}, {10, 10}, {10, 10}, {10, 0}, {0, 0}, {0, 10}};
  scene.Letter(1).AddContour(pts, 6);
  scene.Letter(1).UpdateBounds();
  TransformLetters(scene);
  // Five indices walked, the repeated point giving a second, identical bevel quad,
  // which AddFace stores again; plus the plane quad.
  EXPECT_EQ(scene.View.Body(1).FaceCount(), 5 + 1);
  AddLetterPlane(scene, 1, 1);
  EXPECT_EQ(scene.View.Body(1).FaceCount(), 7);
}

TEST(LetterBody, HostileExtrusionsSaturateInsteadOfWrapping) {
  TScene scene;
  scene.ButY = INT32_MIN;
  scene.TxtY = INT32_MIN;
  AddSquareLetter(scene, 10);
  TransformLetters(scene);
  EXPECT_EQ(LetterFaceDepth(scene), INT32_MAX);
  EXPECT_EQ(scene.View.Body(1).Vertex(1).Y, INT32_MAX);
}

}  // namespace
}  // namespace qz
