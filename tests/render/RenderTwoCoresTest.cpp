// A large picture is drawn by two threads at once. It must come out pixel for pixel
// as the passes draw it one after the other: the button alone in a z-buffer, its
// shadow, its flush; then the letters nearest first, their shadow and their flush.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "RenderKit.h"
#include "render/ShadeRamp.h"

namespace qz {
namespace {

// Letters: two rows of frustums, some with holes; the button: a large frustum
// behind them, the last body.
void AddScene(TView3D& view) {
  for (int i = 0; i < 24; ++i) {
    const int x = (i % 12) * 190 - 1045, z = i < 12 ? 160 : -160;
    test::AddFrustum(view.Body(view.AddBody()), 70 + i % 3 * 10, 260, 40, i % 4 == 0 ? 25 : 0, x, z);
  }
  const int b = view.AddBody();
  test::AddFrustum(view.Body(b), 1200, 120, 90);
  view.MarkButton(b);
}

// A texture of stripes and a ramp, to show every texel's place.
TBitmap Stripes() {
  TBitmap t(37, 23);
  for (int y = 0; y < t.Height(); ++y)
    for (int x = 0; x < t.Width(); ++x) t.SetPixel(x, y, RGBToPixel(x * 7 % 256, y * 11 % 256, (x + y) % 2 ? 200 : 40));
  return t;
}

struct TDrawn {
  TBitmap Image, Mask;
};

// The passes one after the other, in a single z-buffer.
TDrawn OneAfterTheOther(TView3D& view, int w, int h, const TPalette& text, const TPalette& button,
                        const TBitmap* texture) {
  TDrawn d{TBitmap(w, h), TBitmap(w, h)};
  d.Image.Fill(0x00406080);
  const TRenderParams& p = view.Params;
  view.BodyOrder.Clear();
  for (int b = 1; b <= view.BodyCount(); ++b) {
    view.Body(b).Prepare(p);
    view.BodyOrder.Add(b, view.Body(b).AvgKey());
  }
  view.BodyOrder.Sort();
  TZBuffer zb;
  zb.SetSize(h, w);
  zb.Tint = p.Light.Color;
  zb.MidLevel = p.Brightness;
  view.Body(view.BodyCount()).Draw(zb, true);
  zb.ShadowSpans(d.Image, p.ButShadowX, p.ButShadowY, false);
  zb.ShadowSpans(d.Mask, p.ButShadowX, p.ButShadowY, true);
  if (texture) zb.SetTexture(*texture);
  zb.Flush(d.Image, button, false);
  zb.Flush(d.Mask, button, true);
  zb.SetSize(h, w);
  for (int i = 1; i <= view.BodyOrder.Count(); ++i)
    if (view.BodyOrder.Item(i).Index != view.BodyCount()) view.Body(view.BodyOrder.Item(i).Index).Draw(zb, false);
  if (p.Message.Altitude > 0) {
    zb.ShadowSpans(d.Image, p.TxtShadowX, p.TxtShadowY, false);
    zb.ShadowSpans(d.Mask, p.TxtShadowX, p.TxtShadowY, true);
  }
  zb.Flush(d.Image, text, false);
  zb.Flush(d.Mask, text, true);
  return d;
}

// Shadows near, far above and below (so the halves of the letters' shadow meet at
// other rows, or cannot be split at all), none; the button textured and plain.
TEST(RenderOnTwoCores, LargePicturesComeOutAsThePassesOneAfterTheOther) {
  TView3D view;
  AddScene(view);
  TCamera camera;
  camera.Render.Y = 3000;
  view.SetCamera(camera);
  const TScreenExtents e = view.ScreenExtents();
  const int w = e.MaxX - e.MinX + 2, h = e.MaxY - e.MinY + 2;
  ASSERT_GE(int64_t{w} * h, 100000) << "a picture large enough for two threads (65,536 pixels)";
  view.Params.CenterX = -e.MinX;
  view.Params.CenterY = -e.MinY;
  view.Params.Light = {0.4f, 0.5f, -0.7f, 1.0f, 0xE0F0FF};
  view.Params.Brightness = 180;
  view.Params.ButShadowX = 9;
  view.Params.ButShadowY = 11;
  view.Params.Button.Altitude = 20;
  TSideParams side;
  side.DColor = 0x203040;
  side.MColor = 0xF0C080;
  const TPalette text = MakeShadeRamp(side, 0xFFFFFF), button = MakeShadeRamp(TSideParams{}, 0xFFFFFF);
  const TBitmap texture = Stripes();
  view.SetButtonTexture(texture);

  for (const bool textured : {true, false}) {
    view.ButtonTextured = textured;
    for (const int dy : {0, 6, -6, h / 2 - 1, -(h / 2) + 1, h / 2 + 3, -h}) {
      view.Params.Message.Altitude = dy == 0 ? 0 : 10;
      view.Params.TxtShadowX = -4;
      view.Params.TxtShadowY = dy;
      view.SetCamera(camera);
      const TDrawn expected = OneAfterTheOther(view, w, h, text, button, textured ? &view.ButtonTexture : nullptr);
      TBitmap image(w, h), mask(w, h);
      view.Render(image, mask, true, true, 0x00406080, text, button);
      const std::string what = "shadow dy " + std::to_string(dy) + (textured ? ", textured" : "");
      EXPECT_TRUE(image == expected.Image) << what;
      EXPECT_TRUE(mask == expected.Mask) << what;
    }
  }
}

}  // namespace
}  // namespace qz
