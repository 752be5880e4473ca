#include "session/TextureFiles.h"

#include <gtest/gtest.h>

#include "image/formats/BmpWriter.h"
#include "image/formats/PngFile.h"
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
  test::TMessageCollector messages;
  const TFolderList folders(textures);

  std::optional<TFoundTexture> wood = FindTexture(textures + "wood.bmp", folders, messages);
  ASSERT_TRUE(wood && wood->Picture);
  EXPECT_EQ(wood->Picture->Width(), 6);
  // A Windows path falls back to its bare name, matched without regard to case; the
  // path found is the one to name.
  std::optional<TFoundTexture> stone = FindTexture("C:\\Buttons\\Textures\\stone.bmp", folders, messages);
  ASSERT_TRUE(stone && stone->Picture);
  EXPECT_EQ(stone->Path, textures + "STONE.BMP");

  for (const char* missing : {"", "/nowhere/marble.gif"}) EXPECT_FALSE(FindTexture(missing, folders, messages));
  EXPECT_TRUE(messages.Texts.empty());
  for (const char* name : {"broken.jpg", "line.bmp"}) {
    messages.Texts.clear();
    std::optional<TFoundTexture> found = FindTexture(name, folders, messages);
    ASSERT_TRUE(found) << name;  // found, and named, but not drawn
    EXPECT_EQ(found->Path, textures + name);
    EXPECT_FALSE(found->Picture) << name;
    ASSERT_EQ(messages.Texts.size(), 1u);
    const std::string why = name[0] == 'b' ? "not a GIF, JPEG, BMP or PNG picture" : "9 x 1 pixels is too small to be tiled";
    EXPECT_EQ(messages.Texts[0].rfind("Error loading file: " + textures + name + ": ", 0), 0u) << messages.Texts[0];
    EXPECT_NE(messages.Texts[0].find(why), std::string::npos) << messages.Texts[0];
  }
}

// A texture is never transparent: the picture read has its fourth bytes cleared.
TEST(TextureFiles, APictureReadIsOpaque) {
  test::TTempDir dir;
  TBitmap picture(4, 4);
  picture.Fill(RGBToPixel(16, 32, 48));
  WritePng(dir.File("a.png"), picture, nullptr);  // read back with an opaque alpha byte
  test::TMessageCollector messages;
  const std::optional<TBitmap> read = ReadTextureFile(dir.File("a.png"), messages);
  ASSERT_TRUE(read);
  EXPECT_EQ(read->Pixel(1, 1) >> 24, 0u);
}

}  // namespace
}  // namespace qz
