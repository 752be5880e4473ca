#include "geometry/LetterLayout.h"

#include <gtest/gtest.h>

#include "geometry/GlyphOutline.h"

namespace qz {
namespace {

// A design's parameters with the letters and the view a build fills from them.
struct TLayout : TParams {
  TLetters Letters;
  TView3D View;
};

void TransformLetters(TLayout& l) { qz::TransformLetters(l.Letters, l, l.View); }

// Adds a letter with one contour through the given points, closed by repeating the
// first, as glyph reading does (so the message box follows).
void AddGlyph(TLayout& l, const std::vector<TPoint>& pts) {
  TNullMessageSink quiet;
  l.Letters.Add();
  TGlyphReader reader(l.Letters, l.SplPnt, l.TxtW, quiet);
  for (const TPoint& p : pts) reader.AddIntPoint(p.x, p.y);
  reader.AddIntPoint(pts[0].x, pts[0].y);
  l.Letters.Last().AddContour(&reader.Pts[1], reader.PtCount);
  l.Letters.Last().UpdateBounds();
}

// A square of half-size h round the origin, clockwise with y up like a TrueType outer
// contour.
void AddSquare(TLayout& l, int h) { AddGlyph(l, {{-h, h}, {h, h}, {h, -h}, {-h, -h}}); }

// A message box 101 wide and 40 high (x 0..100, y 0..39) is centred with halves that
// truncate: x - 50 and y - 20, so it spans -50..50 and -20..19.
TEST(LetterLayout, NormalisationCentresAKnownBox) {
  TLayout l;
  AddGlyph(l, {{0, 0}, {0, 39}, {60, 39}, {60, 0}});
  AddGlyph(l, {{70, 5}, {100, 5}, {100, 20}});
  NormalizeCoordinates(l.Letters);
  EXPECT_EQ((std::vector<int>{l.Letters[1].Left, l.Letters[1].Right, l.Letters[1].Bottom, l.Letters[1].Top}),
            (std::vector<int>{-50, 10, -20, 19}));
  EXPECT_EQ((std::vector<int>{l.Letters[2].Left, l.Letters[2].Right, l.Letters[2].Bottom, l.Letters[2].Top}),
            (std::vector<int>{20, 50, -15, 0}));
  EXPECT_EQ(l.Letters.TextMinX, 0);  // the box itself keeps its values
}

TEST(LetterLayout, PedestalOnlyAboveTenAndThePlaneInTheFaceOfARaisedButton) {
  for (int txtY : {10, 11}) {
    TLayout scene;
    scene.TxtY = txtY;
    AddSquare(scene, 40);
    TransformLetters(scene);
    EXPECT_EQ(scene.View.Body(1).FaceCount(), txtY > 10 ? 9 : 5) << txtY;
  }
  // A raised button (extrusion 40): the face lies 30 in front of the button face.
  TLayout scene;
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
  TLayout scene;
  scene.Letters.Add();  // a blank: no contours, box of zeros
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
  TLayout repeated;
  repeated.TxtY = 5;  // bevel only
  AddGlyph(repeated, {{0, 10}, {10, 10}, {10, 10}, {10, 0}, {0, 0}});
  TransformLetters(repeated);
  EXPECT_EQ(repeated.View.Body(1).FaceCount(), 5 + 1);
  AddLetterPlane(repeated.Letters[1], repeated, repeated.View.Body(1));
  EXPECT_EQ(repeated.View.Body(1).FaceCount(), 7);
}

}  // namespace
}  // namespace qz
