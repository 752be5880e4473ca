#include "image/formats/BmpReader.h"

#include <bit>

#include "image/ImageLimits.h"

namespace qz {

namespace {

constexpr uint32_t kFileHeaderSize = 14;
constexpr uint32_t kCoreHeaderSize = 12;
constexpr uint32_t kInfoHeaderSize = 40;
// Compression codes of the info header.
constexpr uint32_t kBiRgb = 0, kBiRle8 = 1, kBiRle4 = 2, kBiBitfields = 3, kBiJpeg = 4, kBiPng = 5;

uint16_t U16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | p[1] << 8); }
uint32_t U32(const uint8_t* p) {
  return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 | static_cast<uint32_t>(p[2]) << 16 |
         static_cast<uint32_t>(p[3]) << 24;
}
int32_t I32(const uint8_t* p) { return static_cast<int32_t>(U32(p)); }

// One colour channel described by a bit mask: where it lies and how wide it is.
struct TChannel {
  uint32_t Mask = 0;
  int Shift = 0;
  uint32_t Max = 0;  // the largest value the channel can hold

  // The channel's value of pixel p scaled to 0..255, to nearest.
  uint32_t Value(uint32_t p) const {
    if (Max == 0) return 0;
    uint32_t v = (p & Mask) >> Shift;
    return static_cast<uint32_t>((static_cast<uint64_t>(v) * 255 + Max / 2) / Max);
  }
};

// Everything the header says, checked.
struct TBmpLayout {
  int64_t Width = 0, Height = 0;
  bool TopDown = false;
  int Bits = 0;
  uint64_t PixelOffset = 0, Stride = 0;
  const uint8_t* Palette = nullptr;
  uint32_t PaletteCount = 0, PaletteEntrySize = 4;
  TChannel Red, Green, Blue;
};

class TBmpParser {
 public:
  TBmpParser(const uint8_t* data, size_t size, const std::string& name) : data_(data), size_(size), name_(name) {}

  TBmpLayout ParseHeaders() {
    TBmpLayout l;
    THeader h = ReadFileHeader(l);
    ReadInfoHeader(h, l);
    CheckPixelCount(l);
    CheckEncoding(h, l);
    uint64_t tableStart = uint64_t(kFileHeaderSize) + h.Size;
    if (l.Bits == 16 || l.Bits == 32) tableStart = ReadColourMasks(h, tableStart, l);
    if (l.Bits <= 8) tableStart = ReadPalette(h, tableStart, l);
    FindPixelData(tableStart, l);
    return l;
  }

  TBitmap ReadPixels(const TBmpLayout& l) const {
    TBitmap image(static_cast<int>(l.Width), static_cast<int>(l.Height));
    for (int64_t y = 0; y < l.Height; ++y) {
      const int64_t fileRow = l.TopDown ? y : l.Height - 1 - y;
      const uint8_t* src = data_ + l.PixelOffset + l.Stride * uint64_t(fileRow);
      uint32_t* dst = image.ScanLine(static_cast<int>(y));
      switch (l.Bits) {
        case 1:
        case 4:
        case 8: {
          const int perByte = 8 / l.Bits;
          const uint32_t mask = (1u << l.Bits) - 1;
          for (int64_t x = 0; x < l.Width; ++x) {
            // The leftmost pixel lies in the byte's high bits.
            int shift = (perByte - 1 - static_cast<int>(x % perByte)) * l.Bits;
            uint32_t index = (src[x / perByte] >> shift) & mask;
            dst[x] = PaletteColor(l, index);
          }
          break;
        }
        case 16:
          for (int64_t x = 0; x < l.Width; ++x) dst[x] = MaskedColor(l, U16(src + 2 * x));
          break;
        case 24:
          for (int64_t x = 0; x < l.Width; ++x) dst[x] = RGBToPixel(src[3 * x + 2], src[3 * x + 1], src[3 * x]);
          break;
        case 32:
          for (int64_t x = 0; x < l.Width; ++x) dst[x] = MaskedColor(l, U32(src + 4 * x));
          break;
      }
    }
    return image;
  }

 private:
  [[noreturn]] void Fail(const std::string& what) const { ThrowImageError(name_, what); }

  // What the info header says beyond the layout itself.
  struct THeader {
    uint32_t Size = 0;  // of the info header, after the file header
    bool Core = false;  // the old 12-byte header: 16-bit sizes, 3-byte palette entries
    const uint8_t* Data = nullptr;
    uint32_t Compression = kBiRgb;
    uint32_t ColorsUsed = 0;
  };

  // The file header: the signature, the pixel data's offset and a known size of info
  // header that the file holds whole.
  THeader ReadFileHeader(TBmpLayout& l) const {
    if (size_ < kFileHeaderSize + 4) Fail("the file is too short for a BMP header");
    if (data_[0] != 'B' || data_[1] != 'M') Fail("not a BMP file (it does not start with \"BM\")");
    l.PixelOffset = U32(data_ + 10);
    THeader h;
    h.Size = U32(data_ + 14);
    h.Core = h.Size == kCoreHeaderSize;
    if (!h.Core && h.Size != 40 && h.Size != 52 && h.Size != 56 && h.Size != 108 && h.Size != 124)
      Fail("unknown BMP header size " + std::to_string(h.Size));
    if (uint64_t(kFileHeaderSize) + h.Size > size_) Fail("the file is truncated inside its header");
    h.Data = data_ + kFileHeaderSize;
    return h;
  }

  // The picture's size, row order and bits per pixel; the compression and the number
  // of palette colours when the header has them.
  void ReadInfoHeader(THeader& h, TBmpLayout& l) const {
    const uint8_t* p = h.Data;
    int planes;
    if (h.Core) {
      l.Width = U16(p + 4);
      l.Height = U16(p + 6);
      planes = U16(p + 8);
      l.Bits = U16(p + 10);
      l.PaletteEntrySize = 3;
    } else {
      l.Width = I32(p + 4);
      l.Height = I32(p + 8);
      planes = U16(p + 12);
      l.Bits = U16(p + 14);
      h.Compression = U32(p + 16);
      h.ColorsUsed = U32(p + 32);
    }
    if (planes != 1) Fail("the header gives " + std::to_string(planes) + " colour planes instead of 1");
    if (l.Height < 0) {
      l.TopDown = true;
      l.Height = -l.Height;  // int64: even INT32_MIN negates safely
    }
  }

  // A picture with pixels, within the limits of a picture we decode.
  void CheckPixelCount(const TBmpLayout& l) const {
    if (l.Width <= 0 || l.Height == 0)
      Fail("the picture has no pixels (" + std::to_string(l.Width) + " x " + std::to_string(l.Height) + ")");
    CheckImageSize(l.Width, l.Height, name_);
    CheckDecodeWork(int64_t{l.Width} * l.Height,
                    std::to_string(l.Width) + " x " + std::to_string(l.Height) + " pixels", name_);
  }

  // Uncompressed pixels (or bit fields) of a depth the header's kind allows.
  void CheckEncoding(const THeader& h, const TBmpLayout& l) const {
    if (h.Compression == kBiRle8 || h.Compression == kBiRle4) Fail("compressed (RLE) BMP files are not supported");
    if (h.Compression == kBiJpeg || h.Compression == kBiPng)
      Fail("BMP files holding JPEG or PNG data are not supported");
    if (h.Compression != kBiRgb && h.Compression != kBiBitfields)
      Fail("unknown BMP compression " + std::to_string(h.Compression));
    const bool validBits = h.Core ? (l.Bits == 1 || l.Bits == 4 || l.Bits == 8 || l.Bits == 24)
                                  : (l.Bits == 1 || l.Bits == 4 || l.Bits == 8 || l.Bits == 16 || l.Bits == 24 ||
                                     l.Bits == 32);
    if (!validBits) Fail(std::to_string(l.Bits) + " bits per pixel is not a BMP format");
    if (h.Compression == kBiBitfields && l.Bits != 16 && l.Bits != 32)
      Fail("colour masks are given for a " + std::to_string(l.Bits) + "-bit picture");
  }

  // The channels of a 16- or 32-bit picture: the file's colour masks (after a 40-byte
  // header, or inside the larger ones) or the default ones. Returns where the palette
  // would start.
  uint64_t ReadColourMasks(const THeader& h, uint64_t tableStart, TBmpLayout& l) const {
    uint32_t masks[3] = {l.Bits == 16 ? 0x7C00u : 0xFF0000u, l.Bits == 16 ? 0x03E0u : 0x00FF00u,
                         l.Bits == 16 ? 0x001Fu : 0x0000FFu};
    if (h.Compression == kBiBitfields) {
      const uint8_t* m = h.Data + kInfoHeaderSize;
      if (h.Size == kInfoHeaderSize) {
        tableStart += 12;
        if (tableStart > size_) Fail("the file is truncated inside its colour masks");
      }
      for (int i = 0; i < 3; ++i) masks[i] = U32(m + 4 * i);
    }
    l.Red = MakeChannel(masks[0], l.Bits);
    l.Green = MakeChannel(masks[1], l.Bits);
    l.Blue = MakeChannel(masks[2], l.Bits);
    return tableStart;
  }

  // The palette of a 1-, 4- or 8-bit picture: 2^bits entries unless the header names
  // fewer, all inside the file. Returns where it ends.
  uint64_t ReadPalette(const THeader& h, uint64_t tableStart, TBmpLayout& l) const {
    const uint32_t most = 1u << l.Bits;
    if (h.ColorsUsed > most)
      Fail("the palette has " + std::to_string(h.ColorsUsed) + " colours, more than a " + std::to_string(l.Bits) +
           "-bit picture can use");
    l.PaletteCount = h.ColorsUsed ? h.ColorsUsed : most;
    const uint64_t paletteEnd = tableStart + uint64_t(l.PaletteCount) * l.PaletteEntrySize;
    if (paletteEnd > size_) Fail("the palette runs past the end of the file");
    l.Palette = data_ + tableStart;
    return paletteEnd;
  }

  // The pixel rows (each padded to 4 bytes): after the header and palette, and whole.
  void FindPixelData(uint64_t tableEnd, TBmpLayout& l) const {
    if (l.PixelOffset < tableEnd)
      Fail("the pixel data offset " + std::to_string(l.PixelOffset) + " lies inside the header or palette");
    l.Stride = (uint64_t(l.Width) * l.Bits + 31) / 32 * 4;
    const uint64_t needed = l.Stride * uint64_t(l.Height);
    if (l.PixelOffset > size_ || size_ - l.PixelOffset < needed)
      Fail("the pixel data is truncated (" + std::to_string(needed) + " bytes needed from offset " +
           std::to_string(l.PixelOffset) + ", the file has " + std::to_string(size_) + ")");
  }

  TChannel MakeChannel(uint32_t mask, int bits) const {
    if (bits == 16) mask &= 0xFFFFu;
    TChannel c;
    if (mask == 0) return c;  // a channel the picture does not have reads 0
    c.Shift = std::countr_zero(mask);
    const uint32_t run = mask >> c.Shift;
    if ((run & (run + 1)) != 0) Fail("a colour mask of the picture is not one run of bits");
    c.Mask = mask;
    c.Max = run;
    return c;
  }

  // An index beyond the palette the file holds reads black.
  static uint32_t PaletteColor(const TBmpLayout& l, uint32_t index) {
    if (index >= l.PaletteCount) return 0;
    const uint8_t* e = l.Palette + index * l.PaletteEntrySize;  // blue, green, red
    return RGBToPixel(e[2], e[1], e[0]);
  }

  static uint32_t MaskedColor(const TBmpLayout& l, uint32_t p) {
    return RGBToPixel(l.Red.Value(p), l.Green.Value(p), l.Blue.Value(p));
  }

  const uint8_t* data_;
  size_t size_;
  const std::string& name_;
};

}  // namespace

TBitmap DecodeBmp(const uint8_t* data, size_t size, const std::string& name) {
  TBmpParser parser(data, size, name);
  TBmpLayout layout = parser.ParseHeaders();
  return parser.ReadPixels(layout);
}

TBitmap DecodeBmp(const std::vector<uint8_t>& bytes, const std::string& name) {
  return DecodeBmp(bytes.data(), bytes.size(), name);
}

TBitmap ReadBmpFile(const std::string& path) {
  std::vector<uint8_t> bytes = ReadImageFileBytes(path);
  return DecodeBmp(bytes, path);
}

}  // namespace qz
