#include "image/formats/WebpFile.h"

#include <gtest/gtest.h>

#include <cmath>
#include <utility>

#include "support/PictureRoundTrip.h"
#include "support/TempDir.h"

namespace qz {
namespace {

using test::TPictureFormat;

// A picture of hard edges and every value, and a mask of every alpha with clear
// pixels among them: what lossless must keep exactly, the colour under alpha 0 too.
TBitmap Busy(int w, int h) {
  TBitmap image(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) image.SetPixel(x, y, RGBToPixel(x * 5 % 256, y * 8 % 256, (x * y) % 256));
  return image;
}

TBitmap Alphas(int w, int h) {
  TBitmap mask(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      const uint32_t a = (x + y) % 3 == 0 ? 0 : (x * 7 + y) % 256;
      mask.SetPixel(x, y, RGBToPixel(a, a, a));
    }
  return mask;
}

// Smooth shading, as a rendered button is: what lossy coding keeps close.
TBitmap Shaded(int w, int h) {
  TBitmap image(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      image.SetPixel(x, y, RGBToPixel(40 + x * 180 / w, 60 + y * 150 / h, uint32_t(128 + 90 * std::sin(x * 0.1))));
  return image;
}

TEST(WebpFile, LosslessKeepsEveryPixelAndAlphaExactly) {
  const TBitmap image = Busy(97, 31), alpha = Alphas(97, 31);
  const test::TRoundTrip withAlpha = test::RoundTrip(image, {.Format = TPictureFormat::Webp, .Alpha = &alpha});
  EXPECT_EQ(withAlpha.Mismatch, "");
  EXPECT_EQ(withAlpha.Bytes, EncodeWebp(image, &alpha, {}));
  // Without a mask every pixel reads back opaque.
  const test::TRoundTrip opaque = test::RoundTrip(image, {.Format = TPictureFormat::Webp});
  EXPECT_EQ(opaque.Mismatch, "");
  EXPECT_EQ(opaque.Alpha.size(), 97u * 31u);
}

TEST(WebpFile, LossyStaysCloseAndIsSmaller) {
  const TBitmap image = Shaded(120, 40), alpha = Alphas(120, 40);
  for (auto [quality, tolerance] : {std::pair{50, 24}, std::pair{90, 12}}) {
    SCOPED_TRACE(quality);
    const test::TRoundTrip lossy = test::RoundTrip(image, {.Format = TPictureFormat::Webp, .Alpha = &alpha,
                                                           .Quality = quality, .Lossy = true, .Tolerance = tolerance});
    EXPECT_EQ(lossy.Mismatch, "");
    EXPECT_GT(lossy.MaxDifference, 0);  // lossy indeed
    EXPECT_LT(lossy.Bytes.size(), EncodeWebp(image, &alpha, {}).size());
  }
  const TBitmap busy = Busy(97, 31);
  EXPECT_LT(EncodeWebp(busy, nullptr, {true, 30}).size(), EncodeWebp(busy, nullptr, {}).size());
}

TEST(WebpFile, RefusesWhatCannotBeAWebpNamingThePath) {
  const TBitmap image(8, 8);
  EXPECT_THROW(EncodeWebp(TBitmap(), nullptr, {}), std::runtime_error);
  EXPECT_THROW(EncodeWebp(TBitmap(MaxWebpSide + 1, 1), nullptr, {}), std::runtime_error);
  EXPECT_NO_THROW(EncodeWebp(TBitmap(MaxWebpSide, 1), nullptr, {}));
  EXPECT_THROW(EncodeWebp(image, &image, {true, 0}), std::runtime_error);
  EXPECT_THROW(EncodeWebp(image, &image, {true, 101}), std::runtime_error);
  const TBitmap small(4, 8);
  EXPECT_THROW(EncodeWebp(image, &small, {}), std::runtime_error);
  test::TTempDir dir;
  const std::string path = dir.File("no-such-folder/x.webp");
  try {
    WriteWebp(path, image, nullptr, {});
    ADD_FAILURE() << "no error";
  } catch (const std::runtime_error& e) {
    EXPECT_NE(std::string(e.what()).find(path), std::string::npos) << e.what();
  }
}

}  // namespace
}  // namespace qz
