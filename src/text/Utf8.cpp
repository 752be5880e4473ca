#include "text/Utf8.h"

namespace qz {

namespace {

constexpr char32_t MaxCodePoint = 0x10FFFF;
constexpr char32_t Replacement = 0xFFFD;

bool IsSurrogate(char32_t u) { return u >= 0xD800 && u <= 0xDFFF; }

// What a lead byte announces: the sequence's length and the smallest code point that
// may use that length (anything below is overlong). Length 0: not a lead byte.
struct TLead {
  int Length;
  char32_t Bits;
  char32_t Smallest;
};

TLead LeadOf(unsigned char b) {
  if (b < 0x80) return {1, b, 0};
  if (b < 0xC0) return {0, 0, 0};  // a continuation byte
  if (b < 0xE0) return {2, b & 0x1Fu, 0x80};
  if (b < 0xF0) return {3, b & 0x0Fu, 0x800};
  if (b < 0xF8) return {4, b & 0x07u, 0x10000};
  return {0, 0, 0};
}

}  // namespace

TUtf8Result DecodeUtf8(std::string_view bytes) {
  TUtf8Result r;
  size_t i = 0;
  auto fail = [&](const char* reason) {
    r.Error = TUtf8Error{i, reason};
    return r;
  };
  while (i < bytes.size()) {
    const TLead lead = LeadOf(static_cast<unsigned char>(bytes[i]));
    if (lead.Length == 0)
      return fail((static_cast<unsigned char>(bytes[i]) & 0xC0) == 0x80 ? "a stray continuation byte"
                                                                          : "a byte that no UTF-8 sequence begins with");
    char32_t u = lead.Bits;
    for (int k = 1; k < lead.Length; ++k) {
      if (i + k >= bytes.size() || (static_cast<unsigned char>(bytes[i + k]) & 0xC0) != 0x80)
        return fail("a truncated sequence");
      u = (u << 6) | (static_cast<unsigned char>(bytes[i + k]) & 0x3Fu);
    }
    if (u < lead.Smallest) return fail("an overlong form");
    if (IsSurrogate(u)) return fail("an encoded surrogate");
    if (u > MaxCodePoint) return fail("a code point beyond U+10FFFF");
    r.Text += u;
    i += static_cast<size_t>(lead.Length);
  }
  return r;
}

void AppendUtf8(std::string& out, char32_t u) {
  if (IsSurrogate(u) || u > MaxCodePoint) u = Replacement;
  auto put = [&](char32_t v) { out += static_cast<char>(v); };
  if (u < 0x80) {
    put(u);
  } else if (u < 0x800) {
    put(0xC0 | (u >> 6));
    put(0x80 | (u & 0x3F));
  } else if (u < 0x10000) {
    put(0xE0 | (u >> 12));
    put(0x80 | ((u >> 6) & 0x3F));
    put(0x80 | (u & 0x3F));
  } else {
    put(0xF0 | (u >> 18));
    put(0x80 | ((u >> 12) & 0x3F));
    put(0x80 | ((u >> 6) & 0x3F));
    put(0x80 | (u & 0x3F));
  }
}

std::string ToUtf8(std::u32string_view text) {
  std::string out;
  for (char32_t u : text) AppendUtf8(out, u);
  return out;
}

std::string CodePointName(char32_t u) {
  static const char Hex[] = "0123456789ABCDEF";
  std::string digits;
  for (char32_t v = u; v != 0 || digits.size() < 4; v >>= 4) digits.insert(digits.begin(), Hex[v & 0xF]);
  return "U+" + digits;
}

std::optional<char32_t> ParseCodePointName(std::string_view text) {
  if (text.size() < 3 || text.size() > 8 || (text[0] != 'U' && text[0] != 'u') || text[1] != '+') return std::nullopt;
  char32_t u = 0;
  for (char c : text.substr(2)) {
    int digit;
    if (c >= '0' && c <= '9') digit = c - '0';
    else if (c >= 'A' && c <= 'F') digit = c - 'A' + 10;
    else if (c >= 'a' && c <= 'f') digit = c - 'a' + 10;
    else return std::nullopt;
    u = u * 16 + static_cast<char32_t>(digit);
  }
  if (IsSurrogate(u) || u > MaxCodePoint) return std::nullopt;
  return u;
}

}  // namespace qz
