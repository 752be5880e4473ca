// TOctreeQuantizer: the colour quantiser of the computed GIF palettes. Colours are
// added one by one into an octree 8 levels deep (one level per bit of the channels,
// most significant bit first); whenever it has more leaves than the palette has
// room for, the most recently created node of the deepest level that still has
// children is folded into a leaf. The leaves' mean colours are the palette.
//
//   TOctreeQuantizer q(16);
//   for (each pixel) q.AddColor(r, g, b);   // rows top to bottom, left to right
//   std::vector<TRgb> colours = q.Colors(); // at most 16
#pragma once

#include <cstdint>
#include <vector>

#include "image/IndexedImage.h"

namespace qz {

class TOctreeQuantizer {
 public:
  static constexpr int kDepth = 8;  // leaves are created at this depth below the root

  // maxColors: the most leaves the tree keeps (at least 1).
  explicit TOctreeQuantizer(int maxColors);

  void AddColor(uint8_t r, uint8_t g, uint8_t b);

  // The leaves in depth-first order, children in index order 0 to 7; each is its
  // channel sums divided by its pixel count (truncating).
  std::vector<TRgb> Colors() const;

 private:
  struct TNode {
    int32_t child[8];
    int32_t next = -1;  // the next node in its depth's list of reducible nodes
    uint64_t count = 0;
    uint64_t sum[3] = {0, 0, 0};
    bool leaf = false;
  };

  int32_t NewNode(int depth);
  void FreeNode(int32_t n);
  bool ReduceOnce();
  void CollectLeaves(int32_t n, std::vector<TRgb>& out) const;

  int maxColors_;
  int leafCount_ = 0;
  int32_t root_ = -1;
  int32_t reducible_[kDepth];  // per depth 0..7, most recently created node first
  std::vector<TNode> nodes_;
  std::vector<int32_t> freeNodes_;
  // The leaf the last colour ended in, valid until a reduction reshapes the tree:
  // runs of one colour skip the walk.
  int32_t lastLeaf_ = -1;
  uint32_t lastColor_ = 0;
};

}  // namespace qz
