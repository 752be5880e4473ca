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
//   Build(params, message, textures, built, {fonts, fonts, select, folders.ShapeFolders(), messages, progress});
//   RenderScene(built.View, AsBuilt(params, built.Figures), picture, false, progress, true);
//
// The glyphs are laid out by the 8-bit rules or, with params.Shaping, shaped
// (MessageLayout.h). The build changes neither the design nor its message: what it
// computes beside the bodies (the camera distance, the button rectangle, the tile
// counts the texture fit settled on) it returns in built.Figures, and AsBuilt gives
// the design as the render draws it and a save writes it. Characters beyond the 32nd
// stay in the message but are not built. Glyph errors are shown through the message
// sink and leave that character out; a shape file that cannot be read throws
// std::runtime_error and abandons the rest of the build (what the stages before it
// made is kept).
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
#include "render/TextureTiles.h"
#include "render/View3D.h"
#include "scene/Letters.h"
#include "scene/MessageText.h"
#include "scene/Params.h"

namespace qz {

// What a build computed from the design besides its bodies.
struct TBuildFigures {
  float CameraY = 0;         // Render.Y: the camera distance the bodies are drawn from
  bool HasButton = false;    // a button was made, in the rectangle Button
  TButtonRect Button;        // the letters' extent and margins, or the held rectangle
  TFittedTextures Textures;  // the tile counts of the textures fitted
};

// The design as a build of it draws and a save writes it: Render.Y, the button's
// rectangle (when a button was made) and the tile counts of the textured parts taken
// from the figures.
TParams AsBuilt(const TParams& design, const TBuildFigures& figures);

// The texture pictures a design's parts are tiled with (none: drawn with colours).
struct TTextures {
  TTexturePicture Text;
  TTexturePicture Button;
};

// What a build makes and keeps until the next one. The view's textures are part of
// it: each build fits them to their tiles, from the texture pictures themselves.
struct TBuiltDesign {
  TBuildFigures Figures;
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

void Build(const TParams& params, const TMessageText& text, const TTextures& textures, TBuiltDesign& built,
           const TBuildEnvironment& env);

}  // namespace qz
