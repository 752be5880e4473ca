#include "base/IniFile.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "support/TempDir.h"

namespace qz {
namespace {

using test::ReadText;
using test::TTempDir;
using test::WriteText;

TEST(IniFile, ReadsWindowsStyleText) {
  TTempDir dir;
  WriteText(dir.File("a.ini"),
            "; leading comment\r\n[General]\r\n  Version =  1.3.5  \r\nBlank= \n"
            "[letter 1]\nChar=Q\n[LETTER 1]\nChar=second section of the same name is not read\n"
            "[Bytes]\nV=\xe9\xff\x01\n");
  TIniFile ini(dir.File("a.ini"));
  EXPECT_EQ(ini.ReadString("general", "VERSION", "?"), "1.3.5");
  EXPECT_EQ(ini.ReadString("General", "Blank", "?"), "");  // present, blank
  EXPECT_EQ(ini.ReadString("General", "Missing", "dflt"), "dflt");
  EXPECT_EQ(ini.ReadString("Letter 1", "char", "?"), "Q");
  EXPECT_EQ(ini.ReadString("Bytes", "V", ""), "\xe9\xff\x01");
  EXPECT_TRUE(ini.ReadError().empty());
}

TEST(IniFile, WritesInPlaceAppendsKeysAndSectionsAndUsesCrLf) {
  TTempDir dir;
  const std::string path = dir.File("b.ini");
  WriteText(path, "[A]\nx=1\ny=2\n\n[B]\nz=3\n");
  TIniFile ini(path);
  ini.WriteString("a", "X", "10");   // replaced in place, key spelling kept
  ini.WriteString("A", "new", "n");  // after the last line of A, before the blank
  ini.WriteString("C", "k", "v");    // new section at the end
  ini.Flush();
  EXPECT_EQ(ReadText(path), "[A]\r\nx=10\r\ny=2\r\nnew=n\r\n\r\n[B]\r\nz=3\r\n[C]\r\nk=v\r\n");
  int files = 0;  // no temporary file is left behind
  for (auto& e : std::filesystem::directory_iterator(dir.Path())) files += e.is_regular_file();
  EXPECT_EQ(files, 1);
}

TEST(IniFile, ValuesAreCutLineEndsCannotSplitKeysAndSectionsEraseWhole) {
  TIniFile ini;
  ini.WriteString("S", "long", std::string(5000, 'a'));
  ini.WriteString("S", "two", "line1\nNLetters=99");
  EXPECT_EQ(ini.ReadString("S", "long", "").size(), TIniFile::MaxValueLength);
  EXPECT_EQ(ini.ReadString("S", "NLetters", "none"), "none");
  EXPECT_NE(ini.Text().find("two=line1 NLetters=99\r\n"), std::string::npos);
  ini.WriteString("Icon", "1", "FFD8");
  ini.WriteString("ICON", "2", "FFD9");
  ini.EraseSection("icon");
  EXPECT_FALSE(ini.HasSection("Icon"));
  EXPECT_EQ(ini.Text().find("FFD"), std::string::npos);
}

TEST(IniFile, UnwritableTargetsRaiseAnErrorNamingThePathAndKeepTheOldFile) {
  TTempDir dir;
  TIniFile missingFolder(dir.File("no/such/folder/x.ini"));
  missingFolder.WriteString("A", "k", "v");
  try {
    missingFolder.Flush();
    FAIL() << "a missing folder must raise";
  } catch (const std::runtime_error& e) {
    EXPECT_NE(std::string(e.what()).find("no/such/folder/x.ini"), std::string::npos);
  }
  const std::string path = dir.File("ro.ini");
  WriteText(path, "[A]\r\nk=old\r\n");
  ::chmod(path.c_str(), 0444);
  TIniFile readOnly(path);
  readOnly.WriteString("A", "k", "new");
  EXPECT_THROW(readOnly.Flush(), std::runtime_error);
  EXPECT_EQ(ReadText(path), "[A]\r\nk=old\r\n");
}

// Found by fuzzing: a lone CR inside a line was kept in the value, and the value
// could not be written back as it was read.
TEST(IniFile, ALoneCarriageReturnEndsALine) {
  TTempDir dir;
  const std::string path = dir.File("cr.ini");
  WriteText(path, "[General]\rTemplates=/x/\rBgColor=#FFFFFF\r\nLast=1");
  TIniFile ini(path);
  EXPECT_EQ(ini.ReadString("General", "Templates", "?"), "/x/");
  EXPECT_EQ(ini.ReadString("General", "BgColor", "?"), "#FFFFFF");
  EXPECT_EQ(ini.ReadString("General", "Last", "?"), "1");
  ini.WriteString("General", "Templates", ini.ReadString("General", "Templates", ""));
  EXPECT_EQ(ini.Text(), "[General]\r\nTemplates=/x/\r\nBgColor=#FFFFFF\r\nLast=1\r\n");
}

}  // namespace
}  // namespace qz
