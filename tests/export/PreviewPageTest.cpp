#include "export/PreviewPage.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <set>

#include "base/IniFile.h"
#include "scene/MessageText.h"
#include "support/TempDir.h"

namespace qz {
namespace {

using test::ReadText;
using test::TTempDir;
using test::WriteText;

TEST(PreviewPage, FactsAreFormattedAsThePageExpects) {
  // Kilobytes in tenths, halves to even: 1000 bytes are 9.765 tenths, 52 are 0.507,
  // 256 are 2.5 (down to 2), 768 are 7.5 (up to 8).
  for (auto [bytes, text] : {std::pair{3584u, "3.5"}, {4096u, "4"}, {1000u, "1"}, {0u, "0"}, {52u, "0.1"}, {256u, "0.2"},
                             {768u, "0.8"}, {1u << 20, "1024"}})
    EXPECT_EQ(KilobyteText(bytes), text) << bytes;
  EXPECT_EQ(HtmlColor(0), "#000000");
  EXPECT_EQ(HtmlColor(RGBToColor(0x12, 0xAB, 0xEF)), "#12ABEF");
}

TEST(PreviewPage, PlaceholdersTakeTheFirstMatchingLineWithoutRegardToCase) {
  const std::string values = "[General]\r\nImageWidth=160\r\n[Other]\r\nimagewidth=999\r\nKey=a=b\r\n";
  EXPECT_EQ(ExpandTemplateText("w=`ImageWidth`;", values), "w=160;");
  EXPECT_EQ(ExpandTemplateText("w=`imagewidth`;", values), "w=160;");
  EXPECT_EQ(ExpandTemplateText("[`Key`]", values), "[a=b]");           // after the first "="
  EXPECT_EQ(ExpandTemplateText("[`Missing`]", values), "[]");
  EXPECT_EQ(ExpandTemplateText("a``b", values), "ab");                  // an empty name
  EXPECT_EQ(ExpandTemplateText("keep `ImageWidth", values), "keep ");   // unpaired: the rest is dropped
  EXPECT_EQ(ExpandTemplateText("<`Key`>", "Key=<script>&\"'\n"), "<&lt;script&gt;&amp;&quot;&#39;>");
}

TEST(PreviewPage, AMissingTemplateOrUnwritablePageIsAnErrorAndWritesNothing) {
  TTempDir dir;
  WriteText(dir.File("Buttons.dat"), "[General]\r\n");
  {
    TFileGroup files;
    EXPECT_THROW(ExpandTemplate(dir.File("html/preview.tml"), "[General]\r\n", dir.File("html/preview.html"), files),
                 std::runtime_error);
    EXPECT_THROW(WritePreviewData(dir.File("gone/Buttons.dat"), TExportFacts{}, files), std::runtime_error);
  }
  EXPECT_EQ(test::FileNames(dir.Path()), std::set<std::string>{"Buttons.dat"});  // no temporary file left
}

// The parts the program writes: the button in its link (none for an empty address),
// the picture's URL percent-encoded, the HTML to copy escaped twice over (it is shown
// as text and must itself be correct HTML), and only the facts of the picture's format.
TEST(PreviewPage, TheButtonItsUrlTheSnippetAndTheFactsOfItsFormat) {
  const std::string values = "ImageFileName=Go \"now\".gif\nImageFilePath=/tmp/a #1?%/\nImageWidth=80\n"
                             "ImageHeight=20\nTargetURL=http://x.org/?q=\"a\"&b\nButtonText=Go\nNumberOfColors= 16\n";
  EXPECT_EQ(ExpandTemplateText("`@ImageURL`", values), "file:///tmp/a%20%231%3F%25/Go%20%22now%22.gif");
  EXPECT_EQ(ExpandTemplateText("`@Button`", values),
            "<a href=\"http://x.org/?q=&quot;a&quot;&amp;b\"><img src=\"file:///tmp/a%20%231%3F%25/Go%20%22now%22.gif\" "
            "width=\"80\" height=\"20\" alt=\"Go\"></a>");
  EXPECT_EQ(ExpandTemplateText("`@Snippet`", values),
            "&lt;a href=&quot;http://x.org/?q=&amp;quot;a&amp;quot;&amp;amp;b&quot;&gt;&lt;img src=&quot;Go "
            "&amp;quot;now&amp;quot;.gif&quot; width=&quot;80&quot; height=&quot;20&quot; alt=&quot;Go&quot; "
            "border=&quot;0&quot;&gt;&lt;/a&gt;");
  EXPECT_NE(ExpandTemplateText("`@Facts`", values).find("GIF colours</th><td> 16"), std::string::npos);
  // A JPEG without a link: no GIF facts, no empty link.
  const std::string jpeg = "ImageFileName=Go.jpg\nImageFilePath=/tmp/\nButtonText=Go\n";
  EXPECT_EQ(ExpandTemplateText("`@Button`", jpeg).rfind("<img ", 0), 0u);
  EXPECT_EQ(ExpandTemplateText("`@Snippet`", jpeg).find("href"), std::string::npos);
  EXPECT_EQ(ExpandTemplateText("`@Facts`", jpeg).find("GIF"), std::string::npos);
  EXPECT_EQ(ExpandTemplateText("`@Other`", jpeg), "");
}

// An export with its hover and pressed pictures at twice the size: the page's button
// swaps them under the pointer, the pictures stand side by side, the snippet names
// them beside each other, and a later plain export takes the keys away again.
TEST(PreviewPage, HighDensityAndStatesReachTheButtonThePageAndTheSnippet) {
  const std::string values = "ImageFileName=My Go.png\nImageFilePath=/tmp/\nImageWidth=80\nImageHeight=20\n"
                             "ButtonText=Go\nTargetURL=http://x.org\nBgColor=#102030\nImageScale=2\nImageStates=1\n";
  const std::string button = ExpandTemplateText("`@Button`", values);
  EXPECT_NE(button.find(".qz-My-Go:hover .qz-hover"), std::string::npos) << button;
  EXPECT_NE(button.find("<a class=\"qz-My-Go\" href=\"http://x.org\"><img src=\"file:///tmp/My%20Go.png\""),
            std::string::npos) << button;
  EXPECT_NE(button.find("srcset=\"file:///tmp/My%20Go-pressed.png 1x, file:///tmp/My%20Go-pressed%402x.png 2x\""),
            std::string::npos) << button;
  const std::string samples = ExpandTemplateText("`@States`", values);
  for (const char* caption : {">Normal<", ">Hover<", ">Pressed<", "background: #102030"})
    EXPECT_NE(samples.find(caption), std::string::npos) << caption;
  const std::string snippet = ExpandTemplateText("`@Snippet`", values);
  EXPECT_NE(snippet.find("src=&quot;My Go-hover.png&quot;"), std::string::npos) << snippet;
  const std::string facts = ExpandTemplateText("`@Facts`", values);
  EXPECT_NE(facts.find("My Go@2x.png, 2 times the size"), std::string::npos) << facts;
  EXPECT_NE(facts.find("My Go.html"), std::string::npos) << facts;
  // Without them: no style, no srcset, no samples.
  const std::string plain = "ImageFileName=Go.png\nImageFilePath=/tmp/\n";
  EXPECT_EQ(ExpandTemplateText("`@Button``@States`", plain).find_first_of("{"), std::string::npos);
  EXPECT_EQ(ExpandTemplateText("`@Button`", plain).find("srcset"), std::string::npos);

  TTempDir dir;
  TExportFacts facts2;
  facts2.filePath = "/tmp/Go.png";
  facts2.scale = 3;
  facts2.states = true;
  TFileGroup files;
  WritePreviewData(dir.File("Buttons.dat"), facts2, files);
  files.Commit();
  EXPECT_NE(ReadText(dir.File("Buttons.dat")).find("ImageScale=3\r\nImageStates=1\r\n"), std::string::npos);
  facts2.scale = 1;
  facts2.states = false;
  TFileGroup again;
  WritePreviewData(dir.File("Buttons.dat"), facts2, again);
  again.Commit();
  EXPECT_EQ(ReadText(dir.File("Buttons.dat")).find("Image" "S"), std::string::npos);
  EXPECT_EQ(StatesSnippet(facts2).find("<a "), std::string::npos);  // no link: the pictures in a span
}

// A hostile template and values file: many placeholders over many lines, values
// longer than the INI reader returns, a page that would outgrow memory.
TEST(PreviewPage, HostileTemplatesAndValuesStayBounded) {
  std::string templ, values;
  for (int i = 0; i < 2000; ++i) {
    templ += "`Key" + std::to_string(i % 500) + "`";
    values += "key" + std::to_string(i) + "=" + std::to_string(i) + "\n";
  }
  values += "Key7=late\n";  // the first line of a name wins, whatever its case
  std::string expected;
  for (int i = 0; i < 2000; ++i) expected += std::to_string(i % 500);
  EXPECT_EQ(ExpandTemplateText(templ, values), expected);

  const std::string longValue(5000, 'x');
  EXPECT_EQ(ExpandTemplateText("`Long`", "Long=" + longValue), longValue.substr(0, TIniFile::MaxValueLength));

  std::string many;
  for (int i = 0; i < 30000; ++i) many += "`Big`";
  EXPECT_THROW(ExpandTemplateText(many, "Big=" + std::string(3000, '<')), std::runtime_error);
}

// What an export hands the page: the keys in their order with their exact forms after
// the settings already there, the message through each character's own code page, the
// page filled from them.
TEST(PreviewPage, AnExportsFactsGoIntoTheSettingsFileInOrder) {
  TTempDir dir;
  std::filesystem::create_directories(dir.Path() + "html");
  WriteText(dir.File("html/preview.tml"), "`ButtonText`|`NumberOfColors`|`TargetURL`|`ImageFileSize`");
  TMessageText message;
  TCharFormat cyrillic, western, symbol;
  cyrillic.Charset = 204;
  western.Charset = 0;
  symbol.Charset = 2;
  message.Append("\xC4", cyrillic);   // U+0414, Cyrillic De
  message.Append("\xC4", western);    // U+00C4, A-umlaut
  message.Append("<a", western);
  message.Append("\x41", symbol);     // a symbol font's own code: U+F041
  EXPECT_EQ(MessageToUtf8(message), "\xD0\x94\xC3\x84<a\xEF\x81\x81");

  TExportOptions options;
  options.Diffusion = " Floyd Steinberg";
  options.NumberOfColors = " 64";
  const TExportFacts facts = MakeExportFacts(dir.Path() + "Images/Go.png", 160, 40, options, 1000,
                                             RGBToColor(0, 0, 0), "https://example.org/?a=1&b=2", message, 32);
  EXPECT_EQ(MakeExportFacts("a.gif", 1, 1, options, 0, 0, "", message, 2).buttonText, "\xD0\x94\xC3\x84");  // what is built
  WriteText(dir.File("Buttons.dat"), "[General]\r\nJobFile=a.qznr\r\n");  // other settings stay
  TFileGroup files;
  WritePreviewPage(TFolders::InProgramFolder(dir.Path()), facts, files);
  EXPECT_EQ(ReadText(dir.File("Buttons.dat")), "[General]\r\nJobFile=a.qznr\r\n");  // not before the commit
  files.Commit();
  EXPECT_EQ(ReadText(dir.File("Buttons.dat")),
            "[General]\r\n"
            "JobFile=a.qznr\r\n"
            "ImageFileName=Go.png\r\n"
            "ImageFilePath=" + dir.Path() + "Images/\r\n"
            "ImageWidth=160\r\n"
            "ImageHeight=40\r\n"
            "ImageDiffusion= Floyd Steinberg\r\n"
            "ImageFileSize=1\r\n"
            "BgColor=#000000\r\n"
            "TargetURL=https://example.org/?a=1&b=2\r\n"
            "NumberOfColors= 64\r\n"
            "ButtonText=\xD0\x94\xC3\x84<a\xEF\x81\x81\r\n");
  EXPECT_EQ(ReadText(dir.File("html/preview.html")),
            "\xD0\x94\xC3\x84&lt;a\xEF\x81\x81| 64|https://example.org/?a=1&amp;b=2|1\r\n");
}

TEST(PreviewPage, OnlyTheSlashSeparatesTheFileNameFromItsFolder) {
  TTempDir dir;
  TExportFacts facts;
  facts.filePath = dir.Path() + "Images/back\\slash.gif";
  TFileGroup files;
  WritePreviewData(dir.File("Buttons.dat"), facts, files);
  files.Commit();
  TIniFile ini(dir.File("Buttons.dat"));
  EXPECT_EQ(ini.ReadString("General", "ImageFileName", ""), "back\\slash.gif");
  EXPECT_EQ(ini.ReadString("General", "ImageFilePath", ""), dir.Path() + "Images/");
}

// Characters outside every code page go into the page as they are, beyond the Basic
// Multilingual Plane too; the cut to the built characters counts characters, not bytes.
TEST(PreviewPage, TheMessageOfAnyScriptInUtf8CutAtTheBuiltCharacters) {
  TMessageText message;
  const TCharFormat western;
  message.Append("A", western);
  message.Append(TMessageText::MakeChar(U'\u65E5', western));
  message.Append(TMessageText::MakeChar(U'\U0001F600', western));
  message.Append("z", western);
  EXPECT_EQ(MessageToUtf8(message), "A\xE6\x97\xA5\xF0\x9F\x98\x80z");
  EXPECT_EQ(MessageToUtf8(message, 3), "A\xE6\x97\xA5\xF0\x9F\x98\x80");
  EXPECT_EQ(MessageToUtf8(message, 2), "A\xE6\x97\xA5");
  EXPECT_EQ(MessageToUtf8(message, 0), "");
  EXPECT_EQ(MessageToUtf8(message, -1), "");
}

TEST(PreviewPage, ACharsetBeyondAByteReadsAsTheWesternCodePage) {
  TMessageText message;
  TCharFormat odd;
  odd.Charset = 256 + 204;  // not Cyrillic
  message.Append("\xC4", odd);
  odd.Charset = -1;
  message.Append("\x80", odd);
  EXPECT_EQ(MessageToUtf8(message), "\xC3\x84\xE2\x82\xAC");
}

}  // namespace
}  // namespace qz
