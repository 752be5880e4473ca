// The whole pipeline as the designer runs it: Build (glyphs, letter and button bodies,
// texture fitting) and RenderScene, on default-looking designs. Target: build and
// render of a 12-character button under 5 ms.

#include <benchmark/benchmark.h>

#include <cmath>
#include <string>

#include "render/RenderDriver.h"
#include "scene/Build.h"

namespace qz {
namespace {

void SetMessage(TMessageText& text, const std::string& message) {
  text.Clear();
  text.Append(message, TCharFormat{});
}

// A procedural marble-like texture, 256 x 256.
TBitmap Marble() {
  TBitmap t(256, 256);
  for (int y = 0; y < 256; ++y)
    for (int x = 0; x < 256; ++x) {
      const double v = 0.5 + 0.5 * std::sin(x * 0.05 + 4 * std::sin(y * 0.03) + 2 * std::sin((x + y) * 0.01));
      t.SetPixel(x, y, RGBToPixel(static_cast<uint32_t>(120 + 120 * v), static_cast<uint32_t>(110 + 100 * v),
                                  static_cast<uint32_t>(100 + 60 * v)));
    }
  return t;
}

void BM_BuildAndRender12(benchmark::State& state) {
  TScene scene;
  TMessageText text;
  SetMessage(text, "Quenzar Demo");
  for (auto _ : state) {
    Build(scene, text);
    RenderScene(scene, false, false);
    benchmark::DoNotOptimize(scene.Image.Data());
  }
  state.counters["width"] = scene.Image.Width();
  state.counters["height"] = scene.Image.Height();
  state.counters["faces"] = scene.View.FaceCount();
}
BENCHMARK(BM_BuildAndRender12)->Unit(benchmark::kMillisecond);

void BM_BuildAndRender32ComplexTextured(benchmark::State& state) {
  TScene scene;
  scene.SplPnt = 3;
  TMessageText text;
  SetMessage(text, "Complex outlines, 32 characters!");
  const TBitmap marble = Marble();
  for (auto _ : state) {
    // Each rebuild starts from the file's picture, as after a texture is chosen.
    scene.View.SetButtonTexture(marble);
    Build(scene, text);
    RenderScene(scene, false, false);
    benchmark::DoNotOptimize(scene.Image.Data());
  }
  state.counters["width"] = scene.Image.Width();
  state.counters["height"] = scene.Image.Height();
  state.counters["faces"] = scene.View.FaceCount();
}
BENCHMARK(BM_BuildAndRender32ComplexTextured)->Unit(benchmark::kMillisecond);

// A light change: the bodies are kept, only the render runs.
void BM_RenderOnly12(benchmark::State& state) {
  TScene scene;
  TMessageText text;
  SetMessage(text, "Quenzar Demo");
  Build(scene, text);
  float a1 = 0.5f;
  for (auto _ : state) {
    a1 = a1 > 1.2f ? 0.4f : a1 + 0.01f;
    scene.SetLightAngles(a1, 0.3f);
    RenderScene(scene, false, false);
    benchmark::DoNotOptimize(scene.Image.Data());
  }
}
BENCHMARK(BM_RenderOnly12)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace qz

BENCHMARK_MAIN();
