#include "export/ExportImage.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <set>

#include "export/ExportTestSupport.h"
#include "palette/Dither.h"
#include "image/formats/GifTestSupport.h"
#include "palette/PaletteKind.h"
#include "base/FileUtil.h"
#include "image/formats/WebpFile.h"
#include "image/ImageFile.h"
#include "support/TempDir.h"

namespace qz {
namespace {

using test::MakeRenderedButton;
using test::TTempDir;

constexpr uint32_t kMagenta = RGBToPixel(255, 0, 255);


TEST(ExportNames, DefaultNameKeepsLettersAndDigitsOfAnyScriptAndTakesTheFormatsExtension) {
  EXPECT_EQ(DefaultImageName(U"Click Here 2!", TExportFormat::Jpeg), "ClickHere2.jpg");
  // The signs 91..96 and 123..126 stay (the backslash excepted), '@' (64) goes.
  EXPECT_EQ(DefaultImageName(U"[a]^_`{b|c}~@\\", TExportFormat::Gif), "[a]^_`{b|c}~.gif");
  EXPECT_EQ(DefaultImageName(U"\u00C4pfel-Kuchen 3.5", TExportFormat::Gif), "\u00C4pfelKuchen35.gif");
  // Letters of other scripts with their combining signs, and their digits.
  EXPECT_EQ(DefaultImageName(U"\u041F\u0440\u0438\u0432\u0435\u0442!", TExportFormat::Png), "\u041F\u0440\u0438\u0432\u0435\u0442.png");
  EXPECT_EQ(DefaultImageName(U"\u0928\u092E\u0938\u094D\u0924\u0947 \u0967", TExportFormat::Gif),
            "\u0928\u092E\u0938\u094D\u0924\u0947\u0967.gif");
  EXPECT_EQ(DefaultImageName(U"\u65E5\u672C/\U0001F600", TExportFormat::Gif), "\u65E5\u672C.gif");
  EXPECT_EQ(DefaultImageName(U"-, !", TExportFormat::Png), "Untitled.png");
  EXPECT_EQ(DefaultImageName(U"", TExportFormat::Gif), "Untitled.gif");
  // A symbol font's characters count by the codes typed.
  TMessageText symbols;
  symbols.Append("Go!", TCharFormat{"Symbol", 18, 2, false, false, false});
  EXPECT_EQ(DefaultImageName(symbols, TExportFormat::Gif), "Go.gif");
}

TEST(ExportNames, ExtensionIsReplacedOrAddedForEachFormat) {
  EXPECT_EQ(ReplaceFileExt("/x/Images/Go.tar.gif", ".png"), "/x/Images/Go.tar.png");
  EXPECT_EQ(ReplaceFileExt("/x/my.images/Go", ".jpg"), "/x/my.images/Go.jpg");  // a dot in a folder
  for (TExportFormat f : {TExportFormat::Gif, TExportFormat::Jpeg, TExportFormat::Bmp, TExportFormat::Png})
    EXPECT_EQ(FormatOfFileName(ReplaceFileExt("/x/Go", FormatExtension(f))), f);
  EXPECT_EQ(FormatOfFileName("Go.JPEG"), TExportFormat::Jpeg);
  EXPECT_EQ(FormatOfFileName("Go.Png"), TExportFormat::Png);
  EXPECT_EQ(FormatOfFileName("Go.tif"), std::nullopt);
  EXPECT_EQ(FormatOfFileName("gif"), std::nullopt);
  EXPECT_EQ(FormatOfFileName("Go.gif.txt"), std::nullopt);
  EXPECT_EQ(ColorEntryText(3), " 8");
  EXPECT_EQ(ColorEntryText(8), " 256");
  EXPECT_EQ(ColorEntryText(2), "");
}

TEST(ExportNames, ImagesFolderIsCreatedUnderTheProgramFolder) {
  TTempDir dir;
  EXPECT_EQ(ExportImagesFolder(TFolders::InProgramFolder(dir.Path())), dir.Path() + "Images/");
  EXPECT_TRUE(DirectoryExists(dir.Path() + "Images"));
  EXPECT_EQ(ExportImagesFolder(TFolders::InProgramFolder(dir.Path())), dir.Path() + "Images/");  // and again, when it is there
}

// A 12 x 8 picture with a white 4 x 2 block in its mask: "B-Spline" at the same size
// spreads one sixth of the block onto its neighbours, so the ring around the block
// stays opaque and only pixels two or more away become magenta.
TEST(MarkTransparent, OnlyExactBlackOfTheScaledMaskTurnsMagenta) {
  TBitmap image(12, 8), mask(12, 8);
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 12; ++x) image.SetPixel(x, y, RGBToPixel(10 * x, 20 * y, 7));
  mask.FillRect(4, 3, 8, 5, 0xFFFFFF);
  const TBitmap original = image;
  const std::vector<uint8_t> flags = MarkTransparent(image, mask);
  ASSERT_EQ(flags.size(), 96u);
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 12; ++x) {
      const bool nearBlock = x >= 3 && x <= 8 && y >= 2 && y <= 5;
      SCOPED_TRACE(testing::Message() << x << "," << y);
      EXPECT_EQ(flags[y * 12 + x], nearBlock ? 0 : 1);
      EXPECT_EQ(image.Pixel(x, y), nearBlock ? original.Pixel(x, y) : kMagenta);
    }

  // A mask of another size is scaled to the picture's first: doubled, the block covers
  // 8..15 x 6..9 with a softened ring.
  TBitmap big(24, 16);
  const std::vector<uint8_t> bigFlags = MarkTransparent(big, mask);
  EXPECT_EQ((std::vector<int>{bigFlags[7 * 24 + 11], bigFlags[7 * 24 + 6], bigFlags[7 * 24 + 1]}),
            (std::vector<int>{0, 0, 1}));  // under the block, its softened edge, far away
  EXPECT_EQ(big.Pixel(1, 7), kMagenta);
}

// The pixels an export must make transparent: the scaled mask exactly black.
std::vector<uint8_t> ExpectedTransparent(const TBitmap& mask, int w, int h) {
  const TBitmap scaled = ScaleExportMask(mask, w, h);
  std::vector<uint8_t> t;
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) t.push_back((scaled.Pixel(x, y) & 0xFFFFFF) == 0);
  return t;
}

TEST(ExportGif, ExactlyTheUncoveredPixelsAreTransparent) {
  TTempDir dir;
  const TRenderedButton button = MakeRenderedButton(150, 54);
  const int w = 100, h = 36;
  const std::vector<uint8_t> expected = ExpectedTransparent(button.Mask, w, h);
  size_t transparentCount = 0;
  for (uint8_t t : expected) transparentCount += t;
  ASSERT_GT(transparentCount, 500u);
  ASSERT_LT(transparentCount, expected.size() - 500u);

  // Every palette and dither keeps its transparent entry to the flagged pixels (the
  // colour-reduction tests); here one choice through the whole export.
  TExportOptions o;
  o.PaletteKind = TPaletteKind::Optimized;
  o.Dithering = TDitherMethod::FloydSteinberg;
  o.ColorBits = 4;
  const uint64_t bytes = test::WriteImage(button, w, h, o, dir.File("b.gif"));
  EXPECT_EQ(bytes, std::filesystem::file_size(dir.File("b.gif")));
  const test::TDecodedGif gif = test::ReadGifFile(dir.File("b.gif"));
  ASSERT_TRUE(gif.ok) << gif.error;
  ASSERT_EQ(std::pair(gif.width, gif.height), std::pair(w, h));
  ASSERT_GE(gif.transparentIndex, 0);
  for (size_t i = 0; i < expected.size(); ++i) ASSERT_EQ(gif.indices[i] == gif.transparentIndex, expected[i] != 0) << "pixel " << i;
}

TEST(ExportGif, WithoutTransparencyOrUncoveredPixelsThereIsNoTransparentEntry) {
  TTempDir dir;
  TRenderedButton button = MakeRenderedButton(60, 20);
  TExportOptions o;
  o.Transparency = false;
  test::WriteImage(button, 60, 20, o, dir.File("plain.gif"));
  test::TDecodedGif gif = test::ReadGifFile(dir.File("plain.gif"));
  ASSERT_TRUE(gif.ok);
  EXPECT_EQ(gif.transparentIndex, -1);
  EXPECT_EQ(test::ToBitmap(gif).Pixel(0, 0), RGBToPixel(200, 220, 255));  // the page, not magenta

  button.Mask.Fill(0xFFFFFF);  // covered everywhere
  o.Transparency = true;
  test::WriteImage(button, 60, 20, o, dir.File("covered.gif"));
  gif = test::ReadGifFile(dir.File("covered.gif"));
  ASSERT_TRUE(gif.ok);
  EXPECT_EQ(gif.transparentIndex, -1);
}

TEST(ExportBmp, RoundTripGivesTheScaledPicture) {
  TTempDir dir;
  const TRenderedButton button = MakeRenderedButton(90, 30);
  TExportOptions o;
  o.Format = TExportFormat::Bmp;
  EXPECT_EQ(test::WriteImage(button, 37, 13, o, dir.File("b.bmp")), 54u + 112 * 13);  // rows padded to 4 bytes
  EXPECT_EQ(LoadImageFile(dir.File("b.bmp")), ScaleExportImage(button.Image, 37, 13));
  test::WriteImage(button, 90, 30, o, dir.File("b.bmp"));  // at its own size: unchanged, transparency or not
  EXPECT_EQ(LoadImageFile(dir.File("b.bmp")), button.Image);
}

TEST(ExportAlpha, UnmixingGivesCoverageAsAlphaAndTheShadowAsTranslucentBlack) {
  TBitmap black(4, 1), white(4, 1);
  // Nothing, the half-dark shadow, a plate pixel, a plate pixel half covering.
  const uint32_t plate = RGBToPixel(200, 100, 40);
  const uint32_t b[] = {0, 0, plate, RGBToPixel(100, 50, 20)};
  const uint32_t w[] = {0xFFFFFF, RGBToPixel(127, 127, 127), plate, RGBToPixel(228, 178, 148)};
  for (int x = 0; x < 4; ++x) {
    black.SetPixel(x, 0, b[x]);
    white.SetPixel(x, 0, w[x]);
  }
  TBitmap page(4, 1);
  page.Fill(0xFFFFFF);
  const TUnmixed u = UnmixBackgrounds(black, white, page);
  EXPECT_EQ(PixelRed(u.Alpha.Pixel(0, 0)), 0u);
  EXPECT_EQ(u.Color.Pixel(0, 0), 0u);
  EXPECT_EQ(PixelRed(u.Alpha.Pixel(1, 0)), 128u);
  EXPECT_EQ(u.Color.Pixel(1, 0), 0u);
  EXPECT_EQ(PixelRed(u.Alpha.Pixel(2, 0)), 255u);
  EXPECT_EQ(u.Color.Pixel(2, 0), plate);
  EXPECT_EQ(PixelRed(u.Alpha.Pixel(3, 0)), 127u);
  EXPECT_EQ(u.Color.Pixel(3, 0), RGBToPixel(201, 100, 40));
  // Measured against a page the scaler took to 253, the same pixels mean the same.
  const uint32_t dim[] = {RGBToPixel(253, 253, 253), RGBToPixel(126, 126, 126)};
  white.SetPixel(0, 0, dim[0]);
  white.SetPixel(1, 0, dim[1]);
  page.Fill(dim[0]);
  const TUnmixed d = UnmixBackgrounds(black, white, page);
  EXPECT_EQ(PixelRed(d.Alpha.Pixel(0, 0)), 0u);
  EXPECT_EQ(PixelRed(d.Alpha.Pixel(1, 0)), 128u);
  EXPECT_THROW(UnmixBackgrounds(black, TBitmap(3, 1), page), std::invalid_argument);
}

TEST(ExportAlpha, PngAndWebpLaidOnBlackOrWhiteGiveThePictureDrawnOnIt) {
  TTempDir dir;
  const TRenderedButton button = MakeRenderedButton(180, 60, true);
  // At the picture's own size (nothing scaled) and reduced, as exports are.
  for (auto [w, h] : {std::pair{180, 60}, std::pair{111, 37}}) {
    const TBitmap onBlack = ScaleExportImage(button.Image, w, h);
    const TBitmap onWhite = ScaleExportImage(button.OnWhite, w, h);
    TBitmap field(180, 60);
    field.Fill(0xFFFFFF);
    const TBitmap page = ScaleExportImage(field, w, h);  // white as the scaler leaves it
    for (TExportFormat f : {TExportFormat::Png, TExportFormat::WebP}) {
      SCOPED_TRACE(std::string(FormatExtension(f)) + " " + std::to_string(w));
      TExportOptions o;
      o.Format = f;
      const std::string path = dir.File(std::string("a") + FormatExtension(f));
      test::WriteImage(button, w, h, o, path);
      const test::TDecodedPng pic = f == TExportFormat::Png ? test::ReadPngRgba(path) : test::ReadWebpRgba(path);
      ASSERT_TRUE(pic.ok);
      ASSERT_EQ(std::pair(pic.width, pic.height), std::pair(w, h));
      int soft = 0, off = 0, ringing = 0;
      for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
          const int a = pic.Alpha(x, y);
          soft += a > 0 && a < 255;
          const double full = PixelRed(page.Pixel(x, y));
          // Where the filter rang (more than the page or less than nothing showing
          // through, a colour beyond white, or cut at black differently in each
          // channel), no alpha and colour can give both pictures; the rim is left out.
          bool rang = false;
          int least = 255, most = -255;
          for (int shift : {0, 8, 16}) {
            const int b = static_cast<int>((onBlack.Pixel(x, y) >> shift) & 0xFF);
            const int d = static_cast<int>((onWhite.Pixel(x, y) >> shift) & 0xFF) - b;
            rang = rang || d < 0 || d > full || b * 255.0 / full > 255 - d * 255.0 / full + 0.5;
            least = std::min(least, d);
            most = std::max(most, d);
          }
          rang = rang || most - least > 2;
          if (rang) {
            ++ringing;
            continue;
          }
          for (auto [bg, drawn] : {std::pair{0, onBlack.Pixel(x, y)}, std::pair{255, onWhite.Pixel(x, y)}})
            for (int shift : {0, 8, 16}) {
              // The picture laid on the page against the one drawn on it, white as white.
              const int c = static_cast<int>((pic.Pixel(x, y) >> shift) & 0xFF);
              const int laid = (c * a + bg * (255 - a) + 127) / 255;
              const double expected = ((drawn >> shift) & 0xFF) * 255.0 / full;
              off += std::abs(laid - expected) > 3.5;  // each picture rounded on its own
            }
        }
      EXPECT_EQ(off, 0);
      EXPECT_LT(ringing, w * h / 8);
      EXPECT_EQ(pic.Alpha(0, 0), 0);  // the page itself
      if (w == 180) {
        EXPECT_EQ(pic.Alpha(81, 48), 128);  // the shadow alone: half-dark black
        EXPECT_EQ(pic.Pixel(81, 48), 0u);
        EXPECT_EQ(pic.Alpha(81, 27), 255);  // the plate
        EXPECT_EQ(pic.Pixel(81, 27), button.Image.Pixel(81, 27));
      } else {
        EXPECT_GT(soft, 100);  // the plate's and the shadow's rims
      }
    }
  }

  // Without transparency the picture is opaque everywhere, the page's colour included.
  const TRenderedButton plain = MakeRenderedButton(120, 40);
  const TBitmap colours = ScaleExportImage(plain.Image, 180, 60);
  TExportOptions o;
  o.Format = TExportFormat::Png;
  o.Transparency = false;
  test::WriteImage(plain, 180, 60, o, dir.File("opaque.png"));
  const test::TDecodedPng opaque = test::ReadPngRgba(dir.File("opaque.png"));
  ASSERT_TRUE(opaque.ok);
  for (int y = 0; y < 60; ++y)
    for (int x = 0; x < 180; ++x) ASSERT_EQ(opaque.Alpha(x, y), 255) << x << "," << y;
  EXPECT_EQ(opaque.Pixel(0, 0), colours.Pixel(0, 0) & 0xFFFFFF);
  // A picture with alpha is made only from the button on black and on white.
  o.Transparency = true;
  EXPECT_THROW(test::WriteImage(plain, 180, 60, o, dir.File("half.png")), std::invalid_argument);
}

TEST(ExportWebp, LosslessDecodesToExactlyWhatWasWrittenAndLossyIsSmaller) {
  TBitmap image(97, 31), alpha(97, 31);
  for (int y = 0; y < 31; ++y)
    for (int x = 0; x < 97; ++x) {
      image.SetPixel(x, y, RGBToPixel(x * 5 % 256, y * 8, (x * y) % 256));
      const uint32_t a = (x + y) % 3 == 0 ? 0 : (x * 7 + y) % 256;
      alpha.SetPixel(x, y, RGBToPixel(a, a, a));
    }
  TTempDir dir;
  WriteWebp(dir.File("l.webp"), image, &alpha, {});
  const test::TDecodedPng back = test::ReadWebpRgba(dir.File("l.webp"));
  ASSERT_TRUE(back.ok);
  for (int y = 0; y < 31; ++y)
    for (int x = 0; x < 97; ++x) {
      ASSERT_EQ(back.Pixel(x, y), image.Pixel(x, y) & 0xFFFFFF) << x << "," << y;  // under alpha 0 too
      ASSERT_EQ(back.Alpha(x, y), PixelRed(alpha.Pixel(x, y))) << x << "," << y;
    }
  const size_t lossless = EncodeWebp(image, &alpha, {}).size();
  EXPECT_LT(EncodeWebp(image, &alpha, {true, 30}).size(), lossless);
  EXPECT_THROW(EncodeWebp(TBitmap(MaxWebpSide + 1, 1), nullptr, {}), std::runtime_error);
  EXPECT_THROW(EncodeWebp(image, &alpha, {true, 0}), std::runtime_error);
}

TEST(ExportFailures, AnUnwritableOutputLeavesNothingBehind) {
  TTempDir dir;
  const TRenderedButton button = MakeRenderedButton(60, 20, true);
  for (TExportFormat f :
       {TExportFormat::Gif, TExportFormat::Jpeg, TExportFormat::Bmp, TExportFormat::Png, TExportFormat::WebP}) {
    TExportOptions o;
    o.Format = f;
    const std::string ext = FormatExtension(f);
    SCOPED_TRACE(ext);
    // A folder that does not exist.
    const std::string missing = dir.File("no-folder/out" + ext);
    try {
      test::WriteImage(button, 60, 20, o, missing);
      ADD_FAILURE() << "no error";
    } catch (const std::runtime_error& e) {
      EXPECT_NE(std::string(e.what()).find(missing), std::string::npos) << e.what();
    }
    // A read-only file keeps its contents, and no temporary file stays beside it.
    const std::string locked = dir.File("locked" + ext);
    test::WriteText(locked, "old");
    ::chmod(locked.c_str(), 0444);
    EXPECT_THROW(test::WriteImage(button, 60, 20, o, locked), std::runtime_error);
    EXPECT_EQ(test::ReadText(locked), "old");
    // A path that names a folder.
    std::filesystem::create_directories(dir.File("folder" + ext));
    EXPECT_THROW(test::WriteImage(button, 60, 20, o, dir.File("folder" + ext)), std::runtime_error);
  }
  EXPECT_EQ(test::FileNames(dir.Path()),
            (std::set<std::string>{"locked.gif", "locked.jpg", "locked.bmp", "locked.png", "locked.webp", "folder.gif",
                                   "folder.jpg", "folder.bmp", "folder.png", "folder.webp"}));
}

TEST(ExportFailures, BadSizesAndOptionsAreRefusedBeforeAnythingIsWritten) {
  TTempDir dir;
  const TRenderedButton button = MakeRenderedButton(60, 20);
  const std::string path = dir.File("x.gif");
  TExportOptions o;
  for (auto [w, h] : {std::pair{0, 40}, std::pair{40, 0}, std::pair{-5, 40}, std::pair{32768, 1},
                      std::pair{10000, 10000}})
    EXPECT_THROW(test::WriteImage(button, w, h, o, path), std::runtime_error) << w << "x" << h;
  EXPECT_TRUE(IsExportSize(32767, 1));
  EXPECT_TRUE(IsExportSize(8000, 8000));
  EXPECT_FALSE(IsExportSize(8001, 8000));

  auto bad = [&](auto change) {
    TExportOptions b;
    change(b);
    EXPECT_THROW(test::WriteImage(button, 60, 20, b, path), std::invalid_argument);
  };
  bad([](TExportOptions& b) { b.ColorBits = 2; });
  bad([](TExportOptions& b) { b.ColorBits = 9; });
  bad([](TExportOptions& b) { b.JpegQuality = 0; });
  bad([](TExportOptions& b) { b.JpegQuality = 101; });
  bad([](TExportOptions& b) { b.PaletteKind = static_cast<TPaletteKind>(0); });
  bad([](TExportOptions& b) { b.PaletteKind = static_cast<TPaletteKind>(9); });
  bad([](TExportOptions& b) { b.Dithering = static_cast<TDitherMethod>(7); });
  bad([](TExportOptions& b) { b.Format = static_cast<TExportFormat>(6); });
  bad([](TExportOptions& b) { b.Scale = 0; });
  bad([](TExportOptions& b) { b.Scale = 4; });
  bad([](TExportOptions& b) { b.GifCompression = static_cast<TGifCompression>(2); });
  EXPECT_FALSE(FileExists(path));
}

}  // namespace
}  // namespace qz
