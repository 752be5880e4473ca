#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <set>

#include "palette/ColorReduction.h"
#include "image/formats/GifTestSupport.h"
#include "palette/OctreeQuantizer.h"
#include "palette/SystemPalettes.h"

namespace qz {
namespace {

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
  // created later. With room for 3 the most recently created node of the deepest
  // level folds first.
  EXPECT_EQ(Quantize(3, {{0, 0, 0}, {0, 0, 1}, {0, 0, 2}, {0, 0, 3}}), (std::vector<TRgb>{{0, 0, 0}, {0, 0, 1}, {0, 0, 2}}));
  // With room for 2 the newest node folds (one child: no gain), then the older one;
  // the fourth colour ends in the folded node, and means truncate: 5 / 2 = 2.
  EXPECT_EQ(Quantize(2, {{0, 0, 0}, {0, 0, 1}, {0, 0, 2}, {0, 0, 3}}), (std::vector<TRgb>{{0, 0, 0}, {0, 0, 2}}));
  EXPECT_EQ(Quantize(1, {{0, 0, 0}, {255, 255, 255}, {255, 0, 0}, {1, 2, 3}}), (std::vector<TRgb>{{127, 64, 64}}));
  EXPECT_EQ(TOctreeQuantizer(3).Colors(), std::vector<TRgb>{});

  // Pixels are added rows top to bottom, each row left to right: by columns, bottom
  // up or right to left, these six give (0,0,32), (255,0,1), (128,128,64), (255,128,0).
  TBitmap image(3, 2);
  const uint32_t pixels[6] = {RGBToPixel(255, 0, 0),    RGBToPixel(0, 0, 1),  RGBToPixel(255, 128, 0),
                              RGBToPixel(128, 128, 64), RGBToPixel(0, 0, 64), RGBToPixel(255, 0, 3)};
  std::copy(pixels, pixels + 6, image.Data());
  const TIndexedImage g = MakeIndexedImage(image, TPaletteKind::Optimized, TDitherMethod::None, 2);
  EXPECT_EQ(g.palette, (std::vector<TRgb>{{0, 0, 1}, {0, 0, 64}, {255, 0, 1}, {191, 128, 32}}));
}

TEST(OctreeQuantizer, FewColoursMapExactly) {
  for (auto [kind, bits, colours] : {std::tuple{TPaletteKind::Optimized, 3, 8}, {TPaletteKind::Optimized, 8, 256},
                                     {TPaletteKind::Optimized, 8, 3}, {TPaletteKind::OptimizedWindows, 8, 236}}) {
    SCOPED_TRACE(testing::Message() << static_cast<int>(kind) << " bits " << bits << " colours " << colours);
    std::mt19937 rng(bits);
    std::set<uint32_t> distinct;
    while (static_cast<int>(distinct.size()) < colours - 1) distinct.insert(rng() & 0xFFFFFF);
    std::vector<uint32_t> list(distinct.begin(), distinct.end());
    list.push_back(list.front() ^ 0x010101);  // the same 15-bit colour: the lookup cache must not merge them
    TBitmap image(61, 37);
    for (int i = 0; i < 61 * 37; ++i) image.Data()[i] = list[i < colours ? i : rng() % colours];
    const TIndexedImage g = MakeIndexedImage(image, kind, TDitherMethod::None, bits);
    for (int i = 0; i < 61 * 37; ++i) {
      const TRgb& e = g.palette[g.pixels[i]];
      ASSERT_EQ(RGBToPixel(e.r, e.g, e.b), image.Data()[i]) << "pixel " << i;
    }
  }
}

TEST(OctreeQuantizer, PaletteLayoutOfTheComputedKinds) {
  TBitmap image(3, 1);
  image.SetPixel(0, 0, RGBToPixel(200, 10, 10));
  image.SetPixel(1, 0, RGBToPixel(10, 200, 10));
  image.SetPixel(2, 0, RGBToPixel(10, 10, 200));
  // " Optimized": 2^bits entries, the computed ones first, the rest black.
  const TIndexedImage g = MakeIndexedImage(image, TPaletteKind::Optimized, TDitherMethod::None, 4);
  EXPECT_EQ(g.usedSize, 3);
  EXPECT_EQ(std::vector<TRgb>(g.palette.begin() + 3, g.palette.end()), std::vector<TRgb>(13));
  // " Optimized Windows": system colours at 0..9 and 246..255, computed at 10 on.
  const TIndexedImage w = MakeIndexedImage(image, TPaletteKind::OptimizedWindows, TDitherMethod::None, 3);
  ASSERT_EQ(w.palette.size(), 256u);
  EXPECT_EQ(w.usedSize, 256);
  const std::vector<TRgb>& sys = WindowsSystemPalette();
  EXPECT_TRUE(std::equal(sys.begin(), sys.begin() + 10, w.palette.begin()));
  EXPECT_TRUE(std::equal(sys.begin() + 10, sys.end(), w.palette.begin() + 246));
  EXPECT_EQ(std::vector<TRgb>(w.palette.begin() + 10, w.palette.begin() + 14),
            (std::vector<TRgb>{{10, 10, 200}, {10, 200, 10}, {200, 10, 10}, {}}));
  EXPECT_EQ(w.pixels, (std::vector<uint8_t>{12, 11, 10}));

  // Dithering that pushes pixels towards black never picks the black filler entries.
  TBitmap dark = test::MakeGradient(97, 23, {60, 60, 60}, {2, 2, 2});
  for (int y = 0; y < 23; y += 2) dark.SetPixel(50, y, RGBToPixel(200, 30, 30));
  for (const TDitherMethodInfo& d : DitherMethods())
    for (TPaletteKind kind : {TPaletteKind::Optimized, TPaletteKind::OptimizedWindows}) {
      SCOPED_TRACE(testing::Message() << d.exportEntry << static_cast<int>(kind));
      const TIndexedImage i = MakeIndexedImage(dark, kind, d.method, 8);
      const int computed = kind == TPaletteKind::Optimized ? i.usedSize : 10 + static_cast<int>(std::count_if(
          i.palette.begin() + 10, i.palette.begin() + 246, [](const TRgb& c) { return c != TRgb{}; }));
      for (uint8_t index : i.pixels)
        ASSERT_TRUE(index < computed || (kind == TPaletteKind::OptimizedWindows && index >= 246)) << int(index);
    }
}

}  // namespace
}  // namespace qz
