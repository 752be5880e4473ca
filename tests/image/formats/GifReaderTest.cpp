#include <gtest/gtest.h>

#include <string>

#include "image/formats/GifReader.h"
#include "support/ChildRun.h"
#include "support/HostileInput.h"
#include "support/TestGif.h"

namespace qz {
namespace {

using test::MakeTestGif;
using test::TGifFrame;
using test::TGifLayout;

constexpr uint32_t kBlack = 0, kRed = 0xFF0000, kGreen = 0x00FF00, kBlue = 0x0000FF, kWhite = 0xFFFFFF;

TGifFrame Frame(int left, int top, int w, int h, std::vector<uint8_t> pixels) {
  return {.Left = left, .Top = top, .Width = w, .Height = h, .Pixels = std::move(pixels)};
}

// Rows of a bitmap as 0xRRGGBB values, top to bottom.
std::vector<uint32_t> Pixels(const TBitmap& b) { return std::vector<uint32_t>(b.Data(), b.Data() + b.Width() * b.Height()); }

TEST(GifReader, FirstFrameOnTheLogicalScreen) {
  // A 4x3 screen with a green background; a 2x2 frame at (1, 1) whose index 3 is
  // transparent; a second frame that must not be read.
  TGifLayout layout{.ScreenWidth = 4, .ScreenHeight = 3, .Background = 1, .GlobalColors = {kRed, kGreen, kBlue, kWhite}};
  TGifFrame first = Frame(1, 1, 2, 2, {0, 2, 3, 1});
  first.Transparent = 3;
  layout.Frames = {first, Frame(0, 0, 4, 3, std::vector<uint8_t>(12, 2))};
  EXPECT_EQ(Pixels(DecodeGif(MakeTestGif(layout))), (std::vector<uint32_t>{kGreen, kGreen, kGreen, kGreen, kGreen, kRed, kBlue, kGreen, kGreen,
                                              kGreen, kGreen, kGreen}));
  // When the background index is the transparent one, white shows instead.
  layout.Background = 3;
  EXPECT_EQ(Pixels(DecodeGif(MakeTestGif(layout))),
            (std::vector<uint32_t>{kWhite, kWhite, kWhite, kWhite, kWhite, kRed, kBlue, kWhite, kWhite, kWhite,
                                   kGreen, kWhite}));

  // A screen smaller than the frame grows to hold it.
  layout = {.GlobalColors = {kRed, kBlue}, .Frames = {Frame(2, 1, 2, 2, {1, 1, 1, 0})}};
  EXPECT_EQ(Pixels(DecodeGif(MakeTestGif(layout))),
            (std::vector<uint32_t>{kRed, kRed, kRed, kRed, kRed, kRed, kBlue, kBlue, kRed, kRed, kBlue, kRed}));
}

TEST(GifReader, InterlacedRowsAndLocalColours) {
  const int w = 3, h = 11;
  std::vector<uint8_t> pixels;
  std::vector<uint32_t> want;
  const uint32_t colors[4] = {kBlack, kRed, kGreen, kBlue};
  for (int i = 0; i < w * h; ++i) {
    pixels.push_back(static_cast<uint8_t>((i / w + i % w) % 4));
    want.push_back(colors[pixels.back()]);
  }
  TGifFrame f = Frame(0, 0, w, h, pixels);
  f.Interlace = true;
  f.LocalColors = {kBlack, kRed, kGreen, kBlue};
  // The global table differs, so reading the wrong one shows.
  EXPECT_EQ(Pixels(DecodeGif(MakeTestGif({.ScreenWidth = w, .ScreenHeight = h, .GlobalColors = {kWhite, kWhite}, .Frames = {f}}))),
            want);
}

TEST(GifReader, RefusesBrokenAndHostileFiles) {
  std::vector<uint8_t> pixels(64);
  for (size_t i = 0; i < pixels.size(); ++i) pixels[i] = (i * 7 / 3) % 2;
  const std::vector<uint8_t> valid =
      MakeTestGif({.ScreenWidth = 8, .ScreenHeight = 8, .GlobalColors = {kRed, kBlue}, .Frames = {Frame(0, 0, 8, 8, pixels)}});
  const auto decode = [](const std::vector<uint8_t>& bytes) { return DecodeGif(bytes, "probe.gif"); };

  auto expectError = [&](const std::vector<uint8_t>& bytes, const std::string& part) {
    const std::string error = test::ErrorOf([&] { decode(bytes); });
    EXPECT_NE(error.find("probe.gif"), std::string::npos) << error;
    EXPECT_NE(error.find(part), std::string::npos) << error;
  };
  expectError({}, "no GIF data");
  // Only the trailer and the block terminator may go missing without harm.
  expectError({valid.begin(), valid.end() - 3}, "");
  expectError({valid.begin(), valid.begin() + 20}, "");
  expectError({'G', 'I', 'F', '8', '9', 'a', 1, 0, 1, 0, 0, 0, 0, 0x3B}, "holds no picture");
  expectError({'G', 'I', 'F', '8', '9', 'a', 1, 0, 1, 0, 0, 0, 0,  // screen, no global table
               0x2C, 0, 0, 0, 0, 1, 0, 1, 0, 0,                    // image, no local table
               2, 2, 0x44, 0x01, 0, 0x3B},                        // LZW: clear, 0, end
              "no colour table");
  expectError({'P', 'N', 'G', 1, 2, 3, 4, 5, 6, 7, 8, 9, 10}, "not a readable GIF");

  // Sizes patched into the descriptors: screen (bytes 6..9), frame (after the 13-byte
  // header, the 6-byte table and the 0x2C: left, top, width, height).
  const size_t frame = 13 + 6 + 1;
  ASSERT_EQ(valid[frame - 1], 0x2C);
  const std::pair<std::vector<std::pair<size_t, uint8_t>>, const char*> patches[] = {
      {{{frame + 4, 0x60}, {frame + 5, 0xEA}}, "too large"},          // width 60000
      {{{frame + 4, 0}, {frame + 5, 0}}, "no pixels"},                // width 0
      {{{6, 0xFF}, {7, 0xFF}, {8, 0xFF}, {9, 0xFF}}, "too large"},    // a 65535 x 65535 screen
      {{{6, 0x00}, {7, 0x20}, {8, 0x00}, {9, 0x10}}, "more than a texture may take"},  // 8192 x 4096
      {{{frame, 0xFF}, {frame + 1, 0x7F}}, "too large"},              // the frame at x = 32767
  };
  for (const auto& [patch, part] : patches) {
    std::vector<uint8_t> bytes = valid;
    for (auto [at, value] : patch) bytes[at] = value;
    expectError(bytes, part);
  }
}

// LZW packs at most 4096 pixels into a code of 12 bits: a frame that claims more pixels
// than the bytes after its descriptor can hold is truncated, and is refused before its
// canvas is allocated (a 4096 x 4096 canvas takes 64 MB).
TEST(GifReader, AFrameLargerThanItsDataCanHoldIsRefusedBeforeAllocating) {
  const std::vector<uint8_t> hostile = {'G', 'I', 'F', '8', '9', 'a', 0, 16, 0, 16, 0x80, 0, 0,  // 4096 x 4096
                                        0, 0, 0, 255, 255, 255,                               // two colours
                                        0x2C, 0, 0, 0, 0, 0, 16, 0, 16, 0,                    // a frame as large
                                        2, 2, 0x44, 0x01, 0, 0x3B};                           // LZW: clear, 0, end
  const test::TChildRun run = test::RunInChild([&] { DecodeGif(hostile, "probe.gif"); });
  ASSERT_TRUE(run.Finished);
  EXPECT_NE(run.Error.find("probe.gif\": the file is truncated: a picture of 4096 x 4096 pixels needs at least 6144 bytes"),
            std::string::npos)
      << run.Error;
  EXPECT_LT(run.PeakGrowth, 16 << 20);

  // One colour over a million pixels, as compact as LZW makes it, is far within the bound.
  const TBitmap flat = DecodeGif(MakeTestGif({.ScreenWidth = 1000, .ScreenHeight = 1000, .GlobalColors = {kRed, kBlue},
                                              .Frames = {Frame(0, 0, 1000, 1000, std::vector<uint8_t>(1000 * 1000, 1))}}));
  EXPECT_EQ(flat.Pixel(999, 999), kBlue);
}

}  // namespace
}  // namespace qz
