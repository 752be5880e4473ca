// What every image reader accepts before it allocates anything: the bounds on a
// picture's size and on the bytes read from a file, and the one form of the error
// a reader throws, naming the file and what is wrong with it:
//
//   Cannot read image "Textures/wood.bmp": the pixel data is truncated
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace qz {

// A texture larger than this is refused rather than held in memory.
constexpr int64_t MaxDecodedSide = 16384;
constexpr int64_t MaxDecodedPixels = int64_t(1) << 26;  // 64 Mi pixels, 256 MiB as a TBitmap
// Room for the largest picture above as a 32-bit BMP, with its headers.
constexpr size_t MaxImageFileBytes = size_t(320) << 20;

// Throws std::runtime_error("Cannot read image \"name\": what").
[[noreturn]] void ThrowImageError(const std::string& name, const std::string& what);

// Throws unless width x height is a picture of at least one pixel within the bounds.
void CheckImageSize(int64_t width, int64_t height, const std::string& name);

// The whole file, refused with a clear error when it is missing, unreadable, empty
// or larger than MaxImageFileBytes.
std::vector<uint8_t> ReadImageFileBytes(const std::string& path);

}  // namespace qz
