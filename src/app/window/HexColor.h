// The background colour as six hexadecimal digits, red first ("FF8000" is orange),
// for the hex box of the Background tab. Colours are stored with red in the low byte.
//
//   std::string s = ColorToHex(Session->Params().BkgColor);
//   if (auto c = HexToColor(box)) Session->SetBackground(*c); else show the error
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "image/Bitmap.h"

namespace qz {

// Six upper-case digits: red, green, blue.
std::string ColorToHex(TColor color);

// Keeps only the hexadecimal digits of the text and reads them as one number, of
// which the low 24 bits are red (bits 16..23), green and blue: fewer than six digits
// fill from the blue end, so "FF" is pure blue. Nothing when no digit is left.
std::optional<TColor> HexToColor(std::string_view text);

}  // namespace qz
