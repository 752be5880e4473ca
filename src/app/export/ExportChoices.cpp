#include "app/export/ExportChoices.h"

#include "app/files/FileFilter.h"
#include "app/files/SaveDialog.h"

namespace qz {

TExportFormat FormatFromFilterIndex(int index) {
  switch (index) {
    case 1: return TExportFormat::Gif;
    case 2: return TExportFormat::Jpeg;
    case 4: return TExportFormat::Png;
    case 5: return TExportFormat::WebP;
    default: return TExportFormat::Bmp;
  }
}

std::optional<TExportTarget> AskExportFile(QWidget* parent, const TFolders& folders,
                                           const TMessageText& message, TExportFormat format) {
  TSaveRequest request;
  request.Title = "Save 3D Button";
  request.Filters = ExportFilters();
  request.FilterIndex = static_cast<int>(format);
  request.ProposedPath = ExportImagesFolder(folders) + DefaultImageName(message, format);
  request.FinalName = [](const std::string& typed, int index) {
    return ReplaceFileExt(typed, FormatExtension(FormatFromFilterIndex(index)));
  };
  const auto choice = RunSaveDialog(parent, request);
  if (!choice) return std::nullopt;
  return TExportTarget{choice->Path, FormatFromFilterIndex(choice->FilterIndex)};
}

}  // namespace qz
