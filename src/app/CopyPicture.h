// Edit -> "&Copy Picture": the button as the export would write it, at the export
// size with its coverage as alpha, put on the clipboard, so it pastes into an image
// editor or a document with soft edges over any background.
#pragma once

#include <QImage>

#include "export/ExportImage.h"

namespace qz {

// The picture with the mask's red byte as alpha (ARGB32, not premultiplied).
QImage PictureWithAlpha(const TRenderedButton& picture);

// PictureWithAlpha on the application's clipboard.
void CopyPictureToClipboard(const TRenderedButton& picture);

}  // namespace qz
