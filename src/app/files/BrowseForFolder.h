// BrowseForFolder: the folder chooser with a prompt as its title and a folder
// preselected. On OK the chosen folder's path (no trailing "/" added) is stored in
// folder and the result is true; on Cancel folder is left as it was.
//
//   std::string dir = "/home/me/Works";
//   if (BrowseForFolder("Select folder with saved works (*.qznr)", dir, this)) ...
#pragma once

#include <QString>
#include <string>

class QWidget;

namespace qz {

bool BrowseForFolder(const QString& prompt, std::string& folder, QWidget* owner);

}  // namespace qz
