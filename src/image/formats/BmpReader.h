// BMP decoding, our own and strict: every size, offset, mask and palette count is
// checked against the file before a pixel is read. Reads uncompressed pictures of
// 1, 4, 8, 16, 24 and 32 bits per pixel, bottom-up or top-down, with the 12-byte core
// header, BITMAPINFOHEADER, and the larger V2..V5 headers (colour masks for 16 and
// 32 bits included; an alpha channel is ignored). RLE-compressed and embedded
// JPEG/PNG bitmaps are refused with a clear message.
//
//   TBitmap stone = ReadBmpFile(TexturesDir + "stone.bmp");
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "image/Bitmap.h"

namespace qz {

// Throws std::runtime_error naming name (or path) and what is wrong.
TBitmap DecodeBmp(const uint8_t* data, size_t size, const std::string& name = "BMP data");
TBitmap DecodeBmp(const std::vector<uint8_t>& bytes, const std::string& name = "BMP data");
TBitmap ReadBmpFile(const std::string& path);

}  // namespace qz
