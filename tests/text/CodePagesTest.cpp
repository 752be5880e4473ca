#include "text/CodePages.h"

#include <gtest/gtest.h>

namespace qz {
namespace {

TEST(CodePages, CharsetsReadThroughTheirCodePages) {
  EXPECT_EQ(CodePageOfCharset(1), 1252);   // the default charset
  EXPECT_EQ(CodePageOfCharset(77), 1252);  // anything unknown
  EXPECT_EQ(CodePageOfCharset(2), 0);      // symbol: the font's own map
  // One letter of each table, so a table that is missing or swapped shows.
  const struct {
    uint8_t code, charset;
    char32_t unicode;
  } letters[] = {{'A', 204, U'A'},      {0x80, 0, U'\u20AC'},   {0xE4, 1, U'\u00E4'},   {0xE4, 204, U'\u0434'},
                 {0xC1, 161, U'\u0391'}, {0xF0, 162, U'\u011F'}, {0xE0, 177, U'\u05D0'}, {0xC7, 178, U'\u0627'},
                 {0xE8, 186, U'\u010D'}, {0xD2, 163, U'\u0309'}, {0xA1, 222, U'\u0E01'}, {0x8A, 238, U'\u0160'},
                 {0x41, 2, U'\uF041'},   {0x81, 0, U'\uF781'}};  // an undefined code: its own private character
  for (const auto& l : letters) EXPECT_EQ(CodeToUnicode(l.code, l.charset), l.unicode) << int(l.code) << " in " << int(l.charset);
}

TEST(CodePages, EveryCodeRoundTripsAndForeignCharactersAreRefused) {
  for (int charset : {0, 1, 2, 161, 162, 163, 177, 178, 186, 204, 222, 238})
    for (int code = 0; code < 256; ++code) {
      const char32_t u = CodeToUnicode(static_cast<uint8_t>(code), static_cast<uint8_t>(charset));
      ASSERT_EQ(UnicodeToCode(u, static_cast<uint8_t>(charset)), uint8_t(code)) << "charset " << charset;
    }
  EXPECT_FALSE(UnicodeToCode(U'\uF780', 0).has_value());  // 0x80 is defined in 1252
  EXPECT_FALSE(UnicodeToCode(U'\u0434', 0).has_value());
  EXPECT_FALSE(UnicodeToCode(U'\u00E4', 204).has_value());
  EXPECT_EQ(UnicodeToCode(U'\u00E4', 238), uint8_t{0xE4});
  EXPECT_EQ(UnicodeToCode(U'\uF0E4', 2), uint8_t{0xE4});
}

}  // namespace
}  // namespace qz
