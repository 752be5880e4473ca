#include "export/ExportRender.h"

#include "render/RenderDriver.h"

namespace qz {

namespace {

// A pixel-for-pixel copy with the fourth bytes cleared: the export's 24-bit copies.
TBitmap Copy24(const TBitmap& source) {
  TBitmap copy(source.Width(), source.Height());
  for (int y = 0; y < source.Height(); ++y) {
    const uint32_t* in = source.ScanLine(y);
    uint32_t* out = copy.ScanLine(y);
    for (int x = 0; x < source.Width(); ++x) out[x] = in[x] & 0xFFFFFF;
  }
  return copy;
}

}  // namespace

std::optional<TRenderedButton> RenderForExport(TScene& scene, const TMessageText& message) {
  if (message.Length() == 0) {
    scene.Messages->ShowMessage(NothingToExportMessage);
    return std::nullopt;
  }
  RenderScene(scene, true, false);
  TRenderedButton button{Copy24(scene.Image), Copy24(scene.Mask)};
  RenderScene(scene, false, false);
  return button;
}

}  // namespace qz
