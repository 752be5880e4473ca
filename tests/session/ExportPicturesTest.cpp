// The pictures an export draws from the factory designs: true alpha, the mask of a
// shape button, high-density pictures and the hover and pressed states.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <vector>
#include <filesystem>

#include "export/ExportTestSupport.h"
#include "image/formats/GifTestSupport.h"
#include "session/DesignSession.h"
#include "image/ImageFile.h"
#include "support/MessageCollector.h"
#include "support/TempDir.h"

namespace qz {
namespace {

struct ExportPictures : ::testing::Test {
  // The factory design, built, and its button drawn for an export.
  TRenderedButton Load(const std::string& design) {
    EXPECT_TRUE(session.Load(std::string(QZ_PROGRAM_DIR) + design));
    EXPECT_TRUE(session.Rebuild());
    return session.RenderForExport().value();
  }
  std::string Export(const TRenderedButton& button, TExportSize size, TExportOptions options,
                     const std::string& name) {
    options.BrowserPreview = false;
    session.Export(button, size, options, dir.File(name), "");
    return dir.File(name);
  }
  test::TTempDir dir;
  test::TMessageCollector messages;
  test::TProgressLog progress;
  TDesignSession session{QZ_PROGRAM_DIR, messages, progress};
};

TExportOptions Format(TExportFormat format) {
  TExportOptions o;
  o.Format = format;
  return o;
}

// How sharp the picture's edges are: the mean of the steepest hundredth of its steps
// from pixel to pixel (an enlarged picture spreads each edge over more pixels).
double Sharpness(const TBitmap& image) {
  std::vector<int> steps;
  for (int y = 0; y + 1 < image.Height(); ++y)
    for (int x = 0; x + 1 < image.Width(); ++x)
      for (int shift : {0, 8, 16}) {
        const int p = static_cast<int>((image.Pixel(x, y) >> shift) & 0xFF);
        steps.push_back(std::abs(p - static_cast<int>((image.Pixel(x + 1, y) >> shift) & 0xFF)));
        steps.push_back(std::abs(p - static_cast<int>((image.Pixel(x, y + 1) >> shift) & 0xFF)));
      }
  std::sort(steps.begin(), steps.end(), std::greater<>());
  const size_t n = std::max<size_t>(1, steps.size() / 100);
  double sum = 0;
  for (size_t i = 0; i < n; ++i) sum += steps[i];
  return sum / static_cast<double>(n);
}

double MeanLevel(const TBitmap& image) {
  double sum = 0;
  for (int y = 0; y < image.Height(); ++y)
    for (int x = 0; x < image.Width(); ++x) {
      const uint32_t p = image.Pixel(x, y);
      sum += PixelRed(p) + PixelGreen(p) + PixelBlue(p);
    }
  return sum / (3.0 * image.Width() * image.Height());
}

TEST_F(ExportPictures, APngIsTheSameOnWhateverBackgroundTheDesignHas) {
  const TRenderedButton white = Load("default.dat");
  const std::string a = Export(white, {145, 40}, Format(TExportFormat::Png), "a.png");
  const std::string gifA = Export(white, {145, 40}, Format(TExportFormat::Gif), "a.gif");
  session.SetBackground(RGBToColor(20, 40, 90));
  const TRenderedButton navy = session.RenderForExport().value();
  const std::string b = Export(navy, {145, 40}, Format(TExportFormat::Png), "b.png");
  const std::string gifB = Export(navy, {145, 40}, Format(TExportFormat::Gif), "b.gif");
  const test::TDecodedPng pa = test::ReadPngRgba(a), pb = test::ReadPngRgba(b);
  ASSERT_TRUE(pa.ok && pb.ok);
  EXPECT_EQ(pa.rgba, pb.rgba);
  int translucent = 0;
  for (int y = 0; y < 40; ++y)
    for (int x = 0; x < 145; ++x) translucent += pa.Alpha(x, y) > 0 && pa.Alpha(x, y) < 255;
  EXPECT_GT(translucent, 200);  // soft edges and the shadow
  // A GIF keeps the page's colour in its edges.
  EXPECT_NE(test::ReadText(gifA), test::ReadText(gifB));
}

TEST_F(ExportPictures, AStarburstGifIsTransparentBetweenItsSpikes) {
  const TRenderedButton button = Load("Templates/Sale.qzpl");
  const int w = button.Image.Width(), h = button.Image.Height();
  // At the picture's own size: transparent exactly where the softened mask is black,
  // never where the button or a shadow covers.
  const test::TDecodedGif gif = test::ReadGifFile(Export(button, {w, h}, Format(TExportFormat::Gif), "sale.gif"));
  ASSERT_TRUE(gif.ok) << gif.error;
  ASSERT_GE(gif.transparentIndex, 0);
  const TBitmap soft = ScaleExportMask(button.Mask, w, h);
  int between = 0;
  for (int y = 0; y < h; ++y) {
    int first = w, last = -1;
    for (int x = 0; x < w; ++x) {
      const bool transparent = gif.indices[static_cast<size_t>(y) * w + x] == gif.transparentIndex;
      ASSERT_EQ(transparent, soft.Pixel(x, y) == 0) << x << "," << y;
      if (button.Mask.Pixel(x, y) != 0) {
        ASSERT_FALSE(transparent) << x << "," << y;
        first = std::min(first, x), last = x;
      }
    }
    for (int x = first; x < last; ++x) between += gif.indices[static_cast<size_t>(y) * w + x] == gif.transparentIndex;
  }
  // The notches between the spikes along the top and bottom and at the sides.
  EXPECT_GT(between, w * h / 50);
}

TEST_F(ExportPictures, HighDensityPicturesAreDrawnLargerNotEnlarged) {
  const TRenderedButton button = Load("Templates/Marble.qzpl");
  for (int scale : {2, 3}) {
    TExportOptions o = Format(TExportFormat::Bmp);
    o.Scale = scale;
    const std::string one = Export(button, {156, 40}, o, "m.bmp");
    const TBitmap big = LoadImageFile(dir.File("m@" + std::to_string(scale) + "x.bmp"));
    ASSERT_EQ(big.Width(), 156 * scale);
    ASSERT_EQ(big.Height(), 40 * scale);
    // Sharper than the 1x picture enlarged to its size (whose filter already sharpens
    // it), and the same picture: made small again it is close to the 1x one.
    const TBitmap small = LoadImageFile(one);
    const double enlarged = Sharpness(ScaleExportImage(small, 156 * scale, 40 * scale));
    EXPECT_GT(Sharpness(big), 1.3 * enlarged) << scale << ": " << Sharpness(big) << " against " << enlarged;
    EXPECT_LT(std::abs(MeanLevel(ScaleExportImage(big, 156, 40)) - MeanLevel(small)), 3.0) << scale;
  }
  // Larger than the picture drawn: drawn larger still, never enlarged.
  TExportOptions o = Format(TExportFormat::Png);
  o.Scale = 2;
  const int w = button.Image.Width(), h = button.Image.Height();
  Export(button, {w, h}, o, "full.png");
  const test::TDecodedPng full = test::ReadPngRgba(dir.File("full@2x.png"));
  ASSERT_TRUE(full.ok);
  EXPECT_EQ(std::pair(full.width, full.height), std::pair(2 * w, 2 * h));
}

TEST_F(ExportPictures, HoverIsBrighterAndPressedCastsAShorterShadowInTheSameFrame) {
  const TRenderedButton button = Load("default.dat");
  TExportOptions o = Format(TExportFormat::Png);
  o.States = true;
  Export(button, {145, 40}, o, "go.png");
  const test::TDecodedPng normal = test::ReadPngRgba(dir.File("go.png"));
  const test::TDecodedPng hover = test::ReadPngRgba(dir.File("go-hover.png"));
  const test::TDecodedPng pressed = test::ReadPngRgba(dir.File("go-pressed.png"));
  ASSERT_TRUE(normal.ok && hover.ok && pressed.ok);
  for (const test::TDecodedPng* p : {&hover, &pressed}) EXPECT_EQ(std::pair(p->width, p->height), std::pair(145, 40));
  auto covered = [](const test::TDecodedPng& p) {
    int n = 0;
    for (size_t i = 3; i < p.rgba.size(); i += 4) n += p.rgba[i] > 0;
    return n;
  };
  auto level = [](const test::TDecodedPng& p) {
    double sum = 0;
    for (size_t i = 0; i < p.rgba.size(); i += 4) sum += (p.rgba[i] + p.rgba[i + 1] + p.rgba[i + 2]) * p.rgba[i + 3];
    return sum;
  };
  EXPECT_GT(level(hover), 1.1 * level(normal));
  EXPECT_NEAR(covered(hover), covered(normal), 10);  // the same button, its shadow untouched
  EXPECT_LT(covered(pressed), covered(normal));
  // The plate stays where it is: its middle is opaque in all three.
  for (const test::TDecodedPng* p : {&normal, &hover, &pressed}) EXPECT_EQ(p->Alpha(70, 18), 255);
  const std::string snippet = test::ReadText(dir.File("go.html"));
  for (const char* name : {"\"go.png\"", "\"go-hover.png\"", "\"go-pressed.png\"", ":hover", ":active"})
    EXPECT_NE(snippet.find(name), std::string::npos) << name;
}

TEST_F(ExportPictures, AGroupThatCannotBeWrittenWholeLeavesEveryFileAsItWas) {
  const TRenderedButton button = Load("default.dat");
  test::WriteText(dir.File("go.png"), "old");
  std::filesystem::create_directories(dir.File("go-pressed@2x.png"));  // the last picture cannot be written
  TExportOptions o = Format(TExportFormat::Png);
  o.States = true;
  o.Scale = 2;
  EXPECT_THROW(Export(button, {145, 40}, o, "go.png"), std::runtime_error);
  EXPECT_EQ(test::ReadText(dir.File("go.png")), "old");
  EXPECT_EQ(test::FileNames(dir.Path()), (std::set<std::string>{"go.png", "go-pressed@2x.png"}));
}

}  // namespace
}  // namespace qz
