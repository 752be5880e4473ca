#include "render/RenderDriver.h"

#include <algorithm>
#include <cstdlib>
#include <stdexcept>
#include <string>

#include "base/Numeric.h"
#include "image/Resample.h"
#include "render/ShadeRamp.h"

namespace qz {

namespace {

// Refuses a picture larger than the span buffer or memory can hold, in words a user
// understands (the sizes come from the design: its distance, factors and altitudes).
void CheckPictureSize(int64_t width, int64_t height) {
  if (width <= MaxRenderSide && height <= MaxRenderSide && width * height <= MaxRenderPixels) return;
  throw TPictureTooLarge(width, height,
                         "Check the camera distance, the X and Y factors, the margins, the extrusions and the "
                         "altitudes of the design.");
}

}  // namespace

TPictureTooLarge::TPictureTooLarge(int64_t width, int64_t height, const std::string& advice)
    : std::runtime_error("The picture would be " + std::to_string(width) + " x " + std::to_string(height) +
                         " pixels; the largest is " + std::to_string(MaxRenderSide) +
                         " pixels a side and 64 million in all. " + advice),
      Width(width),
      Height(height) {}

void ClearImage(TBitmap& image, TColor background) { image.Fill(ColorToPixel(background)); }

void RenderScene(TView3D& view, const TParams& params, TPicture& picture, bool withMask, IProgressSink& sink,
                 bool progress, const TRenderFrame* frame) {
  if (progress) sink.SetStatus(" Calculating viewport ...");
  sink.ProcessMessages();

  view.Params = RenderBlock(params, 0, 0);
  view.SetCamera(CameraBlock(params));
  const TScreenExtents e = view.ScreenExtents();
  const bool button = params.Type > 0 && view.ButtonBody() != 0;

  int64_t width = EmptyImageSide, height = EmptyImageSide;
  int64_t centerX = 0, centerY = 0;
  if (e.MinX <= e.MaxX && e.MinY <= e.MaxY) {
    centerX = -int64_t{e.MinX};
    centerY = -int64_t{e.MinY};
    width = int64_t{e.MaxX} - e.MinX + 2;
    height = int64_t{e.MaxY} - e.MinY + 2;
    // Room for one shadow: the button's when there is a button (the letters' shadow
    // then falls on the button), else the letters'.
    const int32_t altitude = button ? params.Button.Altitude : params.Message.Altitude;
    if (altitude > 0) {
      const int64_t dx = button ? params.ButShadowX : params.TxtShadowX;
      const int64_t dy = button ? params.ButShadowY : params.TxtShadowY;
      if (dx < 0) centerX -= dx;
      if (dy < 0) centerY -= dy;
      width += std::llabs(dx);
      height += std::llabs(dy);
    }
  }
  if (frame) {
    width = frame->Width;
    height = frame->Height;
    centerX = frame->CenterX;
    centerY = frame->CenterY;
  }
  CheckPictureSize(width, height);
  picture.CenterX = static_cast<int32_t>(centerX);
  picture.CenterY = static_cast<int32_t>(centerY);

  if (progress) {
    sink.SetProgress(ProgressRendering);
    sink.SetStatus(" Rendering scene ...");
    sink.ProcessMessages();
  }

  // Neither is cleared here: the view's render clears the image to the background
  // (and the mask to black when it draws one) beside its other work.
  picture.Mask.Reshape(static_cast<int>(width), static_cast<int>(height));
  picture.Image.Reshape(static_cast<int>(width), static_cast<int>(height));

  view.Params = RenderBlock(params, picture.CenterX, picture.CenterY);
  view.SetCamera(CameraBlock(params));
  view.Render(picture.Image, picture.Mask, withMask, button, ColorToPixel(params.BkgColor),
              MakeShadeRamp(params.Message, params.Light.Color), MakeShadeRamp(params.Button, params.Light.Color));

  if (progress) sink.SetProgress(ProgressRendered);
}

TPreviewSize PreviewSize(int imageW, int imageH, int clientW, int clientH, int viewSize) {
  if (imageW <= 0 || imageH <= 0) return {};
  const long double s = Clamp(viewSize, MinViewSize, MaxViewSize) / 100.0L;
  TPreviewSize p;
  // The side that reaches the area's edge first sets the scale: a wide picture in a
  // low panel fits its height, so nothing is cut off.
  if (int64_t{clientW} * imageH <= int64_t{clientH} * imageW) {
    p.Width = RoundHalfEven(clientW * s);
    p.Height = RoundHalfEven(clientW * s * imageH / imageW);
  } else {
    p.Height = RoundHalfEven(clientH * s);
    p.Width = RoundHalfEven(clientH * s * imageW / imageH);
  }
  p.Width = std::max(p.Width, 0);
  p.Height = std::max(p.Height, 0);
  return p;
}

TBitmap ScalePreview(const TBitmap& image, TPreviewSize size, bool smooth) {
  TBitmap preview(size.Width, size.Height);
  if (preview.Empty() || image.Empty()) return preview;
  // A 24-bit copy: the scaler never reads the fourth byte, the stretch would copy it.
  TBitmap copy = image;
  uint32_t* p = copy.Data();
  for (size_t i = 0, n = static_cast<size_t>(copy.Width()) * copy.Height(); i < n; ++i) p[i] &= 0x00FFFFFFu;
  if (smooth)
    ResampleImage(copy, preview, SplineFilter, 2.0);
  else
    preview.StretchFrom(copy);
  return preview;
}

}  // namespace qz
