#include "base/XdgDirs.h"

#include <gtest/gtest.h>

#include <map>

#include "base/FolderList.h"
#include "support/TempDir.h"

namespace qz {
namespace {

using test::TTempDir;

// An environment of the given variables alone.
TGetEnv Env(const std::map<std::string, std::string>& vars) {
  return [vars](const char* name) -> const char* {
    const auto it = vars.find(name);
    return it == vars.end() ? nullptr : it->second.c_str();
  };
}

TEST(XdgDirs, DefaultsUnderHomeAndOnlyAbsoluteVariablesCount) {
  TTempDir dir;
  const std::string home = dir.Path() + "home";
  TXdgDirs d = TXdgDirs::FromEnvironment(Env({{"HOME", home}}));
  EXPECT_EQ(d.Home, home + "/");
  EXPECT_EQ(d.ConfigHome, home + "/.config/");
  EXPECT_EQ(d.DataHome, home + "/.local/share/");
  EXPECT_EQ(d.CacheHome, home + "/.cache/");
  EXPECT_EQ(d.PicturesDir, home + "/Pictures/");
  // Set ones win; an empty or relative one is invalid and ignored.
  d = TXdgDirs::FromEnvironment(Env({{"HOME", home},
                                     {"XDG_CONFIG_HOME", dir.Path() + "cfg"},
                                     {"XDG_DATA_HOME", "relative/data"},
                                     {"XDG_CACHE_HOME", ""}}));
  EXPECT_EQ(d.ConfigHome, dir.Path() + "cfg/");
  EXPECT_EQ(d.DataHome, home + "/.local/share/");
  EXPECT_EQ(d.CacheHome, home + "/.cache/");
  // Without HOME the password database names the home folder.
  EXPECT_EQ(TXdgDirs::FromEnvironment(Env({})).Home.front(), '/');
}

TEST(XdgDirs, PicturesFolderFromUserDirs) {
  const std::string home = "/home/ann/";
  EXPECT_EQ(PicturesDirFromUserDirs("XDG_PICTURES_DIR=\"$HOME/Bilder\"\n", home), "/home/ann/Bilder/");
  EXPECT_EQ(PicturesDirFromUserDirs("# comment\n  XDG_PICTURES_DIR = \"/srv/pics\"\n", home), "/srv/pics/");
  EXPECT_EQ(PicturesDirFromUserDirs("XDG_PICTURES_DIR=\"$HOME/My \\\"Pics\\\"\"", home), "/home/ann/My \"Pics\"/");
  EXPECT_EQ(PicturesDirFromUserDirs("XDG_PICTURES_DIR=\"$HOME\"", home), home);
  // The last line that names it wins, as the shell reads the file.
  EXPECT_EQ(PicturesDirFromUserDirs("XDG_PICTURES_DIR=\"/a\"\nXDG_PICTURES_DIR=\"/b\"\n", home), "/b/");
  // Forms the file may not use, other keys, an unclosed quote: nothing.
  for (const char* text : {"XDG_PICTURES_DIR=\"Pictures\"", "XDG_PICTURES_DIR=\"$HOMEX/a\"", "XDG_PICTURES_DIR=/a",
                           "XDG_PICTURES_DIRS=\"/a\"", "XDG_VIDEOS_DIR=\"/a\"", "XDG_PICTURES_DIR=\"/a", ""})
    EXPECT_EQ(PicturesDirFromUserDirs(text, home), std::nullopt) << text;

  TTempDir dir;
  std::filesystem::create_directories(dir.File("cfg"));
  test::WriteText(dir.File("cfg/user-dirs.dirs"), "XDG_PICTURES_DIR=\"$HOME/Fotos\"\n");
  const TXdgDirs d = TXdgDirs::FromEnvironment(Env({{"HOME", dir.Path() + "h"}, {"XDG_CONFIG_HOME", dir.File("cfg")}}));
  EXPECT_EQ(d.PicturesDir, dir.Path() + "h/Fotos/");
}

TEST(FolderList, TheFirstFolderHoldingANameWins) {
  TTempDir dir;
  for (const char* folder : {"user", "factory"}) std::filesystem::create_directories(dir.File(folder));
  test::WriteText(dir.File("user/wood.jpg"), "user");
  test::WriteText(dir.File("factory/Wood.jpg"), "factory");
  test::WriteText(dir.File("factory/stone.gif"), "factory");
  const TFolderList folders({dir.File("user/"), dir.File("missing/"), dir.File("factory/"), dir.File("user/"), ""});
  EXPECT_EQ(folders.Folders().size(), 3u);  // named twice or empty: left out
  EXPECT_EQ(folders.Find("Wood.jpg"), dir.File("user/wood.jpg"));  // any case in the user's beats the factory's
  EXPECT_EQ(folders.Find("STONE.GIF"), dir.File("factory/stone.gif"));
  EXPECT_EQ(folders.Find("gone.bmp"), std::nullopt);
}

}  // namespace
}  // namespace qz
