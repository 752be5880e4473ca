#include "geometry/ButShape.h"

#include <gtest/gtest.h>

#include "base/FileUtil.h"
#include "support/TempDir.h"

namespace qz {
namespace {

std::vector<TPoint> Outline(TButShape& s, TButtonRect R) {
  TOutlinePoints pts{};
  int32_t count = 0;
  s.MakeOutline(R, pts, count);
  return std::vector<TPoint>(pts.begin() + 1, pts.begin() + 1 + count);
}

TButShape Shape(TButtonRect frame, const std::vector<TShapePoint>& points) {
  TButShape s;
  s.Frame = frame;
  s.PointCount = static_cast<int32_t>(points.size());
  for (size_t i = 0; i < points.size(); ++i) s.Points[i + 1] = points[i];
  return s;
}

// A plate with a rounded right end, drawn around a frame of 100 by 40.
TButShape Pill() {
  return Shape({-50, 20, 50, -20},
               {{1, -60, 30}, {1, 25, 30}, {1, 60, 30}, {0, 90, 30}, {1, 90, 0}, {0, 90, -30}, {1, 60, -30}, {1, -60, -30}});
}

TEST(ButShape, RoundTripAndAPointOnTheFrameEdge) {
  test::TTempDir dir;
  Pill().SaveToFile(dir.File("Pill.qzkh"), {0xFF, 0xD8, 0xFF, 0xD9});
  // The layout: format word, count, frame, picture offset, 9-byte points, picture.
  const std::vector<uint8_t> bytes = *ReadWholeFile(dir.File("Pill.qzkh"), 1 << 20);
  ASSERT_EQ(bytes.size(), 48u + 8 * 9 + 4);
  // The format word 0x00100000 (carries a picture), the picture's offset, point 4: a control point at X 90.
  EXPECT_EQ((std::vector<int>{bytes[2], bytes[40], bytes[48 + 27], bytes[48 + 28]}), (std::vector<int>{0x10, 48 + 72, 0, 90}));
  // The picture comes back as written; a file without one, or naming one past its end, has none.
  EXPECT_EQ(TButShape::ReadPicture(dir.File("Pill.qzkh")), (std::vector<uint8_t>{0xFF, 0xD8, 0xFF, 0xD9}));
  Pill().SaveToFile(dir.File("plain.qzkh"));
  EXPECT_FALSE(TButShape::ReadPicture(dir.File("plain.qzkh")).has_value());
  std::vector<uint8_t> past = bytes;
  past[41] = 1;  // offset 376: beyond the 124 bytes of the file
  test::WriteBytes(dir.File("past.qzkh"), past);
  EXPECT_FALSE(TButShape::ReadPicture(dir.File("past.qzkh")).has_value());

  TButShape s;
  ASSERT_TRUE(s.LoadFromFile(dir.File("PILL.QZKH")));  // found without regard to case
  EXPECT_EQ(s.PointCount, 8);
  EXPECT_EQ(s.Frame, (TButtonRect{-50, 20, 50, -20}));
  EXPECT_EQ(s.Points[6].Y, -30);
  // (The mapping onto a button is pinned by the shape templates' checksums.)
  s.Points[2].X = 50;  // exactly on the right frame edge: keeps its distance (0) to R's edge
  EXPECT_EQ(Outline(s, {-200, 100, 200, -100})[1].x, 200);
}

TEST(ButShape, ACurveEndingOnTheStartAndTheOutlineCapacity) {
  // The last point a control point: its curve (483 units, 4 steps) ends on point 1,
  // which then closes the outline once more.
  TButShape s = Shape({-1000, 1000, 1000, -1000}, {{1, 0, 0}, {1, 0, 200}, {0, 200, 200}});
  const auto wrapped = Outline(s, s.Frame);
  ASSERT_EQ(wrapped.size(), 2u + 4 + 1);
  EXPECT_EQ(wrapped[5], (TPoint{0, 0}));
  EXPECT_EQ(wrapped[6], (TPoint{0, 0}));
  // A very long curve is bounded by what the buffer holds.
  s = Shape({-1, 1, 1, -1}, {{1, 0, 0}, {0, 999, 0}, {1, 999, 999}});
  EXPECT_EQ(Outline(s, {INT32_MIN, INT32_MAX, INT32_MAX, INT32_MIN}).size(), 1024u);
}

TEST(ButShape, EmptyAndDegenerateShapes) {
  TButShape empty;  // nothing loaded: no outline at all, not a point from an empty table
  EXPECT_TRUE(Outline(empty, {-10, 10, 10, -10}).empty());
  EXPECT_FALSE(empty.LoadFromFile(std::string(QZ_TEST_OUTPUT_DIR) + "/missing.qzkh"));
  // A frame of zero width: no horizontal stretch zone, every x keeps its distance to
  // the left or right edge; no scale formed from a zero divisor.
  TButShape s = Shape({0, 10, 0, -10}, {{1, -5, 5}, {1, 5, 5}, {1, 5, -5}, {1, -5, -5}});
  EXPECT_EQ(Outline(s, {-100, 20, 100, -20}), (std::vector<TPoint>{{-105, 10}, {105, 10}, {105, -10}, {-105, -10}, {-105, 10}}));
  EXPECT_EQ(s.ScaleX, 0.0);
  EXPECT_EQ(s.ScaleY, 2.0);
  s.Frame = {0, 0, 0, 0};
  EXPECT_EQ(Outline(s, {-100, 20, 100, -20})[0], (TPoint{-105, 25}));
}

// A shape file header with count points following, padded with `fill` to `size` bytes.
std::vector<uint8_t> File(int32_t count, size_t size, uint8_t fill = 1) {
  std::vector<uint8_t> b(48, 0);
  for (int i = 0; i < 4; ++i) b[4 + i] = static_cast<uint8_t>(static_cast<uint32_t>(count) >> (8 * i));
  b.resize(std::max<size_t>(size, 48), fill);
  return b;
}

TEST(ButShape, DamagedFilesAreRefusedWithTheirName) {
  test::TTempDir dir;
  TButShape s = Pill();
  std::vector<uint8_t> control = File(3, 48 + 3 * 9);
  control[48] = 0;
  const std::vector<std::tuple<std::string, std::vector<uint8_t>, std::string>> damaged = {
      {"short.qzkh", std::vector<uint8_t>(20, 0), "shorter than its header"},
      {"many.qzkh", File(257, 48 + 257 * 9), "257 points"},
      {"negative.qzkh", File(-1, 48), "-1 points"},
      {"huge.qzkh", File(INT32_MAX, 48), "points"},
      {"truncated.qzkh", File(5, 48 + 3 * 9 + 4), "shorter than its 5 points"},
      {"control.qzkh", control, "first point is a control point"}};
  for (const auto& [name, bytes, why] : damaged) {
    test::WriteBytes(dir.File(name), bytes);
    try {
      s.LoadFromFile(dir.File(name));
      ADD_FAILURE() << name << " was accepted";
    } catch (const std::runtime_error& e) {
      EXPECT_NE(std::string(e.what()).find(dir.File(name)), std::string::npos) << e.what();
      EXPECT_NE(std::string(e.what()).find(why), std::string::npos) << e.what();
    }
    EXPECT_EQ(s.PointCount, 8);  // the shape in use is left alone
    EXPECT_EQ(s.Points[4].X, 90);
  }
  // Every prefix of a good file is refused; only the whole file loads.
  Pill().SaveToFile(dir.File("whole.qzkh"));
  const std::vector<uint8_t> whole = *ReadWholeFile(dir.File("whole.qzkh"), 1 << 20);
  for (size_t n = 0; n < whole.size(); ++n) {
    test::WriteBytes(dir.File("prefix.qzkh"), std::vector<uint8_t>(whole.begin(), whole.begin() + n));
    EXPECT_THROW(s.LoadFromFile(dir.File("prefix.qzkh")), std::runtime_error) << n;
  }
  // 256 points are fine; so is a file with no points.
  test::WriteBytes(dir.File("full.qzkh"), File(256, 48 + 256 * 9));
  EXPECT_TRUE(s.LoadFromFile(dir.File("full.qzkh")));
  EXPECT_EQ(s.PointCount, 256);
  test::WriteBytes(dir.File("none.qzkh"), File(0, 48));
  EXPECT_TRUE(s.LoadFromFile(dir.File("none.qzkh")));
  EXPECT_EQ(s.PointCount, 0);
  // The writer refuses what the reader would refuse, and leaves no file.
  TButShape bad;
  bad.PointCount = 300;
  EXPECT_THROW(bad.SaveToFile(dir.File("bad.qzkh")), std::runtime_error);
  EXPECT_FALSE(FileExists(dir.File("bad.qzkh")));
}

}  // namespace
}  // namespace qz
