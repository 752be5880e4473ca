// Fuzz target: Buttons.dat, the settings file, read at start and rewritten at exit.
//
// Whatever the bytes, reading the six keys and the recent works ends without a crash,
// and the rewrite keeps the file whole: the keys it writes read back as written
// (CurPath as the current directory), the recent works as the same list, and every
// other key of the file (the export's, those of other sections) still reads as before.
#include <strings.h>
#include <unistd.h>

#include <cstdint>
#include <string>

#include "FuzzKit.h"
#include "base/IniFile.h"
#include "scene/Settings.h"

namespace {

using namespace qz;

bool WrittenBySettings(const std::string& section, const std::string& key) {
  if (::strcasecmp(section.c_str(), TRecentFiles::Section) == 0) return true;  // written anew
  if (::strcasecmp(section.c_str(), "General") != 0) return false;
  for (const char* k : {"CurPath", "JobFile", "TextureDir", "Templates", "Saves", "TemplateFile"})
    if (::strcasecmp(key.c_str(), k) == 0) return true;
  return false;
}

void Expect(const std::string& what, const std::string& expected, const std::string& actual) {
  if (expected != actual) fuzz::Broken(what, expected, actual);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string path = fuzz::WriteScratch("Buttons.dat", data, size);
  const TIniFile before(path);
  TSettings settings;
  settings.Folders = TFolders::InProgramFolder(fuzz::ScratchDir());
  settings.ReadKeys(before);
  settings.Write();

  const TIniFile after(path);
  TSettings reread;
  reread.Folders = settings.Folders;
  reread.ReadKeys(after);
  char cwd[4096];
  Expect("CurPath after a rewrite", ::getcwd(cwd, sizeof cwd) ? cwd : "", reread.CurPath);
  Expect("JobFile after a rewrite", settings.JobFile, reread.JobFile);
  Expect("TextureDir after a rewrite", settings.TextureDir, reread.TextureDir);
  Expect("Templates after a rewrite", settings.TemplatesDir, reread.TemplatesDir);
  Expect("Saves after a rewrite", settings.WorksDir, reread.WorksDir);
  Expect("TemplateFile after a rewrite", settings.TemplateFile, reread.TemplateFile);
  std::string listed, relisted;
  for (const std::string& f : settings.Recent.Files()) listed += f + "\n";
  for (const std::string& f : reread.Recent.Files()) relisted += f + "\n";
  Expect("recent works after a rewrite", listed, relisted);

  for (const auto& [section, kv] : before.Entries()) {
    if (WrittenBySettings(section, kv.first)) continue;
    Expect("[" + section + "] " + kv.first + " after a rewrite", before.ReadString(section, kv.first, "\x01missing"),
           after.ReadString(section, kv.first, "\x01missing"));
  }
  return 0;
}
