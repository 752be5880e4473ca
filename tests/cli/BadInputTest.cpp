// Works, the shape files and textures they name, and Buttons.dat, each truncated,
// oversized or garbage, run through `info` and `render` (`export` for Buttons.dat): exit 0
// (warnings for what was dropped) or 1 with a message and no file; never a signal,
// sanitizer report or hang. (The export writes what the render made; its own failures
// are the export tests' part.)
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>

#include "cli/RunCli.h"
#include "support/TempDir.h"
#include "image/formats/BmpReader.h"
#include "image/formats/BmpWriter.h"
#include "image/formats/JpegWriter.h"
#include "support/TestGif.h"

namespace qz {
namespace {

namespace fs = std::filesystem;
using Bytes = std::string;

constexpr int Hung = 124;             // the status `timeout` gives a run it stopped
constexpr int SanitizerReport = 86;   // what the sanitizers exit with (set below)
constexpr int TimeLimitSeconds = 120; // generous for a sanitizer build on a busy machine

struct TOutcome {
  int status = -1;
  std::string err;  // info's standard error
};

// A program folder of its own (quenzar-cli, the installation files, BShapes/,
// Textures/ and Buttons.dat), so damaged shapes and settings never touch build/bin.
class CliBadInput : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    program_ = std::string(QZ_TEST_OUTPUT_DIR) + "/bad-input-" + std::to_string(::getpid()) + "/";
    fs::remove_all(program_);
    fs::create_directories(program_);
    fs::copy(std::string(QZ_SOURCE_DIR) + "/data", program_, fs::copy_options::recursive);
    for (const char* folder : {"BShapes", "Textures", "works", "out"}) fs::create_directories(program_ + folder);
    fs::copy_file(QZ_CLI, program_ + "quenzar-cli");
  }
  static void TearDownTestSuite() { fs::remove_all(program_); }

  static std::string Path(const std::string& name) { return program_ + name; }
  static std::string Write(const std::string& name, const Bytes& bytes) {
    std::ofstream(Path(name), std::ios::binary | std::ios::trunc) << bytes;
    return Path(name);
  }

  // Sanitizer reports get a status of their own, so they cannot pass for an exit 1.
  static test::TCliResult Run(const std::vector<std::string>& args) {
    const std::string env = "ASAN_OPTIONS=exitcode=86 UBSAN_OPTIONS=exitcode=86:print_stacktrace=1 LSAN_OPTIONS=" +
                            test::ShellQuote(std::string("exitcode=86:") + QZ_LSAN_OPTIONS);
    return test::RunCliAt(Path("quenzar-cli"), args, "", env + " timeout -k 5 " + std::to_string(TimeLimitSeconds));
  }

  static void ExpectNoFault(const test::TCliResult& r) {
    EXPECT_NE(r.status, Hung) << "the run did not end";
    EXPECT_NE(r.status, SanitizerReport) << r.err;
    EXPECT_EQ(r.err.find("Sanitizer"), std::string::npos) << r.err;
    EXPECT_EQ(r.err.find("runtime error"), std::string::npos) << r.err;
    EXPECT_TRUE(r.status == 0 || r.status == 1) << "status " << r.status << "\n" << r.err;
    if (r.status == 1) { EXPECT_NE(r.err.find_first_not_of(" \n"), std::string::npos) << "exit 1 without a message"; }
  }

  // What the commands are run on a work for: info alone, or render as well. Renders
  // (slow under sanitizers) run for every work info refuses, and for others when asked.
  enum class TRender { Always, OnRefusal };

  // render exits as info did, with a picture of info's size, or leaves no file.
  static TOutcome Check(const std::string& work, const std::string& what, TRender when = TRender::OnRefusal) {
    SCOPED_TRACE(what);
    const test::TCliResult info = Run({"info", work});
    ExpectNoFault(info);
    if (info.status == 0) {
      EXPECT_EQ(info.out.rfind("General.Version=1.3.5\n", 0), 0u) << info.out.substr(0, 200);
      EXPECT_NE(info.out.find("\nImageWidth="), std::string::npos);
    } else {
      EXPECT_TRUE(info.out.empty()) << info.out.substr(0, 200);
    }

    if (when == TRender::OnRefusal && info.status != 1) return {info.status, info.err};
    const std::string picture = Path("out/picture.bmp");
    fs::remove(picture);
    const test::TCliResult render = Run({"render", work, picture});
    ExpectNoFault(render);
    EXPECT_EQ(render.status, info.status) << render.err;
    if (render.status == 0) {
      TBitmap image;
      EXPECT_NO_THROW(image = ReadBmpFile(picture));
      EXPECT_NE(info.out.find("\nImageWidth=" + std::to_string(image.Width()) + "\nImageHeight=" +
                              std::to_string(image.Height()) + "\n"),
                std::string::npos);
    }
    EXPECT_EQ(test::FileNames(Path("out")), render.status == 0 ? std::set<std::string>{"picture.bmp"} : std::set<std::string>{});
    return {info.status, info.err};
  }

  static std::string program_;
};

std::string CliBadInput::program_;

// Three letters in different fonts; the shape file and textures named by the caller.
Bytes Work(const std::string& shape = "", const std::string& textTexture = "", const std::string& buttonTexture = "") {
  return "[General]\r\nVersion=1.3.5\r\nFileID=$010300FF\r\nExpWidth=160\r\nExpHeight=40\r\n"
         "[Message]\r\nNLetters=3\r\nSplPnt=2\r\nTxtW=10\r\nTxtY=30\r\nTexW=1\r\nTexH=1\r\nTexFile=" + textTexture +
         "\r\nDColor=0\r\nBColor=16777215\r\nMColor=8454143\r\nColSplit=204\r\nAltitude=10\r\n"
         "[Button]\r\nType=" + (shape.empty() ? "2" : "16") + "\r\nButW=20\r\nButY=0\r\nTexFile=" + buttonTexture +
         "\r\nBkgColor=16777215\r\nMColor=8421631\r\nAltitude=30\r\nShapeName=" + shape +
         "\r\n[Render]\r\nDistance=1500\r\nCnX=450\r\nCnZ=450\r\n"
         "[Light]\r\na1=0.5\r\na2=0.300000011920929\r\n"
         "[Letter 1]\r\nChar=Q\r\nName=Times New Roman\r\nSize=24\r\nCharset=0\r\nBold=1\r\nItalic=0\r\nUnderline=0\r\n"
         "[Letter 2]\r\nChar=z\r\nName=Arial\r\nSize=18\r\nCharset=1\r\nBold=0\r\nItalic=1\r\nUnderline=0\r\n"
         "[Letter 3]\r\nChar=%\r\nName=Courier New\r\nSize=12\r\nCharset=238\r\nBold=0\r\nItalic=0\r\nUnderline=1\r\n";
}

// Bytes of no format at all, the same every run.
Bytes Garbage(size_t size) {
  std::mt19937 random(20240611);
  Bytes garbage(size, '\0');
  for (char& c : garbage) c = static_cast<char>(random());
  return garbage;
}

// Cut short at telling places, garbage, all zeros (random damage is the fuzz targets' part).
std::vector<std::pair<std::string, Bytes>> Damages(const Bytes& good) {
  std::vector<std::pair<std::string, Bytes>> out;
  for (size_t cut : {size_t(0), size_t(20), good.size() / 2, good.size() - 1})
    if (cut < good.size()) out.push_back({"cut at " + std::to_string(cut), good.substr(0, cut)});
  out.push_back({"garbage", Garbage(good.size() + 100)});
  out.push_back({"zeros", Bytes(good.size(), '\0')});
  return out;
}

Bytes FromVector(const std::vector<uint8_t>& v) { return Bytes(v.begin(), v.end()); }

TEST_F(CliBadInput, DamagedWorksLoadWhatParsesOrAreRefused) {
  const Bytes good = Work();
  EXPECT_EQ(Check(Write("works/good.qznr", good), "the good work", TRender::Always).status, 0);
  const size_t versionEnd = good.find("FileID");
  for (const auto& [what, bytes] : Damages(good)) {
    const TOutcome o = Check(Write("works/damaged.qznr", bytes), what);
    // Refused when cut before its version ends; otherwise loaded as far as it goes.
    if (what.starts_with("cut at")) { EXPECT_EQ(o.status, bytes.size() < versionEnd ? 1 : 0) << what; }
    if (o.status == 1) { EXPECT_NE(o.err.find("Invalid file version: "), std::string::npos); }
  }

  // Too large to read: refused, saying why.
  const std::string huge = Write("works/huge.qznr", good);
  fs::resize_file(huge, (64u << 20) + 1);
  const TOutcome o = Check(huge, "a work beyond 64 MB");
  EXPECT_EQ(o.status, 1);
  EXPECT_NE(o.err.find("larger than 64 MB"), std::string::npos) << o.err;

  // A megabyte line, and lines ended by CR alone.
  EXPECT_EQ(Check(Write("works/long.qznr", good + "[Message]\r\nTexFile=" + Bytes(1 << 20, 'x') + "\r\n"), "long line").status, 0);
  Bytes crOnly = good;
  for (char& c : crOnly)
    if (c == '\n') c = '\r';
  EXPECT_EQ(Check(Write("works/cr.qznr", crOnly), "CR line ends").status, 0);
}

TEST_F(CliBadInput, DamagedShapeFilesOfAWork) {
  // A rounded shape: 48-byte header, then points of 9 bytes (on-curve flag, x, y).
  auto le32 = [](int32_t v) {
    Bytes b(4, '\0');
    for (int i = 0; i < 4; ++i) b[i] = static_cast<char>(static_cast<uint32_t>(v) >> (8 * i));
    return b;
  };
  const int32_t pts[][3] = {{1, -100, 40}, {1, 100, 40}, {0, 140, 0}, {1, 100, -40}, {1, -100, -40}};
  Bytes good = le32(0) + le32(5) + le32(-100) + le32(40) + le32(100) + le32(-40) + Bytes(24, '\0');
  for (const auto& p : pts) good += Bytes(1, static_cast<char>(p[0])) + le32(p[1]) + le32(p[2]);
  Write("BShapes/good.qzkh", good);
  const std::string work = Write("works/shape.qznr", Work("bad.qzkh"));
  EXPECT_EQ(Check(Write("works/good-shape.qznr", Work("good.qzkh")), "the good shape", TRender::Always).status, 0);

  // Missing, or a folder of that name: the button has no outline, and says so.
  for (const char* name : {"missing.qzkh", "folder.qzkh"}) {
    fs::create_directories(Path("BShapes/folder.qzkh"));
    const TOutcome o = Check(Write("works/other-shape.qznr", Work(name)), name, TRender::Always);
    EXPECT_EQ(o.status, 0);
    EXPECT_NE(o.err.find("Cannot find the shape file " + std::string(name)), std::string::npos) << o.err;
  }

  // The build is abandoned naming the file; zeros are a valid shape of no points.
  for (const auto& [what, bytes] : Damages(good)) {
    Write("BShapes/bad.qzkh", bytes);
    const TOutcome o = Check(work, "shape " + what);
    if (what.starts_with("cut")) { EXPECT_EQ(o.status, 1) << what; }
    if (what == "zeros") { EXPECT_EQ(o.status, 0); }
    if (o.status == 1) { EXPECT_NE(o.err.find("Cannot read shape file " + Path("BShapes/bad.qzkh")), std::string::npos) << o.err; }
  }

  // A file of a gigabyte behind a good shape.
  Write("BShapes/bad.qzkh", good);
  fs::resize_file(Path("BShapes/bad.qzkh"), uintmax_t(1) << 30);
  EXPECT_EQ(Check(work, "a 1 GB shape file").status, 0);
}

// Damaged texture files: the design is drawn without that texture and the file is
// named in a warning; exit 0 always. (Each decoder meets every damage and hostile size
// in its own tests and fuzz target; here the message and the exit, once a kind.)
class CliBadTexture : public CliBadInput {
 protected:
  static void CheckTexture(const std::string& ext, const Bytes& good) {
    const std::string goodPath = Write("Textures/good" + ext, good);
    const TOutcome o = Check(Write("works/tex.qznr", Work("", goodPath, "good" + ext)), "good " + ext, TRender::Always);
    EXPECT_EQ(o.status, 0);
    EXPECT_EQ(o.err, "");
    for (const auto& [what, bytes] : {std::pair{std::string("cut short"), good.substr(0, good.size() / 2)},
                                      {"garbage", Garbage(good.size() + 100)}}) {
      // The text names the texture by path, the button by bare name in Textures/.
      const std::string path = Write("Textures/bad" + ext, bytes);
      const TOutcome d = Check(Write("works/tex.qznr", Work("", path, "bad" + ext)), ext + " " + what,
                               what == "garbage" ? TRender::Always : TRender::OnRefusal);
      EXPECT_EQ(d.status, 0);
      EXPECT_NE(d.err.find("Error loading file: " + path), std::string::npos) << d.err;
    }
  }

  static TBitmap Picture() {
    TBitmap picture(24, 16);
    for (int y = 0; y < 16; ++y)
      for (int x = 0; x < 24; ++x) picture.SetPixel(x, y, RGBToPixel(x * 10, y * 15, 128));
    return picture;
  }
};

TEST_F(CliBadTexture, Bmp) {
  CheckTexture(".bmp", FromVector(EncodeBmp24(Picture())));
}

TEST_F(CliBadTexture, Gif) {
  std::vector<uint8_t> indices(24 * 16);
  for (size_t i = 0; i < indices.size(); ++i) indices[i] = static_cast<uint8_t>(i % 4);
  const Bytes good = FromVector(
      test::MakeTestGif({24, 16, 0, {0xFF0000, 0x00FF00, 0x0000FF, 0}, {{0, 0, 24, 16, false, {}, -1, indices}}}));
  CheckTexture(".gif", good);
}

TEST_F(CliBadTexture, Jpeg) { CheckTexture(".jpg", FromVector(EncodeJpeg(Picture(), 80))); }

// Buttons.dat only matters to the preview page: its other lines are kept, and one it
// cannot read is left alone and the export undone.
TEST_F(CliBadInput, DamagedSettingsFile) {
  const Bytes good =
      "[General]\r\nCurPath=/tmp\r\nJobFile=a.qznr\r\nTextureDir=\r\nTemplates=" + Path("Templates/") +
      "\r\nSaves=" + Path("works/") + "\r\nTemplateFile=\r\nImageFileName=button.gif\r\nButtonText=Go\r\n";
  const std::string work = Write("works/plain.qznr", Work());
  const std::string image = Path("out/page.gif");
  for (const auto& [what, bytes] : Damages(good)) {
    SCOPED_TRACE(what);
    Write("Buttons.dat", bytes);
    EXPECT_EQ(Check(work, "Buttons.dat " + what).status, 0);
    const test::TCliResult r = Run({"export", work, image, "--preview-page"});
    ExpectNoFault(r);
    EXPECT_EQ(r.status, 0) << r.err;
    const std::string after = test::ReadText(Path("Buttons.dat"));
    EXPECT_NE(after.find("\r\nImageFileName=page.gif\r\n"), std::string::npos);
    // Every line the export did not write is still there.
    std::istringstream lines(bytes);
    for (std::string line; std::getline(lines, line, '\n');) {
      if (!line.empty() && line.back() == '\r') line.pop_back();
      if (line.find('\r') != std::string::npos || line.find("Image") != std::string::npos ||
          line.find("ButtonText") != std::string::npos)
        continue;  // a lone CR splits a line; the export's own keys are replaced
      EXPECT_NE(after.find(line), std::string::npos) << "lost: " << line;
    }
    EXPECT_NE(test::ReadText(Path("html/preview.html")).find("page.gif"), std::string::npos);
    fs::remove(image);
  }
  Write("Buttons.dat", good);
  fs::resize_file(Path("Buttons.dat"), (64u << 20) + 1);
  EXPECT_EQ(Check(work, "Buttons.dat beyond 64 MB").status, 0);
  const test::TCliResult r = Run({"export", work, image, "--preview-page"});
  ExpectNoFault(r);
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find(Path("Buttons.dat")), std::string::npos) << r.err;
  EXPECT_FALSE(fs::exists(image));
  EXPECT_EQ(fs::file_size(Path("Buttons.dat")), (64u << 20) + 1);
  fs::remove(Path("Buttons.dat"));
}

}  // namespace
}  // namespace qz
