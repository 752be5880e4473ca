// The filters of the program's file choosers, all in the form Qt's file dialog reads:
// one entry per list item, "Description (pattern pattern)", the patterns in the last
// parentheses. A save dialog's chosen entry is found by its index from 1, which
// decides the format written (SaveDialog.h). Patterns match without regard to case
// in Qt's dialog, so a camera's "PHOTO.JPG" is offered as a texture too.
#pragma once

#include <QStringList>

namespace qz {

// The texture chooser: all images, then GIF, JPEG, bitmaps and PNG alone.
const QStringList& TextureFilters();
// Save: entry 1 saves a work (.qznr), entry 2 a template (.qzpl).
const QStringList& WorkSaveFilters();
// Export: entry 1 GIF, 2 JPEG, 3 bitmap, 4 PNG, 5 WebP (the sub-pages' order).
const QStringList& ExportFilters();

}  // namespace qz
