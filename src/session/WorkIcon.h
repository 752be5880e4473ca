// The icon saved with a work: the design's own render stretched onto 120 x 40 pixels
// and stored as a JPEG record in the work file, for the welcome dialog's lists. It is
// made from the picture the design renders to, never from what a window shows, so the
// same design saves the same icon.
//
//   TIniFile ini(path);
//   SaveDesignToIni(params, text, ini);
//   AddIcon(ini, "Icon", picture.Image, exportWidth, exportHeight, progress);
//   ini.Flush();                        // keys and icon in one replacement of the file
#pragma once

#include <string>

#include "base/IniFile.h"
#include "base/Sinks.h"
#include "image/Bitmap.h"

namespace qz {

// Whether a save stores an icon: the picture at least 2 x 2 pixels and both export
// dimensions at least 2.
bool IconWanted(const TBitmap& picture, int dimWidth, int dimHeight);

// The picture stretched onto the 120 x 40 icon with "Lanczos3", width 3 (the aspect
// ratio is not kept).
TBitmap MakeIcon(const TBitmap& picture);

// When IconWanted: " Sretching icon ...", MakeIcon, " Saving icon ...", the icon as
// JPEG (quality 90) into ini's record under prefix (section prefix erased first, lines
// of 100 bytes, "Lines" in prefix + "Info") with the sink's progress going from 0 to
// 100, then " Done"; pending messages run after each of the three texts. True when
// the icon was added.
bool AddIcon(TIniFile& ini, const std::string& prefix, const TBitmap& picture, int dimWidth, int dimHeight,
             IProgressSink& sink);

}  // namespace qz
