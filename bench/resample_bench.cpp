// Speed of the filtered scaler: every filter, enlarging a button-sized render into a
// big preview (160x40 -> 800x200), and shrinking a photo-sized texture
// (2000x1500 -> 400x300).
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdint>

#include "render/Resample.h"

namespace {

using qz::TBitmap;

// A procedural photo-like picture: smooth gradients, rings, fine noise and hard edges.
TBitmap PhotoLike(int w, int h) {
  TBitmap b(w, h);
  uint32_t seed = 12345;
  for (int y = 0; y < h; ++y) {
    uint32_t* row = b.ScanLine(y);
    for (int x = 0; x < w; ++x) {
      seed = seed * 1664525u + 1013904223u;
      double u = double(x) / w, v = double(y) / h;
      double ring = std::sin(60.0 * std::hypot(u - 0.4, v - 0.6));
      int noise = int(seed >> 28) - 8;
      int r = int(128 + 100 * ring) + noise;
      int g = int(255 * u * v) + noise;
      int bl = ((x / 37 + y / 23) % 2) ? 220 : 40;
      auto c = [](int t) { return uint32_t(t < 0 ? 0 : t > 255 ? 255 : t); };
      row[x] = qz::RGBToPixel(c(r), c(g), c(bl));
    }
  }
  return b;
}

void Run(benchmark::State& state, int sw, int sh, int dw, int dh) {
  const qz::TFilter& filter = qz::Filters[state.range(0)];
  state.SetLabel(filter.Name);
  TBitmap src = PhotoLike(sw, sh);
  TBitmap dst(dw, dh);
  for (auto _ : state) {
    qz::ResampleImage(src, dst, filter);
    benchmark::DoNotOptimize(dst.Data());
  }
  state.counters["dest_px/s"] =
      benchmark::Counter(double(dw) * dh, benchmark::Counter::kIsIterationInvariantRate);
}

void BM_Up160x40To800x200(benchmark::State& state) { Run(state, 160, 40, 800, 200); }
void BM_Down2000x1500To400x300(benchmark::State& state) { Run(state, 2000, 1500, 400, 300); }

BENCHMARK(BM_Up160x40To800x200)->DenseRange(0, 6)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Down2000x1500To400x300)->DenseRange(0, 6)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
