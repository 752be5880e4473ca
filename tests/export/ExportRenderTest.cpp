#include "export/ExportRender.h"

#include <gtest/gtest.h>

#include "render/RenderDriver.h"
#include "scene/Build.h"
#include "scene/WorkFile.h"
#include "support/MessageCollector.h"

namespace qz {
namespace {

struct TBuiltScene {
  TScene scene;
  TMessageText message;
  test::TMessageCollector messages;
  explicit TBuiltScene(const std::string& text) {
    scene.Messages = &messages;
    scene.BkgColor = RGBToColor(255, 255, 128);
    RefreshDerived(scene);
    message.Append(text, TCharFormat{});
    if (!text.empty()) Build(scene, message);
  }
};

// The export's copies are the render with its mask; afterwards the scene shows the
// picture a plain render gives, so the designer's preview ends as it began.
TEST(ExportRender, CopiesTheRenderWithItsMaskAndRestoresThePlainRender) {
  TBuiltScene s("Go");
  const std::optional<TRenderedButton> button = RenderForExport(s.scene, s.message);
  ASSERT_TRUE(button.has_value());
  EXPECT_TRUE(s.messages.Texts.empty());
  const int w = button->Image.Width(), h = button->Image.Height();
  ASSERT_GT(w, 20);
  EXPECT_EQ(button->Mask.Width(), w);
  EXPECT_EQ(button->Mask.Height(), h);
  EXPECT_EQ(s.scene.Image, button->Image);  // the plain render draws the same picture

  int covered = 0, uncovered = 0;
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      const uint32_t m = button->Mask.Pixel(x, y), p = button->Image.Pixel(x, y);
      ASSERT_EQ(p >> 24, 0u);
      ASSERT_TRUE(m == 0 || m == 0xFFFFFF) << std::hex << m;
      if (m == 0) {
        ++uncovered;
        ASSERT_EQ(p, ColorToPixel(s.scene.BkgColor)) << x << "," << y;  // nothing drawn there
      } else {
        ++covered;
      }
    }
  EXPECT_GT(covered, w * h / 2);
  EXPECT_GT(uncovered, 4);  // at least the rounded corners
}

TEST(ExportRender, AnEmptyMessageIsRefusedWithoutARender) {
  TBuiltScene s("");
  s.scene.Image.SetSize(7, 5);
  s.scene.Image.Fill(0x123456);
  const TBitmap before = s.scene.Image;
  EXPECT_FALSE(RenderForExport(s.scene, s.message).has_value());
  EXPECT_EQ(s.messages.Texts, std::vector<std::string>{"Sorry, there is nothing to export"});
  EXPECT_EQ(s.scene.Image, before);
}

}  // namespace
}  // namespace qz
