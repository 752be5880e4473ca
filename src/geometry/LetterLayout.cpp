#include "geometry/LetterLayout.h"

#include "geometry/ContourOffset.h"
#include "platform/Numeric.h"

namespace qz {

void NormalizeCoordinates(TScene& scene) {
  const int64_t W = int64_t{scene.TextMaxX} - scene.TextMinX + 1;
  const int64_t H = int64_t{scene.TextMaxY} - scene.TextMinY + 1;
  const int64_t halfW = W / 2, halfH = H / 2;  // both truncate toward zero
  for (int i = 1; i <= scene.LetterCount; ++i) {
    TLetter& letter = scene.Letter(i);
    for (int c = 1; c <= letter.ContourCount; ++c) {
      for (TPoint& p : letter.Contour(c).Points) {
        p.x = Saturate32(p.x - int64_t{scene.TextMinX} - halfW);
        p.y = Saturate32(halfH - (int64_t{scene.TextMaxY} - p.y + 1));
      }
    }
    letter.UpdateBounds();
  }
}

int32_t LetterFaceDepth(const TScene& scene) { return Saturate32(-(int64_t{scene.ButY} + scene.TxtY)); }

int32_t LetterPlaneDepth(const TScene& scene) { return LetterFaceDepth(scene); }

namespace {

TVertex At(TPoint p, int32_t depth) { return TVertex{p.x, depth, p.y}; }

// The walls of one contour: for every distinct position A with its successor C, the
// bevel from the face edge A-C out to the offset edge at the bevel's foot, and the
// pedestal from there straight back to the button face.
void AddLetterWalls(TBody& body, const TLetter& letter, int c, const TScene& scene) {
  const int32_t Yf = LetterFaceDepth(scene);
  const int32_t foot = Saturate32(int64_t{Yf} + scene.TxtW);
  const int32_t buttonFace = Saturate32(-int64_t{scene.ButY});
  const bool pedestal = scene.TxtY > PedestalMinTxtY;
  const int n = letter.Contour(c).PtCount;
  for (int j = 1; j <= n - 1; ++j) {
    const TPoint A = ContourPoint(letter, c, j);
    int k = j;
    const TPoint B = PrevDistinct(letter, c, k);
    k = j;
    const TPoint C = NextDistinct(letter, c, k);
    const TPoint D = NextDistinct(letter, c, k);
    const TPoint R1 = OffsetVertex(B, A, C, scene.TxtW);
    const TPoint R2 = OffsetVertex(A, C, D, scene.TxtW);
    body.AddFace(At(A, Yf), At(C, Yf), At(R2, foot), At(R1, foot));
    if (pedestal) body.AddFace(At(R1, foot), At(R2, foot), At(R2, buttonFace), At(R1, buttonFace));
  }
}

}  // namespace

void TransformLetters(TScene& scene) {
  TView3D& view = scene.View;
  view.ClearBodies();
  const int32_t faceHeight = Saturate32(int64_t{scene.ButY} + scene.TxtY);  // AddContour stores -height
  for (int i = 1; i <= scene.LetterCount; ++i) {
    const int32_t b = view.AddBody();
    if (b == 0) return;
    TBody& body = view.Body(b);
    const TLetter& letter = scene.Letter(i);
    for (int c = 1; c <= letter.ContourCount; ++c) {
      const TLetter::TContour& contour = letter.Contour(c);
      body.AddContour(contour.Points.data(), contour.PtCount, faceHeight);
      if (HasDistinctPoints(letter, c)) AddLetterWalls(body, letter, c, scene);
    }
    AddLetterPlane(scene, i, b);
  }
}

void AddLetterPlane(TScene& scene, int letter, int32_t body) {
  const TLetter& l = scene.Letter(letter);
  const int32_t Yp = LetterPlaneDepth(scene);
  scene.View.Body(body).AddFace(TVertex{l.Left, Yp, l.Top}, TVertex{l.Left, Yp, l.Bottom},
                                TVertex{l.Right, Yp, l.Bottom}, TVertex{l.Right, Yp, l.Top});
}

}  // namespace qz
