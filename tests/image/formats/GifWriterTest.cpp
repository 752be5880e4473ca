#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "image/formats/GifCodeStream.h"  // EncodeRunLengthCodes
#include "image/formats/GifTestSupport.h"
#include "image/formats/GifWriter.h"
#include "base/FileUtil.h"
#include "support/PictureRoundTrip.h"
#include "support/TempDir.h"

namespace qz {
namespace {

// A frame of `colors` distinct palette colours whose pixels come from pick(x, y).
template <typename Pick>
TIndexedImage MakeFrame(int width, int height, int colors, Pick pick, int transparentIndex = -1) {
  TIndexedImage f;
  f.width = width;
  f.height = height;
  for (int i = 0; i < colors; ++i) f.palette.push_back({uint8_t(i * 37), uint8_t(255 - i), uint8_t(i * 101)});
  f.usedSize = colors;
  f.transparentIndex = transparentIndex;
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) f.pixels.push_back(static_cast<uint8_t>(pick(x, y) % colors));
  return f;
}

// Writes the frame (LZW and run-length) and reads it back as a texture, every pixel
// its palette colour or, where transparent, the backdrop (test::RoundTrip); then
// checks with giflib what only the file shows: one frame covering the screen, the
// table of the used entries padded with black to a power of two, the transparency.
void ExpectRoundTrip(const TIndexedImage& f) {
  for (TGifCompression compression : {TGifCompression::Lzw, TGifCompression::RunLength}) {
    SCOPED_TRACE(compression == TGifCompression::Lzw ? "LZW" : "run-length");
    const test::TRoundTrip trip = test::RoundTrip(f, compression);
    ASSERT_EQ(trip.Mismatch, "");
    const test::TDecodedGif d = test::DecodeWithGiflib(trip.Bytes);
    ASSERT_TRUE(d.ok) << d.error;
    EXPECT_EQ(std::make_tuple(d.width, d.height, d.imageCount), std::make_tuple(f.width, f.height, 1));
    const size_t table = d.colorMap.size();
    ASSERT_GE(table, static_cast<size_t>(std::max(2, f.usedSize)));
    ASSERT_EQ(table & (table - 1), 0u) << table;
    for (size_t i = 0; i < table; ++i)
      EXPECT_EQ(d.colorMap[i], i < static_cast<size_t>(f.usedSize) ? f.palette[i] : TRgb{}) << "entry " << i;
    EXPECT_EQ(d.hasGraphicControl, f.transparentIndex >= 0);
    EXPECT_EQ(d.transparentIndex, f.transparentIndex);
    EXPECT_EQ(std::string(trip.Bytes.begin(), trip.Bytes.begin() + 6), "GIF89a");
  }
}

TEST(GifWriter, RoundTripsSizesColourCountsAndTransparency) {
  std::mt19937 rng(1);
  // The last two fill the LZW dictionary (4096 strings) again and again: a Clear each time.
  for (auto [w, h, colors] : {std::tuple{1, 1, 2}, {1, 1, 1}, {3, 5, 3}, {7, 1, 17}, {33, 17, 256}, {255, 2, 256},
                              {300, 300, 256}, {200, 150, 3}}) {
    SCOPED_TRACE(testing::Message() << w << "x" << h << " with " << colors << " colours");
    ExpectRoundTrip(MakeFrame(w, h, colors, [&](int, int) { return rng() % 256; }));  // every pixel its own run
  }
  for (int transparent : {4, 0}) ExpectRoundTrip(MakeFrame(9, 4, 5, [](int x, int y) { return x * y; }, transparent));
  // The extension sits between the colour table and the image descriptor.
  const std::vector<uint8_t> bytes = EncodeGif(MakeFrame(2, 2, 2, [](int x, int) { return x; }, 1));
  const size_t extension = 13 + 2 * 3;
  EXPECT_EQ(std::vector<uint8_t>(bytes.begin() + extension, bytes.begin() + extension + 9),
            (std::vector<uint8_t>{0x21, 0xF9, 0x04, 0x01, 0, 0, 1, 0, 0x2C}));
}

TEST(GifWriter, LongRunsStayCompactAndNeverWidenCodes) {
  // One colour over a million pixels: literal codes alone would need over a megabyte.
  // Two colours: a table of two entries would allow only two codes between Clear
  // codes (over 300 kB here); a larger table lets runs grow.
  const TIndexedImage flat = MakeFrame(1000, 1000, 256, [](int, int) { return 200; });
  const TIndexedImage two = MakeFrame(1000, 1000, 2, [](int x, int) { return x < 500; });
  ExpectRoundTrip(flat);
  ExpectRoundTrip(two);
  EXPECT_LT(EncodeGif(flat, TGifCompression::RunLength).size(), 20000u);
  EXPECT_LT(EncodeGif(two, TGifCompression::RunLength).size(), 25000u);
  // LZW finds the repeats the run-length codes cannot: far smaller still.
  EXPECT_LT(EncodeGif(flat).size(), 4000u);
  EXPECT_LT(EncodeGif(two).size(), 5000u);
  // Recurring runs, so codes built for one run are used again by a later run.
  ExpectRoundTrip(MakeFrame(640, 480, 17, [](int x, int y) { return (x / 77 + y / 13) % 5; }));

  // Random runs, long and short, at every code size giflib's decoder widens from.
  std::mt19937 rng(9);
  for (int colors : {3, 5, 9, 17, 33, 65, 129, 256}) {
    SCOPED_TRACE(colors);
    int left = 0, value = 0;
    ExpectRoundTrip(MakeFrame(500, 400, colors, [&](int, int) {
      if (left-- <= 0) left = rng() % 3 == 0 ? rng() % 5000 : rng() % 6, value = rng() % colors;
      return value;
    }));
  }
}

TEST(GifWriter, RefusesFramesThatCannotBeGifsAndKeepsTheOldFile) {
  const TIndexedImage good = MakeFrame(4, 4, 3, [](int x, int) { return x; }, 2);
  const std::vector<void (*)(TIndexedImage&)> damages = {
      [](TIndexedImage& f) { f.width = f.height = 0, f.pixels.clear(); },
      [](TIndexedImage& f) { f.width = 70000, f.height = 1, f.pixels.assign(70000, 0); },
      [](TIndexedImage& f) { f.pixels[5] = 3; },  // outside the 3 used entries
      [](TIndexedImage& f) { f.usedSize = 0; },
      [](TIndexedImage& f) { f.transparentIndex = 3; },
      [](TIndexedImage& f) { f.pixels.pop_back(); },
  };
  test::TTempDir dir;
  const std::string path = dir.File("b.gif");
  WriteGifFile(path, good);
  EXPECT_EQ(*ReadWholeFile(path, 1 << 20), EncodeGif(good));
  for (size_t i = 0; i < damages.size(); ++i) {
    TIndexedImage f = good;
    damages[i](f);
    EXPECT_THROW(WriteGifFile(path, f), std::invalid_argument) << i;
  }
  EXPECT_EQ(*ReadWholeFile(path, 1 << 20), EncodeGif(good));
  EXPECT_THROW(WriteGifFile(dir.File("no-such-folder/x.gif"), good), std::runtime_error);
  const std::vector<uint8_t> wide = {0, 4};
  EXPECT_THROW(EncodeRunLengthCodes(wide.data(), wide.size(), 2), std::invalid_argument);
}

}  // namespace
}  // namespace qz
