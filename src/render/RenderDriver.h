// The render driver: turns the built view into its picture (and coverage mask), and
// scales that picture for the preview.
//
//   RenderScene(view, params, picture, false, sink, true);   // the designer: no mask, with progress
//   RenderScene(view, params, picture, true, sink, false);   // the export: with mask, quietly
//   TPreviewSize p = PreviewSize(picture.Image.Width(), picture.Image.Height(),
//                                clientW, clientH, params.ViewSize);
//   TBitmap shown = ScalePreview(picture.Image, p, smooth);
//
// The image is as large as the projected scene plus two pixels, and room for one drop
// shadow (the button's when there is a button, else the letters'); CenterX and
// CenterY place the projected origin in it. A design whose picture would exceed
// MaxRenderSide a side or MaxRenderPixels in all is refused with a std::runtime_error
// that says so in a sentence, and the picture is left as it was.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>

#include "image/Bitmap.h"
#include "base/Sinks.h"
#include "render/View3D.h"
#include "scene/Params.h"

namespace qz {

// The span buffer stores columns and rows in 16 bits.
constexpr int64_t MaxRenderSide = 32767;
// 256 MiB for the image, as much again for the mask.
constexpr int64_t MaxRenderPixels = int64_t{64} * 1000 * 1000;

// What a render makes: the picture, its coverage mask, and the pixel where the
// projected origin lies in them.
struct TPicture {
  TBitmap Image{64, 16};   // the sizes a design starts with, before its first render
  TBitmap Mask{100, 100};
  int32_t CenterX = 0;
  int32_t CenterY = 0;
};

// The side of the picture a view without any vertex renders to (an empty heading).
constexpr int EmptyImageSide = 16;

// The refusal of a picture beyond those bounds: its size, and advice on what to change.
struct TPictureTooLarge : std::runtime_error {
  TPictureTooLarge(int64_t width, int64_t height, const std::string& advice);
  int64_t Width, Height;
};

// Where a picture was drawn: its size and the pixel of the projected origin. A
// render into the frame of another keeps that picture's size and place, so pictures
// of one design in other states line up pixel for pixel.
struct TRenderFrame {
  int32_t Width = 0;
  int32_t Height = 0;
  int32_t CenterX = 0;
  int32_t CenterY = 0;
};
inline TRenderFrame FrameOf(const TPicture& picture) {
  return {picture.Image.Width(), picture.Image.Height(), picture.CenterX, picture.CenterY};
}

// Fills the whole image with the background colour.
void ClearImage(TBitmap& image, TColor background);

// Sizes, clears and draws picture.Image (and, with withMask, Mask: black where nothing
// is drawn, white under letters, button and shadows) from the view built for params.
// Without withMask the mask takes the image's size, but its pixels are neither
// cleared nor drawn (they are whatever its memory held). With progress the status texts " Calculating
// viewport ..." and " Rendering scene ..." and their progress values go to sink.
// Pending messages are processed after each point at which the status bar would
// change. A view without any vertex (an empty heading) renders as a 16 x 16 field of
// the background colour. With Type > 0 the last body is drawn as the button when the
// build made one (a build abandoned before the button leaves none). Given a frame, the
// picture takes its size and origin instead of those of its own extents (whatever
// falls outside is cut off).
void RenderScene(TView3D& view, const TParams& params, TPicture& picture, bool withMask, IProgressSink& sink,
                 bool progress, const TRenderFrame* frame = nullptr);

// The size of the preview picture in a client area of clientW x clientH at viewSize
// percent: as large as fits inside both sides of that share of the area, keeping the
// picture's proportions. viewSize is bounded to 1..100 (the designer offers 10..90);
// sizes are at least 0.
struct TPreviewSize {
  int Width = 0;
  int Height = 0;
  bool operator==(const TPreviewSize&) const = default;
};
constexpr int32_t MinViewSize = 1;
constexpr int32_t MaxViewSize = 100;
TPreviewSize PreviewSize(int imageW, int imageH, int clientW, int clientH, int viewSize);

// The image scaled to size as a 24-bit picture (fourth bytes 0): smooth through the
// "B-Spline" filter of width 2.0, else a plain nearest-pixel stretch. An empty image
// or size gives an empty bitmap of that size.
TBitmap ScalePreview(const TBitmap& image, TPreviewSize size, bool smooth);

}  // namespace qz
