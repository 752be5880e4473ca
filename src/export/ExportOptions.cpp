#include "export/ExportOptions.h"

#include <strings.h>

#include <cstring>

#include "text/CharClass.h"
#include "text/CodePages.h"
#include "text/Utf8.h"
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

std::string DefaultImageName(std::u32string_view message, TExportFormat format) {
  std::string name;
  for (char32_t u : message) {
    const bool ascii = u < 0x80;
    if ((ascii && u >= 65 && u <= 126 && u != '\\') || (ascii && u >= '0' && u <= '9') || (!ascii && IsWordCharacter(u)))
      AppendUtf8(name, u);
  }
  if (name.empty()) name = "Untitled";
  return name + FormatExtension(format);
}

std::string DefaultImageName(const TMessageText& message, TExportFormat format) {
  std::u32string chars;
  for (const TMessageText::TChar& c : message.Chars())
    chars += c.Wide == 0 && CharsetByte(c.Format.Charset) == SymbolCharset ? char32_t{c.Code} : c.CodePoint();
  return DefaultImageName(chars, format);
}

std::string ExportImagesFolder(const TFolders& folders) {
  ForceDirectories(folders.ImagesDir);
  return folders.ImagesDir;
}

}  // namespace qz
