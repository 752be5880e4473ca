// What every image reader accepts before it allocates anything: the bounds on a
// picture's size and on the bytes read from a file, and the one form of the error
// a reader throws, naming the file and what is wrong with it:
//
//   Cannot read image "Textures/wood.bmp": the pixel data is truncated
#pragma once

#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

namespace qz {

// A texture larger than this is refused rather than held in memory.
constexpr int64_t MaxDecodedSide = 16384;
constexpr int64_t MaxDecodedPixels = int64_t(1) << 26;  // 64 Mi pixels, 256 MiB as a TBitmap
// Room for the largest picture above as a 32-bit BMP, with its headers.
constexpr size_t MaxImageFileBytes = size_t(320) << 20;

// The work of decoding a texture, counted in pixels decoded, each as often as the
// data passes over it (a progressive JPEG once per scan). A texture is only ever fitted
// to the size of the text or the button: a picture that asks for more is read at a
// reduced scale where its format allows (JPEG: a half, a quarter, an eighth), and
// refused where even that is too much. A 4096 x 4096 picture of one scan is within it.
constexpr int64_t MaxDecodeWork = int64_t{1} << 24;

// What every reader throws: "Cannot read image \"name\": what", with what alone in Why.
struct TImageError : std::runtime_error {
  TImageError(const std::string& name, const std::string& what);
  std::string Why;
};

// Throws TImageError(name, what).
[[noreturn]] void ThrowImageError(const std::string& name, const std::string& what);

// Throws unless work (as counted above) is at most MaxDecodeWork; how says what it
// counted ("16384 x 4096 pixels").
void CheckDecodeWork(int64_t work, const std::string& how, const std::string& name);

// Throws unless width x height is a picture of at least one pixel within the bounds.
void CheckImageSize(int64_t width, int64_t height, const std::string& name);

// The whole file, refused with a clear error when it is missing, unreadable, empty
// or larger than MaxImageFileBytes.
std::vector<uint8_t> ReadImageFileBytes(const std::string& path);

}  // namespace qz
