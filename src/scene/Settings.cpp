#include "scene/Settings.h"

#include <unistd.h>

#include <filesystem>
#include <stdexcept>
#include <system_error>

#include "base/IniFile.h"

namespace qz {

namespace {

constexpr const char* Section = "General";

// A key that is missing, or present with an empty value, gives the default folder:
// an empty folder name could neither be created nor listed.
std::string ReadFolder(const TIniFile& ini, const char* key, const std::string& def) {
  std::string v = ini.ReadString(Section, key, "");
  return v.empty() ? def : v;
}

}  // namespace

bool ForceDirectories(const std::string& path) {
  if (path.empty()) return false;
  std::error_code ec;
  std::filesystem::create_directories(path, ec);
  return std::filesystem::is_directory(path, ec);
}

void TSettings::Read(const TFolders& folders) {
  Folders = folders;
  ReadKeys(TIniFile(SettingsPath()));
  if (!CurPath.empty() && ::chdir(CurPath.c_str()) != 0) {
    // A folder that no longer exists leaves the current directory as it was.
  }
  ForceDirectories(TemplatesDir);
  ForceDirectories(WorksDir);
}

void TSettings::ReadKeys(const TIniFile& ini) {
  CurPath = ini.ReadString(Section, "CurPath", "");
  JobFile = ini.ReadString(Section, "JobFile", "");
  TextureDir = ini.ReadString(Section, "TextureDir", "");
  TemplateFile = ini.ReadString(Section, "TemplateFile", "");
  TemplatesDir = ReadFolder(ini, "Templates", Folders.DefaultTemplatesDir());
  WorksDir = ReadFolder(ini, "Saves", Folders.DefaultWorksDir());
  TexturesDir = Folders.FactoryTexturesDir();
  if (JobFile.empty()) JobFile = "Untitled.qznr";
  Recent.Read(ini);
}

void TSettings::Write() {
  // Installed, the first exit makes the user's settings folder.
  if (Folders.Installed) ForceDirectories(Folders.SettingsDir);
  TIniFile ini(SettingsPath());
  // Rewriting a file that could not be read would lose the export's keys.
  if (!ini.ReadError().empty()) throw std::runtime_error(ini.ReadError());
  char cwd[4096];
  CurPath = ::getcwd(cwd, sizeof cwd) ? cwd : CurPath;
  ini.WriteString(Section, "CurPath", CurPath);
  ini.WriteString(Section, "JobFile", JobFile);
  ini.WriteString(Section, "TextureDir", TextureDir);
  ini.WriteString(Section, "Templates", TemplatesDir);
  ini.WriteString(Section, "Saves", WorksDir);
  ini.WriteString(Section, "TemplateFile", TemplateFile);
  Recent.Write(ini);
  ini.Flush();
}

}  // namespace qz
