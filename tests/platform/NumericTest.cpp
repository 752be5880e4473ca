// The shared rounding helper: halves to even, saturation, and the same result as the
// library's nearbyint over halves, near-halves and random values of every size.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>

#include "platform/Numeric.h"

namespace qz {
namespace {

// What the helper promises, written the slow way.
int32_t ReferenceRound(long double v) {
  if (std::isnan(v)) return 0;
  const long double r = std::nearbyint(v);
  if (r >= 2147483647.0L) return std::numeric_limits<int32_t>::max();
  if (r <= -2147483648.0L) return std::numeric_limits<int32_t>::min();
  return static_cast<int32_t>(r);
}

TEST(Numeric, RoundHalfEvenOnHalvesEdgesAndOutOfRange) {
  using L = std::numeric_limits<long double>;
  constexpr int32_t Max = std::numeric_limits<int32_t>::max(), Min = std::numeric_limits<int32_t>::min();
  const std::pair<long double, int32_t> cases[] = {
      {0.5L, 0}, {1.5L, 2}, {2.5L, 2}, {-0.5L, 0}, {-1.5L, -2}, {-2.5L, -2}, {2.4999999999L, 2}, {2.5000000001L, 3},
      {std::nextafter(2.5L, 3.0L), 3}, {std::nextafter(3.5L, 3.0L), 3}, {2147483646.5L, 2147483646},
      {2147483647.4L, Max}, {2147483647.5L, Max} /* 2^31 saturates */, {-2147483648.5L, Min}, {-2147483647.5L, Min},
      {1e300L, Max}, {-1e300L, Min}, {L::infinity(), Max}, {-L::infinity(), Min}, {L::quiet_NaN(), 0}, {-0.0L, 0},
      {L::denorm_min(), 0}};
  for (auto [v, want] : cases) EXPECT_EQ(RoundHalfEven(v), want) << static_cast<double>(v);
}

TEST(Numeric, RoundHalfEvenAgreesWithNearbyint) {
  for (int64_t k = -70000; k <= 70000; ++k) {
    const long double half = k + 0.5L;
    for (long double v : {half, std::nextafter(half, -1e9L), std::nextafter(half, 1e9L), static_cast<long double>(k)})
      ASSERT_EQ(RoundHalfEven(v), ReferenceRound(v)) << static_cast<double>(v);
  }
  std::mt19937_64 rng(11);
  std::uniform_real_distribution<double> unit(-1.0, 1.0);
  for (int i = 0; i < 200000; ++i) {
    // Magnitudes from 2^-40 to 2^40, with the low bits a double cannot hold.
    const long double v = std::ldexp(static_cast<long double>(unit(rng)), static_cast<int>(rng() % 81) - 40) +
                          static_cast<long double>(unit(rng)) * 1e-25L;
    ASSERT_EQ(RoundHalfEven(v), ReferenceRound(v)) << static_cast<double>(v);
  }
}

}  // namespace
}  // namespace qz
