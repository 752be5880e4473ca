#include "scene/WorkFile.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <limits>
#include <sys/stat.h>

#include "scene/MessageText.h"
#include "support/MessageCollector.h"
#include "support/TempDir.h"

namespace qz {
namespace {

using test::ReadText;
using test::TTempDir;
using test::WriteText;

test::TMessageCollector quiet;  // loads whose messages the test does not look at

bool Load(const std::string& path, TParams& params, TMessageText& text, IMessageSink& messages = quiet) {
  return LoadWorkFile(path, params, text, messages);
}

// Every field of the file's tables, as the lines a save writes.
std::string Saved(const TParams& s, TMessageText& t) {
  TIniFile ini;
  SaveDesignToIni(s, t, ini);
  return ini.Text();
}

// A design where every field differs from its default, floats with awkward bits.
void Scramble(TParams& s) {
  s.SplPnt = 3; s.Type = 16; s.TxtW = 7; s.ButW = 33; s.ButY = -120; s.TxtY = 250;
  s.CnX = 451.25f; s.CnZ = 0.3f; s.A1 = 1.1f; s.A2 = 0.7f;
  s.Light.X = 0.1f; s.Light.Y = -0.2f; s.Light.Z = 1e-7f; s.Light.A = 3.4e38f; s.Light.Color = 0x123456;
  s.LoBright = 5; s.HiBright = 250; s.Brightness = 77;
  s.Message = TSideParams{0x010203, 0x040506, 0x070809, 17, 0, "text tex.jpg", 2.5f, 9.75f, true};
  s.Button = TSideParams{0x0A0B0C, 0x0D0E0F, 0x101112, 250, 100, "C:\\Tex\\wood.JPG", 10.0f, 1.5f, true};
  s.Render.X = -3.5f; s.Render.Y = 1234.5f; s.Render.Z = 0.125f; s.Ax = 1; s.Ay = 2; s.Az = 3;
  s.ShadType = 0; s.GutLeft = 1; s.GutTop = 2; s.GutRight = 3; s.GutBottom = 4;
  s.BkgColor = 0x00FF00; s.Distance = 999; s.Bright = 1; s.Contrast = 2; s.RDelay = 10;
  s.ExpWidth = 640; s.ExpHeight = 48; s.ViewSize = 90; s.HoldButtonSize = true;
  s.ButLeft = -10; s.ButTop = 20; s.ButRight = 30; s.ButBottom = -40; s.ShapeName = "ARROW.qzkh";
}

TEST(WorkFile, EveryFieldAndEveryCharacterSurvivesASaveAndLoad) {
  TTempDir dir;
  const std::string path = dir.File("w.qznr");
  TParams a;
  Scramble(a);
  TMessageText text;
  text.Append("Q", TCharFormat{"Times New Roman", 24, 0, true, false, true});
  text.Append(" ", TCharFormat{"Courier New", 9, 204, false, true, false});
  text.Append("=", TCharFormat{"Symbol", 40, 2, true, true, true});
  SaveWorkFile(path, a, text);

  TParams b;
  TMessageText back;
  ASSERT_TRUE(Load(path, b, back));
  EXPECT_EQ(Saved(b, back), Saved(a, text));
  EXPECT_EQ(back.Chars(), text.Chars());

  // The file itself: Windows line ends, the fixed keys first, blanks as one-blank values.
  const std::string file = ReadText(path);
  EXPECT_EQ(file.rfind("[General]\r\nVersion=1.3.5\r\nFileID=$010300FF\r\nExpWidth=640\r\n", 0), 0u);
  EXPECT_NE(file.find("[Letter 2]\r\nChar= \r\nName=Courier New\r\n"), std::string::npos);
  EXPECT_NE(file.find("CnZ=0.300000011920929\r\n"), std::string::npos);
  EXPECT_THROW(SaveWorkFile(dir.File("missing/folder/w.qznr"), a, text), std::runtime_error);
}

TEST(WorkFile, EmptyBlankAndShorterMessagesComeBackAsTheyWere) {
  TTempDir dir;
  const std::string path = dir.File("w.qznr");
  WriteText(path, "[Icon]\r\n1=FFD8\r\n");  // sections a save does not write stay
  TParams a;
  TMessageText empty, back, blanks, five, three;
  SaveWorkFile(path, a, empty);
  EXPECT_EQ(ReadText(path).find("[Letter"), std::string::npos);
  back.Append("old", back.DefaultFormat());
  TParams b;
  ASSERT_TRUE(Load(path, b, back));
  EXPECT_EQ(back.Length(), 0);
  EXPECT_EQ(Saved(b, back), Saved(a, empty));

  blanks.Append("   ", TCharFormat{"Arial", 18, 1, false, false, false});
  SaveWorkFile(path, a, blanks);
  ASSERT_TRUE(Load(path, b, back));
  EXPECT_EQ(back.Text(), "   ");

  // A shorter message over a longer one: the old letter sections stay, unread.
  five.Append("Hello", five.DefaultFormat());
  three.Append("Bye", three.DefaultFormat());
  SaveWorkFile(path, a, five);
  SaveWorkFile(path, a, three);
  const std::string file = ReadText(path);
  EXPECT_NE(file.find("[Letter 5]\r\nChar=o\r\n"), std::string::npos);
  EXPECT_NE(file.find("[Icon]\r\n1=FFD8\r\n"), std::string::npos);
  ASSERT_TRUE(Load(path, b, back));
  EXPECT_EQ(back.Text(), "Bye");
}

TEST(WorkFile, LettersOfAnyScriptAndTheShapingKeySurviveASaveAndLoad) {
  TTempDir dir;
  const std::string path = dir.File("w.qznr");
  TParams a;
  a.Shaping = true;
  TMessageText text;
  // Latin, Cyrillic, Arabic (code-page characters of three charsets), CJK and a
  // character beyond the Basic Multilingual Plane (held by their code points).
  ReplaceMessage(text, U"Go \u041F\u0440\u0438 \u0645\u0631\u062D\u0628\u0627 \u65E5\u672C\U00020B9F");
  SaveWorkFile(path, a, text);
  const std::string file = ReadText(path);
  EXPECT_NE(file.find("[Message]\r\nNLetters=16\r\n"), std::string::npos);
  EXPECT_NE(file.find("Altitude=10\r\nShaping=1\r\n"), std::string::npos);  // last of its section
  EXPECT_NE(file.find("[Letter 4]\r\nChar=\xCF\r\nName=Arial\r\nSize=18\r\nCharset=204\r\n"), std::string::npos);
  EXPECT_NE(file.find("[Letter 8]\r\nChar=\xE3\r\nName=Arial\r\nSize=18\r\nCharset=178\r\n"), std::string::npos);
  EXPECT_NE(file.find("[Letter 14]\r\nChar=?\r\nName=Arial\r\nSize=18\r\nCharset=178\r\nBold=0\r\nItalic=0\r\n"
                      "Underline=0\r\nCode=U+65E5\r\n"), std::string::npos);
  EXPECT_NE(file.find("Code=U+20B9F\r\n"), std::string::npos);
  EXPECT_NE(file.find("Underline=0\r\n[Letter 2]\r\nChar=o\r\n"), std::string::npos);  // no Code for a code

  TParams b;
  TMessageText back;
  ASSERT_TRUE(Load(path, b, back));
  EXPECT_EQ(back.Chars(), text.Chars());
  EXPECT_TRUE(b.Shaping);
  EXPECT_EQ(Saved(b, back), Saved(a, text));

  // Saved over with code-page letters and no shaping: no Code key and no Shaping key
  // is left to win on the next load.
  a.Shaping = false;
  ReplaceMessage(text, U"Sale on everything");
  SaveWorkFile(path, a, text);
  const std::string over = ReadText(path);
  EXPECT_EQ(over.find("Code="), std::string::npos);
  EXPECT_EQ(over.find("Shaping"), std::string::npos);
  b.Shaping = true;  // a design loaded over one with shaping takes the file's
  ASSERT_TRUE(Load(path, b, back));
  EXPECT_FALSE(b.Shaping);
  EXPECT_EQ(back.CodePoints(), U"Sale on everything");

  // By hand: a Code key wins over Char and becomes a code when the letter's code page
  // has it; one that names no character, or a control character, leaves Char.
  WriteText(path, "[General]\nVersion=1.3.5\n[Message]\nNLetters=4\nShaping=0\n[Letter 1]\nChar=?\nCode=u+e9\n"
                  "[Letter 2]\nChar=x\nCode=U+D800\n[Letter 3]\nChar=y\nCode=U+0009\n[Letter 4]\nChar=?\nCode=U+1F600\n");
  ASSERT_TRUE(Load(path, b, back));
  EXPECT_EQ(back.Text(), "\xE9xy?");
  EXPECT_EQ(back.CodePoints(), U"\u00E9xy\U0001F600");
  EXPECT_FALSE(b.Shaping);
}

TEST(WorkFile, HexadecimalColoursReadAndBadValuesKeepTheField) {
  TTempDir dir;
  WriteText(dir.File("hex.qznr"), "[General]\nVersion=1.3.5\n[Message]\nMColor=0xFF00\nBColor=$FF00\nTexW=2,5\n"
                                  "TxtW=abc\nHoldRatio=7\n[Button]\nType=0X7\nAltitude=0\n[Render]\nCnX=\n"
                                  "[Light]\na1=1.2\na2=0.8\nColor=0\n");
  TParams s;
  TMessageText t;
  ASSERT_TRUE(Load(dir.File("hex.qznr"), s, t));
  EXPECT_EQ(s.Message.MColor, 65280);
  EXPECT_EQ(s.Message.BColor, 65280);
  EXPECT_EQ(s.Type, 7);
  EXPECT_EQ(s.Message.TexW, 1.0f);  // a comma is not our separator
  EXPECT_EQ(s.TxtW, 10);
  EXPECT_TRUE(s.Message.HoldRatio);  // any non-zero value is true
  EXPECT_EQ(s.CnX, 450.0f);
  EXPECT_EQ(s.ButShadowX, 16);  // the load itself does not recompute (the session does)
}

TEST(WorkFile, RefusedVersionsAndFilesThatCannotBeOpenedChangeNothing) {
  TTempDir dir;
  std::vector<std::pair<std::string, std::string>> cases;  // path, the message it gives
  for (std::string version : {"1.3.4", "1.3.5a", "1.3.50", ""}) {
    const std::string path = dir.File("v" + version + ".qznr");
    WriteText(path, "[General]\nVersion=" + version + "\nExpWidth=1\n[Message]\nNLetters=1\n[Letter 1]\nChar=X\n");
    cases.push_back({path, "Invalid file version: " + version});
  }
  std::filesystem::create_directories(dir.File("folder.qznr"));
  ASSERT_EQ(::mkfifo(dir.File("pipe.qznr").c_str(), 0600), 0);  // no writer: opening it must not wait
  for (auto [path, why] : {std::pair{dir.File("does-not-exist.qznr"), "the file does not exist"},
                           {dir.File("folder.qznr"), "it is a folder"},
                           {dir.File("pipe.qznr"), "it is not a regular file (a device, pipe or socket)"},
                           {std::string("/dev/zero"), "it is not a regular file (a device, pipe or socket)"}})
    cases.push_back({path, "Cannot open the work " + path + ": " + why});
  for (const auto& [path, expected] : cases) {
    TParams s;
    test::TMessageCollector messages;
    TMessageText t;
    t.Append("keep", t.DefaultFormat());
    const std::string before = Saved(s, t);
    EXPECT_FALSE(Load(path, s, t, messages));
    EXPECT_EQ(messages.Texts, std::vector<std::string>{expected});
    EXPECT_EQ(t.Text(), "keep");
    EXPECT_EQ(Saved(s, t), before);
  }
}

// Found by fuzzing: a float read as the largest float was saved as
// 3.40282346638529e+38, just above it, which the next load refused.
TEST(WorkFile, TheLargestFloatSurvivesASaveAndLoad) {
  TTempDir dir;
  const std::string path = dir.File("max.qznr");
  WriteText(path, "[General]\r\nVersion=1.3.5\r\n[Message]\r\nTexW=3.4028234e38\r\n[Light]\r\nA=-3.4028235e38\r\n");
  TParams s;
  TMessageText t;
  ASSERT_TRUE(Load(path, s, t));
  EXPECT_EQ(s.Message.TexW, std::numeric_limits<float>::max());
  SaveWorkFile(path, s, t);
  TParams again;
  ASSERT_TRUE(Load(path, again, t));
  EXPECT_EQ(again.Message.TexW, std::numeric_limits<float>::max());
  EXPECT_EQ(again.Light.A, -std::numeric_limits<float>::max());
}

TEST(WorkFile, AFileTooLargeToReadIsRefusedSayingWhy) {
  TTempDir dir;
  const std::string path = dir.File("huge.qznr");
  WriteText(path, "[General]\nVersion=1.3.5\n");
  std::filesystem::resize_file(path, TIniFile::MaxFileBytes + 1);  // sparse: no disk used
  TParams s;
  test::TMessageCollector messages;
  TMessageText t;
  EXPECT_FALSE(Load(path, s, t, messages));
  EXPECT_EQ(messages.Texts, std::vector<std::string>{"Cannot open the work " + path + ": it is larger than 64 MB"});
}

TEST(WorkFile, HostileFilesLoadWhatParsesWithoutHarm) {
  TTempDir dir;
  const std::string path = dir.File("hostile.qznr");
  // NLetters of 2^31 - 1, thousands of letter sections, megabyte lines, binary junk.
  std::string text = "[General]\nVersion=1.3.5\n[Message]\nNLetters=2147483647\nTxtW=" + std::string(2'000'000, '9') + "\n";
  for (int i = 1; i <= 5000; ++i) text += "[Letter " + std::to_string(i) + "]\nChar=" + char('a' + i % 26) + "bc\n";
  WriteText(path, text + std::string("\0\xff\xfe[\n=\n[]\n", 11));
  TParams s;
  TMessageText t;
  ASSERT_TRUE(Load(path, s, t));
  EXPECT_EQ(t.Length(), MaxLoadedLetters);
  EXPECT_EQ(t.Text().substr(0, 3), "bcd");  // one character per section
  EXPECT_EQ(s.TxtW, 10);                     // unparsable: kept
  // Missing sections: the letters take the default font, the fields keep theirs.
  WriteText(path, "[General]\nVersion=1.3.5\n[Message]\nNLetters=2\n");
  ASSERT_TRUE(Load(path, s, t));
  EXPECT_EQ(t.Text(), "  ");
  EXPECT_EQ(t.At(0).Format, t.DefaultFormat());
  WriteText(path, "[General]\nVersion=1.3.5\n[Message]\nNLetters=-4\n");
  ASSERT_TRUE(Load(path, s, t));
  EXPECT_EQ(t.Length(), 0);
}

TEST(WorkFile, ReplaceMessageUsesTheFirstCharactersFontAndTheCharsetTypingGives) {
  TMessageText t, empty;
  t.Append("ab", TCharFormat{"Courier New", 30, 0, true, false, false});
  ReplaceMessage(t, U"Caf\u00E9");  // é is a code of the Western code page, as typed
  EXPECT_EQ(t.Text(), "Caf\xE9");
  EXPECT_EQ(t.At(3).Format, (TCharFormat{"Courier New", 30, 0, true, false, false}));
  // Ж takes Cyrillic, and what follows stays in it; 日 is in no code page.
  ReplaceMessage(t, U"\u0416x\u65E5");
  EXPECT_EQ(t.Text(), "\xC6x?");
  EXPECT_EQ(t.At(0).Format.Charset, 204);
  EXPECT_EQ(t.At(1).Format.Charset, 204);
  EXPECT_EQ(t.At(2).Wide, U'\u65E5');
  EXPECT_EQ(t.At(2).Format.Charset, 204);
  EXPECT_EQ(t.CodePoints(), U"\u0416x\u65E5");
  ReplaceMessage(empty, U"x");
  EXPECT_EQ(empty.At(0).Format, empty.DefaultFormat());
}

}  // namespace
}  // namespace qz
