// The installation's shape files, as the build copies them into the program folder:
// they load and keep the text inside their outline at any text length, and each
// matches the description it is made from.
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "../../tools/ShapeDescription.h"
#include "geometry/ButShape.h"
#include "platform/FileUtil.h"
#include "support/InstallationFiles.h"

namespace qz {
namespace {

namespace fs = std::filesystem;

// Inside a closed polygon, by the even-odd rule.
bool Inside(const std::vector<TPoint>& poly, double x, double y) {
  bool in = false;
  for (size_t i = 0, j = poly.size() - 1; i < poly.size(); j = i++) {
    const TPoint a = poly[i], b = poly[j];
    if ((a.y > y) != (b.y > y) && x < a.x + (y - a.y) * (b.x - a.x) / static_cast<double>(b.y - a.y)) in = !in;
  }
  return in;
}

double SignedArea2(const std::vector<TPoint>& poly) {
  double a = 0;
  for (size_t i = 0; i < poly.size(); ++i) {
    const TPoint p = poly[i], q = poly[(i + 1) % poly.size()];
    a += static_cast<double>(p.x) * q.y - static_cast<double>(q.x) * p.y;
  }
  return a;
}

// Shapes drawn with straight lines only; every other shape has round parts.
const std::set<std::string> StraightShapes = {"Hexagon", "Starburst"};

TEST(InstallationData, ShapeFilesHoldTheTextAtAnyLengthAndMatchTheirDescriptions) {
  const std::vector<fs::path> files = test::InstallationFiles("BShapes", {".qzkh"});
  ASSERT_GE(files.size(), 10u);
  // Short, long and tall button rectangles, and one off the origin.
  const TButtonRect rects[] = {{-700, 250, 700, -250}, {-3000, 300, 3000, -300}, {-900, 900, 900, -900}, {-1200, 420, 1600, -310}};
  for (const fs::path& file : files) {
    const std::string name = file.stem().string();
    SCOPED_TRACE(name);
    TButShape shape;
    ASSERT_TRUE(shape.LoadFromFile(file.string()));
    ASSERT_GE(shape.PointCount, 3);
    EXPECT_EQ(tools::HasControlPoints(shape), StraightShapes.count(name) == 0);

    const std::optional<std::vector<uint8_t>> text = ReadWholeFile(std::string(QZ_SOURCE_DIR) + "/tools/shapes/" + name + ".txt", 1 << 20);
    ASSERT_TRUE(text) << "no description";
    const TButShape described = tools::ParseShapeDescription(std::string(text->begin(), text->end()), name + ".txt");
    EXPECT_EQ(shape.Frame, described.Frame);
    ASSERT_EQ(shape.PointCount, described.PointCount);
    for (int i = 1; i <= shape.PointCount; ++i) {
      EXPECT_EQ(shape.Points[i].OnCurve, described.Points[i].OnCurve) << "point " << i;
      EXPECT_EQ(shape.Points[i].X, described.Points[i].X) << "point " << i;
      EXPECT_EQ(shape.Points[i].Y, described.Points[i].Y) << "point " << i;
    }

    for (const TButtonRect& R : rects) {
      TOutlinePoints pts{};
      int32_t count = 0;
      shape.MakeOutline(R, pts, count);
      ASSERT_GT(count, shape.PointCount / 2);
      ASSERT_LT(count, 400) << "the button body holds 2048 faces, four an outline point";
      EXPECT_EQ(pts[1], pts[count]) << "closed";
      const std::vector<TPoint> poly(pts.begin() + 1, pts.begin() + count);
      EXPECT_LT(SignedArea2(poly), 0) << "clockwise with y up, so the bevel lies outside";
      // The rectangle the text and its margins fill lies inside the outline.
      for (double fx = 0; fx <= 1; fx += 0.125)
        for (double fy : {0.0, 1.0}) {
          const double x = R.Left + 1 + fx * (R.Right - R.Left - 2), y = R.Bottom + 1 + fy * (R.Top - R.Bottom - 2);
          EXPECT_TRUE(Inside(poly, x, y)) << "edge point (" << x << ", " << y << ") of " << R.Left << ".." << R.Right;
          EXPECT_TRUE(Inside(poly, R.Left + 1 + fy * (R.Right - R.Left - 2), R.Bottom + 1 + fx * (R.Top - R.Bottom - 2)));
        }
    }
  }
}

}  // namespace
}  // namespace qz
