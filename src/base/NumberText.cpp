#include "base/NumberText.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <limits>

namespace qz {

namespace {

std::string_view Trim(std::string_view s) {
  const char* blanks = " \t\r\n";
  size_t b = s.find_first_not_of(blanks);
  if (b == std::string_view::npos) return {};
  size_t e = s.find_last_not_of(blanks);
  return s.substr(b, e - b + 1);
}

std::optional<int32_t> ParseDigits(std::string_view digits, int base, bool negative) {
  if (digits.empty()) return std::nullopt;
  uint64_t v = 0;
  auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), v, base);
  if (ec != std::errc() || end != digits.data() + digits.size()) return std::nullopt;
  if (base == 10) {
    // Decimal must fit the signed range.
    if (!negative && v > static_cast<uint64_t>(std::numeric_limits<int32_t>::max())) return std::nullopt;
    if (negative && v > 2147483648ULL) return std::nullopt;
    return static_cast<int32_t>(negative ? -static_cast<int64_t>(v) : static_cast<int64_t>(v));
  }
  // Hexadecimal is a 32-bit pattern: $FFFFFFFF reads as -1.
  if (v > 0xFFFFFFFFULL) return std::nullopt;
  uint32_t bits = static_cast<uint32_t>(v);
  if (negative) bits = 0u - bits;
  return static_cast<int32_t>(bits);
}

}  // namespace

std::string IntToText(int64_t v) {
  char buf[32];
  auto [end, ec] = std::to_chars(buf, buf + sizeof buf, v);
  (void)ec;
  return std::string(buf, end);
}

std::string FloatToText(float f) {
  double v = f;
  if (std::isnan(v)) return "NAN";
  if (std::isinf(v)) return v > 0 ? "INF" : "-INF";
  char buf[64];
  // General format, 15 significant digits, like "%.15g" in the C locale.
  auto [end, ec] = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::general, 15);
  if (ec != std::errc()) return "0";
  return std::string(buf, end);
}

std::optional<int32_t> TextToInt(std::string_view text) {
  std::string_view s = Trim(text);
  if (s.empty()) return std::nullopt;
  bool negative = false;
  if (s[0] == '-' || s[0] == '+') {
    negative = s[0] == '-';
    s.remove_prefix(1);
  }
  if (!s.empty() && s[0] == '$') return ParseDigits(s.substr(1), 16, negative);
  if (s.size() >= 3 && s[0] == '0' && (s[1] == 'x' || s[1] == 'X')) return ParseDigits(s.substr(2), 16, negative);
  return ParseDigits(s, 10, negative);
}

std::optional<float> TextToFloat(std::string_view text) {
  std::string_view s = Trim(text);
  if (s.empty()) return std::nullopt;
  if (s[0] == '+') s.remove_prefix(1);
  double v = 0;
  auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), v, std::chars_format::general);
  if (ec != std::errc() || end != s.data() + s.size()) return std::nullopt;
  // Taken when it rounds to a finite float: up to half a step beyond the largest one.
  // The largest float itself is written with 15 digits as 3.40282346638529e+38, just
  // above it, and must read back as itself.
  constexpr double FloatRangeEnd = 0x1.ffffffp+127;  // FLT_MAX + half its last step
  if (!std::isfinite(v) || std::fabs(v) >= FloatRangeEnd) return std::nullopt;
  return static_cast<float>(v);
}

}  // namespace qz
