// Colour reduction and GIF writing of an 800x600 photo-like picture: the export's
// GIF path for a large button.
#include <benchmark/benchmark.h>

#include "BenchPictures.h"
#include "palette/ColorReduction.h"
#include "image/formats/GifWriter.h"

namespace {

using namespace qz;

const TBitmap& Photo() {
  static const TBitmap photo = bench::PhotoLike(800, 600);
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
