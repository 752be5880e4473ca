#include "base/NumberText.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <limits>

#include "base/Numeric.h"

namespace qz {
namespace {

TEST(NumberText, FloatsWriteShortestFifteenDigitsAndReadBackBitIdentical) {
  EXPECT_EQ(FloatToText(450.0f), "450");
  EXPECT_EQ(FloatToText(-2.5f), "-2.5");
  EXPECT_EQ(FloatToText(0.3f), "0.300000011920929");
  // The extremes too: the largest float's 15 digits lie just above it, the smallest
  // subnormal's far below the normal range.
  using L = std::numeric_limits<float>;
  for (float v : {0.3f, 1e-7f, 123456.789f, -0.955336511f, 1.17549435e-38f, L::max(), -L::max(), L::denorm_min()})
    EXPECT_EQ(TextToFloat(FloatToText(v)), v) << FloatToText(v);
  // Beyond half a step past the largest float a value would be infinite: refused.
  EXPECT_EQ(TextToFloat("3.4028235e38"), L::max());
  EXPECT_FALSE(TextToFloat("3.4028236e38").has_value());
  EXPECT_FALSE(TextToFloat("-1e39").has_value());
}

TEST(NumberText, IntegersReadDecimalAndBothHexForms) {
  const std::pair<const char*, std::optional<int32_t>> cases[] = {
      {"0xFF00", 65280}, {"0XFF00", 65280}, {"$FF00", 65280}, {"$FFFFFFFF", -1},         {" -42 ", -42},
      {"0", 0},          {"-2147483648", INT32_MIN},           {"0x", std::nullopt},     {"12abc", std::nullopt},
      {"99999999999", std::nullopt},     {"", std::nullopt}};
  for (const auto& [text, value] : cases) EXPECT_EQ(TextToInt(text), value) << "'" << text << "'";
}

TEST(NumberText, CommaLocaleStillWritesAndReadsPoints) {
  const char* set = nullptr;
  for (const char* l : {"de_DE.UTF-8", "de_DE", "fr_FR.UTF-8", "ru_RU.UTF-8"})
    if ((set = std::setlocale(LC_ALL, l))) break;
  // Without a comma locale installed the check still runs under the C locale.
  EXPECT_EQ(FloatToText(0.5f), "0.5");
  EXPECT_EQ(TextToFloat("2.5"), 2.5f);
  EXPECT_EQ(TextToFloat("2,5"), std::nullopt);  // another separator is unparsable
  std::setlocale(LC_ALL, "C");
  if (!set) GTEST_SKIP() << "no comma locale installed";
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

}  // namespace
}  // namespace qz
