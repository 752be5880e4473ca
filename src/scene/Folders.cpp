#include "scene/Folders.h"

#include <filesystem>

#include "base/FileUtil.h"

namespace qz {

namespace {

// The program's own folders under the user's base folders.
constexpr const char* UserFolderName = "quenzar/";
// Exports sit among the user's pictures in a folder of their own.
constexpr const char* PicturesFolderName = "Quenzar/";

// Where an installation beside exeDir keeps its factory files.
std::string ShareFolder(const std::string& exeDir) {
  return std::filesystem::path(WithTrailingSlash(exeDir) + "../share/quenzar/").lexically_normal().string();
}

}  // namespace

TFolderList TFolders::TextureFolders() const { return TFolderList({UserDir + "Textures/", FactoryTexturesDir()}); }

TFolderList TFolders::ShapeFolders() const { return TFolderList({UserShapesDir(), FactoryShapesDir()}); }

TFolders TFolders::InProgramFolder(const std::string& programDir) {
  TFolders f;
  f.FactoryDir = f.SettingsDir = f.UserDir = WithTrailingSlash(programDir);
  f.ImagesDir = f.FactoryDir + "Images/";
  f.PageDir = f.FactoryDir + "html/";
  return f;
}

TFolders TFolders::InstalledAt(const std::string& factoryDir, const TXdgDirs& xdg) {
  TFolders f;
  f.Installed = true;
  f.FactoryDir = WithTrailingSlash(factoryDir);
  f.SettingsDir = xdg.ConfigHome + UserFolderName;
  f.UserDir = xdg.DataHome + UserFolderName;
  f.ImagesDir = xdg.PicturesDir + PicturesFolderName;
  f.PageDir = xdg.CacheHome + UserFolderName;
  return f;
}

TFolders TFolders::ForExecutable(const std::string& exeDir, const TXdgDirs& xdg) {
  const std::string share = ShareFolder(exeDir);
  return DirectoryExists(share) ? InstalledAt(share, xdg) : InProgramFolder(exeDir);
}

TFolders TFolders::ForExecutable(const std::string& exeDir) {
  // A program folder reads no environment: a build runs alike for every user.
  const std::string share = ShareFolder(exeDir);
  return DirectoryExists(share) ? InstalledAt(share, TXdgDirs::FromEnvironment()) : InProgramFolder(exeDir);
}

}  // namespace qz
