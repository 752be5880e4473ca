#include "image/formats/GifReader.h"

#include <gif_lib.h>

#include <algorithm>
#include <cstring>

#include "image/ImageLimits.h"

namespace qz {

namespace {

constexpr uint32_t kWhite = 0xFFFFFF;

struct TMemoryInput {
  const uint8_t* Data;
  size_t Size;
  size_t Pos;
};

// giflib's input callback: hands out at most what is left, so a truncated file
// ends in a read error, never a read past the buffer.
int ReadFromMemory(GifFileType* gif, GifByteType* buffer, int length) {
  TMemoryInput* in = static_cast<TMemoryInput*>(gif->UserData);
  if (length <= 0) return 0;
  size_t n = std::min(static_cast<size_t>(length), in->Size - in->Pos);
  std::memcpy(buffer, in->Data + in->Pos, n);
  in->Pos += n;
  return static_cast<int>(n);
}

class TGifFile {
 public:
  TGifFile(const uint8_t* data, size_t size, const std::string& name) : input_{data, size, 0}, name_(name) {
    int error = 0;
    gif_ = DGifOpen(&input_, ReadFromMemory, &error);
    if (!gif_) Fail("not a readable GIF file", error);
  }
  ~TGifFile() {
    int error;
    DGifCloseFile(gif_, &error);
  }
  TGifFile(const TGifFile&) = delete;
  TGifFile& operator=(const TGifFile&) = delete;

  // Reads records up to the first picture and paints it onto the canvas.
  TBitmap FirstFrame() {
    int transparent = -1;
    for (;;) {
      GifRecordType type;
      if (DGifGetRecordType(gif_, &type) == GIF_ERROR) Fail("the file is damaged before its first picture");
      if (type == IMAGE_DESC_RECORD_TYPE) return ReadImage(transparent);
      if (type == TERMINATE_RECORD_TYPE) Fail("the file holds no picture");
      if (type != EXTENSION_RECORD_TYPE) Fail("the file holds an unknown record");
      int code;
      GifByteType* block;
      if (DGifGetExtension(gif_, &code, &block) == GIF_ERROR) Fail("an extension block is damaged");
      // The graphic control extension: block[0] is its length (4), bit 0 of block[1]
      // marks block[4] as the transparent index. A later one replaces an earlier one.
      if (code == GRAPHICS_EXT_FUNC_CODE && block && block[0] >= 4) transparent = (block[1] & 1) ? block[4] : -1;
      while (block)
        if (DGifGetExtensionNext(gif_, &block) == GIF_ERROR) Fail("an extension block is damaged");
    }
  }

 private:
  [[noreturn]] void Fail(const std::string& what, int error = 0) const {
    if (!error && gif_) error = gif_->Error;
    const char* detail = error ? GifErrorString(error) : nullptr;
    ThrowImageError(name_, detail ? what + " (" + detail + ")" : what);
  }

  TBitmap ReadImage(int transparent) {
    if (DGifGetImageDesc(gif_) == GIF_ERROR) Fail("the picture's descriptor is damaged");
    const GifImageDesc& desc = gif_->Image;
    CheckImageSize(desc.Width, desc.Height, name_);
    const int64_t canvasW = std::max<int64_t>(gif_->SWidth, int64_t(desc.Left) + desc.Width);
    const int64_t canvasH = std::max<int64_t>(gif_->SHeight, int64_t(desc.Top) + desc.Height);
    CheckImageSize(canvasW, canvasH, name_);
    CheckDecodeWork(canvasW * canvasH, std::to_string(canvasW) + " x " + std::to_string(canvasH) + " pixels", name_);
    CheckDataHoldsPicture(desc.Width, desc.Height);
    const ColorMapObject* map = desc.ColorMap ? desc.ColorMap : gif_->SColorMap;
    if (!map || map->ColorCount <= 0 || !map->Colors) Fail("the picture has no colour table");

    TBitmap canvas(static_cast<int>(canvasW), static_cast<int>(canvasH));
    canvas.Fill(Background(transparent));

    // Interlaced pictures store rows in four passes: every 8th row from 0, every 8th
    // from 4, every 4th from 2, every 2nd from 1.
    static constexpr int kPassStart[4] = {0, 4, 2, 1}, kPassStep[4] = {8, 8, 4, 2};
    std::vector<GifPixelType> line(static_cast<size_t>(desc.Width));
    int pass = 0, row = 0;
    for (int n = 0; n < desc.Height; ++n) {
      if (desc.Interlace) {
        // The four passes hold exactly Height rows, so a pass is always left.
        while (row >= desc.Height && pass < 3) row = kPassStart[++pass];
      } else {
        row = n;
      }
      if (DGifGetLine(gif_, line.data(), desc.Width) == GIF_ERROR) Fail("the picture data is damaged or truncated");
      uint32_t* dst = canvas.ScanLine(desc.Top + row) + desc.Left;
      for (int x = 0; x < desc.Width; ++x) {
        const int index = line[static_cast<size_t>(x)];
        if (index == transparent) continue;
        // An index beyond the colour table reads black.
        dst[x] = index < map->ColorCount
                     ? RGBToPixel(map->Colors[index].Red, map->Colors[index].Green, map->Colors[index].Blue)
                     : 0;
      }
      if (desc.Interlace) row += kPassStep[pass];
    }
    return canvas;
  }

  // An LZW code of w bits stands for at most 2^w pixels, and codes are at most 12 bits
  // wide: a byte of picture data holds at most 8 / 12 x 4096 pixels. A picture that
  // claims more than the bytes left can hold is truncated, and is refused before its
  // canvas is allocated.
  void CheckDataHoldsPicture(int64_t width, int64_t height) const {
    const int64_t left = static_cast<int64_t>(input_.Size - input_.Pos);
    const int64_t needed = (width * height * 12 + 8 * 4096 - 1) / (8 * 4096);
    if (needed > left)
      Fail("the file is truncated: a picture of " + std::to_string(width) + " x " + std::to_string(height) +
           " pixels needs at least " + std::to_string(needed) + " bytes of picture data, and the file holds " +
           std::to_string(left) + " more");
  }

  uint32_t Background(int transparent) const {
    const ColorMapObject* screen = gif_->SColorMap;
    const int bg = gif_->SBackGroundColor;
    if (!screen || bg == transparent || bg < 0 || bg >= screen->ColorCount) return kWhite;
    return RGBToPixel(screen->Colors[bg].Red, screen->Colors[bg].Green, screen->Colors[bg].Blue);
  }

  TMemoryInput input_;
  const std::string& name_;
  GifFileType* gif_ = nullptr;
};

}  // namespace

TBitmap DecodeGif(const uint8_t* data, size_t size, const std::string& name) {
  if (size == 0) ThrowImageError(name, "there is no GIF data");
  TGifFile gif(data, size, name);
  return gif.FirstFrame();
}

TBitmap DecodeGif(const std::vector<uint8_t>& bytes, const std::string& name) {
  return DecodeGif(bytes.data(), bytes.size(), name);
}

TBitmap ReadGifFile(const std::string& path) {
  std::vector<uint8_t> bytes = ReadImageFileBytes(path);
  return DecodeGif(bytes, path);
}

}  // namespace qz
