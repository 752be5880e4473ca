#include "image/formats/PngFile.h"

#include <png.h>

#include <stdexcept>
#include <vector>

#include "base/FileUtil.h"
#include "base/OutputFiles.h"

namespace qz {

namespace {

// libpng reports errors by longjmp; this keeps all C++ objects outside the jump.
bool WritePngStream(std::FILE* f, const TBitmap& image, const TBitmap* alpha, const std::vector<png_bytep>& rows) {
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  if (!png) return false;
  png_infop info = png_create_info_struct(png);
  if (!info || setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, &info);
    return false;
  }
  png_init_io(png, f);
  png_set_IHDR(png, info, image.Width(), image.Height(), 8, alpha ? PNG_COLOR_TYPE_RGBA : PNG_COLOR_TYPE_RGB,
               PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_write_info(png, info);
  png_write_image(png, const_cast<png_bytepp>(rows.data()));
  png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &info);
  return true;
}

}  // namespace

void WritePng(const std::string& path, const TBitmap& image, const TBitmap* alphaMask, TFileGroup* files) {
  if (image.Empty()) throw std::runtime_error("Cannot write " + path + ": the image is empty");
  if (alphaMask && (alphaMask->Width() != image.Width() || alphaMask->Height() != image.Height()))
    throw std::runtime_error("Cannot write " + path + ": the mask has another size than the image");
  const int channels = alphaMask ? 4 : 3;
  std::vector<uint8_t> buffer(static_cast<size_t>(image.Width()) * image.Height() * channels);
  std::vector<png_bytep> rows(image.Height());
  for (int y = 0; y < image.Height(); ++y) {
    uint8_t* out = buffer.data() + static_cast<size_t>(y) * image.Width() * channels;
    rows[y] = out;
    const uint32_t* in = image.ScanLine(y);
    const uint32_t* m = alphaMask ? alphaMask->ScanLine(y) : nullptr;
    for (int x = 0; x < image.Width(); ++x) {
      *out++ = static_cast<uint8_t>(PixelRed(in[x]));
      *out++ = static_cast<uint8_t>(PixelGreen(in[x]));
      *out++ = static_cast<uint8_t>(PixelBlue(in[x]));
      if (m) *out++ = static_cast<uint8_t>(PixelRed(m[x]));
    }
  }
  WriteOutput(files, path, [&](std::FILE* f) { return WritePngStream(f, image, alphaMask, rows); });
}

}  // namespace qz
