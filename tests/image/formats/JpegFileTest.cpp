#include <gtest/gtest.h>

// jpeglib.h uses FILE without including its header.
#include <cstdio>
#include <jpeglib.h>

#include <cmath>
#include <cstdlib>

#include "image/ImageLimits.h"
#include "image/formats/JpegReader.h"
#include "image/formats/JpegWriter.h"
#include "support/ChildRun.h"
#include "support/HostileInput.h"
#include "support/PictureRoundTrip.h"
#include "support/TempDir.h"

namespace qz {
namespace {

using test::ErrorOf;
using test::TPictureFormat;

TBitmap Smooth(int w, int h) {
  TBitmap b(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      b.SetPixel(x, y, RGBToPixel(x * 255 / (w - 1), y * 255 / (h - 1), uint32_t(128 + 100 * std::sin(x * 0.2))));
  return b;
}

// Encodes samples with libjpeg itself, for pictures our writer never makes: grey (1
// component), CMYK (4), or a progressive file with the given scan script.
std::vector<uint8_t> EncodeWithLibjpeg(int w, int h, int components, J_COLOR_SPACE space,
                                       const std::vector<uint8_t>& samples, std::vector<jpeg_scan_info> scans = {}) {
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
  if (!scans.empty()) info.scan_info = scans.data(), info.num_scans = static_cast<int>(scans.size());
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

TEST(JpegFile, EncodesDecodesAndWritesColourPictures) {
  const TBitmap image = Smooth(64, 48);
  const test::TRoundTrip high = test::RoundTrip(image, {.Format = TPictureFormat::Jpeg, .Quality = 95, .Tolerance = 12});
  EXPECT_EQ(high.Mismatch, "");
  for (int i = 0; i < 64 * 48; ++i) ASSERT_EQ(high.Read.Data()[i] >> 24, 0u);  // no fourth byte
  EXPECT_EQ(high.Bytes, EncodeJpeg(image, 95));
  // A low quality: a smaller file, further from the picture.
  const test::TRoundTrip low = test::RoundTrip(image, {.Format = TPictureFormat::Jpeg, .Quality = 10, .Tolerance = 255});
  EXPECT_LT(low.Bytes.size(), high.Bytes.size());
  EXPECT_GT(low.MaxDifference, high.MaxDifference);
  EXPECT_EQ(EncodeJpeg(image, 0), EncodeJpeg(image, 1));  // qualities clamped to 1..100
  EXPECT_EQ(EncodeJpeg(image, 500), EncodeJpeg(image, 100));
  EXPECT_THROW(EncodeJpeg(TBitmap(), 90), std::runtime_error);

  const std::string path = test::OutputPath("jpeg-roundtrip.jpg");
  WriteJpeg(path, image, 95);
  EXPECT_EQ(ReadJpegFile(path), high.Read);
  EXPECT_THROW(WriteJpeg(std::string(QZ_TEST_OUTPUT_DIR) + "/no-such-dir/x.jpg", image, 90), std::runtime_error);
  EXPECT_THROW(ReadJpegFile(std::string(QZ_TEST_OUTPUT_DIR) + "/no-such-file.jpg"), std::runtime_error);
}

TEST(JpegFile, ReadsGrayscaleAndCmyk) {
  std::vector<uint8_t> gray;
  for (int i = 0; i < 16 * 8; ++i) gray.push_back(static_cast<uint8_t>(i * 2));
  const TBitmap g = DecodeJpeg(EncodeWithLibjpeg(16, 8, 1, JCS_GRAYSCALE, gray));
  for (int x : {0, 15}) {
    const uint32_t v = PixelGreen(g.Pixel(x, 3));
    EXPECT_NEAR(int(v), 2 * (3 * 16 + x), 2);
    EXPECT_EQ(g.Pixel(x, 3), RGBToPixel(v, v, v));
  }
  // CMYK as print software writes it (Adobe marker, inks inverted: 255 is no ink):
  // no cyan, full magenta and yellow is red; full black ink is black.
  std::vector<uint8_t> cmyk;
  for (int i = 0; i < 8 * 8; ++i)
    for (uint8_t v : i % 8 < 4 ? std::vector<uint8_t>{255, 0, 0, 255} : std::vector<uint8_t>{255, 255, 255, 0}) cmyk.push_back(v);
  TBitmap want(8, 8);
  want.FillRect(0, 0, 4, 8, 0xFF0000);
  EXPECT_EQ(test::ComparePictures(want, DecodeJpeg(EncodeWithLibjpeg(8, 8, 4, JCS_CMYK, cmyk)), 6).Mismatch, "");
}

// The work a picture asks for is counted from its markers before any decoding:
// pixels times scans. Beyond the budget it is read at a half, a quarter or an eighth;
// a picture of a thousand scans over 16384 x 4096 pixels is refused at once.
TEST(JpegFile, TheWorkIsCountedAndBoundedBeforeDecoding) {
  std::vector<uint8_t> hostile = {0xFF, 0xD8, 0xFF, 0xC2, 0, 11, 8, 0x10, 0x00, 0x40, 0x00, 1, 1, 0x11, 0};
  for (int i = 0; i < 1000; ++i)
    hostile.insert(hostile.end(), {0xFF, 0xDA, 0, 8, 1, 1, 0, 1, 1, 0x10, 0x12, 0xFF, 0x00});
  hostile.insert(hostile.end(), {0xFF, 0xD9});
  const std::optional<TJpegLayout> layout = ReadJpegLayout(hostile.data(), hostile.size());
  ASSERT_TRUE(layout.has_value());
  EXPECT_EQ((std::vector<int64_t>{layout->Width, layout->Height, layout->Scans}), (std::vector<int64_t>{16384, 4096, 1000}));
  EXPECT_EQ(JpegScaleDivisor(*layout, MaxDecodeWork), 0);
  EXPECT_NE(ErrorOf([&] { DecodeJpeg(hostile); }).find("more than a texture may take"), std::string::npos);
  // Twenty scans over a million pixels: read at half the size; 4096 x 4096 of one scan whole.
  EXPECT_EQ(JpegScaleDivisor({1000, 1000, 20}, MaxDecodeWork), 2);
  EXPECT_EQ(JpegScaleDivisor({4096, 4096, 1}, MaxDecodeWork), 1);

  const std::vector<uint8_t> big = EncodeJpeg(Smooth(4100, 4100), 50);
  ASSERT_EQ(ReadJpegLayout(big.data(), big.size())->Scans, 1);
  const TBitmap half = DecodeJpeg(big);
  EXPECT_EQ((std::vector<int>{half.Width(), half.Height()}), (std::vector<int>{2050, 2050}));
}

TEST(JpegFile, RefusesBrokenAndHostileData) {
  // A valid progressive file of over a thousand scans (every AC coefficient of every
  // component on its own, in 11 steps of precision) would take minutes to decode.
  std::vector<jpeg_scan_info> script = {{3, {0, 1, 2, 0}, 0, 0, 0, 0}};
  for (int c = 0; c < 3; ++c)
    for (int k = 1; k < 64; ++k) {
      script.push_back({1, {c, 0, 0, 0}, k, k, 0, 10});
      for (int al = 9; al >= 0; --al) script.push_back({1, {c, 0, 0, 0}, k, k, al + 1, al});
    }
  const std::vector<uint8_t> slow = EncodeWithLibjpeg(8, 8, 3, JCS_RGB, std::vector<uint8_t>(8 * 8 * 3, 100), script);
  EXPECT_NE(ErrorOf([&] { DecodeJpeg(slow); }).find("too many progressive scans"), std::string::npos);

  const std::vector<uint8_t> valid = EncodeJpeg(Smooth(24, 16), 80);
  auto error = [](const std::vector<uint8_t>& bytes) { return ErrorOf([&] { DecodeJpeg(bytes, "probe.jpg"); }); };
  ASSERT_EQ(error(valid), "");
  EXPECT_NE(error({valid.begin(), valid.begin() + valid.size() / 2}).find("truncated"), std::string::npos);
  EXPECT_NE(error({}).find("no JPEG data"), std::string::npos);
  EXPECT_NE(error({'G', 'I', 'F', '8', '9', 'a', 0, 0}).find("not a readable JPEG"), std::string::npos);
  // The size in the frame header (FF C0, length, precision, height, width) is checked
  // before anything of that size is allocated.
  size_t sof = 0;
  while (sof + 1 < valid.size() && !(valid[sof] == 0xFF && valid[sof + 1] == 0xC0)) ++sof;
  ASSERT_LT(sof + 9, valid.size());
  std::vector<uint8_t> huge = valid;
  huge[sof + 5] = 0x4E, huge[sof + 6] = 0x20, huge[sof + 7] = 0x4E, huge[sof + 8] = 0x20;  // 20000 x 20000
  EXPECT_NE(error(huge).find("too large"), std::string::npos) << error(huge);
  huge[sof + 7] = 0, huge[sof + 8] = 0;  // width 0
  EXPECT_NE(error(huge), "");
  // A missing end is "truncated", not a grey picture.
  EXPECT_NE(error({valid.begin(), valid.end() - 2}).find("truncated"), std::string::npos);
}

// The offset of the first marker segment of the given kind (its 0xFF), or the size.
size_t FindMarker(const std::vector<uint8_t>& bytes, uint8_t marker) {
  size_t at = 0;
  while (at + 1 < bytes.size() && !(bytes[at] == 0xFF && bytes[at + 1] == marker)) ++at;
  return at + 1 < bytes.size() ? at : bytes.size();
}

// The file with the size in its frame header (marker 0xC0 or 0xC2) replaced.
std::vector<uint8_t> WithSize(std::vector<uint8_t> bytes, uint8_t frameMarker, int width, int height) {
  const size_t sof = FindMarker(bytes, frameMarker);
  bytes.at(sof + 5) = uint8_t(height >> 8), bytes.at(sof + 6) = uint8_t(height);
  bytes.at(sof + 7) = uint8_t(width >> 8), bytes.at(sof + 8) = uint8_t(width);
  return bytes;
}

// A picture claims its size in its frame header, and Huffman coding spends at least a
// bit on each 8 x 8 block of its first scan. A file whose data is far too short for its
// size is refused from its markers, before the picture or libjpeg's coefficients of a
// progressive file are allocated; one whose scan ends early, found while decoding, is
// truncated too, not filled with grey.
TEST(JpegFile, DataTooShortForThePicturesSizeIsRefusedBeforeAllocating) {
  std::vector<jpeg_scan_info> progression = {{3, {0, 1, 2, 0}, 0, 0, 0, 0}};  // DC of every component, then AC
  for (int c = 0; c < 3; ++c) progression.push_back({1, {c, 0, 0, 0}, 1, 63, 0, 0});
  const std::vector<uint8_t> rgb(16 * 16 * 3, 90), grey(16 * 16, 200);
  const struct {
    const char* what;
    std::vector<uint8_t> bytes;
    int64_t leastBytes;  // 4:2:0 colour: 6 blocks a 16 x 16 unit; grey: 1 a 8 x 8 block
  } hostile[] = {
      {"baseline colour", WithSize(EncodeJpeg(Smooth(16, 16), 80), 0xC0, 4096, 4096), 256 * 256 * 6 / 8},
      {"baseline grey", WithSize(EncodeWithLibjpeg(16, 16, 1, JCS_GRAYSCALE, grey), 0xC0, 4096, 2048), 512 * 256 / 8},
      {"progressive", WithSize(EncodeWithLibjpeg(16, 16, 3, JCS_RGB, rgb, progression), 0xC2, 8192, 8192),
       512 * 512 * 6 / 8},
  };
  for (const auto& h : hostile) {
    SCOPED_TRACE(h.what);
    const std::optional<TJpegLayout> layout = ReadJpegLayout(h.bytes.data(), h.bytes.size());
    ASSERT_TRUE(layout.has_value());
    EXPECT_EQ(layout->FirstScanLeastBytes, h.leastBytes);
    EXPECT_LT(layout->FirstScanBytes, 100);
    const test::TChildRun run = test::RunInChild([&] { DecodeJpeg(h.bytes, "probe.jpg"); });
    ASSERT_TRUE(run.Finished);
    EXPECT_NE(run.Error.find("probe.jpg\": the picture data is truncated"), std::string::npos) << run.Error;
    EXPECT_NE(run.Error.find("in the first scan"), std::string::npos) << run.Error;
    EXPECT_LT(run.PeakGrowth, 16 << 20);
  }

  // A progressive file must send the DC coefficients first: one whose first scan
  // starts beyond them (its spectral start patched to 1) gives no bound, and is damaged.
  std::vector<uint8_t> acFirst = EncodeWithLibjpeg(16, 16, 3, JCS_RGB, rgb, progression);
  const size_t sos = FindMarker(acFirst, 0xDA);
  acFirst.at(sos + 5 + 2 * acFirst.at(sos + 4)) = 1;
  EXPECT_NE(ErrorOf([&] { DecodeJpeg(acFirst); }).find("does not begin with its DC scan"), std::string::npos);

  // A scan cut in half and the file ended after it: enough data for the bound, too
  // little for the picture.
  const std::vector<uint8_t> valid = EncodeJpeg(Smooth(64, 48), 80);
  const size_t scan = FindMarker(valid, 0xDA), data = scan + 2 + (valid[scan + 2] << 8 | valid[scan + 3]);
  std::vector<uint8_t> cut(valid.begin(), valid.begin() + data + (valid.size() - 2 - data) / 2);
  cut.insert(cut.end(), {0xFF, 0xD9});
  const std::optional<TJpegLayout> layout = ReadJpegLayout(cut.data(), cut.size());
  ASSERT_TRUE(layout.has_value());
  EXPECT_GE(layout->FirstScanBytes, layout->FirstScanLeastBytes);
  EXPECT_EQ(layout->FirstScanLeastBytes, 4 * 3 * 6 / 8);
  EXPECT_NE(ErrorOf([&] { DecodeJpeg(cut); }).find("the picture data is truncated"), std::string::npos);
}

}  // namespace
}  // namespace qz
