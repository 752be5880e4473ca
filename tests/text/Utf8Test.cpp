#include "text/Utf8.h"

#include <gtest/gtest.h>

namespace qz {
namespace {

// Where decoding stops and why, or "" for a whole decode.
std::string Fault(const std::string& bytes) {
  const TUtf8Result r = DecodeUtf8(bytes);
  return r.Error ? r.Error->Reason + " at " + std::to_string(r.Error->Offset) : "";
}

TEST(Utf8, EveryLengthDecodesAndEncodesBackToItsBytes) {
  const std::string bytes = "A\xC3\xA9\xE6\x97\xA5\xF0\x9F\x98\x80\xF4\x8F\xBF\xBF";  // 1 to 4 bytes, U+10FFFF last
  const TUtf8Result r = DecodeUtf8(bytes);
  EXPECT_FALSE(r.Error);
  EXPECT_EQ(r.Text, std::u32string(U"A\u00E9\u65E5\U0001F600\U0010FFFF"));
  EXPECT_EQ(ToUtf8(r.Text), bytes);
  // The smallest of each length is no overlong form; a zero byte is a character.
  EXPECT_EQ(DecodeUtf8(std::string("\xC2\x80\xE0\xA0\x80\xF0\x90\x80\x80\0", 10)).Text, std::u32string(U"\u0080\u0800\U00010000", 3) + U'\0');
}

TEST(Utf8, FaultsAreNamedAtTheFirstByteOfTheirSequence) {
  EXPECT_EQ(Fault("ab\xC0\xAF"), "an overlong form at 2");            // "/" in two bytes
  EXPECT_EQ(Fault("\xE0\x80\xAF"), "an overlong form at 0");          // in three
  EXPECT_EQ(Fault("\xF0\x8F\xBF\xBF"), "an overlong form at 0");      // U+FFFF in four
  EXPECT_EQ(Fault("x\xED\xA0\x80"), "an encoded surrogate at 1");     // U+D800
  EXPECT_EQ(Fault("\xED\xBF\xBF"), "an encoded surrogate at 0");      // U+DFFF
  EXPECT_EQ(Fault("\xF4\x90\x80\x80"), "a code point beyond U+10FFFF at 0");
  EXPECT_EQ(Fault("Caf\xC3"), "a truncated sequence at 3");           // cut by the end
  EXPECT_EQ(Fault("\xE6\x97z"), "a truncated sequence at 0");         // cut by a byte that does not continue it
  EXPECT_EQ(Fault("\xE9t\xE9"), "a truncated sequence at 0");         // Latin-1, not UTF-8
  EXPECT_EQ(Fault("ok\x80"), "a stray continuation byte at 2");
  EXPECT_EQ(Fault("\xF8\x88\x80\x80\x80"), "a byte that no UTF-8 sequence begins with at 0");
  EXPECT_EQ(Fault("\xFF"), "a byte that no UTF-8 sequence begins with at 0");
  // What came before the fault is kept.
  EXPECT_EQ(DecodeUtf8("ab\xC0\xAF").Text, U"ab");
}

TEST(Utf8, CodePointNamesAsWorkFilesHoldThem) {
  EXPECT_EQ(CodePointName(U'A'), "U+0041");
  EXPECT_EQ(CodePointName(U'\u65E5'), "U+65E5");
  EXPECT_EQ(CodePointName(U'\U0001F600'), "U+1F600");
  EXPECT_EQ(ParseCodePointName("U+65E5"), U'\u65E5');
  EXPECT_EQ(ParseCodePointName("u+1f600"), U'\U0001F600');
  EXPECT_EQ(ParseCodePointName("U+10FFFF"), U'\U0010FFFF');
  for (const char* bad : {"", "U+", "65E5", "U+65G5", "U+D800", "U+110000", "U+000000041", "U-41", " U+41"})
    EXPECT_FALSE(ParseCodePointName(bad)) << bad;
}

}  // namespace
}  // namespace qz
