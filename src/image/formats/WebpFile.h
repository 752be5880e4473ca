// WebP writer (libwebp): colour with an 8-bit alpha channel taken from a mask of the
// same size (its red byte; white is opaque), or opaque colour without one. Lossless
// by default, keeping every pixel exactly (the colour under a transparent pixel too);
// lossy at a quality of 1 to 100.
//
//   WriteWebp("go.webp", image, &alpha, {});                 // lossless
//   WriteWebp("go.webp", image, &alpha, {true, 80}, &files); // lossy, one of a group
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "image/Bitmap.h"
#include "base/OutputFiles.h"

namespace qz {

// WebP stores each side in 14 bits.
constexpr int MaxWebpSide = 16383;

struct TWebpOptions {
  bool Lossy = false;
  int Quality = 90;  // lossy only: 1..100
};

// The file as bytes. Throws std::runtime_error when the picture cannot be a WebP (an
// empty one, a side over MaxWebpSide, a mask of another size) or libwebp fails.
std::vector<uint8_t> EncodeWebp(const TBitmap& image, const TBitmap* alphaMask, TWebpOptions options);

// Writes the file atomically, as one of files when given. Throws std::runtime_error
// naming the path when it cannot be encoded or written.
void WriteWebp(const std::string& path, const TBitmap& image, const TBitmap* alphaMask, TWebpOptions options,
               TFileGroup* files = nullptr);

}  // namespace qz
