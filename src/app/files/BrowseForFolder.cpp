#include "app/files/BrowseForFolder.h"

#include <QFileDialog>

#include "app/bridge/QtBridge.h"
#include "app/files/SafeFileDialog.h"

namespace qz {

bool BrowseForFolder(const QString& prompt, std::string& folder, QWidget* owner) {
  QFileDialog dialog(owner, prompt, PathToQt(folder));
  dialog.setFileMode(QFileDialog::Directory);
  dialog.setOption(QFileDialog::ShowDirsOnly);
  UsePlainIcons(dialog);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return false;
  folder = PathFromQt(dialog.selectedFiles().first());
  return true;
}

}  // namespace qz
