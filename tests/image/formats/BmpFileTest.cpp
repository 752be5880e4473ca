#include <gtest/gtest.h>

#include <functional>
#include <random>
#include <string>
#include <vector>

#include "image/formats/BmpReader.h"
#include "image/formats/BmpWriter.h"
#include "support/ChildRun.h"
#include "support/HostileInput.h"
#include "support/PictureRoundTrip.h"
#include "support/TempDir.h"

namespace qz {
namespace {

using test::ErrorOf;

// A BMP file put together byte by byte, as other programs write them.
struct TBmpLayout {
  uint32_t HeaderSize = 40;
  int32_t Width = 0, Height = 0;  // Height < 0: rows top-down
  uint16_t Bits = 24, Planes = 1;
  uint32_t Compression = 0;
  uint32_t ColorsUsed = 0;
  std::vector<uint32_t> Palette = {};  // 0x00RRGGBB, written as blue, green, red(, 0)
  std::vector<uint32_t> Masks = {};    // after a 40-byte header, or inside a larger one
  std::vector<std::vector<uint8_t>> Rows = {};  // in file order, unpadded
  int64_t OffsetDelta = 0;                      // added to the correct pixel offset
};

void Put(std::vector<uint8_t>& out, uint64_t v, int bytes) {
  for (int i = 0; i < bytes; ++i) out.push_back(static_cast<uint8_t>(v >> (8 * i)));
}

std::vector<uint8_t> BuildBmp(const TBmpLayout& s) {
  std::vector<uint8_t> h, tables, pixels;
  const bool core = s.HeaderSize == 12;
  const int side = core ? 2 : 4;
  Put(h, s.HeaderSize, 4), Put(h, uint32_t(s.Width), side), Put(h, uint32_t(s.Height), side);
  Put(h, s.Planes, 2), Put(h, s.Bits, 2);
  if (!core) {
    Put(h, s.Compression, 4), Put(h, 0, 4), Put(h, 2835, 4), Put(h, 2835, 4), Put(h, s.ColorsUsed, 4), Put(h, 0, 4);
    if (s.HeaderSize > 40)
      for (size_t i = 0; i < 4; ++i) Put(h, i < s.Masks.size() ? s.Masks[i] : 0, 4);
    h.resize(std::max<size_t>(h.size(), s.HeaderSize));
  }
  if (s.HeaderSize == 40)
    for (uint32_t m : s.Masks) Put(tables, m, 4);
  for (uint32_t c : s.Palette) Put(tables, c, core ? 3 : 4);
  for (const auto& row : s.Rows) {
    pixels.insert(pixels.end(), row.begin(), row.end());
    pixels.resize((pixels.size() + 3) / 4 * 4);
  }
  const uint64_t offset = 14 + h.size() + tables.size();
  std::vector<uint8_t> f = {'B', 'M'};
  Put(f, offset + pixels.size(), 4), Put(f, 0, 4), Put(f, uint32_t(int64_t(offset) + s.OffsetDelta), 4);
  for (const auto* part : {&h, &tables, &pixels}) f.insert(f.end(), part->begin(), part->end());
  return f;
}

std::string BmpError(const TBmpLayout& s) {
  return ErrorOf([&] { DecodeBmp(BuildBmp(s), "probe.bmp"); });
}

constexpr uint32_t kRed = 0xFF0000, kGreen = 0x00FF00, kBlue = 0x0000FF, kWhite = 0xFFFFFF;

TEST(BmpFile, Writes24BitBottomUpFilesThatReadBack) {
  std::mt19937 rng(7);
  for (int w : {1, 2, 3, 4}) {  // every row padding
    SCOPED_TRACE(w);
    TBitmap image(w, 3);
    for (int i = 0; i < w * 3; ++i) image.Data()[i] = rng() | 0xFF000000u;  // the fourth byte is not written
    const test::TRoundTrip trip = test::RoundTrip(image, {.Format = test::TPictureFormat::Bmp});
    EXPECT_EQ(trip.Mismatch, "");
    const std::vector<uint8_t>& bytes = trip.Bytes;
    ASSERT_EQ(bytes.size(), 54 + (w * 3 + 3) / 4 * 4 * 3u);
    EXPECT_EQ(bytes, EncodeBmp24(image));
    // Pixel offset, height (positive: bottom-up), depth, then the bottom row, blue first.
    EXPECT_EQ((std::vector<uint32_t>{bytes[10], bytes[22], bytes[28], bytes[54], bytes[56]}),
              (std::vector<uint32_t>{54, 3, 24, PixelBlue(image.Pixel(0, 2)), PixelRed(image.Pixel(0, 2))}));
  }
  TBitmap image(5, 2);
  image.Fill(kGreen);
  EXPECT_THROW(EncodeBmp24(TBitmap()), std::runtime_error);
  EXPECT_THROW(WriteBmp24(std::string(QZ_TEST_OUTPUT_DIR) + "/no-such-dir/x.bmp", image), std::runtime_error);
  EXPECT_THROW(ReadBmpFile(test::OutputPath("no-such-file.bmp")), std::runtime_error);
}

TEST(BmpFile, ReadsEveryPixelLayout) {
  struct TProbe {
    int x, y;
    uint32_t want;
  };
  auto expect = [](const TBmpLayout& s, std::vector<TProbe> probes) {
    const TBitmap b = DecodeBmp(BuildBmp(s));
    for (const TProbe& p : probes)
      EXPECT_EQ(b.Pixel(p.x, p.y), p.want) << s.Bits << " bits, header " << s.HeaderSize << " at " << p.x << "," << p.y;
  };
  // 1 bit, 10 pixels a row: the leftmost pixel in the high bit, rows bottom-up.
  expect({.Width = 10, .Height = 2, .Bits = 1, .Palette = {kRed, kBlue}, .Rows = {{0x80, 0x40}, {0x55, 0xC0}}},
         {{1, 0, kBlue}, {9, 0, kBlue}, {0, 1, kBlue}, {1, 1, kRed}});
  // 4 bits with three colours named; index 5 lies beyond them and reads black.
  expect({.Width = 3, .Height = 1, .Bits = 4, .ColorsUsed = 3, .Palette = {kRed, kGreen, kWhite}, .Rows = {{0x21, 0x50}}},
         {{0, 0, kWhite}, {1, 0, kGreen}, {2, 0, 0}});
  TBmpLayout eight{.Width = 2, .Height = -2, .Bits = 8, .Rows = {{0, 255}, {7, 128}}};  // top-down
  for (uint32_t i = 0; i < 256; ++i) eight.Palette.push_back(RGBToPixel(i, 255 - i, i / 2));
  expect(eight, {{1, 0, RGBToPixel(255, 0, 127)}, {0, 1, RGBToPixel(7, 248, 3)}});
  // The old core header: 3-byte palette entries, 16-bit sizes.
  TBmpLayout core{.HeaderSize = 12, .Width = 2, .Height = 1, .Bits = 8, .Palette = std::vector<uint32_t>(256, kWhite), .Rows = {{3, 4}}};
  core.Palette[3] = kBlue;
  expect(core, {{0, 0, kBlue}, {1, 0, kWhite}});
  expect({.HeaderSize = 12, .Width = 1, .Height = 2, .Bits = 24, .Rows = {{1, 2, 3}, {4, 5, 6}}}, {{0, 0, RGBToPixel(6, 5, 4)}});
  // 32 bits without masks: blue, green, red and an ignored fourth byte.
  expect({.Width = 2, .Height = -2, .Bits = 32, .Rows = {{1, 2, 3, 0xAA, 4, 5, 6, 0xBB}, {7, 8, 9, 0, 10, 11, 12, 0}}},
         {{0, 0, RGBToPixel(3, 2, 1)}, {1, 1, RGBToPixel(12, 11, 10)}});
  // Masks inside V4 and V5 headers in an unusual order (red low, alpha on top).
  for (uint32_t header : {108u, 124u})
    expect({.HeaderSize = header, .Width = 1, .Height = 1, .Bits = 32, .Compression = 3,
            .Masks = {0xFF, 0xFF00, 0xFF0000, 0xFF000000}, .Rows = {{10, 20, 30, 40}}},
           {{0, 0, RGBToPixel(10, 20, 30)}});
  // 16 bits: 5-6-5 with masks after the header, 5-5-5 without.
  expect({.Width = 2, .Height = 1, .Bits = 16, .Compression = 3, .Masks = {0xF800, 0x07E0, 0x001F}, .Rows = {{0x00, 0xF8, 0xE0, 0x07}}},
         {{0, 0, kRed}, {1, 0, kGreen}});
  expect({.Width = 1, .Height = 1, .Bits = 16, .Rows = {{0x10, 0x42}}}, {{0, 0, RGBToPixel(132, 132, 132)}});
}

TEST(BmpFile, RefusesBrokenAndHostileFiles) {
  const TBmpLayout good{.Width = 3, .Height = 2, .Bits = 8, .Palette = std::vector<uint32_t>(256, kRed), .Rows = {{1, 2, 3}, {4, 5, 6}}};
  const std::vector<uint8_t> valid = BuildBmp(good);
  ASSERT_EQ(BmpError(good), "");
  EXPECT_NE(ErrorOf([&] { DecodeBmp({valid.begin(), valid.end() - 1}, "x"); }).find("pixel data is truncated"), std::string::npos);
  std::vector<uint8_t> notBmp = valid;
  notBmp[0] = 'P';
  EXPECT_NE(ErrorOf([&] { DecodeBmp(notBmp, "x"); }).find("not a BMP file"), std::string::npos);

  const std::vector<std::pair<std::function<void(TBmpLayout&)>, std::string>> damages = {
      {[](TBmpLayout& s) { s.OffsetDelta = 1000; }, "pixel data is truncated"},
      {[](TBmpLayout& s) { s.OffsetDelta = -8; }, "inside the header or palette"},
      {[](TBmpLayout& s) { s.ColorsUsed = 300; }, "more than a 8-bit picture can use"},
      {[](TBmpLayout& s) { s.ColorsUsed = 200, s.Palette.resize(5), s.Rows.clear(); }, "palette runs past the end"},
      {[](TBmpLayout& s) { s.Width = 16384, s.Height = 16384; }, "too large"},
      {[](TBmpLayout& s) { s.Width = 8192, s.Height = 4096, s.Bits = 1, s.Palette.resize(2); }, "more than a texture may take"},
      {[](TBmpLayout& s) { s.Height = INT32_MIN; }, "too large"},
      {[](TBmpLayout& s) { s.Width = -3; }, "no pixels"},
      {[](TBmpLayout& s) { s.Height = 0; }, "no pixels"},
      {[](TBmpLayout& s) { s.Compression = 1; }, "RLE"},
      {[](TBmpLayout& s) { s.Compression = 4; }, "JPEG or PNG"},
      {[](TBmpLayout& s) { s.Compression = 3; }, "colour masks are given for a 8-bit picture"},
      {[](TBmpLayout& s) { s.Bits = 7; }, "7 bits per pixel"},
      {[](TBmpLayout& s) { s.Planes = 2; }, "colour planes"},
      {[](TBmpLayout& s) { s.HeaderSize = 64; }, "header size 64"},
      {[](TBmpLayout& s) { s = {.Width = 1, .Height = 1, .Bits = 32, .Compression = 3, .Masks = {0xF0F000, 0xFF00, 0xFF}, .Rows = {{0, 0, 0, 0}}}; },
       "not one run of bits"},
  };
  for (const auto& [damage, part] : damages) {
    TBmpLayout s = good;
    damage(s);
    const std::string error = BmpError(s);
    EXPECT_NE(error.find("probe.bmp"), std::string::npos) << error;
    EXPECT_NE(error.find(part), std::string::npos) << error;
  }
}

// The pixel data a header declares is checked against the file before the picture is
// allocated: 4096 x 4096 pixels of 24 bits (48 MB) declared in a file of 54 bytes.
TEST(BmpFile, DataShorterThanItsHeaderDeclaresIsRefusedBeforeAllocating) {
  const std::vector<uint8_t> hostile = BuildBmp({.Width = 4096, .Height = 4096, .Bits = 24});
  ASSERT_EQ(hostile.size(), 54u);
  const test::TChildRun run = test::RunInChild([&] { DecodeBmp(hostile, "probe.bmp"); });
  ASSERT_TRUE(run.Finished);
  EXPECT_NE(run.Error.find("probe.bmp\": the pixel data is truncated (50331648 bytes needed"), std::string::npos)
      << run.Error;
  EXPECT_LT(run.PeakGrowth, 16 << 20);
}

}  // namespace
}  // namespace qz
