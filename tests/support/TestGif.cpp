#include "support/TestGif.h"

#include <gif_lib.h>

#include <stdexcept>

namespace qz::test {

namespace {

int WriteToVector(GifFileType* gif, const GifByteType* data, int length) {
  auto* out = static_cast<std::vector<uint8_t>*>(gif->UserData);
  out->insert(out->end(), data, data + length);
  return length;
}

int BitsFor(size_t count) {
  int bits = 1;
  while ((size_t(1) << bits) < count) ++bits;
  return bits;
}

ColorMapObject* MakeMap(const std::vector<uint32_t>& colors) {
  if (colors.empty()) return nullptr;
  std::vector<GifColorType> entries;
  for (uint32_t c : colors)
    entries.push_back({GifByteType(c >> 16), GifByteType(c >> 8), GifByteType(c)});
  return GifMakeMapObject(static_cast<int>(colors.size()), entries.data());
}

void Check(int result, const char* what) {
  if (result == GIF_ERROR) throw std::runtime_error(std::string("test GIF encoder failed at ") + what);
}

}  // namespace

std::vector<uint8_t> MakeTestGif(const TGifLayout& layout) {
  std::vector<uint8_t> out;
  int error = 0;
  GifFileType* gif = EGifOpen(&out, WriteToVector, &error);
  if (!gif) throw std::runtime_error("EGifOpen failed");
  EGifSetGifVersion(gif, true);
  ColorMapObject* global = MakeMap(layout.GlobalColors);
  Check(EGifPutScreenDesc(gif, layout.ScreenWidth, layout.ScreenHeight,
                          global ? BitsFor(layout.GlobalColors.size()) : 8, layout.Background, global),
        "screen");
  GifFreeMapObject(global);
  for (const TGifFrame& f : layout.Frames) {
    if (f.Transparent >= 0) {
      GraphicsControlBlock gcb{};
      gcb.TransparentColor = f.Transparent;
      GifByteType ext[4];
      size_t n = EGifGCBToExtension(&gcb, ext);
      Check(EGifPutExtension(gif, GRAPHICS_EXT_FUNC_CODE, static_cast<int>(n), ext), "extension");
    }
    ColorMapObject* local = MakeMap(f.LocalColors);
    Check(EGifPutImageDesc(gif, f.Left, f.Top, f.Width, f.Height, f.Interlace, local), "descriptor");
    GifFreeMapObject(local);
    // giflib takes the rows in the order they are stored: pass order when interlaced.
    std::vector<int> order;
    if (f.Interlace) {
      const int start[4] = {0, 4, 2, 1}, step[4] = {8, 8, 4, 2};
      for (int p = 0; p < 4; ++p)
        for (int y = start[p]; y < f.Height; y += step[p]) order.push_back(y);
    } else {
      for (int y = 0; y < f.Height; ++y) order.push_back(y);
    }
    for (int y : order) {
      std::vector<GifPixelType> row(f.Pixels.begin() + y * f.Width, f.Pixels.begin() + (y + 1) * f.Width);
      Check(EGifPutLine(gif, row.data(), f.Width), "line");
    }
  }
  Check(EGifCloseFile(gif, &error), "close");
  return out;
}

}  // namespace qz::test
