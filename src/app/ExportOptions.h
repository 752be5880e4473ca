// The choices of the "Export 3D Button " page as plain data: what the export needs
// (format, GIF colour bits, palette kind, dithering, transparency, JPEG quality,
// browser preview) and the entry texts the preview page reports. Also the Colors
// list, the presets, and the naming rules of the save dialog.
#pragma once

#include <QStringList>
#include <array>
#include <optional>
#include <string>

#include "gif/Dither.h"
#include "gif/PaletteKind.h"

class QWidget;

namespace qz {

// The formats in the order of the page's sub-pages and of the save dialog's filter.
enum class TExportFormat { Gif = 1, Jpeg = 2, Bmp = 3, Png = 4 };

struct TExportOptions {
  TExportFormat Format = TExportFormat::Gif;
  int ColorBits = 8;                                   // Colors index + 3: 3 (" 8") .. 8 (" 256")
  TPaletteKind PaletteKind = TPaletteKind::Optimized;  // code 7
  TDitherMethod Dithering = TDitherMethod::None;       // code 0
  bool Transparency = true;
  int JpegQuality = 90;                                // 1..100
  bool BrowserPreview = true;
  std::string Diffusion = " None";      // the Dithering entry's text, for the preview page
  std::string NumberOfColors = " 256";  // the Colors entry's text, for the preview page
};

// The Palette and Dithering lists are the colour reduction's own tables
// (PaletteKinds(), DitherMethods()), in their order, with their entry texts.
inline constexpr std::array<const char*, 6> ColorEntries{" 8", " 16", " 32", " 64", " 128", " 256"};

// The three simple options of each page; the last is the start value.
struct TPreset {
  const char* Text;
  int Value;  // GIF: the Colors entry's index; JPEG: the quality
};
inline constexpr std::array<TPreset, 3> GifPresets{{
    {" Fast download", 1}, {" Medium quality", 3}, {" High quality", 5}}};
inline constexpr std::array<TPreset, 3> JpegPresets{{
    {" Fast download", 30}, {" Medium quality", 60}, {" High quality", 90}}};

// ".gif", ".jpg", ".bmp", ".png".
const char* ExportExtension(TExportFormat format);
// The save dialog's entries: "GIF Image (*.gif)", "JPEG Image (*.jpg)",
// "Bitmap Image (*.bmp)", "PNG Image (*.png)".
const QStringList& ExportFilters();
// Entry 1 GIF, 2 JPEG, 4 PNG, anything else BMP.
TExportFormat FormatFromFilterIndex(int index);

// The name proposed for an export: the message's characters of codes 65..126 in
// order (letters and the signs [\]^_` and {|}~), everything else dropped, then the
// format's extension. "Click Here 2!" -> "ClickHere.gif". When nothing is left the
// name is "Untitled" (a bare ".gif" would be a hidden file here).
std::string DefaultExportName(const std::string& message, TExportFormat format);

struct TExportTarget {
  std::string Path;
  TExportFormat Format;
};

// The save dialog of an export ("Save 3D Button"): starts in ProgramDir + "Images/"
// (created when missing) with the default name and the format's entry; the entry
// chosen decides the format and replaces the typed extension. Nothing on Cancel.
std::optional<TExportTarget> AskExportFile(QWidget* parent, const std::string& programDir,
                                           const std::string& message, TExportFormat format);

}  // namespace qz
