#include "scene/RecentFiles.h"

#include <algorithm>

#include "base/IniFile.h"

namespace qz {

namespace {

std::string Key(size_t index0) { return "File" + std::to_string(index0 + 1); }

}  // namespace

void TRecentFiles::Add(const std::string& path) {
  if (path.empty()) return;
  Remove(path);
  files_.insert(files_.begin(), path);
  if (files_.size() > MaxFiles) files_.resize(MaxFiles);
}

bool TRecentFiles::Remove(const std::string& path) {
  const auto it = std::find(files_.begin(), files_.end(), path);
  if (it == files_.end()) return false;
  files_.erase(it);
  return true;
}

void TRecentFiles::Read(const TIniFile& ini) {
  files_.clear();
  for (size_t i = 0; i < MaxFiles; ++i) {
    const std::string path = ini.ReadString(Section, Key(i), "");
    if (!path.empty() && std::find(files_.begin(), files_.end(), path) == files_.end()) files_.push_back(path);
  }
}

void TRecentFiles::Write(TIniFile& ini) const {
  ini.EraseSection(Section);
  for (size_t i = 0; i < files_.size(); ++i) ini.WriteString(Section, Key(i), files_[i]);
}

}  // namespace qz
