#include "render/RenderList.h"

#include <utility>

namespace qz {

TRenderList::TRenderList() {
  // The whole capacity is taken once, so adding never reallocates.
  items_.reserve(MaxItems + 1);
  items_.emplace_back();
}

void TRenderList::Clear() { items_.resize(1); }

void TRenderList::Add(int32_t index, float key) {
  if (Count() >= MaxItems) return;
  items_.push_back({key, index});
}

void TRenderList::Sort() {
  if (Count() >= 1) SortRange(1, Count());
}

void TRenderList::SortRange(int32_t l, int32_t r) {
  const float pivot = items_[(l + r) / 2].Key;
  int32_t i = l, j = r;
  do {
    // The bounds on i and j never bind for ordinary keys; they keep a key that is
    // not a number (a camera read as "nan" from a file) from walking off the list.
    while (i < r && items_[i].Key < pivot) ++i;
    while (j > l && pivot < items_[j].Key) --j;
    if (i <= j) {
      std::swap(items_[i], items_[j]);
      ++i;
      --j;
    }
  } while (i <= j);
  if (l < j) SortRange(l, j);
  if (i < r) SortRange(i, r);
}

}  // namespace qz
