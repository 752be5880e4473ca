#include "session/TextureFiles.h"

#include <gtest/gtest.h>

#include "image/BmpWriter.h"
#include "support/MessageCollector.h"
#include "support/TempDir.h"

namespace qz {
namespace {

TEST(TextureFiles, FoundByPathOrBareNameMissingSilentlyBrokenReported) {
  test::TTempDir dir;
  const std::string textures = dir.File("Textures/");
  std::filesystem::create_directories(textures);
  WriteBmp24(textures + "wood.bmp", TBitmap(6, 4));
  WriteBmp24(textures + "STONE.BMP", TBitmap(6, 4));
  WriteBmp24(textures + "line.bmp", TBitmap(9, 1));  // too thin to tile
  test::WriteText(textures + "broken.jpg", "not a picture");
  TParams scene;
  TView3D view;
  test::TMessageCollector messages;

  scene.Message.TexFile = textures + "wood.bmp";
  LoadTextTexture(scene, view, TFolderList(textures), messages);
  EXPECT_TRUE(view.TextTextured);
  EXPECT_EQ(view.TextTexture.Width(), 6);
  // A Windows path falls back to its bare name, matched without regard to case; the
  // path found is stored back.
  scene.Button.TexFile = "C:\\Buttons\\Textures\\stone.bmp";
  LoadButtonTexture(scene, view, TFolderList(textures), messages);
  EXPECT_TRUE(view.ButtonTextured);
  EXPECT_EQ(scene.Button.TexFile, textures + "STONE.BMP");

  for (const char* missing : {"", "/nowhere/marble.gif"}) {
    scene.Message.TexFile = missing;
    LoadTextTexture(scene, view, TFolderList(textures), messages);
    EXPECT_FALSE(view.TextTextured);
    EXPECT_EQ(scene.Message.TexFile, missing);
  }
  EXPECT_TRUE(messages.Texts.empty());
  for (const char* name : {"broken.jpg", "line.bmp"}) {
    messages.Texts.clear();
    scene.Button.TexFile = name;
    LoadButtonTexture(scene, view, TFolderList(textures), messages);
    EXPECT_FALSE(view.ButtonTextured) << name;
    ASSERT_EQ(messages.Texts.size(), 1u);
    const std::string why = name[0] == 'b' ? "not a GIF, JPEG, BMP or PNG picture" : "9 x 1 pixels is too small to be tiled";
    EXPECT_EQ(messages.Texts[0].rfind("Error loading file: " + textures + name + ": ", 0), 0u) << messages.Texts[0];
    EXPECT_NE(messages.Texts[0].find(why), std::string::npos) << messages.Texts[0];
  }
}

}  // namespace
}  // namespace qz
