// Whatever the geometry, camera and level settings, drawing stays inside the z-buffer
// and the bitmaps. Meant to be run under the address and undefined-behaviour
// sanitizers too (QUENZAR_SANITIZE), which catch any write outside a buffer.

#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <random>
#include <vector>

#include "render/RenderKit.h"

namespace qz {
namespace {

int Wild(std::mt19937& rng) {
  switch (rng() % 4) {
    case 0: return static_cast<int>(rng() % 401) - 200;
    case 1: return static_cast<int>(rng() % 4001) - 2000;
    case 2: return static_cast<int>(rng() % 2000001) - 1000000;
    default: return static_cast<int>(rng());  // anything at all
  }
}

TVertex Point(std::mt19937& rng) { return test::V(Wild(rng), Wild(rng) % 3000, Wild(rng)); }

TEST(RenderRobustness, RandomGeometryStaysInsideTheBuffers) {
  std::mt19937 rng(2024);
  for (int trial = 0; trial < 120; ++trial) {
    TView3D view;
    const int bodies = 1 + static_cast<int>(rng() % 3);
    for (int b = 0; b < bodies; ++b) {
      TBody& body = view.Body(view.AddBody());
      const int faces = static_cast<int>(rng() % 12);
      for (int f = 0; f < faces; ++f)
        body.AddFace(Point(rng), Point(rng), Point(rng), Point(rng));
      if (rng() % 2) {
        std::vector<TPoint> pts;
        const int n = static_cast<int>(rng() % 12);
        for (int k = 0; k < n; ++k) pts.push_back({Wild(rng), Wild(rng)});
        if (n > 0 && rng() % 2) pts.push_back(pts.front());
        body.AddContour(pts.data(), static_cast<int>(pts.size()), rng() % 8 ? Wild(rng) % 3000 : INT32_MIN);
      }
    }
    TCamera cam;
    const float eyes[] = {0.0f, 1.0f, 1500.0f, -300.0f, 40.0f};
    cam.Render.Y = eyes[rng() % 5];
    cam.Render.X = static_cast<float>(Wild(rng) % 500);
    cam.ShadType = static_cast<int>(rng() % 2);
    TRenderParams params;
    params.CenterX = static_cast<int>(rng() % 80) - 10;
    params.CenterY = static_cast<int>(rng() % 60) - 10;
    params.Light = {0.26f, 0.14f, -0.95f, 1.0f, 0xFFFFFF};
    params.LoBright = static_cast<int>(rng() % 1000) - 500;
    params.HiBright = static_cast<int>(rng() % 1000) - 500;
    const int w = 1 + static_cast<int>(rng() % 70), h = 1 + static_cast<int>(rng() % 50);
    TBitmap image(w, h), mask(w, h);
    const int offsets[] = {static_cast<int>(rng() % 200) - 100, INT32_MAX, INT32_MIN, 0};
    const int dx = offsets[rng() % 4], dy = offsets[rng() % 4];
    test::DrawPass(view, params, cam, image, TPalette{}, true, dx, dy, &mask, rng() % 2 == 0);
    view.ZBuffer.ShadowRows(mask, dx, dy, true);
    for (int r = 0; r <= view.ZBuffer.LastRow(); ++r)
      for (int k = 1; k <= view.ZBuffer.Count(r); ++k) {
        const TSpanEntry& e = view.ZBuffer.Entry(r, k);
        ASSERT_GE(e.X1, 0) << "trial " << trial;
        ASSERT_LE(e.X2, w - 1) << "trial " << trial;
        ASSERT_LE(e.A, MaxLevel);
        ASSERT_LE(e.B, MaxLevel);
      }
  }
}

}  // namespace
}  // namespace qz
