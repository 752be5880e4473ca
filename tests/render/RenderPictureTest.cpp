// Hand-built bodies drawn into small pictures, checked pixel by pixel. The pictures
// are also written to the build's test-output folder (render-*.png) to be looked at.
#include <gtest/gtest.h>

#include <functional>
#include <set>

#include "render/RenderKit.h"
#include "scene/Scene.h"

namespace qz {
namespace {

using test::V;

// Centre of a face on screen (the mean of its four screen points).
TScreenPoint FaceCentre(const TBody& body, int f) {
  const TFace& face = body.Face(f);
  int x = 0, y = 0;
  for (int v : {face.V1, face.V2, face.V3, face.V4}) x += body.Screen(v).SX, y += body.Screen(v).SY;
  return {x / 4, y / 4};
}

// A frustum of half-size 150 and height 90 (with a hole of 100 or none) drawn in one
// pass with the text ramp, the default light and a white background; the picture has
// room for the letters' shadow when asked, and the shadow itself when asked.
struct TPicture {
  TScene scene;
  test::TFitted fit;
  TBitmap image, mask;
  uint32_t background = 0;
  TBody& body;
  test::TFrustumFaces faces;

  TPicture(int bevel, int hole) : body(scene.View.Body(scene.View.AddBody())) {
    faces = test::AddFrustum(body, 150, 90, bevel, hole);
  }
  void Draw(bool room, bool shadow, int shadType = 1) {
    TCamera cam = scene.CameraBlock();
    cam.ShadType = shadType;
    const int dx = room ? scene.TxtShadowX : 0, dy = room ? scene.TxtShadowY : 0;
    fit = test::FitImage(scene.View, scene.RenderBlock(), cam, dx, dy);
    image.SetSize(fit.Width, fit.Height);
    background = ColorToPixel(scene.BkgColor);
    image.Fill(background);
    mask.SetSize(fit.Width, fit.Height);
    test::DrawPass(scene.View, fit.Params, cam, image, scene.TextPalette, shadow, dx, dy, &mask);
  }
  uint32_t Colour(int face) const { return scene.TextPalette[body.Face(face).Level]; }
};

// One frustum with a hole, drawn flat, flat with its drop shadow, and smooth, all with
// room for the shadow so the pictures line up.
TEST(RenderPicture, FrustumWithAHoleFlatSmoothAndShadowed) {
  TPicture p(40, 100), shadowed(40, 100), smooth(40, 100);
  p.Draw(true, false, 0);
  shadowed.Draw(true, true, 0);
  smooth.Draw(true, false, 1);
  test::SavePicture("render-frustum-hole-shadow.png", shadowed.image);
  const int cx = p.fit.Params.CenterX, cy = p.fit.Params.CenterY;  // the model origin on screen
  EXPECT_EQ(p.image.Pixel(cx, cy), p.background);  // through the hole
  // The cap between the outline and the hole: the ramp entry of the cap face's level.
  const int midCap = (p.body.Screen(p.body.Contour(1).Index[1]).SY + p.body.Screen(p.body.Contour(2).Index[1]).SY) / 2;
  EXPECT_EQ(p.image.Pixel(cx, midCap), p.Colour(p.body.FaceCount()));
  EXPECT_EQ(p.image.Pixel(cx, 2 * cy - midCap), p.Colour(p.body.FaceCount()));
  // Every wall one colour, the ramp entry of its level, at its centre.
  for (int w = 1; w <= 8; ++w) {
    ASSERT_EQ(p.body.Face(w).Visible, 1) << "face " << w;
    const TScreenPoint c = FaceCentre(p.body, w);
    EXPECT_EQ(p.image.Pixel(c.SX, c.SY), p.Colour(w)) << "face " << w;
  }
  // The default light comes from the upper left and from the front: top and left walls
  // are brighter than bottom and right ones; inside the hole it is the other way.
  const auto level = [&](int f) { return p.body.Face(f).Level; };
  EXPECT_GT(level(p.faces.Top), level(p.faces.Bottom));
  EXPECT_GT(level(p.faces.Left), level(p.faces.Right));
  EXPECT_GT(level(p.faces.HoleBottom), level(p.faces.HoleTop));
  EXPECT_GT(level(p.faces.HoleRight), level(p.faces.HoleLeft));
  EXPECT_NE(p.image.Pixel(0, 0), p.background);  // a back corner is the extreme screen point

  // Down the middle of the top wall: one colour flat, a gradient smooth.
  const TFace& top = p.body.Face(p.faces.Top);
  const int back = p.body.Screen(top.V2).SY, front = p.body.Screen(top.V1).SY;
  ASSERT_GT(front - back, 6);
  std::set<uint32_t> flatColours, smoothColours;
  for (int y = back + 1; y < front; ++y) {
    flatColours.insert(p.image.Pixel(cx, y));
    smoothColours.insert(smooth.image.Pixel(cx, y));
  }
  EXPECT_EQ(flatColours, std::set<uint32_t>{p.Colour(p.faces.Top)});
  EXPECT_GE(smoothColours.size(), 3u);

  // The drop shadow halves the background beside the body only, never the body itself.
  const int dx = p.scene.TxtShadowX, dy = p.scene.TxtShadowY;
  ASSERT_GT(dx, 0);  // the default light throws the shadow right and down
  ASSERT_GT(dy, 0);
  const uint32_t bkg = p.background, halved = RGBToPixel(PixelRed(bkg) / 2, PixelGreen(bkg) / 2, PixelBlue(bkg) / 2);
  int shadowPixels = 0;
  for (int y = 0; y < p.image.Height(); ++y)
    for (int x = 0; x < p.image.Width(); ++x) {
      const bool body = p.mask.Pixel(x, y) == MaskWhite;
      const bool underShadow = x >= dx && y >= dy && p.mask.Pixel(x - dx, y - dy) == MaskWhite;
      ASSERT_EQ(shadowed.image.Pixel(x, y), body ? p.image.Pixel(x, y) : underShadow ? halved : bkg) << x << "," << y;
      ASSERT_EQ(shadowed.mask.Pixel(x, y), body || underShadow ? MaskWhite : 0u) << x << "," << y;
      shadowPixels += !body && underShadow;
    }
  EXPECT_GT(shadowPixels, 500);
}

// Draws one body of the faces `add` makes plus a last, unused cap face into a 100 x
// 100 picture on white, with a red ramp, flat shading and a light from the upper left.
TBitmap DrawFaces(const std::function<void(TBody&)>& add) {
  TView3D view;
  TBody& body = view.Body(view.AddBody());
  add(body);
  body.AddFace(V(0, 0, 0), V(0, 0, 0), V(0, 0, 0), V(0, 0, 0));  // cap face, never drawn as a polygon
  TCamera cam;
  cam.Render.Y = 1500;
  cam.ShadType = 0;
  TRenderParams params;
  params.CenterX = params.CenterY = 50;
  params.Light = {0.3f, 0.5f, -0.8f, 1.0f, 0xFFFFFF};
  TBitmap image(100, 100);
  image.Fill(0x00FFFFFF);
  TPalette pal;
  for (int i = 0; i < 256; ++i) pal[i] = RGBToPixel(i, 0, 0);
  test::DrawPass(view, params, cam, image, pal, false, 0, 0);
  return image;
}

TEST(RenderPicture, TheNearerFaceWinsBackFacesAreNotDrawnTrianglesDrawAsTriangles) {
  auto front = [](int y) { return [y](TBody& b) { test::AddFrontQuad(b, -60, -60, 60, 60, y); }; };
  // Tilted: its top edge at depth 0, its bottom edge 150 further away.
  auto tilted = [](TBody& b) { b.AddFace(V(-150, 0, 150), V(-150, 150, -150), V(150, 150, -150), V(150, 0, 150)); };
  const uint32_t frontAlone = DrawFaces(front(-200)).Pixel(50, 50);
  const uint32_t tiltedAlone = DrawFaces(tilted).Pixel(50, 50);
  ASSERT_NE(frontAlone, tiltedAlone);
  ASSERT_NE(frontAlone, 0x00FFFFFFu);
  // In front of the tilted face, and behind it; whatever order they were added in.
  for (bool frontFirst : {true, false})
    for (int y : {-200, 400}) {
      const TBitmap both = DrawFaces(
          [&](TBody& b) {
            if (frontFirst) front(y)(b);
            tilted(b);
            if (!frontFirst) front(y)(b);
          });
      EXPECT_EQ(both.Pixel(50, 50), y < 0 ? frontAlone : tiltedAlone) << y << " " << frontFirst;
    }
  // The same square wound the other way round turns its back to the viewer.
  TBitmap white(100, 100);
  white.Fill(0x00FFFFFF);
  EXPECT_EQ(DrawFaces([](TBody& b) { b.AddFace(V(-60, 0, 60), V(60, 0, 60), V(60, 0, -60), V(-60, 0, -60)); }), white);

  // The triangle (-100, 100), (-100, -100), (100, -100) with its second or third point
  // repeated (V1, V2 and V4 decide the facing, so those stay distinct).
  const TVertex p0 = V(-100, 0, 100), p1 = V(-100, 0, -100), p2 = V(100, 0, -100);
  const TBitmap a = DrawFaces([&](TBody& b) { b.AddFace(p0, p1, p2, p2); });
  EXPECT_EQ(a, DrawFaces([&](TBody& b) { b.AddFace(p0, p1, p1, p2); }));
  // The picture is the triangle: below the diagonal from top left to bottom right.
  for (int y = 25; y <= 75; y += 5)
    for (int x = 25; x <= 75; x += 5)
      EXPECT_TRUE(x == y || (a.Pixel(x, y) != 0x00FFFFFFu) == (x < y)) << x << "," << y;
}

}  // namespace
}  // namespace qz
