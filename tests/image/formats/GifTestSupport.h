// Helpers of the GIF tests: decoding with giflib (the independent reader every file
// we write must satisfy) and deterministic test pictures.
#pragma once

#include <gif_lib.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "image/IndexedImage.h"
#include "image/Bitmap.h"
#include "base/FileUtil.h"

namespace qz::test {

struct TDecodedGif {
  bool ok = false;
  std::string error;
  int width = 0;
  int height = 0;
  int imageCount = 0;
  std::vector<TRgb> colorMap;  // the whole global colour table
  std::vector<uint8_t> indices;
  int transparentIndex = -1;  // from the graphic control extension
  bool hasGraphicControl = false;
};

// Reads a whole GIF from memory with DGifOpen and DGifSlurp.
inline TDecodedGif DecodeWithGiflib(const std::vector<uint8_t>& bytes) {
  struct TReader {
    const std::vector<uint8_t>* bytes;
    size_t at = 0;
  } reader{&bytes};
  const InputFunc read = [](GifFileType* gif, GifByteType* buf, int n) {
    auto* r = static_cast<TReader*>(gif->UserData);
    const size_t take = std::min(static_cast<size_t>(n), r->bytes->size() - r->at);
    std::memcpy(buf, r->bytes->data() + r->at, take);
    r->at += take;
    return static_cast<int>(take);
  };
  TDecodedGif out;
  int error = 0;
  GifFileType* gif = DGifOpen(&reader, read, &error);
  if (!gif) return out.error = GifErrorString(error), out;
  if (DGifSlurp(gif) != GIF_OK) {
    out.error = GifErrorString(gif->Error);
    DGifCloseFile(gif, &error);
    return out;
  }
  out.width = gif->SWidth;
  out.height = gif->SHeight;
  out.imageCount = gif->ImageCount;
  for (int i = 0; gif->SColorMap && i < gif->SColorMap->ColorCount; ++i) {
    const GifColorType& c = gif->SColorMap->Colors[i];
    out.colorMap.push_back({c.Red, c.Green, c.Blue});
  }
  out.error = "no image";
  if (gif->ImageCount > 0) {
    const SavedImage& frame = gif->SavedImages[0];
    const GifImageDesc& desc = frame.ImageDesc;
    out.indices.assign(frame.RasterBits, frame.RasterBits + static_cast<size_t>(desc.Width) * desc.Height);
    for (int i = 0; i < frame.ExtensionBlockCount; ++i)
      out.hasGraphicControl |= frame.ExtensionBlocks[i].Function == GRAPHICS_EXT_FUNC_CODE;
    GraphicsControlBlock gcb;
    if (DGifSavedExtensionToGCB(gif, 0, &gcb) == GIF_OK) out.transparentIndex = gcb.TransparentColor;
    out.ok = desc.Left == 0 && desc.Top == 0 && desc.Width == out.width && desc.Height == out.height && !desc.Interlace;
    out.error = out.ok ? "" : "frame does not cover the screen";
  }
  DGifCloseFile(gif, &error);
  return out;
}

// A GIF file read with giflib; not ok when it cannot be read.
inline TDecodedGif ReadGifFile(const std::string& path) {
  const std::optional<std::vector<uint8_t>> bytes = ReadWholeFile(path, 64u << 20);
  return bytes ? DecodeWithGiflib(*bytes) : TDecodedGif{};
}

// The decoded picture as colours (transparent pixels included, in their entry's colour).
inline TBitmap ToBitmap(const TDecodedGif& gif) {
  TBitmap b(gif.width, gif.height);
  for (int y = 0; y < gif.height; ++y)
    for (int x = 0; x < gif.width; ++x) {
      const TRgb& c = gif.colorMap[gif.indices[static_cast<size_t>(y) * gif.width + x]];
      b.SetPixel(x, y, RGBToPixel(c.r, c.g, c.b));
    }
  return b;
}

// Smooth colour fields with a bright disc, shading and a little grain: a stand-in for
// a photograph (many colours, gentle gradients, some edges).
inline TBitmap MakePhotoLike(int width, int height, uint32_t seed = 7) {
  TBitmap b(width, height);
  std::mt19937 rng(seed);
  double cx = width * 0.62, cy = height * 0.4, radius = std::min(width, height) * 0.27;
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      double u = double(x) / width, v = double(y) / height;
      double r = 90 + 80 * v + 40 * std::sin(7 * u + 3 * v);
      double g = 120 + 60 * std::sin(5 * v - 2 * u) - 30 * u;
      double bl = 200 - 150 * v + 30 * std::cos(9 * u);
      double d = std::hypot(x - cx, y - cy) / radius;
      if (d < 1) {  // a shaded ball lit from the upper left
        double shade = 0.35 + 0.65 * std::sqrt(1 - d * d) * (1 - 0.4 * (x - cx + y - cy) / radius);
        r = 250 * shade, g = 170 * shade, bl = 60 * shade;
      }
      const int grain = static_cast<int>(rng() % 9) - 4;
      auto clamp = [](double c) { return static_cast<uint32_t>(std::lround(std::min(255.0, std::max(0.0, c)))); };
      b.SetPixel(x, y, RGBToPixel(clamp(r + grain), clamp(g + grain), clamp(bl + grain)));
    }
  return b;
}

// A horizontal colour gradient from one colour to another, the same on every row.
inline TBitmap MakeGradient(int width, int height, TRgb from, TRgb to) {
  TBitmap b(width, height);
  for (int x = 0; x < width; ++x) {
    auto mix = [&](int a, int c) { return static_cast<uint32_t>(a + (c - a) * x / std::max(1, width - 1)); };
    uint32_t p = RGBToPixel(mix(from.r, to.r), mix(from.g, to.g), mix(from.b, to.b));
    for (int y = 0; y < height; ++y) b.SetPixel(x, y, p);
  }
  return b;
}

}  // namespace qz::test
