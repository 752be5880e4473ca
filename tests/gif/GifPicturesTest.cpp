// Writes a few GIFs and PNG copies of what giflib reads back from them into
// build/test-output/gif/, for people to look at, and checks what can be checked of
// them: the file decodes to the indices written, and dithering keeps the mean
// colour of a gradient where plain mapping bands it.
#include <gtest/gtest.h>

#include <filesystem>

#include "gif/ColorReduction.h"
#include "gif/GifTestSupport.h"
#include "gif/GifWriter.h"
#include "platform/FileUtil.h"
#include "platform/PngFile.h"

namespace qz {
namespace {

std::string OutputPath(const std::string& name) {
  std::filesystem::path dir = std::filesystem::path(QZ_TEST_OUTPUT_DIR) / "gif";
  std::filesystem::create_directories(dir);
  return (dir / name).string();
}

// Writes name.gif, reads it back with giflib and writes name.png from what it read.
TBitmap WriteAndLook(const std::string& name, const TIndexedImage& g) {
  WriteGifFile(OutputPath(name + ".gif"), g);
  auto bytes = ReadWholeFile(OutputPath(name + ".gif"), 64 << 20);
  EXPECT_TRUE(bytes.has_value());
  test::TDecodedGif d = test::DecodeWithGiflib(*bytes);
  EXPECT_TRUE(d.ok) << d.error;
  EXPECT_EQ(d.indices, g.pixels);
  TBitmap seen = test::ToBitmap(d);
  WritePng(OutputPath(name + ".png"), seen);
  return seen;
}

// Mean of one channel over a column band.
double MeanRed(const TBitmap& b, int x0, int x1) {
  double sum = 0;
  for (int y = 0; y < b.Height(); ++y)
    for (int x = x0; x < x1; ++x) sum += PixelRed(b.Pixel(x, y));
  return sum / ((x1 - x0) * b.Height());
}

TEST(GifPictures, DitheredGradientAndPhotoAtSixteenColours) {
  TBitmap gradient = test::MakeGradient(512, 64, {20, 0, 60}, {250, 220, 40});
  WritePng(OutputPath("gradient-source.png"), gradient);
  TBitmap plain = WriteAndLook("gradient-16-none",
                               MakeIndexedImage(gradient, TPaletteKind::Optimized, TDitherMethod::None, 4));
  TBitmap dithered = WriteAndLook(
      "gradient-16-floyd", MakeIndexedImage(gradient, TPaletteKind::Optimized, TDitherMethod::FloydSteinberg, 4));
  WriteAndLook("gradient-netscape-stucki",
               MakeIndexedImage(gradient, TPaletteKind::Netscape, TDitherMethod::Stucki, 8));
  WriteAndLook("gradient-mono-jarvis",
               MakeIndexedImage(gradient, TPaletteKind::Monochrome, TDitherMethod::JarvisJudiceNinke, 8));
  // Over narrow bands, dithering keeps the gradient's mean; plain mapping steps.
  double plainError = 0, ditherError = 0;
  for (int x = 0; x + 16 <= 512; x += 16) {
    double want = MeanRed(gradient, x, x + 16);
    plainError += std::abs(MeanRed(plain, x, x + 16) - want);
    ditherError += std::abs(MeanRed(dithered, x, x + 16) - want);
  }
  EXPECT_LT(ditherError, plainError / 2);

  TBitmap photo = test::MakePhotoLike(400, 300);
  WritePng(OutputPath("photo-source.png"), photo);
  WriteAndLook("photo-16-none", MakeIndexedImage(photo, TPaletteKind::Optimized, TDitherMethod::None, 4));
  WriteAndLook("photo-16-floyd", MakeIndexedImage(photo, TPaletteKind::Optimized, TDitherMethod::FloydSteinberg, 4));
  WriteAndLook("photo-halftone-sierra",
               MakeIndexedImage(photo, TPaletteKind::WindowsHalftone, TDitherMethod::Sierra, 8));
  WriteAndLook("photo-system-burkes",
               MakeIndexedImage(photo, TPaletteKind::WindowsSystem, TDitherMethod::Burkes, 8));
}

TEST(GifPictures, TransparentButtonShape) {
  // A disc on a transparent ground; the PNG shows the transparent entry's magenta.
  TBitmap photo = test::MakePhotoLike(200, 120, 5);
  std::vector<uint8_t> mask(200 * 120, 0);
  for (int y = 0; y < 120; ++y)
    for (int x = 0; x < 200; ++x) {
      double u = (x - 100) / 95.0, v = (y - 60) / 55.0;
      if (u * u + v * v > 1) {
        mask[y * 200 + x] = 1;
        photo.SetPixel(x, y, RGBToPixel(255, 0, 255));
      }
    }
  TIndexedImage g = MakeIndexedImage(photo, TPaletteKind::Optimized, TDitherMethod::FloydSteinberg, 5, &mask);
  TBitmap seen = WriteAndLook("button-32-floyd-transparent", g);
  EXPECT_EQ(seen.Pixel(0, 0), RGBToPixel(255, 0, 255));
  EXPECT_NE(seen.Pixel(100, 60), RGBToPixel(255, 0, 255));
}

}  // namespace
}  // namespace qz
