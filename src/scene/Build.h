// Build: everything the renderer draws, derived anew from the design and the message
// text in six stages, each announced through scene.Progress (status text, then pending
// messages processed, then the stage with its progress values):
//
//   " Reallocating memory ..."      letters cleared                      2
//   " Getting font outline ..."     one letter per character (at most 32)
//   " Normalizing coordinates ..."  the message centred on the origin    15
//   " Transforming letters ..."     one body per letter                  17, 20
//   " Making button ..."            outline and body, only when Type > 0 23
//   " Resizing textures ..."        textures fitted to their tiles       30
//
//   Build(scene, message);           // reads glyphs through its own font engine
//   RenderScene(scene, false, true); // then the picture (RenderDriver.h)
//
// Render.Y takes Distance first. Characters beyond the 32nd stay in the message but
// are not built. The message's caret is put back where it was, with no selection.
// Glyph errors are shown through scene.Messages and leave that character out; a shape
// file that cannot be read throws std::runtime_error and abandons the rest of the build
// (the scene keeps what the stages before it made).
#pragma once

#include <functional>

#include "platform/FontEngine.h"
#include "platform/GlyphRecords.h"
#include "scene/MessageText.h"
#include "scene/Scene.h"

namespace qz {

void Build(TScene& scene, TMessageText& text);

// The same with another glyph source; selectFont, when given, is called with each
// character's font before its glyph is read (the size already enlarged by
// GlyphPointSize).
using TSelectFont = std::function<void(const TFontRequest&)>;
void Build(TScene& scene, TMessageText& text, IGlyphSource& glyphs, const TSelectFont& selectFont = {});

}  // namespace qz
