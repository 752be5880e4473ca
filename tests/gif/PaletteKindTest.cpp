#include <gtest/gtest.h>

#include <map>
#include <set>
#include <tuple>

#include "gif/ColorReduction.h"
#include "gif/GifTestSupport.h"
#include "gif/NearestColor.h"
#include "gif/SystemPalettes.h"

namespace qz {
namespace {

using test::TRandom;

TBitmap Row(std::initializer_list<uint32_t> pixels) {
  TBitmap b(static_cast<int>(pixels.size()), 1);
  int x = 0;
  for (uint32_t p : pixels) b.SetPixel(x++, 0, p);
  return b;
}

std::vector<uint8_t> Indices(const TBitmap& image, TPaletteKind kind) {
  return MakeIndexedImage(image, kind, TDitherMethod::None, 8).pixels;
}

TRgb Grey(int v) { return {uint8_t(v), uint8_t(v), uint8_t(v)}; }

TEST(PaletteKind, TableCoversTheEightCodesInExportOrder) {
  std::vector<int> codes;
  for (const TPaletteKindInfo& k : PaletteKinds()) codes.push_back(static_cast<int>(k.kind));
  EXPECT_EQ(codes, (std::vector<int>{7, 6, 4, 5, 3, 1, 2, 8}));
  EXPECT_STREQ(FindPaletteKind(2)->exportEntry, " Windows halftone (256)");
  EXPECT_EQ(FindPaletteKind(0), nullptr);
  EXPECT_EQ(FindPaletteKind(9), nullptr);
  TBitmap one(1, 1);
  EXPECT_THROW(MakeIndexedImage(one, static_cast<TPaletteKind>(9), TDitherMethod::None, 8), std::invalid_argument);
  EXPECT_THROW(MakeIndexedImage(one, TPaletteKind::Optimized, static_cast<TDitherMethod>(7), 8),
               std::invalid_argument);
  EXPECT_THROW(MakeIndexedImage(one, TPaletteKind::Optimized, TDitherMethod::None, 0), std::invalid_argument);
  EXPECT_THROW(MakeIndexedImage(one, TPaletteKind::Optimized, TDitherMethod::None, 9), std::invalid_argument);
}

TEST(PaletteKind, NetscapeCubeAndChannelLevels) {
  TIndexedImage g = MakeIndexedImage(TBitmap(1, 1), TPaletteKind::Netscape, TDitherMethod::None, 3);
  ASSERT_EQ(g.palette.size(), 216u);
  EXPECT_EQ(g.usedSize, 216);
  EXPECT_EQ(g.palette[36 * 1 + 6 * 4 + 5], (TRgb{51, 204, 255}));
  // Level boundaries 47|48, 98|99, 149|150, 200|201, 251|252, on each channel.
  const int cuts[][2] = {{0, 0}, {47, 0}, {48, 1}, {98, 1}, {99, 2}, {149, 2}, {150, 3},
                         {200, 3}, {201, 4}, {251, 4}, {252, 5}, {255, 5}};
  for (auto [value, level] : cuts) {
    SCOPED_TRACE(value);
    auto v = static_cast<uint32_t>(value);
    std::vector<uint8_t> idx = Indices(Row({RGBToPixel(v, 0, 0), RGBToPixel(0, v, 0), RGBToPixel(0, 0, v)}),
                                       TPaletteKind::Netscape);
    EXPECT_EQ(idx, (std::vector<uint8_t>{uint8_t(36 * level), uint8_t(6 * level), uint8_t(level)}));
  }
}

TEST(PaletteKind, MonochromeAndGrayscaleFollowLuma) {
  TIndexedImage mono = MakeIndexedImage(TBitmap(1, 1), TPaletteKind::Monochrome, TDitherMethod::None, 8);
  EXPECT_EQ(mono.palette, (std::vector<TRgb>{Grey(0), Grey(255)}));
  // Pure green is white (luma 38250), pure red black; 32512 is black, 32513 white.
  EXPECT_EQ(Indices(Row({RGBToPixel(0, 255, 0), RGBToPixel(255, 0, 0), RGBToPixel(0, 192, 128),
                         RGBToPixel(0, 169, 247)}),
                    TPaletteKind::Monochrome),
            (std::vector<uint8_t>{1, 0, 0, 1}));

  TIndexedImage grey = MakeIndexedImage(TBitmap(1, 1), TPaletteKind::Grayscale, TDitherMethod::None, 8);
  ASSERT_EQ(grey.palette.size(), 256u);
  for (int i = 0; i < 256; ++i) EXPECT_EQ(grey.palette[i], Grey(i));
  // (77 r + 150 g + 29 b) div 256.
  EXPECT_EQ(Indices(Row({RGBToPixel(255, 255, 255), RGBToPixel(255, 0, 0), RGBToPixel(0, 255, 0),
                         RGBToPixel(0, 0, 255), RGBToPixel(10, 20, 30)}),
                    TPaletteKind::Grayscale),
            (std::vector<uint8_t>{255, 76, 149, 28, 18}));
}

TEST(PaletteKind, WindowsGrayscaleIsNearestWithTheFirstEntryOnATie) {
  TIndexedImage g = MakeIndexedImage(TBitmap(1, 1), TPaletteKind::WindowsGrayscale, TDitherMethod::None, 8);
  EXPECT_EQ(g.palette, (std::vector<TRgb>{Grey(0), Grey(128), Grey(192), Grey(255)}));
  // 64 is as far from 0 as from 128: the first entry wins.
  EXPECT_EQ(Indices(Row({RGBToPixel(64, 64, 64)}), TPaletteKind::WindowsGrayscale), std::vector<uint8_t>{0});
  EXPECT_EQ(Indices(Row({RGBToPixel(72, 72, 72)}), TPaletteKind::WindowsGrayscale), std::vector<uint8_t>{1});
  EXPECT_EQ(Indices(Row({RGBToPixel(223, 223, 223), RGBToPixel(224, 224, 224)}), TPaletteKind::WindowsGrayscale),
            (std::vector<uint8_t>{2, 3}));
  // Sum of channel differences, not per-channel: (200, 0, 0) is 200 from black and
  // 328 from grey 128.
  EXPECT_EQ(Indices(Row({RGBToPixel(200, 0, 0)}), TPaletteKind::WindowsGrayscale), std::vector<uint8_t>{0});
}

TEST(PaletteKind, OurWindowsSystemAndHalftoneTables) {
  const std::vector<TRgb>& sys = WindowsSystemPalette();
  ASSERT_EQ(sys.size(), 20u);
  std::set<std::tuple<int, int, int>> distinct;
  for (const TRgb& c : sys) distinct.insert({c.r, c.g, c.b});
  EXPECT_EQ(distinct.size(), 20u);
  EXPECT_EQ(sys[0], Grey(0));
  EXPECT_EQ(sys[7], Grey(192));
  EXPECT_EQ(sys[17], kTransparentRgb);
  EXPECT_EQ(sys[19], Grey(255));

  const std::vector<TRgb>& half = WindowsHalftonePalette();
  ASSERT_EQ(half.size(), 256u);
  for (int i = 0; i < 10; ++i) {
    EXPECT_EQ(half[i], sys[i]);
    EXPECT_EQ(half[246 + i], sys[10 + i]);
  }
  for (int r = 0; r < 6; ++r)
    for (int g = 0; g < 6; ++g)
      for (int b = 0; b < 6; ++b)
        EXPECT_EQ(half[10 + 36 * r + 6 * g + b], (TRgb{uint8_t(51 * r), uint8_t(51 * g), uint8_t(51 * b)}));
  // The extra greys: 20 of them, rising, none a grey the palette has already.
  std::set<int> greysBefore;
  for (int i = 0; i < 226; ++i)
    if (half[i].r == half[i].g && half[i].g == half[i].b) greysBefore.insert(half[i].r);
  for (int i = 226; i < 246; ++i) {
    EXPECT_EQ(half[i].r, half[i].g);
    EXPECT_EQ(half[i].g, half[i].b);
    EXPECT_EQ(greysBefore.count(half[i].r), 0u) << i;
    if (i > 226) {
      EXPECT_GT(half[i].r, half[i - 1].r);
    }
  }
  // The spare entry is a magenta that repeats an earlier one, so no colour is ever
  // mapped to it.
  EXPECT_EQ(half[kHalftoneSpareEntry], kTransparentRgb);
  bool repeated = false;
  for (int i = 0; i < kHalftoneSpareEntry; ++i) repeated |= half[i] == half[kHalftoneSpareEntry];
  EXPECT_TRUE(repeated);
}

TEST(PaletteKind, FixedPalettesGiveOneColourOneIndexWithoutDithering) {
  TRandom rnd(3);
  std::vector<uint32_t> colours;
  for (int i = 0; i < 40; ++i) colours.push_back(rnd.Next() & 0xFFFFFF);
  TBitmap image(64, 48);
  for (int y = 0; y < 48; ++y)
    for (int x = 0; x < 64; ++x) image.SetPixel(x, y, colours[rnd.Below(40)]);
  for (const TPaletteKindInfo& kind : PaletteKinds()) {
    SCOPED_TRACE(kind.exportEntry);
    TIndexedImage g = MakeIndexedImage(image, kind.kind, TDitherMethod::None, 5);
    std::map<uint32_t, uint8_t> seen;
    for (int y = 0; y < 48; ++y)
      for (int x = 0; x < 64; ++x) {
        auto [it, fresh] = seen.emplace(image.Pixel(x, y), g.At(x, y));
        EXPECT_EQ(it->second, g.At(x, y));
      }
  }
}

TEST(NearestColor, RemembersTheAnswerPerFifteenBitColour) {
  std::vector<TRgb> greys = {Grey(0), Grey(128), Grey(192), Grey(255)};
  // 64 and 65 share a 15-bit colour; 64 ties black and grey 128 (black wins), 65 is
  // nearer grey 128. Whichever comes first decides for both.
  {
    TNearestColor n(greys, {});
    EXPECT_EQ(n.Map(64, 64, 64), 0);
    EXPECT_EQ(n.Map(65, 65, 65), 0);
  }
  {
    TNearestColor n(greys, {});
    EXPECT_EQ(n.Map(65, 65, 65), 1);
    EXPECT_EQ(n.Map(64, 64, 64), 1);
  }
  // Each entry claims its own 15-bit colour before any mapping: (7, 0, 0) is 2 from
  // entry 1 but shares black's 15-bit colour.
  TNearestColor n({Grey(0), {9, 0, 0}}, {});
  EXPECT_EQ(n.Map(7, 0, 0), 0);
  // Entries that may not be chosen are never returned.
  TNearestColor some({Grey(0), Grey(100), Grey(200)}, {true, false, true});
  EXPECT_EQ(some.Map(100, 100, 100), 0);
  EXPECT_EQ(some.Map(151, 151, 151), 2);
}

TEST(NearestColor, ExactPaletteColoursKeepTheirOwnEntry) {
  // Both share the 15-bit colour (31, 31, 31): white text on a near-white plate
  // must not merge.
  TNearestColor n({Grey(255), Grey(250), Grey(0)}, {});
  EXPECT_EQ(n.Map(250, 250, 250), 1);
  EXPECT_EQ(n.Map(255, 255, 255), 0);
  EXPECT_EQ(n.Map(252, 252, 252), 0);  // not exact: the 15-bit colour's entry
}

}  // namespace
}  // namespace qz
