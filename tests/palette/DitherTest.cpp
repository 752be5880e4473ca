#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <random>

#include "palette/ColorReduction.h"
#include "image/formats/GifTestSupport.h"

namespace qz {
namespace {

// The methods' published weights: a kernel around the current pixel (column 3, row
// 0; the cells left of it on row 0 are unused), divisor last.
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

// An independent error diffusion over whole-image error arrays, for the palettes
// whose rule is a formula: odd rows walk right to left with mirrored weights, error
// beyond an edge is dropped, the added error rounds half up and truncates.
std::vector<uint8_t> ReferenceDither(const TBitmap& image, const TKernel& k, TPaletteKind kind) {
  const int w = image.Width(), h = image.Height();
  std::vector<std::array<int, 3>> error(static_cast<size_t>(w) * h, {0, 0, 0});
  std::vector<uint8_t> out(static_cast<size_t>(w) * h);
  for (int y = 0; y < h; ++y) {
    const bool forward = y % 2 == 0;
    for (int i = 0; i < w; ++i) {
      const int x = forward ? i : w - 1 - i;
      const uint32_t p = image.Pixel(x, y);
      int c[3] = {int(PixelRed(p)), int(PixelGreen(p)), int(PixelBlue(p))};
      for (int ch = 0; ch < 3; ++ch) c[ch] = std::clamp(c[ch] + (error[y * w + x][ch] + k.divisor / 2) / k.divisor, 0, 255);
      const int luma = 77 * c[0] + 150 * c[1] + 29 * c[2];
      int index;
      std::array<int, 3> e;
      if (kind == TPaletteKind::Monochrome) {
        index = luma < 32513 ? 0 : 1;
        e.fill(index * 255);
      } else if (kind == TPaletteKind::Grayscale) {
        index = luma / 256;
        e.fill(index);
      } else {
        const int l[3] = {(c[0] + 3) / 51, (c[1] + 3) / 51, (c[2] + 3) / 51};
        index = 36 * l[0] + 6 * l[1] + l[2];
        e = {51 * l[0], 51 * l[1], 51 * l[2]};
      }
      out[y * w + x] = static_cast<uint8_t>(index);
      for (int ky = 0; ky < 4; ++ky)
        for (int kx = -3; kx <= 3; ++kx) {
          const int weight = k.cells[ky][kx + 3], tx = x + (forward ? kx : -kx), ty = y + ky;
          if (weight == 0 || tx < 0 || tx >= w || ty >= h) continue;
          for (int ch = 0; ch < 3; ++ch) error[ty * w + tx][ch] += weight * (c[ch] - e[ch]);
        }
    }
  }
  return out;
}

TEST(Dither, AllMethodsMatchAnIndependentDiffusion) {
  std::mt19937 rng(11);
  for (auto [w, h] : {std::pair{1, 1}, {1, 7}, {7, 1}, {5, 4}, {40, 23}}) {
    TBitmap noise(w, h);
    for (int i = 0; i < w * h; ++i) noise.Data()[i] = rng() & 0xFFFFFF;
    TBitmap photo = test::MakePhotoLike(w, h);
    for (const TKernel& k : kKernels)
      for (TPaletteKind kind : {TPaletteKind::Monochrome, TPaletteKind::Grayscale, TPaletteKind::Netscape})
        for (const TBitmap* image : {&noise, &photo}) {
          SCOPED_TRACE(testing::Message() << w << "x" << h << DitherMethodInfo(k.method).exportEntry << " palette "
                                          << static_cast<int>(kind));
          EXPECT_EQ(MakeIndexedImage(*image, kind, k.method, 8).pixels, ReferenceDither(*image, k, kind));
        }
  }
  EXPECT_EQ(FindDitherMethod(7), nullptr);
}

}  // namespace
}  // namespace qz
