#include "scene/IconRecord.h"

#include <gtest/gtest.h>

#include "support/TempDir.h"

namespace qz {
namespace {

std::vector<uint8_t> Pattern(size_t n) {
  std::vector<uint8_t> v(n);
  for (size_t i = 0; i < n; ++i) v[i] = static_cast<uint8_t>(i * 37 + 11);
  return v;
}

TEST(IconRecord, LinesOfAHundredBytesAndTheLastShorter) {
  EXPECT_EQ(HexToBytes("ab0FF"), (std::vector<uint8_t>{0xAB, 0x0F}));  // either case; an odd last digit ignored
  for (auto [size, lines, lastDigits] : {std::tuple{3000u, 30, 200u}, {3001u, 31, 2u}, {1u, 1, 2u}}) {
    TIniFile ini;
    std::vector<int> seen;
    SaveIconBytes(ini, "Icon", Pattern(size), [&](int p) { seen.push_back(p); });
    EXPECT_EQ(ini.ReadString("IconInfo", "Lines", ""), std::to_string(lines));
    EXPECT_EQ(ini.ReadString("Icon", "1", "").size(), std::min<size_t>(200, size * 2));
    EXPECT_EQ(ini.ReadString("Icon", std::to_string(lines), "").size(), lastDigits);
    EXPECT_FALSE(ini.HasKey("Icon", std::to_string(lines + 1)));
    EXPECT_EQ(seen.front(), 0);
    EXPECT_EQ(seen.back(), 100);
    EXPECT_EQ(LoadIconBytes(ini, "Icon"), Pattern(size));
  }
  // A second save leaves only its own lines, and the rest of the file alone.
  TIniFile ini;
  ini.WriteString("Message", "NLetters", "0");
  SaveIconBytes(ini, "Icon", Pattern(1000));
  SaveIconBytes(ini, "Icon", Pattern(150));
  EXPECT_FALSE(ini.HasKey("Icon", "3"));
  EXPECT_EQ(LoadIconBytes(ini, "Icon"), Pattern(150));
  EXPECT_EQ(ini.ReadString("Message", "NLetters", ""), "0");
}

TEST(IconRecord, MalformedRecordsAreRefused) {
  auto with = [](const std::string& lines, const std::string& line1) {
    TIniFile ini;
    ini.WriteString("IconInfo", "Lines", lines);
    ini.WriteString("Icon", "1", line1);
    return LoadIconBytes(ini, "Icon");
  };
  for (auto [lines, line1] : {std::pair{"0", "FF"}, {"-3", "FF"}, {"5000000", "FF"}, {"1", "ABC"}, {"1", "XY"}})
    EXPECT_EQ(with(lines, line1), std::nullopt) << lines << " " << line1;
  EXPECT_EQ(with("1", std::string(202, 'A')), std::nullopt);  // longer than a line may be
  EXPECT_EQ(with("2", "abcd"), (std::vector<uint8_t>{0xAB, 0xCD}));  // a missing line is empty
}

TEST(IconRecord, PictureRoundTripThroughAWorkFile) {
  test::TTempDir dir;
  const std::string path = dir.File("w.qznr");
  test::WriteText(path, "[General]\r\nVersion=1.3.5\r\n");
  TBitmap icon(IconWidth, IconHeight);
  icon.Fill(RGBToPixel(20, 40, 220));
  icon.FillRect(0, 0, 60, IconHeight, RGBToPixel(200, 30, 30));
  ASSERT_TRUE(SaveIconToIni(path, "Icon", icon));
  TBitmap back;
  ASSERT_TRUE(LoadIconFromIni(path, "Icon", back));
  ASSERT_EQ(back.Width(), IconWidth);
  ASSERT_EQ(back.Height(), IconHeight);
  EXPECT_NEAR(int(PixelRed(back.Pixel(10, 20))), 200, 12);
  EXPECT_NEAR(int(PixelBlue(back.Pixel(110, 20))), 220, 12);
  EXPECT_EQ(TIniFile(path).ReadString("General", "Version", ""), "1.3.5");

  // Lines that are valid hexadecimal but no JPEG: no picture, no crash.
  TIniFile ini(path);
  SaveIconBytes(ini, "Icon", std::vector<uint8_t>(300, 0x42));
  ini.Flush();
  TBitmap untouched(3, 3);
  EXPECT_FALSE(LoadIconFromIni(path, "Icon", untouched));
  EXPECT_FALSE(LoadIconFromIni(dir.File("missing.qznr"), "Icon", untouched));
  EXPECT_EQ(untouched.Width(), 3);
}

}  // namespace
}  // namespace qz
