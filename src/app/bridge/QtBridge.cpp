#include "app/bridge/QtBridge.h"

#include <QFile>

#include "text/CodePages.h"

namespace qz {

QString PathToQt(const std::string& path) {
  return QFile::decodeName(QByteArray::fromStdString(path));
}

std::string PathFromQt(const QString& path) { return QFile::encodeName(path).toStdString(); }

QString CodesToQt(const std::string& codes, int charset) {
  QString out;
  for (char c : codes) {
    const char32_t u = CodeToUnicode(static_cast<uint8_t>(c), static_cast<uint8_t>(charset));
    out += QString::fromUcs4(&u, 1);
  }
  return out;
}

QImage BitmapToQImage(const TBitmap& bitmap) {
  QImage image(bitmap.Width(), bitmap.Height(), QImage::Format_RGB32);
  for (int y = 0; y < bitmap.Height(); ++y) {
    const uint32_t* src = bitmap.ScanLine(y);
    auto* dst = reinterpret_cast<uint32_t*>(image.scanLine(y));
    for (int x = 0; x < bitmap.Width(); ++x) dst[x] = src[x] | 0xFF000000u;
  }
  return image;
}

}  // namespace qz
