// Damaged data files fed to quenzar-cli as a user could hand them over: works, the
// shape files and textures a work names, and Buttons.dat, each truncated, oversized,
// turned to garbage or given hostile values. Every run must end as the exit table
// says: 0 (warnings on standard error for what was dropped) or 1 with a clear
// message; never a signal, a sanitizer report or a hang.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>

#include "cli/RunCli.h"
#include "platform/BmpWriter.h"
#include "platform/JpegWriter.h"
#include "support/TestGif.h"

namespace qz {
namespace {

namespace fs = std::filesystem;
using Bytes = std::string;

constexpr int Hung = 124;             // the status `timeout` gives a run it stopped
constexpr int SanitizerReport = 86;   // what the sanitizers exit with (set below)
constexpr int TimeLimitSeconds = 120; // generous for a sanitizer build on a busy machine

// A program folder of its own (quenzar-cli, the installation files, BShapes/,
// Textures/ and Buttons.dat), so damaged shapes and settings never touch build/bin.
class CliBadInput : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    program_ = std::string(QZ_TEST_OUTPUT_DIR) + "/bad-input-" + std::to_string(::getpid()) + "/";
    fs::remove_all(program_);
    fs::create_directories(program_);
    fs::copy(std::string(QZ_SOURCE_DIR) + "/data", program_, fs::copy_options::recursive);
    fs::create_directories(program_ + "BShapes");
    fs::create_directories(program_ + "Textures");
    fs::create_directories(program_ + "works");
    fs::copy_file(QZ_CLI, program_ + "quenzar-cli");
  }
  static void TearDownTestSuite() { fs::remove_all(program_); }

  static std::string Path(const std::string& name) { return program_ + name; }
  static std::string Write(const std::string& name, const Bytes& bytes) {
    std::ofstream(Path(name), std::ios::binary | std::ios::trunc) << bytes;
    return Path(name);
  }

  // Runs the program folder's quenzar-cli within the time limit. Sanitizer reports
  // (of a QUENZAR_SANITIZE build) get a status of their own, so they cannot pass for
  // a clean exit 1.
  static test::TCliResult Run(const std::vector<std::string>& args) {
    const std::string env = "ASAN_OPTIONS=exitcode=86 UBSAN_OPTIONS=exitcode=86:print_stacktrace=1 LSAN_OPTIONS=" +
                            test::ShellQuote(std::string("exitcode=86:") + QZ_LSAN_OPTIONS);
    std::string cmd = env + " timeout -k 5 " + std::to_string(TimeLimitSeconds) + " " + test::ShellQuote(Path("quenzar-cli"));
    for (const std::string& a : args) cmd += " " + test::ShellQuote(a);
    const std::string errFile = Path("stderr.txt");
    cmd += " 2>" + test::ShellQuote(errFile);
    test::TCliResult r;
    std::FILE* p = ::popen(cmd.c_str(), "r");
    if (!p) return r;
    char buf[4096];
    size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, p)) > 0) r.out.append(buf, n);
    const int raw = ::pclose(p);
    r.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : 128 + WTERMSIG(raw);
    std::ifstream in(errFile);
    std::stringstream ss;
    ss << in.rdbuf();
    r.err = ss.str();
    return r;
  }

  // `info` of a work: 0 with the work's lines, or 1 with a message and nothing on
  // standard output. Gives the status.
  static int ExpectCleanInfo(const std::string& work, const std::string& what) {
    SCOPED_TRACE(what);
    const test::TCliResult r = Run({"info", work});
    EXPECT_NE(r.status, Hung) << "the run did not end";
    EXPECT_NE(r.status, SanitizerReport) << r.err;
    EXPECT_EQ(r.err.find("Sanitizer"), std::string::npos) << r.err;
    EXPECT_EQ(r.err.find("runtime error"), std::string::npos) << r.err;
    EXPECT_TRUE(r.status == 0 || r.status == 1) << "status " << r.status << "\n" << r.err;
    if (r.status == 0) {
      EXPECT_EQ(r.out.rfind("General.Version=1.3.5\n", 0), 0u) << r.out.substr(0, 200);
    } else {
      EXPECT_NE(r.err.find_first_not_of(" \n"), std::string::npos) << "exit 1 without a message";
      EXPECT_TRUE(r.out.empty()) << r.out.substr(0, 200);
    }
    return r.status;
  }

  static std::string program_;
};

std::string CliBadInput::program_;

// A work with three letters in different fonts, a shape file and two textures named
// by the caller (empty: none).
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

// The usual damages of a file: cut short at telling places, every byte garbage, a
// byte in seven flipped, all zeros.
std::vector<std::pair<std::string, Bytes>> Damages(const Bytes& good) {
  std::vector<std::pair<std::string, Bytes>> out;
  for (size_t cut : {size_t(0), size_t(1), size_t(10), size_t(30), size_t(48), size_t(60), good.size() / 2,
                     good.size() - 1})
    if (cut < good.size()) out.push_back({"cut at " + std::to_string(cut), good.substr(0, cut)});
  std::mt19937 random(20240611);
  Bytes garbage(good.size() + 100, '\0'), flipped = good;
  for (char& c : garbage) c = static_cast<char>(random());
  for (size_t i = 0; i < flipped.size(); i += 7) flipped[i] = static_cast<char>(flipped[i] ^ (1 << (random() % 8)));
  out.push_back({"garbage", garbage});
  out.push_back({"flipped bits", flipped});
  out.push_back({"zeros", Bytes(good.size(), '\0')});
  return out;
}

// Grows a file to size without writing its bytes (a sparse file).
void Oversize(const std::string& path, uintmax_t size) { fs::resize_file(path, size); }

Bytes FromVector(const std::vector<uint8_t>& v) { return Bytes(v.begin(), v.end()); }

TEST_F(CliBadInput, DamagedWorksLoadWhatParsesOrAreRefused) {
  const Bytes good = Work();
  EXPECT_EQ(ExpectCleanInfo(Write("works/good.qznr", good), "the good work"), 0);
  for (const auto& [what, bytes] : Damages(good)) ExpectCleanInfo(Write("works/damaged.qznr", bytes), what);

  // Too large to read: refused, saying why.
  const std::string huge = Write("works/huge.qznr", good);
  Oversize(huge, (64u << 20) + 1);
  EXPECT_EQ(ExpectCleanInfo(huge, "a work beyond 64 MB"), 1);
  EXPECT_NE(Run({"info", huge}).err.find("larger than 64 MB"), std::string::npos);

  // Hostile values: every one is kept or bounded where it is used.
  const char* const hostile[] = {
      "NLetters=2147483647", "NLetters=-2147483648", "SplPnt=2147483647", "TxtW=-2147483648", "TxtY=2147483647",
      "TexW=3.4028234e38", "TexH=-1e-45", "ColSplit=-99999", "GutLeft=2147483647", "Altitude=-2147483648",
  };
  for (const char* line : hostile) {
    Bytes work = good;
    work.insert(work.find("[Button]"), std::string(line) + "\r\n");
    ExpectCleanInfo(Write("works/hostile.qznr", work), line);
  }
  const char* const hostileRender[] = {"Distance=0", "Distance=-2147483648", "CnX=0", "CnZ=-1e30", "Y=0",
                                       "X=3.4e38", "Ax=nan", "ShadType=77", "RDelay=-1", "ViewSize=2147483647"};
  for (const char* line : hostileRender) {
    Bytes work = good;
    work.insert(work.find("[Light]"), std::string(line) + "\r\n");
    ExpectCleanInfo(Write("works/hostile.qznr", work), line);
  }
  const char* const hostileLetter[] = {"Size=2147483647", "Size=-2147483648", "Size=0", "Charset=-1",
                                       "Charset=99999", "Name=" /* empty face */, "Char="};
  for (const char* line : hostileLetter) {
    Bytes work = good;
    work.insert(work.find("[Letter 2]"), std::string(line) + "\r\n");
    ExpectCleanInfo(Write("works/hostile.qznr", work), line);
  }
  // A megabyte line, and lines ended by CR alone.
  ExpectCleanInfo(Write("works/long.qznr", good + "[Message]\r\nTexFile=" + Bytes(1 << 20, 'x') + "\r\n"), "long line");
  Bytes crOnly = good;
  for (char& c : crOnly)
    if (c == '\n') c = '\r';
  ExpectCleanInfo(Write("works/cr.qznr", crOnly), "CR line ends");
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
  EXPECT_EQ(ExpectCleanInfo(Write("works/shape.qznr", Work("good.qzkh")), "the good shape"), 0);
  ExpectCleanInfo(Write("works/shape.qznr", Work("missing.qzkh")), "a missing shape file");

  auto damaged = Damages(good);
  Bytes claims = good;
  claims.replace(4, 4, le32(100000));
  damaged.push_back({"100000 points claimed", claims});
  claims.replace(4, 4, le32(-1));
  damaged.push_back({"-1 points claimed", claims});
  Bytes control = good;
  control[48] = 0;
  damaged.push_back({"first point a control point", control});
  Bytes extreme = good;
  for (size_t at = 8; at < 24; at += 4) extreme.replace(at, 4, le32(at % 8 ? INT32_MIN : INT32_MAX));
  damaged.push_back({"extreme frame", extreme});
  for (const auto& [what, bytes] : damaged) {
    Write("BShapes/bad.qzkh", bytes);
    ExpectCleanInfo(Write("works/shape.qznr", Work("bad.qzkh")), "shape " + what);
  }
  Write("BShapes/huge.qzkh", good);
  Oversize(Path("BShapes/huge.qzkh"), uintmax_t(1) << 30);
  ExpectCleanInfo(Write("works/shape.qznr", Work("huge.qzkh")), "a 1 GB shape file");
  fs::create_directories(Path("BShapes/folder.qzkh"));
  ExpectCleanInfo(Write("works/shape.qznr", Work("folder.qzkh")), "a folder named like a shape");
}

TEST_F(CliBadInput, DamagedTexturesOfAWork) {
  TBitmap picture(24, 16);
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 24; ++x) picture.SetPixel(x, y, RGBToPixel(x * 10, y * 15, 128));
  std::vector<uint8_t> indices(24 * 16);
  for (size_t i = 0; i < indices.size(); ++i) indices[i] = static_cast<uint8_t>(i % 4);
  const std::pair<std::string, Bytes> textures[] = {
      {".bmp", FromVector(EncodeBmp24(picture))},
      {".jpg", FromVector(EncodeJpeg(picture, 80))},
      {".gif", FromVector(test::MakeTestGif({24, 16, 0, {0xFF0000, 0x00FF00, 0x0000FF, 0}, {{0, 0, 24, 16, false, {}, -1, indices}}}))},
  };
  for (const auto& [ext, good] : textures) {
    const std::string goodPath = Write("Textures/good" + ext, good);
    EXPECT_EQ(ExpectCleanInfo(Write("works/tex.qznr", Work("", goodPath, "good" + ext)), "good " + ext), 0);
    for (const auto& [what, bytes] : Damages(good)) {
      // The text names the texture by path, the button by bare name in Textures/.
      const std::string path = Write("Textures/bad" + ext, bytes);
      ExpectCleanInfo(Write("works/tex.qznr", Work("", path, "bad" + ext)), ext + " " + what);
    }
    const std::string huge = Write("Textures/huge" + ext, good);
    Oversize(huge, (uintmax_t(320) << 20) + 1);
    ExpectCleanInfo(Write("works/tex.qznr", Work("", huge, "huge" + ext)), ext + " beyond 320 MB");
  }
  // Pictures whose headers claim sizes no texture may have.
  Bytes bmp = textures[0].second;
  bmp.replace(18, 8, Bytes("\xA0\x86\x01\x00\xA0\x86\x01\x00", 8));  // 100000 x 100000
  ExpectCleanInfo(Write("works/tex.qznr", Work("", Write("Textures/wide.bmp", bmp))), "a BMP of 100000 x 100000");
  Bytes gif = textures[2].second;
  gif.replace(6, 4, Bytes("\xFF\xFF\xFF\xFF", 4));  // a 65535 x 65535 screen
  ExpectCleanInfo(Write("works/tex.qznr", Work("", Write("Textures/wide.gif", gif))), "a GIF of 65535 x 65535");
  // A texture that is a folder, and one of a kind the program does not read.
  fs::create_directories(Path("Textures/folder.jpg"));
  ExpectCleanInfo(Write("works/tex.qznr", Work("", Path("Textures/folder.jpg"))), "a folder named like a texture");
  ExpectCleanInfo(Write("works/tex.qznr", Work("", Write("Textures/picture.png", "\x89PNG\r\n"))), "a PNG texture");
}

TEST_F(CliBadInput, DamagedSettingsFile) {
  const Bytes good =
      "[General]\r\nCurPath=/tmp\r\nJobFile=a.qznr\r\nTextureDir=\r\nTemplates=" + Path("Templates/") +
      "\r\nSaves=" + Path("works/") + "\r\nTemplateFile=\r\nImageFileName=button.gif\r\nButtonText=Go\r\n";
  const std::string work = Write("works/plain.qznr", Work());
  for (const auto& [what, bytes] : Damages(good)) {
    Write("Buttons.dat", bytes);
    EXPECT_EQ(ExpectCleanInfo(work, "Buttons.dat " + what), 0);
  }
  Write("Buttons.dat", good);
  Oversize(Path("Buttons.dat"), (64u << 20) + 1);
  EXPECT_EQ(ExpectCleanInfo(work, "Buttons.dat beyond 64 MB"), 0);
  fs::remove(Path("Buttons.dat"));
}

}  // namespace
}  // namespace qz
