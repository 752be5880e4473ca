// Speed of the filtered scaler: every filter, enlarging a button-sized render into a
// big preview (160x40 -> 800x200), and shrinking a photo-sized texture
// (2000x1500 -> 400x300), with the threads the scaler chooses and with one. Beside
// them, what this machine allows for that shrink: reading its source once from memory
// (the bandwidth bound) and its multiply-adds without any memory traffic (the
// arithmetic bound), so the scaler's time can be put beside both.
#include <benchmark/benchmark.h>

#include <thread>
#include <vector>

#include "BenchPictures.h"
#include "image/Resample.h"

namespace {

using qz::TBitmap;

void Run(benchmark::State& state, int sw, int sh, int dw, int dh, int threads = 0) {
  const qz::TFilter& filter = qz::Filters[state.range(0)];
  state.SetLabel(filter.Name);
  TBitmap src = qz::bench::RingsAndChecks(sw, sh);
  TBitmap dst(dw, dh);
  for (auto _ : state) {
    qz::ResampleImage(src, dst, filter.Function, filter.Support, qz::TResampleLoops::Best, threads);
    benchmark::DoNotOptimize(dst.Data());
  }
  state.counters["dest_px/s"] =
      benchmark::Counter(double(dw) * dh, benchmark::Counter::kIsIterationInvariantRate);
}

void BM_Up160x40To800x200(benchmark::State& state) { Run(state, 160, 40, 800, 200); }
void BM_Down2000x1500To400x300(benchmark::State& state) { Run(state, 2000, 1500, 400, 300); }

void BM_Down2000x1500To400x300OneThread(benchmark::State& state) { Run(state, 2000, 1500, 400, 300, 1); }

BENCHMARK(BM_Up160x40To800x200)->DenseRange(0, 6)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_Down2000x1500To400x300)->DenseRange(0, 6)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_Down2000x1500To400x300OneThread)->DenseRange(0, 6)->Unit(benchmark::kMillisecond)->UseRealTime();

// The bandwidth bound: the shrink's source (2000 x 1500, 4 bytes a pixel) read once
// from memory, on one core and on as many as the machine has. A fresh copy each round
// would be timed with its own writing, so the picture is read from a buffer four times
// larger than the caches, a different quarter each round.
void ReadOnce(benchmark::State& state, int threads) {
  constexpr size_t kPixels = size_t{2000} * 1500, kCopies = 8;
  std::vector<uint32_t> buffer(kPixels * kCopies, 0x01020304u);
  size_t copy = 0;
  for (auto _ : state) {
    const uint32_t* p = buffer.data() + kPixels * (copy++ % kCopies);
    std::vector<uint64_t> sums(threads);
    std::vector<std::thread> helpers;
    auto sum = [&](int t) {
      uint64_t s = 0;
      for (size_t i = kPixels * t / threads, end = kPixels * (t + 1) / threads; i < end; ++i) s += p[i];
      sums[t] = s;
    };
    for (int t = 1; t < threads; ++t) helpers.emplace_back(sum, t);
    sum(0);
    for (std::thread& h : helpers) h.join();
    benchmark::DoNotOptimize(sums.data());
  }
  state.SetBytesProcessed(int64_t(state.iterations()) * kPixels * 4);
}
void BM_BoundReadSource(benchmark::State& state) { ReadOnce(state, static_cast<int>(state.range(0))); }
BENCHMARK(BM_BoundReadSource)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond)->UseRealTime();

// The arithmetic bound: the Lanczos3 shrink's multiply-adds (a multiply and an add
// each, in double precision, as the scaler does them) on values that stay in
// registers, on one core, in vectors of four doubles (AVX2) as the scaler's loops.
// (The empty asm statements keep each product a product of its own: the compiler may
// neither fuse it with its add nor lift it out of the loop.)
[[gnu::target("avx2")]] double MultiplyAdds(size_t vectors, double w) {
  typedef double TDouble __attribute__((vector_size(32)));
  constexpr int kChains = 8;  // independent sums, enough to hide the adder's latency
  TDouble a[kChains] = {}, x[kChains];
  for (int v = 0; v < kChains; ++v) x[v] = TDouble{1, 2, 3, 4} + v;
  TDouble wv = x[0] * 0 + w;
  for (size_t i = 0; i < vectors; i += kChains) {
    asm volatile("" : "+v"(wv));
#pragma GCC unroll 8
    for (int v = 0; v < kChains; ++v) {
      TDouble p = x[v] * wv;
      asm("" : "+v"(p));
      a[v] += p;
    }
  }
  double s = 0;
  for (int v = 0; v < kChains; ++v) s += a[v][0];
  return s;
}
void BM_BoundMultiplyAdds(benchmark::State& state) {
  const qz::TFilter& lanczos = qz::Filters[5];
  // Contributors per destination column and row: the filter's reach times the shrink
  // (five) on both sides, and the centre.
  const size_t taps = static_cast<size_t>(2 * lanczos.Support * 5 + 1);
  const size_t first = size_t{1500} * 400 * 3 * taps, second = size_t{300} * 400 * 3 * taps;
  for (auto _ : state) benchmark::DoNotOptimize(MultiplyAdds((first + second) / 4, 0.5));
  state.counters["multiply_adds"] = static_cast<double>(first + second);
}
BENCHMARK(BM_BoundMultiplyAdds)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
