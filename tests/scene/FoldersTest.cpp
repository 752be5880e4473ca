#include "scene/Folders.h"

#include <gtest/gtest.h>

#include "base/FileUtil.h"
#include "base/IniFile.h"
#include "scene/Settings.h"
#include "support/TempDir.h"

namespace qz {
namespace {

using test::TTempDir;

// The user's folders of a home in dir.
TXdgDirs Xdg(const TTempDir& dir) {
  return {dir.File("home/"), dir.File("home/.config/"), dir.File("home/.local/share/"), dir.File("home/.cache/"),
          dir.File("home/Pictures/")};
}

TEST(Folders, TheLayoutFollowsTheExecutablesPlace) {
  TTempDir dir;
  std::filesystem::create_directories(dir.File("usr/bin"));
  std::filesystem::create_directories(dir.File("build/bin"));
  std::filesystem::create_directories(dir.File("usr/share/quenzar"));

  // Beside share/quenzar/: installed, the factory files there, the user's in the home.
  const TFolders installed = TFolders::ForExecutable(dir.File("usr/bin/"), Xdg(dir));
  EXPECT_TRUE(installed.Installed);
  EXPECT_EQ(installed.FactoryDir, dir.File("usr/share/quenzar/"));
  EXPECT_EQ(installed.SettingsFile(), dir.File("home/.config/quenzar/Buttons.dat"));
  EXPECT_EQ(installed.DefaultWorksDir(), dir.File("home/.local/share/quenzar/Works/"));
  EXPECT_EQ(installed.DefaultTemplatesDir(), dir.File("home/.local/share/quenzar/Templates/"));
  EXPECT_EQ(installed.ImagesDir, dir.File("home/Pictures/Quenzar/"));
  EXPECT_EQ(installed.PreviewPage(), dir.File("home/.cache/quenzar/preview.html"));
  EXPECT_EQ(installed.PageTemplate(), dir.File("usr/share/quenzar/html/preview.tml"));
  EXPECT_EQ(installed.TextureFolders().Folders(),
            (std::vector<std::string>{dir.File("home/.local/share/quenzar/Textures/"), dir.File("usr/share/quenzar/Textures/")}));
  EXPECT_EQ(installed.ShapeFolders().Folders().front(), dir.File("home/.local/share/quenzar/BShapes/"));

  // Anywhere else: everything in the program folder, as ever, whatever the environment.
  const TFolders build = TFolders::ForExecutable(dir.File("build/bin"), Xdg(dir));
  EXPECT_FALSE(build.Installed);
  for (const std::string& folder : {build.FactoryDir, build.SettingsDir, build.UserDir})
    EXPECT_EQ(folder, dir.File("build/bin/"));
  EXPECT_EQ(build.ImagesDir, dir.File("build/bin/Images/"));
  EXPECT_EQ(build.PreviewPage(), dir.File("build/bin/html/preview.html"));
  EXPECT_EQ(build.TextureFolders().Folders(), std::vector<std::string>{dir.File("build/bin/Textures/")});
}

// Installed, the settings, works and templates are the user's; the factory folder is
// only read.
TEST(Folders, InstalledSettingsLiveInTheUsersFolders) {
  TTempDir dir;
  std::filesystem::create_directories(dir.File("usr/share/quenzar"));
  const TFolders folders = TFolders::InstalledAt(dir.File("usr/share/quenzar/"), Xdg(dir));
  TSettings s;
  s.Read(folders);
  EXPECT_EQ(s.WorksDir, folders.DefaultWorksDir());
  EXPECT_EQ(s.TexturesDir, dir.File("usr/share/quenzar/Textures/"));
  EXPECT_TRUE(DirectoryExists(s.WorksDir) && DirectoryExists(s.TemplatesDir));
  EXPECT_FALSE(DirectoryExists(dir.File("home/.config/quenzar")));  // made by the first exit
  s.Write();
  EXPECT_EQ(TIniFile(folders.SettingsFile()).ReadString("General", "Saves", ""), s.WorksDir);
  EXPECT_EQ(test::FileNames(dir.File("usr/share/quenzar")), std::set<std::string>{});
  // A settings folder that cannot be made: the write names the file it could not write.
  test::WriteText(dir.File("blocked"), "");
  s.Folders.SettingsDir = dir.File("blocked/quenzar/");
  try {
    s.Write();
    ADD_FAILURE() << "written into a file";
  } catch (const std::runtime_error& e) {
    EXPECT_NE(std::string(e.what()).find(s.SettingsPath()), std::string::npos) << e.what();
  }
}

}  // namespace
}  // namespace qz
