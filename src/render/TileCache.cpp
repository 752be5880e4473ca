#include "render/TileCache.h"

#include <utility>

namespace qz {

TBitmap TTileCache::Take(const TBitmap& texture, int32_t width, int32_t height, TFilterFunc filter,
                         double support) {
  if (tile_.Empty() || filter != filter_ || support != support_) return TBitmap();
  if (tile_.Width() != width || tile_.Height() != height || !(texture == source_)) return TBitmap();
  return std::exchange(tile_, TBitmap());
}

TBitmap TTileCache::Recycle() { return std::exchange(tile_, TBitmap()); }

void TTileCache::Keep(TBitmap&& texture, TFilterFunc filter, double support) {
  source_ = std::move(texture);
  texture = TBitmap();
  tile_ = TBitmap();
  filter_ = filter;
  support_ = support;
  lent_ = nullptr;  // a lent tile refitted is this source now
}

void TTileCache::Lend(const TBitmap& tile) {
  lent_ = tile.Data();
  lentWidth_ = tile.Width();
  lentHeight_ = tile.Height();
}

void TTileCache::Return(TBitmap& texture) {
  if (!lent_ || texture.Data() != lent_ || texture.Width() != lentWidth_ || texture.Height() != lentHeight_) return;
  tile_ = std::exchange(texture, TBitmap());
  lent_ = nullptr;
}

void TTileCache::Clear() {
  source_ = TBitmap();
  tile_ = TBitmap();
  filter_ = nullptr;
  support_ = 0.0;
  lent_ = nullptr;
}

size_t TTileCache::Bytes() const {
  return (static_cast<size_t>(source_.Width()) * source_.Height() +
          static_cast<size_t>(tile_.Width()) * tile_.Height()) * sizeof(uint32_t);
}

}  // namespace qz
