#include "app/window/HexColor.h"

#include <cstdint>

#include "base/NumberText.h"

namespace qz {

std::string ColorToHex(TColor color) {
  static constexpr char Digits[] = "0123456789ABCDEF";
  const uint32_t parts[3] = {ColorRed(color), ColorGreen(color), ColorBlue(color)};
  std::string hex;
  for (uint32_t p : parts) {
    hex += Digits[p >> 4];
    hex += Digits[p & 15];
  }
  return hex;
}

std::optional<TColor> HexToColor(std::string_view text) {
  bool anyDigit = false;
  uint32_t value = 0;
  for (char c : text) {
    const int d = HexDigitValue(c);
    if (d < 0) continue;
    anyDigit = true;
    // Only the low 24 bits count, so a long text cannot overflow.
    value = ((value << 4) | static_cast<uint32_t>(d)) & 0xFFFFFF;
  }
  if (!anyDigit) return std::nullopt;
  return RGBToColor(value >> 16, (value >> 8) & 0xFF, value & 0xFF);
}

}  // namespace qz
