// The preview icon stored inside works and templates: a JPEG picture (quality 90,
// 120 x 40) as upper-case hexadecimal text in section P (keys "1".."N", 100 bytes a
// line) with the line count under "Lines" in section P + "Info".
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "image/Bitmap.h"
#include "base/IniFile.h"

namespace qz {

inline constexpr int IconWidth = 120;
inline constexpr int IconHeight = 40;
inline constexpr int IconJpegQuality = 90;
inline constexpr size_t IconBytesPerLine = 100;
// No icon of ours comes near this; a record claiming more lines is refused rather
// than read for minutes.
inline constexpr int32_t MaxIconLines = 10000;

using TProgressFn = std::function<void(int percent)>;

std::string BytesToHex(const uint8_t* bytes, size_t count);
// Two digits a byte, upper or lower case; an odd last character is ignored. Any
// other character than a hexadecimal digit makes the whole text invalid.
std::optional<std::vector<uint8_t>> HexToBytes(const std::string& text);

// Erases section prefix, writes the data as its lines and "Lines" into prefix + "Info".
void SaveIconBytes(TIniFile& ini, const std::string& prefix, const std::vector<uint8_t>& data,
                   const TProgressFn& progress = {});
// The data of the record, or nothing when there is none or it is malformed: Lines
// of 0 or less or beyond MaxIconLines, a line longer than 200 digits or with an odd
// number of digits or a character that is not a hexadecimal digit.
std::optional<std::vector<uint8_t>> LoadIconBytes(const TIniFile& ini, const std::string& prefix,
                                                  const TProgressFn& progress = {});

// The icon as a picture: encoded as JPEG, written into the file and flushed (throws
// std::runtime_error naming the file when it cannot be written).
bool SaveIconToIni(const std::string& fileName, const std::string& prefix, const TBitmap& picture,
                   const TProgressFn& progress = {});
// Reads and decodes the icon; false (picture untouched) when there is none or it is
// not a readable JPEG.
bool LoadIconFromIni(const std::string& fileName, const std::string& prefix, TBitmap& picture,
                     const TProgressFn& progress = {});

}  // namespace qz
