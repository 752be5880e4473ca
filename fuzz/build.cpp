// Fuzz target: a work loaded, built and rendered as the command-line tool does it:
// the textures and shape file the work names (found in a program folder of small
// files made at start, some of them damaged), its letters from canned glyphs in the
// size each character asks for (laid out by the 8-bit rules or, with Shaping=1, in
// runs put in visual order by the bidirectional algorithm), the button body, one
// picture.
//
// Whatever the bytes, the run ends in a picture within the image bounds with the
// view within its capacities, or in a refusal with a message (a refused version, an
// unreadable shape file, a picture too large); never a crash or another exception.
#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <stdexcept>
#include <string>

#include "FuzzKit.h"
#include "geometry/ButShape.h"
#include "image/formats/GifWriter.h"
#include "image/formats/BmpWriter.h"
#include "text/FontEngine.h"
#include "image/formats/JpegWriter.h"
#include "render/RenderDriver.h"
#include "scene/MessageText.h"
#include "scene/WorkFile.h"
#include "session/Build.h"
#include "session/TextureFiles.h"
#include "support/GlyphRecordsKit.h"

namespace {

using namespace qz;
using test::FXi;

// Glyphs without a font: for a size the engine accepts, a frame with a curved corner
// around a hole, as large as the em; a blank has no outline. Sizes the engine refuses
// (an em outside 1..65535, or a glyph reaching 32768 pixels) are refused here too.
// Characters beyond the Basic Multilingual Plane have no face (a blank of the default
// glyph's width), CJK ideographs come from a fallback face, the rest from their own;
// shaping gives one glyph per character, right to left in reverse, a combining mark
// without advance.
class TCannedGlyphs : public IGlyphSource, public ITextFonts {
 public:
  void Select(const TFontRequest& font) { em_ = TFontEngine::MulDiv(font.Size, 96, 72); }

  uint32_t GetGlyphOutline(uint8_t code, TGlyphMetrics& metrics, uint32_t bufferSize, uint8_t* buffer) override {
    const int32_t em = std::max(em_, 1);
    if (em > 65535 || em * 7 / 10 >= 32768) return GDI_ERROR;
    std::vector<uint8_t> records;
    if (code != ' ') {
      const int32_t w = em * 6 / 10, h = em * 7 / 10, t = std::max(em / 10, 1);
      test::TRecordBuilder b;
      b.Polygon(FXi(0, 0)).Line({FXi(w, 0), FXi(w, h - t)}).Spline({FXi(w, h), FXi(w - t, h)}).Line({FXi(0, h)});
      if (code % 2) b.Polygon(FXi(t, t)).Line({FXi(t, h - t), FXi(w - t, h - t), FXi(w - t, t)});
      records = b.Bytes();
    }
    metrics = TGlyphMetrics{};
    metrics.gmCellIncX = static_cast<int16_t>(std::min(em * 7 / 10, 32767));
    const auto size = static_cast<uint32_t>(records.size());
    if (bufferSize == 0) return size;
    if (bufferSize < size || !buffer) return GDI_ERROR;
    std::copy(records.begin(), records.end(), buffer);
    return size;
  }
  uint32_t GetGlyphOutlineOfIndex(uint32_t glyph, TGlyphMetrics& metrics, uint32_t bufferSize,
                                  uint8_t* buffer) override {
    return GetGlyphOutline(static_cast<uint8_t>(glyph), metrics, bufferSize, buffer);
  }

  TCharFace FaceFor(const TFontRequest&, char32_t u) override {
    if (u >= 0x10000) return {TCharFace::None, {}, 0};
    if (u >= 0x4E00 && u <= 0x9FFF) return {TCharFace::Fallback, {true, "Canned Fallback", "canned.ttf", 0, false, false}, u};
    return {TCharFace::Own, {}, u};
  }
  TShapedRun Shape(const TFontRequest& font, std::u32string_view text, size_t start, size_t length,
                   bool rightToLeft) override {
    TShapedRun run;
    run.Joined = rightToLeft;
    const int32_t advance = std::min(std::max(TFontEngine::MulDiv(font.Size, 96, 72), 1), 65535) * 7 / 10 * 64;
    for (size_t i = start; i < start + length; ++i) {
      const bool mark = text[i] >= 0x300 && text[i] <= 0x36F;
      run.Glyphs.push_back({text[i], static_cast<uint32_t>(i), mark ? 0 : advance, mark ? -advance / 2 : 0, 0});
    }
    if (rightToLeft) std::reverse(run.Glyphs.begin(), run.Glyphs.end());
    return run;
  }

 private:
  int32_t em_ = 683;
};

// The program folder: the installation's shapes and textures (which the templates
// name), those the seeds name, and damaged ones.
const std::string& ProgramDir() {
  static const std::string* const dir = [] {
    auto* d = new std::string(fuzz::ScratchDir() + "program/");
    std::filesystem::create_directories(*d + "BShapes");
    std::filesystem::create_directories(*d + "Textures");
    std::error_code ec;
    for (const char* folder : {"BShapes", "Textures"})
      std::filesystem::copy(std::string(QZ_SOURCE_DIR) + "/data/" + folder, *d + folder, ec);
    TButShape star;
    star.Frame = {-50, 50, 50, -50};
    star.PointCount = 6;
    const TShapePoint points[] = {{1, -50, 0}, {0, -50, 50}, {1, 0, 50}, {1, 50, 0}, {0, 0, -80}, {1, -20, -40}};
    for (int i = 0; i < 6; ++i) star.Points[i + 1] = points[i];
    star.SaveToFile(*d + "BShapes/star.qzkh");
    fuzz::WriteScratch("program/BShapes/torn.qzkh", std::string(20, '\0'));

    TBitmap picture(12, 8);
    for (int y = 0; y < 8; ++y)
      for (int x = 0; x < 12; ++x) picture.SetPixel(x, y, RGBToPixel(x * 20, y * 30, 90));
    WriteJpeg(*d + "Textures/wood.jpg", picture, 75);
    WriteBmp24(*d + "Textures/stone.bmp", picture);
    TIndexedImage indexed;
    indexed.width = 4;
    indexed.height = 4;
    indexed.palette = {{255, 0, 0}, {0, 255, 0}};
    indexed.usedSize = 2;
    indexed.pixels = {0, 1, 0, 1, 1, 0, 1, 0, 0, 1, 0, 1, 1, 0, 1, 0};
    WriteGifFile(*d + "Textures/marble.gif", indexed);
    fuzz::WriteScratch("program/Textures/broken.jpg", std::string("\xFF\xD8\xFF", 3));
    return d;
  }();
  return *dir;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string program = ProgramDir();
  const std::string path = fuzz::WriteScratch("build.qznr", data, size);
  TNullMessageSink quiet;
  TNullProgressSink progress;
  TParams params;
  TMessageText message;
  if (!LoadWorkFile(path, params, message, quiet)) return 0;
  params.SetLightAngles(params.A1, params.A2);
  TBuiltDesign built;
  TTextures textures;
  const TFolderList textureFolders(program + "Textures/");
  if (auto found = FindTexture(params.Message.TexFile, textureFolders, quiet)) textures.Text = found->Picture;
  if (auto found = FindTexture(params.Button.TexFile, textureFolders, quiet)) textures.Button = found->Picture;

  TCannedGlyphs glyphs;
  TPicture picture;
  try {
    Build(params, message, textures, built,
          {glyphs, glyphs, [&](const TFontRequest& font) { glyphs.Select(font); }, TFolderList(program + "BShapes/"),
           quiet, progress});
    RenderScene(built.View, AsBuilt(params, built.Figures), picture, true, progress, false);
  } catch (const std::runtime_error& e) {
    if (std::string(e.what()).empty()) fuzz::Broken("a refusal without a message");
    return 0;
  }

  const int64_t w = picture.Image.Width(), h = picture.Image.Height();
  if (w < 1 || h < 1 || w > MaxRenderSide || h > MaxRenderSide || w * h > MaxRenderPixels)
    fuzz::Broken("a picture of " + std::to_string(w) + " x " + std::to_string(h));
  if (picture.Mask.Width() != w || picture.Mask.Height() != h) fuzz::Broken("a mask of another size than the picture");
  const TView3D& view = built.View;
  if (view.BodyCount() > TView3D::MaxBodies) fuzz::Broken("too many bodies");
  for (int b = 1; b <= view.BodyCount(); ++b)
    if (view.Body(b).FaceCount() > TBody::MaxFaces || view.Body(b).VertexCount() > TBody::MaxVertices)
      fuzz::Broken("a body beyond its capacities");
  return 0;
}
