// TTileCache: the last texture tile fitted for one part of the picture (the button or
// the letters), kept between builds without a copy of it. A build that fits the same
// texture to the same tile again (the texture loaded anew after an undo, a reload or
// an export's own build) is given the kept tile instead of resampling the texture.
//
// The tile a fit makes is lent to the view as its texture; the cache holds the
// texture it was made from. When the view's texture is replaced (SetButtonTexture,
// SetTextTexture), the lent tile comes back to the cache:
//
//   TBitmap tile = cache.Take(texture, w, h, SplineFilter, 2.0);   // empty: not held
//   if (tile.Empty()) { tile = cache.Recycle(); tile.SetSize(w, h); resample into it;
//                       cache.Keep(std::move(texture), SplineFilter, 2.0); }
//   view's texture = std::move(tile); cache.Lend(view's texture);
//   ...
//   cache.Return(view's texture);   // before the view's texture is replaced
//
// A tile is given out only for exactly the pixels it was made from, its size and its
// filter, so another texture file, an edited file or another tile count never meets a
// stale tile. A lent tile comes back only as the very pixels lent (same memory, same
// size): the view changes its texture only by replacing it.
#pragma once

#include <cstddef>
#include <cstdint>

#include "image/Bitmap.h"
#include "image/Resample.h"

namespace qz {

class TTileCache {
 public:
  // The tile made from texture at width x height with filter (of that support), taken
  // out of the cache; an empty bitmap when the cache does not hold it.
  TBitmap Take(const TBitmap& texture, int32_t width, int32_t height, TFilterFunc filter, double support);
  // The memory of the tile the cache holds (let go of), to resample a new tile into.
  TBitmap Recycle();
  // Keeps texture (the view's, about to be replaced by the tile made from it) as the
  // source of the tile that will be lent next.
  void Keep(TBitmap&& texture, TFilterFunc filter, double support);
  // The view holds the tile made from the kept texture now.
  void Lend(const TBitmap& tile);
  // The view is about to replace texture: when it is the lent tile, the cache takes
  // it back (texture is left empty).
  void Return(TBitmap& texture);
  void Clear();
  // The memory the kept pictures take (a lent tile is the view's).
  size_t Bytes() const;

 private:
  TBitmap source_;
  TBitmap tile_;
  TFilterFunc filter_ = nullptr;
  double support_ = 0.0;
  // The lent tile: its pixels' address and size.
  const uint32_t* lent_ = nullptr;
  int32_t lentWidth_ = 0;
  int32_t lentHeight_ = 0;
};

}  // namespace qz
