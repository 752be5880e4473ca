// The program's folders and the settings kept between runs in Buttons.dat (section
// General), in the program folder or, installed, in the user's settings folder
// (Folders.h). Every folder path ends with "/".
//
//   TSettings s;
//   s.Read(TFolders::ForExecutable(ExecutableFolder()));   // at start: works/templates created
//   ...
//   s.Write();                            // at exit; throws when Buttons.dat cannot be written
//
// Other keys of Buttons.dat (those the export writes) are left as they are.
#pragma once

#include <string>

#include "scene/Folders.h"
#include "scene/RecentFiles.h"

namespace qz {

class TIniFile;

class TSettings {
 public:
  TFolders Folders;          // set first, never changed
  std::string WorksDir;      // key Saves
  std::string TemplatesDir;  // key Templates
  std::string TexturesDir;   // always the factory Textures/ folder

  std::string CurPath;       // the current directory, restored at start
  std::string JobFile;       // the work last saved or opened ("Untitled.qznr")
  std::string TextureDir;    // kept as read
  std::string TemplateFile;  // the template last used
  TRecentFiles Recent;       // works and templates opened or saved last (own section)

  std::string SettingsPath() const { return Folders.SettingsFile(); }

  // Reads the six keys with their defaults and the recent works, sets the folders,
  // changes to CurPath when it names a folder, and creates the works and templates
  // folders with their parents. Nothing here fails: an unreadable file reads as defaults and a folder
  // that cannot be created stays missing (the dialogs report it when they list it).
  void Read(const TFolders& folders);
  // The same with everything in programDir.
  void Read(const std::string& programDir) { Read(TFolders::InProgramFolder(programDir)); }
  // The reading part of Read alone: the six keys with their defaults and the recent
  // works from an open settings file, and TexturesDir, from Folders as set; no folder is changed or
  // created (so any file can be read here without touching the disk).
  void ReadKeys(const TIniFile& ini);
  // Writes CurPath (the current directory now), JobFile, TextureDir, Templates,
  // Saves and TemplateFile, and the recent works (their section anew), making the
  // settings folder first when it is missing.
  // Throws std::runtime_error naming the file on failure.
  void Write();
};

// Creates a folder with all missing parents; false when it cannot be made.
bool ForceDirectories(const std::string& path);

}  // namespace qz
