#include "palette/NearestColor.h"

#include <cstdlib>
#include <limits>

namespace qz {

namespace {
constexpr int kKeys = 1 << 15;
}

TNearestColor::TNearestColor(const std::vector<TRgb>& palette, const std::vector<bool>& candidate)
    : palette_(palette), cache_(kKeys, -1), keyHead_(kKeys, -1), sameKeyNext_(palette.size(), -1) {
  std::vector<int16_t> keyTail(kKeys, -1);
  for (size_t i = 0; i < palette_.size() && i < 256; ++i) {
    if (!candidate.empty() && !candidate[i]) continue;
    candidates_.push_back(static_cast<uint8_t>(i));
    const TRgb& c = palette_[i];
    int key = Key15(c.r, c.g, c.b);
    if (keyHead_[key] < 0) {
      keyHead_[key] = static_cast<int16_t>(i);
      cache_[key] = static_cast<int16_t>(i);  // the first entry of a 15-bit colour wins
    } else {
      sameKeyNext_[keyTail[key]] = static_cast<int16_t>(i);
    }
    keyTail[key] = static_cast<int16_t>(i);
  }
}

int TNearestColor::Exact(int key, uint8_t r, uint8_t g, uint8_t b) const {
  for (int i = keyHead_[key]; i >= 0; i = sameKeyNext_[i]) {
    const TRgb& c = palette_[i];
    if (c.r == r && c.g == g && c.b == b) return i;
  }
  return -1;
}

uint8_t TNearestColor::Map(uint8_t r, uint8_t g, uint8_t b) {
  const int key = Key15(r, g, b);
  if (const int exact = Exact(key, r, g, b); exact >= 0) return static_cast<uint8_t>(exact);
  int16_t& cached = cache_[key];
  if (cached < 0) cached = static_cast<int16_t>(Search(r, g, b));
  return static_cast<uint8_t>(cached);
}

uint8_t TNearestColor::Settle(uint8_t r, uint8_t g, uint8_t b, uint8_t later) const {
  const int key = Key15(r, g, b);
  if (const int exact = Exact(key, r, g, b); exact >= 0) return static_cast<uint8_t>(exact);
  return cache_[key] >= 0 ? static_cast<uint8_t>(cache_[key]) : later;
}

int TNearestColor::Search(int r, int g, int b) const {
  int best = candidates_.empty() ? 0 : candidates_.front();
  int bestDistance = std::numeric_limits<int>::max();
  for (uint8_t i : candidates_) {
    const TRgb& c = palette_[i];
    int d = std::abs(r - c.r) + std::abs(g - c.g) + std::abs(b - c.b);
    if (d < bestDistance) {
      bestDistance = d;
      best = i;
    }
  }
  return best;
}

}  // namespace qz
