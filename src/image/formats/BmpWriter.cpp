#include "image/formats/BmpWriter.h"

#include <cstdio>
#include <stdexcept>

#include "base/FileUtil.h"
#include "base/OutputFiles.h"

namespace qz {

namespace {

constexpr uint32_t kHeadersSize = 14 + 40;

void Put16(std::vector<uint8_t>& out, uint32_t v) {
  out.push_back(static_cast<uint8_t>(v));
  out.push_back(static_cast<uint8_t>(v >> 8));
}
void Put32(std::vector<uint8_t>& out, uint32_t v) {
  Put16(out, v & 0xFFFF);
  Put16(out, v >> 16);
}

}  // namespace

std::vector<uint8_t> EncodeBmp24(const TBitmap& image) {
  if (image.Empty()) throw std::runtime_error("Cannot write a BMP image of no pixels");
  const uint64_t stride = (uint64_t(image.Width()) * 3 + 3) / 4 * 4;  // rows padded to 4 bytes
  const uint64_t pixelBytes = stride * uint64_t(image.Height());
  if (kHeadersSize + pixelBytes > 0x7FFFFFFFu) throw std::runtime_error("The image is too large for a BMP file");

  std::vector<uint8_t> out;
  out.reserve(kHeadersSize + pixelBytes);
  // File header.
  out.push_back('B');
  out.push_back('M');
  Put32(out, static_cast<uint32_t>(kHeadersSize + pixelBytes));
  Put32(out, 0);  // reserved
  Put32(out, kHeadersSize);
  // BITMAPINFOHEADER: a positive height means rows from the bottom up.
  Put32(out, 40);
  Put32(out, static_cast<uint32_t>(image.Width()));
  Put32(out, static_cast<uint32_t>(image.Height()));
  Put16(out, 1);   // planes
  Put16(out, 24);  // bits per pixel
  Put32(out, 0);   // compression: none
  Put32(out, static_cast<uint32_t>(pixelBytes));
  Put32(out, 0);  // horizontal and vertical resolution: not given
  Put32(out, 0);
  Put32(out, 0);  // colours used, important
  Put32(out, 0);

  for (int y = image.Height() - 1; y >= 0; --y) {
    const uint32_t* row = image.ScanLine(y);
    for (int x = 0; x < image.Width(); ++x) {
      out.push_back(static_cast<uint8_t>(PixelBlue(row[x])));
      out.push_back(static_cast<uint8_t>(PixelGreen(row[x])));
      out.push_back(static_cast<uint8_t>(PixelRed(row[x])));
    }
    for (uint64_t pad = uint64_t(image.Width()) * 3; pad < stride; ++pad) out.push_back(0);
  }
  return out;
}

void WriteBmp24(const std::string& path, const TBitmap& image, TFileGroup* files) {
  std::vector<uint8_t> bytes = EncodeBmp24(image);
  WriteOutputBytes(files, path, bytes.data(), bytes.size());
}

}  // namespace qz
