#include "image/ImageFile.h"

#include <cctype>
#include <string_view>

#include "image/formats/GifReader.h"
#include "image/formats/BmpReader.h"
#include "base/FileUtil.h"
#include "image/ImageLimits.h"
#include "image/formats/JpegReader.h"
#include "image/formats/PngReader.h"

namespace qz {

namespace {

enum class TImageKind { None, Gif, Jpeg, Bmp, Png, Webp };

// Each kind of picture by the bytes it starts with. WebP's RIFF container names what
// it holds at offset 8, after its length.
struct TSignature {
  TImageKind Kind;
  std::string_view Start;
  std::string_view At8 = {};
};
constexpr TSignature kSignatures[] = {
    {TImageKind::Gif, "GIF87a"},
    {TImageKind::Gif, "GIF89a"},
    {TImageKind::Jpeg, "\xFF\xD8\xFF"},
    {TImageKind::Bmp, "BM"},
    {TImageKind::Png, "\x89PNG\r\n\x1A\n"},
    {TImageKind::Webp, "RIFF", "WEBP"},
};

bool HasAt(const std::vector<uint8_t>& bytes, size_t at, std::string_view part) {
  if (bytes.size() < at + part.size()) return false;
  for (size_t i = 0; i < part.size(); ++i)
    if (bytes[at + i] != static_cast<uint8_t>(part[i])) return false;
  return true;
}

TImageKind KindOfBytes(const std::vector<uint8_t>& bytes) {
  for (const TSignature& s : kSignatures)
    if (HasAt(bytes, 0, s.Start) && HasAt(bytes, 8, s.At8)) return s.Kind;
  return TImageKind::None;
}

// The extension of the bare file name, lower case, with its dot ("" when none).
std::string LowerExtension(const std::string& path) {
  std::string name = BareFileName(path);
  size_t dot = name.find_last_of('.');
  if (dot == std::string::npos) return "";
  std::string ext = name.substr(dot);
  for (char& c : ext) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return ext;
}

}  // namespace

bool IsImageFileName(const std::string& path) {
  const std::string ext = LowerExtension(path);
  return ext == ".gif" || ext == ".jpg" || ext == ".jpeg" || ext == ".bmp" || ext == ".png";
}

TBitmap LoadImageFile(const std::string& path) {
  std::vector<uint8_t> bytes = ReadImageFileBytes(path);
  switch (KindOfBytes(bytes)) {
    case TImageKind::Gif:
      return DecodeGif(bytes, path);
    case TImageKind::Jpeg:
      return DecodeJpeg(bytes, path);
    case TImageKind::Bmp:
      return DecodeBmp(bytes, path);
    case TImageKind::Png:
      return DecodePng(bytes, path);
    case TImageKind::Webp:
      ThrowImageError(path, "WebP pictures cannot be used as textures (only GIF, JPEG, BMP and PNG pictures)");
    case TImageKind::None:
      break;
  }
  ThrowImageError(path, "the file is not a GIF, JPEG, BMP or PNG picture");
}

}  // namespace qz
