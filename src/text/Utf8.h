// UTF-8, strictly: the command line's --text and the texts the program writes (the
// preview page, file names) are UTF-8, the message holds code points.
//
//   TUtf8Result r = DecodeUtf8("Caf\xC3\xA9");     // r.Text == U"Café", no r.Error
//   TUtf8Result bad = DecodeUtf8("\xC0\xAF");      // bad.Error->Offset == 0
//   std::string s;  AppendUtf8(s, U'\u65E5');      // "\xE6\x97\xA5"
//
// Refused, with the offset of the first byte of the sequence: a byte that cannot
// begin a sequence (a stray continuation byte, 0xF8..0xFF), a sequence cut short (by
// the end or by a byte that does not continue it), an overlong form (0xC0 0xAF for
// "/"), an encoded surrogate (U+D800..U+DFFF) and anything beyond U+10FFFF.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace qz {

struct TUtf8Error {
  size_t Offset = 0;    // the first byte of the bad sequence
  std::string Reason;   // "a truncated sequence", "an overlong form", ...
};

struct TUtf8Result {
  std::u32string Text;              // what was decoded before the error, or all of it
  std::optional<TUtf8Error> Error;  // the first fault, if any
};

TUtf8Result DecodeUtf8(std::string_view bytes);

// Appends u as UTF-8; a surrogate or a value beyond U+10FFFF (which no decoded text
// holds) is written as U+FFFD.
void AppendUtf8(std::string& out, char32_t u);
std::string ToUtf8(std::u32string_view text);

// "U+0041", "U+65E5", "U+1F600": at least four upper-case hexadecimal digits.
std::string CodePointName(char32_t u);
// The inverse for what a work file holds: "U+" (either case) and 1 to 6 hexadecimal
// digits naming a code point that is not a surrogate and not beyond U+10FFFF.
std::optional<char32_t> ParseCodePointName(std::string_view text);

}  // namespace qz
