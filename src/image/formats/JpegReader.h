// JPEG decoding through libjpeg: texture files, and the icons stored in works and
// shape files. Grayscale, YCbCr and RGB pictures are read as colour; CMYK and YCCK
// ones (as written by print software, inverted or not) are converted to RGB.
//
//   TBitmap wood = ReadJpegFile(TexturesDir + "wood.jpg");
//   TBitmap icon = DecodeJpeg(iconBytes, "icon of " + workFile);
//
// Every failure (not a JPEG, truncated or damaged data, a size beyond the bounds of
// ImageLimits.h, a first scan too short for the picture's size) throws
// std::runtime_error naming the file or data. The size is checked against the bounds
// and against the data before the picture is allocated. A picture whose decoding
// would take more work than MaxDecodeWork (its pixels times its scans) is read at a
// half, a quarter or an eighth of its size, whichever is the largest within the bound;
// beyond even an eighth it is refused, saying why.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "image/Bitmap.h"

namespace qz {

// What the markers of a JPEG file tell before any decoding: the picture's size, how
// many scans its data makes (one for most files; several for a progressive one), and
// how much data its first scan must hold for that size.
struct TJpegLayout {
  int64_t Width = 0;
  int64_t Height = 0;
  int64_t Scans = 0;
  // Huffman coding spends at least one bit on every 8 x 8 block of a scan that holds
  // the blocks' DC coefficients: a baseline scan, or the first scan of a progressive
  // file. These are the bytes the first scan needs at least by that count (0 where the
  // coding allows no such bound, as arithmetic coding) and the bytes it has.
  int64_t FirstScanLeastBytes = 0;
  int64_t FirstScanBytes = 0;
  // A progressive file whose first scan holds no DC coefficients (which every file
  // must send before any others) gives no such bound, and is not a valid picture.
  bool ProgressiveWithoutDcFirst = false;
};
// Nothing when the data is not a JPEG stream whose frame header can be found.
std::optional<TJpegLayout> ReadJpegLayout(const uint8_t* data, size_t size);
// The divisor (1, 2, 4 or 8) a picture of that layout is read at, or 0 when even an
// eighth of it would exceed the work allowed.
int JpegScaleDivisor(const TJpegLayout& layout, int64_t maxWork);

TBitmap DecodeJpeg(const uint8_t* data, size_t size, const std::string& name = "JPEG data");
TBitmap DecodeJpeg(const std::vector<uint8_t>& bytes, const std::string& name = "JPEG data");
TBitmap ReadJpegFile(const std::string& path);

}  // namespace qz
