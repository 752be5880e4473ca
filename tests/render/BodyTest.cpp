#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <map>
#include <random>
#include <tuple>
#include <vector>

#include "render/RenderKit.h"
#include "render/View3D.h"

namespace qz {
namespace {

using test::V;

TEST(RenderList, SortsAscendingAndKeepsEveryItem) {
  std::mt19937 rng(7);
  for (int n : {0, 1, 2, 3, 17, 500, 2048}) {
    TRenderList list;
    std::multimap<float, int> expected;
    for (int i = 1; i <= n; ++i) {
      const float key = static_cast<float>(rng() % 50);  // many equal keys
      list.Add(i, key);
      expected.emplace(key, i);
    }
    list.Sort();
    ASSERT_EQ(list.Count(), n);
    std::multimap<float, int> got;
    for (int i = 1; i <= n; ++i) {
      got.emplace(list.Item(i).Key, list.Item(i).Index);
      if (i > 1) {
        ASSERT_LE(list.Item(i - 1).Key, list.Item(i).Key) << "n " << n << " item " << i;
      }
    }
    // The same (key, index) pairs, whatever order equal keys took.
    auto sorted = [](const std::multimap<float, int>& m) {
      std::vector<std::pair<float, int>> v(m.begin(), m.end());
      std::sort(v.begin(), v.end());
      return v;
    };
    EXPECT_EQ(sorted(got), sorted(expected));
  }
  TRenderList full;
  for (int i = 1; i <= TRenderList::MaxItems + 5; ++i) full.Add(i, static_cast<float>(-i));
  EXPECT_EQ(full.Count(), TRenderList::MaxItems);
  full.Sort();
  EXPECT_EQ(full.Item(1).Index, TRenderList::MaxItems);
  full.Clear();
  EXPECT_EQ(full.Count(), 0);
}

TEST(Body, VerticesAreSharedByExactPosition) {
  TBody body;
  EXPECT_EQ(body.AddVertex(V(1, 2, 3)), 1);
  EXPECT_EQ(body.AddVertex(V(4, 5, 6)), 2);
  EXPECT_EQ(body.AddVertex(V(1, 2, 3)), 1);
  EXPECT_EQ(body.AddVertex(V(1, 9, 3)), 3);  // differs only in Y
  body.AddFace(V(1, 2, 3), V(4, 5, 6), V(7, 8, 9), V(1, 2, 3));  // a triangle repeats a point
  EXPECT_EQ(body.VertexCount(), 4);
  ASSERT_EQ(body.FaceCount(), 1);
  EXPECT_EQ(body.Face(1).V1, 1);
  EXPECT_EQ(body.Face(1).V3, 4);
  EXPECT_EQ(body.Face(1).V4, 1);
}

// Against the defining rule: the index of the first vertex added at that exact
// position, else the next index; positions from a small cube repeat often.
TEST(Body, VertexIndicesMatchALinearSearch) {
  std::mt19937 rng(99);
  TBody body;
  std::vector<std::array<int, 3>> added;
  for (int n = 0; n < 20000; ++n) {
    const std::array<int, 3> p = {static_cast<int>(rng() % 21) - 10, static_cast<int>(rng() % 21) - 10,
                                  static_cast<int>(rng() % 21) - 10};
    int expected = 0;
    if (static_cast<int>(added.size()) < TBody::MaxVertices) {
      const auto it = std::find(added.begin(), added.end(), p);
      if (it == added.end()) {
        added.push_back(p);
        expected = static_cast<int>(added.size());
      } else {
        expected = static_cast<int>(it - added.begin()) + 1;
      }
    }
    ASSERT_EQ(body.AddVertex(V(p[0], p[1], p[2])), expected) << "point " << n;
  }
  EXPECT_EQ(body.VertexCount(), TBody::MaxVertices);
}

TEST(Body, TheVertexLimitRefusesEvenKnownPointsAndTakesFacesBack) {
  TBody body;
  for (int i = 0; i < TBody::MaxVertices - 2; ++i) ASSERT_EQ(body.AddVertex(V(i, 0, 0)), i + 1);
  // Two known vertices, then two new ones: the last one fills the body exactly.
  body.AddFace(V(0, 0, 0), V(1, 0, 0), V(-1, 0, 0), V(-2, 0, 0));
  EXPECT_EQ(body.FaceCount(), 1);
  EXPECT_EQ(body.VertexCount(), TBody::MaxVertices);
  EXPECT_EQ(body.AddVertex(V(0, 0, 0)), 0);  // already present, but the body is full
  body.AddFace(V(0, 0, 0), V(1, 0, 0), V(2, 0, 0), V(3, 0, 0));
  EXPECT_EQ(body.FaceCount(), 1);

  // A face that gets its first vertices and then hits the limit is taken back whole;
  // the vertices it added stay.
  TBody other;
  for (int i = 0; i < TBody::MaxVertices - 1; ++i) other.AddVertex(V(i, 0, 0));
  other.AddFace(V(0, 0, 0), V(-1, 0, 0), V(-2, 0, 0), V(1, 0, 0));
  EXPECT_EQ(other.FaceCount(), 0);
  EXPECT_EQ(other.VertexCount(), TBody::MaxVertices);
  EXPECT_EQ(other.Vertex(TBody::MaxVertices).X, -1);
}

TEST(Body, FaceAndContourLimits) {
  TBody body;
  for (int i = 0; i < TBody::MaxFaces + 3; ++i) body.AddFace(V(i, 0, 0), V(i, 0, 0), V(i, 0, 0), V(i, 0, 0));
  EXPECT_EQ(body.FaceCount(), TBody::MaxFaces);
  EXPECT_EQ(body.VertexCount(), TBody::MaxFaces);
  const std::vector<TPoint> pts = {{0, 0}, {5, 0}, {5, 5}, {0, 0}};
  for (int c = 0; c < TBody::MaxContours + 2; ++c) body.AddContour(pts.data(), 4, c);
  EXPECT_EQ(body.ContourCount(), TBody::MaxContours);
  // Each point (x, y) is the vertex (x, -height, y).
  const TCapContour& c3 = body.Contour(3);
  ASSERT_EQ(c3.Length, 4);
  EXPECT_EQ(body.Vertex(c3.Index[2]).X, 5);
  EXPECT_EQ(body.Vertex(c3.Index[2]).Y, -2);
  EXPECT_EQ(body.Vertex(c3.Index[2]).Z, 0);
  EXPECT_EQ(c3.Index[4], c3.Index[1]);  // the closing repeat is the same vertex
}

TEST(View3D, BodiesCountsAndExtents) {
  TView3D view;
  EXPECT_EQ(view.AddBody(), 1);
  test::AddFrontQuad(view.Body(1), 10, 20, 30, 40, 0);
  EXPECT_EQ(view.AddBody(), 2);
  test::AddFrontQuad(view.Body(2), 50, -5, 60, 5, 0);
  test::AddFrontQuad(view.Body(2), 50, 5, 60, 15, 0);
  EXPECT_EQ(view.FaceCount(), 3);
  EXPECT_EQ(view.VertexCount(), 10);
  // Smallest X, largest Z, largest X, smallest Z, each starting at 0: a body lying
  // wholly at X > 0 still gives Left = 0.
  const TModelExtents m = view.ModelExtents();
  EXPECT_EQ(m.Left, 0);
  EXPECT_EQ(m.Top, 40);
  EXPECT_EQ(m.Right, 60);
  EXPECT_EQ(m.Bottom, -5);

  for (int b = 3; b <= TView3D::MaxBodies; ++b) EXPECT_EQ(view.AddBody(), b);
  EXPECT_EQ(view.AddBody(), 0);
  EXPECT_EQ(view.BodyCount(), TView3D::MaxBodies);

  TCamera cam;
  cam.Render.Y = 1234;
  cam.ShadType = 0;
  view.SetCamera(cam);
  EXPECT_EQ(view.Body(33).Camera.Render.Y, 1234.0f);
  EXPECT_EQ(view.Body(1).Camera.ShadType, 0);

  view.ClearBodies();
  EXPECT_EQ(view.BodyCount(), 0);
  EXPECT_EQ(view.AddBody(), 1);
  EXPECT_EQ(view.Body(1).FaceCount(), 0);
  EXPECT_EQ(view.Body(1).Camera.Render.Y, 0.0f);  // a new body has a zero camera
}

TEST(View3D, ScreenExtentsOfAnEmptyViewAreTheStartValues) {
  TView3D view;
  TScreenExtents e = view.ScreenExtents();
  EXPECT_EQ(e.MinX, 65535);
  EXPECT_EQ(e.MinY, 65535);
  EXPECT_EQ(e.MaxX, -65535);
  EXPECT_EQ(e.MaxY, -65535);
  view.AddBody();  // a body without vertices changes nothing
  e = view.ScreenExtents();
  EXPECT_EQ(e.MinX, 65535);
  EXPECT_EQ(e.MaxY, -65535);
}

TEST(Body, ProjectionRoundsHalvesToEvenAndIgnoresTheAngles) {
  TView3D view;
  TBody& body = view.Body(view.AddBody());
  body.AddVertex(V(15, 0, -15));   // 450 * 15 / 1500 = 4.5
  body.AddVertex(V(25, 0, 25));    // 7.5
  body.AddVertex(V(-15, 0, 5));    // -4.5 and -1.5
  TCamera cam;
  cam.Render.Y = 1500;
  cam.Ax = 30;
  cam.Ay = 45;
  cam.Az = 60;
  view.SetCamera(cam);
  view.Params.CenterX = 100;
  view.Params.CenterY = 50;
  const TScreenExtents e = view.ScreenExtents();
  EXPECT_EQ(body.Screen(1).SX, 104);
  EXPECT_EQ(body.Screen(1).SY, 54);  // 50 + 4.5
  EXPECT_EQ(body.Screen(2).SX, 108);
  EXPECT_EQ(body.Screen(2).SY, 42);  // 50 - 7.5
  EXPECT_EQ(body.Screen(3).SX, 96);
  EXPECT_EQ(body.Screen(3).SY, 48);  // 50 - 1.5
  EXPECT_EQ(e.MinX, 96);
  EXPECT_EQ(e.MaxX, 108);
  EXPECT_EQ(e.MinY, 42);
  EXPECT_EQ(e.MaxY, 54);
  EXPECT_EQ(body.MinY(), 42);
  EXPECT_EQ(body.Rows(), 13);
  EXPECT_EQ(body.Vertex(1).Dist2, 1500.0f * 1500.0f + 15 * 15 + 15 * 15);
}

TEST(Body, PrepareKeysTheFacesByTheirNearestVertexAndTheCapByZero) {
  TBody body;
  body.Camera.Render.Y = 0;
  test::AddFrontQuad(body, -10, -10, 10, 10, 100);  // nearest corner: 100^2 + 200
  test::AddFrontQuad(body, -20, -20, 20, 20, 50);   // cap face
  TRenderParams params;
  body.Prepare(params);
  EXPECT_EQ(body.Face(1).Key, 10200.0f);
  EXPECT_EQ(body.Face(2).Key, 0.0f);
  EXPECT_EQ(body.AvgKey(), 5100.0f);

}

// Every vertex at or behind the eye still lands on finite, bounded screen positions,
// and drawing such a body into a small buffer stays inside it.
TEST(Body, GeometryAtOrBehindTheEyeIsBounded) {
  for (float eye : {0.0f, 1500.0f}) {
    TView3D view;
    TBody& body = view.Body(view.AddBody());
    test::AddFrustum(body, 0, 0, 300, 2000, 50, 100);  // the front lies at Y = -2000
    body.AddFace(V(-5, 0, -5), V(-5, -1500, 5), V(5, -1500, 5), V(5, 0, -5));
    TCamera cam;
    cam.Render.Y = eye;
    view.SetCamera(cam);
    view.Params.CenterX = 32;
    view.Params.CenterY = 32;
    const TScreenExtents e = view.ScreenExtents();
    EXPECT_GE(e.MinX, -ScreenCoordLimit);
    EXPECT_LE(e.MaxX, ScreenCoordLimit);
    EXPECT_GE(e.MinY, -ScreenCoordLimit);
    EXPECT_LE(e.MaxY, ScreenCoordLimit);
    TBitmap image(64, 64);
    TPalette pal;
    pal.fill(0x00AABBCC);
    test::DrawPass(view, view.Params, cam, image, pal, true, 3, 5);
    for (int r = 0; r <= view.ZBuffer.LastRow(); ++r)
      for (int k = 1; k <= view.ZBuffer.Count(r); ++k) {
        EXPECT_GE(view.ZBuffer.Entry(r, k).X1, 0);
        EXPECT_LE(view.ZBuffer.Entry(r, k).X2, 63);
      }
  }
}

// A cap point refused by the vertex limit is stored as 0, and no edge from or to it
// is filled: with vertex 0 read as a screen point, edges to the image's top-left
// corner would fill the rows above the cap.
TEST(Body, CapContourPointsRefusedByTheVertexLimitAreNeverRead) {
  TView3D view;
  TBody& body = view.Body(view.AddBody());
  for (int i = 0; TBody::MaxVertices - body.VertexCount() > 6; ++i) body.AddVertex(V(i % 100 - 50, 500, i / 100));
  test::AddFrontQuad(body, -200, -200, 200, 200, 0);  // the cap face: four more vertices
  const std::vector<TPoint> outline = {{-200, 200}, {0, 200}, {200, 200}, {200, 0}, {200, -200},
                                       {0, -200},   {-200, -200}, {-200, 200}};
  body.AddContour(outline.data(), static_cast<int>(outline.size()), 0);
  const TCapContour& c = body.Contour(1);
  EXPECT_NE(c.Index[2], 0);
  EXPECT_NE(c.Index[4], 0);
  EXPECT_EQ(c.Index[5], 0);  // the body filled up at the point (200, 0)
  EXPECT_EQ(c.Index[8], 0);
  TCamera cam;
  cam.Render.Y = 1500;
  const test::TFitted fit = test::FitImage(view, TRenderParams{}, cam, 0, 0);
  TBitmap image(fit.Width + 40, fit.Height + 40);
  TRenderParams params = fit.Params;
  params.CenterX += 20;
  params.CenterY += 20;  // screen (0, 0) lies well outside the cap
  TPalette pal;
  pal.fill(0x00112233);
  test::DrawPass(view, params, cam, image, pal, false, 0, 0);
  // What is left of the outline is its top edge and the upper half of its right side:
  // only the top row pairs up. An edge to vertex 0 would pair with the right side and
  // fill rows of the upper half, or reach the rows above the cap.
  const int capTop = body.Screen(c.Index[1]).SY;
  EXPECT_GT(view.ZBuffer.Count(capTop), 0);
  for (int r = 0; r <= view.ZBuffer.LastRow(); ++r)
    if (r != capTop) {
      EXPECT_EQ(view.ZBuffer.Count(r), 0) << "row " << r;
    }
}

// Live spans of a z-buffer row as (X1, X2, A, Depth).
std::vector<std::tuple<int, int, int, float>> Live(const TZBuffer& zb, int row) {
  std::vector<std::tuple<int, int, int, float>> out;
  for (int k = 1; k <= zb.Count(row); ++k) {
    const TSpanEntry& e = zb.Entry(row, k);
    if (e.Live) out.emplace_back(e.X1, e.X2, e.A, e.Depth);
  }
  std::sort(out.begin(), out.end());
  return out;
}

struct TCapScene {
  TView3D view;
  TCamera cam;
  TCapScene(bool withContour, bool withFaceBehind) {
    TBody& body = view.Body(view.AddBody());
    if (withFaceBehind) test::AddFrontQuad(body, -50, -50, 50, 50, 60);
    if (withContour) {
      const std::vector<TPoint> square = {{-100, 100}, {-100, -100}, {100, -100}, {100, 100}, {-100, 100}};
      body.AddContour(square.data(), 5, 0);
    }
    test::AddFrontQuad(body, -100, -100, 100, 100, 0);  // the cap face
    cam.Render.Y = 1500;
    view.Params.CenterX = 40;
    view.Params.CenterY = 40;
    view.Params.Light = {0.0f, 0.6f, -0.8f, 1.0f, 0xFFFFFF};
  }
  void Draw(bool isButton) {
    view.SetCamera(cam);
    view.ZBuffer.SetSize(80, 80);
    view.Body(1).Prepare(view.Params);
    view.Body(1).Draw(view.ZBuffer, isButton);
  }
};

TEST(Body, ABodyWithOnlyItsCapFaceDrawsNoPolygon) {
  TCapScene s(false, false);
  s.Draw(false);
  EXPECT_EQ(s.view.Body(1).AvgKey(), 0.0f);
  for (int r = 0; r < 80; ++r) EXPECT_EQ(s.view.ZBuffer.Count(r), 0) << "row " << r;
}

TEST(Body, CapsAreFilledWithTheCapFacesLevelAndFirstVertexDepth) {
  TCapScene s(true, false);
  s.Draw(false);
  const TBody& body = s.view.Body(1);
  const TFace& cap = body.Face(body.FaceCount());
  const float depth = body.Vertex(cap.V1).Dist2;
  // 100 units at 1500 project to 30 pixels.
  EXPECT_EQ(Live(s.view.ZBuffer, 40), (std::vector<std::tuple<int, int, int, float>>{{10, 70, cap.Level, depth}}));
  EXPECT_EQ(s.view.ZBuffer.Count(9), 0);
  EXPECT_EQ(s.view.ZBuffer.Count(71), 0);
  // Smooth shading changes nothing for caps.
  s.cam.ShadType = 0;
  s.Draw(false);
  EXPECT_EQ(Live(s.view.ZBuffer, 40), (std::vector<std::tuple<int, int, int, float>>{{10, 70, cap.Level, depth}}));
  // A button's cap lies a hundred times deeper.
  s.Draw(true);
  EXPECT_EQ(Live(s.view.ZBuffer, 40),
            (std::vector<std::tuple<int, int, int, float>>{{10, 70, cap.Level, depth * 100.0f}}));
}

TEST(Body, ALettersCapWinsAgainstItsOwnFacesAButtonsCapLoses) {
  TCapScene s(true, true);  // a face 60 units behind the cap, inside its outline
  s.Draw(false);
  const float capDepth = s.view.Body(1).Vertex(s.view.Body(1).Face(2).V1).Dist2;
  ASSERT_EQ(Live(s.view.ZBuffer, 40).size(), 1u);
  EXPECT_EQ(std::get<3>(Live(s.view.ZBuffer, 40)[0]), capDepth);
  s.Draw(true);
  const auto row = Live(s.view.ZBuffer, 40);
  ASSERT_EQ(row.size(), 3u);  // cap, face, cap
  EXPECT_EQ(std::get<3>(row[0]), capDepth * 100.0f);
  EXPECT_LT(std::get<3>(row[1]), capDepth * 100.0f);
  EXPECT_EQ(std::get<0>(row[1]), 26);  // 40 - 50 * 450 / 1560, rounded
  EXPECT_EQ(std::get<1>(row[1]), 54);
}

// A face wholly above the buffer draws nothing, not even on row 0 (the first row its
// scan would start from).
TEST(Body, AFaceOutsideTheBufferDrawsNothing) {
  TView3D view;
  TBody& body = view.Body(view.AddBody());
  test::AddFrontQuad(body, -50, -50, 50, 50, 0);
  test::AddFrontQuad(body, -1, -1, 1, 1, 0);  // cap face
  TCamera cam;
  cam.Render.Y = 1500;
  view.SetCamera(cam);
  view.Params.CenterX = 20;
  view.Params.CenterY = -40;  // rows -55..-25
  view.ZBuffer.SetSize(30, 40);
  body.Prepare(view.Params);
  ASSERT_EQ(body.Face(1).Visible, 1);
  body.Draw(view.ZBuffer, false);
  for (int r = 0; r < 30; ++r) EXPECT_EQ(view.ZBuffer.Count(r), 0) << "row " << r;
  view.Params.CenterY = 40;  // rows 25..55: only 25..29 lie in the buffer
  body.Prepare(view.Params);
  view.ZBuffer.Clear();
  body.Draw(view.ZBuffer, false);
  EXPECT_EQ(view.ZBuffer.Count(24), 0);
  EXPECT_EQ(Live(view.ZBuffer, 29).size(), 1u);
}

}  // namespace
}  // namespace qz
