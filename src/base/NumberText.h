// Numbers to and from text without the process locale: works and settings always
// use "." as the decimal separator, whatever the user's number format (Qt sets the
// C library locale from the environment, and a German one would write "0,5").
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace qz {

std::string IntToText(int64_t v);

// A 32-bit float widened to double and written in general format with at most 15
// significant digits: 1.0 -> "1", 450.0 -> "450", 0.3f -> "0.300000011920929".
std::string FloatToText(float v);

// Decimal with an optional sign; a value of three or more characters beginning
// "0x"/"0X", or one beginning "$", is hexadecimal. Surrounding blanks are allowed.
// Anything else (empty, trailing garbage, out of the int32 range) gives nothing.
std::optional<int32_t> TextToInt(std::string_view text);

// A decimal number with "." as separator (an exponent is accepted). Empty or
// unparsable text gives nothing.
std::optional<float> TextToFloat(std::string_view text);

// The value of a hexadecimal digit (either case), or -1 for any other character.
constexpr int HexDigitValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

}  // namespace qz
