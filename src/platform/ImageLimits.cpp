#include "platform/ImageLimits.h"

#include <filesystem>
#include <stdexcept>

#include "platform/FileUtil.h"

namespace qz {

void ThrowImageError(const std::string& name, const std::string& what) {
  throw std::runtime_error("Cannot read image \"" + name + "\": " + what);
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
  std::error_code ec;
  if (!FileExists(path)) ThrowImageError(path, "the file does not exist");
  uintmax_t size = std::filesystem::file_size(path, ec);
  if (!ec && size > MaxImageFileBytes)
    ThrowImageError(path, "the file is too large (" + std::to_string(size) + " bytes)");
  std::optional<std::vector<uint8_t>> bytes = ReadWholeFile(path, MaxImageFileBytes);
  if (!bytes) ThrowImageError(path, "the file cannot be read");
  if (bytes->empty()) ThrowImageError(path, "the file is empty");
  return std::move(*bytes);
}

}  // namespace qz
