// Helpers of the export tests: a hand-made rendered button (picture and mask as the
// renderer leaves them) and PNG and WebP readers for the alpha channel of exported
// pictures.
#pragma once

#include <png.h>
#include <webp/decode.h>

#include <cmath>
#include <optional>
#include <string>
#include <vector>

#include "export/ExportImage.h"
#include "image/Bitmap.h"
#include "base/FileUtil.h"

namespace qz::test {

// The picture written as a group of its own, as an export without its page writes it.
inline uint64_t WriteImage(const TRenderedButton& button, int width, int height, const TExportOptions& options,
                           const std::string& path) {
  TFileGroup files;
  const uint64_t bytes = qz::WriteImage(button, width, height, options, path, files);
  files.Commit();
  return bytes;
}

// A shaded elliptic plate with a drop shadow on a light blue page, and the mask the
// renderer would give: white under the plate and its shadow, black elsewhere.
// An elliptic button with a drop shadow on a page of the given colour (the shadow
// halves it): a stand-in for a rendered one.
inline void DrawTestButton(TBitmap& image, TBitmap* mask, uint32_t page) {
  const int w = image.Width(), h = image.Height();
  const double cx = w * 0.45, cy = h * 0.45, rx = w * 0.35, ry = h * 0.3;
  const int sx = std::max(2, w / 30), sy = std::max(2, h / 12);
  auto inside = [&](double x, double y) {
    const double u = (x - cx) / rx, v = (y - cy) / ry;
    return u * u + v * v <= 1.0;
  };
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      uint32_t p = page, m = 0;
      if (inside(x + 0.5, y + 0.5)) {
        const double shade = 0.55 + 0.45 * (1.0 - (y - (cy - ry)) / (2 * ry));
        p = RGBToPixel(uint32_t(230 * shade), uint32_t(90 * shade + 20), uint32_t(60 * shade));
        m = 0xFFFFFF;
      } else if (inside(x + 0.5 - sx, y + 0.5 - sy)) {
        p = (page >> 1) & 0x7F7F7F;  // the page, halved
        m = 0xFFFFFF;
      }
      image.SetPixel(x, y, p);
      if (mask) mask->SetPixel(x, y, m);
    }
}

// The button on a light blue page with its mask; with alpha, on black and on white
// as a PNG or WebP with transparency is made from.
inline TRenderedButton MakeRenderedButton(int w, int h, bool alpha = false) {
  TRenderedButton b{TBitmap(w, h), TBitmap(w, h), {}, {w, h, 0, 0}};
  DrawTestButton(b.Image, &b.Mask, alpha ? 0 : RGBToPixel(200, 220, 255));
  if (alpha) {
    b.OnWhite.SetSize(w, h);
    DrawTestButton(b.OnWhite, nullptr, 0xFFFFFF);
  }
  return b;
}

struct TDecodedPng {
  bool ok = false;
  int width = 0, height = 0;
  std::vector<uint8_t> rgba;  // 4 bytes a pixel, rows top to bottom
  uint8_t Alpha(int x, int y) const { return rgba[(static_cast<size_t>(y) * width + x) * 4 + 3]; }
  uint32_t Pixel(int x, int y) const {
    const uint8_t* p = &rgba[(static_cast<size_t>(y) * width + x) * 4];
    return RGBToPixel(p[0], p[1], p[2]);
  }
};

// Reads a WebP with libwebp, as RGBA.
inline TDecodedPng ReadWebpRgba(const std::string& path) {
  TDecodedPng out;
  const std::optional<std::vector<uint8_t>> bytes = ReadWholeFile(path, 64 << 20);
  if (!bytes) return out;
  int w = 0, h = 0;
  uint8_t* rgba = WebPDecodeRGBA(bytes->data(), bytes->size(), &w, &h);
  if (!rgba) return out;
  out.rgba.assign(rgba, rgba + static_cast<size_t>(w) * h * 4);
  WebPFree(rgba);
  out.width = w;
  out.height = h;
  out.ok = true;
  return out;
}

// Reads a PNG with libpng's simplified reader, as RGBA.
inline TDecodedPng ReadPngRgba(const std::string& path) {
  TDecodedPng out;
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_file(&image, path.c_str())) return out;
  image.format = PNG_FORMAT_RGBA;
  out.rgba.resize(PNG_IMAGE_SIZE(image));
  if (!png_image_finish_read(&image, nullptr, out.rgba.data(), 0, nullptr)) {
    png_image_free(&image);
    return out;
  }
  out.width = static_cast<int>(image.width);
  out.height = static_cast<int>(image.height);
  out.ok = true;
  return out;
}

}  // namespace qz::test
