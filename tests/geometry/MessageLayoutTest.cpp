// The message laid out as letters with the system's fonts: by the 8-bit rules with
// fallback faces and blanks, and shaped, in visual order, with the bevel's room only
// where letters do not join.
#include "geometry/MessageLayout.h"

#include <gtest/gtest.h>

#include "text/FontEngine.h"
#include "support/MessageCollector.h"

namespace qz {
namespace {

class TNoticeCollector : public test::TMessageCollector {
 public:
  void ShowNotice(const std::string& text) override { Notices.push_back(text); }
  std::vector<std::string> Notices;
};

struct MessageLayout : ::testing::Test {
  // Lays text out in Arial, 18 points read at 512, charset 1, each character as the
  // message holds it (a code of code page 1252, or its code point).
  void LayOut(const std::u32string& text, bool shaping) {
    std::vector<TLayoutChar> chars;
    for (char32_t u : text) {
      TLayoutChar c{u, UnicodeToCodeOf(u), {"Arial", 512, false, false, 1, {}}};
      chars.push_back(c);
    }
    letters.Clear();
    TGlyphReader reader(letters, 2, txtW, messages);
    LayOutMessage(chars, shaping, reader, {fonts, fonts, [this](const TFontRequest& f) { fonts.SelectFont(f); }},
                  messages);
  }
  static std::optional<uint8_t> UnicodeToCodeOf(char32_t u) { return u < 0x80 ? std::optional<uint8_t>(u) : std::nullopt; }

  std::u32string Codes() const {
    std::u32string codes;
    for (int i = 1; i <= letters.Count(); ++i) codes += letters[i].Code;
    return codes;
  }
  // The gap between the ink of letter i and of letter i + 1, in pixels.
  int Gap(int i) {
    TLetter a = letters[i], b = letters[i + 1];
    a.UpdateBounds();
    b.UpdateBounds();
    return b.Left - a.Right;
  }

  TFontEngine fonts;
  TLetters letters;
  TNoticeCollector messages;
  int32_t txtW = 10;
};

TEST_F(MessageLayout, ACharacterTheFontLacksIsDrawnInAnotherFaceOrLeftBlankAndSaidOnce) {
  LayOut(U"A\u05E9\u05E9\U0010FFFD!", false);
  ASSERT_EQ(letters.Count(), 5);
  EXPECT_EQ(Codes(), U"A\u05E9\u05E9\U0010FFFD!");
  EXPECT_EQ(letters[1].FontFile, "LiberationSans-Regular.ttf");
  EXPECT_NE(letters[2].FontFile, letters[1].FontFile);
  EXPECT_GT(letters[2].ContourCount, 0);
  EXPECT_EQ(letters[4].ContourCount, 0);  // a blank, as wide as the font's default glyph
  EXPECT_EQ(letters[4].FontFile, "LiberationSans-Regular.ttf");
  ASSERT_EQ(messages.Notices.size(), 1u);
  const std::string& notice = messages.Notices[0];
  EXPECT_EQ(notice.rfind("Arial has no U+05E9: drawn in ", 0), 0u) << notice;
  EXPECT_EQ(notice.substr(notice.find("; ")), "; No installed font has U+10FFFD: left blank");
  EXPECT_TRUE(messages.Texts.empty());

  // The blank keeps the place the default glyph took: "!" stands where it stood when
  // the character was drawn as the font's box.
  TGlyphMetrics box;
  fonts.SelectFont({"Arial", 512, false, false, 1, {}});
  fonts.GetGlyphOutlineOfIndex(0, box, 0, nullptr);
  const int32_t bangAfterBlank = letters[5].Contour(1).Points[0].x;
  LayOut(U"A\u05E9\u05E9x!", false);
  TGlyphMetrics x;
  fonts.SelectFont({"Arial", 512, false, false, 1, {}});
  fonts.GetGlyphOutline('x', x, 0, nullptr);
  EXPECT_EQ(bangAfterBlank - letters[5].Contour(1).Points[0].x, box.gmCellIncX - x.gmCellIncX);
}

TEST_F(MessageLayout, ShapedRightToLeftRunsStandInVisualOrder) {
  // Left to right as the paragraph begins; the Hebrew word reversed within it.
  LayOut(U"ab \u05E9\u05DC\u05D5\u05DD", true);
  EXPECT_EQ(Codes(), U"ab \u05DD\u05D5\u05DC\u05E9");
  EXPECT_GT(Gap(5), 0);  // and left to right on the line
  // A paragraph that begins right to left puts a Latin word after it on its left.
  LayOut(U"\u05E9\u05DC\u05D5\u05DD ab", true);
  EXPECT_EQ(Codes(), U"ab \u05DD\u05D5\u05DC\u05E9");
  // Without shaping the message stays in its order.
  LayOut(U"\u05E9\u05DC\u05D5\u05DD", false);
  EXPECT_EQ(Codes(), U"\u05E9\u05DC\u05D5\u05DD");
}

TEST_F(MessageLayout, TheBevelsRoomSeparatesLettersButNotTheLettersOfAJoinedWord) {
  // The gaps between the letters with no bevel and with a bevel 40 pixels wide.
  auto gaps = [this](const std::u32string& text, bool shaping, int32_t width) {
    txtW = width;
    LayOut(text, shaping);
    std::vector<int> g;
    for (int i = 1; i < letters.Count(); ++i) g.push_back(Gap(i));
    return g;
  };
  const std::u32string arabic = U"\u0645\u0631\u062D\u0628\u0627", hebrew = U"\u05E9\u05DC\u05D5\u05DD";
  EXPECT_EQ(gaps(arabic, true, 40), gaps(arabic, true, 0));  // the word's letters stay as the font joins them
  for (bool shaping : {true, false}) {  // letters that stand apart get 80 pixels more
    std::vector<int> wide = gaps(hebrew, shaping, 40), narrow = gaps(hebrew, shaping, 0);
    ASSERT_EQ(wide.size(), 3u);
    for (size_t i = 0; i < 3; ++i) EXPECT_EQ(wide[i] - narrow[i], 80) << shaping << i;
  }
}

}  // namespace
}  // namespace qz
