#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

#include "geometry/ButShape.h"

namespace qz {
namespace {

namespace fs = std::filesystem;

struct ButShape : ::testing::Test {
  ButShape() {
    dir = fs::path(QZ_TEST_OUTPUT_DIR) / "shapes";
    fs::remove_all(dir);
    fs::create_directories(dir);
  }
  std::string Path(const std::string& name) { return (dir / name).string(); }
  void WriteBytes(const std::string& name, const std::vector<uint8_t>& bytes) {
    std::ofstream(Path(name), std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), bytes.size());
  }
  // A shape file header with count points following.
  std::vector<uint8_t> Header(int32_t count) {
    std::vector<uint8_t> b(48, 0);
    for (int i = 0; i < 4; ++i) b[4 + i] = static_cast<uint8_t>(static_cast<uint32_t>(count) >> (8 * i));
    return b;
  }
  static std::vector<TPoint> Outline(TButShape& s, TButtonRect R) {
    TOutlinePoints pts{};
    int32_t count = 0;
    s.MakeOutline(R, pts, count);
    return std::vector<TPoint>(pts.begin() + 1, pts.begin() + 1 + count);
  }
  fs::path dir;
};

// A plate with a rounded right end, drawn around a frame of 100 by 40.
TButShape Pill() {
  TButShape s;
  s.Frame = {-50, 20, 50, -20};
  const TShapePoint pts[] = {{1, -60, 30}, {1, 25, 30}, {1, 60, 30}, {0, 90, 30},
                             {1, 90, 0},   {0, 90, -30}, {1, 60, -30}, {1, -60, -30}};
  s.PointCount = 8;
  for (int i = 0; i < 8; ++i) s.Points[i + 1] = pts[i];
  return s;
}

TEST_F(ButShape, RoundTripAndNinePatchMapping) {
  const std::vector<uint8_t> picture{0xFF, 0xD8, 0xFF, 0xD9};
  Pill().SaveToFile(Path("Pill.qzkh"), picture);

  // The file layout: format word, count, frame, picture offset, 9-byte points, picture.
  std::ifstream in(Path("Pill.qzkh"), std::ios::binary);
  std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), {});
  ASSERT_EQ(bytes.size(), 48u + 8 * 9 + 4);
  EXPECT_EQ(bytes[2], 0x10);                    // 0x00100000: carries a picture
  EXPECT_EQ(bytes[40], 48 + 72);                // the picture's offset
  EXPECT_EQ(bytes[48 + 9 * 3], 0);              // point 4 is a control point
  EXPECT_EQ(bytes[48 + 9 * 3 + 1], 90);         // its X

  TButShape s;
  ASSERT_TRUE(s.LoadFromFile(Path("PILL.QZKH")));  // found without regard to case
  EXPECT_EQ(s.PointCount, 8);
  EXPECT_EQ(s.Frame, (TButtonRect{-50, 20, 50, -20}));
  EXPECT_EQ(s.Points[6].X, 90);
  EXPECT_EQ(s.Points[6].Y, -30);

  for (const TButtonRect R : {TButtonRect{-200, 100, 200, -100}, TButtonRect{-400, 60, 400, -60}}) {
    const auto o = Outline(s, R);
    const double scaleX = (R.Right - R.Left) / 100.0;
    EXPECT_DOUBLE_EQ(s.ScaleX, scaleX);
    EXPECT_DOUBLE_EQ(s.ScaleY, (R.Top - R.Bottom) / 40.0);
    // Outside the frame the distance to the edge is kept: the ends look alike at
    // every size. Inside it the design is scaled.
    ASSERT_EQ(o.size(), 7u);  // 1, 2, 3, curve to 5, curve to 7, 8, and 1 again
    EXPECT_EQ(o[0], (TPoint{R.Left - 10, R.Top + 10}));
    EXPECT_EQ(o[1], (TPoint{static_cast<int32_t>(25 * scaleX), R.Top + 10}));
    EXPECT_EQ(o[2], (TPoint{R.Right + 10, R.Top + 10}));
    EXPECT_EQ(o[3], (TPoint{R.Right + 40, 0}));  // short curves: one step, to their end
    EXPECT_EQ(o[4], (TPoint{R.Right + 10, R.Bottom - 10}));
    EXPECT_EQ(o[5], (TPoint{R.Left - 10, R.Bottom - 10}));
    EXPECT_EQ(o[6], o[0]);
  }
  // A design point exactly on the right frame edge keeps its distance (0) to R's edge.
  s.Points[2].X = 50;
  EXPECT_EQ(Outline(s, {-200, 100, 200, -100})[1].x, 200);
}

TEST_F(ButShape, CurvesAreStepsOfAbout133Units) {
  TButShape s;
  s.Frame = {-1000, 1000, 1000, -1000};  // mapped onto itself: scale 1
  s.PointCount = 3;
  s.Points[1] = {1, 0, 0};
  s.Points[2] = {0, 200, 0};  // control polygon 200 + 200 = 400 units: 3 steps
  s.Points[3] = {1, 200, 200};
  const auto o = Outline(s, s.Frame);
  EXPECT_EQ(o, (std::vector<TPoint>{{0, 0}, {111, 22}, {178, 89}, {200, 200}, {0, 0}}));

  // The last point a control point: its curve (483 units, 4 steps) ends on point 1,
  // which then closes the outline once more.
  s.Points[2] = {1, 0, 200};
  s.Points[3] = {0, 200, 200};
  const auto wrapped = Outline(s, s.Frame);
  ASSERT_EQ(wrapped.size(), 2u + 4 + 1);
  EXPECT_EQ(wrapped[5], (TPoint{0, 0}));
  EXPECT_EQ(wrapped[6], (TPoint{0, 0}));

  // A very long curve is bounded by what the buffer holds.
  s.Points[2] = {0, 999, 0};
  s.Points[3] = {1, 999, 999};
  s.Frame = {-1, 1, 1, -1};
  TOutlinePoints pts{};
  int32_t count = 0;
  s.MakeOutline({INT32_MIN, INT32_MAX, INT32_MAX, INT32_MIN}, pts, count);
  EXPECT_EQ(count, 1024);
}

TEST_F(ButShape, EmptyAndDegenerateShapes) {
  // Nothing loaded: no outline at all (not a point from an empty table).
  TButShape empty;
  EXPECT_TRUE(Outline(empty, {-10, 10, 10, -10}).empty());
  EXPECT_FALSE(empty.LoadFromFile(Path("missing.qzkh")));
  EXPECT_EQ(empty.PointCount, 0);

  // A frame of zero width: no horizontal stretch zone, every x keeps its distance to
  // the left or right edge; no scale formed from a zero divisor.
  TButShape s;
  s.Frame = {0, 10, 0, -10};
  s.PointCount = 4;
  s.Points[1] = {1, -5, 5};
  s.Points[2] = {1, 5, 5};
  s.Points[3] = {1, 5, -5};
  s.Points[4] = {1, -5, -5};
  const auto o = Outline(s, {-100, 20, 100, -20});
  EXPECT_EQ(s.ScaleX, 0.0);
  EXPECT_EQ(s.ScaleY, 2.0);
  EXPECT_EQ(o, (std::vector<TPoint>{{-105, 10}, {105, 10}, {105, -10}, {-105, -10}, {-105, 10}}));
  s.Frame = {0, 0, 0, 0};
  EXPECT_EQ(Outline(s, {-100, 20, 100, -20})[0], (TPoint{-105, 25}));
}

TEST_F(ButShape, DamagedFilesAreRefusedWithTheirName) {
  TButShape s = Pill();
  auto expectRefused = [&](const std::string& name, const std::string& why) {
    try {
      s.LoadFromFile(Path(name));
      ADD_FAILURE() << name << " was accepted";
    } catch (const std::runtime_error& e) {
      const std::string text = e.what();
      EXPECT_NE(text.find(Path(name)), std::string::npos) << text;
      EXPECT_NE(text.find(why), std::string::npos) << text;
    }
    EXPECT_EQ(s.PointCount, 8);  // the shape in use is left alone
    EXPECT_EQ(s.Points[4].X, 90);
  };
  WriteBytes("short.qzkh", std::vector<uint8_t>(20, 0));
  expectRefused("short.qzkh", "shorter than its header");
  WriteBytes("empty.qzkh", {});
  expectRefused("empty.qzkh", "shorter than its header");

  auto many = Header(257);
  many.resize(48 + 257 * 9, 1);
  WriteBytes("many.qzkh", many);
  expectRefused("many.qzkh", "257 points");
  WriteBytes("negative.qzkh", Header(-1));
  expectRefused("negative.qzkh", "-1 points");
  auto huge = Header(INT32_MAX);
  WriteBytes("huge.qzkh", huge);
  expectRefused("huge.qzkh", "points");

  auto truncated = Header(5);
  truncated.resize(48 + 3 * 9 + 4, 1);
  WriteBytes("truncated.qzkh", truncated);
  expectRefused("truncated.qzkh", "shorter than its 5 points");

  auto control = Header(3);
  control.resize(48 + 3 * 9, 1);
  control[48] = 0;
  WriteBytes("control.qzkh", control);
  expectRefused("control.qzkh", "first point is a control point");

  // Every prefix of a good file either loads (only the whole file does) or is refused.
  Pill().SaveToFile(Path("whole.qzkh"));
  std::ifstream in(Path("whole.qzkh"), std::ios::binary);
  const std::vector<uint8_t> whole((std::istreambuf_iterator<char>(in)), {});
  for (size_t n = 0; n < whole.size(); ++n) {
    WriteBytes("prefix.qzkh", std::vector<uint8_t>(whole.begin(), whole.begin() + n));
    EXPECT_THROW(s.LoadFromFile(Path("prefix.qzkh")), std::runtime_error) << n;
  }

  // 256 points are fine; so is a file with no points.
  auto full = Header(256);
  full.resize(48 + 256 * 9, 1);
  WriteBytes("full.qzkh", full);
  EXPECT_TRUE(s.LoadFromFile(Path("full.qzkh")));
  EXPECT_EQ(s.PointCount, 256);
  WriteBytes("none.qzkh", Header(0));
  EXPECT_TRUE(s.LoadFromFile(Path("none.qzkh")));
  EXPECT_EQ(s.PointCount, 0);

  // The writer refuses what the reader would refuse, and leaves no file.
  TButShape bad;
  bad.PointCount = 300;
  EXPECT_THROW(bad.SaveToFile(Path("bad.qzkh")), std::runtime_error);
  EXPECT_FALSE(fs::exists(Path("bad.qzkh")));
}

}  // namespace
}  // namespace qz
