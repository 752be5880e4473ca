#include "render/TileCache.h"

#include <utility>

namespace qz {

const TBitmap* TTileCache::Find(const TBitmap& texture, int32_t width, int32_t height, TFilterFunc filter,
                                double support) const {
  if (tile_.Empty() || filter != filter_ || support != support_) return nullptr;
  if (tile_.Width() != width || tile_.Height() != height) return nullptr;
  return texture == source_ ? &tile_ : nullptr;
}

void TTileCache::Keep(const TBitmap& texture, const TBitmap& tile, TFilterFunc filter, double support) {
  if (int64_t{tile.Width()} * tile.Height() > MaxPixels ||
      int64_t{texture.Width()} * texture.Height() > MaxPixels) {
    Clear();
    return;
  }
  // A tile refitted to a new size (the picture grew or shrank as the message was
  // edited) is the source of the next tile: it is already here.
  if (texture == tile_)
    std::swap(source_, tile_);
  else
    source_ = texture;
  tile_ = tile;
  filter_ = filter;
  support_ = support;
}

void TTileCache::Clear() {
  source_ = TBitmap();
  tile_ = TBitmap();
  filter_ = nullptr;
  support_ = 0.0;
}

size_t TTileCache::Bytes() const {
  return (static_cast<size_t>(source_.Width()) * source_.Height() +
          static_cast<size_t>(tile_.Width()) * tile_.Height()) * sizeof(uint32_t);
}

}  // namespace qz
