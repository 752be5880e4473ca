#include "image/formats/PngReader.h"

#include <gtest/gtest.h>
#include <png.h>

#include <cstring>
#include <vector>

#include "image/ImageLimits.h"
#include "support/ChildRun.h"
#include "support/HostileInput.h"
#include "support/PictureRoundTrip.h"

namespace qz {
namespace {

using test::ErrorOf;
using TBytes = std::vector<uint8_t>;

// Encodes rows with libpng itself, for the kinds our writer never makes.
struct TPngLayout {
  int Width = 0, Height = 0;
  int ColorType = PNG_COLOR_TYPE_RGB;
  int BitDepth = 8;
  bool Interlaced = false;
  std::vector<png_color> Palette = {};
  TBytes Trns = {};           // palette alphas
  std::vector<TBytes> Rows;   // in the file's own sample layout
};

TBytes EncodeWithLibpng(const TPngLayout& l) {
  TBytes out;
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png_create_info_struct(png);
  png_set_write_fn(png, &out, [](png_structp p, png_bytep data, size_t n) {
    auto* o = static_cast<TBytes*>(png_get_io_ptr(p));
    o->insert(o->end(), data, data + n);
  }, nullptr);
  png_set_IHDR(png, info, l.Width, l.Height, l.BitDepth, l.ColorType,
               l.Interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
               PNG_FILTER_TYPE_DEFAULT);
  if (!l.Palette.empty()) png_set_PLTE(png, info, l.Palette.data(), static_cast<int>(l.Palette.size()));
  if (!l.Trns.empty()) png_set_tRNS(png, info, l.Trns.data(), static_cast<int>(l.Trns.size()), nullptr);
  png_write_info(png, info);
  std::vector<png_bytep> rows;
  for (const TBytes& r : l.Rows) rows.push_back(const_cast<png_bytep>(r.data()));
  png_write_image(png, rows.data());
  png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &info);
  return out;
}

TEST(PngReader, EveryKindIsReadAsColourTransparencyOverWhite) {
  TBitmap image(3, 2);
  image.Fill(RGBToPixel(10, 200, 30));
  image.SetPixel(2, 1, RGBToPixel(250, 5, 128));
  EXPECT_EQ(test::RoundTrip(image, {.Format = test::TPictureFormat::Png}).Mismatch, "");

  // An alpha channel: written exactly, the colour under a clear pixel too. Read as a
  // texture: opaque keeps its colour, clear shows white, half is half way.
  TBitmap mask(3, 2);
  mask.Fill(0xFFFFFF);
  mask.SetPixel(0, 0, 0), mask.SetPixel(1, 0, RGBToPixel(128, 128, 128));
  const test::TRoundTrip rgba = test::RoundTrip(image, {.Format = test::TPictureFormat::Png, .Alpha = &mask});
  EXPECT_EQ(rgba.Mismatch, "");
  const TBitmap alpha = DecodePng(rgba.Bytes);
  EXPECT_EQ(alpha.Pixel(0, 0), 0xFFFFFFu);
  EXPECT_EQ(alpha.Pixel(1, 0), RGBToPixel(132, 227, 142));
  EXPECT_EQ(alpha.Pixel(2, 1), image.Pixel(2, 1));

  // 16-bit grey, interlaced: the high byte of each sample, on all three channels.
  const TBytes grey = EncodeWithLibpng({.Width = 3, .Height = 9, .ColorType = PNG_COLOR_TYPE_GRAY, .BitDepth = 16,
                                        .Interlaced = true, .Rows = std::vector<TBytes>(9, {0x12, 0x34, 0x80, 0, 0xFF, 0xFF})});
  const TBitmap g = DecodePng(grey);
  ASSERT_EQ(g.Width(), 3);
  ASSERT_EQ(g.Height(), 9);
  EXPECT_EQ(g.Pixel(0, 8), RGBToPixel(0x12, 0x12, 0x12));
  EXPECT_EQ(g.Pixel(1, 4), RGBToPixel(0x80, 0x80, 0x80));
  // A 2-bit palette whose second entry is transparent.
  const TBytes palette = EncodeWithLibpng({.Width = 4, .Height = 1, .ColorType = PNG_COLOR_TYPE_PALETTE, .BitDepth = 2,
                                           .Palette = {{255, 0, 0}, {0, 0, 255}, {0, 128, 0}},
                                           .Trns = {255, 0}, .Rows = {{0b00011000}}});
  const TBitmap p = DecodePng(palette);
  EXPECT_EQ(p.Pixel(0, 0), RGBToPixel(255, 0, 0));
  EXPECT_EQ(p.Pixel(1, 0), 0xFFFFFFu);
  EXPECT_EQ(p.Pixel(2, 0), RGBToPixel(0, 128, 0));
}

// The CRC-32 of PNG chunks (and zlib), bit by bit.
uint32_t Crc32(const TBytes& bytes) {
  uint32_t c = 0xFFFFFFFFu;
  for (uint8_t b : bytes) {
    c ^= b;
    for (int k = 0; k < 8; ++k) c = (c >> 1) ^ (0xEDB88320u & (0u - (c & 1u)));
  }
  return ~c;
}

// A chunk with its length and CRC, as a file holds it.
TBytes Chunk(const char* type, const TBytes& data) {
  TBytes c;
  for (int s : {24, 16, 8, 0}) c.push_back(static_cast<uint8_t>(data.size() >> s));
  TBytes body(type, type + 4);
  body.insert(body.end(), data.begin(), data.end());
  c.insert(c.end(), body.begin(), body.end());
  const uint32_t crc = Crc32(body);
  for (int s : {24, 16, 8, 0}) c.push_back(static_cast<uint8_t>(crc >> s));
  return c;
}

TEST(PngReader, DamagedTruncatedAndOversizedDataIsRefusedNamingIt) {
  const TBytes good = EncodeWithLibpng({.Width = 2, .Height = 2, .Rows = {TBytes(6, 1), TBytes(6, 2)}});
  auto error = [](const TBytes& bytes) { return ErrorOf([&] { DecodePng(bytes, "t.png"); }); };
  EXPECT_NE(error({'G', 'I', 'F', '8'}).find("t.png\": it is not a PNG picture"), std::string::npos);
  EXPECT_NE(error(TBytes(good.begin(), good.end() - 20)).find("t.png\": "), std::string::npos);
  TBytes flipped = good;
  flipped[flipped.size() - 20] ^= 0xFF;  // inside the image data: its CRC no longer matches
  EXPECT_NE(error(flipped).find("t.png\": "), std::string::npos);

  // A header that asks for more pixels than a texture may have is refused before any
  // pixel is allocated (the file's image data is empty).
  const TBytes signature(good.begin(), good.begin() + 8);
  auto header = [&](uint32_t w, uint32_t h) {
    TBytes ihdr;
    for (uint32_t v : {w, h})
      for (int s : {24, 16, 8, 0}) ihdr.push_back(static_cast<uint8_t>(v >> s));
    ihdr.insert(ihdr.end(), {8, 2, 0, 0, 0});
    TBytes file = signature;
    for (const TBytes& chunk : {Chunk("IHDR", ihdr), Chunk("IDAT", {})}) file.insert(file.end(), chunk.begin(), chunk.end());
    return file;
  };
  EXPECT_NE(error(header(MaxDecodedSide + 1, 1)).find("the picture is too large"), std::string::npos);
  EXPECT_NE(error(header(8192, 8192)).find("more than a texture may take"), std::string::npos);
  EXPECT_NE(error(header(4, 4)).find("t.png\": "), std::string::npos);  // no image data follows
}

// Every chunk whose data libpng would allocate (text, suggested palettes, colour
// profiles) declaring 2^31 - 1 bytes in a file of 44: refused as truncated before
// anything of that size is allocated. Then the same lengths where the file holds them:
// beyond the bound on a chunk, refused; within it, skipped unread, as is a damaged
// profile a texture does not need.
TEST(PngReader, ChunkLengthsAreCheckedAgainstTheFileAndTheBoundBeforeReading) {
  const TBytes good = EncodeWithLibpng({.Width = 2, .Height = 2, .Rows = {TBytes(6, 1), TBytes(6, 2)}});
  const size_t afterHeader = 8 + 25;  // the signature and the IHDR chunk
  const TBytes head(good.begin(), good.begin() + afterHeader), rest(good.begin() + afterHeader, good.end());
  for (const char* type : {"tEXt", "zTXt", "iTXt", "sPLT", "iCCP"}) {
    SCOPED_TRACE(type);
    TBytes hostile = head;
    for (uint8_t b : {0x7F, 0xFF, 0xFF, 0xFF}) hostile.push_back(b);
    hostile.insert(hostile.end(), type, type + 4);
    hostile.insert(hostile.end(), {'a', 0, 'b'});
    ASSERT_EQ(hostile.size(), 44u);
    const test::TChildRun run = test::RunInChild([&] { DecodePng(hostile, "t.png"); });
    ASSERT_TRUE(run.Finished);
    EXPECT_NE(run.Error.find("t.png\": the file is truncated: its " + std::string(type) + " chunk needs 2147483651 bytes"),
              std::string::npos)
        << run.Error;
    EXPECT_LT(run.PeakGrowth, 16 << 20);
  }

  auto withChunks = [&](const std::vector<TBytes>& chunks) {
    TBytes file = head;
    for (const TBytes& c : chunks) file.insert(file.end(), c.begin(), c.end());
    file.insert(file.end(), rest.begin(), rest.end());
    return file;
  };
  const TBitmap pixels = DecodePng(good);
  TBytes text(9 << 20, 'x');  // beyond the 8 MB a chunk may have
  text[7] = 0;                // a keyword of seven letters, then the text
  for (const char* type : {"tEXt", "iCCP"}) {
    const std::string error = ErrorOf([&] { DecodePng(withChunks({Chunk(type, text)}), "t.png"); });
    EXPECT_NE(error.find("t.png\": " + std::string(type) + ": chunk data is too large"), std::string::npos) << error;
  }
  text.resize(1000);
  TBytes profile = {'s', 'R', 'G', 'B', 0, 0, 0x78, 0x9C, 1, 2, 3, 4, 5};  // no valid compressed profile
  EXPECT_EQ(DecodePng(withChunks({Chunk("gAMA", {0, 0, 0xB1, 0x8F}), Chunk("iCCP", profile), Chunk("tEXt", text),
                                  Chunk("zTXt", {'k', 0, 0, 1, 2, 3})})),
            pixels);
}

}  // namespace
}  // namespace qz
