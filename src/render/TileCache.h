// TTileCache: the last texture tile fitted for one part of the picture (the button or
// the letters), kept between builds. A build that fits the same texture to the same
// tile again (the texture loaded anew after an undo, a reload or an export's own
// build) copies the kept tile instead of resampling the texture.
//
//   if (const TBitmap* tile = cache.Find(texture, size, SplineFilter, 2.0)) use(*tile);
//   else { make the tile; cache.Keep(texture, tile, SplineFilter, 2.0); }
//
// A tile is found only for exactly the pixels it was made from, its size and its
// filter, so another texture file, an edited file or another tile count never meets a
// stale tile.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/Bitmap.h"
#include "render/Resample.h"

namespace qz {

class TTileCache {
 public:
  // Tiles of more pixels than this are not kept: a copy of one would cost more memory
  // than resampling it again costs time.
  static constexpr int64_t MaxPixels = int64_t{16} * 1024 * 1024;

  // The tile made from texture at width x height with filter (of that support), or
  // nullptr.
  const TBitmap* Find(const TBitmap& texture, int32_t width, int32_t height, TFilterFunc filter,
                      double support) const;
  // Keeps a copy of tile as the one made from texture with filter (when small enough).
  void Keep(const TBitmap& texture, const TBitmap& tile, TFilterFunc filter, double support);
  void Clear();
  // The memory the kept pictures take.
  size_t Bytes() const;

 private:
  TBitmap source_;
  TBitmap tile_;
  TFilterFunc filter_ = nullptr;
  double support_ = 0.0;
};

}  // namespace qz
