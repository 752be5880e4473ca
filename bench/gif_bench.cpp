// Colour reduction and GIF writing of an 800x600 photo-like picture: the export's
// GIF path for a large button.
#include <benchmark/benchmark.h>

#include <cmath>

#include "gif/ColorReduction.h"
#include "gif/GifWriter.h"

namespace {

using namespace qz;

// Smooth colour fields, a shaded ball and a little grain (many colours, gentle
// gradients, some edges), as in the tests.
TBitmap MakePhotoLike(int width, int height) {
  TBitmap b(width, height);
  uint32_t seed = 12345;
  double cx = width * 0.62, cy = height * 0.4, radius = std::min(width, height) * 0.27;
  auto clamp = [](double c) { return static_cast<uint32_t>(std::lround(std::min(255.0, std::max(0.0, c)))); };
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      double u = double(x) / width, v = double(y) / height;
      double r = 90 + 80 * v + 40 * std::sin(7 * u + 3 * v);
      double g = 120 + 60 * std::sin(5 * v - 2 * u) - 30 * u;
      double bl = 200 - 150 * v + 30 * std::cos(9 * u);
      double d = std::hypot(x - cx, y - cy) / radius;
      if (d < 1) {
        double shade = 0.35 + 0.65 * std::sqrt(1 - d * d) * (1 - 0.4 * (x - cx + y - cy) / radius);
        r = 250 * shade, g = 170 * shade, bl = 60 * shade;
      }
      seed = seed * 1664525u + 1013904223u;
      int grain = static_cast<int>(seed >> 28) % 9 - 4;
      b.SetPixel(x, y, RGBToPixel(clamp(r + grain), clamp(g + grain), clamp(bl + grain)));
    }
  return b;
}

const TBitmap& Photo() {
  static const TBitmap photo = MakePhotoLike(800, 600);
  return photo;
}

void Reduce(benchmark::State& state, TPaletteKind kind, TDitherMethod dither) {
  const TBitmap& photo = Photo();
  for (auto _ : state) benchmark::DoNotOptimize(MakeIndexedImage(photo, kind, dither, 8));
  state.SetItemsProcessed(state.iterations() * photo.Width() * photo.Height());
}

void BM_OptimizedNone(benchmark::State& s) { Reduce(s, TPaletteKind::Optimized, TDitherMethod::None); }
void BM_OptimizedFloydSteinberg(benchmark::State& s) { Reduce(s, TPaletteKind::Optimized, TDitherMethod::FloydSteinberg); }
void BM_OptimizedStevensonArce(benchmark::State& s) { Reduce(s, TPaletteKind::Optimized, TDitherMethod::StevensonArce); }
void BM_NetscapeNone(benchmark::State& s) { Reduce(s, TPaletteKind::Netscape, TDitherMethod::None); }
void BM_NetscapeFloydSteinberg(benchmark::State& s) { Reduce(s, TPaletteKind::Netscape, TDitherMethod::FloydSteinberg); }
BENCHMARK(BM_OptimizedNone)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OptimizedFloydSteinberg)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OptimizedStevensonArce)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_NetscapeNone)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_NetscapeFloydSteinberg)->Unit(benchmark::kMillisecond);

// The writer on what the reduction gives: a dithered photo (short runs) and a plain
// button-like picture (long runs).
void Write(benchmark::State& state, const TIndexedImage& frame) {
  size_t bytes = 0;
  for (auto _ : state) {
    std::vector<uint8_t> gif = EncodeGif(frame);
    bytes = gif.size();
    benchmark::DoNotOptimize(gif.data());
  }
  state.SetItemsProcessed(state.iterations() * frame.width * frame.height);
  state.counters["file_bytes"] = static_cast<double>(bytes);
}

void BM_WriteDitheredPhoto(benchmark::State& s) {
  static const TIndexedImage frame =
      MakeIndexedImage(Photo(), TPaletteKind::Optimized, TDitherMethod::FloydSteinberg, 8);
  Write(s, frame);
}
void BM_WritePlainPhoto(benchmark::State& s) {
  static const TIndexedImage frame = MakeIndexedImage(Photo(), TPaletteKind::Optimized, TDitherMethod::None, 4);
  Write(s, frame);
}
void BM_WriteFlatButton(benchmark::State& s) {
  TBitmap button(800, 600);
  button.Fill(RGBToPixel(255, 0, 255));
  button.FillRect(100, 100, 700, 500, RGBToPixel(40, 90, 200));
  static const TIndexedImage frame = MakeIndexedImage(button, TPaletteKind::Optimized, TDitherMethod::None, 8);
  Write(s, frame);
}
BENCHMARK(BM_WriteDitheredPhoto)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WritePlainPhoto)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WriteFlatButton)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
