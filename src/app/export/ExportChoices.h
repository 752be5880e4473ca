// The "Export 3D Button " page's own choices beyond the export's options: the
// presets of its simple options, its GIF compression and high-density lists, and the
// save dialog of an export. TExportFormat, TExportOptions, the Colors list and the
// naming of exported files are the export's own (export/ExportOptions.h), so the page
// hands the export exactly what it reads.
#pragma once

#include <array>
#include <optional>
#include <string>

#include "export/ExportOptions.h"

class QWidget;

namespace qz {

// The three simple options of each page; the last is the start value.
struct TPreset {
  const char* Text;
  int Value;  // GIF: the Colors entry's index; JPEG: the quality
};
inline constexpr std::array<TPreset, 3> GifPresets{{
    {" Fast download", 1}, {" Medium quality", 3}, {" High quality", 5}}};
inline constexpr std::array<TPreset, 3> JpegPresets{{
    {" Fast download", 30}, {" Medium quality", 60}, {" High quality", 90}}};

// The GIF page's "Compression" list; the first is the start value.
struct TGifCompressionEntry {
  const char* Text;
  TGifCompression Compression;
};
inline constexpr std::array<TGifCompressionEntry, 2> GifCompressionEntries{{
    {" LZW", TGifCompression::Lzw}, {" Run-length", TGifCompression::RunLength}}};

// The " High density" list: entry i also writes the pictures of scale i + 1 (the
// first, scale 1, writes the plain picture alone).
inline constexpr std::array<const char*, MaxExportScale> ScaleEntries{" 1x only", " 1x and 2x", " 1x and 3x"};

// The save dialog's entry (ExportFilters(), from 1) to its format: 1 GIF, 2 JPEG,
// 4 PNG, 5 WebP, anything else BMP.
TExportFormat FormatFromFilterIndex(int index);

struct TExportTarget {
  std::string Path;
  TExportFormat Format;
};

// The save dialog of an export ("Save 3D Button"): starts in the folders' images
// folder (created when missing) with DefaultImageName and the format's entry; the entry
// chosen decides the format and replaces the typed extension. Nothing on Cancel.
std::optional<TExportTarget> AskExportFile(QWidget* parent, const TFolders& folders,
                                           const TMessageText& message, TExportFormat format);

}  // namespace qz
