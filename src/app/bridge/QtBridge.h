// Small conversions between the core's types and Qt's, shared by the dialogs:
// paths (the file system's bytes, UTF-8 here) to and from QString, message codes
// (8-bit, read through their charset's code page) to text, and TBitmap to QImage.
#pragma once

#include <QImage>
#include <QString>
#include <string>

#include "image/Bitmap.h"

namespace qz {

QString PathToQt(const std::string& path);
std::string PathFromQt(const QString& path);

// The characters of codes as the user sees them (text/CodePages.h).
QString CodesToQt(const std::string& codes, int charset);

// An opaque RGB32 copy of a bitmap (the bitmap's fourth byte is not alpha).
QImage BitmapToQImage(const TBitmap& bitmap);

}  // namespace qz
