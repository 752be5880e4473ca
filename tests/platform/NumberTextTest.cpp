#include "platform/NumberText.h"

#include <gtest/gtest.h>

#include <clocale>
#include <limits>

namespace qz {
namespace {

TEST(NumberText, FloatsWriteShortestFifteenDigitsAndReadBackBitIdentical) {
  EXPECT_EQ(FloatToText(1.0f), "1");
  EXPECT_EQ(FloatToText(450.0f), "450");
  EXPECT_EQ(FloatToText(0.5f), "0.5");
  EXPECT_EQ(FloatToText(0.3f), "0.300000011920929");
  EXPECT_EQ(FloatToText(-2.5f), "-2.5");
  // The extremes too: the largest float's 15 digits lie just above it, the smallest
  // subnormal's far below the normal range.
  const float extremes[] = {std::numeric_limits<float>::max(), -std::numeric_limits<float>::max(),
                            std::numeric_limits<float>::denorm_min(), std::numeric_limits<float>::min()};
  for (float v : {0.3f, 0.1f, 1e-7f, 123456.789f, -0.955336511f, 3.4e38f, 1.17549435e-38f, extremes[0],
                  extremes[1], extremes[2], extremes[3]}) {
    auto back = TextToFloat(FloatToText(v));
    ASSERT_TRUE(back.has_value()) << FloatToText(v);
    EXPECT_EQ(*back, v) << FloatToText(v);
  }
  // Beyond half a step past the largest float a value would be infinite: refused.
  EXPECT_EQ(TextToFloat("3.4028235e38"), std::numeric_limits<float>::max());
  EXPECT_FALSE(TextToFloat("3.4028236e38").has_value());
  EXPECT_FALSE(TextToFloat("-1e39").has_value());
}

TEST(NumberText, IntegersReadDecimalAndBothHexForms) {
  EXPECT_EQ(TextToInt("0xFF00"), 65280);
  EXPECT_EQ(TextToInt("0XFF00"), 65280);
  EXPECT_EQ(TextToInt("$FF00"), 65280);
  EXPECT_EQ(TextToInt("$FFFFFFFF"), -1);
  EXPECT_EQ(TextToInt(" -42 "), -42);
  EXPECT_EQ(TextToInt("0"), 0);
  EXPECT_EQ(TextToInt("0x"), std::nullopt);  // "0x" alone is not hexadecimal, nor decimal
  EXPECT_EQ(TextToInt("12abc"), std::nullopt);
  EXPECT_EQ(TextToInt("99999999999"), std::nullopt);
  EXPECT_EQ(TextToInt(""), std::nullopt);
  EXPECT_EQ(TextToInt("-2147483648"), INT32_MIN);
}

TEST(NumberText, CommaLocaleStillWritesAndReadsPoints) {
  const char* locales[] = {"de_DE.UTF-8", "de_DE", "fr_FR.UTF-8", "ru_RU.UTF-8"};
  const char* set = nullptr;
  for (const char* l : locales)
    if ((set = std::setlocale(LC_ALL, l))) break;
  // Without a comma locale installed the check still runs under the C locale.
  EXPECT_EQ(FloatToText(0.5f), "0.5");
  EXPECT_EQ(TextToFloat("2.5"), 2.5f);
  EXPECT_EQ(TextToFloat("2,5"), std::nullopt);  // another separator is unparsable
  std::setlocale(LC_ALL, "C");
  if (!set) GTEST_SKIP() << "no comma locale installed";
}

}  // namespace
}  // namespace qz
