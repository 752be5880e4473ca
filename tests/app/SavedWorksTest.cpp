// Every factory design and template opened in the designer (begun as a new design, as
// New and the welcome dialog begin them) and saved as a work, with its icon: the saved
// file is still the one whose checksum tests/data/saved-works.txt pins (the same fonts
// and JPEG encoder as golden.txt). The icon is the design's own render, whatever the
// window's size or font.
// To record the files anew after a deliberate change, run the test with
// QZ_UPDATE_GOLDEN=1 and say in the commit why the saved works changed.

#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

#include "WindowKit.h"

namespace qz {

namespace {

namespace fs = std::filesystem;

const std::string GoldenPath = std::string(QZ_SOURCE_DIR) + "/tests/data/saved-works.txt";

std::string Fnv1a(const std::string& bytes) {
  uint64_t h = 14695981039346656037ull;
  for (unsigned char b : bytes) h = (h ^ b) * 1099511628211ull;
  char text[17];
  std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(h));
  return text;
}

std::string ReadText(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

// The work's text with the program folder's path (which the texture paths carry, and
// which is new on every run) written as "<program>/".
std::string WithoutFolder(std::string text, const std::string& folder) {
  for (size_t at; (at = text.find(folder)) != std::string::npos;) text.replace(at, folder.size(), "<program>/");
  return text;
}

}  // namespace

class SavedWorksTest : public TWindowTestBase {
  Q_OBJECT

 private slots:
  void initTestCase() {
    QVERIFY(dir_.isValid());
    programDir_ = dir_.path().toStdString() + "/";
    // The factory files in a program folder of the test's own, from the source tree:
    // other tests put files of their own into the build's program folder for a while.
    for (const char* entry : {"default.dat", "Default.dat", "Templates", "Textures", "BShapes", "html"})
      fs::copy(std::string(QZ_SOURCE_DIR) + "/data/" + entry, programDir_ + entry, fs::copy_options::recursive);
  }

  void cleanup() { StopWatchingModals(); }

  void savedWorksMatchTheirCheckedInChecksums() {
    std::vector<std::string> designs = {"default.dat", "Default.dat"};
    for (const auto& e : fs::directory_iterator(programDir_ + "Templates")) designs.push_back("Templates/" + e.path().filename().string());
    std::sort(designs.begin(), designs.end());

    auto w = MakeWindow();
    std::map<std::string, std::string> actual;
    for (const std::string& design : designs) {
      w->LoadWork(programDir_ + design);
      const std::string saved = programDir_ + "saved-" + fs::path(design).stem().string();
      QVERIFY(Through<QFileDialog>([&] { Pick(*w, "&Save ..."); }, [&](QFileDialog* d) {
        TypeIntoFileDialog(d, QString::fromStdString(saved));
      }));
      QVERIFY2(messages_.Texts.empty(), messages_.Texts.empty() ? "" : messages_.Texts[0].c_str());
      const std::string text = ReadText(saved + ".qznr");
      QVERIFY(text.find("[IconInfo]") != std::string::npos);
      actual[design] = Fnv1a(WithoutFolder(text, programDir_));
    }

    if (std::getenv("QZ_UPDATE_GOLDEN")) {
      std::ofstream out(GoldenPath, std::ios::binary | std::ios::trunc);
      out << "# FNV-1a of the works the designer saves from each factory design (see tests/app/SavedWorksTest.cpp)\n";
      for (const auto& [design, hash] : actual) out << design << " = " << hash << "\n";
      QSKIP("wrote the checksums");
    }
    std::istringstream golden(ReadText(GoldenPath));
    std::map<std::string, std::string> expected;
    for (std::string line; std::getline(golden, line);)
      if (const size_t eq = line.find(" = "); !line.empty() && line[0] != '#' && eq != std::string::npos)
        expected[line.substr(0, eq)] = line.substr(eq + 3);
    QVERIFY2(!expected.empty(), "no checksums in tests/data/saved-works.txt");
    for (const auto& [design, hash] : actual) QCOMPARE(design + " = " + hash, design + " = " + expected[design]);
    QCOMPARE(actual.size(), expected.size());
  }
};

}  // namespace qz

QZ_WINDOW_TEST_MAIN(qz::SavedWorksTest)
#include "SavedWorksTest.moc"
