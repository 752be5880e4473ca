#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "gif/GifCodeStream.h"
#include "gif/GifWriter.h"
#include "gif/GifTestSupport.h"
#include "platform/FileUtil.h"

namespace qz {
namespace {

using test::DecodeWithGiflib;
using test::TRandom;

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

// Encodes, decodes with giflib and compares everything a viewer would use.
void ExpectRoundTrip(const TIndexedImage& f) {
  std::vector<uint8_t> bytes = EncodeGif(f);
  test::TDecodedGif d = DecodeWithGiflib(bytes);
  ASSERT_TRUE(d.ok) << d.error;
  EXPECT_EQ(d.width, f.width);
  EXPECT_EQ(d.height, f.height);
  EXPECT_EQ(d.imageCount, 1);
  ASSERT_EQ(d.indices, f.pixels);
  // The table is the used entries padded with black to a power of two (at least 2).
  size_t table = d.colorMap.size();
  ASSERT_GE(table, static_cast<size_t>(std::max(2, f.usedSize)));
  ASSERT_EQ(table & (table - 1), 0u) << table;
  for (size_t i = 0; i < table; ++i)
    EXPECT_EQ(d.colorMap[i], i < static_cast<size_t>(f.usedSize) ? f.palette[i] : TRgb{}) << "entry " << i;
  EXPECT_EQ(d.hasGraphicControl, f.transparentIndex >= 0);
  EXPECT_EQ(d.transparentIndex, f.transparentIndex);
  EXPECT_EQ(std::string(bytes.begin(), bytes.begin() + 6), "GIF89a");
  EXPECT_EQ(bytes.back(), 0x3B);
}

// Reads a code stream at one fixed width, as a decoder would if the width never
// grows, and rebuilds the indices with the decoder's table. Fails when a stretch
// between Clear codes holds more codes than the width allows.
std::vector<uint8_t> DecodeFixedWidth(const std::vector<uint8_t>& codes, int minCodeSize, int& clears) {
  const int clear = 1 << minCodeSize, end = clear + 1, width = minCodeSize + 1;
  std::vector<std::vector<uint8_t>> table;
  std::vector<uint8_t> out, prev;
  size_t bit = 0;
  int sinceClear = 0;
  clears = 0;
  const bool failedBefore = ::testing::Test::HasFailure();
  auto read = [&] {
    int code = 0;
    for (int i = 0; i < width; ++i, ++bit) code |= ((codes.at(bit / 8) >> (bit % 8)) & 1) << i;
    return code;
  };
  for (bool first = true;; first = false) {
    int code = read();
    if (first) {
      EXPECT_EQ(code, clear) << "the stream must open with a Clear code";
    }
    if (code == end) break;
    if (code == clear) {
      ++clears;
      table.assign(clear + 2, {});
      for (int i = 0; i < clear; ++i) table[i] = {uint8_t(i)};
      prev.clear();
      sinceClear = 0;
      continue;
    }
    ++sinceClear;
    EXPECT_LE(sinceClear, clear - 2) << "the decoder would have widened its codes";
    std::vector<uint8_t> s;
    if (code < static_cast<int>(table.size()) && code != clear && code != end) {
      s = table[code];
    } else {
      EXPECT_EQ(code, static_cast<int>(table.size())) << "a code the decoder does not have";
      EXPECT_FALSE(prev.empty());
      s = prev;
      s.push_back(prev.at(0));
    }
    if (!prev.empty()) {
      std::vector<uint8_t> entry = prev;
      entry.push_back(s[0]);
      table.push_back(entry);
    }
    out.insert(out.end(), s.begin(), s.end());
    prev = s;
    if (!failedBefore && ::testing::Test::HasFailure()) break;
  }
  EXPECT_EQ((bit + 7) / 8, codes.size()) << "bytes after the End of Information code";
  return out;
}

TEST(GifWriter, RoundTripsSizesAndColourCounts) {
  TRandom rnd(1);
  struct Case {
    int w, h, colors;
  };
  for (Case c : {Case{1, 1, 2}, Case{1, 1, 1}, Case{3, 5, 3}, Case{7, 1, 17}, Case{1, 9, 2}, Case{33, 17, 256},
                 Case{101, 3, 17}, Case{255, 2, 256}, Case{64, 64, 3}}) {
    SCOPED_TRACE(testing::Message() << c.w << "x" << c.h << " with " << c.colors << " colours");
    // Noise: every pixel its own run.
    ExpectRoundTrip(MakeFrame(c.w, c.h, c.colors, [&](int, int) { return rnd.Below(256); }));
    // Runs of random lengths, often crossing rows.
    int left = 0, value = 0;
    ExpectRoundTrip(MakeFrame(c.w, c.h, c.colors, [&](int, int) {
      if (left-- == 0) left = rnd.Below(40), value = rnd.Below(256);
      return value;
    }));
  }
}

TEST(GifWriter, LongRunsStayCompactAndNeverWidenCodes) {
  // One colour over a million pixels: many Clear codes, each stretch using the run
  // codes the decoder builds. Literal codes alone would need over a megabyte.
  TIndexedImage flat = MakeFrame(1000, 1000, 256, [](int, int) { return 200; });
  ExpectRoundTrip(flat);
  EXPECT_LT(EncodeGif(flat).size(), 20000u);
  // Two colours: a table of two entries would allow only two codes between Clear
  // codes (over 300 kB here); a larger table lets runs grow.
  TIndexedImage two = MakeFrame(1000, 1000, 2, [](int x, int) { return x < 500; });
  ExpectRoundTrip(two);
  EXPECT_LT(EncodeGif(two).size(), 25000u);
  TRandom noise(4);
  ExpectRoundTrip(MakeFrame(200, 100, 2, [&](int, int) { return noise.Below(2); }));

  // Alternating long runs of two colours, and of a few colours that recur, so the
  // codes built for one run are used again by a later run.
  ExpectRoundTrip(MakeFrame(997, 301, 4, [](int x, int y) { return ((x + y * 997) / 1500) % 2; }));
  ExpectRoundTrip(MakeFrame(640, 480, 17, [](int x, int y) { return (x / 77 + y / 13) % 5; }));

  TRandom rnd(9);
  for (int minCodeSize = 2; minCodeSize <= 8; ++minCodeSize) {
    SCOPED_TRACE(minCodeSize);
    std::vector<uint8_t> pixels;
    while (pixels.size() < 200000) {
      int run = rnd.Below(3) == 0 ? rnd.Below(5000) : rnd.Below(6);
      pixels.insert(pixels.end(), run, static_cast<uint8_t>(rnd.Below(1 << minCodeSize)));
    }
    int clears = 0;
    std::vector<uint8_t> codes = EncodeRunLengthCodes(pixels.data(), pixels.size(), minCodeSize);
    EXPECT_EQ(DecodeFixedWidth(codes, minCodeSize, clears), pixels);
    EXPECT_GT(clears, 1);
  }
}

TEST(GifWriter, TransparencyExtensionOnlyWhenAsked) {
  ExpectRoundTrip(MakeFrame(9, 4, 5, [](int x, int y) { return x * y; }, 4));
  ExpectRoundTrip(MakeFrame(9, 4, 5, [](int x, int y) { return x * y; }, 0));
  ExpectRoundTrip(MakeFrame(9, 4, 5, [](int x, int y) { return x * y; }, -1));
  // The extension sits between the colour table and the image descriptor.
  TIndexedImage f = MakeFrame(2, 2, 2, [](int x, int) { return x; }, 1);
  std::vector<uint8_t> bytes = EncodeGif(f);
  const size_t extension = 13 + 2 * 3;
  ASSERT_GT(bytes.size(), extension + 8);
  EXPECT_EQ(std::vector<uint8_t>(bytes.begin() + extension, bytes.begin() + extension + 9),
            (std::vector<uint8_t>{0x21, 0xF9, 0x04, 0x01, 0, 0, 1, 0, 0x2C}));
}

TEST(GifWriter, RefusesFramesThatCannotBeGifs) {
  auto good = [] { return MakeFrame(4, 4, 3, [](int x, int) { return x; }); };
  TIndexedImage f = good();
  f.width = f.height = 0;
  f.pixels.clear();
  EXPECT_THROW(EncodeGif(f), std::invalid_argument);
  f = MakeFrame(70000, 1, 2, [](int, int) { return 0; });
  EXPECT_THROW(EncodeGif(f), std::invalid_argument);
  f = good();
  f.pixels[5] = 3;  // outside the 3 used entries
  EXPECT_THROW(EncodeGif(f), std::invalid_argument);
  f = good();
  f.usedSize = 0;
  EXPECT_THROW(EncodeGif(f), std::invalid_argument);
  f = good();
  f.transparentIndex = 3;
  EXPECT_THROW(EncodeGif(f), std::invalid_argument);
  f = good();
  f.pixels.pop_back();
  EXPECT_THROW(EncodeGif(f), std::invalid_argument);
  std::vector<uint8_t> wide = {0, 4};
  EXPECT_THROW(EncodeRunLengthCodes(wide.data(), wide.size(), 2), std::invalid_argument);
}

TEST(GifWriter, WritesFilesAtomically) {
  std::filesystem::path dir = std::filesystem::path(QZ_TEST_OUTPUT_DIR) / "gif";
  std::filesystem::create_directories(dir);
  std::string path = (dir / "writer-roundtrip.gif").string();
  TIndexedImage f = MakeFrame(13, 7, 6, [](int x, int y) { return x + 3 * y; }, 2);
  WriteGifFile(path, f);
  auto bytes = ReadWholeFile(path, 1 << 20);
  ASSERT_TRUE(bytes.has_value());
  EXPECT_EQ(*bytes, EncodeGif(f));

  // A frame that cannot be written leaves the old file whole; so does a missing folder.
  TIndexedImage bad = f;
  bad.usedSize = 0;
  EXPECT_THROW(WriteGifFile(path, bad), std::invalid_argument);
  EXPECT_EQ(*ReadWholeFile(path, 1 << 20), *bytes);
  EXPECT_THROW(WriteGifFile((dir / "no-such-folder" / "x.gif").string(), f), std::runtime_error);
}

}  // namespace
}  // namespace qz
