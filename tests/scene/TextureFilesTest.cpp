#include <gtest/gtest.h>

#include <filesystem>

#include "platform/BmpWriter.h"
#include "scene/TextureFiles.h"
#include "support/MessageCollector.h"
#include "support/TempDir.h"

namespace qz {
namespace {

struct TextureFiles : ::testing::Test {
  TextureFiles() {
    scene.Messages = &messages;
    TBitmap wood(6, 4);
    wood.Fill(RGBToPixel(120, 80, 40));
    std::filesystem::create_directories(dir.File("Textures"));
    WriteBmp24(dir.File("Textures/wood.bmp"), wood);
    WriteBmp24(dir.File("Textures/STONE.BMP"), wood);
    test::WriteText(dir.File("Textures/broken.jpg"), "not a picture");
    TBitmap line(9, 1);
    WriteBmp24(dir.File("Textures/line.bmp"), line);
  }
  std::string Textures() const { return dir.File("Textures/"); }
  test::TTempDir dir;
  TScene scene;
  test::TMessageCollector messages;
};

TEST_F(TextureFiles, TheNamedPathOrItsBareNameInTheTexturesFolder) {
  scene.Message.TexFile = dir.File("Textures/wood.bmp");
  LoadTextTexture(scene, Textures());
  EXPECT_TRUE(scene.View.TextTextured);
  EXPECT_EQ(scene.View.TextTexture.Width(), 6);
  EXPECT_EQ(scene.Message.TexFile, dir.File("Textures/wood.bmp"));

  // A Windows path falls back to its bare name, matched without regard to case, and
  // an upper-case extension loads; the path found is stored back.
  scene.Button.TexFile = "C:\\Buttons\\Textures\\stone.bmp";
  LoadButtonTexture(scene, Textures());
  EXPECT_TRUE(scene.View.ButtonTextured);
  EXPECT_EQ(scene.Button.TexFile, dir.File("Textures/STONE.BMP"));
  EXPECT_TRUE(messages.Texts.empty());
}

TEST_F(TextureFiles, MissingFilesAreSilentAndBrokenOnesReported) {
  scene.View.SetTextTexture(TBitmap(4, 4));
  scene.Message.TexFile = "";
  LoadTextTexture(scene, Textures());
  EXPECT_FALSE(scene.View.TextTextured);

  scene.Message.TexFile = "/nowhere/marble.gif";
  LoadTextTexture(scene, Textures());
  EXPECT_FALSE(scene.View.TextTextured);
  EXPECT_EQ(scene.Message.TexFile, "/nowhere/marble.gif");
  EXPECT_TRUE(messages.Texts.empty());

  for (const char* name : {"broken.jpg", "line.bmp"}) {
    messages.Texts.clear();
    scene.Button.TexFile = name;
    LoadButtonTexture(scene, Textures());
    EXPECT_FALSE(scene.View.ButtonTextured) << name;
    ASSERT_EQ(messages.Texts.size(), 1u) << name;
    EXPECT_EQ(messages.Texts[0], "Error loading file: " + dir.File(std::string("Textures/") + name));
  }
}

}  // namespace
}  // namespace qz
