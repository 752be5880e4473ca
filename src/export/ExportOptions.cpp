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

// Where the extension of the file's name starts (its end when it has none; a name
// that starts with its only dot, ".png", is all name).
size_t ExtensionStart(const std::string& path) {
  const size_t slash = path.find_last_of('/');
  const size_t nameStart = slash == std::string::npos ? 0 : slash + 1;
  const size_t dot = path.find_last_of('.');
  return dot == std::string::npos || dot <= nameStart ? path.size() : dot;
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
    case TExportFormat::WebP: return ".webp";
    case TExportFormat::Bmp: break;
  }
  return ".bmp";
}

std::optional<TExportFormat> FormatOfFileName(const std::string& path) {
  if (EndsWithNoCase(path, ".gif")) return TExportFormat::Gif;
  if (EndsWithNoCase(path, ".jpg") || EndsWithNoCase(path, ".jpeg")) return TExportFormat::Jpeg;
  if (EndsWithNoCase(path, ".bmp")) return TExportFormat::Bmp;
  if (EndsWithNoCase(path, ".png")) return TExportFormat::Png;
  if (EndsWithNoCase(path, ".webp")) return TExportFormat::WebP;
  return std::nullopt;
}

bool HasAlphaChannel(TExportFormat format) { return format == TExportFormat::Png || format == TExportFormat::WebP; }

const char* StateSuffix(TButtonState state) {
  switch (state) {
    case TButtonState::Hover: return "-hover";
    case TButtonState::Pressed: return "-pressed";
    case TButtonState::Normal: break;
  }
  return "";
}

std::string StatePicturePath(const std::string& path, TButtonState state, int scale) {
  const size_t ext = ExtensionStart(path);
  std::string tail = StateSuffix(state);
  if (scale > 1) tail += "@" + std::to_string(scale) + "x";
  return path.substr(0, ext) + tail + path.substr(ext);
}

std::string StatesSnippetPath(const std::string& path) { return path.substr(0, ExtensionStart(path)) + ".html"; }

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
