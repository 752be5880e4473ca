// TRenderList: a fixed list of (key, index) pairs sorted by key. Bodies order their
// faces with it, the view orders its bodies; both are drawn nearest (smallest key)
// first.
//
//   list.Clear();
//   list.Add(f, face.Key);   // refused silently beyond MaxItems
//   list.Sort();             // ascending keys; equal keys in any order
//   for (int i = 1; i <= list.Count(); ++i) use(list.Item(i).Index);
#pragma once

#include <cstdint>
#include <vector>

namespace qz {

struct TRenderItem {
  float Key = 0;
  int32_t Index = 0;
};

class TRenderList {
 public:
  static constexpr int32_t MaxItems = 2048;

  TRenderList();

  void Clear();
  // Appends (Key, Index); ignored when MaxItems items are held.
  void Add(int32_t index, float key);
  // Recursive quicksort over items 1..Count, ascending by key.
  void Sort();

  int32_t Count() const { return static_cast<int32_t>(items_.size()) - 1; }
  // Item i, 1..Count.
  const TRenderItem& Item(int32_t i) const { return items_[i]; }

 private:
  void SortRange(int32_t l, int32_t r);

  std::vector<TRenderItem> items_;  // items_[0] is the unused "no item" slot
};

}  // namespace qz
