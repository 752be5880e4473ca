// TNearestColor: maps a colour to the palette entry with the smallest sum of absolute
// channel differences (the first such entry on a tie), remembering the answer per
// 15-bit colour (the top 5 bits of each channel) so that the search runs once per
// 15-bit colour, not once per pixel.
//
// Before any colour is mapped, every candidate entry is entered under its own 15-bit
// colour (the first entry wins when several share one). A colour that equals a
// candidate exactly always gets that entry, even when an earlier entry holds its
// 15-bit slot: without that, two palette colours that differ only in their low bits
// (a text of 250,250,250 on a white plate) would merge into one.
//
//   TNearestColor nearest(palette, candidates);   // candidates[i]: entry i may be chosen
//   uint8_t index = nearest.Map(r, g, b);
#pragma once

#include <cstdint>
#include <vector>

#include "image/IndexedImage.h"

namespace qz {

class TNearestColor {
 public:
  // candidate[i] says whether entry i may be chosen (an empty vector: all may);
  // entries that are not candidates are never returned. palette.size() <= 256.
  TNearestColor(const std::vector<TRgb>& palette, const std::vector<bool>& candidate);

  // The entry for the colour; 0 when there are no candidates at all.
  uint8_t Map(uint8_t r, uint8_t g, uint8_t b);
  // The entry this mapper gives the colour now without searching, else `later`: what
  // a mapper that started afresh on later pixels gave it. A picture mapped in two
  // parts at once, each part by a mapper of its own, becomes what one mapper walking
  // both parts in turn makes when the first part's mapper settles the second's pixels.
  uint8_t Settle(uint8_t r, uint8_t g, uint8_t b, uint8_t later) const;

  static int Key15(uint8_t r, uint8_t g, uint8_t b) { return ((r >> 3) << 10) | ((g >> 3) << 5) | (b >> 3); }

 private:
  // The candidate that is exactly the colour (of 15-bit colour key), or -1.
  int Exact(int key, uint8_t r, uint8_t g, uint8_t b) const;
  int Search(int r, int g, int b) const;

  std::vector<TRgb> palette_;
  std::vector<uint8_t> candidates_;  // entry indices, in palette order
  // Per 15-bit colour: the remembered entry (-1: not yet searched) and the first of
  // the candidates whose own 15-bit colour it is (-1: none); sameKeyNext_ chains the
  // further candidates of one 15-bit colour.
  std::vector<int16_t> cache_;
  std::vector<int16_t> keyHead_;
  std::vector<int16_t> sameKeyNext_;
};

}  // namespace qz
