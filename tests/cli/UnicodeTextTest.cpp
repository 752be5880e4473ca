// Text in any language through quenzar-cli: --text read as UTF-8, letters of every
// script shaped as HarfBuzz shapes them, a message typed in the designer and the same
// message given on the command line alike, and works of mixed scripts saved whole.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <set>
#include <sstream>

#include "cli/RunCli.h"
#include "support/TempDir.h"

namespace qz {
namespace {

namespace fs = std::filesystem;
using test::RunCli;

const std::string Factory = std::string(QZ_PROGRAM_DIR) + "default.dat";

// The factory design with [Message] Shaping as given (none: the key left out).
std::string FactoryWith(const std::string& name, const char* shaping) {
  std::string text = test::ReadText(Factory);
  if (shaping) text.replace(text.find("[Message]\r\n"), 11, std::string("[Message]\r\nShaping=") + shaping + "\r\n");
  test::WriteText(test::OutputPath(name), text);
  return test::OutputPath(name);
}

// The values of info's lines "<prefix><i>.<key>=", in letter order.
std::vector<std::string> LetterValues(const std::string& info, const std::string& key) {
  std::vector<std::string> values;
  std::istringstream lines(info);
  for (std::string line; std::getline(lines, line);) {
    const size_t dot = line.find('.'), eq = line.find('=');
    if (line.rfind("Letter", 0) == 0 && line[6] != ' ' && dot < eq && line.substr(dot + 1, eq - dot - 1) == key)
      values.push_back(line.substr(eq + 1));
  }
  return values;
}

std::string FontPath(const std::string& file) {
  for (const auto& e : fs::recursive_directory_iterator("/usr/share/fonts"))
    if (e.path().filename() == file) return e.path().string();
  return {};
}

TEST(CliUnicode, EveryScriptIsShapedAsHbShapeShapesItInVisualOrder) {
  const std::string work = FactoryWith("unicode-shaped.qznr", "1");
  for (const char* text : {"Ωμέγα", "Привет", "שלום", "مرحبا", "नमस्ते", "日本語"}) {
    const auto r = RunCli({"info", work, "--text", text});
    ASSERT_EQ(r.status, 0) << text << r.err;
    const std::vector<std::string> glyphs = LetterValues(r.out, "Glyph"), fonts = LetterValues(r.out, "Font");
    ASSERT_FALSE(fonts.empty()) << text;
    for (const std::string& f : fonts) EXPECT_EQ(f, fonts[0]) << text;  // one face draws the word
    std::string ours = "[";
    for (const std::string& g : glyphs) ours += (ours.size() > 1 ? "|" : "") + g;
    ours += "]";
    const std::string path = FontPath(fonts[0]);
    ASSERT_FALSE(path.empty()) << fonts[0];
    const auto hb = test::RunCliAt("hb-shape", {"--no-glyph-names", "--no-positions", "--no-clusters", path, text});
    ASSERT_EQ(hb.status, 0) << "hb-shape (libharfbuzz-bin): " << hb.err;
    EXPECT_EQ(ours + "\n", hb.out) << text << " in " << fonts[0];
    // Each script but Latin's comes from a fallback face, said once.
    EXPECT_EQ(r.err.find("drawn in") != std::string::npos, fonts[0].rfind("Liberation", 0) != 0) << r.err;
  }
}

TEST(CliUnicode, TextGivenInUtf8RendersAsTheSameTextTypedInTheDesigner) {
  // The designer keeps é as code 0xE9 of the first letter's charset.
  for (const char* shaping : {static_cast<const char*>(nullptr), "1"}) {
    std::string typed = test::ReadText(FactoryWith("unicode-cafe.qznr", shaping));
    typed.replace(typed.find("NLetters=7"), 10, "NLetters=4");
    for (auto [section, ch] : std::map<std::string, std::string>{{"[Letter 1]", "C"}, {"[Letter 2]", "a"},
                                                                  {"[Letter 3]", "f"}, {"[Letter 4]", "\xE9"}}) {
      const size_t at = typed.find("Char=", typed.find(section)) + 5;
      typed.replace(at, typed.find("\r\n", at) - at, ch);
    }
    test::WriteText(test::OutputPath("unicode-cafe-typed.qznr"), typed);
    ASSERT_EQ(RunCli({"render", test::OutputPath("unicode-cafe-typed.qznr"), test::OutputPath("cafe-typed.bmp")}).status, 0);
    const auto r = RunCli({"render", test::OutputPath("unicode-cafe.qznr"), test::OutputPath("cafe-text.bmp"), "--text", "Café"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(test::ReadText(test::OutputPath("cafe-text.bmp")), test::ReadText(test::OutputPath("cafe-typed.bmp")))
        << (shaping ? "shaped" : "8-bit");
  }
}

TEST(CliUnicode, InvalidUtf8IsAUsageErrorNamingTheByte) {
  const std::string out = test::OutputPath("never.png");
  for (std::vector<std::string> args : std::vector<std::vector<std::string>>{
           {"info", Factory}, {"render", Factory, out}, {"export", Factory, out}, {"save", Factory, test::OutputPath("never.qznr")}}) {
    args.insert(args.end(), {"--text", "Caf\xE9"});  // Latin-1, not UTF-8
    const auto r = RunCli(args);
    EXPECT_EQ(r.status, 2) << args[0];
    EXPECT_NE(r.err.find("--text is not valid UTF-8: a truncated sequence at byte 3"), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("usage"), std::string::npos);
  }
  EXPECT_FALSE(fs::exists(out) || fs::exists(test::OutputPath("never.qznr")));
}

TEST(CliUnicode, AWorkOfMixedScriptsIsSavedAndLoadsBackWhole) {
  const std::string first = test::OutputPath("mixed-1.qznr"), second = test::OutputPath("mixed-2.qznr");
  fs::remove(first);
  auto r = RunCli({"save", FactoryWith("unicode-mixed.qznr", "1"), first, "--text", "Go Привет مرحبا 日本語"});
  ASSERT_EQ(r.status, 0) << r.err;
  const std::string saved = test::ReadText(first);
  for (const char* part : {"NLetters=19\r\n", "Shaping=1\r\n", "Charset=204\r\n", "Charset=178\r\n", "Code=U+65E5\r\n",
                           "[IconInfo]\r\n"})
    EXPECT_NE(saved.find(part), std::string::npos) << part;
  // Loaded and saved again, the work is the same, its icon too (the icon's two
  // sections may trade places).
  r = RunCli({"save", first, second});
  ASSERT_EQ(r.status, 0) << r.err;
  const std::string again = test::ReadText(second);
  EXPECT_EQ(again.substr(0, again.find("[Icon")), saved.substr(0, saved.find("[Icon")));
  auto icon = [](const std::string& work) {
    const size_t at = work.find("[Icon]\r\n"), end = work.find("\r\n[", at);
    return work.substr(at, (end == std::string::npos ? work.size() - 2 : end) - at);
  };
  EXPECT_EQ(icon(again), icon(saved));
  // What the letters are is what info reports of the work as loaded.
  r = RunCli({"info", second});
  EXPECT_EQ(LetterValues(r.out, "Code").size(), 19u);
  EXPECT_EQ(LetterValues(r.out, "Code")[18], "U+8A9E");  // the ideographs stand rightmost
  // Refused input and an output that cannot be written end in 1, writing nothing.
  EXPECT_EQ(RunCli({"save", test::OutputPath("no-such-work.qznr"), second}).status, 1);
  const std::string missing = test::OutputPath("unicode-missing");
  fs::remove_all(missing);
  EXPECT_EQ(RunCli({"save", first, missing + "/folder/w.qznr"}).status, 1);
}

// A work made before shaping keeps its layout unless --shaping says otherwise: on, an
// Arabic word joins and stands right to left; off, a shaped work is laid out letter by
// letter again; save keeps the choice. A factory design begins a new design, laid out
// with shaping, as in the designer.
TEST(CliUnicode, ShapingIsTurnedOnAndOffFromTheCommandLine) {
  const std::string word = "سلام";
  auto glyphsAndCodes = [&](const std::string& work, std::vector<std::string> more) {
    std::vector<std::string> args{"info", work, "--text", word};
    args.insert(args.end(), more.begin(), more.end());
    const auto r = RunCli(args);
    EXPECT_EQ(r.status, 0) << r.err;
    return std::pair{LetterValues(r.out, "Glyph"), LetterValues(r.out, "Code")};
  };
  const std::string plain = FactoryWith("unicode-plain.qznr", nullptr);
  const auto [plainGlyphs, plainCodes] = glyphsAndCodes(plain, {});
  const auto [shapedGlyphs, shapedCodes] = glyphsAndCodes(plain, {"--shaping", "on"});
  EXPECT_EQ(glyphsAndCodes(Factory, {}).first, shapedGlyphs);
  EXPECT_EQ(glyphsAndCodes(Factory, {"--shaping", "off"}).first, plainGlyphs);
  ASSERT_EQ(plainCodes.size(), 4u);
  EXPECT_EQ(plainCodes.front(), "U+0633");   // message order
  ASSERT_FALSE(shapedCodes.empty());
  EXPECT_EQ(shapedCodes.front(), "U+0645");  // right to left: the last letter leftmost
  EXPECT_NE(shapedGlyphs, plainGlyphs);      // joined forms, not the isolated ones
  EXPECT_EQ(glyphsAndCodes(FactoryWith("unicode-shaping-off.qznr", "1"), {"--shaping", "off"}).first, plainGlyphs);

  const std::string saved = test::OutputPath("unicode-shaping-on.qznr");
  ASSERT_EQ(RunCli({"save", plain, saved, "--text", word, "--shaping", "on"}).status, 0);
  EXPECT_NE(test::ReadText(saved).find("Shaping=1\r\n"), std::string::npos);
  EXPECT_EQ(glyphsAndCodes(saved, {}).first, shapedGlyphs);

  const auto bad = RunCli({"export", Factory, test::OutputPath("never.png"), "--shaping", "yes"});
  EXPECT_EQ(bad.status, 2);
  EXPECT_NE(bad.err.find("--shaping takes on or off, not 'yes'"), std::string::npos) << bad.err;
}

// save replaces its file whole or not at all: a work marked read-only is refused and
// left byte for byte as it was, with no scrap of a temporary file beside it.
TEST(CliUnicode, ASaveThatCannotWriteLeavesTheWorkAsItWas) {
  test::TTempDir dir;
  const std::string locked = dir.File("locked.qznr");
  test::WriteText(locked, test::ReadText(Factory));
  fs::permissions(locked, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
  const auto r = RunCli({"save", Factory, locked, "--text", "Привет"});
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find("locked.qznr"), std::string::npos) << r.err;
  fs::permissions(locked, fs::perms::owner_write, fs::perm_options::add);
  EXPECT_EQ(test::ReadText(locked), test::ReadText(Factory));
  EXPECT_EQ(test::FileNames(dir.Path()), std::set<std::string>{"locked.qznr"});
}

}  // namespace
}  // namespace qz
