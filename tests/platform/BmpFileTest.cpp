#include <gtest/gtest.h>

#include <filesystem>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/BmpReader.h"
#include "platform/BmpWriter.h"

namespace qz {
namespace {

// A BMP file put together byte by byte, as other programs write them.
struct TBmpSpec {
  uint32_t HeaderSize = 40;
  int32_t Width = 0, Height = 0;  // Height < 0: rows top-down
  uint16_t Bits = 24, Planes = 1;
  uint32_t Compression = 0;
  uint32_t ColorsUsed = 0;
  std::vector<uint32_t> Palette = {};  // 0x00RRGGBB, written as blue, green, red(, 0)
  std::vector<uint32_t> Masks = {};    // written after a 40-byte header, or inside a larger one
  std::vector<std::vector<uint8_t>> Rows = {};  // in file order, unpadded
  int64_t OffsetDelta = 0;                 // added to the correct pixel offset
};

void Put(std::vector<uint8_t>& out, uint64_t v, int bytes) {
  for (int i = 0; i < bytes; ++i) out.push_back(static_cast<uint8_t>(v >> (8 * i)));
}

std::vector<uint8_t> BuildBmp(const TBmpSpec& s) {
  std::vector<uint8_t> h;  // the info header
  const bool core = s.HeaderSize == 12;
  Put(h, s.HeaderSize, 4);
  if (core) {
    Put(h, uint16_t(s.Width), 2), Put(h, uint16_t(s.Height), 2), Put(h, s.Planes, 2), Put(h, s.Bits, 2);
  } else {
    Put(h, uint32_t(s.Width), 4), Put(h, uint32_t(s.Height), 4), Put(h, s.Planes, 2), Put(h, s.Bits, 2);
    Put(h, s.Compression, 4), Put(h, 0, 4), Put(h, 2835, 4), Put(h, 2835, 4), Put(h, s.ColorsUsed, 4), Put(h, 0, 4);
    if (s.HeaderSize > 40)
      for (size_t i = 0; i < 4; ++i) Put(h, i < s.Masks.size() ? s.Masks[i] : 0, 4);
    while (h.size() < s.HeaderSize) h.push_back(0);
  }
  std::vector<uint8_t> tables;
  if (s.HeaderSize == 40)
    for (uint32_t m : s.Masks) Put(tables, m, 4);
  for (uint32_t c : s.Palette) Put(tables, c, core ? 3 : 4);
  std::vector<uint8_t> pixels;
  for (const auto& row : s.Rows) {
    pixels.insert(pixels.end(), row.begin(), row.end());
    while (pixels.size() % 4) pixels.push_back(0);
  }
  const uint64_t offset = 14 + h.size() + tables.size();
  std::vector<uint8_t> f = {'B', 'M'};
  Put(f, offset + pixels.size(), 4), Put(f, 0, 4), Put(f, uint32_t(int64_t(offset) + s.OffsetDelta), 4);
  f.insert(f.end(), h.begin(), h.end());
  f.insert(f.end(), tables.begin(), tables.end());
  f.insert(f.end(), pixels.begin(), pixels.end());
  return f;
}

std::string ErrorOf(const std::vector<uint8_t>& bytes) {
  try {
    DecodeBmp(bytes, "probe.bmp");
  } catch (const std::runtime_error& e) {
    return e.what();
  }
  return "";
}

constexpr uint32_t kRed = 0xFF0000, kGreen = 0x00FF00, kBlue = 0x0000FF, kWhite = 0xFFFFFF;

TEST(BmpFile, Writes24BitFilesThatReadBack) {
  std::mt19937 rng(7);
  for (int w : {1, 2, 3, 4, 5, 17}) {
    TBitmap image(w, 3);
    for (int y = 0; y < 3; ++y)
      for (int x = 0; x < w; ++x) image.SetPixel(x, y, rng() | 0xFF000000u);
    std::vector<uint8_t> bytes = EncodeBmp24(image);
    const size_t stride = (w * 3 + 3) / 4 * 4;
    ASSERT_EQ(bytes.size(), 54 + stride * 3);
    EXPECT_EQ(bytes[10], 54);
    EXPECT_EQ(bytes[22], 3);  // positive height: bottom-up
    EXPECT_EQ(bytes[28], 24);
    // The first stored row is the bottom one, blue first.
    EXPECT_EQ(bytes[54], PixelBlue(image.Pixel(0, 2)));
    EXPECT_EQ(bytes[56], PixelRed(image.Pixel(0, 2)));
    TBitmap back = DecodeBmp(bytes);
    ASSERT_EQ(back.Width(), w);
    for (int y = 0; y < 3; ++y)
      for (int x = 0; x < w; ++x) ASSERT_EQ(back.Pixel(x, y), image.Pixel(x, y) & 0xFFFFFF);
  }
  std::filesystem::create_directories(QZ_TEST_OUTPUT_DIR);
  const std::string path = std::string(QZ_TEST_OUTPUT_DIR) + "/bmp-roundtrip.bmp";
  TBitmap image(5, 2);
  image.Fill(kGreen);
  WriteBmp24(path, image);
  EXPECT_EQ(ReadBmpFile(path), image);
  EXPECT_THROW(EncodeBmp24(TBitmap()), std::runtime_error);
  EXPECT_THROW(WriteBmp24(std::string(QZ_TEST_OUTPUT_DIR) + "/no-such-dir/x.bmp", image), std::runtime_error);
}

TEST(BmpFile, ReadsPalettePictures) {
  // 1 bit, 10 pixels a row: the leftmost pixel in the high bit, rows bottom-up.
  TBmpSpec one{.Width = 10, .Height = 2, .Bits = 1, .Palette = {kRed, kBlue}};
  one.Rows = {{0b10000000, 0b01000000}, {0b01010101, 0b11000000}};
  TBitmap b = DecodeBmp(BuildBmp(one));
  EXPECT_EQ(b.Pixel(0, 0), kRed);
  EXPECT_EQ(b.Pixel(1, 0), kBlue);
  EXPECT_EQ(b.Pixel(8, 0), kBlue);
  EXPECT_EQ(b.Pixel(9, 0), kBlue);
  EXPECT_EQ(b.Pixel(0, 1), kBlue);
  EXPECT_EQ(b.Pixel(1, 1), kRed);
  EXPECT_EQ(b.Pixel(9, 1), kBlue);

  // 4 bits with three palette colours named; index 5 lies beyond them and reads black.
  TBmpSpec four{.Width = 3, .Height = 1, .Bits = 4, .ColorsUsed = 3, .Palette = {kRed, kGreen, kWhite}};
  four.Rows = {{0x21, 0x50}};
  b = DecodeBmp(BuildBmp(four));
  EXPECT_EQ(b.Pixel(0, 0), kWhite);
  EXPECT_EQ(b.Pixel(1, 0), kGreen);
  EXPECT_EQ(b.Pixel(2, 0), 0u);

  // 8 bits, top-down, a full palette.
  TBmpSpec eight{.Width = 2, .Height = -2, .Bits = 8};
  for (uint32_t i = 0; i < 256; ++i) eight.Palette.push_back(RGBToPixel(i, 255 - i, i / 2));
  eight.Rows = {{0, 255}, {7, 128}};
  b = DecodeBmp(BuildBmp(eight));
  EXPECT_EQ(b.Pixel(0, 0), RGBToPixel(0, 255, 0));
  EXPECT_EQ(b.Pixel(1, 0), RGBToPixel(255, 0, 127));
  EXPECT_EQ(b.Pixel(0, 1), RGBToPixel(7, 248, 3));

  // The old core header: 3-byte palette entries.
  TBmpSpec core{.HeaderSize = 12, .Width = 2, .Height = 1, .Bits = 8, .Palette = std::vector<uint32_t>(256, kWhite)};
  core.Palette[3] = kBlue;
  core.Rows = {{3, 4}};
  b = DecodeBmp(BuildBmp(core));
  EXPECT_EQ(b.Pixel(0, 0), kBlue);
  EXPECT_EQ(b.Pixel(1, 0), kWhite);
}

TEST(BmpFile, ReadsDirectColourPictures) {
  // 32 bits without masks: blue, green, red and an ignored fourth byte; top-down.
  TBmpSpec plain{.Width = 2, .Height = -2, .Bits = 32};
  plain.Rows = {{1, 2, 3, 0xAA, 4, 5, 6, 0xBB}, {7, 8, 9, 0, 10, 11, 12, 0}};
  TBitmap b = DecodeBmp(BuildBmp(plain));
  EXPECT_EQ(b.Pixel(0, 0), RGBToPixel(3, 2, 1));
  EXPECT_EQ(b.Pixel(1, 1), RGBToPixel(12, 11, 10));

  // 32 bits, V5 header, masks in an unusual order (red in the low byte, alpha on top).
  TBmpSpec v5{.HeaderSize = 124, .Width = 1, .Height = 1, .Bits = 32, .Compression = 3,
              .Masks = {0x000000FF, 0x0000FF00, 0x00FF0000, 0xFF000000}};
  v5.Rows = {{10, 20, 30, 40}};
  EXPECT_EQ(DecodeBmp(BuildBmp(v5)).Pixel(0, 0), RGBToPixel(10, 20, 30));
  TBmpSpec v4 = v5;
  v4.HeaderSize = 108;
  EXPECT_EQ(DecodeBmp(BuildBmp(v4)).Pixel(0, 0), RGBToPixel(10, 20, 30));

  // 16 bits 5-6-5 with the masks after a 40-byte header; and 5-5-5 without.
  TBmpSpec rgb565{.Width = 2, .Height = 1, .Bits = 16, .Compression = 3, .Masks = {0xF800, 0x07E0, 0x001F}};
  rgb565.Rows = {{0x00, 0xF8, 0xE0, 0x07}};  // pure red, pure green
  b = DecodeBmp(BuildBmp(rgb565));
  EXPECT_EQ(b.Pixel(0, 0), kRed);
  EXPECT_EQ(b.Pixel(1, 0), kGreen);
  TBmpSpec rgb555{.Width = 1, .Height = 1, .Bits = 16};
  rgb555.Rows = {{0x10, 0x42}};  // 0x4210: 16, 16, 16 of 31
  EXPECT_EQ(DecodeBmp(BuildBmp(rgb555)).Pixel(0, 0), RGBToPixel(132, 132, 132));

  // 24 bits with the core header, bottom-up.
  TBmpSpec core{.HeaderSize = 12, .Width = 1, .Height = 2, .Bits = 24};
  core.Rows = {{1, 2, 3}, {4, 5, 6}};
  b = DecodeBmp(BuildBmp(core));
  EXPECT_EQ(b.Pixel(0, 0), RGBToPixel(6, 5, 4));
  EXPECT_EQ(b.Pixel(0, 1), RGBToPixel(3, 2, 1));
}

TEST(BmpFile, RefusesBrokenAndHostileFiles) {
  TBmpSpec good{.Width = 3, .Height = 2, .Bits = 8, .Palette = std::vector<uint32_t>(256, kRed)};
  good.Rows = {{1, 2, 3}, {4, 5, 6}};
  const std::vector<uint8_t> valid = BuildBmp(good);
  ASSERT_EQ(ErrorOf(valid), "");
  // Every truncation of a valid file is refused, never read past its end.
  for (size_t n = 0; n < valid.size(); ++n)
    ASSERT_NE(ErrorOf(std::vector<uint8_t>(valid.begin(), valid.begin() + n)), "") << n;
  EXPECT_NE(ErrorOf({valid.begin(), valid.end() - 1}).find("pixel data is truncated"), std::string::npos);

  auto expectError = [](TBmpSpec s, const std::string& part) {
    std::string error = ErrorOf(BuildBmp(s));
    EXPECT_NE(error.find("probe.bmp"), std::string::npos) << error;
    EXPECT_NE(error.find(part), std::string::npos) << error;
  };
  TBmpSpec s = good;
  s.OffsetDelta = 1000;
  expectError(s, "pixel data is truncated");
  s.OffsetDelta = -8;  // pixels would overlap the palette
  expectError(s, "inside the header or palette");
  s = good, s.ColorsUsed = 300;
  expectError(s, "more than a 8-bit picture can use");
  s = good, s.ColorsUsed = 200, s.Palette.resize(5), s.Rows.clear();  // palette beyond the file
  expectError(s, "palette runs past the end");
  s = good, s.Width = 100000;
  expectError(s, "too large");
  s = good, s.Width = 16384, s.Height = 16384;
  expectError(s, "too large");
  s = good, s.Height = INT32_MIN;
  expectError(s, "too large");
  s = good, s.Width = 0;
  expectError(s, "no pixels");
  s = good, s.Height = 0;
  expectError(s, "no pixels");
  s = good, s.Width = -3;
  expectError(s, "no pixels");
  s = good, s.Compression = 1;
  expectError(s, "RLE");
  s = good, s.Compression = 4;
  expectError(s, "JPEG or PNG");
  s = good, s.Compression = 3;
  expectError(s, "colour masks are given for a 8-bit picture");
  s = good, s.Bits = 7;
  expectError(s, "7 bits per pixel");
  s = good, s.Planes = 2;
  expectError(s, "colour planes");
  s = good, s.HeaderSize = 64;
  expectError(s, "header size 64");
  TBmpSpec masks{.Width = 1, .Height = 1, .Bits = 32, .Compression = 3, .Masks = {0xF0F000, 0xFF00, 0xFF}};
  masks.Rows = {{0, 0, 0, 0}};
  expectError(masks, "not one run of bits");

  std::vector<uint8_t> notBmp(valid);
  notBmp[0] = 'P';
  EXPECT_NE(ErrorOf(notBmp).find("not a BMP file"), std::string::npos);
  // Garbage after a "BM" never crashes.
  std::mt19937 rng(11);
  for (int i = 0; i < 2000; ++i) {
    std::vector<uint8_t> junk(valid);
    for (int k = 0; k < 4; ++k) junk[2 + rng() % (junk.size() - 2)] = static_cast<uint8_t>(rng());
    try {
      TBitmap b = DecodeBmp(junk);
      EXPECT_FALSE(b.Empty());
    } catch (const std::runtime_error&) {
    }
  }
  EXPECT_THROW(ReadBmpFile(std::string(QZ_TEST_OUTPUT_DIR) + "/no-such-file.bmp"), std::runtime_error);
}

}  // namespace
}  // namespace qz
