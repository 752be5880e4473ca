// The made-up pictures the benchmarks and the peer comparison work on, one home for
// each so that every program measures the same pixels.
//
//   TBitmap photo = bench::PhotoLike(800, 600);     // colour reduction, GIF
//   TBitmap rings = bench::RingsAndChecks(2000, 1500);  // scaling
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "image/Bitmap.h"

namespace qz::bench {

// Smooth colour fields, a shaded ball and a little grain: many colours, gentle
// gradients and some edges, as a photograph of a button has.
inline TBitmap PhotoLike(int width, int height) {
  TBitmap b(width, height);
  uint32_t seed = 12345;
  const double cx = width * 0.62, cy = height * 0.4, radius = std::min(width, height) * 0.27;
  auto clamp = [](double c) { return static_cast<uint32_t>(std::lround(std::min(255.0, std::max(0.0, c)))); };
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      const double u = double(x) / width, v = double(y) / height;
      double r = 90 + 80 * v + 40 * std::sin(7 * u + 3 * v);
      double g = 120 + 60 * std::sin(5 * v - 2 * u) - 30 * u;
      double bl = 200 - 150 * v + 30 * std::cos(9 * u);
      const double d = std::hypot(x - cx, y - cy) / radius;
      if (d < 1) {
        const double shade = 0.35 + 0.65 * std::sqrt(1 - d * d) * (1 - 0.4 * (x - cx + y - cy) / radius);
        r = 250 * shade, g = 170 * shade, bl = 60 * shade;
      }
      seed = seed * 1664525u + 1013904223u;
      const int grain = static_cast<int>(seed >> 28) % 9 - 4;
      b.SetPixel(x, y, RGBToPixel(clamp(r + grain), clamp(g + grain), clamp(bl + grain)));
    }
  return b;
}

// Rings, a gradient, fine noise and a checkerboard of hard edges: every kind of
// detail a scaler can smear or ring on.
inline TBitmap RingsAndChecks(int w, int h) {
  TBitmap b(w, h);
  uint32_t seed = 12345;
  for (int y = 0; y < h; ++y) {
    uint32_t* row = b.ScanLine(y);
    for (int x = 0; x < w; ++x) {
      seed = seed * 1664525u + 1013904223u;
      const double u = double(x) / w, v = double(y) / h;
      const double ring = std::sin(60.0 * std::hypot(u - 0.4, v - 0.6));
      const int noise = int(seed >> 28) - 8;
      const int r = int(128 + 100 * ring) + noise;
      const int g = int(255 * u * v) + noise;
      const int bl = ((x / 37 + y / 23) % 2) ? 220 : 40;
      auto c = [](int t) { return uint32_t(t < 0 ? 0 : t > 255 ? 255 : t); };
      row[x] = RGBToPixel(c(r), c(g), c(bl));
    }
  }
  return b;
}

// A procedural marble, 256 x 256: a texture a user might pick for a button.
inline TBitmap Marble() {
  TBitmap t(256, 256);
  for (int y = 0; y < 256; ++y)
    for (int x = 0; x < 256; ++x) {
      const double v = 0.5 + 0.5 * std::sin(x * 0.05 + 4 * std::sin(y * 0.03) + 2 * std::sin((x + y) * 0.01));
      t.SetPixel(x, y, RGBToPixel(static_cast<uint32_t>(120 + 120 * v), static_cast<uint32_t>(110 + 100 * v),
                                  static_cast<uint32_t>(100 + 60 * v)));
    }
  return t;
}

}  // namespace qz::bench
