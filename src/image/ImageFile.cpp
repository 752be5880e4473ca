#include "image/ImageFile.h"

#include <cctype>

#include "image/GifReader.h"
#include "image/BmpReader.h"
#include "base/FileUtil.h"
#include "image/ImageLimits.h"
#include "image/JpegReader.h"
#include "image/PngReader.h"

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
