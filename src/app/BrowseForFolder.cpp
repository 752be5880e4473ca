#include "app/BrowseForFolder.h"

#include <QFileDialog>

#include "app/QtBridge.h"

namespace qz {

bool BrowseForFolder(const QString& prompt, std::string& folder, QWidget* owner) {
  const QString chosen = QFileDialog::getExistingDirectory(owner, prompt, PathToQt(folder));
  if (chosen.isEmpty()) return false;
  folder = PathFromQt(chosen);
  return true;
}

}  // namespace qz
