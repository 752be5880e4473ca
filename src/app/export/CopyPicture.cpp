#include "app/export/CopyPicture.h"

#include <QClipboard>
#include <QGuiApplication>

namespace qz {

QImage PictureWithAlpha(const TUnmixed& picture) {
  const TBitmap& image = picture.Color;
  QImage out(image.Width(), image.Height(), QImage::Format_ARGB32);
  for (int y = 0; y < image.Height(); ++y) {
    const uint32_t* in = image.ScanLine(y);
    const uint32_t* alpha = picture.Alpha.ScanLine(y);
    auto* row = reinterpret_cast<QRgb*>(out.scanLine(y));
    for (int x = 0; x < image.Width(); ++x) row[x] = (PixelRed(alpha[x]) << 24) | (in[x] & 0xFFFFFFu);
  }
  return out;
}

void CopyPictureToClipboard(const TUnmixed& picture) {
  QGuiApplication::clipboard()->setImage(PictureWithAlpha(picture));
}

}  // namespace qz
