// PNG decoding through libpng, for texture files. Every kind of PNG is read as colour:
// grey, palette and 16-bit pictures are expanded, and a picture with transparency
// (an alpha channel or a tRNS chunk) is laid over white, as a GIF texture's
// transparent pixels are (textures are opaque). An interlaced picture is read whole.
// Ancillary chunks other than the transparency (text, colour profiles, gamma) are
// skipped unread: the pixels are taken as stored.
//
//   TBitmap stone = DecodePng(bytes, TexturesDir + "stone.png");
//
// Every failure (not a PNG, a damaged or truncated stream, a size beyond the bounds of
// ImageLimits.h, more pixels than MaxDecodeWork, a chunk longer than the file or than
// 8 MB) throws TImageError naming the data. The size and every chunk's length are
// checked before libpng reads anything, and so before anything is allocated.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "image/Bitmap.h"

namespace qz {

TBitmap DecodePng(const uint8_t* data, size_t size, const std::string& name = "PNG data");
TBitmap DecodePng(const std::vector<uint8_t>& bytes, const std::string& name = "PNG data");

}  // namespace qz
