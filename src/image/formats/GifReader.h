// GIF decoding through giflib, for texture files: the first picture of the file,
// painted onto a canvas of the logical screen's size (grown to hold the picture if
// the screen is given smaller). Records are read only up to that first picture, and
// its size is checked, against the bounds and against the data that follows it,
// before anything is allocated.
//
// What shows where the picture does not cover the canvas, and where its pixels are
// transparent: the screen's background colour when the file has a global colour
// table and the background is not itself the transparent index, else white.
//
//   TBitmap marble = ReadGifFile(TexturesDir + "marble.gif");
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "image/Bitmap.h"

namespace qz {

// Throws std::runtime_error naming name (or path) and what is wrong.
TBitmap DecodeGif(const uint8_t* data, size_t size, const std::string& name = "GIF data");
TBitmap DecodeGif(const std::vector<uint8_t>& bytes, const std::string& name = "GIF data");
TBitmap ReadGifFile(const std::string& path);

}  // namespace qz
