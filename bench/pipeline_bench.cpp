// The whole pipeline as the designer runs it: Build (glyphs, letter and button bodies,
// texture fitting) and RenderScene, on the default design and on the installation's
// Marble template, and the re-render alone that a light or colour change asks for.
// Targets: build and render of a 12-character button under 5 ms, of a 32-character
// " Complex" design with a textured button under 15 ms.

#include <benchmark/benchmark.h>

#include <string>

#include "BenchPictures.h"
#include "render/RenderDriver.h"
#include "scene/WorkFile.h"
#include "session/Build.h"
#include "session/TextureFiles.h"

namespace qz {
namespace {

// A design with what its builds make, as a session holds them.
struct TPipeline : TParams {
  TMessageText Text;
  TBuiltDesign Built;
  TPicture Picture;
  std::string ShapesDir;
  TNullMessageSink Quiet;
  TNullProgressSink Progress;
  TView3D& View = Built.View;
  const TBitmap& Image = Picture.Image;
};

// A build as the session runs it: a font engine of its own.
void Build(TPipeline& scene) {
  TFontEngine fonts;
  qz::Build(scene, scene.Text, scene.Built,
            {fonts, fonts, [&fonts](const TFontRequest& font) { fonts.SelectFont(font); }, TFolderList(scene.ShapesDir),
             scene.Quiet, scene.Progress});
}

void RenderScene(TPipeline& scene) { qz::RenderScene(scene.View, scene, scene.Picture, false, scene.Progress, false); }

constexpr const char* kShort = "Quenzar Demo";                      // 12 characters
constexpr const char* kLong = "Complex outlines, 32 characters!";  // 32 characters

// The default design with the message.
void Prepare(TPipeline& scene, const std::string& message) {
  scene.Text.Clear();
  scene.Text.Append(message, TCharFormat{});
}

// The 32-character design: " Complex" outlines (SplPnt 3) and a marble button.
void PrepareComplex(TPipeline& scene, const TBitmap& marble) {
  Prepare(scene, kLong);
  scene.SplPnt = 3;
  scene.View.SetButtonTexture(marble);
}

void Report(benchmark::State& state, const TPipeline& scene) {
  state.counters["width"] = scene.Image.Width();
  state.counters["height"] = scene.Image.Height();
  state.counters["faces"] = scene.View.FaceCount();
}

// Build + render in a loop. With refit, every build starts from that picture, as after
// a texture is chosen, so the texture is fitted to the picture again each time.
void BuildAndRender(benchmark::State& state, TPipeline& scene, const TBitmap* refit) {
  for (auto _ : state) {
    if (refit) scene.View.SetButtonTexture(*refit);
    Build(scene);
    RenderScene(scene);
    benchmark::DoNotOptimize(scene.Image.Data());
  }
  Report(state, scene);
  if (scene.View.ButtonTextured) {
    state.counters["tile_width"] = scene.View.ButtonTexture.Width();
    state.counters["tile_height"] = scene.View.ButtonTexture.Height();
  }
}

// A light change on a built scene: the bodies are kept, only the render runs.
void LightChanges(benchmark::State& state, TPipeline& scene) {
  float a1 = 0.5f;
  for (auto _ : state) {
    a1 = a1 > 1.2f ? 0.4f : a1 + 0.01f;
    scene.SetLightAngles(a1, 0.3f);
    RenderScene(scene);
    benchmark::DoNotOptimize(scene.Image.Data());
  }
  Report(state, scene);
}

void BM_BuildAndRender12(benchmark::State& state) {
  TPipeline scene;
  Prepare(scene, kShort);
  BuildAndRender(state, scene, nullptr);
}
BENCHMARK(BM_BuildAndRender12)->Unit(benchmark::kMillisecond);

void BM_BuildAndRender32ComplexTextured(benchmark::State& state) {
  TPipeline scene;
  const TBitmap marble = bench::Marble();
  PrepareComplex(scene, marble);
  BuildAndRender(state, scene, &marble);
}
BENCHMARK(BM_BuildAndRender32ComplexTextured)->Unit(benchmark::kMillisecond);

// The same design rebuilt with its tile already fitted: what every rebuild after the
// first costs while the picture keeps its size (the tile is fitted again only when the
// size changes).
void BM_RebuildAndRender32ComplexTextured(benchmark::State& state) {
  TPipeline scene;
  const TBitmap marble = bench::Marble();
  PrepareComplex(scene, marble);
  Build(scene);
  BuildAndRender(state, scene, nullptr);
}
BENCHMARK(BM_RebuildAndRender32ComplexTextured)->Unit(benchmark::kMillisecond);

// The Marble template (a shape-file button with a marble texture) with a 32-character
// message in " Complex" outlines, loaded as the designer loads it.
bool LoadMarble(benchmark::State& state, TPipeline& scene, TBitmap& texture) {
  const std::string dir = QZ_PROGRAM_DIR;
  scene.ShapesDir = dir + "BShapes/";
  if (!LoadWorkFile(dir + "Templates/Marble.qzpl", scene, scene.Text, scene.Quiet)) {
    state.SkipWithError("cannot load Templates/Marble.qzpl (build the quenzar_data target)");
    return false;
  }
  scene.SetLightAngles(scene.a1, scene.a2);
  ReplaceMessage(scene.Text, std::u32string(kLong, kLong + std::char_traits<char>::length(kLong)));
  scene.SplPnt = 3;
  LoadButtonTexture(scene, scene.View, TFolderList(dir + "Textures/"), scene.Quiet);
  texture = scene.View.ButtonTexture;
  return scene.View.ButtonTextured;
}

void BM_BuildAndRender32MarbleTemplate(benchmark::State& state) {
  TPipeline scene;
  TBitmap texture;
  if (!LoadMarble(state, scene, texture)) return;
  BuildAndRender(state, scene, &texture);
}
BENCHMARK(BM_BuildAndRender32MarbleTemplate)->Unit(benchmark::kMillisecond);

void BM_RenderOnlyLight12(benchmark::State& state) {
  TPipeline scene;
  Prepare(scene, kShort);
  Build(scene);
  LightChanges(state, scene);
}
BENCHMARK(BM_RenderOnlyLight12)->Unit(benchmark::kMillisecond);

// A colour change: the picture rendered again (with its ramps made anew).
void BM_RenderOnlyColor12(benchmark::State& state) {
  TPipeline scene;
  Prepare(scene, kShort);
  Build(scene);
  uint32_t green = 0;
  for (auto _ : state) {
    green = (green + 7) & 0xFF;
    scene.Button.MColor = RGBToColor(255, green, 128);
    RenderScene(scene);
    benchmark::DoNotOptimize(scene.Image.Data());
  }
  Report(state, scene);
}
BENCHMARK(BM_RenderOnlyColor12)->Unit(benchmark::kMillisecond);

void BM_RenderOnlyLight32ComplexTextured(benchmark::State& state) {
  TPipeline scene;
  const TBitmap marble = bench::Marble();
  PrepareComplex(scene, marble);
  Build(scene);
  LightChanges(state, scene);
}
BENCHMARK(BM_RenderOnlyLight32ComplexTextured)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace qz

BENCHMARK_MAIN();
