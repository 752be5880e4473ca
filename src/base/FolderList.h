// Folders searched in order for a file a design names (a texture, a shape file): the
// user's own folder first, then the factory's, so the user's file wins over a factory
// file of the same name.
//
//   TFolderList shapes({userDir + "BShapes/", factoryDir + "BShapes/"});
//   if (auto path = shapes.Find("Ribbon.qzkh")) ...
//
// A folder named twice is searched once; a folder that does not exist holds nothing.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace qz {

class TFolderList {
 public:
  TFolderList() = default;
  // One folder alone.
  explicit TFolderList(std::string folder);
  TFolderList(const std::vector<std::string>& folders);

  const std::vector<std::string>& Folders() const { return folders_; }

  // The first folder holding name (matched exactly first, then without regard to
  // case, within each folder before the next one is tried); nothing when none does.
  std::optional<std::string> Find(const std::string& name) const;

  // The folders, joined by " or " for a message.
  std::string Text() const;

 private:
  std::vector<std::string> folders_;
};

}  // namespace qz
