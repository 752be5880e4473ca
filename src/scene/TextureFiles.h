// Loading the texture images a design names (Message.TexFile, Button.TexFile) into the
// view, as the designer does after a load and after a texture is chosen, and as the
// command-line tool does before it builds:
//
//   LoadTextTexture(scene, settings.TexturesDir);
//   LoadButtonTexture(scene, settings.TexturesDir);
//   Build(scene, message);            // fits the textures to their tiles
//
// The file is the named path, else a file of its bare name in texturesDir (a path
// written on Windows falls back to its bare name; names are matched exactly first,
// then without regard to case); the path found is stored back into the design. No
// file found: silently no texture. A file found but not loadable as a GIF, JPEG or BMP
// picture larger than one pixel each way: no texture, and "Error loading file: "
// followed by the path through scene.Messages.
#pragma once

#include <string>

#include "scene/Scene.h"

namespace qz {

void LoadTextTexture(TScene& scene, const std::string& texturesDir);
void LoadButtonTexture(TScene& scene, const std::string& texturesDir);

}  // namespace qz
