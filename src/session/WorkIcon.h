// The icon saved with a work: the preview stretched onto 120 x 40 pixels and stored as
// a JPEG record in the work file, for the welcome dialog's lists.
//
//   if (SaveIcon(work, "Icon", preview, dimWidth, dimHeight, progress)) ...
#pragma once

#include <string>

#include "image/Bitmap.h"
#include "base/Sinks.h"

namespace qz {

// Whether a save stores an icon: the preview at least 2 x 2 pixels and both export
// dimensions at least 2.
bool IconWanted(const TBitmap& preview, int dimWidth, int dimHeight);

// The preview stretched onto the 120 x 40 icon with "Lanczos3", width 3 (the aspect
// ratio is not kept).
TBitmap MakeIcon(const TBitmap& preview);

// When IconWanted: " Sretching icon ...", MakeIcon, " Saving icon ...", the icon as
// JPEG (quality 90) into the file's record under prefix (section prefix erased first,
// lines of 100 bytes, "Lines" in prefix + "Info") with the sink's progress going from
// 0 to 100, then " Done"; pending messages run after each of the three texts. True when
// the icon was saved. Throws std::runtime_error naming the file when it cannot be
// written.
bool SaveIcon(const std::string& fileName, const std::string& prefix, const TBitmap& preview, int dimWidth,
              int dimHeight, IProgressSink& sink);

}  // namespace qz
