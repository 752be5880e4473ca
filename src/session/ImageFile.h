// Loading a picture file by its extension: ".gif", ".jpg", ".jpeg" or ".bmp",
// compared without regard to case (cameras write ".JPG"). Used for texture files.
//
//   TBitmap texture = LoadImageFile(path);
//
// Any other extension, and any file that is missing, too large, broken or hostile,
// throws std::runtime_error with a message naming the file and what is wrong.
#pragma once

#include <string>

#include "platform/Bitmap.h"

namespace qz {

TBitmap LoadImageFile(const std::string& path);

// Whether LoadImageFile would try to read path (by its extension alone).
bool IsImageFileName(const std::string& path);

}  // namespace qz
