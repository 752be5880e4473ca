// Speed of the filtered scaler: every filter, enlarging a button-sized render into a
// big preview (160x40 -> 800x200), and shrinking a photo-sized texture
// (2000x1500 -> 400x300).
#include <benchmark/benchmark.h>

#include "BenchPictures.h"
#include "render/Resample.h"

namespace {

using qz::TBitmap;

void Run(benchmark::State& state, int sw, int sh, int dw, int dh) {
  const qz::TFilter& filter = qz::Filters[state.range(0)];
  state.SetLabel(filter.Name);
  TBitmap src = qz::bench::RingsAndChecks(sw, sh);
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
