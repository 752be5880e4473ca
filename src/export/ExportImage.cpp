#include "export/ExportImage.h"

#include <filesystem>
#include <stdexcept>

#include "gif/ColorReduction.h"
#include "gif/GifWriter.h"
#include "platform/BmpWriter.h"
#include "platform/JpegWriter.h"
#include "platform/PngFile.h"
#include "render/Resample.h"

namespace qz {

namespace {

constexpr uint32_t kMagentaPixel = RGBToPixel(kTransparentRgb.r, kTransparentRgb.g, kTransparentRgb.b);

TBitmap Scaled(const TBitmap& source, int width, int height, const char* filterName) {
  TBitmap out(width, height);
  ResampleImage(source, out, *FindFilter(filterName));
  return out;
}

bool AnySet(const std::vector<uint8_t>& flags) {
  for (uint8_t f : flags)
    if (f) return true;
  return false;
}

}  // namespace

bool IsExportSize(int64_t width, int64_t height) {
  return width >= 1 && height >= 1 && width <= MaxExportSide && height <= MaxExportSide &&
         width * height <= MaxExportPixels;
}

TBitmap ScaleExportImage(const TBitmap& image, int width, int height) {
  return Scaled(image, width, height, "Lanczos3");
}

TBitmap ScaleExportMask(const TBitmap& mask, int width, int height) {
  return Scaled(mask, width, height, "B-Spline");
}

std::vector<uint8_t> MarkTransparent(TBitmap& image, const TBitmap& mask) {
  const TBitmap scaled = ScaleExportMask(mask, image.Width(), image.Height());
  std::vector<uint8_t> transparent(static_cast<size_t>(image.Width()) * image.Height(), 0);
  size_t i = 0;
  for (int y = 0; y < image.Height(); ++y) {
    const uint32_t* m = scaled.ScanLine(y);
    uint32_t* row = image.ScanLine(y);
    for (int x = 0; x < image.Width(); ++x, ++i) {
      // Only exact black: a pixel the filter softened touches the button or a shadow.
      if ((m[x] & 0xFFFFFF) == 0) {
        row[x] = kMagentaPixel;
        transparent[i] = 1;
      }
    }
  }
  return transparent;
}

void WriteGif(const std::string& path, TBitmap& image, const TBitmap& mask, const TExportOptions& options,
              TFileGroup& files) {
  std::vector<uint8_t> transparent;
  if (options.Transparency) transparent = MarkTransparent(image, mask);
  // A picture covered everywhere needs no transparent entry: it would only cost an
  // optimised palette one of its colours.
  const bool anyTransparent = AnySet(transparent);
  const TIndexedImage frame =
      MakeIndexedImage(image, options.PaletteKind, options.Dithering, options.ColorBits, anyTransparent ? &transparent : nullptr);
  WriteGifFile(path, frame, &files);
}

void WritePngWithMask(const std::string& path, const TBitmap& image, const TBitmap& mask, TFileGroup& files) {
  const TBitmap alpha = ScaleExportMask(mask, image.Width(), image.Height());
  WritePng(path, image, &alpha, &files);
}

void CheckExportSize(int64_t width, int64_t height) {
  if (!IsExportSize(width, height))
    throw std::runtime_error("Cannot export an image of " + std::to_string(width) + " x " + std::to_string(height) +
                             " pixels: each side must be 1 to " + std::to_string(MaxExportSide) + " pixels and " +
                             "the whole at most " + std::to_string(MaxExportPixels) + " pixels");
}

void CheckExportOptions(const TExportOptions& o) {
  if (o.Format != TExportFormat::Gif && o.Format != TExportFormat::Jpeg && o.Format != TExportFormat::Bmp &&
      o.Format != TExportFormat::Png)
    throw std::invalid_argument("Unknown export format " + std::to_string(static_cast<int>(o.Format)));
  if (o.ColorBits < MinColorBits || o.ColorBits > MaxColorBits)
    throw std::invalid_argument("Colour resolution " + std::to_string(o.ColorBits) + " bits is not offered");
  if (o.JpegQuality < MinJpegQuality || o.JpegQuality > MaxJpegQuality)
    throw std::invalid_argument("JPEG quality " + std::to_string(o.JpegQuality) + " is outside 1..100");
  PaletteKindInfo(o.PaletteKind);
  DitherMethodInfo(o.Dithering);
}

uint64_t WriteImage(const TRenderedButton& button, int width, int height, const TExportOptions& options,
                    const std::string& path, TFileGroup& files) {
  CheckExportOptions(options);
  CheckExportSize(width, height);
  TBitmap image = ScaleExportImage(button.Image, width, height);
  switch (options.Format) {
    case TExportFormat::Gif: WriteGif(path, image, button.Mask, options, files); break;
    case TExportFormat::Jpeg: WriteJpeg(path, image, options.JpegQuality, &files); break;
    case TExportFormat::Png:
      // Without transparency a PNG is opaque, as the other formats are.
      if (options.Transparency)
        WritePngWithMask(path, image, button.Mask, files);
      else
        WritePng(path, image, nullptr, &files);
      break;
    case TExportFormat::Bmp: WriteBmp24(path, image, &files); break;
  }
  return files.WrittenBytes(path);
}

}  // namespace qz
