#include <gtest/gtest.h>

#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>

#include "render/RenderDriver.h"
#include "scene/Build.h"
#include "support/GlyphRecordsKit.h"
#include "support/MessageCollector.h"
#include "support/TempDir.h"

namespace qz {
namespace {

using test::FXi;

// Every character but the blank is a 10 x 10 square; the blank has no outline.
class TSquareGlyphs : public IGlyphSource {
 public:
  uint32_t GetGlyphOutline(uint8_t code, TGlyphMetrics& m, uint32_t bufferSize, uint8_t* buffer) override {
    m.gmCellIncX = 12;
    Codes.push_back(code);
    if (code == ' ') return 0;
    const std::vector<uint8_t> block =
        test::TRecordBuilder().Polygon(FXi(0, 10)).Line({FXi(10, 10), FXi(10, 0), FXi(0, 0), FXi(0, 10)}).Bytes();
    if (bufferSize == 0) return static_cast<uint32_t>(block.size());
    if (bufferSize < block.size()) return GDI_ERROR;
    std::copy(block.begin(), block.end(), buffer);
    return static_cast<uint32_t>(block.size());
  }
  std::vector<uint8_t> Codes;
};

class TProgressLog : public IProgressSink {
 public:
  void SetStatus(const std::string& text) override { Statuses.push_back(text); }
  void SetProgress(int value) override { Values.push_back(value); }
  void ProcessMessages() override { ++Processed; }
  std::vector<std::string> Statuses;
  std::vector<int> Values;
  int Processed = 0;
};

struct Build_ : ::testing::Test {
  Build_() {
    scene.Progress = &log;
    scene.Messages = &messages;
  }
  void Run(const std::string& message) {
    text.Clear();
    text.Append(message, TCharFormat{});
    Build(scene, text, glyphs, [this](const TFontRequest& f) { fonts.push_back(f); });
  }
  TScene scene;
  TMessageText text;
  TSquareGlyphs glyphs;
  TProgressLog log;
  test::TMessageCollector messages;
  std::vector<TFontRequest> fonts;
};

TEST_F(Build_, StagesInOrderWithAndWithoutAButton) {
  scene.Type = 2;
  Run("ab");
  EXPECT_EQ(log.Statuses, (std::vector<std::string>{" Reallocating memory ...", " Getting font outline ...",
                                                    " Normalizing coordinates ...", " Transforming letters ...",
                                                    " Making button ...", " Resizing textures ..."}));
  EXPECT_EQ(log.Values, (std::vector<int>{2, 15, 17, 20, 23, 30}));
  EXPECT_EQ(log.Processed, 6);  // after every status text
  EXPECT_EQ(scene.View.BodyCount(), 3);  // two letters, then the button

  log = {};
  scene.Type = 0;
  Run("ab");
  EXPECT_EQ(log.Statuses, (std::vector<std::string>{" Reallocating memory ...", " Getting font outline ...",
                                                    " Normalizing coordinates ...", " Transforming letters ...",
                                                    " Resizing textures ..."}));
  EXPECT_EQ(log.Values, (std::vector<int>{2, 15, 17, 20, 30}));
  EXPECT_EQ(scene.View.BodyCount(), 2);
}

TEST_F(Build_, LettersFontsAndTheCameraDistance) {
  scene.Distance = 900;
  text.Clear();
  TCharFormat big{"Times New Roman", 12, 0, true, false, false};
  text.Append("A", big);
  text.Append(" B", TCharFormat{});
  Build(scene, text, glyphs, [this](const TFontRequest& f) { fonts.push_back(f); });
  EXPECT_EQ(scene.Render.Y, 900.0f);
  ASSERT_EQ(scene.LetterCount, 3);
  EXPECT_EQ(scene.Letter(1).ContourCount, 1);
  EXPECT_EQ(scene.Letter(2).ContourCount, 0);  // the blank: an empty letter
  EXPECT_EQ(scene.Letter(3).ContourCount, 1);
  // Each character in its own font, at 512/18 of its size (12 points: 341).
  ASSERT_EQ(fonts.size(), 3u);
  EXPECT_EQ(fonts[0], (TFontRequest{"Times New Roman", 341, true, false, 0}));
  EXPECT_EQ(fonts[1], (TFontRequest{"Arial", 512, false, false, 1}));
  // Read in message order (each glyph is asked for its size, then read).
  std::vector<uint8_t> order;
  for (uint8_t c : glyphs.Codes)
    if (order.empty() || order.back() != c) order.push_back(c);
  EXPECT_EQ(order, (std::vector<uint8_t>{'A', ' ', 'B'}));
  // The message is centred: the first and last letters lie either side of the origin.
  EXPECT_LT(scene.Letter(1).Right, 0);
  EXPECT_GT(scene.Letter(3).Left, 0);
}

TEST_F(Build_, AtMost32CharactersAndTheCaretComesBack) {
  text.Clear();
  text.Append(std::string(40, 'x'), TCharFormat{});
  text.SetSelection(5, 3);
  Build(scene, text, glyphs);
  EXPECT_EQ(scene.LetterCount, 32);
  EXPECT_EQ(scene.View.BodyCount(), 33);
  EXPECT_EQ(text.Length(), 40);  // the rest stays in the message
  EXPECT_EQ(text.SelStart(), 5);
  EXPECT_EQ(text.SelLength(), 0);
}

TEST_F(Build_, BlanksOnAButtonAreBuiltAroundTheOrigin) {
  scene.Type = 1;
  scene.GutLeft = scene.GutRight = 20;
  scene.GutTop = scene.GutBottom = 10;
  Run("   ");
  EXPECT_EQ(scene.View.BodyCount(), 4);
  EXPECT_EQ(scene.ButLeft, -21);
  EXPECT_EQ(scene.ButRight, 21);
  EXPECT_EQ(scene.ButTop, 11);
  EXPECT_EQ(scene.ButBottom, -11);
}

TEST_F(Build_, AnUnreadableShapeFileAbandonsTheRestOfTheBuild) {
  test::TTempDir dir;
  std::filesystem::create_directories(dir.File("BShapes"));
  test::WriteText(dir.File("BShapes/torn.qzkh"), "QZ");
  scene.ProgramDir = dir.Path();
  scene.Type = 16;
  scene.ShapeName = "torn.qzkh";
  EXPECT_THROW(Run("ab"), std::runtime_error);
  // The letters were made; the texture stage never ran.
  EXPECT_EQ(scene.LetterCount, 2);
  EXPECT_EQ(log.Statuses.back(), " Making button ...");
  EXPECT_EQ(log.Values.back(), 20);
}

TEST_F(Build_, TexturesAreFittedToTheBuiltScene) {
  TBitmap texture(40, 40);
  texture.Fill(RGBToPixel(10, 200, 30));
  scene.View.SetButtonTexture(texture);
  scene.Button.TexW = 3.0f;
  Run("ab");
  RenderScene(scene, false, false);
  // Three tiles across the picture (its shadow room aside).
  const int shadowFree = scene.Image.Width() - std::abs(scene.ButShadowX);
  EXPECT_NEAR(scene.View.ButtonTexture.Width() * 3, shadowFree, 2);
}

}  // namespace
}  // namespace qz
