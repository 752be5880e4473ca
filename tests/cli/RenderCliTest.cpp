#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

#include "cli/RunCli.h"
#include "platform/ImageFile.h"

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

// The figures info prints after its work lines (Name=value without a section dot).
std::map<std::string, long> Figures(const std::string& out) {
  std::map<std::string, long> f;
  std::istringstream in(out);
  std::string line;
  while (std::getline(in, line)) {
    const size_t eq = line.find('=');
    if (eq == std::string::npos || line.compare(0, 7, "Letter ") == 0) continue;
    const std::string name = line.substr(0, eq);
    if (name.find('.') != std::string::npos && name.compare(0, 6, "Letter") != 0) continue;
    f[name] = std::stol(line.substr(eq + 1));
  }
  return f;
}

std::pair<int, int> PngSize(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  unsigned char h[24] = {};
  in.read(reinterpret_cast<char*>(h), 24);
  auto be = [&](int at) { return h[at] << 24 | h[at + 1] << 16 | h[at + 2] << 8 | h[at + 3]; };
  return {be(16), be(20)};
}

TEST(CliRender, InfoFiguresOfALetterOnARoundedButton) {
  const auto r = RunCli({"info", WriteWork("cli-i.qznr", "")});
  ASSERT_EQ(r.status, 0) << r.err;
  auto f = Figures(r.out);
  // The I's outline (four corners and the closing point) and its body; the button's
  // faces, four for each of its 28 edges and the plane quad (the build tests check how
  // bodies are made; here only that info reports them).
  EXPECT_EQ((std::vector<long>{f["Letters"], f["Letter1.Contours"], f["Letter1.Points"], f["Bodies"], f["ButtonFaces"]}),
            (std::vector<long>{1, 1, 5, 2, 113}));
  EXPECT_EQ(f["Faces"], 9 + 113);
  EXPECT_EQ(f["ButLeft"], -f["ButRight"]);  // the I is centred
  EXPECT_EQ((std::vector<long>{f["ButShadowX"], f["ButShadowY"], f["TxtShadowX"], f["TxtShadowY"]}),
            (std::vector<long>{16, 28, 5, 9}));
  // The figures come after every work line, in their order.
  EXPECT_LT(r.out.find("Letter 1.Underline="), r.out.find("\nLetters=1\n"));
  EXPECT_LT(r.out.find("\nImageHeight="), r.out.find("\nCenterX="));

  // The picture render writes has the size info reports.
  const std::string bmp = Out + "/cli-i.bmp";
  std::filesystem::remove(bmp);
  const auto w = RunCli({"render", Out + "/cli-i.qznr", bmp});
  ASSERT_EQ(w.status, 0) << w.err;
  const TBitmap picture = LoadImageFile(bmp);
  EXPECT_EQ(picture.Width(), f["ImageWidth"]);
  EXPECT_EQ(picture.Height(), f["ImageHeight"]);

  // A heading: no button figures, and --text rebuilds with more letters.
  const auto h = RunCli({"info", WriteWork("cli-heading.qznr", "[Button]\r\nType=0\r\n"), "--text", "II I"});
  ASSERT_EQ(h.status, 0) << h.err;
  f = Figures(h.out);
  EXPECT_EQ((std::vector<long>{f["Letters"], f["Letter3.Contours"], f["Bodies"], f["ButtonFaces"], f["Faces"]}),
            (std::vector<long>{4, 0, 4, 0, 3 * 9 + 1}));
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

  // An output that cannot be written: exit 1. When the mask fails, the picture
  // written before it is taken away again.
  const std::string image = Out + "/cli-half.png";
  std::filesystem::remove(image);
  auto r = RunCli({"render", work, Out + "/no-such-folder/x.bmp"});
  EXPECT_EQ(r.status, 1);
  r = RunCli({"render", work, image, "--mask", Out + "/no-such-folder/m.png"});
  EXPECT_EQ(r.status, 1);
  EXPECT_FALSE(std::filesystem::exists(image));

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
