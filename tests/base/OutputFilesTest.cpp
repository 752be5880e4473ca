#include "base/OutputFiles.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

#include "support/HostileInput.h"
#include "support/TempDir.h"

namespace qz {
namespace {

namespace fs = std::filesystem;
using test::ReadText;
using test::WriteText;

TWriteFn Text(const std::string& text) {
  return [text](std::FILE* f) { return std::fwrite(text.data(), 1, text.size(), f) == text.size(); };
}

// A group appears whole or not at all, and leaves no temporary file either way.
TEST(OutputFiles, AGroupIsWrittenAllOrNothing) {
  test::TTempDir dir;
  WriteText(dir.File("a.txt"), "old a");
  {
    TFileGroup files;
    files.Write(dir.File("a.txt"), Text("new a"));
    EXPECT_EQ(files.WrittenBytes(dir.File("a.txt")), 5u);
    EXPECT_THROW(files.Write(dir.File("missing/b.txt"), Text("b")), std::runtime_error);
    EXPECT_THROW(files.Write(dir.File("c.txt"), [](std::FILE*) { return false; }), std::runtime_error);
  }  // not committed
  EXPECT_EQ(ReadText(dir.File("a.txt")), "old a");
  EXPECT_EQ(test::FileNames(dir.Path()), std::set<std::string>{"a.txt"});

  TFileGroup files;
  files.Write(dir.File("a.txt"), Text("new a"));
  files.Write(dir.File("b.txt"), Text("new b"));
  EXPECT_EQ(ReadText(dir.File("a.txt")), "old a");  // nothing shows before the commit
  files.Commit();
  EXPECT_EQ(ReadText(dir.File("a.txt")) + ReadText(dir.File("b.txt")), "new anew b");
  EXPECT_EQ(test::FileNames(dir.Path()), (std::set<std::string>{"a.txt", "b.txt"}));
}

// A link keeps being a link and the file keeps its permissions; a link planted under
// the name an older version used for its temporary file is never followed; a name of
// the longest length a folder allows can be written.
TEST(OutputFiles, LinksModesPlantedLinksAndLongNames) {
  test::TTempDir dir;
  WriteText(dir.File("real.qznr"), "old");
  ::chmod(dir.File("real.qznr").c_str(), 0640);
  fs::create_symlink("real.qznr", dir.File("link.qznr"));
  WriteFileAtomically(dir.File("link.qznr"), Text("new"));
  EXPECT_TRUE(fs::is_symlink(dir.File("link.qznr")));
  EXPECT_EQ(ReadText(dir.File("real.qznr")), "new");
  struct stat st;
  ASSERT_EQ(::stat(dir.File("real.qznr").c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 07777, 0640u);

  WriteText(dir.File("victim"), "keep");
  fs::create_symlink(dir.File("victim"), dir.File("out.gif.tmp-" + std::to_string(::getpid())));
  WriteFileAtomically(dir.File("out.gif"), Text("picture"));
  EXPECT_EQ(ReadText(dir.File("victim")), "keep");

  const std::string longest(255, 'n');
  WriteFileAtomically(dir.File(longest), Text("long"));
  EXPECT_EQ(ReadText(dir.File(longest)), "long");
}

TEST(OutputFiles, TargetsThatCannotBeFilesSayWhatTheyAre) {
  test::TTempDir dir;
  fs::create_directories(dir.File("folder"));
  WriteText(dir.File("locked"), "x");
  ::chmod(dir.File("locked").c_str(), 0444);
  auto error = [](const std::string& path) { return test::ErrorOf([&] { WriteFileAtomically(path, Text("x")); }); };
  EXPECT_NE(error(dir.File("folder")).find("folder: it is a folder"), std::string::npos) << error(dir.File("folder"));
  for (const char* device : {"/dev/null", "/dev/full"})
    EXPECT_NE(error(device).find(std::string(device) + ": it is not a regular file"), std::string::npos) << error(device);
  EXPECT_NE(error(dir.File("locked")).find("the file is read-only"), std::string::npos);
  EXPECT_EQ(ReadText(dir.File("locked")), "x");
}

}  // namespace
}  // namespace qz
