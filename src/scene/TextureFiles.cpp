#include "scene/TextureFiles.h"

#include <optional>
#include <stdexcept>

#include "platform/FileUtil.h"
#include "platform/ImageFile.h"

namespace qz {

namespace {

std::optional<std::string> FindTexture(const std::string& name, const std::string& texturesDir) {
  if (FileExists(name)) return name;
  const size_t slash = name.find_last_of('/');
  if (slash != std::string::npos && name.find('\\') == std::string::npos)
    if (auto found = FindFileNoCase(name.substr(0, slash + 1), name.substr(slash + 1))) return found;
  return FindFileNoCase(texturesDir, BareFileName(name));
}

template <typename TSet>
void LoadTexture(TScene& scene, std::string& fileName, bool& textured, const std::string& texturesDir, TSet set) {
  textured = false;
  if (fileName.empty()) return;
  const std::optional<std::string> path = FindTexture(fileName, texturesDir);
  if (!path) return;
  fileName = *path;
  TBitmap picture;
  try {
    picture = LoadImageFile(*path);
  } catch (const std::runtime_error&) {
    picture = TBitmap();  // reported below, in the designer's words
  }
  set(picture);
  if (!textured) scene.Messages->ShowMessage("Error loading file: " + *path);
}

}  // namespace

void LoadTextTexture(TScene& scene, const std::string& texturesDir) {
  LoadTexture(scene, scene.Message.TexFile, scene.View.TextTextured, texturesDir,
              [&](const TBitmap& b) { scene.View.SetTextTexture(b); });
}

void LoadButtonTexture(TScene& scene, const std::string& texturesDir) {
  LoadTexture(scene, scene.Button.TexFile, scene.View.ButtonTextured, texturesDir,
              [&](const TBitmap& b) { scene.View.SetButtonTexture(b); });
}

}  // namespace qz
