// Build: everything the renderer draws, derived anew from the design and the message
// text in six stages, each announced through the progress sink (status text, then
// pending messages processed, then the stage with its progress values):
//
//   " Reallocating memory ..."      letters cleared                      2
//   " Getting font outline ..."     one letter per character (at most 32)
//   " Normalizing coordinates ..."  the message centred on the origin    15
//   " Transforming letters ..."     one body per letter                  17, 20
//   " Making button ..."            outline and body, only when Type > 0 23
//   " Resizing textures ..."        textures fitted to their tiles       30
//
//   TFontEngine fonts;
//   Build(params, message, built, {fonts, fonts, select, folders.ShapeFolders(), messages, progress});
//   RenderScene(built.View, params, picture, false, progress, true);   // then the picture
//
// The glyphs are laid out by the 8-bit rules or, with params.Shaping, shaped
// (MessageLayout.h). Render.Y takes Distance first; the button rectangle (unless
// held) and the texture scales the fit settled on are written back into params.
// Characters beyond the 32nd stay in the message but are not built. The message's caret is put back where it
// was, with no selection. Glyph errors are shown through the message sink and leave
// that character out; a shape file that cannot be read throws std::runtime_error and
// abandons the rest of the build (what the stages before it made is kept).
#pragma once

#include <functional>
#include <string>

#include "geometry/ButShape.h"
#include "geometry/MessageLayout.h"
#include "base/FolderList.h"
#include "text/FontEngine.h"
#include "text/GlyphRecords.h"
#include "text/TextFonts.h"
#include "base/Sinks.h"
#include "render/View3D.h"
#include "scene/Letters.h"
#include "scene/MessageText.h"
#include "scene/Params.h"

namespace qz {

// What a build makes and keeps until the next one. The view's textures are part of
// it: each build fits them to their tiles, starting from the tile of the build before.
struct TBuiltDesign {
  TLetters Letters;
  TView3D View;     // the bodies, the letters' first, the button's last; the textures
  TButShape Shape;  // the shape file last read (kept while the file is missing)
  // How far the button's outline reaches beyond its rectangle, and the rectangle's
  // larger side (a shape file may draw far outside its frame).
  int64_t OutlineOverhang = 0;
  int64_t ButtonSide = 0;
};

// Where a build reads its glyphs, finds its shape files and reports. SelectFont is
// called with each font before glyphs are read in it (the size already enlarged by
// GlyphPointSize).
struct TBuildEnvironment {
  IGlyphSource& Glyphs;
  ITextFonts& Fonts;
  TSelectFont SelectFont;
  TFolderList ShapeFolders;  // where shape files are looked up, the first holding one wins
  IMessageSink& Messages;
  IProgressSink& Progress;
};

void Build(TParams& params, TMessageText& text, TBuiltDesign& built, const TBuildEnvironment& env);

}  // namespace qz
