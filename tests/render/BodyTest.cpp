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

TEST(View3D, BodiesAndExtents) {
  TView3D view;
  EXPECT_EQ(view.ScreenExtents().MinX, 65535);  // nothing to project: the start values
  EXPECT_EQ(view.ScreenExtents().MaxY, -65535);
  test::AddFrontQuad(view.Body(view.AddBody()), 10, 20, 30, 40, 0);
  test::AddFrontQuad(view.Body(view.AddBody()), 50, -5, 60, 5, 0);
  // Smallest X, largest Z, largest X, smallest Z, each starting at 0.
  const TModelExtents m = view.ModelExtents();
  EXPECT_EQ((std::vector<int>{m.Left, m.Top, m.Right, m.Bottom}), (std::vector<int>{0, 40, 60, -5}));
  while (view.AddBody() != 0) {
  }
  EXPECT_EQ(view.BodyCount(), TView3D::MaxBodies);
  TCamera cam;
  cam.Render.Y = 1234;
  view.SetCamera(cam);
  EXPECT_EQ(view.Body(TView3D::MaxBodies).Camera.Render.Y, 1234.0f);
  view.ClearBodies();
  EXPECT_EQ(view.AddBody(), 1);
  EXPECT_EQ(view.Body(1).FaceCount(), 0);
  EXPECT_EQ(view.Body(1).Camera.Render.Y, 0.0f);  // a new body has a zero camera
}

TEST(Body, ProjectionRoundsHalvesToEvenAndIgnoresTheAngles) {
  TView3D view;
  TBody& body = view.Body(view.AddBody());
  body.AddVertex(V(15, 0, -15));  // 450 * 15 / 1500 = 4.5
  body.AddVertex(V(25, 0, 25));   // 7.5
  body.AddVertex(V(-15, 0, 5));   // -4.5 and -1.5
  TCamera cam;
  cam.Render.Y = 1500;
  cam.Ax = 30, cam.Ay = 45, cam.Az = 60;
  view.SetCamera(cam);
  view.Params.CenterX = 100;
  view.Params.CenterY = 50;
  const TScreenExtents e = view.ScreenExtents();
  const std::pair<int, int> want[] = {{104, 54}, {108, 42}, {96, 48}};
  for (int v = 1; v <= 3; ++v) EXPECT_EQ((std::pair<int, int>{body.Screen(v).SX, body.Screen(v).SY}), want[v - 1]) << v;
  EXPECT_EQ((std::vector<int>{e.MinX, e.MaxX, e.MinY, e.MaxY}), (std::vector<int>{96, 108, 42, 54}));
  EXPECT_EQ(body.MinY(), 42);
  EXPECT_EQ(body.Rows(), 13);
  EXPECT_EQ(body.Vertex(1).Dist2, 1500.0f * 1500.0f + 15 * 15 + 15 * 15);
  // Faces are keyed by their nearest vertex, the cap face by zero.
  TBody keyed;
  test::AddFrontQuad(keyed, -10, -10, 10, 10, 100);  // nearest corner: 100^2 + 200
  test::AddFrontQuad(keyed, -20, -20, 20, 20, 50);   // cap face
  keyed.Prepare(TRenderParams{});
  EXPECT_EQ(keyed.Face(1).Key, 10200.0f);
  EXPECT_EQ(keyed.Face(2).Key, 0.0f);
  EXPECT_EQ(keyed.AvgKey(), 5100.0f);
}

// Every vertex at or behind the eye still lands on finite, bounded screen positions,
// and drawing such a body into a small buffer stays inside it.
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
  const test::TFitted fit = test::FitImage(view, TRenderParams{}, cam, 0, 0);
  TBitmap image(fit.Width + 40, fit.Height + 40);
  TRenderParams params = fit.Params;
  params.CenterX += 20;  // screen (0, 0) lies well outside the cap
  params.CenterY += 20;
  test::DrawPass(view, params, cam, image, TPalette{}, false, 0, 0);
  // What is left of the outline is its top edge and the upper half of its right side:
  // only the top row pairs up.
  const int capTop = body.Screen(c.Index[1]).SY;
  EXPECT_GT(view.ZBuffer.Count(capTop), 0);
  for (int r = 0; r <= view.ZBuffer.LastRow(); ++r)
    EXPECT_EQ(view.ZBuffer.Count(r) > 0, r == capTop) << "row " << r;
}

// Live spans of a z-buffer row as (X1, X2, A, Depth), by column.
std::vector<std::tuple<int, int, int, float>> Live(const TZBuffer& zb, int row) {
  std::vector<std::tuple<int, int, int, float>> out;
  for (int k = 1; k <= zb.Count(row); ++k) {
    const TSpanEntry& e = zb.Entry(row, k);
    if (e.Live) out.emplace_back(e.X1, e.X2, e.A, e.Depth);
  }
  std::sort(out.begin(), out.end());
  return out;
}

// A square cap of half-size 100 (with or without its contour), optionally with a face
// 60 units behind it inside its outline, drawn at 1500 into an 80 x 80 buffer.
struct TCapScene {
  TView3D view;
  TCamera cam;
  TCapScene(bool withContour, bool withFaceBehind) {
    TBody& body = view.Body(view.AddBody());
    if (withFaceBehind) test::AddFrontQuad(body, -50, -50, 50, 50, 60);
    const std::vector<TPoint> square = {{-100, 100}, {-100, -100}, {100, -100}, {100, 100}, {-100, 100}};
    if (withContour) body.AddContour(square.data(), 5, 0);
    test::AddFrontQuad(body, -100, -100, 100, 100, 0);  // the cap face
    cam.Render.Y = 1500;
    view.Params.CenterX = view.Params.CenterY = 40;
    view.Params.Light = {0.0f, 0.6f, -0.8f, 1.0f, 0xFFFFFF};
  }
  std::vector<std::tuple<int, int, int, float>> Draw(bool isButton, int row = 40) {
    view.SetCamera(cam);
    view.ZBuffer.SetSize(80, 80);
    view.Body(1).Prepare(view.Params);
    view.Body(1).Draw(view.ZBuffer, isButton);
    return Live(view.ZBuffer, row);
  }
  float CapDepth() { return view.Body(1).Vertex(view.Body(1).Face(view.Body(1).FaceCount()).V1).Dist2; }
};

// A cap is filled at its face's level and first vertex's depth, the same smooth or
// flat; a button's cap lies a hundred times deeper, so its own faces win over it.
TEST(Body, CapsAreFilledAtTheCapFacesLevelALettersCapWinsAButtonsLoses) {
  using Spans = std::vector<std::tuple<int, int, int, float>>;
  TCapScene s(true, false);
  ASSERT_EQ(s.Draw(false).size(), 1u);
  const int level = s.view.Body(1).Face(1).Level;
  EXPECT_EQ(s.Draw(false), (Spans{{10, 70, level, s.CapDepth()}}));  // 100 units at 1500: 30 pixels
  EXPECT_TRUE(s.Draw(false, 9).empty());
  EXPECT_TRUE(s.Draw(false, 71).empty());
  s.cam.ShadType = 0;
  EXPECT_EQ(s.Draw(false), (Spans{{10, 70, level, s.CapDepth()}}));
  EXPECT_EQ(s.Draw(true), (Spans{{10, 70, level, s.CapDepth() * 100.0f}}));

  TCapScene behind(true, true);  // a face 60 units behind the cap
  const Spans letter = behind.Draw(false);
  EXPECT_EQ(letter, (Spans{{10, 70, behind.view.Body(1).Face(2).Level, behind.CapDepth()}}));
  const auto button = behind.Draw(true);
  ASSERT_EQ(button.size(), 3u);  // cap, face, cap
  EXPECT_EQ(std::get<0>(button[1]), 26);  // 40 - 50 * 450 / 1560, rounded
  EXPECT_EQ(std::get<1>(button[1]), 54);
  // A body with only its cap face and no contour draws no polygon.
  TCapScene bare(false, false);
  bare.Draw(false);
  EXPECT_EQ(bare.view.Body(1).AvgKey(), 0.0f);
  for (int r = 0; r < 80; ++r) EXPECT_EQ(bare.view.ZBuffer.Count(r), 0) << "row " << r;
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
