// Test helpers for the renderer: a letter-like square frustum body and a stand-in for
// the letters pass of a render (size the image from the projected extents, prepare,
// order, draw, shadow, flush), so that tests can look at pixels.
#pragma once

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/PngFile.h"
#include "render/View3D.h"

namespace qz::test {

inline TVertex V(int x, int y, int z) { return TVertex{x, y, z}; }

// A face of constant depth y over x in [l, r], z in [b, t], turned to the viewer.
inline void AddFrontQuad(TBody& body, int l, int b, int r, int t, int y) {
  body.AddFace(V(l, y, t), V(l, y, b), V(r, y, b), V(r, y, t));
}

// A square frustum standing on the plane Y = 0 like a letter: the front square of
// half-size `half` around (cx, cz) at depth -height is the cap (contour and cap face),
// the walls widen by `bevel` toward Y = 0; an optional square hole of half-size `hole`
// narrows by `bevel` toward the back. Face order: outer walls top, left, bottom,
// right; then the hole's walls; the cap face last.
struct TFrustumFaces {
  int Top = 0, Left = 0, Bottom = 0, Right = 0;          // outer walls
  int HoleTop = 0, HoleLeft = 0, HoleBottom = 0, HoleRight = 0;
};

inline TFrustumFaces AddFrustum(TBody& body, int cx, int cz, int half, int height, int bevel, int hole = 0) {
  TFrustumFaces f;
  const int y = -height;
  // Outline counter-clockwise as the viewer sees it (x right, z up): top-left,
  // bottom-left, bottom-right, top-right. A wall on the edge A -> B is
  // (A front, A back, B back, B front).
  auto walls = [&](int h, int grow, int* top, int* left, int* bottom, int* right) {
    const int xs[4] = {-1, -1, 1, 1}, zs[4] = {1, -1, -1, 1};
    int* ids[4] = {left, bottom, right, top};  // edge k runs from corner k to corner k + 1
    for (int k = 0; k < 4; ++k) {
      const int a = k, b = (k + 1) % 4;
      body.AddFace(V(cx + xs[a] * h, y, cz + zs[a] * h), V(cx + xs[a] * (h + grow), 0, cz + zs[a] * (h + grow)),
                   V(cx + xs[b] * (h + grow), 0, cz + zs[b] * (h + grow)), V(cx + xs[b] * h, y, cz + zs[b] * h));
      *ids[k] = body.FaceCount();
    }
  };
  walls(half, bevel, &f.Top, &f.Left, &f.Bottom, &f.Right);
  std::vector<TPoint> outer = {{cx - half, cz + half}, {cx - half, cz - half}, {cx + half, cz - half},
                               {cx + half, cz + half}, {cx - half, cz + half}};
  body.AddContour(outer.data(), 5, height);
  if (hole > 0) {
    // The hole runs the other way round (clockwise as seen), so its walls face into it.
    const int xs[4] = {-1, 1, 1, -1}, zs[4] = {1, 1, -1, -1};
    int* ids[4] = {&f.HoleTop, &f.HoleRight, &f.HoleBottom, &f.HoleLeft};
    const int back = hole - bevel;
    for (int k = 0; k < 4; ++k) {
      const int a = k, b = (k + 1) % 4;
      body.AddFace(V(cx + xs[a] * hole, y, cz + zs[a] * hole), V(cx + xs[a] * back, 0, cz + zs[a] * back),
                   V(cx + xs[b] * back, 0, cz + zs[b] * back), V(cx + xs[b] * hole, y, cz + zs[b] * hole));
      *ids[k] = body.FaceCount();
    }
    std::vector<TPoint> inner = {{cx - hole, cz + hole}, {cx + hole, cz + hole}, {cx + hole, cz - hole},
                                 {cx - hole, cz - hole}, {cx - hole, cz + hole}};
    body.AddContour(inner.data(), 5, height);
  }
  AddFrontQuad(body, cx - half, cz - half, cx + half, cz + half, y);  // the cap face
  return f;
}

// The image of a pass: parameters with the centre fitted, and the image size.
struct TFitted {
  TRenderParams Params;
  int Width = 0;
  int Height = 0;
};

// Sizes the picture as the render does: projected extents plus room for one shadow.
inline TFitted FitImage(TView3D& view, TRenderParams params, const TCamera& camera, int dx, int dy) {
  params.CenterX = params.CenterY = 0;
  view.Params = params;
  view.SetCamera(camera);
  const TScreenExtents e = view.ScreenExtents();
  TFitted f;
  f.Params = params;
  f.Params.CenterX = -e.MinX;
  f.Params.CenterY = -e.MinY;
  f.Width = e.MaxX - e.MinX + 2;
  f.Height = e.MaxY - e.MinY + 2;
  if (dx < 0) f.Params.CenterX -= dx;
  if (dy < 0) f.Params.CenterY -= dy;
  f.Width += std::abs(dx);
  f.Height += std::abs(dy);
  return f;
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

// A picture to look at, in the build folder, enlarged three times pixel by pixel.
inline void SavePicture(const std::string& name, const TBitmap& image) {
  const std::filesystem::path dir = QZ_TEST_OUTPUT_DIR;
  std::filesystem::create_directories(dir);
  TBitmap big(image.Width() * 3, image.Height() * 3);
  big.StretchFrom(image);
  WritePng((dir / name).string(), big);
}

}  // namespace qz::test
