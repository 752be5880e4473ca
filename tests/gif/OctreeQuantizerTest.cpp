#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <set>

#include "gif/ColorReduction.h"
#include "gif/GifTestSupport.h"
#include "gif/OctreeQuantizer.h"
#include "gif/SystemPalettes.h"

namespace qz {
namespace {

using test::TRandom;

std::vector<TRgb> Quantize(int maxColors, std::initializer_list<TRgb> colours) {
  TOctreeQuantizer q(maxColors);
  for (const TRgb& c : colours) q.AddColor(c.r, c.g, c.b);
  return q.Colors();
}

TEST(OctreeQuantizer, ReductionOrder) {
  // Leaves come out depth first, child 0 (all bits clear) before child 7.
  EXPECT_EQ(Quantize(8, {{255, 255, 255}, {0, 0, 0}, {255, 0, 0}}),
            (std::vector<TRgb>{{0, 0, 0}, {255, 0, 0}, {255, 255, 255}}));

  // (0,0,0) and (0,0,1) share one depth-7 node, (0,0,2) and (0,0,3) the next one,
  // created later. With room for 3 the fourth colour forces a fold: the most
  // recently created node of the deepest level goes first.
  EXPECT_EQ(Quantize(3, {{0, 0, 0}, {0, 0, 1}, {0, 0, 2}, {0, 0, 3}}),
            (std::vector<TRgb>{{0, 0, 0}, {0, 0, 1}, {0, 0, 2}}));

  // With room for 2 the third colour folds the newest depth-7 node (one child: no
  // gain), then the older one. The fourth colour ends in the first leaf it meets,
  // the folded node, and the means are integer divisions: 5 / 2 = 2.
  EXPECT_EQ(Quantize(2, {{0, 0, 0}, {0, 0, 1}, {0, 0, 2}, {0, 0, 3}}),
            (std::vector<TRgb>{{0, 0, 0}, {0, 0, 2}}));

  // Room for one colour: everything folds up into the root.
  EXPECT_EQ(Quantize(1, {{0, 0, 0}, {255, 255, 255}, {255, 0, 0}, {1, 2, 3}}), (std::vector<TRgb>{{127, 64, 64}}));

  // Pixels are added rows top to bottom, each row left to right: taken by columns,
  // bottom up or right to left, these six give (0,0,32), (255,0,1), (128,128,64)
  // and (255,128,0) instead.
  TBitmap image(3, 2);
  const uint32_t pixels[6] = {RGBToPixel(255, 0, 0),    RGBToPixel(0, 0, 1),  RGBToPixel(255, 128, 0),
                              RGBToPixel(128, 128, 64), RGBToPixel(0, 0, 64), RGBToPixel(255, 0, 3)};
  std::copy(pixels, pixels + 6, image.Data());
  TIndexedImage g = MakeIndexedImage(image, TPaletteKind::Optimized, TDitherMethod::None, 2);
  EXPECT_EQ(g.palette, (std::vector<TRgb>{{0, 0, 1}, {0, 0, 64}, {255, 0, 1}, {191, 128, 32}}));
  EXPECT_EQ(TOctreeQuantizer(3).Colors(), std::vector<TRgb>{});
}

// Distinct colours from a fixed seed.
std::vector<uint32_t> DistinctColours(int n, uint32_t seed) {
  TRandom rnd(seed);
  std::set<uint32_t> seen;
  std::vector<uint32_t> out;
  while (static_cast<int>(out.size()) < n) {
    uint32_t c = rnd.Next() & 0xFFFFFF;
    if (seen.insert(c).second) out.push_back(c);
  }
  return out;
}

TEST(OctreeQuantizer, FewColoursMapExactly) {
  struct Case {
    TPaletteKind kind;
    int bits, colours;
  };
  for (Case c : {Case{TPaletteKind::Optimized, 3, 8}, Case{TPaletteKind::Optimized, 5, 32},
                 Case{TPaletteKind::Optimized, 8, 256}, Case{TPaletteKind::Optimized, 8, 3},
                 Case{TPaletteKind::OptimizedWindows, 8, 236}}) {
    SCOPED_TRACE(testing::Message() << static_cast<int>(c.kind) << " bits " << c.bits << " colours " << c.colours);
    std::vector<uint32_t> colours = DistinctColours(c.colours, c.bits);
    // Neighbours in one 15-bit colour, which the nearest-colour cache must not merge.
    colours.back() = colours.front() ^ 0x010101;
    TRandom rnd(5);
    TBitmap image(61, 37);
    for (int i = 0; i < 61 * 37; ++i)
      image.Data()[i] = colours[i < c.colours ? i : rnd.Below(c.colours)];
    TIndexedImage g = MakeIndexedImage(image, c.kind, TDitherMethod::None, c.bits);
    for (int y = 0; y < 37; ++y)
      for (int x = 0; x < 61; ++x) {
        const TRgb& e = g.palette[g.At(x, y)];
        ASSERT_EQ(RGBToPixel(e.r, e.g, e.b), image.Pixel(x, y)) << x << "," << y;
      }
    EXPECT_EQ(g.transparentIndex, -1);
  }
}

TEST(OctreeQuantizer, PaletteLayoutOfTheComputedKinds) {
  TBitmap image(3, 1);
  image.SetPixel(0, 0, RGBToPixel(200, 10, 10));
  image.SetPixel(1, 0, RGBToPixel(10, 200, 10));
  image.SetPixel(2, 0, RGBToPixel(10, 10, 200));
  // " Optimized": 2^bits entries, the computed ones first, the rest black.
  TIndexedImage g = MakeIndexedImage(image, TPaletteKind::Optimized, TDitherMethod::None, 4);
  ASSERT_EQ(g.palette.size(), 16u);
  EXPECT_EQ(g.usedSize, 3);
  for (int i = 3; i < 16; ++i) EXPECT_EQ(g.palette[i], TRgb{});
  // " Optimized Windows": system colours at 0..9 and 246..255, computed at 10 on.
  TIndexedImage w = MakeIndexedImage(image, TPaletteKind::OptimizedWindows, TDitherMethod::None, 3);
  ASSERT_EQ(w.palette.size(), 256u);
  EXPECT_EQ(w.usedSize, 256);
  for (int i = 0; i < 10; ++i) {
    EXPECT_EQ(w.palette[i], WindowsSystemPalette()[i]);
    EXPECT_EQ(w.palette[246 + i], WindowsSystemPalette()[10 + i]);
  }
  EXPECT_EQ(std::vector<TRgb>(w.palette.begin() + 10, w.palette.begin() + 13),
            (std::vector<TRgb>{{10, 10, 200}, {10, 200, 10}, {200, 10, 10}}));
  EXPECT_EQ(w.palette[13], TRgb{});
  EXPECT_EQ(w.pixels, (std::vector<uint8_t>{12, 11, 10}));
}

TEST(OctreeQuantizer, UnfilledEntriesAreNeverChosen) {
  // Few colours, none black, with dithering pushing many pixels towards black: the
  // black filler entries must stay unused.
  TBitmap image = test::MakeGradient(97, 23, {60, 60, 60}, {2, 2, 2});
  for (int y = 0; y < 23; y += 2) image.SetPixel(50, y, RGBToPixel(200, 30, 30));
  for (const TDitherMethodInfo& d : DitherMethods()) {
    SCOPED_TRACE(d.exportEntry);
    for (TPaletteKind kind : {TPaletteKind::Optimized, TPaletteKind::OptimizedWindows}) {
      TIndexedImage g = MakeIndexedImage(image, kind, d.method, 8);
      std::vector<bool> filled(256, false);
      for (int i = 0; i < g.usedSize; ++i) filled[i] = true;
      if (kind == TPaletteKind::OptimizedWindows) {
        std::fill(filled.begin() + 10, filled.begin() + 246, false);
        TOctreeQuantizer q(kSystemSplitColors);
        for (int i = 0; i < image.Width() * image.Height(); ++i)
          q.AddColor(PixelRed(image.Data()[i]), PixelGreen(image.Data()[i]), PixelBlue(image.Data()[i]));
        std::fill(filled.begin() + 10, filled.begin() + 10 + q.LeafCount(), true);
      }
      for (uint8_t index : g.pixels) ASSERT_TRUE(filled[index]) << int(index);
    }
  }
}

TEST(OctreeQuantizer, GradientToSixteenColoursStaysClose) {
  TBitmap image = test::MakeGradient(256, 8, {0, 0, 0}, {255, 128, 64});
  TIndexedImage g = MakeIndexedImage(image, TPaletteKind::Optimized, TDitherMethod::None, 4);
  EXPECT_EQ(g.usedSize, 16);
  double total = 0;
  int worst = 0;
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 256; ++x) {
      uint32_t p = image.Pixel(x, y);
      const TRgb& e = g.palette[g.At(x, y)];
      int err = std::abs(int(PixelRed(p)) - e.r) + std::abs(int(PixelGreen(p)) - e.g) + std::abs(int(PixelBlue(p)) - e.b);
      total += err;
      worst = std::max(worst, err);
    }
  // 256 shades in 16 colours: an even split would be off by 8 in red on average.
  EXPECT_LT(total / (256 * 8), 24.0);
  EXPECT_LT(worst, 90);
}

}  // namespace
}  // namespace qz
