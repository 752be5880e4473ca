// Edit -> "&Copy Picture": the button as a PNG export would write it, at the export
// size with true alpha, put on the clipboard, so it pastes into an image editor or a
// document with soft edges and a see-through shadow over any background.
#pragma once

#include <QImage>

#include "export/ExportImage.h"

namespace qz {

// The colours with the alpha's red byte as alpha (ARGB32, not premultiplied).
QImage PictureWithAlpha(const TUnmixed& picture);

// PictureWithAlpha on the application's clipboard.
void CopyPictureToClipboard(const TUnmixed& picture);

}  // namespace qz
