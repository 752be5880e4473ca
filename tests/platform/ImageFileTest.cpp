#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <stdexcept>
#include <string>

#include "platform/BmpWriter.h"
#include "platform/FileUtil.h"
#include "platform/ImageFile.h"
#include "platform/JpegWriter.h"
#include "support/TestGif.h"

namespace qz {
namespace {

std::string Dir() {
  std::string dir = std::string(QZ_TEST_OUTPUT_DIR) + "/image-files/";
  std::filesystem::create_directories(dir);
  return dir;
}

void WriteBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
  WriteFileAtomically(path, [&](std::FILE* f) { return bytes.empty() || std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size(); });
}

std::string ErrorOf(const std::string& path) {
  try {
    LoadImageFile(path);
  } catch (const std::runtime_error& e) {
    return e.what();
  }
  return "";
}

TEST(ImageFile, ChoosesTheReaderByExtensionWithoutCase) {
  TBitmap image(6, 4);
  image.Fill(0x204060);
  image.FillRect(0, 0, 3, 4, 0xC0A080);
  WriteBmp24(Dir() + "a.BMP", image);
  EXPECT_EQ(LoadImageFile(Dir() + "a.BMP"), image);
  WriteJpeg(Dir() + "b.Jpeg", image, 100);
  WriteJpeg(Dir() + "c.JPG", image, 100);
  EXPECT_EQ(LoadImageFile(Dir() + "b.Jpeg").Width(), 6);
  EXPECT_EQ(LoadImageFile(Dir() + "c.JPG").Height(), 4);
  test::TGifLayout gif{.ScreenWidth = 2, .ScreenHeight = 1, .GlobalColors = {0x112233, 0x445566}};
  test::TGifFrame frame;
  frame.Width = 2, frame.Height = 1, frame.Pixels = {1, 0};
  gif.Frames = {frame};
  WriteBytes(Dir() + "d.Gif", test::MakeTestGif(gif));
  TBitmap g = LoadImageFile(Dir() + "d.Gif");
  EXPECT_EQ(g.Pixel(0, 0), 0x445566u);
  EXPECT_EQ(g.Pixel(1, 0), 0x112233u);

  EXPECT_TRUE(IsImageFileName("/x/Wood.JPEG"));
  EXPECT_TRUE(IsImageFileName("C:\\Textures\\stone.bmp"));
  EXPECT_FALSE(IsImageFileName("/x.bmp/readme"));
  EXPECT_FALSE(IsImageFileName("wood.png"));
}

TEST(ImageFile, ErrorsNameTheFileAndTheFault) {
  const std::string png = Dir() + "e.png";
  WriteBytes(png, {1, 2, 3});
  EXPECT_NE(ErrorOf(png).find("e.png\": the file type is not supported"), std::string::npos) << ErrorOf(png);
  const std::string missing = Dir() + "missing.gif";
  EXPECT_NE(ErrorOf(missing).find("missing.gif\": the file does not exist"), std::string::npos);
  const std::string empty = Dir() + "empty.bmp";
  WriteBytes(empty, {});
  EXPECT_NE(ErrorOf(empty).find("the file is empty"), std::string::npos);
  // A BMP named .jpg is read as a JPEG, and refused as one.
  const std::string wrong = Dir() + "bmp-inside.jpg";
  TBitmap image(2, 2);
  WriteBmp24(wrong, image);
  EXPECT_NE(ErrorOf(wrong).find("bmp-inside.jpg\": not a readable JPEG"), std::string::npos) << ErrorOf(wrong);
  EXPECT_NE(ErrorOf(Dir()).find("the file"), std::string::npos);  // a folder
}

}  // namespace
}  // namespace qz
