#include "palette/OctreeQuantizer.h"

#include <algorithm>

namespace qz {

TOctreeQuantizer::TOctreeQuantizer(int maxColors) : maxColors_(std::max(maxColors, 1)) {
  std::fill(std::begin(reducible_), std::end(reducible_), -1);
  root_ = NewNode(0);
}

// A node below depth 8 goes to the front of its depth's reducible list; a node at
// depth 8 is a leaf.
int32_t TOctreeQuantizer::NewNode(int depth) {
  int32_t n;
  if (!freeNodes_.empty()) {
    n = freeNodes_.back();
    freeNodes_.pop_back();
    nodes_[n] = TNode{};
  } else {
    n = static_cast<int32_t>(nodes_.size());
    nodes_.emplace_back();
  }
  TNode& node = nodes_[n];
  std::fill(std::begin(node.child), std::end(node.child), -1);
  if (depth == kDepth) {
    node.leaf = true;
    ++leafCount_;
  } else {
    node.next = reducible_[depth];
    reducible_[depth] = n;
  }
  return n;
}

void TOctreeQuantizer::FreeNode(int32_t n) { freeNodes_.push_back(n); }

void TOctreeQuantizer::AddColor(uint8_t r, uint8_t g, uint8_t b) {
  uint32_t color = (uint32_t(r) << 16) | (uint32_t(g) << 8) | b;
  int32_t n = root_;
  if (lastLeaf_ >= 0 && color == lastColor_) {
    n = lastLeaf_;
  } else {
    for (int depth = 0; !nodes_[n].leaf; ++depth) {
      int shift = 7 - depth;
      int index = (((r >> shift) & 1) << 2) | (((g >> shift) & 1) << 1) | ((b >> shift) & 1);
      int32_t c = nodes_[n].child[index];
      if (c < 0) {
        c = NewNode(depth + 1);  // may move nodes_: index it again below
        nodes_[n].child[index] = c;
      }
      n = c;
    }
  }
  TNode& leaf = nodes_[n];
  ++leaf.count;
  leaf.sum[0] += r;
  leaf.sum[1] += g;
  leaf.sum[2] += b;
  lastLeaf_ = n;
  lastColor_ = color;

  while (leafCount_ > maxColors_ && ReduceOnce()) {
  }
}

// Folds the front node of the deepest non-empty reducible list into a leaf. The
// lists below it are empty, so its children are all leaves. False when there is
// nothing left to fold (the root is a leaf already).
bool TOctreeQuantizer::ReduceOnce() {
  int depth = kDepth - 1;
  while (depth > 0 && reducible_[depth] < 0) --depth;
  int32_t n = reducible_[depth];
  if (n < 0) return false;
  TNode& node = nodes_[n];
  reducible_[depth] = node.next;
  node.next = -1;
  int children = 0;
  for (int32_t& c : node.child) {
    if (c < 0) continue;
    const TNode& child = nodes_[c];
    node.count += child.count;
    for (int k = 0; k < 3; ++k) node.sum[k] += child.sum[k];
    FreeNode(c);
    c = -1;
    ++children;
  }
  node.leaf = true;
  leafCount_ -= children - 1;
  lastLeaf_ = -1;
  return true;
}

void TOctreeQuantizer::CollectLeaves(int32_t n, std::vector<TRgb>& out) const {
  const TNode& node = nodes_[n];
  if (node.leaf) {
    // A leaf always holds at least the pixel that created it.
    out.push_back({uint8_t(node.sum[0] / node.count), uint8_t(node.sum[1] / node.count),
                   uint8_t(node.sum[2] / node.count)});
    return;
  }
  for (int32_t c : node.child)
    if (c >= 0) CollectLeaves(c, out);
}

std::vector<TRgb> TOctreeQuantizer::Colors() const {
  std::vector<TRgb> out;
  CollectLeaves(root_, out);
  return out;
}

}  // namespace qz
