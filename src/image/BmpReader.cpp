#include "image/BmpReader.h"

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
    if (size_ < kFileHeaderSize + 4) Fail("the file is too short for a BMP header");
    if (data_[0] != 'B' || data_[1] != 'M') Fail("not a BMP file (it does not start with \"BM\")");
    l.PixelOffset = U32(data_ + 10);
    const uint32_t headerSize = U32(data_ + 14);
    const bool core = headerSize == kCoreHeaderSize;
    if (!core && headerSize != 40 && headerSize != 52 && headerSize != 56 && headerSize != 108 && headerSize != 124)
      Fail("unknown BMP header size " + std::to_string(headerSize));
    const uint64_t headerEnd = uint64_t(kFileHeaderSize) + headerSize;
    if (headerEnd > size_) Fail("the file is truncated inside its header");
    const uint8_t* h = data_ + kFileHeaderSize;

    uint32_t compression = kBiRgb, colorsUsed = 0;
    int planes;
    if (core) {
      l.Width = U16(h + 4);
      l.Height = U16(h + 6);
      planes = U16(h + 8);
      l.Bits = U16(h + 10);
      l.PaletteEntrySize = 3;
    } else {
      l.Width = I32(h + 4);
      l.Height = I32(h + 8);
      planes = U16(h + 12);
      l.Bits = U16(h + 14);
      compression = U32(h + 16);
      colorsUsed = U32(h + 32);
    }
    if (planes != 1) Fail("the header gives " + std::to_string(planes) + " colour planes instead of 1");
    if (l.Height < 0) {
      l.TopDown = true;
      l.Height = -l.Height;  // int64: even INT32_MIN negates safely
    }
    if (l.Width <= 0 || l.Height == 0)
      Fail("the picture has no pixels (" + std::to_string(l.Width) + " x " + std::to_string(l.Height) + ")");
    CheckImageSize(l.Width, l.Height, name_);
    CheckDecodeWork(int64_t{l.Width} * l.Height,
                    std::to_string(l.Width) + " x " + std::to_string(l.Height) + " pixels", name_);

    if (compression == kBiRle8 || compression == kBiRle4) Fail("compressed (RLE) BMP files are not supported");
    if (compression == kBiJpeg || compression == kBiPng) Fail("BMP files holding JPEG or PNG data are not supported");
    if (compression != kBiRgb && compression != kBiBitfields)
      Fail("unknown BMP compression " + std::to_string(compression));
    const bool validBits = core ? (l.Bits == 1 || l.Bits == 4 || l.Bits == 8 || l.Bits == 24)
                                : (l.Bits == 1 || l.Bits == 4 || l.Bits == 8 || l.Bits == 16 || l.Bits == 24 ||
                                   l.Bits == 32);
    if (!validBits) Fail(std::to_string(l.Bits) + " bits per pixel is not a BMP format");
    if (compression == kBiBitfields && l.Bits != 16 && l.Bits != 32)
      Fail("colour masks are given for a " + std::to_string(l.Bits) + "-bit picture");

    // Colour masks: after a 40-byte header, or inside the larger ones.
    uint64_t tableStart = headerEnd;
    if (l.Bits == 16 || l.Bits == 32) {
      uint32_t masks[3] = {l.Bits == 16 ? 0x7C00u : 0xFF0000u, l.Bits == 16 ? 0x03E0u : 0x00FF00u,
                           l.Bits == 16 ? 0x001Fu : 0x0000FFu};
      if (compression == kBiBitfields) {
        const uint8_t* m = h + kInfoHeaderSize;
        if (headerSize == kInfoHeaderSize) {
          tableStart += 12;
          if (tableStart > size_) Fail("the file is truncated inside its colour masks");
        }
        for (int i = 0; i < 3; ++i) masks[i] = U32(m + 4 * i);
      }
      l.Red = MakeChannel(masks[0], l.Bits);
      l.Green = MakeChannel(masks[1], l.Bits);
      l.Blue = MakeChannel(masks[2], l.Bits);
    }

    // The palette, for 1, 4 and 8 bits: 2^bits entries unless the header names fewer.
    if (l.Bits <= 8) {
      const uint32_t most = 1u << l.Bits;
      if (colorsUsed > most)
        Fail("the palette has " + std::to_string(colorsUsed) + " colours, more than a " + std::to_string(l.Bits) +
             "-bit picture can use");
      l.PaletteCount = colorsUsed ? colorsUsed : most;
      const uint64_t paletteEnd = tableStart + uint64_t(l.PaletteCount) * l.PaletteEntrySize;
      if (paletteEnd > size_) Fail("the palette runs past the end of the file");
      l.Palette = data_ + tableStart;
      tableStart = paletteEnd;
    }

    if (l.PixelOffset < tableStart)
      Fail("the pixel data offset " + std::to_string(l.PixelOffset) + " lies inside the header or palette");
    l.Stride = (uint64_t(l.Width) * l.Bits + 31) / 32 * 4;
    const uint64_t needed = l.Stride * uint64_t(l.Height);
    if (l.PixelOffset > size_ || size_ - l.PixelOffset < needed)
      Fail("the pixel data is truncated (" + std::to_string(needed) + " bytes needed from offset " +
           std::to_string(l.PixelOffset) + ", the file has " + std::to_string(size_) + ")");
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
