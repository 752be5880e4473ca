#include "export/ExportImage.h"

#include <algorithm>
#include <filesystem>
#include <stdexcept>

#include "palette/ColorReduction.h"
#include "image/formats/GifWriter.h"
#include "image/formats/BmpWriter.h"
#include "image/formats/JpegWriter.h"
#include "image/formats/PngFile.h"
#include "image/formats/WebpFile.h"
#include "image/Resample.h"

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
  WriteGifFile(path, frame, &files, options.GifCompression);
}

TUnmixed UnmixBackgrounds(const TBitmap& onBlack, const TBitmap& onWhite, const TBitmap& white) {
  const int w = onBlack.Width(), h = onBlack.Height();
  if (onWhite.Width() != w || onWhite.Height() != h || white.Width() != w || white.Height() != h)
    throw std::invalid_argument("The pictures on black and on white differ in size");
  TUnmixed out{TBitmap(w, h), TBitmap(w, h)};
  for (int y = 0; y < h; ++y) {
    const uint32_t* b = onBlack.ScanLine(y);
    const uint32_t* wh = onWhite.ScanLine(y);
    const uint32_t* page = white.ScanLine(y);
    uint32_t* color = out.Color.ScanLine(y);
    uint32_t* alpha = out.Alpha.ScanLine(y);
    for (int x = 0; x < w; ++x) {
      const int64_t black[3] = {PixelRed(b[x]), PixelGreen(b[x]), PixelBlue(b[x])};
      const int64_t onW[3] = {PixelRed(wh[x]), PixelGreen(wh[x]), PixelBlue(wh[x])};
      const int64_t full = std::max<int64_t>(1, PixelRed(page[x]));
      // The page shows through by the difference it makes, measured against what the
      // page alone became (the scaler's ringing may take it a little beyond).
      int64_t through = 0;
      for (int c = 0; c < 3; ++c) through = std::max(through, onW[c] - black[c]);
      const int64_t a = 255 - std::min<int64_t>(255, (through * 255 + full / 2) / full);
      uint32_t rgb[3] = {0, 0, 0};
      if (a > 0)
        for (int c = 0; c < 3; ++c)
          rgb[c] = static_cast<uint32_t>(std::min<int64_t>(255, (black[c] * 255 * 255 + full * a / 2) / (full * a)));
      color[x] = RGBToPixel(rgb[0], rgb[1], rgb[2]);
      const auto level = static_cast<uint32_t>(a);
      alpha[x] = RGBToPixel(level, level, level);
    }
  }
  return out;
}

void CheckExportOptions(const TExportOptions& o) {
  if (o.Format != TExportFormat::Gif && o.Format != TExportFormat::Jpeg && o.Format != TExportFormat::Bmp &&
      o.Format != TExportFormat::Png && o.Format != TExportFormat::WebP)
    throw std::invalid_argument("Unknown export format " + std::to_string(static_cast<int>(o.Format)));
  if (o.ColorBits < MinColorBits || o.ColorBits > MaxColorBits)
    throw std::invalid_argument("Colour resolution " + std::to_string(o.ColorBits) + " bits is not offered");
  if (o.JpegQuality < MinJpegQuality || o.JpegQuality > MaxJpegQuality)
    throw std::invalid_argument("JPEG quality " + std::to_string(o.JpegQuality) + " is outside 1..100");
  if (o.Scale < 1 || o.Scale > MaxExportScale)
    throw std::invalid_argument("Scale " + std::to_string(o.Scale) + " is not 1, 2 or 3");
  if (o.GifCompression != TGifCompression::Lzw && o.GifCompression != TGifCompression::RunLength)
    throw std::invalid_argument("Unknown GIF compression " + std::to_string(static_cast<int>(o.GifCompression)));
  PaletteKindInfo(o.PaletteKind);
  DitherMethodInfo(o.Dithering);
}

TUnmixed AlphaPicture(const TRenderedButton& button, int width, int height) {
  if (button.OnWhite.Empty())
    throw std::invalid_argument("A picture with alpha is made from the button on black and on white");
  TBitmap page(button.OnWhite.Width(), button.OnWhite.Height());
  page.Fill(0xFFFFFF);
  return UnmixBackgrounds(ScaleExportImage(button.Image, width, height),
                          ScaleExportImage(button.OnWhite, width, height), ScaleExportImage(page, width, height));
}

uint64_t WriteImage(const TRenderedButton& button, int width, int height, const TExportOptions& options,
                    const std::string& path, TFileGroup& files) {
  CheckExportOptions(options);
  CheckExportSize(width, height);
  const bool trueAlpha = HasAlphaChannel(options.Format) && options.Transparency;
  // Without transparency a PNG or WebP is opaque, as the other formats are.
  TUnmixed unmixed;
  TBitmap image;
  if (trueAlpha)
    unmixed = AlphaPicture(button, width, height);
  else
    image = ScaleExportImage(button.Image, width, height);
  const TBitmap& colors = trueAlpha ? unmixed.Color : image;
  const TBitmap* alpha = trueAlpha ? &unmixed.Alpha : nullptr;
  switch (options.Format) {
    case TExportFormat::Gif: WriteGif(path, image, button.Mask, options, files); break;
    case TExportFormat::Jpeg: WriteJpeg(path, image, options.JpegQuality, &files); break;
    case TExportFormat::Png: WritePng(path, colors, alpha, &files); break;
    case TExportFormat::WebP: WriteWebp(path, colors, alpha, {options.WebpLossy, options.JpegQuality}, &files); break;
    case TExportFormat::Bmp: WriteBmp24(path, image, &files); break;
  }
  return files.WrittenBytes(path);
}

}  // namespace qz
