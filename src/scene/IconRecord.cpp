#include "scene/IconRecord.h"

#include <stdexcept>

#include "image/formats/JpegReader.h"
#include "image/formats/JpegWriter.h"
#include "base/NumberText.h"

namespace qz {

std::string BytesToHex(const uint8_t* bytes, size_t count) {
  static const char digits[] = "0123456789ABCDEF";
  std::string out;
  out.reserve(count * 2);
  for (size_t i = 0; i < count; ++i) {
    out += digits[bytes[i] >> 4];
    out += digits[bytes[i] & 15];
  }
  return out;
}

std::optional<std::vector<uint8_t>> HexToBytes(const std::string& text) {
  std::vector<uint8_t> out;
  out.reserve(text.size() / 2);
  for (size_t i = 0; i + 1 < text.size(); i += 2) {
    int hi = HexDigitValue(text[i]), lo = HexDigitValue(text[i + 1]);
    if (hi < 0 || lo < 0) return std::nullopt;
    out.push_back(static_cast<uint8_t>(hi << 4 | lo));
  }
  if (text.size() % 2 == 1 && HexDigitValue(text.back()) < 0) return std::nullopt;
  return out;
}

void SaveIconBytes(TIniFile& ini, const std::string& prefix, const std::vector<uint8_t>& data,
                   const TProgressFn& progress) {
  if (ini.HasSection(prefix)) ini.EraseSection(prefix);
  if (progress) progress(0);
  int32_t line = 0;
  for (size_t pos = 0; pos < data.size(); pos += IconBytesPerLine) {
    const size_t n = std::min(IconBytesPerLine, data.size() - pos);
    ini.WriteString(prefix, IntToText(++line), BytesToHex(data.data() + pos, n));
    if (progress) progress(static_cast<int>((pos + n) * 100 / data.size()));
  }
  ini.WriteString(prefix + "Info", "Lines", IntToText(line));
}

std::optional<std::vector<uint8_t>> LoadIconBytes(const TIniFile& ini, const std::string& prefix,
                                                  const TProgressFn& progress) {
  const int32_t lines = TextToInt(ini.ReadString(prefix + "Info", "Lines", "")).value_or(0);
  if (lines <= 0 || lines > MaxIconLines) return std::nullopt;
  if (progress) progress(0);
  std::vector<uint8_t> data;
  for (int32_t i = 1; i <= lines; ++i) {
    const std::string hex = ini.ReadString(prefix, IntToText(i), "");
    // A line holds at most 100 bytes; an odd count of digits is no byte sequence
    // this program wrote: the icon is refused, not guessed at.
    if (hex.size() > IconBytesPerLine * 2 || hex.size() % 2 != 0) return std::nullopt;
    auto bytes = HexToBytes(hex);
    if (!bytes) return std::nullopt;
    data.insert(data.end(), bytes->begin(), bytes->end());
    if (progress) progress(static_cast<int>(static_cast<int64_t>(i) * 100 / lines));
  }
  return data;
}

}  // namespace qz

namespace qz {

bool SaveIconToIni(const std::string& fileName, const std::string& prefix, const TBitmap& picture,
                   const TProgressFn& progress) {
  TIniFile ini(fileName);
  if (!ini.ReadError().empty()) throw std::runtime_error(ini.ReadError());
  SaveIconBytes(ini, prefix, EncodeJpeg(picture, IconJpegQuality), progress);
  ini.Flush();
  return true;
}

bool LoadIconFromIni(const std::string& fileName, const std::string& prefix, TBitmap& picture,
                     const TProgressFn& progress) {
  const TIniFile ini(fileName);
  auto data = LoadIconBytes(ini, prefix, progress);
  if (!data) return false;
  try {
    picture = DecodeJpeg(*data, fileName + " (icon)");
  } catch (const std::exception&) {
    return false;  // a damaged picture is shown like a missing one
  }
  return true;
}

}  // namespace qz
