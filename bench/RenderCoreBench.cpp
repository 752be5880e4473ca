// The renderer core on a scene shaped like a 12-character button: twelve letter
// bodies (a 60-point outline with a hole, bevel, pedestal and plane quad each) and an
// elliptic button body (wall, bevel, ring, skirt), built and then drawn in a button
// pass and a letters pass with shadows, as the render does. Target: build and render
// together well under 5 ms.

#include <benchmark/benchmark.h>

#include <cmath>
#include <vector>

#include "render/View3D.h"
#include "render/ShadeRamp.h"
#include "scene/Params.h"

namespace qz {
namespace {

std::vector<TPoint> Ring(int cx, int cy, double rx, double ry, int n, bool clockwise) {
  std::vector<TPoint> pts;
  for (int k = 0; k <= n; ++k) {
    const double a = 2 * M_PI * (k % n) / n * (clockwise ? -1 : 1);
    pts.push_back({cx + static_cast<int>(std::lround(rx * std::cos(a))), cy + static_cast<int>(std::lround(ry * std::sin(a)))});
  }
  return pts;
}

TPoint Grow(TPoint p, int cx, int cy, int w) {
  const double dx = p.x - cx, dy = p.y - cy, len = std::hypot(dx, dy);
  return {p.x + static_cast<int>(std::lround(dx / len * w)), p.y + static_cast<int>(std::lround(dy / len * w))};
}

// One closed outline with its bevel (and pedestal) quads; `w` < 0 narrows.
void AddWalls(TBody& body, const std::vector<TPoint>& pts, int cx, int cy, int yf, int w, int yFoot) {
  body.AddContour(pts.data(), static_cast<int>(pts.size()), -yf);
  for (size_t j = 0; j + 1 < pts.size(); ++j) {
    const TPoint a = pts[j], c = pts[j + 1], r1 = Grow(a, cx, cy, w), r2 = Grow(c, cx, cy, w);
    body.AddFace({a.x, yf, a.y}, {c.x, yf, c.y}, {r2.x, yf + std::abs(w), r2.y}, {r1.x, yf + std::abs(w), r1.y});
    body.AddFace({r1.x, yf + std::abs(w), r1.y}, {r2.x, yf + std::abs(w), r2.y}, {r2.x, yFoot, r2.y},
                 {r1.x, yFoot, r1.y});
  }
}

void BuildScene(TView3D& view) {
  view.ClearBodies();
  for (int i = 0; i < 12; ++i) {
    TBody& body = view.Body(view.AddBody());
    const int cx = -1800 + i * 330;
    AddWalls(body, Ring(cx, 0, 140, 200, 60, false), cx, 0, -30, 10, 0);
    AddWalls(body, Ring(cx, 0, 60, 100, 30, true), cx, 0, -30, -10, 0);
    body.AddFace({cx - 150, -30, 210}, {cx - 150, -30, -210}, {cx + 150, -30, -210}, {cx + 150, -30, 210});
  }
  const TModelExtents r = view.ModelExtents();
  TBody& button = view.Body(view.AddBody());
  const std::vector<TPoint> outline = Ring(0, 0, r.Right + 300, r.Top + 150, 40, true);
  button.AddContour(outline.data(), static_cast<int>(outline.size()), 0);
  for (size_t j = 0; j + 1 < outline.size(); ++j) {
    const TPoint a = outline[j], c = outline[j + 1];
    const TPoint a1 = Grow(a, 0, 0, 20), c1 = Grow(c, 0, 0, 20), a2 = Grow(a, 0, 0, 40), c2 = Grow(c, 0, 0, 40);
    const TPoint a8 = Grow(a, 0, 0, 160), c8 = Grow(c, 0, 0, 160);
    button.AddFace({a.x, 0, a.y}, {c.x, 0, c.y}, {c.x, 0, c.y}, {a.x, 0, a.y});
    button.AddFace({a.x, 0, a.y}, {c.x, 0, c.y}, {c1.x, 0, c1.y}, {a1.x, 0, a1.y});
    button.AddFace({a1.x, 0, a1.y}, {c1.x, 0, c1.y}, {c2.x, 0, c2.y}, {a2.x, 0, a2.y});
    button.AddFace({a2.x, 0, a2.y}, {c2.x, 0, c2.y}, {c8.x, 80, c8.y}, {a8.x, 80, a8.y});
  }
  button.AddFace({r.Left, 0, r.Top}, {r.Left, 0, r.Bottom}, {r.Right, 0, r.Bottom}, {r.Right, 0, r.Top});
}

// A design with its view and picture.
struct TDesignView : TParams {
  TView3D View;
  TBitmap Image;
};

// Both passes of a render, as the render driver will run them.
void RenderScene(TDesignView& scene) {
  TView3D& view = scene.View;
  view.Params = RenderBlock(scene, 0, 0);
  view.SetCamera(CameraBlock(scene));
  const TScreenExtents e = view.ScreenExtents();
  view.Params.CenterX = -e.MinX;
  view.Params.CenterY = -e.MinY;
  const int w = e.MaxX - e.MinX + 2 + std::abs(scene.ButShadowX), h = e.MaxY - e.MinY + 2 + std::abs(scene.ButShadowY);
  if (scene.Image.Width() != w || scene.Image.Height() != h) scene.Image.SetSize(w, h);
  scene.Image.Fill(ColorToPixel(scene.BkgColor));
  view.ZBuffer.SetSize(h, w);
  view.BodyOrder.Clear();
  for (int b = 1; b <= view.BodyCount(); ++b) {
    view.Body(b).Prepare(view.Params);
    view.BodyOrder.Add(b, view.Body(b).AvgKey());
  }
  view.BodyOrder.Sort();
  view.Body(view.BodyCount()).Draw(view.ZBuffer, true);
  view.ZBuffer.ShadowSpans(scene.Image, scene.ButShadowX, scene.ButShadowY, false);
  view.ZBuffer.Flush(scene.Image, MakeShadeRamp(scene.Button, scene.Light.Color), false);
  view.ZBuffer.Clear();
  for (int i = 1; i <= view.BodyOrder.Count(); ++i)
    if (view.BodyOrder.Item(i).Index != view.BodyCount()) view.Body(view.BodyOrder.Item(i).Index).Draw(view.ZBuffer, false);
  view.ZBuffer.ShadowSpans(scene.Image, scene.TxtShadowX, scene.TxtShadowY, false);
  view.ZBuffer.Flush(scene.Image, MakeShadeRamp(scene.Message, scene.Light.Color), false);
}

void BM_BuildBodies(benchmark::State& state) {
  TDesignView scene;
  for (auto _ : state) BuildScene(scene.View);
  state.counters["faces"] = scene.View.FaceCount();
  state.counters["vertices"] = scene.View.VertexCount();
}
BENCHMARK(BM_BuildBodies)->Unit(benchmark::kMicrosecond);

void BM_Render(benchmark::State& state) {
  TDesignView scene;
  BuildScene(scene.View);
  for (auto _ : state) RenderScene(scene);
  state.counters["width"] = scene.Image.Width();
  state.counters["height"] = scene.Image.Height();
}
BENCHMARK(BM_Render)->Unit(benchmark::kMicrosecond);

void BM_BuildAndRender(benchmark::State& state) {
  TDesignView scene;
  for (auto _ : state) {
    BuildScene(scene.View);
    RenderScene(scene);
  }
}
BENCHMARK(BM_BuildAndRender)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace qz

BENCHMARK_MAIN();
