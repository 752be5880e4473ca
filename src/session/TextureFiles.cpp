#include "session/TextureFiles.h"

#include <optional>
#include <stdexcept>
#include <utility>

#include "base/FileUtil.h"
#include "image/ImageLimits.h"
#include "image/ImageFile.h"

namespace qz {

namespace {

std::optional<std::string> FindTexture(const std::string& name, const TFolderList& textureFolders) {
  if (FileExists(name)) return name;
  const size_t slash = name.find_last_of('/');
  if (slash != std::string::npos && name.find('\\') == std::string::npos)
    if (auto found = FindFileNoCase(name.substr(0, slash + 1), name.substr(slash + 1))) return found;
  return textureFolders.Find(BareFileName(name));
}

template <typename TSet>
void LoadTexture(std::string& fileName, bool& textured, const TFolderList& textureFolders, IMessageSink& messages,
                 TSet set) {
  textured = false;
  if (fileName.empty()) return;
  const std::optional<std::string> path = FindTexture(fileName, textureFolders);
  if (!path) return;
  fileName = *path;
  if (std::optional<TBitmap> picture = ReadTextureFile(*path, messages)) set(std::move(*picture));
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
  if (why.empty() && picture.Width() > 1 && picture.Height() > 1) return picture;
  if (why.empty())
    why = "a picture of " + std::to_string(picture.Width()) + " x " + std::to_string(picture.Height()) +
          " pixels is too small to be tiled (it needs two pixels each way)";
  messages.ShowMessage("Error loading file: " + path + ": " + why);
  return std::nullopt;
}

void LoadTextTexture(TParams& params, TView3D& view, const TFolderList& textureFolders, IMessageSink& messages) {
  LoadTexture(params.Message.TexFile, view.TextTextured, textureFolders, messages,
              [&](TBitmap&& b) { view.SetTextTexture(std::move(b)); });
}

void LoadButtonTexture(TParams& params, TView3D& view, const TFolderList& textureFolders, IMessageSink& messages) {
  LoadTexture(params.Button.TexFile, view.ButtonTextured, textureFolders, messages,
              [&](TBitmap&& b) { view.SetButtonTexture(std::move(b)); });
}

}  // namespace qz
