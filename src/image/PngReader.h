// PNG decoding through libpng, for texture files. Every kind of PNG is read as colour:
// grey, palette and 16-bit pictures are expanded, and a picture with transparency
// (an alpha channel or a tRNS chunk) is laid over white, as a GIF texture's
// transparent pixels are (textures are opaque). An interlaced picture is read whole.
//
//   TBitmap stone = DecodePng(bytes, TexturesDir + "stone.png");
//
// Every failure (not a PNG, a damaged or truncated stream, a size beyond the bounds of
// ImageLimits.h, more pixels than MaxDecodeWork) throws TImageError naming the data,
// and the size is checked before the pixels are allocated.
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
