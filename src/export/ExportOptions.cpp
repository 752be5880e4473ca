#include "export/ExportOptions.h"

#include <strings.h>

#include <cstring>

#include "platform/CharClass.h"
#include "platform/CodePages.h"
#include "platform/Utf8.h"
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
