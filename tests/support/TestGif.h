// Small GIF files made with giflib's encoder, for the reader's tests.
#pragma once

#include <cstdint>
#include <vector>

namespace qz::test {

struct TGifFrame {
  int Left = 0, Top = 0, Width = 0, Height = 0;
  bool Interlace = false;
  std::vector<uint32_t> LocalColors = {};  // 0x00RRGGBB, a power of two in count; empty: none
  int Transparent = -1;                    // index, or -1 for no graphic control extension
  std::vector<uint8_t> Pixels = {};        // Width x Height indices, rows top to bottom
};

struct TGifLayout {
  int ScreenWidth = 0, ScreenHeight = 0;
  int Background = 0;
  std::vector<uint32_t> GlobalColors = {};  // empty: no global colour table
  std::vector<TGifFrame> Frames = {};
};

std::vector<uint8_t> MakeTestGif(const TGifLayout& layout);

}  // namespace qz::test
