#include "export/ExportOptions.h"

#include <strings.h>

#include <cstring>

#include "scene/Settings.h"

namespace qz {

namespace {

bool EndsWithNoCase(const std::string& s, const char* tail) {
  const size_t n = std::strlen(tail);
  return s.size() >= n && ::strcasecmp(s.c_str() + s.size() - n, tail) == 0;
}

}  // namespace

std::string ColorEntryText(int colorBits) {
  if (colorBits < MinColorBits || colorBits > MaxColorBits) return {};
  return ColorEntries[colorBits - MinColorBits];
}

const char* FormatExtension(TExportFormat format) {
  switch (format) {
    case TExportFormat::Gif: return ".gif";
    case TExportFormat::Jpeg: return ".jpg";
    case TExportFormat::Png: return ".png";
    case TExportFormat::Bmp: break;
  }
  return ".bmp";
}

std::optional<TExportFormat> FormatOfFileName(const std::string& path) {
  if (EndsWithNoCase(path, ".gif")) return TExportFormat::Gif;
  if (EndsWithNoCase(path, ".jpg") || EndsWithNoCase(path, ".jpeg")) return TExportFormat::Jpeg;
  if (EndsWithNoCase(path, ".bmp")) return TExportFormat::Bmp;
  if (EndsWithNoCase(path, ".png")) return TExportFormat::Png;
  return std::nullopt;
}

std::string DefaultImageName(const std::string& message, TExportFormat format) {
  std::string name;
  for (char c : message) {
    const auto code = static_cast<unsigned char>(c);
    if (code >= 65 && code <= 126 && c != '\\') name += c;
  }
  if (name.empty()) name = "Untitled";
  return name + FormatExtension(format);
}

std::string ExportImagesFolder(const TFolders& folders) {
  ForceDirectories(folders.ImagesDir);
  return folders.ImagesDir;
}

}  // namespace qz
