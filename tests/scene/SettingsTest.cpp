#include "scene/Settings.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include "base/FileUtil.h"
#include "base/IniFile.h"
#include "support/TempDir.h"

namespace qz {
namespace {

using test::TTempDir;
using test::WriteText;

std::string CurrentDir() {
  char now[4096];
  return ::getcwd(now, sizeof now) ? std::string(now) : std::string();
}

// Settings change the current directory; every test puts it back.
class SettingsTest : public ::testing::Test {
 protected:
  void TearDown() override { ASSERT_EQ(::chdir(cwd_.c_str()), 0); }
  const std::string cwd_ = CurrentDir();
  TTempDir dir;
};

TEST_F(SettingsTest, FirstRunCreatesTheFoldersAndTheFileOnExit) {
  TSettings s;
  s.Read(dir.Path());
  EXPECT_EQ(s.JobFile, "Untitled.qznr");
  EXPECT_EQ(s.TexturesDir, dir.Path() + "Textures/");
  EXPECT_TRUE(DirectoryExists(s.WorksDir));
  EXPECT_TRUE(DirectoryExists(s.TemplatesDir));
  s.Write();
  TIniFile ini(dir.File("Buttons.dat"));
  EXPECT_EQ(ini.ReadString("General", "JobFile", ""), "Untitled.qznr");
  EXPECT_EQ(ini.ReadString("General", "Saves", ""), dir.Path() + "Works/");
  EXPECT_EQ(ini.ReadString("General", "CurPath", ""), cwd_);
  const std::string text = test::ReadText(dir.File("Buttons.dat"));
  EXPECT_LT(text.find("CurPath="), text.find("JobFile="));
  EXPECT_LT(text.find("Saves="), text.find("TemplateFile="));
}

TEST_F(SettingsTest, RoundTripKeepsTheExportKeysAndCreatesNestedFolders) {
  const std::string nested = dir.Path() + "a/b/c/";
  WriteText(dir.File("Buttons.dat"), "[General]\r\nImageName=button.gif\r\nSaves=" + nested +
                                         "\r\nTemplates=\r\nJobFile=/x/y.qznr\r\nTextureDir=/tex/\r\nCurPath=" +
                                         dir.Path() + "\r\nLinkAddress=http://a\r\n");
  TSettings s;
  s.Read(dir.Path());
  EXPECT_EQ(s.WorksDir, nested);
  EXPECT_TRUE(DirectoryExists(nested));
  EXPECT_EQ(s.TemplatesDir, dir.Path() + "Templates/");  // present but empty: the default folder
  EXPECT_EQ(s.JobFile, "/x/y.qznr");
  EXPECT_EQ(CurrentDir() + "/", dir.Path());  // CurPath became the current directory
  s.TemplateFile = "t.qzpl";
  s.Write();
  TIniFile ini(dir.File("Buttons.dat"));
  for (auto [key, value] : {std::pair{"ImageName", std::string("button.gif")}, {"LinkAddress", "http://a"},
                            {"TextureDir", "/tex/"}, {"TemplateFile", "t.qzpl"}, {"Templates", dir.Path() + "Templates/"}})
    EXPECT_EQ(ini.ReadString("General", key, ""), value) << key;
}

TEST_F(SettingsTest, RecentWorksKeepTheNewestTenOnceEachAndSurviveARestart) {
  WriteText(dir.File("Buttons.dat"), "[Recent Works]\r\nFile1=/w/a.qznr\r\nFile2=\r\nFile3=/w/a.qznr\r\n"
                                     "File4=/t/b.qzpl\r\nFile11=/w/beyond.qznr\r\n");
  TSettings s;
  s.Read(dir.Path());
  EXPECT_EQ(s.Recent.Files(), (std::vector<std::string>{"/w/a.qznr", "/t/b.qzpl"}));  // empty and repeated left out
  s.Recent.Add("/t/b.qzpl");  // to the top, once
  EXPECT_EQ(s.Recent.Files(), (std::vector<std::string>{"/t/b.qzpl", "/w/a.qznr"}));
  for (int i = 0; i < 12; ++i) s.Recent.Add("/w/" + std::to_string(i) + ".qznr");
  ASSERT_EQ(s.Recent.Files().size(), TRecentFiles::MaxFiles);
  EXPECT_EQ(s.Recent.Files().front(), "/w/11.qznr");
  EXPECT_EQ(s.Recent.Files().back(), "/w/2.qznr");
  EXPECT_TRUE(s.Recent.Remove("/w/5.qznr"));
  EXPECT_FALSE(s.Recent.Remove("/w/5.qznr"));
  s.Write();
  TSettings next;
  next.Read(dir.Path());
  EXPECT_EQ(next.Recent.Files(), s.Recent.Files());
  // The section is the list alone: nothing of the old one stays behind to come back.
  const TIniFile ini(dir.File("Buttons.dat"));
  EXPECT_FALSE(ini.HasKey(TRecentFiles::Section, "File10"));
  EXPECT_FALSE(ini.HasKey(TRecentFiles::Section, "File11"));
}

// Found by fuzzing: a CR alone in the middle of a line of Buttons.dat went into the
// Templates value, and the rewrite at exit changed it (and swallowed the export key
// behind it).
TEST_F(SettingsTest, ALoneCarriageReturnSurvivesTheRewrite) {
  WriteText(dir.File("Buttons.dat"),
            "[General]\r\nJobFile=a.qznr\r\nTemplates=/opt/quenzar/Templates/\rBgColor=#FFFFFF\r\n");
  TSettings s;
  s.Folders = TFolders::InProgramFolder(dir.Path());
  s.ReadKeys(TIniFile(s.SettingsPath()));
  EXPECT_EQ(s.TemplatesDir, "/opt/quenzar/Templates/");
  s.Write();
  TSettings again;
  again.Folders = TFolders::InProgramFolder(dir.Path());
  const TIniFile ini(again.SettingsPath());
  again.ReadKeys(ini);
  EXPECT_EQ(again.TemplatesDir, s.TemplatesDir);
  EXPECT_EQ(ini.ReadString("General", "BgColor", ""), "#FFFFFF");
}

TEST_F(SettingsTest, HostileFolderValuesAreTriedAndLeftAlone) {
  WriteText(dir.File("a file"), "x");
  const std::string tooLongName = dir.Path() + std::string(300, 'n') + "/";  // beyond a name's 255 bytes
  WriteText(dir.File("Buttons.dat"), "[General]\nCurPath=" + dir.File("a file") + "\nSaves=" + tooLongName +
                                         "\nTemplates=" + dir.File("a file") + "/T/\nJobFile=\n");
  // Reading the keys alone touches nothing on disk.
  TSettings keys;
  keys.Folders = TFolders::InProgramFolder(dir.Path());
  keys.ReadKeys(TIniFile(dir.File("Buttons.dat")));
  EXPECT_EQ(keys.WorksDir, tooLongName);
  EXPECT_EQ(keys.JobFile, "Untitled.qznr");
  EXPECT_EQ(keys.TexturesDir, dir.Path() + "Textures/");

  TSettings s;
  s.Read(dir.Path());
  EXPECT_FALSE(DirectoryExists(s.WorksDir));
  EXPECT_FALSE(DirectoryExists(s.TemplatesDir));
  EXPECT_EQ(CurrentDir(), cwd_);  // a file is no folder to change to
  WriteText(dir.File("Buttons.dat"), "[General]\nCurPath=/no/such/dir\n");
  s.Read(dir.Path());
  EXPECT_EQ(CurrentDir(), cwd_);
  // Settings that cannot be written are an error, not a crash.
  s.Folders = TFolders::InProgramFolder(dir.Path() + "gone/");
  EXPECT_THROW(s.Write(), std::runtime_error);
}

}  // namespace
}  // namespace qz
