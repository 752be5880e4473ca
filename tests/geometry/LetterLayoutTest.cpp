#include "geometry/LetterLayout.h"

#include <gtest/gtest.h>

#include <set>

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

std::set<int32_t> Depths(const TBody& body) {
  std::set<int32_t> d;
  for (int v = 1; v <= body.VertexCount(); ++v) d.insert(body.Vertex(v).Y);
  return d;
}

std::vector<int32_t> Position(const TBody& body, int v) { return {body.Vertex(v).X, body.Vertex(v).Y, body.Vertex(v).Z}; }

TEST(LetterLayout, NormalisationCentresTheMessageBox) {
  TScene scene;
  AddGlyph(scene, {{100, -20}, {140, 79}, {150, 0}});
  scene.AddLetter();  // a blank between the two
  AddGlyph(scene, {{160, 10}, {199, 30}, {180, -5}});
  NormalizeCoordinates(scene);
  // x 100..199 -> -50..49, y -20..79 -> -50..49.
  EXPECT_EQ(scene.Letter(1).Left, -50);
  EXPECT_EQ(scene.Letter(1).Top, 49);
  EXPECT_EQ(scene.Letter(1).Contour(1).Points[2], (TPoint{0, -30}));  // (150, 0)
  EXPECT_EQ(scene.Letter(3).Right, 49);
  // The blank keeps the box of its creation; the message box keeps its values.
  EXPECT_EQ(scene.Letter(2).Left, 0);
  EXPECT_EQ(scene.TextMaxY, 79);
  // A box one wide and three high: halfW = 0, halfH = 1, y in [-2, 0].
  TScene thin;
  AddGlyph(thin, {{7, 4}, {7, 6}});
  NormalizeCoordinates(thin);
  EXPECT_EQ((std::vector<int>{thin.Letter(1).Left, thin.Letter(1).Right, thin.Letter(1).Bottom, thin.Letter(1).Top}),
            (std::vector<int>{0, 0, -2, 0}));
}

TEST(LetterLayout, SquareLetterHasBevelPedestalAndPlaneQuad) {
  TScene scene;  // TxtY 30, TxtW 10, ButY 0
  AddSquare(scene, 50);
  TransformLetters(scene);
  ASSERT_EQ(scene.View.BodyCount(), 1);
  const TBody& body = scene.View.Body(1);
  EXPECT_EQ(body.Contour(1).Length, 5);
  EXPECT_EQ(body.FaceCount(), 4 + 4 + 1);
  EXPECT_EQ(Depths(body), (std::set<int32_t>{-30, -20, 0}));  // face, bevel foot, pedestal foot on the button
  // The bevel widens 2 TxtW in x and TxtW in y.
  const TModelExtents e = scene.View.ModelExtents();
  EXPECT_EQ((std::vector<int>{e.Left, e.Right, e.Top, e.Bottom}), (std::vector<int>{-70, 70, 60, -60}));
  // The first bevel quad in its order: A, C at the face, then C's and A's feet.
  const TFace& f = body.Face(1);
  EXPECT_EQ(Position(body, f.V1), (std::vector<int32_t>{-50, -30, 50}));
  EXPECT_EQ(Position(body, f.V2), (std::vector<int32_t>{50, -30, 50}));
  EXPECT_EQ(Position(body, f.V3), (std::vector<int32_t>{70, -20, 60}));
  EXPECT_EQ(Position(body, f.V4), (std::vector<int32_t>{-70, -20, 60}));
  // The plane quad is the last face, over the letter's box at the face's depth.
  const TFace& cap = body.Face(body.FaceCount());
  EXPECT_EQ(Position(body, cap.V2), (std::vector<int32_t>{-50, -30, -50}));
  EXPECT_EQ(Position(body, cap.V4), (std::vector<int32_t>{50, -30, 50}));
}

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
  EXPECT_EQ(Depths(scene.View.Body(1)), (std::set<int32_t>{10, 20, 40}));
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
