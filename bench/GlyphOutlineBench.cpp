// Reading the glyphs of a full 32-character message: the font engine (face lookup,
// unhinted load, records) and the glyph reader (parse, flatten) together.
#include <benchmark/benchmark.h>

#include "geometry/GlyphOutline.h"
#include "geometry/LetterLayout.h"
#include "text/FontEngine.h"

namespace {

void ReadMessage(benchmark::State& state, const char* face) {
  const std::string message = "Quenzar buttons & headings 2024!";
  qz::TLetters letters;
  qz::TNullMessageSink quiet;
  for (auto _ : state) {
    qz::TFontEngine fonts;  // a new engine per build, as the build makes one
    letters.Clear();
    qz::TGlyphReader reader(letters, 3, 10, quiet);
    for (char c : message) {
      fonts.SelectFont({face, 512, false, false, 0});
      reader.GetFontOutline(fonts, static_cast<uint8_t>(c));
    }
    qz::NormalizeCoordinates(letters);
    benchmark::DoNotOptimize(letters.Count());
  }
}

void BM_ReadMessageArial(benchmark::State& state) { ReadMessage(state, "Arial"); }
void BM_ReadMessageTimes(benchmark::State& state) { ReadMessage(state, "Times New Roman"); }

}  // namespace

BENCHMARK(BM_ReadMessageArial)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadMessageTimes)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
