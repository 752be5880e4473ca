// PNG writer (libpng): 24-bit colour, or colour with an 8-bit alpha channel taken
// from a mask of the same size (its red byte; white is opaque). Used to dump
// pictures for people and tests to look at, and as the fourth export format.
#pragma once

#include <string>

#include "image/Bitmap.h"
#include "base/OutputFiles.h"

namespace qz {

// Throws std::runtime_error naming the path when the file cannot be written.
// The file is written to a temporary name beside the target and renamed, so a
// failed write never leaves a half-written picture.
// With files, the file is written as one of that group.
void WritePng(const std::string& path, const TBitmap& image, const TBitmap* alphaMask = nullptr,
              TFileGroup* files = nullptr);

}  // namespace qz
