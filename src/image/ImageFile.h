// Loading a texture file: a GIF, JPEG, BMP or PNG picture, recognised by its first
// bytes whatever its name says (a PNG saved as "wood.jpg" is read as the PNG it is).
// PNG is read beside the three texture formats of old, since it is what most image
// editors and web pages hand a user today.
//
//   TBitmap texture = LoadImageFile(path);
//
// Any file that is missing, empty, too large, of another kind (a WebP picture among
// them: there is no WebP reader), broken or hostile throws std::runtime_error
// (TImageError) with a message naming the file and what is wrong.
#pragma once

#include <string>

#include "image/Bitmap.h"

namespace qz {

TBitmap LoadImageFile(const std::string& path);

// Whether path ends in an extension texture files carry (.gif, .jpg, .jpeg, .bmp or
// .png, in any case): for offering files to a user by name, where their bytes are not
// read. LoadImageFile does not look at the name; a file named otherwise loads when its
// bytes are a picture, and one named so is refused when they are not.
bool IsImageFileName(const std::string& path);

}  // namespace qz
