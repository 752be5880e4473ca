// JPEG decoding through libjpeg: texture files, and the icons stored in works and
// shape files. Grayscale, YCbCr and RGB pictures are read as colour; CMYK and YCCK
// ones (as written by print software, inverted or not) are converted to RGB.
//
//   TBitmap wood = ReadJpegFile(TexturesDir + "wood.jpg");
//   TBitmap icon = DecodeJpeg(iconBytes, "icon of " + workFile);
//
// Every failure (not a JPEG, truncated or damaged data, a size beyond the bounds of
// ImageLimits.h) throws std::runtime_error naming the file or data.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/Bitmap.h"

namespace qz {

TBitmap DecodeJpeg(const uint8_t* data, size_t size, const std::string& name = "JPEG data");
TBitmap DecodeJpeg(const std::vector<uint8_t>& bytes, const std::string& name = "JPEG data");
TBitmap ReadJpegFile(const std::string& path);

}  // namespace qz
