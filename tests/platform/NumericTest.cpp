#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "platform/Numeric.h"

namespace qz {
namespace {

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

}  // namespace
}  // namespace qz
