#include "export/ExportImage.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <set>

#include "export/ExportTestSupport.h"
#include "gif/Dither.h"
#include "gif/GifTestSupport.h"
#include "gif/PaletteKind.h"
#include "platform/FileUtil.h"
#include "session/ImageFile.h"
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

TEST(ExportPng, AlphaFollowsTheScaledMask) {
  TTempDir dir;
  const TRenderedButton button = MakeRenderedButton(120, 40);
  TExportOptions o;
  o.Format = TExportFormat::Png;
  test::WriteImage(button, 180, 60, o, dir.File("a.png"));
  const test::TDecodedPng png = test::ReadPngRgba(dir.File("a.png"));
  ASSERT_TRUE(png.ok);
  ASSERT_EQ(std::pair(png.width, png.height), std::pair(180, 60));
  const TBitmap mask = ScaleExportMask(button.Mask, 180, 60);
  const TBitmap colours = ScaleExportImage(button.Image, 180, 60);
  int soft = 0;
  for (int y = 0; y < 60; ++y)
    for (int x = 0; x < 180; ++x) {
      ASSERT_EQ(png.Alpha(x, y), PixelRed(mask.Pixel(x, y)));
      ASSERT_EQ(png.Pixel(x, y), colours.Pixel(x, y) & 0xFFFFFF);
      soft += png.Alpha(x, y) > 0 && png.Alpha(x, y) < 255;
    }
  EXPECT_GT(soft, 100);  // the plate's and the shadow's rims

  // Without transparency the picture is opaque everywhere, the page's colour included.
  o.Transparency = false;
  test::WriteImage(button, 180, 60, o, dir.File("opaque.png"));
  const test::TDecodedPng opaque = test::ReadPngRgba(dir.File("opaque.png"));
  ASSERT_TRUE(opaque.ok);
  for (int y = 0; y < 60; ++y)
    for (int x = 0; x < 180; ++x) ASSERT_EQ(opaque.Alpha(x, y), 255) << x << "," << y;
  EXPECT_EQ(opaque.Pixel(0, 0), colours.Pixel(0, 0) & 0xFFFFFF);
}

TEST(ExportFailures, AnUnwritableOutputLeavesNothingBehind) {
  TTempDir dir;
  const TRenderedButton button = MakeRenderedButton(60, 20);
  for (TExportFormat f : {TExportFormat::Gif, TExportFormat::Jpeg, TExportFormat::Bmp, TExportFormat::Png}) {
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
  EXPECT_EQ(test::FileNames(dir.Path()), (std::set<std::string>{"locked.gif", "locked.jpg", "locked.bmp", "locked.png", "folder.gif",
                                          "folder.jpg", "folder.bmp", "folder.png"}));
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
  bad([](TExportOptions& b) { b.Format = static_cast<TExportFormat>(5); });
  EXPECT_FALSE(FileExists(path));
}

}  // namespace
}  // namespace qz
