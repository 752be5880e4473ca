#include "base/FolderList.h"

#include <algorithm>

#include "base/FileUtil.h"

namespace qz {

TFolderList::TFolderList(std::string folder) : TFolderList(std::vector<std::string>{std::move(folder)}) {}

TFolderList::TFolderList(const std::vector<std::string>& folders) {
  for (const std::string& f : folders)
    if (!f.empty() && std::find(folders_.begin(), folders_.end(), f) == folders_.end()) folders_.push_back(f);
}

std::optional<std::string> TFolderList::Find(const std::string& name) const {
  for (const std::string& folder : folders_)
    if (auto found = FindFileNoCase(folder, name)) return found;
  return std::nullopt;
}

std::string TFolderList::Text() const {
  std::string text;
  for (const std::string& f : folders_) text += (text.empty() ? "" : " or ") + f;
  return text;
}

}  // namespace qz
