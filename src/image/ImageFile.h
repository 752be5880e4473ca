// Loading a picture file by its extension: ".gif", ".jpg", ".jpeg", ".bmp" or ".png",
// compared without regard to case (cameras write ".JPG"). Used for texture files.
// PNG is read beside the three texture formats of old, since it is what most image
// editors and web pages hand a user today.
//
//   TBitmap texture = LoadImageFile(path);
//
// Any other extension, and any file that is missing, too large, broken or hostile,
// throws std::runtime_error with a message naming the file and what is wrong.
#pragma once

#include <string>

#include "image/Bitmap.h"

namespace qz {

TBitmap LoadImageFile(const std::string& path);

// Whether LoadImageFile would try to read path (by its extension alone).
bool IsImageFileName(const std::string& path);

}  // namespace qz
