// Loading the texture images a design names (Message.TexFile, Button.TexFile) into the
// view, as a session does after a load and after a texture is chosen:
//
//   LoadTextTexture(params, built.View, folders.TextureFolders(), messages);
//   LoadButtonTexture(params, built.View, folders.TextureFolders(), messages);
//   Build(params, message, built, ...);   // fits the textures to their tiles
//
// The file is the named path, else a file of its bare name in the first of the
// texture folders that holds one (the user's before the factory's; a path written on
// Windows falls back to its bare name; names are matched exactly first, then without
// regard to case); the path found is stored back into the design. No
// file found: silently no texture. A file found but not loadable as a GIF, JPEG, BMP
// or PNG picture larger than one pixel each way: no texture, and "Error loading
// file: " followed by the path and why through messages (ReadTextureFile).
#pragma once

#include <optional>
#include <string>

#include "base/FolderList.h"
#include "base/Sinks.h"
#include "render/View3D.h"
#include "scene/Params.h"

namespace qz {

// The picture of a texture file, or nothing after "Error loading file: PATH: why".
std::optional<TBitmap> ReadTextureFile(const std::string& path, IMessageSink& messages);

void LoadTextTexture(TParams& params, TView3D& view, const TFolderList& textureFolders, IMessageSink& messages);
void LoadButtonTexture(TParams& params, TView3D& view, const TFolderList& textureFolders, IMessageSink& messages);

}  // namespace qz
