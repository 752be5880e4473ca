#include <gtest/gtest.h>

#include <array>

#include "gif/ColorReduction.h"
#include "gif/GifTestSupport.h"

namespace qz {
namespace {

using test::TRandom;

// The methods' weights as they are published: a kernel around the current pixel
// (column 3, row 0; the cells left of it on row 0 are unused), divisor last.
struct TKernel {
  TDitherMethod method;
  int cells[4][7];
  int divisor;
};
const TKernel kKernels[] = {
    {TDitherMethod::FloydSteinberg, {{0, 0, 0, 0, 7, 0, 0}, {0, 0, 3, 5, 1, 0, 0}}, 16},
    {TDitherMethod::Stucki, {{0, 0, 0, 0, 8, 4, 0}, {0, 2, 4, 8, 4, 2, 0}, {0, 1, 2, 4, 2, 1, 0}}, 42},
    {TDitherMethod::Sierra, {{0, 0, 0, 0, 5, 3, 0}, {0, 2, 4, 5, 4, 2, 0}, {0, 0, 2, 3, 2, 0, 0}}, 32},
    {TDitherMethod::JarvisJudiceNinke, {{0, 0, 0, 0, 7, 5, 0}, {0, 3, 5, 7, 5, 3, 0}, {0, 1, 3, 5, 3, 1, 0}}, 48},
    {TDitherMethod::StevensonArce,
     {{0, 0, 0, 0, 0, 32, 0}, {12, 0, 26, 0, 30, 0, 16}, {0, 12, 0, 26, 0, 12, 0}, {5, 0, 12, 0, 12, 0, 5}},
     200},
    {TDitherMethod::Burkes, {{0, 0, 0, 0, 8, 4, 0}, {0, 2, 4, 8, 4, 2, 0}}, 32},
};

TEST(Dither, WeightTablesMatchThePublishedKernels) {
  for (const TKernel& k : kKernels) {
    const TDitherMethodInfo& info = DitherMethodInfo(k.method);
    SCOPED_TRACE(info.exportEntry);
    EXPECT_EQ(info.divisor, k.divisor);
    int cells[4][7] = {};
    int sum = 0;
    for (const TDitherWeight& w : info.weights) {
      // Only pixels not yet visited: ahead on this row, or on a row below.
      EXPECT_TRUE(w.dy > 0 || (w.dy == 0 && w.dx > 0));
      ASSERT_TRUE(w.dy >= 0 && w.dy < 4 && w.dx >= -3 && w.dx <= 3);
      cells[w.dy][w.dx + 3] += w.weight;
      sum += w.weight;
    }
    EXPECT_EQ(sum, info.divisor);
    for (int y = 0; y < 4; ++y)
      for (int x = 0; x < 7; ++x) EXPECT_EQ(cells[y][x], k.cells[y][x]) << "row " << y << " column " << x - 3;
  }
  EXPECT_TRUE(DitherMethodInfo(TDitherMethod::None).weights.empty());
  EXPECT_STREQ(FindDitherMethod(5)->exportEntry, " Stevenson & Arche");
  EXPECT_EQ(FindDitherMethod(7), nullptr);
}

// An independent error diffusion over whole-image error arrays, for the palettes
// whose rule is a formula.
std::vector<uint8_t> ReferenceDither(const TBitmap& image, const TKernel& k, TPaletteKind kind) {
  int w = image.Width(), h = image.Height();
  std::vector<std::array<int, 3>> error(static_cast<size_t>(w) * h, {0, 0, 0});
  std::vector<uint8_t> out(static_cast<size_t>(w) * h);
  for (int y = 0; y < h; ++y) {
    bool forward = y % 2 == 0;
    for (int i = 0; i < w; ++i) {
      int x = forward ? i : w - 1 - i;
      uint32_t p = image.Pixel(x, y);
      int c[3] = {int(PixelRed(p)), int(PixelGreen(p)), int(PixelBlue(p))};
      for (int ch = 0; ch < 3; ++ch) {
        int add = (error[y * w + x][ch] + k.divisor / 2) / k.divisor;  // C++ division truncates
        c[ch] = std::min(255, std::max(0, c[ch] + add));
      }
      int luma = 77 * c[0] + 150 * c[1] + 29 * c[2];
      int index;
      std::array<int, 3> e;
      if (kind == TPaletteKind::Monochrome) {
        index = luma < 32513 ? 0 : 1;
        e = {index * 255, index * 255, index * 255};
      } else if (kind == TPaletteKind::Grayscale) {
        index = luma / 256;
        e = {index, index, index};
      } else {
        int l[3];
        for (int ch = 0; ch < 3; ++ch) l[ch] = (c[ch] + 3) / 51;
        index = 36 * l[0] + 6 * l[1] + l[2];
        e = {51 * l[0], 51 * l[1], 51 * l[2]};
      }
      out[y * w + x] = static_cast<uint8_t>(index);
      for (int ky = 0; ky < 4; ++ky)
        for (int kx = -3; kx <= 3; ++kx) {
          int weight = k.cells[ky][kx + 3];
          int tx = x + (forward ? kx : -kx), ty = y + ky;
          if (weight == 0 || tx < 0 || tx >= w || ty >= h) continue;
          for (int ch = 0; ch < 3; ++ch) error[ty * w + tx][ch] += weight * (c[ch] - e[ch]);
        }
    }
  }
  return out;
}

TEST(Dither, AllMethodsMatchAnIndependentDiffusion) {
  struct Size {
    int w, h;
  };
  TRandom rnd(11);
  for (Size s : {Size{1, 1}, Size{1, 7}, Size{7, 1}, Size{2, 2}, Size{5, 4}, Size{13, 9}, Size{40, 23}}) {
    TBitmap noise(s.w, s.h);
    for (int i = 0; i < s.w * s.h; ++i) noise.Data()[i] = rnd.Next() & 0xFFFFFF;
    TBitmap photo = test::MakePhotoLike(s.w, s.h);
    for (const TKernel& k : kKernels)
      for (TPaletteKind kind : {TPaletteKind::Monochrome, TPaletteKind::Grayscale, TPaletteKind::Netscape})
        for (const TBitmap* image : {&noise, &photo}) {
          SCOPED_TRACE(testing::Message() << s.w << "x" << s.h << " " << DitherMethodInfo(k.method).exportEntry
                                          << " palette " << static_cast<int>(kind));
          EXPECT_EQ(MakeIndexedImage(*image, kind, k.method, 8).pixels, ReferenceDither(*image, k, kind));
        }
  }
}

TEST(Dither, OddRowsWalkBackwardsWithMirroredWeights) {
  // Grey 48 in black and white, Floyd-Steinberg: worked out by hand. Walking every
  // row forwards would give 0 0 1 on the second row; walking it backwards without
  // mirroring the weights, 0 0 0.
  TBitmap image(3, 2);
  image.Fill(RGBToPixel(48, 48, 48));
  TIndexedImage g = MakeIndexedImage(image, TPaletteKind::Monochrome, TDitherMethod::FloydSteinberg, 8);
  EXPECT_EQ(g.pixels, (std::vector<uint8_t>{0, 0, 0, 1, 0, 0}));
}

TEST(Dither, ErrorBeyondAnEdgeIsDropped) {
  TErrorDiffuser d(DitherMethodInfo(TDitherMethod::FloydSteinberg), 3);
  d.BeginRow(true);
  d.Spread(2, 160, -160, 16);  // the last pixel of a forward row
  d.EndRow();
  d.BeginRow(false);
  int r = 100, g = 100, b = 100;
  d.Adjust(0, r, g, b);  // nothing wrapped around to the start of the row
  EXPECT_EQ((std::array<int, 3>{r, g, b}), (std::array<int, 3>{100, 100, 100}));
  d.Adjust(1, r, g, b);  // 3/16 of the error: (480 + 8) / 16, (-480 + 8) / 16 truncated
  EXPECT_EQ((std::array<int, 3>{r, g, b}), (std::array<int, 3>{130, 71, 103}));
  r = g = b = 250;
  d.Adjust(2, r, g, b);  // 5/16, limited to 0..255
  EXPECT_EQ((std::array<int, 3>{r, g, b}), (std::array<int, 3>{255, 201, 255}));
}

}  // namespace
}  // namespace qz
