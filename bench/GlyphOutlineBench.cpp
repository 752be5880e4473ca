// Reading the glyphs of a full 32-character message: the font engine (face lookup,
// unhinted load, records) and the glyph reader (parse, flatten) together.
#include <benchmark/benchmark.h>

#include "geometry/GlyphOutline.h"
#include "geometry/LetterLayout.h"
#include "platform/FontEngine.h"

namespace {

void ReadMessage(benchmark::State& state, const char* face) {
  const std::string message = "Quenzar buttons & headings 2024!";
  qz::TScene scene;
  scene.SplPnt = 3;
  for (auto _ : state) {
    qz::TFontEngine fonts;  // a new engine per build, as the build makes one
    scene.ClearLetters();
    scene.PenX = 0;
    for (char c : message) {
      fonts.SelectFont({face, 512, false, false, 0});
      qz::GetFontOutline(scene, fonts, static_cast<uint8_t>(c));
    }
    qz::NormalizeCoordinates(scene);
    benchmark::DoNotOptimize(scene.LetterCount);
  }
}

void BM_ReadMessageArial(benchmark::State& state) { ReadMessage(state, "Arial"); }
void BM_ReadMessageTimes(benchmark::State& state) { ReadMessage(state, "Times New Roman"); }

}  // namespace

BENCHMARK(BM_ReadMessageArial)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadMessageTimes)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
