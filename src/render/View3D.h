// TView3D: the 3D view a build fills and every render draws. It holds the bodies (the
// letters in message order, then the button, always last), the render parameters of
// the frame, the depth-ordered body list, the z-buffer and the two texture images.
//
// The build fills it:
//   view.ClearBodies();
//   TBody& body = view.Body(view.AddBody());    // AddBody returns 0 when full
//   view.MarkButton(b);                           // the button's body, once made
//   TModelExtents r = view.ModelExtents();        // always contains the origin
// The render, every frame:
//   view.Params = RenderBlock(params, centerX, centerY);
//   view.SetCamera(CameraBlock(params));
//   TScreenExtents e = view.ScreenExtents();      // sizes the image
//   view.ZBuffer.SetSize(rows, width);
//   for each body b: view.Body(b).Prepare(view.Params); view.BodyOrder.Add(b, its AvgKey);
//   view.BodyOrder.Sort(); view.Body(...).Draw(view.ZBuffer, isButton); ...
// which Render does as a whole (the render driver, RenderDriver.h, sizes the image):
//   view.Render(image, mask, withMask, drawButton, background, textPalette, buttonPalette);
#pragma once

#include <array>
#include <cstdint>
#include <memory>

#include "image/Bitmap.h"
#include "render/Body.h"
#include "render/RenderList.h"
#include "render/RenderParams.h"
#include "render/ZBuffer.h"
#include "scene/Letters.h"

namespace qz {

// What one render draws into (View3D.cpp).
struct TRenderTarget;

// Smallest model X, largest model Z, largest model X, smallest model Z.
struct TModelExtents {
  int32_t Left = 0;
  int32_t Top = 0;
  int32_t Right = 0;
  int32_t Bottom = 0;
};

// Smallest and largest projected column and row; the start values when nothing is
// projected.
struct TScreenExtents {
  int32_t MinX = 65535;
  int32_t MinY = 65535;
  int32_t MaxX = -65535;
  int32_t MaxY = -65535;
};

// A texture picture as read from its file, shared by the builds that tile with it.
using TTexturePicture = std::shared_ptr<const TBitmap>;

class TView3D {
 public:
  static constexpr int32_t MaxBodies = MaxMessageGlyphs + 1;  // every letter a message makes, and the button

  TView3D() = default;
  TView3D(const TView3D&) = delete;
  TView3D& operator=(const TView3D&) = delete;

  // Destroys all bodies (the button's too).
  void ClearBodies();
  // Appends an empty body and returns its index; 0 when MaxBodies exist.
  int32_t AddBody();
  int32_t BodyCount() const { return bodyCount_; }
  // Body b, 1..BodyCount.
  TBody& Body(int32_t b) { return *bodies_[b]; }
  const TBody& Body(int32_t b) const { return *bodies_[b]; }
  // Body b is the button's (the build makes it last).
  void MarkButton(int32_t b) { buttonBody_ = b; }
  // The button's body, or 0 when the build made none.
  int32_t ButtonBody() const { return buttonBody_; }

  // Copies the camera block into every body.
  void SetCamera(const TCamera& camera);
  // Totals over all bodies (the status bar's counts).
  int32_t FaceCount() const;
  int32_t VertexCount() const;
  // Extremes over all vertices of all bodies, each starting at 0.
  TModelExtents ModelExtents() const;
  // Projects every body with Params and returns the extremes of the screen points.
  TScreenExtents ScreenExtents();

  // Sets the texture in use as it is (its fourth bytes cleared: a texture is never
  // transparent); a bitmap of width or height 1 or less switches texturing of that
  // part off instead. A build fits the textures itself (TextureTiles.h).
  void SetTextTexture(TBitmap bitmap);
  void SetButtonTexture(TBitmap bitmap);

  // Draws the prepared scene into image, cleared to background first (and, with
  // withMask, its coverage into mask, which must be as large, cleared to black): with
  // drawButton the last body as the button in one pass with its shadow, then the
  // letters (every other body) nearest first with theirs, on top. Params and the
  // bodies' cameras must be set for this frame; image must have the render's size.
  // On a large picture the work is shared by two threads, with the pixels of one:
  // the button's spans and the letters' go into their buffers side by side, the
  // button's rows are flushed by whichever thread is free, and the letters' shadow
  // and spans are drawn in two halves of the picture.
  void Render(TBitmap& image, TBitmap& mask, bool withMask, bool drawButton, uint32_t background,
              const TPalette& textPalette, const TPalette& buttonPalette);

  TRenderParams Params;    // the design's render parameters for the frame
  TRenderList BodyOrder;   // bodies by AvgKey, drawn nearest first
  TZBuffer ZBuffer;        // the letters' spans, kept after a render
  TZBuffer ButtonZBuffer;  // the button's pass (empty after a render)
  // The textures in use: each part's tile (TextureTiles.h), whether it is drawn, and
  // the texture picture it was made from.
  TBitmap TextTexture;
  TBitmap ButtonTexture;
  bool TextTextured = false;
  bool ButtonTextured = false;
  TTexturePicture TextFittedFrom;
  TTexturePicture ButtonFittedFrom;

 private:
  // The passes of Render: the bodies prepared and ordered by depth; the picture
  // cleared, with the button's spans and shadow when there is a button (false when
  // none was drawn); the letters' spans into ZBuffer.
  void OrderBodies();
  bool DrawButtonPass(const TRenderTarget& target, uint32_t background, bool hasButton);
  void InsertLetterSpans(int32_t rows, int32_t width, bool hasButton);

  std::array<std::unique_ptr<TBody>, MaxBodies + 1> bodies_;  // bodies_[0] unused
  int32_t bodyCount_ = 0;
  int32_t buttonBody_ = 0;
};

}  // namespace qz
