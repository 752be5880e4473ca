#include "image/ImageFile.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "image/formats/BmpWriter.h"
#include "image/ImageLimits.h"
#include "image/formats/PngFile.h"
#include "image/formats/WebpFile.h"
#include "support/HostileInput.h"
#include "support/PictureRoundTrip.h"
#include "support/TempDir.h"

namespace qz {
namespace {

using test::ErrorOf;
using test::TPictureFormat;

// 256 colours in smooth steps: a GIF holds them all, and JPEG keeps them close.
TBitmap Steps() {
  TBitmap image(16, 16);
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 16; ++x) image.SetPixel(x, y, RGBToPixel(x * 16, y * 16, 128));
  return image;
}

TEST(ImageFile, ChoosesTheReaderByTheFilesFirstBytesWhateverItsName) {
  const struct {
    TPictureFormat format;
    const char* name;
  } files[] = {
      {TPictureFormat::Bmp, "a.BMP"},   {TPictureFormat::Jpeg, "b.Jpeg"}, {TPictureFormat::Gif, "c.Gif"},
      {TPictureFormat::Png, "d.Png"},   {TPictureFormat::Png, "wood.jpg"}, {TPictureFormat::Jpeg, "wood.gif"},
      {TPictureFormat::Gif, "wood.bmp"}, {TPictureFormat::Bmp, "wood.png"}, {TPictureFormat::Png, "wood"},
  };
  for (const auto& f : files) {
    SCOPED_TRACE(f.name);
    const int tolerance = f.format == TPictureFormat::Jpeg ? 12 : 0;
    const test::TRoundTrip trip =
        test::RoundTrip(Steps(), {.Format = f.format, .Quality = 95, .Tolerance = tolerance, .FileName = f.name});
    EXPECT_EQ(trip.Mismatch, "");
  }

  // The names a file chooser offers as textures.
  EXPECT_TRUE(IsImageFileName("/x/Wood.JPEG"));
  EXPECT_TRUE(IsImageFileName("C:\\Textures\\stone.bmp"));
  EXPECT_FALSE(IsImageFileName("/x.bmp/readme"));
  EXPECT_TRUE(IsImageFileName("wood.PNG"));
  EXPECT_FALSE(IsImageFileName("wood.tif"));
  EXPECT_FALSE(IsImageFileName("wood.webp"));
}

TEST(ImageFile, ErrorsNameTheFileAndTheFault) {
  test::TTempDir dir;
  auto error = [&](const std::string& name) { return ErrorOf([&] { LoadImageFile(dir.File(name)); }); };
  auto expectError = [&](const std::string& name, const std::string& part) {
    EXPECT_NE(error(name).find(part), std::string::npos) << error(name);
  };
  const std::string notPicture = "the file is not a GIF, JPEG, BMP or PNG picture";
  test::WriteText(dir.File("notes.png"), "Textures: wood, stone and marble.");
  expectError("notes.png", "notes.png\": " + notPicture);
  // Shorter than any signature, though each begins one.
  test::WriteBytes(dir.File("g.gif"), {'G', 'I', 'F', '8', '9'});
  test::WriteBytes(dir.File("j.jpg"), {0xFF, 0xD8});
  test::WriteBytes(dir.File("p.png"), {0x89, 'P', 'N', 'G'});
  test::WriteBytes(dir.File("b.bmp"), {'B'});
  for (const char* name : {"g.gif", "j.jpg", "p.png", "b.bmp"}) expectError(name, std::string(name) + "\": " + notPicture);
  test::WriteBytes(dir.File("empty.bmp"), {});
  expectError("empty.bmp", "empty.bmp\": the file is empty");
  expectError("missing.gif", "missing.gif\": the file does not exist");
  expectError("", "it is a folder");

  // There is no WebP reader: a WebP file says so, whatever its name.
  TBitmap image(4, 4);
  image.Fill(0x336699);
  WriteWebp(dir.File("leaf.png"), image, nullptr, {});
  expectError("leaf.png", "leaf.png\": WebP pictures cannot be used as textures");

  // A broken file of a known kind gets its reader's message, not another's.
  WritePng(dir.File("cut.gif"), image);
  std::filesystem::resize_file(dir.File("cut.gif"), std::filesystem::file_size(dir.File("cut.gif")) - 20);
  expectError("cut.gif", "cut.gif\": the file is truncated");

  // A file beyond what any picture within the bounds needs is refused unread.
  WriteBmp24(dir.File("huge.bmp"), TBitmap(2, 2));
  std::filesystem::resize_file(dir.File("huge.bmp"), MaxImageFileBytes + 1);  // sparse: no disk used
  expectError("huge.bmp", "huge.bmp\": the file is too large");
}

}  // namespace
}  // namespace qz
