// TBitmap: the one in-memory picture of the program (render target, mask, texture,
// preview, export image). Pixels are 32-bit words with blue in the low byte, then
// green, then red and a fourth byte, rows from top to bottom: the layout of a 32-bit
// device-independent bitmap and of the shade ramps, so a ramp entry is a pixel.
//
//   TBitmap b(160, 40);          // cleared to 0 (black)
//   b.ScanLine(y)[x] = RGBToPixel(255, 0, 0);
//   b.Fill(ColorToPixel(BkgColor));
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace qz {

// A colour as stored in works: red in the low byte, then green, then blue.
using TColor = int32_t;

constexpr uint32_t RGBToPixel(uint32_t r, uint32_t g, uint32_t b) { return (r << 16) | (g << 8) | b; }
constexpr uint32_t PixelRed(uint32_t p) { return (p >> 16) & 0xFF; }
constexpr uint32_t PixelGreen(uint32_t p) { return (p >> 8) & 0xFF; }
constexpr uint32_t PixelBlue(uint32_t p) { return p & 0xFF; }
constexpr int32_t RGBToColor(uint32_t r, uint32_t g, uint32_t b) { return static_cast<int32_t>(r | (g << 8) | (b << 16)); }
constexpr uint32_t ColorRed(TColor c) { return static_cast<uint32_t>(c) & 0xFF; }
constexpr uint32_t ColorGreen(TColor c) { return (static_cast<uint32_t>(c) >> 8) & 0xFF; }
constexpr uint32_t ColorBlue(TColor c) { return (static_cast<uint32_t>(c) >> 16) & 0xFF; }
// Colour (red low) to pixel (blue low), the fourth byte cleared.
constexpr uint32_t ColorToPixel(TColor c) { return RGBToPixel(ColorRed(c), ColorGreen(c), ColorBlue(c)); }
constexpr TColor PixelToColor(uint32_t p) { return RGBToColor(PixelRed(p), PixelGreen(p), PixelBlue(p)); }

class TBitmap {
 public:
  TBitmap() = default;
  TBitmap(int width, int height) { SetSize(width, height); }

  int Width() const { return width_; }
  int Height() const { return height_; }
  bool Empty() const { return width_ <= 0 || height_ <= 0; }

  // Resizes; the content is undefined afterwards except that a new bitmap is
  // cleared to 0. Negative sizes count as 0.
  void SetSize(int width, int height);
  // Resizes without clearing, for a bitmap about to be overwritten whole: the memory
  // is kept when it is large enough, and the pixels are whatever it held (those
  // beyond its old size 0). A render or a resample into a picture that changes size
  // with every keystroke thus clears nothing twice.
  void Reshape(int width, int height);

  uint32_t* ScanLine(int row) { return pixels_.data() + static_cast<size_t>(row) * width_; }
  const uint32_t* ScanLine(int row) const { return pixels_.data() + static_cast<size_t>(row) * width_; }
  uint32_t Pixel(int x, int y) const { return ScanLine(y)[x]; }
  void SetPixel(int x, int y, uint32_t p) { ScanLine(y)[x] = p; }
  uint32_t* Data() { return pixels_.data(); }
  const uint32_t* Data() const { return pixels_.data(); }

  // Fills the whole bitmap or a rectangle clipped to it.
  void Fill(uint32_t pixel);
  void FillRect(int left, int top, int right, int bottom, uint32_t pixel);
  // Copies src to (x, y), clipped.
  void Draw(int x, int y, const TBitmap& src);
  // Nearest-neighbour stretch of the whole of src onto the whole of this bitmap.
  void StretchFrom(const TBitmap& src);

  bool operator==(const TBitmap& o) const {
    return width_ == o.width_ && height_ == o.height_ && pixels_ == o.pixels_;
  }

 private:
  int width_ = 0;
  int height_ = 0;
  std::vector<uint32_t> pixels_;
};

}  // namespace qz
