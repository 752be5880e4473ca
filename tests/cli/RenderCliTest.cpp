#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "cli/RunCli.h"
#include "support/TempDir.h"
#include "export/ExportTestSupport.h"

namespace qz {
namespace {

using test::RunCli;

const std::string Out = QZ_TEST_OUTPUT_DIR;

std::string WriteWork(const std::string& name, const std::string& extra, const std::string& letters = "I") {
  std::filesystem::create_directories(Out);
  std::string text = "[General]\r\nVersion=1.3.5\r\n" + extra + "[Message]\r\nNLetters=" +
                     std::to_string(letters.size()) + "\r\n";
  for (size_t i = 0; i < letters.size(); ++i)
    text += "[Letter " + std::to_string(i + 1) + "]\r\nChar=" + letters[i] + "\r\nName=Arial\r\nSize=18\r\n";
  const std::string path = Out + "/" + name;
  std::ofstream(path, std::ios::binary) << text;
  return path;
}

std::pair<int, int> PngSize(const std::string& path) {
  const test::TDecodedPng png = test::ReadPngRgba(path);
  return {png.width, png.height};
}

TEST(CliRender, PngWithMaskAndTheEmptyMessage) {
  const std::string png = Out + "/cli-render.png", mask = Out + "/cli-render-mask.PNG";
  const auto r = RunCli({"render", WriteWork("cli-png.qznr", ""), png, "--mask", mask, "--text", "Quenzar"});
  ASSERT_EQ(r.status, 0) << r.err;
  const auto size = PngSize(png);
  EXPECT_GT(size.first, 100);
  EXPECT_EQ(PngSize(mask), size);

  const auto e = RunCli({"render", WriteWork("cli-empty.qznr", "", ""), png});
  ASSERT_EQ(e.status, 0) << e.err;
  EXPECT_EQ(PngSize(png), (std::pair<int, int>{16, 16}));
}

TEST(CliRender, UsageErrorsAndFailuresLeaveNothingBehind) {
  const std::string work = WriteWork("cli-fail.qznr", "");
  for (const char* out : {"/cli-x.gif", "/cli-x.jpg", "/cli-x"}) {
    const auto r = RunCli({"render", work, Out + out});
    EXPECT_EQ(r.status, 2) << out;
    EXPECT_NE(r.err.find("usage"), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(Out + out));
  }
  EXPECT_EQ(RunCli({"render", work, Out + "/a.png", "--mask", Out + "/m.tif"}).status, 2);
  EXPECT_EQ(RunCli({"render", work}).status, 2);
  EXPECT_EQ(RunCli({"fonts", "extra"}).status, 2);

  // An output that cannot be written: exit 1, and nothing written. When the mask
  // fails, the picture is not written either, and what was there before stays.
  const std::string image = Out + "/cli-half.png";
  std::filesystem::remove(image);
  auto r = RunCli({"render", work, Out + "/no-such-folder/x.bmp"});
  EXPECT_EQ(r.status, 1);
  r = RunCli({"render", work, image, "--mask", Out + "/no-such-folder/m.png"});
  EXPECT_EQ(r.status, 1);
  EXPECT_FALSE(std::filesystem::exists(image));
  test::WriteText(image, "earlier");
  r = RunCli({"render", work, image, "--mask", Out + "/no-such-folder/m.png"});
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(test::ReadText(image), "earlier");
  std::filesystem::remove(image);

  // A design whose picture would be too large: a sentence, exit 1, no file.
  r = RunCli({"render", WriteWork("cli-huge.qznr", "[Render]\r\nCnX=1e9\r\n"), image});
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find("The picture would be"), std::string::npos) << r.err;
  EXPECT_FALSE(std::filesystem::exists(image));
  r = RunCli({"info", Out + "/cli-huge.qznr"});
  EXPECT_EQ(r.status, 1);
  EXPECT_TRUE(r.out.empty());
}

TEST(CliRender, FontsListsTheTrueTypeFaces) {
  const auto r = RunCli({"fonts"});
  ASSERT_EQ(r.status, 0);
  EXPECT_NE(r.out.find("\nLiberation Sans\n"), std::string::npos);
}

}  // namespace
}  // namespace qz
