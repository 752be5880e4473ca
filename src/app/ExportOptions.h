// The choices of the "Export 3D Button " page as plain data: what the export needs
// (format, GIF colour bits, palette kind, dithering, transparency, JPEG quality,
// browser preview) and the entry texts the preview page reports. Also the Colors
// list, the presets, and the naming rules of the save dialog.
#pragma once

#include <QStringList>
#include <array>
#include <optional>
#include <string>

#include "export/ExportOptions.h"

class QWidget;

namespace qz {

// TExportFormat, TExportOptions and the Colors list are the export's own
// (export/ExportOptions.h), so the page hands the export exactly what it reads.

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
