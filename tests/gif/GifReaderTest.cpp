#include <gtest/gtest.h>

#include <random>
#include <stdexcept>
#include <string>

#include "gif/GifReader.h"
#include "support/TestGif.h"

namespace qz {
namespace {

using test::MakeTestGif;
using test::TGifFrame;
using test::TGifLayout;

constexpr uint32_t kBlack = 0, kRed = 0xFF0000, kGreen = 0x00FF00, kBlue = 0x0000FF, kWhite = 0xFFFFFF;

std::string ErrorOf(const std::vector<uint8_t>& bytes) {
  try {
    DecodeGif(bytes, "probe.gif");
  } catch (const std::runtime_error& e) {
    return e.what();
  }
  return "";
}

TGifFrame Frame(int left, int top, int w, int h, std::vector<uint8_t> pixels) {
  TGifFrame f;
  f.Left = left, f.Top = top, f.Width = w, f.Height = h, f.Pixels = std::move(pixels);
  return f;
}

TEST(GifReader, FirstFrameOnTheLogicalScreen) {
  // A 5x4 screen with a green background; a 3x2 frame at (1, 1) whose index 3 is
  // transparent; a second frame that must not be read.
  TGifLayout layout{.ScreenWidth = 5, .ScreenHeight = 4, .Background = 1, .GlobalColors = {kRed, kGreen, kBlue, kWhite}};
  TGifFrame first = Frame(1, 1, 3, 2, {0, 2, 3, 3, 1, 0});
  first.Transparent = 3;
  layout.Frames = {first, Frame(0, 0, 5, 4, std::vector<uint8_t>(20, 2))};
  TBitmap b = DecodeGif(MakeTestGif(layout));
  ASSERT_EQ(b.Width(), 5);
  ASSERT_EQ(b.Height(), 4);
  EXPECT_EQ(b.Pixel(0, 0), kGreen);  // outside the frame: background
  EXPECT_EQ(b.Pixel(1, 1), kRed);
  EXPECT_EQ(b.Pixel(2, 1), kBlue);
  EXPECT_EQ(b.Pixel(3, 1), kGreen);  // transparent: background shows
  EXPECT_EQ(b.Pixel(1, 2), kGreen);  // transparent
  EXPECT_EQ(b.Pixel(2, 2), kGreen);  // index 1 itself
  EXPECT_EQ(b.Pixel(3, 2), kRed);
  EXPECT_EQ(b.Pixel(4, 3), kGreen);

  // When the background index is the transparent one, white shows instead.
  layout.Background = 3;
  b = DecodeGif(MakeTestGif(layout));
  EXPECT_EQ(b.Pixel(0, 0), kWhite);
  EXPECT_EQ(b.Pixel(3, 1), kWhite);
  EXPECT_EQ(b.Pixel(1, 1), kRed);
}

TEST(GifReader, InterlacedRowsAndLocalColours) {
  const int w = 3, h = 11;
  std::vector<uint8_t> pixels;
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) pixels.push_back(static_cast<uint8_t>((y + x) % 4));
  TGifFrame f = Frame(0, 0, w, h, pixels);
  f.Interlace = true;
  f.LocalColors = {kBlack, kRed, kGreen, kBlue};
  // The global table differs, so reading the wrong one shows.
  TGifLayout layout{.ScreenWidth = w, .ScreenHeight = h, .GlobalColors = {kWhite, kWhite}, .Frames = {f}};
  TBitmap b = DecodeGif(MakeTestGif(layout));
  const uint32_t colors[4] = {kBlack, kRed, kGreen, kBlue};
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) ASSERT_EQ(b.Pixel(x, y), colors[(y + x) % 4]) << x << "," << y;
}

TEST(GifReader, ScreenSmallerThanFrameGrowsToHoldIt) {
  TGifLayout layout{.ScreenWidth = 0, .ScreenHeight = 0, .GlobalColors = {kRed, kBlue}};
  layout.Frames = {Frame(2, 1, 2, 2, {1, 1, 1, 0})};
  TBitmap b = DecodeGif(MakeTestGif(layout));
  ASSERT_EQ(b.Width(), 4);
  ASSERT_EQ(b.Height(), 3);
  EXPECT_EQ(b.Pixel(0, 0), kRed);  // background index 0
  EXPECT_EQ(b.Pixel(3, 1), kBlue);
  EXPECT_EQ(b.Pixel(3, 2), kRed);
}

// A one-pixel GIF written by hand: no colour table at all.
std::vector<uint8_t> GifWithoutColourTable() {
  return {'G', 'I', 'F', '8', '9', 'a', 1, 0, 1, 0, 0x00, 0, 0,  // screen, no global table
          0x2C, 0, 0, 0, 0, 1, 0, 1, 0, 0x00,                     // image, no local table
          2, 2, 0x44, 0x01, 0,                                    // LZW: clear, 0, end
          0x3B};
}

TEST(GifReader, RefusesBrokenAndHostileFiles) {
  TGifLayout layout{.ScreenWidth = 8, .ScreenHeight = 8, .GlobalColors = {kRed, kBlue}};
  std::vector<uint8_t> pixels(64);
  for (size_t i = 0; i < pixels.size(); ++i) pixels[i] = (i * 7 / 3) % 2;
  layout.Frames = {Frame(0, 0, 8, 8, pixels)};
  const std::vector<uint8_t> valid = MakeTestGif(layout);
  ASSERT_EQ(ErrorOf(valid), "");
  // Cut anywhere before the picture's data ends: refused, never read past the end.
  // (Only the trailer and the block terminator may go missing without harm.)
  for (size_t n = 0; n + 2 < valid.size(); ++n)
    ASSERT_NE(ErrorOf(std::vector<uint8_t>(valid.begin(), valid.begin() + n)), "") << n;

  auto expectError = [](const std::vector<uint8_t>& bytes, const std::string& part) {
    std::string error = ErrorOf(bytes);
    EXPECT_NE(error.find("probe.gif"), std::string::npos) << error;
    EXPECT_NE(error.find(part), std::string::npos) << error;
  };
  expectError({}, "no GIF data");
  expectError({'G', 'I', 'F', '8', '9', 'a', 1, 0, 1, 0, 0, 0, 0, 0x3B}, "holds no picture");
  expectError(GifWithoutColourTable(), "no colour table");
  expectError({'P', 'N', 'G', 1, 2, 3, 4, 5, 6, 7, 8, 9, 10}, "not a readable GIF");

  // Sizes patched into the descriptors: screen (bytes 6..9), frame (after the
  // 13-byte header, the 6-byte table and the 0x2C: left, top, width, height).
  const size_t frame = 13 + 6 + 1;
  ASSERT_EQ(valid[frame - 1], 0x2C);
  std::vector<uint8_t> bytes = valid;
  bytes[frame + 4] = 0x60, bytes[frame + 5] = 0xEA;  // width 60000
  expectError(bytes, "too large");
  bytes = valid;
  bytes[frame + 4] = 0, bytes[frame + 5] = 0;  // width 0
  expectError(bytes, "no pixels");
  bytes = valid;
  bytes[6] = 0xFF, bytes[7] = 0xFF, bytes[8] = 0xFF, bytes[9] = 0xFF;  // a 65535 x 65535 screen
  expectError(bytes, "too large");
  bytes = valid;
  bytes[frame + 0] = 0xFF, bytes[frame + 1] = 0x7F;  // the frame far off the screen at x = 32767
  expectError(bytes, "too large");

  // Random damage never crashes.
  std::mt19937 rng(5);
  for (int i = 0; i < 1000; ++i) {
    bytes = valid;
    for (int k = 0; k < 3; ++k) bytes[6 + rng() % (bytes.size() - 6)] = static_cast<uint8_t>(rng());
    try {
      EXPECT_FALSE(DecodeGif(bytes).Empty());
    } catch (const std::runtime_error&) {
    }
  }
}

}  // namespace
}  // namespace qz
