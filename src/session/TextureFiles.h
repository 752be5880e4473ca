// Finding and reading the texture pictures a design names (Message.TexFile,
// Button.TexFile), as a session does after a load and after a texture is chosen:
//
//   if (std::optional<TFoundTexture> t = FindTexture(params.Button.TexFile, folders, messages)) {
//     params.Button.TexFile = t->Path;   // the file found is the one the design names
//     textures.Button = t->Picture;      // null when it could not be read
//   }
//
// The file is the named path, else a file of its bare name in the first of the
// texture folders that holds one (the user's before the factory's; a path written on
// Windows falls back to its bare name; names are matched exactly first, then without
// regard to case). No file found: silently no texture. A file found but not loadable
// as a GIF, JPEG, BMP or PNG picture larger than one pixel each way: no texture, and
// "Error loading file: " followed by the path and why through messages
// (ReadTextureFile).
#pragma once

#include <optional>
#include <string>

#include "base/FolderList.h"
#include "base/Sinks.h"
#include "render/View3D.h"

namespace qz {

// The picture of a texture file (its fourth bytes cleared: a texture is never
// transparent), or nothing after "Error loading file: PATH: why".
std::optional<TBitmap> ReadTextureFile(const std::string& path, IMessageSink& messages);

// A texture file found, and its picture (null when the file could not be read: that
// has been reported).
struct TFoundTexture {
  std::string Path;
  TTexturePicture Picture;
};
// Nothing for an empty name or a file found nowhere (silently).
std::optional<TFoundTexture> FindTexture(const std::string& name, const TFolderList& textureFolders,
                                         IMessageSink& messages);

}  // namespace qz
