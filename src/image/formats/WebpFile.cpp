#include "image/formats/WebpFile.h"

#include <webp/encode.h>

#include <memory>
#include <stdexcept>

namespace qz {

namespace {

// The picture as RGBA bytes, rows top to bottom; opaque without a mask.
std::vector<uint8_t> RgbaBytes(const TBitmap& image, const TBitmap* alpha) {
  std::vector<uint8_t> rgba(static_cast<size_t>(image.Width()) * image.Height() * 4);
  uint8_t* out = rgba.data();
  for (int y = 0; y < image.Height(); ++y) {
    const uint32_t* in = image.ScanLine(y);
    const uint32_t* m = alpha ? alpha->ScanLine(y) : nullptr;
    for (int x = 0; x < image.Width(); ++x) {
      *out++ = static_cast<uint8_t>(PixelRed(in[x]));
      *out++ = static_cast<uint8_t>(PixelGreen(in[x]));
      *out++ = static_cast<uint8_t>(PixelBlue(in[x]));
      *out++ = static_cast<uint8_t>(m ? PixelRed(m[x]) : 255);
    }
  }
  return rgba;
}

}  // namespace

std::vector<uint8_t> EncodeWebp(const TBitmap& image, const TBitmap* alphaMask, TWebpOptions options) {
  if (image.Empty()) throw std::runtime_error("the image is empty");
  if (image.Width() > MaxWebpSide || image.Height() > MaxWebpSide)
    throw std::runtime_error("a WebP picture is at most " + std::to_string(MaxWebpSide) + " pixels a side, not " +
                             std::to_string(image.Width()) + " x " + std::to_string(image.Height()));
  if (alphaMask && (alphaMask->Width() != image.Width() || alphaMask->Height() != image.Height()))
    throw std::runtime_error("the mask has another size than the image");
  if (options.Lossy && (options.Quality < 1 || options.Quality > 100))
    throw std::runtime_error("WebP quality " + std::to_string(options.Quality) + " is outside 1..100");

  WebPConfig config;
  if (!WebPConfigInit(&config)) throw std::runtime_error("libwebp does not match its headers");
  config.lossless = options.Lossy ? 0 : 1;
  if (options.Lossy) config.quality = static_cast<float>(options.Quality);
  // Lossless keeps the colour of transparent pixels as well, so the file decodes to
  // exactly what was written.
  config.exact = 1;

  WebPPicture picture;
  if (!WebPPictureInit(&picture)) throw std::runtime_error("libwebp does not match its headers");
  picture.use_argb = config.lossless;
  picture.width = image.Width();
  picture.height = image.Height();
  WebPMemoryWriter writer;
  WebPMemoryWriterInit(&writer);
  picture.writer = WebPMemoryWrite;
  picture.custom_ptr = &writer;
  // Both are released however the encoding ends.
  std::unique_ptr<WebPPicture, void (*)(WebPPicture*)> pictureOwner(&picture, WebPPictureFree);
  std::unique_ptr<WebPMemoryWriter, void (*)(WebPMemoryWriter*)> writerOwner(&writer, WebPMemoryWriterClear);

  const std::vector<uint8_t> rgba = RgbaBytes(image, alphaMask);
  if (!WebPPictureImportRGBA(&picture, rgba.data(), image.Width() * 4))
    throw std::runtime_error("out of memory for the WebP picture");
  if (!WebPEncode(&config, &picture))
    throw std::runtime_error("libwebp could not encode the picture (error " + std::to_string(picture.error_code) + ")");
  return std::vector<uint8_t>(writer.mem, writer.mem + writer.size);
}

void WriteWebp(const std::string& path, const TBitmap& image, const TBitmap* alphaMask, TWebpOptions options,
               TFileGroup* files) {
  std::vector<uint8_t> bytes;
  try {
    bytes = EncodeWebp(image, alphaMask, options);
  } catch (const std::runtime_error& e) {
    throw std::runtime_error("Cannot write " + path + ": " + e.what());
  }
  WriteOutputBytes(files, path, bytes.data(), bytes.size());
}

}  // namespace qz
