#include "image/ImageLimits.h"

#include <filesystem>
#include <stdexcept>

#include "base/FileUtil.h"

namespace qz {

TImageError::TImageError(const std::string& name, const std::string& what)
    : std::runtime_error("Cannot read image \"" + name + "\": " + what), Why(what) {}

void ThrowImageError(const std::string& name, const std::string& what) { throw TImageError(name, what); }

void CheckDecodeWork(int64_t work, const std::string& how, const std::string& name) {
  if (work <= MaxDecodeWork) return;
  ThrowImageError(name, "decoding it would take " + how + " (" + std::to_string(work) +
                            " pixels), more than a texture may take (" + std::to_string(MaxDecodeWork) + ")");
}

void CheckImageSize(int64_t width, int64_t height, const std::string& name) {
  if (width < 1 || height < 1)
    ThrowImageError(name, "the picture has no pixels (" + std::to_string(width) + " x " + std::to_string(height) + ")");
  if (width > MaxDecodedSide || height > MaxDecodedSide || width * height > MaxDecodedPixels)
    ThrowImageError(name, "the picture is too large (" + std::to_string(width) + " x " + std::to_string(height) +
                              " pixels; at most " + std::to_string(MaxDecodedSide) + " a side and " +
                              std::to_string(MaxDecodedPixels) + " pixels in all)");
}

std::vector<uint8_t> ReadImageFileBytes(const std::string& path) {
  std::string why;
  std::optional<std::vector<uint8_t>> bytes = ReadWholeFile(path, MaxImageFileBytes, &why);
  if (!bytes) ThrowImageError(path, why.rfind("it is larger", 0) == 0 ? "the file is too large (" + why.substr(6) + ")" : why);
  if (bytes->empty()) ThrowImageError(path, "the file is empty");
  return std::move(*bytes);
}

}  // namespace qz
