// The export's costs: the colour reduction of a typical button (with the
// transparency mask the export passes; gif_bench has the large photo), the export's
// scale-and-write of a 400x100 GIF from a rendered button, and the whole export of a
// built design (render with mask, render again, scale, reduce, write).
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <unistd.h>

#include "PeakMemory.h"
#include "export/ExportImage.h"
#include "palette/ColorReduction.h"
#include "session/DesignSession.h"

namespace {

using namespace qz;

// A rendered button as the renderer leaves it: a shaded plate with a drop shadow on
// the page colour, and its mask (white under plate and shadow).
TRenderedButton MakeRenderedButton(int w, int h) {
  TRenderedButton b{TBitmap(w, h), TBitmap(w, h), {}, {w, h, 0, 0}};
  const double cx = w * 0.45, cy = h * 0.45, rx = w * 0.4, ry = h * 0.35;
  auto inside = [&](double x, double y) {
    const double u = (x - cx) / rx, v = (y - cy) / ry;
    return u * u + v * v <= 1.0;
  };
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      uint32_t p = RGBToPixel(255, 255, 255), m = 0;
      if (inside(x, y)) {
        const double shade = 0.5 + 0.5 * std::cos(3.0 * (x - cx) / rx) * (1.0 - (y - cy) / (2 * ry));
        p = RGBToPixel(uint32_t(240 * shade), uint32_t(120 * shade + 30), uint32_t(100 * shade + 20));
        m = 0xFFFFFF;
      } else if (inside(x - w / 40.0, y - h / 10.0)) {
        p = RGBToPixel(128, 128, 128);
        m = 0xFFFFFF;
      }
      b.Image.SetPixel(x, y, p);
      b.Mask.SetPixel(x, y, m);
    }
  return b;
}

void Reduce(benchmark::State& state, const TBitmap& image, const std::vector<uint8_t>* mask, TDitherMethod dither) {
  for (auto _ : state) benchmark::DoNotOptimize(MakeIndexedImage(image, TPaletteKind::Optimized, dither, 8, mask));
  state.SetItemsProcessed(state.iterations() * image.Width() * image.Height());
}

// The 160x40 button the export makes by default, marked as the export marks it.
struct TMarkedButton {
  TBitmap image;
  std::vector<uint8_t> mask;
};
const TMarkedButton& Button160() {
  static const TMarkedButton b = [] {
    TRenderedButton r = MakeRenderedButton(480, 120);
    TMarkedButton m{ScaleExportImage(r.Image, 160, 40), {}};
    m.mask = MarkTransparent(m.image, r.Mask);
    return m;
  }();
  return b;
}

void BM_Button160x40_OptimizedNone(benchmark::State& s) {
  Reduce(s, Button160().image, &Button160().mask, TDitherMethod::None);
}
void BM_Button160x40_OptimizedFloydSteinberg(benchmark::State& s) {
  Reduce(s, Button160().image, &Button160().mask, TDitherMethod::FloydSteinberg);
}
BENCHMARK(BM_Button160x40_OptimizedNone)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Button160x40_OptimizedFloydSteinberg)->Unit(benchmark::kMicrosecond);

// Scale, mark, reduce and write a 400x100 GIF from a 620x160 render (the size a
// rendered two-word button has).
void BM_WriteImage400x100Gif(benchmark::State& state) {
  static const TRenderedButton button = MakeRenderedButton(620, 160);
  const std::string path = "/tmp/quenzar-export-bench-" + std::to_string(::getpid()) + ".gif";
  TExportOptions options;
  uint64_t bytes = 0;
  for (auto _ : state) {
    TFileGroup files;
    bytes = WriteImage(button, 400, 100, options, path, files);
    files.Commit();
  }
  std::remove(path.c_str());
  state.counters["file_bytes"] = static_cast<double>(bytes);
}
BENCHMARK(BM_WriteImage400x100Gif)->Unit(benchmark::kMillisecond);

// "Click Here" in bold Arial on the default rounded button, built once; each round
// is what the export button does after that. Its peak resident size is the export's.
void BM_ExportButton400x100Gif(benchmark::State& state) {
  TNullMessageSink quiet;
  TNullProgressSink progress;
  TDesignSession session(QZ_PROGRAM_DIR, quiet, progress);
  TCharFormat bold;
  bold.Bold = true;
  TMessageText text;
  text.Append("Click Here", bold);
  session.Start(TParams(), text);
  session.Rebuild();
  const std::string path = "/tmp/quenzar-export-bench-" + std::to_string(::getpid()) + ".gif";
  TExportOptions options;
  uint64_t bytes = 0;
  int renderWidth = 0;
  const bench::TPeakResident peak;
  for (auto _ : state) {
    const std::optional<TRenderedButton> button = session.RenderForExport();
    renderWidth = button->Image.Width();
    TFileGroup files;
    bytes = WriteImage(*button, 400, 100, options, path, files);
    files.Commit();
  }
  std::remove(path.c_str());
  state.counters["file_bytes"] = static_cast<double>(bytes);
  state.counters["render_width"] = renderWidth;
  peak.Report(state);
}
BENCHMARK(BM_ExportButton400x100Gif)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
