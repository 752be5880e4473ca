// The installation's own files, as the build copies them into the program folder:
// textures load and tile without a seam, shape files load and keep the text inside
// their outline at any text length, and each matches the description it is made from.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <ostream>
#include <set>
#include <string>
#include <vector>

#include "../../tools/ShapeDescription.h"
#include "geometry/ButShape.h"
#include "platform/Bitmap.h"
#include "platform/FileUtil.h"
#include "platform/ImageFile.h"
#include "support/InstallationFiles.h"

namespace qz {
namespace {

namespace fs = std::filesystem;

int ChannelDiff(uint32_t a, uint32_t b) {
  return std::abs(static_cast<int>(PixelRed(a)) - static_cast<int>(PixelRed(b))) +
         std::abs(static_cast<int>(PixelGreen(a)) - static_cast<int>(PixelGreen(b))) +
         std::abs(static_cast<int>(PixelBlue(a)) - static_cast<int>(PixelBlue(b)));
}

// How a tiled picture continues across its seams, per direction. For each pair of
// neighbouring columns the mean colour difference down the picture: Edge for the
// last and the first column (the seam when tiled), RoughInside what the roughest
// twentieth of the pairs inside reach (a weave or a JPEG block border is rough by
// nature), and Far for columns half the picture apart (what unrelated columns differ by). A
// seamless tile's seam is no rougher than the rough places inside it.
struct TSeam {
  double Edge = 0, RoughInside = 0, Far = 0;
  // Whether columns that differ by this much continue into each other here.
  bool Continues(double difference) const { return difference <= 1.15 * RoughInside + 2; }
  bool Seamless() const { return Continues(Edge); }
  // Whether unrelated columns differ clearly more than neighbours, so a cut shows.
  bool Structured() const { return Far > 2 * RoughInside + 2; }
};

// Across (columns) with transpose false, down (rows) with it true.
TSeam MeasureSeam(const TBitmap& b, bool transpose) {
  const int w = transpose ? b.Height() : b.Width(), h = transpose ? b.Width() : b.Height();
  auto at = [&](int x, int y) { return transpose ? b.Pixel(y, x) : b.Pixel(x, y); };
  auto columnDiff = [&](int x0, int x1) {
    double d = 0;
    for (int y = 0; y < h; ++y) d += ChannelDiff(at(x0, y), at(x1, y));
    return d / h;
  };
  TSeam s;
  s.Edge = columnDiff(w - 1, 0);
  std::vector<double> inside;
  for (int x = 0; x + 1 < w; ++x) inside.push_back(columnDiff(x, x + 1));
  std::sort(inside.begin(), inside.end());
  s.RoughInside = inside[inside.size() * 19 / 20];
  for (int x = 0; x < w; ++x) s.Far += columnDiff(x, (x + w / 2) % w) / w;
  return s;
}

std::ostream& operator<<(std::ostream& o, const TSeam& s) {
  return o << "seam " << s.Edge << ", inside up to " << s.RoughInside << ", unrelated " << s.Far;
}

TBitmap Crop(const TBitmap& b, int w, int h) {
  TBitmap out(w, h);
  out.Draw(0, 0, b);
  return out;
}

TEST(InstallationData, TexturesLoadAndTileWithoutSeams) {
  const std::vector<fs::path> files = test::InstallationFiles("Textures", {".jpg", ".jpeg", ".gif", ".bmp"});
  ASSERT_GE(files.size(), 8u);
  std::set<std::string> formats;
  uintmax_t total = 0;
  int structured = 0;
  for (const fs::path& file : files) {
    SCOPED_TRACE(file.filename().string());
    formats.insert(file.extension().string());
    total += fs::file_size(file);
    const TBitmap texture = LoadImageFile(file.string());
    EXPECT_GE(texture.Width(), 64);
    EXPECT_GE(texture.Height(), 64);
    EXPECT_LE(texture.Width(), 512);
    EXPECT_LE(texture.Height(), 512);
    const TBitmap cut = Crop(texture, texture.Width() * 5 / 8, texture.Height() * 5 / 8);
    for (bool down : {false, true}) {
      const TSeam seam = MeasureSeam(texture, down);
      EXPECT_TRUE(seam.Seamless()) << (down ? "down: " : "across: ") << seam;
      // The same texture cut short no longer meets itself: the measure can tell,
      // wherever the texture has more structure than pixel noise.
      const double cutEdge = MeasureSeam(cut, down).Edge;
      if (seam.Structured()) {
        ++structured;
        EXPECT_FALSE(seam.Continues(cutEdge)) << (down ? "cut down: " : "cut across: ") << cutEdge;
      }
    }
  }
  EXPECT_EQ(formats, (std::set<std::string>{".bmp", ".gif", ".jpg"}));
  EXPECT_LT(total, 2u * 1024 * 1024);
  EXPECT_GE(structured, 8) << "too few directions where a seam could show";
}

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
