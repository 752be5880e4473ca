// The render driver: turns the built scene into its picture (and coverage mask), and
// scales that picture for the preview.
//
//   RenderScene(scene, false, true);    // the designer: no mask, with progress
//   RenderScene(scene, true, false);    // the export: with mask, quietly
//   TPreviewSize p = PreviewSize(scene.Image.Width(), scene.Image.Height(),
//                                clientW, clientH, scene.ViewSize);
//   TBitmap shown = ScalePreview(scene.Image, p, smooth);
//
// The image is as large as the projected scene plus two pixels, and room for one drop
// shadow (the button's when there is a button, else the letters'); CenterX and
// CenterY place the projected origin in it. A design whose picture would exceed
// MaxImageSide a side or MaxImagePixels in all is refused with a std::runtime_error
// that says so in a sentence, and Image and Mask are left as they were.
#pragma once

#include <cstdint>

#include "platform/Bitmap.h"
#include "scene/Scene.h"

namespace qz {

// The span buffer stores columns and rows in 16 bits.
constexpr int64_t MaxImageSide = 32767;
// 256 MiB for the image, as much again for the mask.
constexpr int64_t MaxImagePixels = int64_t{64} * 1000 * 1000;

// Fills the whole image with BkgColor.
void ClearImage(TScene& scene);

// Sizes, clears and draws Image (and, with withMask, Mask: black where nothing is
// drawn, white under letters, button and shadows). Without withMask the mask takes the
// image's size but keeps its pixels (a mask of another size is made anew, black). With
// progress the status texts " Calculating viewport ..." and " Rendering scene ..." and
// the progress values 35 and 75 go to scene.Progress. Pending messages are processed
// after each point at which the status bar would change. A scene without any vertex
// (an empty heading) renders as a 16 x 16 field of the background colour. With
// Type > 0 the last body is drawn as the button only when there is one body more than
// letters (a build abandoned before the button leaves none).
void RenderScene(TScene& scene, bool withMask, bool progress);

// The size of the preview picture in a client area of clientW x clientH at viewSize
// percent: a tall image (width < height) fits the height, a wide or square one the
// width, keeping its proportions. viewSize is bounded to 1..100 (the designer offers
// 10..90); sizes are at least 0.
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
