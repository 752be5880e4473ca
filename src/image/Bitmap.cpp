#include "image/Bitmap.h"

#include <algorithm>

#include "image/PixelRuns.h"

namespace qz {

void TBitmap::SetSize(int width, int height) {
  pixels_.clear();  // every pixel of the new size is then 0, and none is copied
  Reshape(width, height);
}

void TBitmap::Reshape(int width, int height) {
  width_ = std::max(width, 0);
  height_ = std::max(height, 0);
  if (width_ == 0 || height_ == 0) width_ = height_ = 0;
  pixels_.resize(static_cast<size_t>(width_) * height_);
}

void TBitmap::Fill(uint32_t pixel) { FillPixels(pixels_.data(), pixels_.size(), pixel); }

void TBitmap::FillRect(int left, int top, int right, int bottom, uint32_t pixel) {
  left = std::max(left, 0);
  top = std::max(top, 0);
  right = std::min(right, width_);
  bottom = std::min(bottom, height_);
  for (int y = top; y < bottom; ++y) std::fill(ScanLine(y) + left, ScanLine(y) + std::max(left, right), pixel);
}

void TBitmap::Draw(int x, int y, const TBitmap& src) {
  int x0 = std::max(x, 0), x1 = std::min(x + src.Width(), width_);
  int y0 = std::max(y, 0), y1 = std::min(y + src.Height(), height_);
  if (x0 >= x1) return;
  for (int row = y0; row < y1; ++row)
    std::copy(src.ScanLine(row - y) + (x0 - x), src.ScanLine(row - y) + (x1 - x), ScanLine(row) + x0);
}

void TBitmap::StretchFrom(const TBitmap& src) {
  if (Empty() || src.Empty()) return;
  for (int y = 0; y < height_; ++y) {
    const uint32_t* s = src.ScanLine(static_cast<int>(static_cast<int64_t>(y) * src.Height() / height_));
    uint32_t* d = ScanLine(y);
    for (int x = 0; x < width_; ++x) d[x] = s[static_cast<int64_t>(x) * src.Width() / width_];
  }
}

}  // namespace qz
