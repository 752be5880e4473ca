#include "image/ImageFile.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "image/BmpWriter.h"
#include "image/ImageLimits.h"
#include "image/JpegWriter.h"
#include "image/PngFile.h"
#include "support/HostileInput.h"
#include "support/TempDir.h"
#include "support/TestGif.h"

namespace qz {
namespace {

using test::ErrorOf;

TEST(ImageFile, ChoosesTheReaderByExtensionWithoutCase) {
  test::TTempDir dir;
  TBitmap image(6, 4);
  image.Fill(0x204060);
  image.FillRect(0, 0, 3, 4, 0xC0A080);
  WriteBmp24(dir.File("a.BMP"), image);
  EXPECT_EQ(LoadImageFile(dir.File("a.BMP")), image);
  WriteJpeg(dir.File("b.Jpeg"), image, 100);
  WriteJpeg(dir.File("c.JPG"), image, 100);
  EXPECT_EQ(LoadImageFile(dir.File("b.Jpeg")).Width(), 6);
  EXPECT_EQ(LoadImageFile(dir.File("c.JPG")).Height(), 4);
  test::WriteBytes(dir.File("d.Gif"), test::MakeTestGif({.ScreenWidth = 2, .ScreenHeight = 1, .GlobalColors = {0x112233, 0x445566},
                                                         .Frames = {{.Width = 2, .Height = 1, .Pixels = {1, 0}}}}));
  EXPECT_EQ(LoadImageFile(dir.File("d.Gif")).Pixel(0, 0), 0x445566u);
  WritePng(dir.File("e.Png"), image);
  EXPECT_EQ(LoadImageFile(dir.File("e.Png")), image);

  EXPECT_TRUE(IsImageFileName("/x/Wood.JPEG"));
  EXPECT_TRUE(IsImageFileName("C:\\Textures\\stone.bmp"));
  EXPECT_FALSE(IsImageFileName("/x.bmp/readme"));
  EXPECT_TRUE(IsImageFileName("wood.PNG"));
  EXPECT_FALSE(IsImageFileName("wood.tif"));
}

TEST(ImageFile, ErrorsNameTheFileAndTheFault) {
  test::TTempDir dir;
  auto error = [&](const std::string& name) { return ErrorOf([&] { LoadImageFile(dir.File(name)); }); };
  test::WriteBytes(dir.File("e.tif"), {1, 2, 3});
  test::WriteBytes(dir.File("empty.bmp"), {});
  WriteBmp24(dir.File("bmp-inside.jpg"), TBitmap(2, 2));  // read as a JPEG, and refused as one
  EXPECT_NE(error("e.tif").find("e.tif\": the file type is not supported"), std::string::npos) << error("e.tif");
  EXPECT_NE(error("missing.gif").find("missing.gif\": the file does not exist"), std::string::npos);
  EXPECT_NE(error("empty.bmp").find("the file is empty"), std::string::npos);
  EXPECT_NE(error("bmp-inside.jpg").find("bmp-inside.jpg\": not a readable JPEG"), std::string::npos);
  EXPECT_NE(error("").find("the file"), std::string::npos);  // a folder
  // A file beyond what any picture within the bounds needs is refused unread.
  WriteBmp24(dir.File("huge.bmp"), TBitmap(2, 2));
  std::filesystem::resize_file(dir.File("huge.bmp"), MaxImageFileBytes + 1);  // sparse: no disk used
  EXPECT_NE(error("huge.bmp").find("huge.bmp\": the file is too large"), std::string::npos) << error("huge.bmp");
}

}  // namespace
}  // namespace qz
