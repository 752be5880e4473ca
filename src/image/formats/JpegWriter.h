// JPEG encoding through libjpeg: exported images and the icons stored in works.
// Only the quality is set (1..100, out-of-range values are clamped); everything else
// stays at libjpeg's defaults (YCbCr, 2x2 chroma subsampling, baseline Huffman).
//
//   std::vector<uint8_t> icon = EncodeJpeg(iconBitmap, 90);
//   WriteJpeg(path, image, quality);   // atomically: the old file stays on failure
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "image/Bitmap.h"
#include "base/OutputFiles.h"

namespace qz {

// Throws std::runtime_error for an empty picture or one beyond JPEG's 65500 pixels.
std::vector<uint8_t> EncodeJpeg(const TBitmap& image, int quality);

// Throws std::runtime_error naming path when it cannot be written.
// With files, the file is written as one of that group.
void WriteJpeg(const std::string& path, const TBitmap& image, int quality, TFileGroup* files = nullptr);

}  // namespace qz
