// Rendering a design for the authoring tools, as the designer does after loading it:
// derived data refreshed, textures loaded from the program folder's Textures, the
// scene built and rendered. Any message the designer would show (a glyph that cannot
// be read, a texture or shape file that is missing or broken) ends the tool: what the
// installation ships must render cleanly.
//
//   TStrictMessages strict;
//   scene.Messages = &strict;
//   RenderDesign(scene, message, "data/");
//   TBitmap icon = FitPicture(scene.Image, 120, 40, scene.BkgColor);
#pragma once

#include <cmath>
#include <stdexcept>
#include <string>

#include "geometry/ButtonBody.h"
#include "geometry/ButtonOutline.h"
#include "platform/Bitmap.h"
#include "render/RenderDriver.h"
#include "render/Resample.h"
#include "scene/Build.h"
#include "scene/MessageText.h"
#include "scene/Scene.h"
#include "scene/TextureFiles.h"
#include "scene/WorkFile.h"

namespace qz::tools {

class TStrictMessages : public IMessageSink {
 public:
  void ShowMessage(const std::string& text) override { throw std::runtime_error(text); }
};

// programDir ends with "/". Throws when a named texture or shape file is not found.
inline void RenderDesign(TScene& scene, TMessageText& message, const std::string& programDir) {
  scene.ProgramDir = programDir;
  RefreshDerived(scene);
  LoadTextTexture(scene, programDir + "Textures/");
  LoadButtonTexture(scene, programDir + "Textures/");
  if (!scene.Message.TexFile.empty() && !scene.View.TextTextured)
    throw std::runtime_error("no texture " + scene.Message.TexFile);
  if (!scene.Button.TexFile.empty() && !scene.View.ButtonTextured)
    throw std::runtime_error("no texture " + scene.Button.TexFile);
  if (scene.Type > 0 && IsShapeFileType(scene.Type) && !FindShapeFile(programDir, scene.ShapeName))
    throw std::runtime_error("no shape file " + scene.ShapeName);
  Build(scene, message);
  RenderScene(scene, false, false);
}

// The picture scaled with "Lanczos3" to fit inside width x height, keeping its
// proportions, centred on a field of the background colour.
inline TBitmap FitPicture(const TBitmap& picture, int width, int height, TColor background) {
  const double scale = std::min(static_cast<double>(width) / picture.Width(), static_cast<double>(height) / picture.Height());
  const int w = std::max(1, static_cast<int>(std::lround(picture.Width() * scale)));
  const int h = std::max(1, static_cast<int>(std::lround(picture.Height() * scale)));
  TBitmap scaled(w, h);
  ResampleImage(picture, scaled, LanczosFilter, 3.0);
  TBitmap out(width, height);
  out.Fill(ColorToPixel(background));
  out.Draw((width - w) / 2, (height - h) / 2, scaled);
  return out;
}

}  // namespace qz::tools
