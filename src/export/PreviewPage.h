// The HTML preview page written after an export: the facts of the export go into
// Buttons.dat (section General), then the page template html/preview.tml is filled
// with values from that file and written as the preview page (html/preview.html in
// the program folder, or preview.html in the user's cache folder: Folders.h).
//
// Template syntax: a grave accent (`) opens and closes a placeholder; the text between
// a pair is a key of Buttons.dat, compared without regard to case; its value replaces
// the placeholder, HTML-escaped. A name that starts with "@" is a part the program
// writes from those values: `@Button` the picture in its link (no link when the
// address is empty), `@ImageURL` the picture's file URL (percent-encoded), `@Snippet`
// the HTML to copy, as text, `@Facts` the rows of the facts table that apply to the
// picture's format, `@States` the normal, hover and pressed pictures side by side (when
// the export made them). With a high-density picture the button's picture names it in
// srcset; with states the button swaps its pictures under the pointer, by CSS alone.
// The page is UTF-8 (the template declares it).
//
// The page, the keys in Buttons.dat and the exported picture are one group of files,
// written all or nothing.
#pragma once

#include <climits>
#include <cstdint>
#include <string>

#include "export/ExportOptions.h"
#include "image/Bitmap.h"
#include "base/OutputFiles.h"
#include "scene/Folders.h"

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
  int scale = 1;               // 2 or 3: the export wrote name@2x.ext (@3x) as well
  bool states = false;         // the export wrote name-hover.ext and name-pressed.ext as well
};

// The size in kilobytes with at most one decimal: 3584 bytes "3.5", 4096 "4", 1000 "1".
std::string KilobyteText(uint64_t bytes);
// "#" and six upper-case hexadecimal digits in the order red, green, blue.
std::string HtmlColor(TColor color);

// Writes the export keys into settingsFile (other keys untouched) as a file of the
// group, and gives its new text. Throws std::runtime_error naming the file when it
// cannot be read or written.
std::string WritePreviewData(const std::string& settingsFile, const TExportFacts& facts, TFileGroup& files);
// Fills templateFile from valuesText into pageFile (CRLF line ends), a file of the
// group. Throws std::runtime_error naming the file when the template is missing or
// the page cannot be written.
void ExpandTemplate(const std::string& templateFile, const std::string& valuesText, const std::string& pageFile,
                    TFileGroup& files);
// The expansion itself, on text: values looked up in valuesText read as plain lines,
// each cut at TIniFile::MaxValueLength. Throws std::runtime_error when the page would
// pass 64 MB (a hostile template or values file).
std::string ExpandTemplateText(const std::string& templateText, const std::string& valuesText);

// What an export leaves for the page: the written file, its size in pixels and
// bytes, the Dithering and Colors entries of the options (whatever the format), the
// background colour, the link and the first builtChars characters of the message (what
// the picture shows).
TExportFacts MakeExportFacts(const std::string& imagePath, int32_t width, int32_t height,
                             const TExportOptions& options, uint64_t fileBytes, TColor background,
                             const std::string& targetUrl, const TMessageText& message, int builtChars);
// The first maxChars characters of the message in UTF-8: a code through the code page
// of its charset, any other character as it is.
std::string MessageToUtf8(const TMessageText& message, int maxChars = INT32_MAX);
// The HTML that shows the exported button with its hover and pressed pictures (and
// their high-density ones): a style and the link, naming the pictures beside it.
std::string StatesSnippet(const TExportFacts& facts);
// After an export with " Browser Preview": the keys into the settings file, then the
// page template filled into the preview page, both files of the group (their folders
// made when missing). Throws std::runtime_error naming the file that cannot be read or
// written.
void WritePreviewPage(const TFolders& folders, const TExportFacts& facts, TFileGroup& files);

}  // namespace qz
