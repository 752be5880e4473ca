#include "app/files/SaveDialog.h"

#include <QFileDialog>
#include <QFileInfo>

#include "app/bridge/QtBridge.h"
#include "app/dialogs/DialogMessages.h"
#include "app/files/SafeFileDialog.h"

namespace qz {

std::optional<TSaveChoice> RunSaveDialog(QWidget* parent, const TSaveRequest& request) {
  QFileDialog dialog(parent, request.Title);
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setFileMode(QFileDialog::AnyFile);
  dialog.setOption(QFileDialog::DontConfirmOverwrite);  // asked below, about the final name
  UsePlainIcons(dialog);
  dialog.setNameFilters(request.Filters);
  if (request.FilterIndex >= 1 && request.FilterIndex <= request.Filters.size())
    dialog.selectNameFilter(request.Filters[request.FilterIndex - 1]);
  const QFileInfo proposed(PathToQt(request.ProposedPath));
  dialog.setDirectory(proposed.absolutePath());
  dialog.selectFile(proposed.fileName());
  while (dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty()) {
    TSaveChoice choice;
    choice.FilterIndex = static_cast<int>(request.Filters.indexOf(dialog.selectedNameFilter())) + 1;
    if (choice.FilterIndex < 1) choice.FilterIndex = 1;
    choice.Path = request.FinalName(PathFromQt(dialog.selectedFiles().first()), choice.FilterIndex);
    const QString finalPath = PathToQt(choice.Path);
    if (!QFileInfo::exists(finalPath) || AskReplaceFile(&dialog, finalPath)) return choice;
    dialog.selectFile(QFileInfo(finalPath).fileName());
  }
  return std::nullopt;
}

}  // namespace qz
