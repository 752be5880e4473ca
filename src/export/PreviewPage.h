// The HTML preview page written after an export: the facts of the export go into
// Buttons.dat (section General), then the page template html/preview.tml is filled
// with values from that file and written as html/preview.html.
//
// Template syntax: a grave accent (`) opens and closes a placeholder; the text between
// a pair is a key of Buttons.dat, compared without regard to case; its value replaces
// the placeholder, HTML-escaped. The page is UTF-8 (the template declares it).
#pragma once

#include <cstdint>
#include <string>

#include "export/ExportOptions.h"
#include "platform/Bitmap.h"

namespace qz {

class TMessageText;

struct TExportFacts {
  std::string filePath;        // the exported file, with its folder
  int32_t width = 0;           // DimWidth
  int32_t height = 0;          // DimHeight
  std::string diffusion;       // the Dithering entry's text, leading blank included (" None")
  uint64_t fileBytes = 0;      // size of the written file
  TColor background = 0;       // BkgColor
  std::string targetUrl;       // the link box of the "Link " page
  std::string numberOfColors;  // the Colors entry's text (" 256")
  std::string buttonText;      // the message, already in UTF-8
};

// The size in kilobytes with at most one decimal: 3584 bytes "3.5", 4096 "4", 1000 "1".
std::string KilobyteText(uint64_t bytes);
// "#" and six upper-case hexadecimal digits in the order red, green, blue.
std::string HtmlColor(TColor color);

// Writes the export keys into settingsFile (other keys untouched). Throws
// std::runtime_error naming the file when it cannot be written.
void WritePreviewData(const std::string& settingsFile, const TExportFacts& facts);
// Fills programDir + "html/preview.tml" from valuesFile into programDir +
// "html/preview.html" (CRLF line ends, replaced atomically). Throws
// std::runtime_error naming the file when the template is missing or the page
// cannot be written.
void ExpandTemplate(const std::string& programDir, const std::string& valuesFile);
// The expansion itself, on text: values looked up in valuesText read as plain lines,
// each cut at TIniFile::MaxValueLength. Throws std::runtime_error when the page would
// pass 64 MB (a hostile template or values file).
std::string ExpandTemplateText(const std::string& templateText, const std::string& valuesText);

// What an export leaves for the page: the written file, its size in pixels and
// bytes, the Dithering and Colors entries of the options (whatever the format), the
// background colour, the link and the message.
TExportFacts MakeExportFacts(const std::string& imagePath, int32_t width, int32_t height,
                             const TExportOptions& options, uint64_t fileBytes, TColor background,
                             const std::string& targetUrl, const TMessageText& message);
// The message in UTF-8: a code through the code page of its charset, any other
// character as it is.
std::string MessageToUtf8(const TMessageText& message);
// After an export with " Browser Preview": the keys into programDir + "Buttons.dat",
// then html/preview.tml filled into html/preview.html. Throws std::runtime_error
// naming the file that cannot be read or written.
void WritePreviewPage(const std::string& programDir, const TExportFacts& facts);

}  // namespace qz
