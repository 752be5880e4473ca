#include "session/TextureFiles.h"

#include <memory>
#include <optional>
#include <stdexcept>
#include <utility>

#include "base/FileUtil.h"
#include "image/ImageFile.h"
#include "image/ImageLimits.h"

namespace qz {

namespace {

std::optional<std::string> FindTextureFile(const std::string& name, const TFolderList& textureFolders) {
  if (FileExists(name)) return name;
  const size_t slash = name.find_last_of('/');
  if (slash != std::string::npos && name.find('\\') == std::string::npos)
    if (auto found = FindFileNoCase(name.substr(0, slash + 1), name.substr(slash + 1))) return found;
  return textureFolders.Find(BareFileName(name));
}

}  // namespace

std::optional<TBitmap> ReadTextureFile(const std::string& path, IMessageSink& messages) {
  TBitmap picture;
  std::string why;
  try {
    picture = LoadImageFile(path);
  } catch (const TImageError& e) {
    why = e.Why;  // reported below, in the designer's words with the reader's reason
  } catch (const std::runtime_error& e) {
    why = e.what();
  }
  if (why.empty() && picture.Width() > 1 && picture.Height() > 1) {
    uint32_t* p = picture.Data();
    for (size_t i = 0, n = static_cast<size_t>(picture.Width()) * picture.Height(); i < n; ++i) p[i] &= 0x00FFFFFFu;
    return picture;
  }
  if (why.empty())
    why = "a picture of " + std::to_string(picture.Width()) + " x " + std::to_string(picture.Height()) +
          " pixels is too small to be tiled (it needs two pixels each way)";
  messages.ShowMessage("Error loading file: " + path + ": " + why);
  return std::nullopt;
}

std::optional<TFoundTexture> FindTexture(const std::string& name, const TFolderList& textureFolders,
                                         IMessageSink& messages) {
  if (name.empty()) return std::nullopt;
  std::optional<std::string> path = FindTextureFile(name, textureFolders);
  if (!path) return std::nullopt;
  TFoundTexture found{*path, nullptr};
  if (std::optional<TBitmap> picture = ReadTextureFile(*path, messages))
    found.Picture = std::make_shared<const TBitmap>(std::move(*picture));
  return found;
}

}  // namespace qz
