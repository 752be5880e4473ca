// Where Quenzar finds its factory files and keeps the user's, in one of two layouts.
//
// Run from its build (or any program folder that holds the factory files), everything
// is in the program folder beside the executable: Buttons.dat, default.dat,
// Default.dat, html/, HTML/, Help/, Templates/, Textures/, BShapes/, Works/, Images/.
//
// Installed (the executable in PREFIX/bin/ with PREFIX/share/quenzar/ beside it, so
// any prefix works, a staging folder too), the factory files are read from
// share/quenzar/, which may be read-only and shared by every user, and each user's
// own things go to their folders (XdgDirs.h):
//
//   Buttons.dat                         $XDG_CONFIG_HOME/quenzar/
//   Works/, Templates/                  $XDG_DATA_HOME/quenzar/
//   own Textures/, BShapes/             $XDG_DATA_HOME/quenzar/ (before the factory's)
//   exported images, by default         the pictures folder + Quenzar/
//   preview.html                        $XDG_CACHE_HOME/quenzar/
//
//   TFolders folders = TFolders::ForExecutable(ExecutableFolder());
//   session.Load(folders.FactoryDir + "default.dat");
//
// Every folder ends with "/". Nothing here creates a folder: those who write into one
// make it first.
#pragma once

#include <string>

#include "base/FolderList.h"
#include "base/XdgDirs.h"

namespace qz {

struct TFolders {
  bool Installed = false;
  std::string FactoryDir;   // the factory files, read only
  std::string SettingsDir;  // Buttons.dat
  std::string UserDir;      // the user's Works/, Templates/, Textures/, BShapes/
  std::string ImagesDir;    // where an export is proposed
  std::string PageDir;      // where the preview page is written

  std::string SettingsFile() const { return SettingsDir + "Buttons.dat"; }
  std::string PageTemplate() const { return FactoryDir + "html/preview.tml"; }
  std::string PreviewPage() const { return PageDir + "preview.html"; }
  std::string DefaultWorksDir() const { return UserDir + "Works/"; }
  std::string DefaultTemplatesDir() const { return UserDir + "Templates/"; }
  std::string FactoryTemplatesDir() const { return FactoryDir + "Templates/"; }
  std::string FactoryTexturesDir() const { return FactoryDir + "Textures/"; }
  std::string UserShapesDir() const { return UserDir + "BShapes/"; }
  std::string FactoryShapesDir() const { return FactoryDir + "BShapes/"; }
  // The user's folder first (one folder when both are the program folder's).
  TFolderList TextureFolders() const;
  TFolderList ShapeFolders() const;

  // Everything in programDir (with or without its "/").
  static TFolders InProgramFolder(const std::string& programDir);
  // The factory files in factoryDir, the user's things where xdg puts them.
  static TFolders InstalledAt(const std::string& factoryDir, const TXdgDirs& xdg);
  // The layout of an executable in exeDir: installed when exeDir/../share/quenzar/
  // is a folder, else the program folder.
  static TFolders ForExecutable(const std::string& exeDir, const TXdgDirs& xdg);
  // The same with the user's folders from the process's environment.
  static TFolders ForExecutable(const std::string& exeDir);
};

}  // namespace qz
