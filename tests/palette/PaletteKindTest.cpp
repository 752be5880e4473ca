#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <random>

#include "palette/ColorReduction.h"
#include "palette/NearestColor.h"
#include "palette/SystemPalettes.h"

namespace qz {
namespace {

std::vector<uint8_t> Indices(TPaletteKind kind, std::initializer_list<uint32_t> pixels) {
  TBitmap b(static_cast<int>(pixels.size()), 1);
  std::copy(pixels.begin(), pixels.end(), b.Data());
  return MakeIndexedImage(b, kind, TDitherMethod::None, 8).pixels;
}

std::vector<TRgb> PaletteOf(TPaletteKind kind) { return MakeIndexedImage(TBitmap(1, 1), kind, TDitherMethod::None, 3).palette; }

TRgb Grey(int v) { return {uint8_t(v), uint8_t(v), uint8_t(v)}; }
uint32_t GreyPixel(uint32_t v) { return RGBToPixel(v, v, v); }

TEST(PaletteKind, BadArgumentsAreRefused) {
  const TBitmap one(1, 1);
  EXPECT_EQ(FindPaletteKind(0), nullptr);
  EXPECT_EQ(FindPaletteKind(9), nullptr);
  EXPECT_THROW(MakeIndexedImage(one, static_cast<TPaletteKind>(9), TDitherMethod::None, 8), std::invalid_argument);
  EXPECT_THROW(MakeIndexedImage(one, TPaletteKind::Optimized, static_cast<TDitherMethod>(7), 8), std::invalid_argument);
  EXPECT_THROW(MakeIndexedImage(one, TPaletteKind::Optimized, TDitherMethod::None, 0), std::invalid_argument);
  EXPECT_THROW(MakeIndexedImage(one, TPaletteKind::Optimized, TDitherMethod::None, 9), std::invalid_argument);
  std::vector<uint8_t> shortMask(15, 0);
  EXPECT_THROW(MakeIndexedImage(TBitmap(4, 4), TPaletteKind::Netscape, TDitherMethod::None, 8, &shortMask),
               std::invalid_argument);
}

TEST(PaletteKind, FormulaPalettes) {
  // The Netscape cube: level boundaries 47|48, 98|99, 149|150, 200|201, 251|252.
  const std::vector<TRgb> cube = PaletteOf(TPaletteKind::Netscape);
  ASSERT_EQ(cube.size(), 216u);
  EXPECT_EQ(cube[36 * 1 + 6 * 4 + 5], (TRgb{51, 204, 255}));
  for (auto [value, level] : {std::pair{0u, 0}, {47u, 0}, {48u, 1}, {98u, 1}, {99u, 2}, {149u, 2}, {150u, 3}, {200u, 3},
                              {201u, 4}, {251u, 4}, {252u, 5}, {255u, 5}})
    EXPECT_EQ(Indices(TPaletteKind::Netscape, {RGBToPixel(value, 0, 0), RGBToPixel(0, value, 0), RGBToPixel(0, 0, value)}),
              (std::vector<uint8_t>{uint8_t(36 * level), uint8_t(6 * level), uint8_t(level)}))
        << value;

  // Luma 77 r + 150 g + 29 b: black and white cut between 32512 and 32513; greys are
  // luma div 256.
  EXPECT_EQ(PaletteOf(TPaletteKind::Monochrome), (std::vector<TRgb>{Grey(0), Grey(255)}));
  EXPECT_EQ(Indices(TPaletteKind::Monochrome, {RGBToPixel(0, 255, 0), RGBToPixel(255, 0, 0), RGBToPixel(0, 192, 128),
                                               RGBToPixel(0, 169, 247)}),
            (std::vector<uint8_t>{1, 0, 0, 1}));
  EXPECT_EQ(PaletteOf(TPaletteKind::Grayscale)[200], Grey(200));
  EXPECT_EQ(Indices(TPaletteKind::Grayscale, {GreyPixel(255), RGBToPixel(255, 0, 0), RGBToPixel(0, 255, 0),
                                              RGBToPixel(0, 0, 255), RGBToPixel(10, 20, 30)}),
            (std::vector<uint8_t>{255, 76, 149, 28, 18}));

  // Windows greys: nearest by the sum of channel differences, the first entry on a
  // tie (64 lies halfway between 0 and 128; (200, 0, 0) is 200 from black, 328 from 128).
  EXPECT_EQ(PaletteOf(TPaletteKind::WindowsGrayscale), (std::vector<TRgb>{Grey(0), Grey(128), Grey(192), Grey(255)}));
  EXPECT_EQ(Indices(TPaletteKind::WindowsGrayscale,
                    {GreyPixel(64), GreyPixel(72), GreyPixel(223), GreyPixel(224), RGBToPixel(200, 0, 0)}),
            (std::vector<uint8_t>{0, 1, 2, 3, 0}));
}

TEST(PaletteKind, WindowsSystemAndHalftoneTables) {
  // The halftone greys after the cube are new colours.
  const std::vector<TRgb>& half = WindowsHalftonePalette();
  ASSERT_EQ(half.size(), 256u);
  for (int i = 226; i < 246; ++i) EXPECT_EQ(std::find(half.begin(), half.begin() + 226, half[i]), half.begin() + 226) << i;
  // The spare entry is a magenta that repeats an earlier one, so no colour maps to it.
  EXPECT_EQ(half[kHalftoneSpareEntry], kTransparentRgb);
  EXPECT_NE(std::find(half.begin(), half.begin() + kHalftoneSpareEntry, kTransparentRgb), half.begin() + kHalftoneSpareEntry);
}

TEST(NearestColor, RemembersTheAnswerPerFifteenBitColourButKeepsExactEntries) {
  const std::vector<TRgb> greys = {Grey(0), Grey(128), Grey(192), Grey(255)};
  // 64 and 65 share a 15-bit colour; 64 ties black and grey 128 (black wins), 65 is
  // nearer grey 128. Whichever comes first decides for both.
  TNearestColor a(greys, {}), b(greys, {});
  EXPECT_EQ((std::vector<int>{a.Map(64, 64, 64), a.Map(65, 65, 65)}), (std::vector<int>{0, 0}));
  EXPECT_EQ((std::vector<int>{b.Map(65, 65, 65), b.Map(64, 64, 64)}), (std::vector<int>{1, 1}));
  // Each entry claims its own 15-bit colour before any mapping: (7, 0, 0) is 2 from
  // entry 1 but shares black's 15-bit colour.
  EXPECT_EQ(TNearestColor({Grey(0), {9, 0, 0}}, {}).Map(7, 0, 0), 0);
  // An exact palette colour keeps its entry even when it shares a 15-bit colour:
  // white text on a near-white plate must not merge.
  TNearestColor n({Grey(255), Grey(250), Grey(0)}, {});
  EXPECT_EQ(n.Map(250, 250, 250), 1);
  EXPECT_EQ(n.Map(255, 255, 255), 0);
  EXPECT_EQ(n.Map(252, 252, 252), 0);
  // Entries that may not be chosen are never returned.
  TNearestColor some({Grey(0), Grey(100), Grey(200)}, {true, false, true});
  EXPECT_EQ(some.Map(100, 100, 100), 0);
  EXPECT_EQ(some.Map(151, 151, 151), 2);
}

// A large picture without dithering is mapped in two halves at once. The entries must
// be those of one serpentine walk, in which a 15-bit colour takes the entry found for
// the first of its colours the walk meets (each half meets them in another order).
TEST(PaletteKind, LargePicturesMapAsOneWalkDoes) {
  std::mt19937 random(7);
  TBitmap photo(400, 300);
  for (int y = 0; y < photo.Height(); ++y)
    for (int x = 0; x < photo.Width(); ++x) photo.SetPixel(x, y, random() & 0xFFFFFF);
  std::vector<uint8_t> mask(static_cast<size_t>(photo.Width()) * photo.Height(), 0);
  for (size_t i = 0; i < mask.size(); i += 7) mask[i] = 1;
  for (const TPaletteKind kind : {TPaletteKind::WindowsSystem, TPaletteKind::WindowsHalftone})
    for (const bool masked : {false, true}) {
      const TIndexedImage result = MakeIndexedImage(photo, kind, TDitherMethod::None, 8, masked ? &mask : nullptr);
      std::vector<bool> candidate(result.palette.size(), true);
      if (result.transparentIndex >= 0) candidate[result.transparentIndex] = false;
      TNearestColor walk(result.palette, candidate);
      std::vector<uint8_t> expected(mask.size());
      for (int y = 0; y < photo.Height(); ++y)
        for (int i = 0; i < photo.Width(); ++i) {
          const int x = y % 2 == 0 ? i : photo.Width() - 1 - i;
          const size_t at = static_cast<size_t>(y) * photo.Width() + x;
          const uint32_t p = photo.Pixel(x, y);
          expected[at] = masked && mask[at] ? static_cast<uint8_t>(result.transparentIndex)
                                            : walk.Map(PixelRed(p), PixelGreen(p), PixelBlue(p));
        }
      EXPECT_TRUE(result.pixels == expected) << static_cast<int>(kind) << (masked ? ", masked" : "");
    }
}

}  // namespace
}  // namespace qz
