#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <random>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "base/Numeric.h"
#include "image/formats/PngFile.h"
#include "image/Resample.h"

namespace qz {
namespace {

TBitmap RandomBitmap(int w, int h, unsigned seed) {
  std::mt19937 rng(seed);
  TBitmap b(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) b.SetPixel(x, y, rng());  // fourth byte set too
  return b;
}

TBitmap Row(const std::vector<uint32_t>& pixels) {
  TBitmap b(static_cast<int>(pixels.size()), 1);
  for (size_t i = 0; i < pixels.size(); ++i) b.SetPixel(static_cast<int>(i), 0, pixels[i]);
  return b;
}

uint32_t Gray(uint32_t v) { return RGBToPixel(v, v, v); }

// The scaler written the slow, literal way: one contributor list per column and
// per row, weights summed per pixel and per channel in contributor order, the
// second pass column by column. The fast scaler must agree with it bit for bit.
std::vector<std::vector<std::pair<int, double>>> ReferenceLists(int dest, int src, TFilterFunc f, double width) {
  double scale = (src == 1 || dest == 1) ? double(dest) / src : double(dest - 1) / (src - 1);
  std::vector<std::vector<std::pair<int, double>>> lists(dest);
  for (int i = 0; i < dest; ++i) {
    double center = i / scale;
    double w = scale < 1 ? width / scale : width, s = 1 / scale;
    for (long j = long(std::floor(center - w)); j <= long(std::ceil(center + w)); ++j) {
      double weight = scale < 1 ? f((center - j) / s) / s : f(center - j);
      if (weight == 0) continue;
      long n = j < 0 ? -j : (j >= src ? 2L * src - j - 1 : j);
      n = std::min<long>(std::max<long>(n, 0), src - 1);
      lists[i].push_back({int(n), weight});
    }
  }
  return lists;
}

uint32_t ClampRound(double v) { return v > 255 ? 255 : v < 0 ? 0 : uint32_t(RoundHalfEven(v)); }

TBitmap ReferenceResample(const TBitmap& src, int dw, int dh, TFilterFunc f, double width) {
  int sw = src.Width(), sh = src.Height();
  auto cols = ReferenceLists(dw, sw, f, width);
  std::vector<uint32_t> work(size_t(dw) * sh);
  for (int y = 0; y < sh; ++y)
    for (int i = 0; i < dw; ++i) {
      double c[3] = {0, 0, 0};
      for (auto [n, w] : cols[i]) {
        uint32_t p = src.Pixel(n, y);
        c[0] += PixelRed(p) * w, c[1] += PixelGreen(p) * w, c[2] += PixelBlue(p) * w;
      }
      work[size_t(y) * dw + i] = RGBToPixel(ClampRound(c[0]), ClampRound(c[1]), ClampRound(c[2]));
    }
  auto rows = ReferenceLists(dh, sh, f, width);
  TBitmap out(dw, dh);
  for (int x = 0; x < dw; ++x)
    for (int y = 0; y < dh; ++y) {
      double c[3] = {0, 0, 0};
      for (auto [n, w] : rows[y]) {
        uint32_t p = work[size_t(n) * dw + x];
        c[0] += PixelRed(p) * w, c[1] += PixelGreen(p) * w, c[2] += PixelBlue(p) * w;
      }
      out.SetPixel(x, y, RGBToPixel(ClampRound(c[0]), ClampRound(c[1]), ClampRound(c[2])));
    }
  return out;
}

TEST(Resample, FilterTableValues) {
  ASSERT_NE(FindFilter("B-Spline"), nullptr);
  EXPECT_EQ(FindFilter("Lanczos3")->Function, &LanczosFilter);
  EXPECT_EQ(FindFilter("Lanczos3")->Support, 3.0);
  EXPECT_EQ(FindFilter("Box")->Support, 0.5);
  EXPECT_EQ(FindFilter("bspline"), nullptr);
  // Box is open on the left and closed on the right.
  EXPECT_EQ(BoxFilter(0.5), 1.0);
  EXPECT_EQ(BoxFilter(-0.5), 0.0);
  EXPECT_DOUBLE_EQ(HermiteFilter(0.5), 0.5);
  EXPECT_DOUBLE_EQ(BellFilter(1.0), 0.125);
  EXPECT_DOUBLE_EQ(SplineFilter(0.0), 2.0 / 3.0);
  EXPECT_DOUBLE_EQ(SplineFilter(1.0), 1.0 / 6.0);
  EXPECT_DOUBLE_EQ(MitchellFilter(0.0), 8.0 / 9.0);
  EXPECT_DOUBLE_EQ(MitchellFilter(1.0), 1.0 / 18.0);
  EXPECT_NEAR(MitchellFilter(1.5), -0.0347222, 1e-6);
  EXPECT_EQ(LanczosFilter(0.0), 1.0);
  EXPECT_NEAR(LanczosFilter(1.0), 0.0, 1e-15);
  EXPECT_NEAR(LanczosFilter(1.5), -0.1350949, 1e-6);  // the negative lobe
  for (const TFilter& f : Filters) {
    EXPECT_EQ(f.Function(f.Support + 1e-9), 0.0) << f.Name;
    EXPECT_EQ(f.Function(-f.Support - 0.01), 0.0) << f.Name;
  }
}

TEST(Resample, SameSizeTriangleIsIdentity) {
  TBitmap src = RandomBitmap(37, 23, 1);
  TBitmap dst(37, 23);
  ResampleImage(src, dst, TriangleFilter, 1.0);
  for (int y = 0; y < 23; ++y)
    for (int x = 0; x < 37; ++x) ASSERT_EQ(dst.Pixel(x, y), src.Pixel(x, y) & 0xFFFFFF) << x << "," << y;
}

TEST(Resample, DoublingTwoPixelsByHand) {
  // SW = 2, DW = 4: xscale = 3, centres 0, 1/3, 2/3, 1.
  TBitmap src = Row({Gray(10), Gray(200)});
  TBitmap dst(4, 1);
  ResampleImage(src, dst, TriangleFilter, 1.0);
  EXPECT_EQ(dst.Pixel(0, 0), Gray(10));
  EXPECT_EQ(dst.Pixel(1, 0), Gray(73));   // 2/3 * 10 + 1/3 * 200 = 73.33
  EXPECT_EQ(dst.Pixel(2, 0), Gray(137));  // 1/3 * 10 + 2/3 * 200 = 136.67
  EXPECT_EQ(dst.Pixel(3, 0), Gray(200));
}

TEST(Resample, HalvesRoundToEven) {
  // SW = 2, DW = 3: the middle pixel is exactly half of each neighbour.
  TBitmap src = Row({RGBToPixel(0, 0, 2), RGBToPixel(1, 3, 3)});
  TBitmap dst(3, 1);
  ResampleImage(src, dst, TriangleFilter, 1.0);
  EXPECT_EQ(dst.Pixel(1, 0), RGBToPixel(0, 2, 2));  // 0.5, 1.5, 2.5
  // The same in the second pass, down a column.
  TBitmap col(1, 2);
  col.SetPixel(0, 0, RGBToPixel(0, 0, 2));
  col.SetPixel(0, 1, RGBToPixel(1, 3, 3));
  TBitmap tall(1, 3);
  ResampleImage(col, tall, TriangleFilter, 1.0);
  EXPECT_EQ(tall.Pixel(0, 1), RGBToPixel(0, 2, 2));
}

TEST(Resample, LanczosOvershootIsClamped) {
  std::vector<uint32_t> edge(6, Gray(0));
  for (int i = 3; i < 6; ++i) edge[i] = Gray(255);
  TBitmap src = Row(edge);
  TBitmap dst(11, 1);
  ResampleImage(src, dst, LanczosFilter, 3.0);
  // Unclamped sums beside the edge: the ringing dips below 0 and rises above 255.
  auto lists = ReferenceLists(11, 6, LanczosFilter, 3.0);
  bool sawLow = false, sawHigh = false;
  for (int i = 0; i < 11; ++i) {
    double sum = 0;
    for (auto [n, w] : lists[i]) sum += PixelRed(edge[n]) * w;
    uint32_t got = PixelRed(dst.Pixel(i, 0));
    if (sum < -0.5) {
      sawLow = true;
      EXPECT_EQ(got, 0u) << i;
    }
    if (sum > 255.5) {
      sawHigh = true;
      EXPECT_EQ(got, 255u) << i;
    }
  }
  EXPECT_TRUE(sawLow);
  EXPECT_TRUE(sawHigh);
}

TEST(Resample, OnePixelDestinations) {
  // 3 -> 1 with Triangle uses the scale 1/3: weights 1/3 on pixel 0, 2/9 on -1 and 1
  // (both read pixel 1), 1/9 on -2 and 2 (both read pixel 2).
  TBitmap src = Row({Gray(90), Gray(45), Gray(9)});
  TBitmap one(1, 1);
  ResampleImage(src, one, TriangleFilter, 1.0);
  EXPECT_EQ(one.Pixel(0, 0), Gray(52));  // 30 + 20 + 2
  // One pixel onto one pixel is a copy, whatever the filter.
  TBitmap dot = Row({RGBToPixel(7, 8, 9) | 0xFF000000u});
  for (const TFilter& f : Filters) {
    ResampleImage(dot, one, f);
    EXPECT_EQ(one.Pixel(0, 0), RGBToPixel(7, 8, 9)) << f.Name;
  }
  // A wide picture onto a one-pixel column, and a one-pixel source onto a wide one,
  // where the filter reaches far past both edges of the source.
  TBitmap wide = RandomBitmap(50, 4, 2), column(1, 9);
  ResampleImage(wide, column, LanczosFilter, 3.0);
  EXPECT_EQ(column, ReferenceResample(wide, 1, 9, LanczosFilter, 3.0));
  TBitmap spread(7, 2);
  ResampleImage(dot, spread, LanczosFilter, 3.0);
  EXPECT_EQ(spread, ReferenceResample(dot, 7, 2, LanczosFilter, 3.0));
}

TEST(Resample, EmptySourceThrowsAndLeavesDestination) {
  TBitmap empty, dst(4, 4);
  dst.Fill(0x123456);
  try {
    ResampleImage(empty, dst, LanczosFilter, 3.0);
    FAIL() << "no error";
  } catch (const std::runtime_error& e) {
    EXPECT_STREQ(e.what(), "Source bitmap too small");
  }
  EXPECT_EQ(dst.Pixel(3, 3), 0x123456u);
  // An empty destination is no error and nothing happens.
  TBitmap none, src = RandomBitmap(3, 3, 3);
  ResampleImage(src, none, SplineFilter, 2.0);
  EXPECT_TRUE(none.Empty());
  EXPECT_THROW(ResampleImage(src, dst, SplineFilter, 0.0), std::invalid_argument);
  EXPECT_THROW(ResampleImage(src, dst, SplineFilter, NAN), std::invalid_argument);
  // Source and destination may be one bitmap: the source is read whole first.
  TBitmap same = RandomBitmap(9, 7, 6);
  TBitmap expected(9, 7);
  ResampleImage(same, expected, LanczosFilter, 3.0);
  ResampleImage(same, same, LanczosFilter, 3.0);
  EXPECT_EQ(same, expected);
}

// Both builds of the inner loops (four doubles a vector where the processor has AVX2,
// two everywhere), over sizes that end row blocks and value chunks at every offset,
// with one thread and with several (each thread keeping its own few rows of the first
// pass).
TEST(Resample, MatchesLiteralScalerForEveryFilterAndSize) {
  TBitmap src = RandomBitmap(23, 17, 4);
  TBitmap tiny = RandomBitmap(2, 3, 5);
  TBitmap tall = RandomBitmap(13, 61, 6);
  const int sizes[][2] = {{23, 17}, {60, 41}, {9, 5}, {2, 2}, {1, 30}, {100, 1}, {4, 17}, {11, 9}, {37, 25}};
  const std::pair<TResampleLoops, int> runs[] = {{TResampleLoops::Best, 0},
                                                 {TResampleLoops::Best, 1},
                                                 {TResampleLoops::Portable, 1},
                                                 {TResampleLoops::Best, 3},
                                                 {TResampleLoops::Portable, 2}};
  for (auto [loops, threads] : runs)
    for (const TFilter& f : Filters)
      for (auto [w, h] : sizes) {
        const char* names[] = {" best", " portable"};
        const std::string build = names[static_cast<int>(loops)] + std::string(" threads ") + std::to_string(threads);
        TBitmap dst(w, h);
        ResampleImage(src, dst, f.Function, f.Support, loops, threads);
        ASSERT_EQ(dst, ReferenceResample(src, w, h, f.Function, f.Support)) << f.Name << build << " " << w << "x" << h;
        ResampleImage(tiny, dst, f.Function, f.Support, loops, threads);
        ASSERT_EQ(dst, ReferenceResample(tiny, w, h, f.Function, f.Support)) << f.Name << build << " tiny " << w << "x" << h;
        ResampleImage(tall, dst, f.Function, f.Support, loops, threads);
        ASSERT_EQ(dst, ReferenceResample(tall, w, h, f.Function, f.Support)) << f.Name << build << " tall " << w << "x" << h;
      }
}

// A photo-sized shrink and a tile-sized enlargement, large enough that the scaler
// shares them among threads and lets rows of the first pass go as it moves down: the
// same pixels as one thread of the narrowest vectors, for every filter and thread count.
TEST(Resample, ThreadsAndBuildsAgreeOnLargePictures) {
  const TBitmap photo = RandomBitmap(640, 480, 7);
  const TBitmap texture = RandomBitmap(96, 80, 8);
  for (const TFilter& f : Filters) {
    TBitmap one(128, 96), many(128, 96);
    ResampleImage(photo, one, f.Function, f.Support, TResampleLoops::Portable, 1);
    for (int threads : {0, 2, 5}) {
      ResampleImage(photo, many, f.Function, f.Support, TResampleLoops::Best, threads);
      ASSERT_EQ(many, one) << f.Name << " shrink, threads " << threads;
    }
    TBitmap tileOne(1100, 130), tileMany(1100, 130);
    ResampleImage(texture, tileOne, f.Function, f.Support, TResampleLoops::Portable, 1);
    for (int threads : {0, 2, 5}) {
      ResampleImage(texture, tileMany, f.Function, f.Support, TResampleLoops::Best, threads);
      ASSERT_EQ(tileMany, tileOne) << f.Name << " enlarge, threads " << threads;
    }
  }
  // A job this size is shared among threads when the machine has more than one core,
  // and still scales onto itself from a whole copy of the source.
  TBitmap same = photo, expected(640, 480);
  ResampleImage(photo, expected, LanczosFilter, 3.0, TResampleLoops::Portable, 1);
  ResampleImage(same, same, LanczosFilter, 3.0);
  EXPECT_EQ(same, expected);
}

// A tall strip shrunk by five with Lanczos3: its rows' lists are long enough to be
// built on a second thread while the columns' are built here. The pixels are the
// literal scaler's, with the lists built side by side and one after the other.
TEST(Resample, ListsBuiltSideBySideMatchLiteralScaler) {
  const TBitmap strip = RandomBitmap(7, 3000, 9);
  const TBitmap expected = ReferenceResample(strip, 3, 600, LanczosFilter, 3.0);
  for (int threads : {0, 1, 2}) {
    TBitmap dst(3, 600);
    ResampleImage(strip, dst, LanczosFilter, 3.0, TResampleLoops::Best, threads);
    ASSERT_EQ(dst, expected) << "threads " << threads;
  }
}

// A small picture with hard edges, smooth shading and thin lines.
TBitmap TestPicture(int w, int h) {
  TBitmap b(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      double u = double(x) / w, v = double(y) / h;
      double ring = std::sin(40 * std::hypot(u - 0.5, v - 0.5));
      uint32_t r = uint32_t(127.5 + 127.5 * ring), g = uint32_t(255 * u), bl = uint32_t(255 * v);
      if ((x / 8 + y / 8) % 2 == 0 && x < w / 3) r = g = bl = 255;
      if (x % 13 == 0) r = g = bl = 0;
      b.SetPixel(x, y, RGBToPixel(r, g, bl));
    }
  return b;
}

TEST(Resample, WritesPicturesToLookAt) {
  std::filesystem::create_directories(QZ_TEST_OUTPUT_DIR);
  std::string dir = std::string(QZ_TEST_OUTPUT_DIR) + "/";
  TBitmap small = TestPicture(80, 40);
  TBitmap up(400, 200), down(100, 75);
  ResampleImage(small, up, LanczosFilter, 3.0);
  WritePng(dir + "resample-source.png", small);
  WritePng(dir + "resample-up-lanczos3.png", up);
  ResampleImage(small, up, SplineFilter, 2.0);
  WritePng(dir + "resample-up-bspline.png", up);
  TBitmap big = TestPicture(800, 600);
  ResampleImage(big, down, LanczosFilter, 3.0);
  WritePng(dir + "resample-down-lanczos3.png", down);
  // Up and down keep the overall brightness of a smooth picture.
  auto mean = [](const TBitmap& b) {
    double s = 0;
    for (int y = 0; y < b.Height(); ++y)
      for (int x = 0; x < b.Width(); ++x) s += PixelGreen(b.Pixel(x, y));
    return s / (double(b.Width()) * b.Height());
  };
  EXPECT_NEAR(mean(up), mean(small), 3.0);
  EXPECT_NEAR(mean(down), mean(big), 3.0);
}

}  // namespace
}  // namespace qz
