// Runs of 32-bit pixels filled or darkened as fast as the compiler's plain scalar code
// allows: the optimiser does not vectorise these loops at -O2, so they move two pixels
// per 64-bit word, four pixels per step. Every render clears the whole picture, draws
// most of it in flat spans and halves most of it again for the shadow.
//
//   FillPixels(row + x1, x2 - x1 + 1, colour);
//   HalvePixels(row + x1, x2 - x1 + 1);       // blue, green, red halved; fourth byte kept
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

namespace qz {

inline void FillPixels(uint32_t* p, size_t n, uint32_t pixel) {
  const uint64_t pair = static_cast<uint64_t>(pixel) << 32 | pixel;
  size_t i = 0;
  for (; i + 4 <= n; i += 4) {
    std::memcpy(p + i, &pair, sizeof pair);
    std::memcpy(p + i + 2, &pair, sizeof pair);
  }
  for (; i < n; ++i) p[i] = pixel;
}

inline void HalvePixels(uint32_t* p, size_t n) {
  constexpr uint64_t Keep = 0xFF000000FF000000ull, Halved = 0x007F7F7F007F7F7Full;
  size_t i = 0;
  for (; i + 4 <= n; i += 4) {
    uint64_t a, b;
    std::memcpy(&a, p + i, sizeof a);
    std::memcpy(&b, p + i + 2, sizeof b);
    a = (a & Keep) | ((a >> 1) & Halved);
    b = (b & Keep) | ((b >> 1) & Halved);
    std::memcpy(p + i, &a, sizeof a);
    std::memcpy(p + i + 2, &b, sizeof b);
  }
  for (; i < n; ++i) p[i] = (p[i] & 0xFF000000u) | ((p[i] >> 1) & 0x007F7F7Fu);
}

}  // namespace qz
