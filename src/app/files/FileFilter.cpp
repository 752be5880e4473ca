#include "app/files/FileFilter.h"

namespace qz {

const QStringList& TextureFilters() {
  static const QStringList filters{"All Images (GIF, JPEG, Bitmap, PNG) (*.gif *.jpg *.jpeg *.bmp *.png)",
                                   "GIF Image (*.gif)", "JPEG Image File (*.jpg *.jpeg)",
                                   "Bitmaps (*.bmp)", "PNG Image (*.png)"};
  return filters;
}

const QStringList& WorkSaveFilters() {
  static const QStringList filters{"3D Button Files (*.qznr)", "QZNR Templates (*.qzpl)"};
  return filters;
}

const QStringList& ExportFilters() {
  static const QStringList filters{"GIF Image (*.gif)", "JPEG Image (*.jpg)", "Bitmap Image (*.bmp)",
                                   "PNG Image (*.png)", "WebP Image (*.webp)"};
  return filters;
}

}  // namespace qz
