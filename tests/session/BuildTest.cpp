#include "session/Build.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <stdexcept>

#include "support/GlyphRecordsKit.h"
#include "support/HostileInput.h"
#include "support/MessageCollector.h"
#include "support/TempDir.h"

namespace qz {
namespace {

using test::FXi;

// Every character but the blank is a 10 x 10 square; the blank has no outline. Each
// font has every character, its glyph index being its code point.
class TSquareGlyphs : public IGlyphSource, public ITextFonts {
 public:
  uint32_t GetGlyphOutline(uint8_t code, TGlyphMetrics& m, uint32_t bufferSize, uint8_t* buffer) override {
    Codes.push_back(code);
    return GetGlyphOutlineOfIndex(code, m, bufferSize, buffer);
  }
  uint32_t GetGlyphOutlineOfIndex(uint32_t glyph, TGlyphMetrics& m, uint32_t bufferSize, uint8_t* buffer) override {
    m.gmCellIncX = 12;
    if (glyph == FailOn) return GDI_ERROR;
    if (glyph == ' ') return 0;
    const std::vector<uint8_t> block =
        test::TRecordBuilder().Polygon(FXi(0, 10)).Line({FXi(10, 10), FXi(10, 0), FXi(0, 0), FXi(0, 10)}).Bytes();
    if (bufferSize != 0 && bufferSize < block.size()) return GDI_ERROR;
    if (bufferSize != 0) std::copy(block.begin(), block.end(), buffer);
    return static_cast<uint32_t>(block.size());
  }
  TCharFace FaceFor(const TFontRequest&, char32_t u) override { return {TCharFace::Own, {}, u}; }
  TShapedRun Shape(const TFontRequest&, std::u32string_view text, size_t start, size_t length, bool) override {
    TShapedRun run;
    for (size_t i = start; i < start + length; ++i) run.Glyphs.push_back({text[i], static_cast<uint32_t>(i), 12 * 64, 0, 0});
    return run;
  }
  std::vector<uint8_t> Codes;
  uint32_t FailOn = 0;  // the glyph (its code or code point) the engine refuses
};

struct Build_ : ::testing::Test {
  void Run(const std::string& message) {
    text.Clear();
    text.Append(message, TCharFormat{});
    Build();
  }
  void Build() {
    qz::Build(scene, text, TTextures{}, built,
              {glyphs, glyphs, [this](const TFontRequest& f) { fonts.push_back(f); }, TFolderList(shapesDir), messages,
               log});
  }
  TParams scene;
  TMessageText text;
  TBuiltDesign built;
  std::string shapesDir;
  TSquareGlyphs glyphs;
  test::TMessageCollector messages;
  test::TProgressLog log;
  std::vector<TFontRequest> fonts;
};

TEST_F(Build_, StatusTextsAndProgressOfEveryStage) {
  scene.Type = 2;
  Run("ab");
  EXPECT_EQ(log.Events, (std::vector<std::string>{" Reallocating memory ...", "*", "2", " Getting font outline ...", "*",
                                                  " Normalizing coordinates ...", "*", "15", " Transforming letters ...",
                                                  "*", "17", "20", " Making button ...", "*", "23",
                                                  " Resizing textures ...", "*", "30"}));
  EXPECT_EQ(built.View.BodyCount(), 3);  // two letters, then the button
  log.Events.clear();
  scene.Type = 0;  // a heading: no button stage
  Run("ab");
  EXPECT_EQ(log.Events.size(), 15u);
  EXPECT_EQ(std::count(log.Events.begin(), log.Events.end(), " Making button ..."), 0);
  EXPECT_EQ(built.View.BodyCount(), 2);
}

TEST_F(Build_, AtMost32Characters) {
  text.Append(std::string(40, 'x'), TCharFormat{});
  Build();
  EXPECT_EQ(built.Letters.Count(), 32);
  EXPECT_EQ(built.View.BodyCount(), 33);
  EXPECT_EQ(text.Length(), 40);  // the rest stays in the message
}

// A glyph the font engine refuses is left out, and the message says which.
TEST_F(Build_, AGlyphErrorNamesTheLetterItsFontAndSize) {
  glyphs.FailOn = 'b';
  text.Append("a", TCharFormat{});
  text.Append("b", TCharFormat{"Times New Roman", 1000, 0, false, false, false});
  text.Append("\xE9", TCharFormat{});
  glyphs.FailOn = 0xE9;
  Build();
  glyphs.FailOn = 'b';
  Build();
  EXPECT_EQ(messages.Texts, (std::vector<std::string>{
                                "ERROR: Cannot obtain Size of the Glyph (letter 3, code 233 in Arial at 18 points)",
                                "ERROR: Cannot obtain Size of the Glyph (letter 2, 'b' in Times New Roman at 1000 points)"}));
  EXPECT_EQ(built.Letters.Count(), 2);
}

// A character outside every code page is named by its code point, laid out one glyph
// per character or shaped alike.
TEST_F(Build_, AGlyphErrorNamesACharacterOfAnyScriptByItsCodePoint) {
  text.Append("a", TCharFormat{});
  text.Append(TMessageText::MakeChar(U'\u05D0', TCharFormat{"Times New Roman", 24, 1, false, false, false}));
  text.Append("b", TCharFormat{});
  glyphs.FailOn = 0x5D0;
  for (bool shaping : {false, true}) {
    scene.Shaping = shaping;
    messages.Texts.clear();
    Build();
    const std::string expected =
        "ERROR: Cannot obtain Size of the Glyph (letter 2, U+05D0 in Times New Roman at 24 points)";
    EXPECT_EQ(messages.Texts, std::vector<std::string>{expected}) << (shaping ? "shaped" : "8-bit");
    EXPECT_EQ(built.Letters.Count(), 2);
  }
}

// What the build computes it returns, and leaves the design as it was: the camera at
// Distance, the button's rectangle (the held one when the design holds its size).
TEST_F(Build_, BlanksOnAButtonAreBuiltAroundTheOriginAndTheDesignIsLeftAlone) {
  scene.Type = 1;
  scene.GutLeft = scene.GutRight = 20;
  scene.GutTop = scene.GutBottom = 10;
  scene.Distance = 1200;
  const TParams before = scene;
  Run("   ");
  EXPECT_EQ(scene, before);
  EXPECT_EQ(built.View.BodyCount(), 4);
  const TBuildFigures& f = built.Figures;
  EXPECT_TRUE(f.HasButton);
  EXPECT_EQ(f.Button, (TButtonRect{-21, 11, 21, -11}));
  EXPECT_EQ(f.CameraY, 1200.0f);
  const TParams drawn = AsBuilt(scene, f);
  EXPECT_EQ((std::vector<int>{drawn.ButLeft, drawn.ButTop, drawn.ButRight, drawn.ButBottom}),
            (std::vector<int>{-21, 11, 21, -11}));
  EXPECT_EQ(drawn.Render.Y, 1200.0f);

  scene.HoldButtonSize = true;
  scene.ButLeft = -50, scene.ButTop = 30, scene.ButRight = 50, scene.ButBottom = -30;
  Run("   ");
  EXPECT_EQ(built.Figures.Button, (TButtonRect{-50, 30, 50, -30}));
  scene.Type = 0;  // a heading: no rectangle
  Run("ab");
  EXPECT_FALSE(built.Figures.HasButton);
  EXPECT_EQ(AsBuilt(scene, built.Figures).ButLeft, -50);
}

TEST_F(Build_, AnUnreadableShapeFileAbandonsTheRestOfTheBuild) {
  test::TTempDir dir;
  std::filesystem::create_directories(dir.File("BShapes"));
  test::WriteText(dir.File("BShapes/torn.qzkh"), "QZ");
  shapesDir = dir.File("BShapes/");
  scene.Type = TButtonType::ShapeFile;
  scene.ShapeName = "torn.qzkh";
  const std::string error = test::ErrorOf([&] { Run("ab"); });
  EXPECT_NE(error.find("torn.qzkh"), std::string::npos) << error;
  EXPECT_EQ(built.Letters.Count(), 2);  // the letters were made; the texture stage never ran
  EXPECT_EQ(log.Events.back(), "*");
  EXPECT_EQ(log.Events[log.Events.size() - 2], " Making button ...");
}

}  // namespace
}  // namespace qz
