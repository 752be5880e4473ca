#include <gtest/gtest.h>

#include "platform/CodePages.h"

namespace qz {
namespace {

TEST(CodePages, CharsetsReadThroughTheirCodePages) {
  EXPECT_EQ(CodePageOfCharset(0), 1252);
  EXPECT_EQ(CodePageOfCharset(1), 1252);   // DEFAULT_CHARSET
  EXPECT_EQ(CodePageOfCharset(77), 1252);  // anything unknown
  EXPECT_EQ(CodePageOfCharset(222), 874);
  EXPECT_EQ(CodePageOfCharset(2), 0);

  EXPECT_EQ(CodeToUnicode('A', 204), U'A');
  EXPECT_EQ(CodeToUnicode(0x80, 0), U'\u20AC');  // euro sign
  EXPECT_EQ(CodeToUnicode(0xE4, 1), U'\u00E4');
  EXPECT_EQ(CodeToUnicode(0xE4, 204), U'\u0434');  // Cyrillic de
  EXPECT_EQ(CodeToUnicode(0xC1, 161), U'\u0391');  // Greek capital alpha
  EXPECT_EQ(CodeToUnicode(0xF0, 162), U'\u011F');  // Turkish g-breve
  EXPECT_EQ(CodeToUnicode(0xE0, 177), U'\u05D0');  // Hebrew alef
  EXPECT_EQ(CodeToUnicode(0xC7, 178), U'\u0627');  // Arabic alef
  EXPECT_EQ(CodeToUnicode(0xE8, 186), U'\u010D');  // Baltic c-caron
  EXPECT_EQ(CodeToUnicode(0xD2, 163), U'\u0309');  // Vietnamese hook above
  EXPECT_EQ(CodeToUnicode(0xA1, 222), U'\u0E01');  // Thai ko kai
  EXPECT_EQ(CodeToUnicode(0x8A, 238), U'\u0160');  // S-caron in 1250
  EXPECT_EQ(CodeToUnicode(0x41, 2), U'\uF041');    // symbol
}

TEST(CodePages, EveryCodeRoundTripsAndForeignCharactersAreRefused) {
  for (int charset : {0, 1, 2, 161, 162, 163, 177, 178, 186, 204, 222, 238}) {
    for (int code = 0; code < 256; ++code) {
      const char32_t u = CodeToUnicode(static_cast<uint8_t>(code), static_cast<uint8_t>(charset));
      const std::optional<uint8_t> back = UnicodeToCode(u, static_cast<uint8_t>(charset));
      ASSERT_TRUE(back.has_value()) << charset << " " << code;
      EXPECT_EQ(*back, code) << "charset " << charset;
    }
  }
  // An undefined code has its own private character and comes back.
  EXPECT_EQ(CodeToUnicode(0x81, 0), U'\uF781');
  EXPECT_EQ(UnicodeToCode(U'\uF781', 0), uint8_t{0x81});
  EXPECT_FALSE(UnicodeToCode(U'\uF780', 0).has_value());  // 0x80 is defined in 1252
  EXPECT_FALSE(UnicodeToCode(U'\u0434', 0).has_value());
  EXPECT_FALSE(UnicodeToCode(U'\u00E4', 204).has_value());
  EXPECT_EQ(UnicodeToCode(U'\u00E4', 238), uint8_t{0xE4});
  EXPECT_EQ(UnicodeToCode(U'\uF0E4', 2), uint8_t{0xE4});
}

}  // namespace
}  // namespace qz
