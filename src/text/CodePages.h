// Character sets of the message: every character is an 8-bit code plus the charset
// of its font, as in a work file. Its Unicode form comes from the Windows code page
// of that charset:
//
//   charset   0 ANSI     -> 1252      charset 162 Turkish    -> 1254
//   charset 238 E. Europe -> 1250     charset 177 Hebrew     -> 1255
//   charset 204 Cyrillic -> 1251      charset 178 Arabic     -> 1256
//   charset 161 Greek    -> 1253      charset 186 Baltic     -> 1257
//   charset 163 Vietnam. -> 1258      charset 222 Thai       -> 874
//   anything else (1 DEFAULT included) -> 1252
//
// Charset 2 (symbol) has no code page: a symbol font maps the code itself, in
// Unicode terms the private-use character 0xF000 + code.
//
//   char32_t u = CodeToUnicode(0xE4, 0);            // U+00E4, a-umlaut
//   std::optional<uint8_t> c = UnicodeToCode(u, 204); // nothing: not in Cyrillic 1251
#pragma once

#include <cstdint>
#include <optional>

namespace qz {

constexpr uint8_t SymbolCharset = 2;

// The Windows code page that serves a charset (2, symbol, gives 0: none).
int CodePageOfCharset(uint8_t charset);

// The character a code stands for. A code its code page leaves undefined (0x81 in
// 1252) gives the private-use character 0xF700 + code: no font has a glyph there, so
// it shows the font's default glyph, and it converts back to the same code.
char32_t CodeToUnicode(uint8_t code, uint8_t charset);

// The code of a character in a charset's code page; nothing when the code page has
// no such character. Symbol: 0xF000..0xF0FF and 0x00..0xFF both give their low byte.
std::optional<uint8_t> UnicodeToCode(char32_t u, uint8_t charset);

// The charset a character takes when it is typed into text of charset `current`
// (as a rich-text control switches with the keyboard's language): current itself
// when its code page holds the character, else the first of Western, Central
// European, Cyrillic, Greek, Turkish, Hebrew, Arabic, Baltic, Vietnamese and Thai
// whose code page does; nothing when no code page holds it.
std::optional<uint8_t> CharsetHolding(char32_t u, uint8_t current);

// A charset as a work may hold it (any integer) in the byte the code pages read: a
// value beyond a byte is none of the named charsets, as 0 and 255 are not.
uint8_t CharsetByte(int32_t charset);

}  // namespace qz
