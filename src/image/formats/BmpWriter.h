// BMP encoding: 24 bits per pixel, uncompressed, bottom-up, BITMAPINFOHEADER; the
// export's "Bitmap" format.
//
//   WriteBmp24(path, image);   // atomically: the old file stays on failure
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "image/Bitmap.h"
#include "base/OutputFiles.h"

namespace qz {

// Throws std::runtime_error for an empty picture or one too large for the format.
std::vector<uint8_t> EncodeBmp24(const TBitmap& image);

// Throws std::runtime_error naming path when it cannot be written.
// With files, the file is written as one of that group.
void WriteBmp24(const std::string& path, const TBitmap& image, TFileGroup* files = nullptr);

}  // namespace qz
