#include "session/ImageFile.h"

#include <cctype>

#include "gif/GifReader.h"
#include "platform/BmpReader.h"
#include "platform/FileUtil.h"
#include "platform/ImageLimits.h"
#include "platform/JpegReader.h"
#include "platform/PngReader.h"

namespace qz {

namespace {

enum class TImageKind { None, Gif, Jpeg, Bmp, Png };

// The extension of the bare file name, lower case, with its dot ("" when none).
std::string LowerExtension(const std::string& path) {
  std::string name = BareFileName(path);
  size_t dot = name.find_last_of('.');
  if (dot == std::string::npos) return "";
  std::string ext = name.substr(dot);
  for (char& c : ext) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return ext;
}

TImageKind KindOf(const std::string& path) {
  const std::string ext = LowerExtension(path);
  if (ext == ".gif") return TImageKind::Gif;
  if (ext == ".jpg" || ext == ".jpeg") return TImageKind::Jpeg;
  if (ext == ".bmp") return TImageKind::Bmp;
  if (ext == ".png") return TImageKind::Png;
  return TImageKind::None;
}

}  // namespace

bool IsImageFileName(const std::string& path) { return KindOf(path) != TImageKind::None; }

TBitmap LoadImageFile(const std::string& path) {
  const TImageKind kind = KindOf(path);
  if (kind == TImageKind::None)
    ThrowImageError(path, "the file type is not supported (only .gif, .jpg, .jpeg, .bmp and .png pictures are read)");
  std::vector<uint8_t> bytes = ReadImageFileBytes(path);
  switch (kind) {
    case TImageKind::Gif:
      return DecodeGif(bytes, path);
    case TImageKind::Jpeg:
      return DecodeJpeg(bytes, path);
    case TImageKind::Png:
      return DecodePng(bytes, path);
    default:
      return DecodeBmp(bytes, path);
  }
}

}  // namespace qz
