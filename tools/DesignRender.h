// Rendering a design for the authoring tools, as the designer does after loading it:
// the light and shadows following its angles, textures loaded from the program folder's
// Textures, the design built and rendered. Any message the designer would show (a
// glyph that cannot be read, a texture or shape file that is missing or broken) ends
// the tool: what the installation ships must render cleanly.
//
//   TStrictMessages strict;
//   TNullProgressSink quiet;
//   TDesignSession session("data/", strict, quiet);
//   session.Start(params, text);
//   RenderDesign(session);
//   TBitmap icon = FitPicture(session.Picture().Image, 120, 40, session.Params().BkgColor);
#pragma once

#include <cmath>
#include <stdexcept>
#include <string>

#include "geometry/ButtonBody.h"
#include "geometry/ButtonOutline.h"
#include "image/Bitmap.h"
#include "image/Resample.h"
#include "session/DesignSession.h"

namespace qz::tools {

class TStrictMessages : public IMessageSink {
 public:
  void ShowMessage(const std::string& text) override { throw std::runtime_error(text); }
};

// Throws when a named texture or shape file is not found.
inline void RenderDesign(TDesignSession& session) {
  const TParams& p = session.Params();
  if (!p.Message.TexFile.empty() && !session.Textured(TPart::Text))
    throw std::runtime_error("no texture " + p.Message.TexFile);
  if (!p.Button.TexFile.empty() && !session.Textured(TPart::Button))
    throw std::runtime_error("no texture " + p.Button.TexFile);
  if (p.Type > 0 && IsShapeFileType(p.Type) && !FindShapeFile(session.Folders().ShapeFolders(), p.ShapeName))
    throw std::runtime_error("no shape file " + p.ShapeName);
  session.Rebuild();
  session.Render(false, false);
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
