// Reading texture files at the edge of what their decoding may cost: a JPEG of exactly
// the work allowed (4096 x 4096 pixels in one scan), one just beyond it (read at half
// its size), the hostile progressive file of a thousand scans over 16384 x 4096 pixels
// (refused from its markers alone), and a GIF of the most pixels allowed. The worst
// case the budget lets through is the first: what any texture file can cost at most.
#include <benchmark/benchmark.h>

#include <vector>

#include "BenchPictures.h"
#include "image/formats/GifReader.h"
#include "image/formats/GifWriter.h"
#include "image/ImageLimits.h"
#include "image/formats/JpegReader.h"
#include "image/formats/JpegWriter.h"

namespace qz {
namespace {

void DecodeJpegOf(benchmark::State& state, int side) {
  const std::vector<uint8_t> file = EncodeJpeg(bench::PhotoLike(side, side), 90);
  int width = 0;
  for (auto _ : state) width = DecodeJpeg(file).Width();
  state.counters["decoded_width"] = width;
}

void BM_DecodeJpegAtTheBudget(benchmark::State& state) { DecodeJpegOf(state, 4096); }
BENCHMARK(BM_DecodeJpegAtTheBudget)->Unit(benchmark::kMillisecond);

void BM_DecodeJpegBeyondTheBudgetAtHalfSize(benchmark::State& state) { DecodeJpegOf(state, 4100); }
BENCHMARK(BM_DecodeJpegBeyondTheBudgetAtHalfSize)->Unit(benchmark::kMillisecond);

void BM_RefuseAThousandScans(benchmark::State& state) {
  std::vector<uint8_t> file = {0xFF, 0xD8, 0xFF, 0xC2, 0, 11, 8, 0x10, 0x00, 0x40, 0x00, 1, 1, 0x11, 0};
  for (int i = 0; i < 1000; ++i) file.insert(file.end(), {0xFF, 0xDA, 0, 8, 1, 1, 0, 1, 1, 0x10, 0x12, 0xFF, 0x00});
  file.insert(file.end(), {0xFF, 0xD9});
  for (auto _ : state) {
    try {
      DecodeJpeg(file);
    } catch (const TImageError&) {
    }
  }
}
BENCHMARK(BM_RefuseAThousandScans)->Unit(benchmark::kMicrosecond);

void BM_DecodeGifAtTheBudget(benchmark::State& state) {
  TIndexedImage image;
  image.width = image.height = 4096;
  image.palette = {{0, 0, 0}, {255, 255, 255}};
  image.usedSize = 2;
  image.pixels.resize(size_t{4096} * 4096);
  for (size_t i = 0; i < image.pixels.size(); ++i) image.pixels[i] = static_cast<uint8_t>((i / 7 + i / 4096 / 3) % 2);
  const std::vector<uint8_t> file = EncodeGif(image);
  for (auto _ : state) benchmark::DoNotOptimize(DecodeGif(file, "budget.gif").Width());
}
BENCHMARK(BM_DecodeGifAtTheBudget)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace qz

BENCHMARK_MAIN();
