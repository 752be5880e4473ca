#include <gtest/gtest.h>

// jpeglib.h uses FILE without including its header.
#include <cstdio>
#include <jpeglib.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <stdexcept>
#include <string>

#include "platform/FileUtil.h"
#include "platform/JpegReader.h"
#include "platform/JpegWriter.h"

namespace qz {
namespace {

TBitmap Smooth(int w, int h) {
  TBitmap b(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      b.SetPixel(x, y, RGBToPixel(x * 255 / (w - 1), y * 255 / (h - 1), uint32_t(128 + 100 * std::sin(x * 0.2))));
  return b;
}

std::string ErrorOf(const std::vector<uint8_t>& bytes) {
  try {
    DecodeJpeg(bytes, "probe.jpg");
  } catch (const std::runtime_error& e) {
    return e.what();
  }
  return "";
}

// Encodes raw samples with libjpeg itself in the given colour space (gray: 1
// component, CMYK: 4), for pictures our writer never makes.
std::vector<uint8_t> EncodeRaw(int w, int h, int components, J_COLOR_SPACE space, const std::vector<uint8_t>& samples) {
  jpeg_compress_struct info;
  jpeg_error_mgr err;
  info.err = jpeg_std_error(&err);
  jpeg_create_compress(&info);
  unsigned char* buffer = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&info, &buffer, &size);
  info.image_width = w, info.image_height = h, info.input_components = components, info.in_color_space = space;
  jpeg_set_defaults(&info);
  jpeg_set_quality(&info, 100, TRUE);
  jpeg_start_compress(&info, TRUE);
  for (int y = 0; y < h; ++y) {
    JSAMPROW row = const_cast<JSAMPROW>(samples.data() + size_t(y) * w * components);
    jpeg_write_scanlines(&info, &row, 1);
  }
  jpeg_finish_compress(&info);
  jpeg_destroy_compress(&info);
  std::vector<uint8_t> out(buffer, buffer + size);
  std::free(buffer);
  return out;
}

int MaxDifference(const TBitmap& a, const TBitmap& b) {
  int worst = 0;
  for (int y = 0; y < a.Height(); ++y)
    for (int x = 0; x < a.Width(); ++x) {
      uint32_t p = a.Pixel(x, y), q = b.Pixel(x, y);
      for (int shift : {0, 8, 16}) worst = std::max(worst, std::abs(int((p >> shift) & 255) - int((q >> shift) & 255)));
    }
  return worst;
}

TBitmap Crop(const TBitmap& b, int x, int y) {
  TBitmap one(1, 1);
  one.SetPixel(0, 0, b.Pixel(x, y));
  return one;
}

TEST(JpegFile, EncodesAndDecodesColourPictures) {
  TBitmap image = Smooth(64, 48);
  std::vector<uint8_t> high = EncodeJpeg(image, 95);
  TBitmap back = DecodeJpeg(high);
  ASSERT_EQ(back.Width(), 64);
  ASSERT_EQ(back.Height(), 48);
  EXPECT_LE(MaxDifference(image, back), 12);
  for (int y = 0; y < 48; ++y)
    for (int x = 0; x < 64; ++x) ASSERT_EQ(back.Pixel(x, y) >> 24, 0u);  // no fourth byte
  // Lower quality, smaller file, further from the original.
  std::vector<uint8_t> low = EncodeJpeg(image, 10);
  EXPECT_LT(low.size(), high.size());
  EXPECT_GT(MaxDifference(image, DecodeJpeg(low)), MaxDifference(image, back));
  // Qualities outside 1..100 are clamped.
  EXPECT_EQ(EncodeJpeg(image, 0), EncodeJpeg(image, 1));
  EXPECT_EQ(EncodeJpeg(image, 500), EncodeJpeg(image, 100));
  // One pixel, and an odd size that is no multiple of the 16-pixel blocks.
  TBitmap dot(1, 1);
  dot.Fill(0xFF8000);
  EXPECT_LE(MaxDifference(dot, DecodeJpeg(EncodeJpeg(dot, 90))), 3);
  TBitmap odd(17, 5);
  odd.Fill(0x3060C0);
  odd.FillRect(0, 0, 9, 5, 0xE0E0E0);
  TBitmap oddBack = DecodeJpeg(EncodeJpeg(odd, 100));
  EXPECT_LE(MaxDifference(odd, oddBack), 40);  // the edge rings
  TBitmap probe(1, 1);
  probe.Fill(0xE0E0E0);
  EXPECT_LE(MaxDifference(probe, Crop(oddBack, 2, 2)), 3);
  probe.Fill(0x3060C0);
  EXPECT_LE(MaxDifference(probe, Crop(oddBack, 15, 2)), 3);
  EXPECT_THROW(EncodeJpeg(TBitmap(), 90), std::runtime_error);
}

TEST(JpegFile, WritesAndReadsFiles) {
  std::filesystem::create_directories(QZ_TEST_OUTPUT_DIR);
  const std::string path = std::string(QZ_TEST_OUTPUT_DIR) + "/jpeg-roundtrip.jpg";
  TBitmap image = Smooth(40, 30);
  WriteJpeg(path, image, 90);
  EXPECT_EQ(ReadWholeFile(path, 1 << 20), EncodeJpeg(image, 90));
  EXPECT_LE(MaxDifference(image, ReadJpegFile(path)), 12);
  EXPECT_THROW(WriteJpeg(std::string(QZ_TEST_OUTPUT_DIR) + "/no-such-dir/x.jpg", image, 90), std::runtime_error);
  EXPECT_THROW(ReadJpegFile(std::string(QZ_TEST_OUTPUT_DIR) + "/no-such-file.jpg"), std::runtime_error);
}

TEST(JpegFile, ReadsGrayscaleAndCmyk) {
  std::vector<uint8_t> gray;
  for (int i = 0; i < 16 * 8; ++i) gray.push_back(static_cast<uint8_t>(i * 2));
  TBitmap g = DecodeJpeg(EncodeRaw(16, 8, 1, JCS_GRAYSCALE, gray));
  for (int x : {0, 5, 15}) {
    uint32_t v = PixelGreen(g.Pixel(x, 3));
    EXPECT_NEAR(int(v), 2 * (3 * 16 + x), 2);
    EXPECT_EQ(g.Pixel(x, 3), RGBToPixel(v, v, v));
  }
  // CMYK as print software writes it (with an Adobe marker, inks stored inverted:
  // 255 is no ink): pure red is no cyan, full magenta and yellow, no black.
  std::vector<uint8_t> cmyk;
  for (int i = 0; i < 8 * 8; ++i) {
    bool red = i % 8 < 4;
    std::vector<uint8_t> px = red ? std::vector<uint8_t>{255, 0, 0, 255} : std::vector<uint8_t>{255, 255, 255, 0};
    cmyk.insert(cmyk.end(), px.begin(), px.end());
  }
  TBitmap c = DecodeJpeg(EncodeRaw(8, 8, 4, JCS_CMYK, cmyk));
  EXPECT_LE(MaxDifference(c, [] {
              TBitmap want(8, 8);
              want.FillRect(0, 0, 4, 8, 0xFF0000);  // red, then black (full black ink)
              return want;
            }()),
            6);
}

// A valid progressive JPEG of many scans: every AC coefficient of every component
// sent on its own, in 11 steps of precision.
std::vector<uint8_t> ManyScanJpeg(int* scans) {
  std::vector<jpeg_scan_info> script;
  script.push_back({3, {0, 1, 2, 0}, 0, 0, 0, 0});
  for (int c = 0; c < 3; ++c)
    for (int k = 1; k < 64; ++k) {
      script.push_back({1, {c, 0, 0, 0}, k, k, 0, 10});
      for (int al = 9; al >= 0; --al) script.push_back({1, {c, 0, 0, 0}, k, k, al + 1, al});
    }
  *scans = static_cast<int>(script.size());
  jpeg_compress_struct info;
  jpeg_error_mgr err;
  info.err = jpeg_std_error(&err);
  jpeg_create_compress(&info);
  unsigned char* buffer = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&info, &buffer, &size);
  info.image_width = 8, info.image_height = 8, info.input_components = 3, info.in_color_space = JCS_RGB;
  jpeg_set_defaults(&info);
  info.scan_info = script.data();
  info.num_scans = *scans;
  jpeg_start_compress(&info, TRUE);
  std::vector<uint8_t> row(8 * 3, 100);
  for (int y = 0; y < 8; ++y) {
    JSAMPROW r = row.data();
    jpeg_write_scanlines(&info, &r, 1);
  }
  jpeg_finish_compress(&info);
  jpeg_destroy_compress(&info);
  std::vector<uint8_t> out(buffer, buffer + size);
  std::free(buffer);
  return out;
}

TEST(JpegFile, RefusesBrokenAndHostileData) {
  int scans = 0;
  std::vector<uint8_t> slow = ManyScanJpeg(&scans);
  ASSERT_GT(scans, 1000);
  EXPECT_NE(ErrorOf(slow).find("too many progressive scans"), std::string::npos) << ErrorOf(slow);

  const std::vector<uint8_t> valid = EncodeJpeg(Smooth(24, 16), 80);
  ASSERT_EQ(ErrorOf(valid), "");
  // Every cut of the file is refused (a missing end is "truncated", not grey).
  for (size_t n = 0; n < valid.size(); ++n) {
    std::string error = ErrorOf(std::vector<uint8_t>(valid.begin(), valid.begin() + n));
    ASSERT_NE(error.find("probe.jpg"), std::string::npos) << n << ": " << error;
  }
  EXPECT_NE(ErrorOf({valid.begin(), valid.begin() + valid.size() / 2}).find("truncated"), std::string::npos);
  EXPECT_NE(ErrorOf({}).find("no JPEG data"), std::string::npos);
  EXPECT_NE(ErrorOf({'G', 'I', 'F', '8', '9', 'a', 0, 0}).find("not a readable JPEG"), std::string::npos);

  // The size in the frame header (SOF0: FF C0, length, precision, height, width)
  // is checked before anything of that size is allocated.
  size_t sof = 0;
  for (size_t i = 0; i + 1 < valid.size(); ++i)
    if (valid[i] == 0xFF && valid[i + 1] == 0xC0) {
      sof = i;
      break;
    }
  ASSERT_GT(sof, 0u);
  std::vector<uint8_t> huge = valid;
  huge[sof + 5] = 0x4E, huge[sof + 6] = 0x20, huge[sof + 7] = 0x4E, huge[sof + 8] = 0x20;  // 20000 x 20000
  EXPECT_NE(ErrorOf(huge).find("too large"), std::string::npos) << ErrorOf(huge);
  std::vector<uint8_t> empty = valid;
  empty[sof + 7] = 0, empty[sof + 8] = 0;  // width 0
  EXPECT_NE(ErrorOf(empty), "");

  // Random damage never crashes.
  std::mt19937 rng(3);
  for (int i = 0; i < 1000; ++i) {
    std::vector<uint8_t> bytes = valid;
    for (int k = 0; k < 3; ++k) bytes[2 + rng() % (bytes.size() - 2)] = static_cast<uint8_t>(rng());
    try {
      EXPECT_FALSE(DecodeJpeg(bytes).Empty());
    } catch (const std::runtime_error&) {
    }
  }
}

}  // namespace
}  // namespace qz
