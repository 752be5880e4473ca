// Test helpers for the renderer: a letter-like square frustum body and a stand-in for
// the letters pass of a render (prepare, order, draw, shadow, flush).
#pragma once

#include <cstdlib>
#include <string>
#include <vector>

#include "render/View3D.h"

namespace qz::test {

inline TVertex V(int x, int y, int z) { return TVertex{x, y, z}; }

// A face of constant depth y over x in [l, r], z in [b, t], turned to the viewer.
inline void AddFrontQuad(TBody& body, int l, int b, int r, int t, int y) {
  body.AddFace(V(l, y, t), V(l, y, b), V(r, y, b), V(r, y, t));
}

// A square frustum standing on the plane Y = 0 like a letter: the front square of
// half-size `half` round (cx, cz) at depth -height is the cap (contour and cap face),
// the walls widen by `bevel` toward Y = 0; an optional square hole of half-size `hole`
// narrows by `bevel` toward the back; the cap face last.
inline void AddFrustum(TBody& body, int half, int height, int bevel, int hole = 0, int cx = 0, int cz = 0) {
  // Walls from corner k to k + 1 (x right, z up), front half-size h, back h + grow;
  // the outline runs counter-clockwise as seen, the hole the other way.
  auto ring = [&](int h, int grow, const int* xs, const int* zs) {
    std::vector<TPoint> outline;
    for (int k = 0; k < 4; ++k) {
      const int a = k, b = (k + 1) % 4, g = h + grow;
      body.AddFace(V(cx + xs[a] * h, -height, cz + zs[a] * h), V(cx + xs[a] * g, 0, cz + zs[a] * g),
                   V(cx + xs[b] * g, 0, cz + zs[b] * g), V(cx + xs[b] * h, -height, cz + zs[b] * h));
      outline.push_back({cx + xs[a] * h, cz + zs[a] * h});
    }
    outline.push_back(outline.front());
    body.AddContour(outline.data(), 5, height);
  };
  const int outerX[4] = {-1, -1, 1, 1}, outerZ[4] = {1, -1, -1, 1};
  const int holeX[4] = {-1, 1, 1, -1}, holeZ[4] = {1, 1, -1, -1};
  ring(half, bevel, outerX, outerZ);
  if (hole > 0) ring(hole, -bevel, holeX, holeZ);
  AddFrontQuad(body, cx - half, cz - half, cx + half, cz + half, -height);  // the cap face
}

// One pass over all bodies, like the letters pass: prepare, order by AvgKey, draw
// nearest first, optionally a shadow at (dx, dy), flush into image (and mask).
inline void DrawPass(TView3D& view, const TRenderParams& params, const TCamera& camera, TBitmap& image,
                     const TPalette& palette, bool shadow, int dx, int dy, TBitmap* mask = nullptr,
                     bool isButton = false) {
  view.Params = params;
  view.SetCamera(camera);
  view.ZBuffer.SetSize(image.Height(), image.Width());
  view.BodyOrder.Clear();
  for (int b = 1; b <= view.BodyCount(); ++b) {
    view.Body(b).Prepare(view.Params);
    view.BodyOrder.Add(b, view.Body(b).AvgKey());
  }
  view.BodyOrder.Sort();
  for (int i = 1; i <= view.BodyOrder.Count(); ++i) view.Body(view.BodyOrder.Item(i).Index).Draw(view.ZBuffer, isButton);
  if (shadow) {
    view.ZBuffer.ShadowSpans(image, dx, dy, false);
    if (mask) view.ZBuffer.ShadowSpans(*mask, dx, dy, true);
  }
  view.ZBuffer.Flush(image, palette, false);
  if (mask) view.ZBuffer.Flush(*mask, palette, true);
}

}  // namespace qz::test
