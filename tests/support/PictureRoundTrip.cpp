#include "support/PictureRoundTrip.h"

#include <png.h>
#include <webp/decode.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <stdexcept>

#include "base/FileUtil.h"
#include "image/formats/BmpWriter.h"
#include "image/ImageFile.h"
#include "image/formats/JpegWriter.h"
#include "image/formats/PngFile.h"
#include "image/formats/WebpFile.h"
#include "support/TempDir.h"

namespace qz::test {

namespace {

const char* Extension(TPictureFormat format) {
  switch (format) {
    case TPictureFormat::Bmp:
      return ".bmp";
    case TPictureFormat::Gif:
      return ".gif";
    case TPictureFormat::Jpeg:
      return ".jpg";
    case TPictureFormat::Png:
      return ".png";
    case TPictureFormat::Webp:
      return ".webp";
  }
  return "";
}

std::string Hex(uint32_t pixel) {
  char text[8];
  std::snprintf(text, sizeof text, "#%06X", pixel & 0xFFFFFFu);
  return text;
}

int ChannelDifference(uint32_t p, uint32_t q) {
  int worst = 0;
  for (int shift : {0, 8, 16}) worst = std::max(worst, std::abs(int((p >> shift) & 255) - int((q >> shift) & 255)));
  return worst;
}

// An opaque picture of at most 256 colours as the GIF writer takes it: its colours in
// the order they first appear.
TIndexedImage Indexed(const TBitmap& image) {
  TIndexedImage frame;
  frame.width = image.Width();
  frame.height = image.Height();
  std::map<uint32_t, uint8_t> index;
  for (int y = 0; y < image.Height(); ++y)
    for (int x = 0; x < image.Width(); ++x) {
      const uint32_t p = image.Pixel(x, y) & 0xFFFFFFu;
      auto [at, added] = index.emplace(p, static_cast<uint8_t>(frame.palette.size()));
      if (added) {
        if (frame.palette.size() == 256) throw std::invalid_argument("a GIF picture holds at most 256 colours");
        frame.palette.push_back({uint8_t(PixelRed(p)), uint8_t(PixelGreen(p)), uint8_t(PixelBlue(p))});
      }
      frame.pixels.push_back(at->second);
    }
  frame.usedSize = static_cast<int>(frame.palette.size());
  return frame;
}

// The colours and alpha of a file our reader cannot give them of, decoded by its
// library as RGBA bytes; false when the library refuses it.
bool DecodeRgba(TPictureFormat format, const std::vector<uint8_t>& bytes, int& width, int& height,
                std::vector<uint8_t>& rgba) {
  if (format == TPictureFormat::Webp) {
    uint8_t* pixels = WebPDecodeRGBA(bytes.data(), bytes.size(), &width, &height);
    if (!pixels) return false;
    rgba.assign(pixels, pixels + size_t(width) * height * 4);
    WebPFree(pixels);
    return true;
  }
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_memory(&image, bytes.data(), bytes.size())) return false;
  image.format = PNG_FORMAT_RGBA;
  rgba.resize(PNG_IMAGE_SIZE(image));
  if (!png_image_finish_read(&image, nullptr, rgba.data(), 0, nullptr)) {
    png_image_free(&image);
    return false;
  }
  width = static_cast<int>(image.width);
  height = static_cast<int>(image.height);
  return true;
}

// Reads the file back into trip: through LoadImageFile, or (WebP, PNG with alpha)
// through the library. Returns what went wrong, or "".
std::string ReadBack(const std::string& path, const TPictureOptions& options, TRoundTrip& trip) {
  const bool library = options.Format == TPictureFormat::Webp || (options.Format == TPictureFormat::Png && options.Alpha);
  if (!library) {
    try {
      trip.Read = LoadImageFile(path);
    } catch (const std::exception& e) {
      return std::string("reading it back failed: ") + e.what();
    }
    return "";
  }
  int width = 0, height = 0;
  std::vector<uint8_t> rgba;
  if (!DecodeRgba(options.Format, trip.Bytes, width, height, rgba)) return "the library cannot read it back";
  trip.Read = TBitmap(width, height);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      const uint8_t* p = &rgba[(size_t(y) * width + x) * 4];
      trip.Read.SetPixel(x, y, RGBToPixel(p[0], p[1], p[2]));
      trip.Alpha.push_back(p[3]);
    }
  return "";
}

// The alpha read against the alpha written (opaque everywhere without a mask).
TComparison CompareAlpha(const TBitmap* mask, const std::vector<uint8_t>& alpha, int width, int tolerance) {
  TComparison c;
  for (size_t i = 0; i < alpha.size(); ++i) {
    const int x = static_cast<int>(i % width), y = static_cast<int>(i / width);
    const int wrote = mask ? static_cast<int>(PixelRed(mask->Pixel(x, y))) : 255;
    const int difference = std::abs(wrote - alpha[i]);
    c.MaxDifference = std::max(c.MaxDifference, difference);
    if (difference > tolerance && c.Mismatch.empty())
      c.Mismatch = "the alpha of pixel (" + std::to_string(x) + ", " + std::to_string(y) + "): wrote " +
                   std::to_string(wrote) + ", read " + std::to_string(alpha[i]) + " (tolerance " +
                   std::to_string(tolerance) + ")";
  }
  return c;
}

}  // namespace

TComparison ComparePictures(const TBitmap& expected, const TBitmap& read, int tolerance) {
  TComparison c;
  if (expected.Width() != read.Width() || expected.Height() != read.Height()) {
    c.Mismatch = "wrote a picture of " + std::to_string(expected.Width()) + " x " + std::to_string(expected.Height()) +
                 " pixels, read one of " + std::to_string(read.Width()) + " x " + std::to_string(read.Height());
    return c;
  }
  for (int y = 0; y < read.Height(); ++y)
    for (int x = 0; x < read.Width(); ++x) {
      const int difference = ChannelDifference(expected.Pixel(x, y), read.Pixel(x, y));
      c.MaxDifference = std::max(c.MaxDifference, difference);
      if (difference > tolerance && c.Mismatch.empty())
        c.Mismatch = "pixel (" + std::to_string(x) + ", " + std::to_string(y) + "): wrote " + Hex(expected.Pixel(x, y)) +
                     ", read " + Hex(read.Pixel(x, y)) + ", " + std::to_string(difference) +
                     " apart in a channel (tolerance " + std::to_string(tolerance) + ")";
    }
  return c;
}

TRoundTrip RoundTrip(const TBitmap& image, const TPictureOptions& options) {
  if (options.Alpha && options.Format != TPictureFormat::Png && options.Format != TPictureFormat::Webp)
    throw std::invalid_argument("only PNG and WebP pictures are written with an alpha channel");
  TTempDir dir;
  const std::string path = dir.File(options.FileName.empty() ? std::string("picture") + Extension(options.Format)
                                                             : options.FileName);
  switch (options.Format) {
    case TPictureFormat::Bmp:
      WriteBmp24(path, image);
      break;
    case TPictureFormat::Gif:
      WriteGifFile(path, Indexed(image), nullptr, options.Compression);
      break;
    case TPictureFormat::Jpeg:
      WriteJpeg(path, image, options.Quality);
      break;
    case TPictureFormat::Png:
      WritePng(path, image, options.Alpha);
      break;
    case TPictureFormat::Webp:
      WriteWebp(path, image, options.Alpha, {options.Lossy, options.Quality});
      break;
  }
  TRoundTrip trip;
  trip.Bytes = ReadWholeFile(path, size_t(1) << 30).value_or(std::vector<uint8_t>{});
  trip.Mismatch = ReadBack(path, options, trip);
  if (!trip.Mismatch.empty()) return trip;
  const TComparison colours = ComparePictures(image, trip.Read, options.Tolerance);
  trip.MaxDifference = colours.MaxDifference;
  trip.Mismatch = colours.Mismatch;
  if (!trip.Alpha.empty()) {
    const TComparison alpha = CompareAlpha(options.Alpha, trip.Alpha, trip.Read.Width(), options.Tolerance);
    trip.MaxDifference = std::max(trip.MaxDifference, alpha.MaxDifference);
    if (trip.Mismatch.empty()) trip.Mismatch = alpha.Mismatch;
  }
  return trip;
}

TRoundTrip RoundTrip(const TIndexedImage& frame, TGifCompression compression) {
  // What each pixel must read back as.
  TBitmap expected(frame.width, frame.height);
  const TRgb backdrop = frame.transparentIndex == 0 ? TRgb{255, 255, 255} : frame.palette.at(0);
  for (int y = 0; y < frame.height; ++y)
    for (int x = 0; x < frame.width; ++x) {
      const int index = frame.At(x, y);
      const TRgb c = index == frame.transparentIndex ? backdrop : frame.palette.at(index);
      expected.SetPixel(x, y, RGBToPixel(c.r, c.g, c.b));
    }
  TTempDir dir;
  const std::string path = dir.File("picture.gif");
  WriteGifFile(path, frame, nullptr, compression);
  TRoundTrip trip;
  trip.Bytes = ReadWholeFile(path, size_t(1) << 30).value_or(std::vector<uint8_t>{});
  trip.Mismatch = ReadBack(path, {.Format = TPictureFormat::Gif}, trip);
  if (!trip.Mismatch.empty()) return trip;
  const TComparison c = ComparePictures(expected, trip.Read, 0);
  trip.MaxDifference = c.MaxDifference;
  trip.Mismatch = c.Mismatch;
  return trip;
}

}  // namespace qz::test
