#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <random>
#include <tuple>
#include <vector>

#include "render/RenderKit.h"
#include "render/View3D.h"

namespace qz {
namespace {

using test::V;

TEST(RenderList, SortsAscendingKeepsEveryItemAndStopsWhenFull) {
  std::mt19937 rng(7);
  for (int n : {0, 1, TRenderList::MaxItems + 5}) {
    TRenderList list;
    std::vector<std::pair<float, int>> expected, got;
    for (int i = 1; i <= n; ++i) {
      const float key = static_cast<float>(rng() % 50);  // many equal keys
      list.Add(i, key);
      if (i <= TRenderList::MaxItems) expected.emplace_back(key, i);
    }
    list.Sort();
    ASSERT_EQ(list.Count(), static_cast<int>(expected.size()));
    for (int i = 1; i <= list.Count(); ++i) got.emplace_back(list.Item(i).Key, list.Item(i).Index);
    EXPECT_TRUE(std::is_sorted(got.begin(), got.end(), [](const auto& a, const auto& b) { return a.first < b.first; })) << n;
    std::sort(got.begin(), got.end());  // the same pairs, whatever order equal keys took
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(got, expected);
  }
}

// Against the defining rule: the index of the first vertex added at that exact
// position, else the next index; positions from a small cube repeat often. At the
// limit even known positions are refused.
TEST(Body, VertexIndicesMatchALinearSearchUpToTheLimit) {
  std::mt19937 rng(99);
  TBody body;
  std::vector<std::array<int, 3>> added;
  for (int n = 0; n < 20000; ++n) {
    const std::array<int, 3> p = {int(rng() % 21) - 10, int(rng() % 21) - 10, int(rng() % 21) - 10};
    int expected = 0;
    if (static_cast<int>(added.size()) < TBody::MaxVertices) {
      const auto it = std::find(added.begin(), added.end(), p);
      expected = static_cast<int>(it - added.begin()) + 1;
      if (it == added.end()) added.push_back(p);
    }
    ASSERT_EQ(body.AddVertex(V(p[0], p[1], p[2])), expected) << "point " << n;
  }
  EXPECT_EQ(body.VertexCount(), TBody::MaxVertices);
  // A face shares its vertices: a triangle repeats a point.
  TBody tri;
  tri.AddFace(V(1, 2, 3), V(4, 5, 6), V(7, 8, 9), V(1, 2, 3));
  EXPECT_EQ(tri.VertexCount(), 3);
  EXPECT_EQ(tri.Face(1).V4, 1);
}

TEST(Body, LimitsRefuseFacesWholeAndContoursQuietly) {
  // A face that gets its first vertices and then hits the limit is taken back whole;
  // the vertices it added stay.
  TBody body;
  for (int i = 0; i < TBody::MaxVertices - 1; ++i) body.AddVertex(V(i, 0, 0));
  body.AddFace(V(0, 0, 0), V(-1, 0, 0), V(-2, 0, 0), V(1, 0, 0));
  EXPECT_EQ(body.FaceCount(), 0);
  EXPECT_EQ(body.Vertex(TBody::MaxVertices).X, -1);
  body.AddFace(V(0, 0, 0), V(1, 0, 0), V(2, 0, 0), V(3, 0, 0));  // only known points, but the body is full
  EXPECT_EQ(body.FaceCount(), 0);

  TBody faces;
  for (int i = 0; i < TBody::MaxFaces + 3; ++i) faces.AddFace(V(i, 0, 0), V(i, 0, 0), V(i, 0, 0), V(i, 0, 0));
  EXPECT_EQ(faces.FaceCount(), TBody::MaxFaces);
  const std::vector<TPoint> pts = {{0, 0}, {5, 0}, {5, 5}, {0, 0}};
  for (int c = 0; c < TBody::MaxContours + 2; ++c) faces.AddContour(pts.data(), 4, c);
  EXPECT_EQ(faces.ContourCount(), TBody::MaxContours);
  // Each point (x, y) is the vertex (x, -height, y); the closing repeat is the same vertex.
  const TCapContour& c3 = faces.Contour(3);
  ASSERT_EQ(c3.Length, 4);
  EXPECT_EQ((std::vector<int>{faces.Vertex(c3.Index[2]).X, faces.Vertex(c3.Index[2]).Y, faces.Vertex(c3.Index[2]).Z}),
            (std::vector<int>{5, -2, 0}));
  EXPECT_EQ(c3.Index[4], c3.Index[1]);
}

TEST(View3D, BodyLimitAndClear) {
  TView3D view;
  while (view.AddBody() != 0) {
  }
  EXPECT_EQ(view.BodyCount(), TView3D::MaxBodies);
  view.ClearBodies();
  EXPECT_EQ(view.AddBody(), 1);
}

// Vertices at or behind the eye land on bounded screen positions; drawing stays inside.
TEST(Body, GeometryAtOrBehindTheEyeIsBounded) {
  for (float eye : {0.0f, 1500.0f}) {
    TView3D view;
    TBody& body = view.Body(view.AddBody());
    test::AddFrustum(body, 300, 2000, 50, 100);  // the front lies at Y = -2000
    body.AddFace(V(-5, 0, -5), V(-5, -1500, 5), V(5, -1500, 5), V(5, 0, -5));
    TCamera cam;
    cam.Render.Y = eye;
    view.SetCamera(cam);
    view.Params.CenterX = view.Params.CenterY = 32;
    const TScreenExtents e = view.ScreenExtents();
    for (int v : {e.MinX, e.MaxX, e.MinY, e.MaxY}) EXPECT_LE(std::abs(v), ScreenCoordLimit);
    TBitmap image(64, 64);
    test::DrawPass(view, view.Params, cam, image, TPalette{}, true, 3, 5);
    for (int r = 0; r <= view.ZBuffer.LastRow(); ++r)
      for (int k = 1; k <= view.ZBuffer.Count(r); ++k) {
        EXPECT_GE(view.ZBuffer.Entry(r, k).X1, 0);
        EXPECT_LE(view.ZBuffer.Entry(r, k).X2, 63);
      }
  }
}

// A cap point refused by the vertex limit is stored as 0, and no edge from or to it is
// filled: with vertex 0 read as a screen point, edges to the image's top-left corner
// would fill the rows above the cap.
TEST(Body, CapContourPointsRefusedByTheVertexLimitAreNeverRead) {
  TView3D view;
  TBody& body = view.Body(view.AddBody());
  for (int i = 0; TBody::MaxVertices - body.VertexCount() > 6; ++i) body.AddVertex(V(i % 100 - 50, 500, i / 100));
  test::AddFrontQuad(body, -200, -200, 200, 200, 0);  // the cap face: four more vertices
  const std::vector<TPoint> outline = {{-200, 200}, {0, 200}, {200, 200}, {200, 0}, {200, -200}, {0, -200}, {-200, -200}, {-200, 200}};
  body.AddContour(outline.data(), static_cast<int>(outline.size()), 0);
  const TCapContour& c = body.Contour(1);
  EXPECT_NE(c.Index[4], 0);
  EXPECT_EQ(c.Index[5], 0);  // the body filled up at the point (200, 0)
  EXPECT_EQ(c.Index[8], 0);
  TCamera cam;
  cam.Render.Y = 1500;
  TBitmap image(200, 200);
  TRenderParams params;
  params.CenterX = params.CenterY = 100;  // the cap covers 40..160: screen (0, 0) lies well outside it
  test::DrawPass(view, params, cam, image, TPalette{}, false, 0, 0);
  // What is left of the outline is its top edge and the upper half of its right side:
  // only the top row pairs up.
  const int capTop = body.Screen(c.Index[1]).SY;
  EXPECT_GT(view.ZBuffer.Count(capTop), 0);
  for (int r = 0; r <= view.ZBuffer.LastRow(); ++r)
    EXPECT_EQ(view.ZBuffer.Count(r) > 0, r == capTop) << "row " << r;
}

// A face wholly above the buffer draws nothing, not even on row 0 (where its scan
// would start).
TEST(Body, AFaceOutsideTheBufferDrawsNothing) {
  TView3D view;
  TBody& body = view.Body(view.AddBody());
  test::AddFrontQuad(body, -50, -50, 50, 50, 0);
  test::AddFrontQuad(body, -1, -1, 1, 1, 0);  // cap face
  TCamera cam;
  cam.Render.Y = 1500;
  view.SetCamera(cam);
  view.Params.CenterX = 20;
  for (int centreY : {-40, 40}) {  // rows -55..-25, then 25..55 of which 25..29 lie in the buffer
    view.Params.CenterY = centreY;
    view.ZBuffer.SetSize(30, 40);
    view.ZBuffer.Clear();
    body.Prepare(view.Params);
    ASSERT_EQ(body.Face(1).Visible, 1);
    body.Draw(view.ZBuffer, false);
    for (int r = 0; r < 30; ++r) EXPECT_EQ(view.ZBuffer.Count(r), centreY > 0 && r >= 25 ? 1 : 0) << "row " << r;
  }
}

}  // namespace
}  // namespace qz
