#include <gtest/gtest.h>

#include "geometry/GlyphOutline.h"
#include "geometry/LetterLayout.h"

namespace qz {
namespace {

// Adds a letter with one contour through the given points (closed), as glyph reading
// does, so the message box follows.
void AddGlyph(TScene& scene, const std::vector<TPoint>& pts) {
  scene.AddLetter();
  scene.PtCount = 0;
  for (const TPoint& p : pts) AddIntPoint(scene, p.x, p.y);
  AddIntPoint(scene, pts[0].x, pts[0].y);
  scene.Letter(scene.LetterCount).AddContour(&scene.Pts[1], scene.PtCount);
}

TEST(LetterLayout, NormalisationCentresTheMessageBox) {
  TScene scene;
  scene.ClearLetters();
  AddGlyph(scene, {{100, -20}, {140, 79}, {150, 0}});
  scene.AddLetter();  // a blank between the two
  AddGlyph(scene, {{160, 10}, {199, 30}, {180, -5}});
  NormalizeCoordinates(scene);

  // x 100..199 -> -50..49, y -20..79 -> -50..49.
  EXPECT_EQ(scene.Letter(1).Left, -50);
  EXPECT_EQ(scene.Letter(1).Bottom, -50);
  EXPECT_EQ(scene.Letter(1).Top, 49);
  EXPECT_EQ(scene.Letter(1).Contour(1).Points[2], (TPoint{0, -30}));  // (150, 0)
  EXPECT_EQ(scene.Letter(3).Right, 49);
  EXPECT_EQ(scene.Letter(3).Contour(1).Points[0], (TPoint{10, -20}));  // (160, 10)
  // The blank keeps the box of its creation; the message box keeps its values.
  EXPECT_EQ(scene.Letter(2).Left, 0);
  EXPECT_EQ(scene.Letter(2).Top, 0);
  EXPECT_EQ(scene.TextMinX, 100);
  EXPECT_EQ(scene.TextMaxY, 79);
}

TEST(LetterLayout, OddAndSinglePixelBoxes) {
  TScene scene;
  scene.ClearLetters();
  // W = 1: halfW = 0, x <- x - TextMinX. H = 3: halfH = 1, y in [-2, 0].
  AddGlyph(scene, {{7, 4}, {7, 6}});
  NormalizeCoordinates(scene);
  EXPECT_EQ(scene.Letter(1).Left, 0);
  EXPECT_EQ(scene.Letter(1).Right, 0);
  EXPECT_EQ(scene.Letter(1).Bottom, -2);
  EXPECT_EQ(scene.Letter(1).Top, 0);
}

}  // namespace
}  // namespace qz
