#include "app/ExportOptions.h"

#include "app/SaveDialog.h"
#include "scene/Settings.h"

namespace qz {

const char* ExportExtension(TExportFormat format) {
  switch (format) {
    case TExportFormat::Gif: return ".gif";
    case TExportFormat::Jpeg: return ".jpg";
    case TExportFormat::Png: return ".png";
    case TExportFormat::Bmp: break;
  }
  return ".bmp";
}

const QStringList& ExportFilters() {
  static const QStringList filters{"GIF Image (*.gif)", "JPEG Image (*.jpg)",
                                   "Bitmap Image (*.bmp)", "PNG Image (*.png)"};
  return filters;
}

TExportFormat FormatFromFilterIndex(int index) {
  switch (index) {
    case 1: return TExportFormat::Gif;
    case 2: return TExportFormat::Jpeg;
    case 4: return TExportFormat::Png;
    default: return TExportFormat::Bmp;
  }
}

std::string DefaultExportName(const std::string& message, TExportFormat format) {
  std::string name;
  for (char c : message) {
    const auto code = static_cast<unsigned char>(c);
    if (code >= 65 && code <= 126) name += c;
  }
  if (name.empty()) name = "Untitled";
  return ChangeFileExt(name, ExportExtension(format));
}

std::optional<TExportTarget> AskExportFile(QWidget* parent, const std::string& programDir,
                                           const std::string& message, TExportFormat format) {
  const std::string folder = programDir + "Images/";
  ForceDirectories(folder);
  TSaveRequest request;
  request.Title = "Save 3D Button";
  request.Filters = ExportFilters();
  request.FilterIndex = static_cast<int>(format);
  request.ProposedPath = folder + DefaultExportName(message, format);
  request.FinalName = [](const std::string& typed, int index) {
    return ChangeFileExt(typed, ExportExtension(FormatFromFilterIndex(index)));
  };
  const auto choice = RunSaveDialog(parent, request);
  if (!choice) return std::nullopt;
  return TExportTarget{choice->Path, FormatFromFilterIndex(choice->FilterIndex)};
}

}  // namespace qz
