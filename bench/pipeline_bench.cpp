// The whole pipeline as the designer runs it: Build (glyphs, letter and button bodies,
// texture fitting) and RenderScene, on the default design and on the installation's
// templates, and the re-render alone that a light or colour change asks for.
// Targets: build and render of a 12-character button under 5 ms, of a 32-character
// " Complex" design with a textured button under 10 ms, of each factory template with
// a texture under 8 ms. The textured rounds alternate the message between two lengths,
// so the picture (and the tile) changes size every round, as it does while a message
// is typed: the texture is fitted in every round, and no kept tile can hide it.

#include <benchmark/benchmark.h>

#include <memory>
#include <string>
#include <vector>

#include "BenchPictures.h"
#include "PeakMemory.h"
#include "render/RenderDriver.h"
#include "image/Resample.h"
#include "render/TextureTiles.h"
#include "scene/WorkFile.h"
#include "session/Build.h"
#include "session/TextureFiles.h"

namespace qz {
namespace {

// A design with what its builds make, as a session holds them.
struct TPipeline : TParams {
  TMessageText Text;
  TTextures Textures;
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
  qz::Build(scene, scene.Text, scene.Textures, scene.Built,
            {fonts, fonts, [&fonts](const TFontRequest& font) { fonts.SelectFont(font); }, TFolderList(scene.ShapesDir),
             scene.Quiet, scene.Progress});
}

void RenderScene(TPipeline& scene) {
  qz::RenderScene(scene.View, AsBuilt(scene, scene.Built.Figures), scene.Picture, false, scene.Progress, false);
}

constexpr const char* kShort = "Quenzar Demo";                      // 12 characters
constexpr const char* kLong = "Complex outlines, 32 characters!";  // 32 characters
constexpr const char* kLong31 = "Complex outlines, 32 characters";  // 31: one narrower picture

std::u32string Wide(const std::string& s) { return std::u32string(s.begin(), s.end()); }

// The default design with the message.
void Prepare(TPipeline& scene, const std::string& message) {
  scene.Text.Clear();
  scene.Text.Append(message, TCharFormat{});
}

// The 32-character design: " Complex" outlines (SplPnt 3) and a marble button.
void PrepareComplex(TPipeline& scene, const TBitmap& marble) {
  Prepare(scene, kLong);
  scene.SplPnt = 3;
  scene.Textures.Button = std::make_shared<const TBitmap>(marble);
}

void Report(benchmark::State& state, const TPipeline& scene) {
  state.counters["width"] = scene.Image.Width();
  state.counters["height"] = scene.Image.Height();
  state.counters["faces"] = scene.View.FaceCount();
}

// Build + render in a loop. With two messages, the rounds take them in turn (the
// picture changes size every round, and a texture is fitted to it every round).
void BuildAndRender(benchmark::State& state, TPipeline& scene, const std::vector<std::u32string>& messages = {}) {
  size_t round = 0;
  const bench::TPeakResident peak;
  for (auto _ : state) {
    if (!messages.empty()) ReplaceMessage(scene.Text, messages[round++ % messages.size()]);
    Build(scene);
    RenderScene(scene);
    benchmark::DoNotOptimize(scene.Image.Data());
  }
  Report(state, scene);
  peak.Report(state);
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
  BuildAndRender(state, scene);
}
BENCHMARK(BM_BuildAndRender12)->Unit(benchmark::kMillisecond);

// The 32-character design with its texture fitted in every round, the message 31 and
// 32 characters long in turn.
void BM_BuildAndRender32ComplexTextured(benchmark::State& state) {
  TPipeline scene;
  const TBitmap marble = bench::Marble();
  PrepareComplex(scene, marble);
  BuildAndRender(state, scene, {Wide(kLong31), Wide(kLong)});
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
  BuildAndRender(state, scene);
}
BENCHMARK(BM_RebuildAndRender32ComplexTextured)->Unit(benchmark::kMillisecond);

// A template loaded as the designer loads it, with its button or letter texture read
// from the installation's Textures folder.
bool LoadTemplate(benchmark::State& state, TPipeline& scene, const std::string& name) {
  const std::string dir = QZ_PROGRAM_DIR;
  scene.ShapesDir = dir + "BShapes/";
  if (!LoadWorkFile(dir + "Templates/" + name + ".qzpl", scene, scene.Text, scene.Quiet)) {
    state.SkipWithError("cannot load the template (build the quenzar_data target)");
    return false;
  }
  scene.SetLightAngles(scene.A1, scene.A2);
  const TFolderList textures(dir + "Textures/");
  if (auto found = FindTexture(scene.Button.TexFile, textures, scene.Quiet)) scene.Textures.Button = found->Picture;
  if (auto found = FindTexture(scene.Message.TexFile, textures, scene.Quiet)) scene.Textures.Text = found->Picture;
  return true;
}

// The Marble template (a shape-file button with a marble texture) with a 32-character
// message in " Complex" outlines, 31 and 32 characters in turn.
void BM_BuildAndRender32MarbleTemplate(benchmark::State& state) {
  TPipeline scene;
  if (!LoadTemplate(state, scene, "Marble")) return;
  scene.SplPnt = 3;
  BuildAndRender(state, scene, {Wide(kLong31), Wide(kLong)});
}
BENCHMARK(BM_BuildAndRender32MarbleTemplate)->Unit(benchmark::kMillisecond);

// Each factory template with a texture, as installed, its own message and the same
// without its last character in turn, the textures fitted every round.
void BuildAndRenderTemplate(benchmark::State& state, const std::string& name) {
  TPipeline scene;
  if (!LoadTemplate(state, scene, name)) return;
  const std::u32string own = scene.Text.CodePoints();
  size_t round = 0;
  const bench::TPeakResident peak;
  for (auto _ : state) {
    ReplaceMessage(scene.Text, round++ % 2 ? own : own.substr(0, own.size() - 1));
    Build(scene);
    RenderScene(scene);
    benchmark::DoNotOptimize(scene.Image.Data());
  }
  Report(state, scene);
  peak.Report(state);
}

const bool kTemplatesRegistered = [] {
  for (const char* name : {"Carbon", "Granite", "Marble", "Oak", "Ocean", "Paper", "Sale", "Steel"})
    benchmark::RegisterBenchmark((std::string("BM_BuildAndRenderTemplate/") + name).c_str(),
                                 [name](benchmark::State& state) { BuildAndRenderTemplate(state, name); })
        ->Unit(benchmark::kMillisecond);
  return true;
}();

// The texture fit alone (the build's " Resizing textures ..." stage) of the
// 32-character design, the picture 31 and 32 characters wide in turn.
void BM_FitTexture32Complex(benchmark::State& state) {
  const TTexturePicture marble = std::make_shared<const TBitmap>(bench::Marble());
  std::vector<TPipeline> sized(2);
  for (size_t i = 0; i < 2; ++i) {
    Prepare(sized[i], i ? kLong : kLong31);
    sized[i].SplPnt = 3;
    Build(sized[i]);
  }
  size_t round = 0;
  const bench::TPeakResident peak;
  for (auto _ : state) {
    TPipeline& s = sized[round++ % 2];
    s.View.ButtonFittedFrom = nullptr;  // each picture has a view of its own: no kept tile
    ResizeTextures(s.View, s, nullptr, marble);
    benchmark::DoNotOptimize(s.View.ButtonTexture.Data());
  }
  peak.Report(state);
  state.counters["tile_width"] = sized[1].View.ButtonTexture.Width();
  state.counters["tile_height"] = sized[1].View.ButtonTexture.Height();
}
BENCHMARK(BM_FitTexture32Complex)->Unit(benchmark::kMillisecond);

// The largest tile the limits allow (a picture of MaxRenderPixels with counts of a
// quarter: a tile of MaxRenderPixels), fitted from the largest texture the decoding
// budget lets through (4096 x 4096): it must fit in memory, and its peak shows how much.
void BM_FitLargestTile(benchmark::State& state) {
  const TTileSize size = TextureTileSize(8000, 8000, 0.25f, 0.25f);
  const TBitmap texture = bench::RingsAndChecks(4096, 4096);
  const bench::TPeakResident peak;
  for (auto _ : state) {
    TBitmap tile(size.Width, size.Height);
    ResampleImage(texture, tile, SplineFilter, 2.0);
    benchmark::DoNotOptimize(tile.Data());
  }
  peak.Report(state);
  state.counters["tile_width"] = size.Width;
  state.counters["tile_height"] = size.Height;
}
BENCHMARK(BM_FitLargestTile)->Unit(benchmark::kMillisecond)->Iterations(1);

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
