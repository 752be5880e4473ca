// quenzar-cli export as a user runs it. The --preview-page cases run a copy of the
// tool in a program folder of its own, as it writes beside its executable.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <set>

#include "cli/RunCli.h"
#include "export/ExportTestSupport.h"
#include "image/formats/GifTestSupport.h"
#include "base/FileUtil.h"
#include "image/ImageFile.h"
#include "export/ExportSize.h"
#include "support/TempDir.h"

namespace qz {
namespace {

namespace fs = std::filesystem;
using test::RunCli;
using test::TTempDir;

// "Go" on a rounded button with a shadow, on a pale yellow page; extra keys for the
// General and Button sections.
std::string GoWork(const std::string& general = "", const std::string& button = "Type=2\r\n") {
  return "[General]\r\nVersion=1.3.5\r\n" + general +
         "[Message]\r\nNLetters=2\r\nAltitude=10\r\n"
         "[Button]\r\nBkgColor=0x80FFFF\r\nAltitude=30\r\n" + button +
         "[Letter 1]\r\nChar=G\r\nName=Arial\r\nSize=18\r\nCharset=0\r\n"
         "[Letter 2]\r\nChar=o\r\nName=Arial\r\nSize=18\r\nCharset=0\r\n";
}

std::string Work(const TTempDir& dir, const std::string& text = GoWork(), const std::string& name = "go.qznr") {
  const std::string path = dir.File(name);
  test::WriteText(path, text);
  return path;
}

// The picture size a render of the work has, from quenzar-cli info.
TExportSize FittedSize(const std::string& work) {
  const auto r = RunCli({"info", work});
  std::map<std::string, int> figures;
  std::istringstream lines(r.out);
  for (std::string line; std::getline(lines, line);) {
    const size_t eq = line.find('=');
    if (eq != std::string::npos && line.rfind("Image", 0) == 0) figures[line.substr(0, eq)] = std::stoi(line.substr(eq + 1));
  }
  return FitExportSize(figures["ImageWidth"], figures["ImageHeight"]);
}


// The size of the picture file at path, whatever its format.
std::pair<int, int> SizeOf(const std::string& path) {
  if (path.ends_with(".gif")) {
    const test::TDecodedGif gif = test::ReadGifFile(path);
    return {gif.width, gif.height};
  }
  if (path.ends_with(".png") || path.ends_with(".webp")) {
    const test::TDecodedPng png = path.ends_with(".png") ? test::ReadPngRgba(path) : test::ReadWebpRgba(path);
    return {png.width, png.height};
  }
  const TBitmap b = LoadImageFile(path);
  return {b.Width(), b.Height()};
}

// Every format the name asks for, at the fitted size. (What each writer puts in its
// file, transparency included, is the export tests' part.)
TEST(CliExport, EveryFormatAtTheFittedSize) {
  TTempDir dir;
  const std::string work = Work(dir);
  const TExportSize size = FittedSize(work);
  ASSERT_TRUE(size.height == 40 || size.width == 160);
  for (const char* name : {"go.gif", "go.bmp", "go.jpeg", "go.png", "go.webp"}) {
    const auto r = RunCli({"export", work, dir.File(name)});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_TRUE(r.err.empty()) << r.err;
    EXPECT_EQ(SizeOf(dir.File(name)), (std::pair{size.width, size.height})) << name;
  }
}

// The options reach the export: size, colours, palette, transparency, quality.
TEST(CliExport, SizeAndGifChoices) {
  TTempDir dir;
  const std::string work = Work(dir);
  auto r = RunCli({"export", work, dir.File("a.gif"), "--size", "200x50", "--colors", "16", "--palette", "optimized",
                   "--dither", "floyd-steinberg"});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(SizeOf(dir.File("a.gif")), (std::pair{200, 50}));
  EXPECT_LE(test::ReadGifFile(dir.File("a.gif")).colorMap.size(), 16u);

  r = RunCli({"export", work, dir.File("b.gif"), "--size", "61X17", "--palette", "monochrome", "--no-transparency"});
  ASSERT_EQ(r.status, 0) << r.err;
  const test::TDecodedGif gif = test::ReadGifFile(dir.File("b.gif"));
  EXPECT_EQ(std::tuple(gif.width, gif.height, gif.transparentIndex), std::tuple(61, 17, -1));
  EXPECT_EQ(gif.colorMap.at(gif.indices.at(0)), (TRgb{255, 255, 255}));  // the pale page is white in black and white

  ASSERT_EQ(RunCli({"export", work, dir.File("q20.jpg"), "--quality", "20"}).status, 0);
  ASSERT_EQ(RunCli({"export", work, dir.File("q100.jpg"), "--quality", "100"}).status, 0);
  EXPECT_LT(fs::file_size(dir.File("q20.jpg")), fs::file_size(dir.File("q100.jpg")));
}

// The pictures of today's pages: a lossless WebP unless a quality is asked for, GIF
// compression either way, states and high-density pictures beside the picture.
TEST(CliExport, WebpGifCompressionStatesAndScales) {
  TTempDir dir;
  const std::string work = Work(dir);
  ASSERT_EQ(RunCli({"export", work, dir.File("l.webp"), "--size", "200x50"}).status, 0);
  ASSERT_EQ(RunCli({"export", work, dir.File("q.webp"), "--size", "200x50", "--quality", "40"}).status, 0);
  const std::vector<uint8_t> lossless = ReadWholeFile(dir.File("l.webp"), 1 << 20).value();
  EXPECT_EQ(std::string(lossless.begin() + 12, lossless.begin() + 16), "VP8L");  // the lossless coder
  EXPECT_LT(fs::file_size(dir.File("q.webp")), fs::file_size(dir.File("l.webp")));

  ASSERT_EQ(RunCli({"export", work, dir.File("lzw.gif"), "--size", "200x50"}).status, 0);
  ASSERT_EQ(RunCli({"export", work, dir.File("rle.gif"), "--size", "200x50", "--gif-compression", "rle"}).status, 0);
  const test::TDecodedGif lzw = test::ReadGifFile(dir.File("lzw.gif")), rle = test::ReadGifFile(dir.File("rle.gif"));
  ASSERT_TRUE(lzw.ok && rle.ok);
  EXPECT_EQ(lzw.indices, rle.indices);
  EXPECT_LT(fs::file_size(dir.File("lzw.gif")), fs::file_size(dir.File("rle.gif")));

  const auto r = RunCli({"export", work, dir.File("b.png"), "--size", "100x30", "--scale", "3", "--states"});
  ASSERT_EQ(r.status, 0) << r.err;
  for (const char* state : {"", "-hover", "-pressed"}) {
    EXPECT_EQ(SizeOf(dir.File(std::string("b") + state + ".png")), (std::pair{100, 30})) << state;
    EXPECT_EQ(SizeOf(dir.File(std::string("b") + state + "@3x.png")), (std::pair{300, 90})) << state;
  }
  const std::string snippet = test::ReadText(dir.File("b.html"));
  EXPECT_NE(snippet.find("srcset=\"b-hover.png 1x, b-hover@3x.png 3x\""), std::string::npos) << snippet;
  EXPECT_EQ(test::FileNames(dir.Path()).size(), 5u + 6 + 1);  // the work, four pictures, six, the HTML
}

// A work's stored size is its export size, as the designer shows it, whether or not it
// holds its size; save writes it back as it was. A message given with --text is
// another picture: not held, its size is fitted to it, as typing it in the designer
// refits; held, the size stays.
TEST(CliExport, AWorkExportsAtItsStoredSize) {
  TTempDir dir;
  const std::string sized = "ExpWidth=123\r\nExpHeight=45\r\n";
  for (const char* button : {"Type=2\r\n", "Type=2\r\nHoldButtonSize=1\r\n"}) {
    const bool held = std::string(button).find("Hold") != std::string::npos;
    SCOPED_TRACE(held ? "held" : "free");
    const std::string work = Work(dir, GoWork(sized, button), "sized.qznr");
    auto r = RunCli({"export", work, dir.File("stored.bmp")});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_TRUE(r.err.empty()) << r.err;
    EXPECT_EQ(SizeOf(dir.File("stored.bmp")), (std::pair{123, 45}));
    ASSERT_EQ(RunCli({"save", work, dir.File("saved.qznr")}).status, 0);
    EXPECT_NE(test::ReadText(dir.File("saved.qznr")).find(sized), std::string::npos);
    // --size still wins.
    ASSERT_EQ(RunCli({"export", work, dir.File("asked.bmp"), "--size", "30x20"}).status, 0);
    EXPECT_EQ(LoadImageFile(dir.File("asked.bmp")).Width(), 30);

    ASSERT_EQ(RunCli({"export", work, dir.File("other.bmp"), "--text", "Products and Services"}).status, 0);
    const std::pair<int, int> other = SizeOf(dir.File("other.bmp"));
    if (held)
      EXPECT_EQ(other, (std::pair{123, 45}));
    else  // a long flat picture: 160 wide, its height in proportion
      EXPECT_EQ(other.first, 160);
  }
  // Without a stored size, the fitted one.
  std::string work = Work(dir, GoWork(), "unsized.qznr");
  ASSERT_EQ(RunCli({"export", work, dir.File("fitted.bmp")}).status, 0);
  EXPECT_EQ(LoadImageFile(dir.File("fitted.bmp")).Width(), FittedSize(work).width);

  // A stored size no export can have is reported, and the fitted size taken.
  work = Work(dir, GoWork("ExpWidth=0\r\nExpHeight=99999\r\n", "Type=2\r\nHoldButtonSize=1\r\n"), "bad.qznr");
  const auto r = RunCli({"export", work, dir.File("bad.bmp")});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_NE(r.err.find("0 x 99999"), std::string::npos) << r.err;
  EXPECT_EQ(LoadImageFile(dir.File("bad.bmp")).Width(), FittedSize(work).width);
}

// A copy of quenzar-cli in a program folder of its own, with the page template.
struct TProgramCopy {
  TTempDir dir;
  std::string cli;
  TProgramCopy() {
    cli = dir.File("quenzar-cli");
    fs::copy_file(QZ_CLI, cli);
    fs::create_directories(dir.File("html"));
    fs::copy_file(std::string(QZ_SOURCE_DIR) + "/data/html/preview.tml", dir.File("html/preview.tml"));
  }
  test::TCliResult Run(std::vector<std::string> args) const { return test::RunCliAt(cli, args); }
};

TEST(CliExport, PreviewPageGoesIntoTheProgramFolderOfTheTool) {
  TProgramCopy program;
  TTempDir out;
  const std::string work = Work(out);
  auto r = program.Run({"export", work, out.File("Go.gif"), "--size", "160x40", "--dither", "sierra", "--colors",
                        "64", "--preview-page", "--link", "https://example.org/a?b=1&c=2", "--text", "G\xC3\xA9o"});
  ASSERT_EQ(r.status, 0) << r.err;
  // The keys' order and forms are the preview page's tests; here what the options carry.
  const std::string dat = test::ReadText(program.dir.File("Buttons.dat"));
  for (const char* key : {"ImageDiffusion= Sierra\r\n", "NumberOfColors= 64\r\n", "ButtonText=G\xC3\xA9o\r\n"})
    EXPECT_NE(dat.find(key), std::string::npos) << key << dat;
  const std::string page = test::ReadText(program.dir.File("html/preview.html"));
  EXPECT_NE(page.find("src=\"file://" + out.Path() + "Go.gif\""), std::string::npos);
  EXPECT_NE(page.find("href=\"https://example.org/a?b=1&amp;c=2\""), std::string::npos);

  // A message beyond what is built: said so, and the page shows what was built.
  const std::string forty = "abcdefghijklmnopqrstuvwxyz0123456789ABCD";
  r = program.Run({"export", work, out.File("Long.gif"), "--preview-page", "--text", forty});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_NE(r.err.find("The message has 40 characters; only the first 32 are built"), std::string::npos) << r.err;
  EXPECT_NE(test::ReadText(program.dir.File("Buttons.dat")).find("ButtonText=" + forty.substr(0, 32) + "\r\n"),
            std::string::npos);

  // A relative OUT is reported with its full path; the other settings stay.
  test::WriteText(program.dir.File("Buttons.dat"), "[General]\r\nJobFile=mine.qznr\r\n");
  r = test::RunCliAt(program.cli, {"export", work, "rel.png", "--preview-page"}, out.Path());
  ASSERT_EQ(r.status, 0) << r.err;
  const std::string again = test::ReadText(program.dir.File("Buttons.dat"));
  EXPECT_EQ(again.rfind("[General]\r\nJobFile=mine.qznr\r\nImageFileName=rel.png\r\nImageFilePath=" + out.Path() + "\r\n", 0),
            0u)
      << again;
  EXPECT_NE(again.find("TargetURL=\r\n"), std::string::npos);
  EXPECT_NE(again.find("NumberOfColors= 256\r\n"), std::string::npos);
}

TEST(CliExport, WithoutItsTemplateThePreviewFailsAndNothingIsLeft) {
  TProgramCopy program;
  fs::remove(program.dir.File("html/preview.tml"));
  TTempDir out;
  auto r = program.Run({"export", Work(out), out.File("Go.gif"), "--preview-page"});
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find("preview.tml"), std::string::npos) << r.err;
  EXPECT_EQ(test::FileNames(out.Path()), (std::set<std::string>{"go.qznr"}));
  // An earlier file of that name stays as it was.
  test::WriteText(out.File("Go.gif"), "earlier");
  r = program.Run({"export", Work(out), out.File("Go.gif"), "--preview-page"});
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(test::ReadText(out.File("Go.gif")), "earlier");
  // A page or settings file that cannot be written: nothing is written, and the picture
  // there before stays.
  fs::copy_file(std::string(QZ_SOURCE_DIR) + "/data/html/preview.tml", program.dir.File("html/preview.tml"));
  fs::create_directories(program.dir.File("html/preview.html"));  // a folder where the page goes
  r = program.Run({"export", Work(out), out.File("New.gif"), "--preview-page"});
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find("preview.html: it is a folder"), std::string::npos) << r.err;
  EXPECT_FALSE(FileExists(out.File("New.gif")));
  fs::remove(program.dir.File("html/preview.html"));
  fs::create_directories(program.dir.File("Buttons.dat"));
  r = program.Run({"export", Work(out), out.File("Go.gif"), "--preview-page"});
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find("Buttons.dat"), std::string::npos) << r.err;
  EXPECT_EQ(test::ReadText(out.File("Go.gif")), "earlier");
  EXPECT_EQ(test::FileNames(out.Path()), (std::set<std::string>{"go.qznr", "Go.gif"}));
}

TEST(CliExport, WorkThatCannotBeDoneExitsWithOneAndWritesNothing) {
  TTempDir dir;
  const std::string work = Work(dir);
  test::WriteText(dir.File("old.qznr"), "[General]\r\nVersion=1.3.4\r\n");
  test::WriteText(dir.File("keep.gif"), "keep");

  struct TCase {
    std::vector<std::string> args;
    std::string message;
  };
  const std::vector<TCase> cases = {
      {{"export", dir.File("old.qznr"), dir.File("a.gif")}, "Invalid file version: 1.3.4"},
      {{"export", dir.File("none.qznr"), dir.File("a.gif")}, "Cannot open the work " + dir.File("none.qznr") + ": the file does not exist"},
      {{"export", work, dir.File("a.gif"), "--text", ""}, "Sorry, there is nothing to export"},
      {{"export", work, dir.File("keep.gif"), "--text", ""}, "Sorry, there is nothing to export"},
      {{"export", work, dir.File("no/such/folder/a.gif")}, dir.File("no/such/folder/a.gif")},
      {{"export", work, dir.File("folder.png")}, dir.File("folder.png")},
  };
  fs::create_directories(dir.File("folder.png"));
  for (const TCase& c : cases) {
    const auto r = RunCli(c.args);
    SCOPED_TRACE(c.args[2]);
    EXPECT_EQ(r.status, 1) << r.err;
    EXPECT_NE(r.err.find(c.message), std::string::npos) << r.err;
    EXPECT_TRUE(r.out.empty());
  }
  EXPECT_EQ(test::FileNames(dir.Path()), (std::set<std::string>{"go.qznr", "old.qznr", "keep.gif", "folder.png"}));
  EXPECT_EQ(test::ReadText(dir.File("keep.gif")), "keep");
}

TEST(CliExport, UsageErrorsExitWithTwoBeforeAnyWork) {
  TTempDir dir;
  const std::string work = Work(dir);
  const std::string gif = dir.File("u.gif");
  std::vector<std::vector<std::string>> cases = {{"export"}, {"export", work}, {"export", work, gif, "extra"},
                                                 {"export", work, dir.File("u.tif")}, {"export", work, dir.File("u")}};
  const std::vector<std::vector<std::string>> options = {
      {"--bogus"}, {"--size"}, {"--size", "0x40"}, {"--size", "10x32768"}, {"--size", "10000x10000"}, {"--size", "160"},
      {"--colors", "12"}, {"--colors", "512"}, {"--palette", "web"}, {"--dither", "random"}, {"--quality", "0"},
      {"--quality", "101"}, {"--link", "https://example.org"}, {"--scale", "4"}, {"--scale", "2x"},
      {"--gif-compression", "zip"}, {"--states", "1"}, {"--size", "20000x10", "--scale", "2"}};
  for (const auto& o : options) {
    cases.push_back({"export", work, gif});
    cases.back().insert(cases.back().end(), o.begin(), o.end());
  }
  for (const auto& args : cases) {
    const auto r = RunCli(args);
    std::string line;
    for (const auto& a : args) line += a + " ";
    EXPECT_EQ(r.status, 2) << line << r.err;
    EXPECT_NE(r.err.find("usage"), std::string::npos) << line;
  }
  EXPECT_EQ(test::FileNames(dir.Path()), (std::set<std::string>{"go.qznr"}));
}

}  // namespace
}  // namespace qz
