// File-chooser filters are written as the program's own dialogs list them,
// "Description|pattern;pattern|Description|pattern"; Qt wants
// "Description (pattern pattern);;...". A description that already ends with its
// patterns in parentheses is kept as it is, otherwise the patterns are appended.
#pragma once

#include <QString>

namespace qz {

QString QtFileFilter(const QString& barFilter);

// The filter of the texture chooser.
inline constexpr const char* TextureFilter =
    "All Images (GIF, JPEG, Bitmap)|*.gif;*.jpg;*.jpeg;*.bmp|GIF Image (*.gif)|*.gif|"
    "JPEG Image File (*.jpg, *.jpeg)|*.jpg;*.jpeg|Bitmaps (*.bmp)|*.bmp";

}  // namespace qz
