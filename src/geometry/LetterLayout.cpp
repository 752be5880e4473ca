#include "geometry/LetterLayout.h"

#include "geometry/ContourOffset.h"
#include "base/Numeric.h"
#include "base/SideBySide.h"

namespace qz {

void NormalizeCoordinates(TLetters& letters) {
  const int64_t W = int64_t{letters.TextMaxX} - letters.TextMinX + 1;
  const int64_t H = int64_t{letters.TextMaxY} - letters.TextMinY + 1;
  const int64_t halfW = W / 2, halfH = H / 2;  // both truncate toward zero
  for (int i = 1; i <= letters.Count(); ++i) {
    TLetter& letter = letters[i];
    for (int c = 1; c <= letter.ContourCount; ++c) {
      for (TPoint& p : letter.Contour(c).Points) {
        p.x = Saturate32(p.x - int64_t{letters.TextMinX} - halfW);
        p.y = Saturate32(halfH - (int64_t{letters.TextMaxY} - p.y + 1));
      }
    }
    letter.UpdateBounds();
  }
}

int32_t LetterFaceDepth(const TParams& params) { return Saturate32(-(int64_t{params.ButY} + params.TxtY)); }

int32_t LetterPlaneDepth(const TParams& params) { return LetterFaceDepth(params); }

namespace {

TVertex At(TPoint p, int32_t depth) { return TVertex{p.x, depth, p.y}; }

// The walls of one contour: for every distinct position A with its successor C, the
// bevel from the face edge A-C out to the offset edge at the bevel's foot, and the
// pedestal from there straight back to the button face.
void AddLetterWalls(TBody& body, const TLetter& letter, int c, const TParams& params) {
  const int32_t Yf = LetterFaceDepth(params);
  const int32_t foot = Saturate32(int64_t{Yf} + params.TxtW);
  const int32_t buttonFace = Saturate32(-int64_t{params.ButY});
  const bool pedestal = params.TxtY > PedestalMinTxtY;
  const int n = letter.Contour(c).PtCount;
  for (int j = 1; j <= n - 1; ++j) {
    const TContourEdge e = EdgeAt(letter, c, j);
    const TContourEdge r = e.Offset(params.TxtW);
    body.AddFace(At(e.A, Yf), At(e.C, Yf), At(r.C, foot), At(r.A, foot));
    if (pedestal) body.AddFace(At(r.A, foot), At(r.C, foot), At(r.C, buttonFace), At(r.A, buttonFace));
  }
}

}  // namespace

void TransformLetters(const TLetters& letters, const TParams& params, TView3D& view) {
  view.ClearBodies();
  const int32_t faceHeight = Saturate32(int64_t{params.ButY} + params.TxtY);  // AddContour stores -height
  // Body b is letter b's, and each is made from its letter alone: the two halves of a
  // long message are made side by side.
  int count = 0;
  while (count < letters.Count() && view.AddBody() != 0) ++count;
  const auto make = [&](int first, int last) {
    for (int i = first; i <= last; ++i) {
      TBody& body = view.Body(i);
      const TLetter& letter = letters[i];
      for (int c = 1; c <= letter.ContourCount; ++c) {
        const TLetter::TContour& contour = letter.Contour(c);
        body.AddContour(contour.Points.data(), contour.PtCount, faceHeight);
        if (HasDistinctPoints(letter, c)) AddLetterWalls(body, letter, c, params);
      }
      AddLetterPlane(letter, params, body);
    }
  };
  constexpr int SideBySideLetters = 8;
  const int half = count / 2;
  SideBySide(count >= SideBySideLetters, [&] { make(1, half); }, [&] { make(half + 1, count); });
}

void AddLetterPlane(const TLetter& l, const TParams& params, TBody& body) {
  const int32_t Yp = LetterPlaneDepth(params);
  body.AddFace(TVertex{l.Left, Yp, l.Top}, TVertex{l.Left, Yp, l.Bottom}, TVertex{l.Right, Yp, l.Bottom},
               TVertex{l.Right, Yp, l.Top});
}

}  // namespace qz
