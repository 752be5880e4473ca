// Hand-built bodies drawn into small pictures, checked pixel by pixel. The pictures
// are also written to the build folder (test-output/render-*.png) to be looked at.

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
  for (int v : {face.V1, face.V2, face.V3, face.V4}) {
    x += body.Screen(v).SX;
    y += body.Screen(v).SY;
  }
  return {x / 4, y / 4};
}

struct TPicture {
  TScene scene;  // defaults: the light of SetLightAngles(0.5, 0.3), white background
  test::TFitted fit;
  TBitmap image;
  TBitmap mask;
  uint32_t background = 0;

  // Fits the image to the view of `scene` and draws one pass with the text ramp.
  void Draw(bool shadow, int shadType = 1, bool isButton = false) {
    TCamera cam = scene.CameraBlock();
    cam.ShadType = shadType;
    const int dx = shadow ? scene.TxtShadowX : 0, dy = shadow ? scene.TxtShadowY : 0;
    fit = test::FitImage(scene.View, scene.RenderBlock(), cam, dx, dy);
    image.SetSize(fit.Width, fit.Height);
    background = ColorToPixel(scene.BkgColor);
    image.Fill(background);
    mask.SetSize(fit.Width, fit.Height);
    test::DrawPass(scene.View, fit.Params, cam, image, scene.TextPalette, shadow, dx, dy, &mask, isButton);
  }
};

TEST(RenderPicture, FrustumWithAHoleInItsCap) {
  TPicture p;
  TBody& body = p.scene.View.Body(p.scene.View.AddBody());
  const test::TFrustumFaces f = test::AddFrustum(body, 0, 0, 150, 90, 40, 100);
  p.Draw(false, 0);
  test::SavePicture("render-frustum-hole-flat.png", p.image);

  const int cx = p.fit.Params.CenterX, cy = p.fit.Params.CenterY;  // the model origin on screen
  // Through the hole: the background.
  EXPECT_EQ(p.image.Pixel(cx, cy), p.background);
  // The cap between the outline and the hole: the ramp entry of the cap face's level.
  const TFace& cap = body.Face(body.FaceCount());
  const int midCap = (body.Screen(body.Contour(1).Index[1]).SY + body.Screen(body.Contour(2).Index[1]).SY) / 2;
  EXPECT_EQ(p.image.Pixel(cx, midCap), p.scene.TextPalette[cap.Level]);
  EXPECT_EQ(p.image.Pixel(cx, 2 * cy - midCap), p.scene.TextPalette[cap.Level]);

  // Flat shading: every face one colour, the ramp entry of its level, at its centre.
  for (int w : {f.Top, f.Left, f.Bottom, f.Right, f.HoleTop, f.HoleLeft, f.HoleBottom, f.HoleRight}) {
    ASSERT_EQ(body.Face(w).Visible, 1) << "face " << w;
    const TScreenPoint c = FaceCentre(body, w);
    EXPECT_EQ(p.image.Pixel(c.SX, c.SY), p.scene.TextPalette[body.Face(w).Level]) << "face " << w;
  }
  // The default light comes from the upper left and from the front: top and left
  // walls are brighter than bottom and right ones; inside the hole it is the other way.
  EXPECT_GT(body.Face(f.Top).Level, body.Face(f.Bottom).Level);
  EXPECT_GT(body.Face(f.Left).Level, body.Face(f.Right).Level);
  EXPECT_GT(body.Face(f.HoleBottom).Level, body.Face(f.HoleTop).Level);
  EXPECT_GT(body.Face(f.HoleRight).Level, body.Face(f.HoleLeft).Level);
  // The back corners of the walls are the extreme screen points: the image holds them
  // with one spare row and column, which stay background.
  EXPECT_NE(p.image.Pixel(0, 0), p.background);
  EXPECT_EQ(p.image.Pixel(p.image.Width() - 1, p.image.Height() - 1), p.background);
}

// Colours met along the image column x between rows y1 and y2.
std::set<uint32_t> ColumnColours(const TBitmap& img, int x, int y1, int y2) {
  std::set<uint32_t> out;
  for (int y = y1; y <= y2; ++y) out.insert(img.Pixel(x, y));
  return out;
}

TEST(RenderPicture, FlatShadingGivesOneColourPerFaceSmoothAGradient) {
  for (int shadType : {0, 1}) {
    TPicture p;
    TBody& body = p.scene.View.Body(p.scene.View.AddBody());
    const test::TFrustumFaces f = test::AddFrustum(body, 0, 0, 150, 90, 60);
    p.Draw(false, shadType);
    // Down the middle of the top wall, from its back edge to its front edge.
    const TFace& top = body.Face(f.Top);
    const int back = body.Screen(top.V2).SY, front = body.Screen(top.V1).SY;
    ASSERT_GT(front - back, 6);
    const std::set<uint32_t> colours = ColumnColours(p.image, p.fit.Params.CenterX, back + 1, front - 1);
    if (shadType == 0) {
      EXPECT_EQ(colours, std::set<uint32_t>{p.scene.TextPalette[top.Level]});
    } else {
      EXPECT_GE(colours.size(), 3u);
      test::SavePicture("render-frustum-smooth.png", p.image);
    }
  }
}

TEST(RenderPicture, DropShadowHalvesTheBackgroundBesideTheBodyOnly) {
  TPicture plain, shadowed;
  for (TPicture* p : {&plain, &shadowed}) test::AddFrustum(p->scene.View.Body(p->scene.View.AddBody()), 0, 0, 150, 90, 40, 100);
  // Both fitted with the room for the shadow, so the pictures line up.
  const int dx = shadowed.scene.TxtShadowX, dy = shadowed.scene.TxtShadowY;
  ASSERT_GT(dx, 0);  // the default light throws the shadow right and down
  ASSERT_GT(dy, 0);
  shadowed.Draw(true);
  // The plain picture gets the same room for the shadow but no shadow.
  const TCamera cam = plain.scene.CameraBlock();
  plain.fit = test::FitImage(plain.scene.View, plain.scene.RenderBlock(), cam, dx, dy);
  plain.background = shadowed.background;
  plain.image.SetSize(plain.fit.Width, plain.fit.Height);
  plain.image.Fill(plain.background);
  plain.mask.SetSize(plain.fit.Width, plain.fit.Height);
  test::DrawPass(plain.scene.View, plain.fit.Params, cam, plain.image, plain.scene.TextPalette, false, 0, 0,
                 &plain.mask);
  test::SavePicture("render-frustum-hole-shadow.png", shadowed.image);
  ASSERT_EQ(plain.image.Width(), shadowed.image.Width());
  ASSERT_EQ(plain.image.Height(), shadowed.image.Height());
  const uint32_t halved = RGBToPixel(PixelRed(plain.background) / 2, PixelGreen(plain.background) / 2,
                                     PixelBlue(plain.background) / 2);
  int shadowPixels = 0;
  for (int y = 0; y < plain.image.Height(); ++y)
    for (int x = 0; x < plain.image.Width(); ++x) {
      const bool body = plain.mask.Pixel(x, y) == MaskWhite;
      const bool underShadow = x >= dx && y >= dy && plain.mask.Pixel(x - dx, y - dy) == MaskWhite;
      if (body) {
        ASSERT_EQ(shadowed.image.Pixel(x, y), plain.image.Pixel(x, y)) << x << "," << y;  // never self-darkened
      } else if (underShadow) {
        ASSERT_EQ(shadowed.image.Pixel(x, y), halved) << x << "," << y;
        ++shadowPixels;
      } else {
        ASSERT_EQ(shadowed.image.Pixel(x, y), plain.background) << x << "," << y;
      }
    }
  EXPECT_GT(shadowPixels, 500);
  // The mask covers body and shadow.
  EXPECT_EQ(shadowed.mask.Pixel(shadowed.image.Width() - 2, shadowed.image.Height() - 2),
            plain.mask.Pixel(shadowed.image.Width() - 2 - dx, shadowed.image.Height() - 2 - dy));
}

// Draws one body holding `faces` (each a function adding faces) plus a last, unused
// cap face, and returns the picture.
TBitmap DrawFaces(const std::function<void(TBody&)>& add, int width, int height, TRenderParams params) {
  TView3D view;
  TBody& body = view.Body(view.AddBody());
  add(body);
  body.AddFace(V(0, 0, 0), V(0, 0, 0), V(0, 0, 0), V(0, 0, 0));  // cap face, never drawn as a polygon
  TCamera cam;
  cam.Render.Y = 1500;
  cam.ShadType = 0;
  TBitmap image(width, height);
  image.Fill(0x00FFFFFF);
  TPalette pal;
  for (int i = 0; i < 256; ++i) pal[i] = RGBToPixel(i, 0, 0);
  test::DrawPass(view, params, cam, image, pal, false, 0, 0);
  return image;
}

TEST(RenderPicture, TheNearerFaceWinsAndBackFacesAreNotDrawn) {
  TRenderParams params;
  params.CenterX = 50;
  params.CenterY = 50;
  params.Light = {0.3f, 0.5f, -0.8f, 1.0f, 0xFFFFFF};
  auto front = [](int y) { return [y](TBody& b) { test::AddFrontQuad(b, -60, -60, 60, 60, y); }; };
  // Tilted: its top edge at depth 0, its bottom edge 150 further away.
  auto tilted = [](TBody& b) { b.AddFace(V(-150, 0, 150), V(-150, 150, -150), V(150, 150, -150), V(150, 0, 150)); };
  const uint32_t frontAlone = DrawFaces(front(-200), 100, 100, params).Pixel(50, 50);
  const uint32_t tiltedAlone = DrawFaces(tilted, 100, 100, params).Pixel(50, 50);
  ASSERT_NE(frontAlone, 0x00FFFFFFu);
  ASSERT_NE(tiltedAlone, 0x00FFFFFFu);
  ASSERT_NE(frontAlone, tiltedAlone);
  // In front of the tilted face, and behind it; whatever order they were added in.
  auto both = [&](int y, bool frontFirst) {
    return DrawFaces(
        [&](TBody& b) {
          if (frontFirst) front(y)(b);
          tilted(b);
          if (!frontFirst) front(y)(b);
        },
        100, 100, params);
  };
  EXPECT_EQ(both(-200, true).Pixel(50, 50), frontAlone);
  EXPECT_EQ(both(-200, false).Pixel(50, 50), frontAlone);
  EXPECT_EQ(both(400, true).Pixel(50, 50), tiltedAlone);
  EXPECT_EQ(both(400, false).Pixel(50, 50), tiltedAlone);

  // The same square wound the other way round turns its back to the viewer.
  const TBitmap back = DrawFaces([](TBody& b) { b.AddFace(V(-60, 0, 60), V(60, 0, 60), V(60, 0, -60), V(-60, 0, -60)); },
                                 100, 100, params);
  TBitmap white(100, 100);
  white.Fill(0x00FFFFFF);
  EXPECT_EQ(back, white);
}

TEST(RenderPicture, TheCameraAnglesDoNotChangeThePicture) {
  TPicture a, b;
  for (TPicture* p : {&a, &b}) test::AddFrustum(p->scene.View.Body(p->scene.View.AddBody()), 40, -30, 120, 60, 30, 50);
  b.scene.Ax = 35;
  b.scene.Ay = -80;
  b.scene.Az = 12.5f;
  a.Draw(true);
  b.Draw(true);
  EXPECT_EQ(a.image, b.image);
}

TEST(RenderPicture, ATriangleGivenAsAQuadDrawsLikeTheTriangle) {
  TRenderParams params;
  params.CenterX = 50;
  params.CenterY = 50;
  params.Light = {0.0f, 0.6f, -0.8f, 1.0f, 0xFFFFFF};
  // The triangle (-100, 100), (-100, -100), (100, -100) with its second or its third
  // point repeated (V1, V2 and V4 decide the facing, so those stay distinct).
  const TVertex p0 = V(-100, 0, 100), p1 = V(-100, 0, -100), p2 = V(100, 0, -100);
  const TBitmap a = DrawFaces([&](TBody& b) { b.AddFace(p0, p1, p2, p2); }, 100, 100, params);
  const TBitmap b = DrawFaces([&](TBody& b) { b.AddFace(p0, p1, p1, p2); }, 100, 100, params);
  EXPECT_EQ(a, b);
  // The picture is the triangle: below the diagonal from top left to bottom right.
  for (int y = 25; y <= 75; y += 5)
    for (int x = 25; x <= 75; x += 5) {
      if (x == y) continue;
      EXPECT_EQ(a.Pixel(x, y) != 0x00FFFFFFu, x < y) << x << "," << y;
    }
  EXPECT_NE(a.Pixel(30, 60), 0x00FFFFFFu);  // inside the lower-left triangle
  EXPECT_EQ(a.Pixel(70, 30), 0x00FFFFFFu);  // outside it
}

}  // namespace
}  // namespace qz
