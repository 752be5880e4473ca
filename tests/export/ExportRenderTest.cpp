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
  EXPECT_EQ(s.scene.Image, button->Image);  // the plain render draws the same picture
  // The copies are what a render with the mask gives (its mask checked by the render tests).
  RenderScene(s.scene, true, false);
  EXPECT_EQ(button->Image, s.scene.Image);
  EXPECT_EQ(button->Mask, s.scene.Mask);
  EXPECT_GT(button->Image.Width(), 20);
}

TEST(ExportRender, AnEmptyMessageIsRefusedWithoutARender) {
  TBuiltScene s("");
  s.scene.Image.SetSize(7, 5);
  EXPECT_FALSE(RenderForExport(s.scene, s.message).has_value());
  EXPECT_EQ(s.messages.Texts, std::vector<std::string>{"Sorry, there is nothing to export"});
  EXPECT_EQ(s.scene.Image.Width(), 7);
}

}  // namespace
}  // namespace qz
