#include <gtest/gtest.h>

#include "palette/ColorReduction.h"
#include "image/formats/GifTestSupport.h"
#include "image/formats/GifWriter.h"

namespace qz {
namespace {

constexpr uint32_t kMagenta = RGBToPixel(255, 0, 255);

// A button-like picture: opaque inside an ellipse, the rest transparent and painted
// magenta the way the export marks it. Inside, a stripe of exact magenta and one of
// near magenta: opaque colours a palette may well map onto the transparent colour.
struct TMaskedPicture {
  TBitmap image;
  std::vector<uint8_t> mask;
};

TMaskedPicture MakeMaskedPicture(int w, int h) {
  TMaskedPicture p{test::MakePhotoLike(w, h, 21), std::vector<uint8_t>(static_cast<size_t>(w) * h, 0)};
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      const double u = (x + 0.5) / w * 2 - 1, v = (y + 0.5) / h * 2 - 1;
      p.mask[static_cast<size_t>(y) * w + x] = u * u + v * v > 0.9;
      if (u * u + v * v > 0.9 || y == h / 2) p.image.SetPixel(x, y, kMagenta);
      if (y == h / 2 + 1) p.image.SetPixel(x, y, RGBToPixel(250, 6, 247));
    }
  return p;
}

TEST(Transparency, EveryKindAndMethodReservesAnEntryOnlyTransparentPixelsUse) {
  const TMaskedPicture p = MakeMaskedPicture(57, 41);
  for (const TPaletteKindInfo& kind : PaletteKinds())
    for (const TDitherMethodInfo& dither : DitherMethods())
      for (int bits : {3, 8}) {
        SCOPED_TRACE(testing::Message() << kind.exportEntry << dither.exportEntry << " bits " << bits);
        const TIndexedImage g = MakeIndexedImage(p.image, kind.kind, dither.method, bits, &p.mask);
        ASSERT_GE(g.transparentIndex, 0);
        ASSERT_LT(g.transparentIndex, g.usedSize);
        EXPECT_EQ(g.palette[g.transparentIndex], kTransparentRgb);
        for (size_t i = 0; i < g.pixels.size(); ++i) {
          ASSERT_LT(g.pixels[i], g.usedSize) << "pixel " << i;
          ASSERT_EQ(g.pixels[i] == g.transparentIndex, p.mask[i] != 0) << "pixel " << i;
        }
        const test::TDecodedGif d = test::DecodeWithGiflib(EncodeGif(g));
        ASSERT_TRUE(d.ok) << d.error;
        EXPECT_EQ(d.transparentIndex, g.transparentIndex);
      }
}

TEST(Transparency, FixedPalettesMapOpaquePixelsAsWithoutAMask) {
  const TMaskedPicture p = MakeMaskedPicture(64, 40);
  for (const TPaletteKindInfo& kind : PaletteKinds()) {
    if (kind.source != TPaletteSource::Fixed) continue;
    SCOPED_TRACE(kind.exportEntry);
    const TIndexedImage plain = MakeIndexedImage(p.image, kind.kind, TDitherMethod::None, 8);
    const TIndexedImage masked = MakeIndexedImage(p.image, kind.kind, TDitherMethod::None, 8, &p.mask);
    for (size_t i = 0; i < p.mask.size(); ++i)
      ASSERT_TRUE(p.mask[i] || masked.pixels[i] == plain.pixels[i]) << i;
    // Every colour of the palette is kept; a smaller palette gains one entry.
    for (size_t i = 0; i < plain.palette.size(); ++i)
      EXPECT_TRUE(static_cast<int>(i) == masked.transparentIndex || masked.palette[i] == plain.palette[i]) << i;
    EXPECT_TRUE(plain.palette.size() == 256 || masked.transparentIndex == static_cast<int>(plain.palette.size()));
  }
}

TEST(Transparency, ComputedPalettesKeepTheirRoomForOpaqueColours) {
  // 2^bits - 1 opaque colours (one of them magenta) still map exactly; the masked
  // area takes the last entry and no part in the octree.
  for (int bits : {3, 8}) {
    SCOPED_TRACE(bits);
    const int colours = (1 << bits) - 1;
    TBitmap image(40, 30);
    std::vector<uint8_t> mask(40 * 30, 0);
    for (int i = 0; i < 40 * 30; ++i) {
      const int k = i % (colours + 3);
      mask[i] = k >= colours;  // what lies under the mask (green) is ignored
      image.Data()[i] = k >= colours ? RGBToPixel(0, 255, 0) : k == 0 ? kMagenta : RGBToPixel(k * 7 % 256, 255 - k, k * 3 % 256);
    }
    TIndexedImage g = MakeIndexedImage(image, TPaletteKind::Optimized, TDitherMethod::None, bits, &mask);
    EXPECT_EQ(g.usedSize, 1 << bits);
    EXPECT_EQ(g.transparentIndex, colours);
    for (int i = 0; i < 40 * 30; ++i) {
      const TRgb& e = g.palette[g.pixels[i]];
      ASSERT_TRUE(mask[i] || RGBToPixel(e.r, e.g, e.b) == image.Data()[i]) << i;
    }
    // One colour more than room: the octree folds to fit, the entry stays reserved.
    image.Data()[1] = RGBToPixel(1, 2, 3);
    g = MakeIndexedImage(image, TPaletteKind::Optimized, TDitherMethod::None, bits, &mask);
    EXPECT_EQ(g.transparentIndex, g.usedSize - 1);
  }
  // " Optimized Windows": after its computed colours, before the top system colours.
  const TMaskedPicture p = MakeMaskedPicture(30, 20);
  const TIndexedImage w = MakeIndexedImage(p.image, TPaletteKind::OptimizedWindows, TDitherMethod::None, 8, &p.mask);
  EXPECT_GE(w.transparentIndex, 10);
  EXPECT_LE(w.transparentIndex, 245);
  // All transparent: one entry, nothing else.
  const std::vector<uint8_t> all(30 * 20, 1);
  const TIndexedImage none = MakeIndexedImage(p.image, TPaletteKind::Optimized, TDitherMethod::Burkes, 8, &all);
  EXPECT_EQ(std::make_pair(none.usedSize, none.transparentIndex), std::make_pair(1, 0));
  EXPECT_TRUE(test::DecodeWithGiflib(EncodeGif(none)).ok);
}

TEST(Transparency, GrayscaleGivesUpItsLeastUsedGreyWhenAllAreUsed) {
  // Row 0 holds every grey once, row 1 every grey but 100 (101 instead), row 2 is
  // transparent: grey 100 is the least used, and its one pixel goes to grey 99.
  TBitmap image(256, 3);
  std::vector<uint8_t> mask(256 * 3, 0);
  for (uint32_t x = 0; x < 256; ++x) {
    const uint32_t v = x == 100 ? 101 : x;
    image.SetPixel(x, 0, RGBToPixel(x, x, x));
    image.SetPixel(x, 1, RGBToPixel(v, v, v));
    mask[2 * 256 + x] = 1;
  }
  TIndexedImage g = MakeIndexedImage(image, TPaletteKind::Grayscale, TDitherMethod::None, 8, &mask);
  EXPECT_EQ(g.transparentIndex, 100);
  for (int x = 0; x < 256; ++x) ASSERT_EQ((std::pair<int, int>(g.At(x, 0), g.At(x, 2))), std::pair(x == 100 ? 99 : x, 100)) << x;
  for (const TDitherMethodInfo& dither : DitherMethods()) {
    const TIndexedImage d = MakeIndexedImage(image, TPaletteKind::Grayscale, dither.method, 8, &mask);
    for (size_t i = 0; i < 512; ++i) ASSERT_NE(d.pixels[i], d.transparentIndex) << dither.exportEntry << i;
  }
  // With a grey to spare, that grey is taken and nothing moves.
  image.SetPixel(7, 0, RGBToPixel(8, 8, 8));
  image.SetPixel(7, 1, RGBToPixel(8, 8, 8));
  g = MakeIndexedImage(image, TPaletteKind::Grayscale, TDitherMethod::None, 8, &mask);
  EXPECT_EQ(g.transparentIndex, 7);
  EXPECT_EQ(g.At(100, 0), 100);
}

}  // namespace
}  // namespace qz
