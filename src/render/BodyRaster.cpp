// Scan conversion of a body into the z-buffer: faces through the edge table, caps
// through the even-odd filler.

#include <algorithm>

#include "base/Numeric.h"
#include "render/Body.h"

namespace qz {

void TBody::DrawFace(int32_t f) {
  const TFace& face = faces_[f];
  faceMark_ = zbuffer_->NextFaceMark();
  edgeMax_ = 0;
  edgeMin_ = minY_ + rows_;
  const int32_t v[5] = {face.V1, face.V2, face.V3, face.V4, face.V1};
  for (int e = 0; e < 4; ++e) {
    const TVertex& p = vertices_[v[e]];
    const TVertex& q = vertices_[v[e + 1]];
    ScanEdge(screen_[v[e]], screen_[v[e + 1]], p.Level, q.Level, p.Dist2, q.Dist2);
  }

  const bool smooth = Camera.ShadType != 0;
  const int32_t first = std::max(edgeMin_, 0);
  const int32_t last = std::min(edgeMax_, zbuffer_->LastRow());
  for (int32_t y = first; y <= last; ++y) {
    const TEdgeRecord& r = edgeTable_[y];
    // A row that did not get both a left and a right end from this face (possible
    // only for a face that is not convex) is left out rather than drawn from stale
    // or zero ends.
    if (r.LeftMark != faceMark_ || r.RightMark != faceMark_) continue;
    const float depth = r.LeftDepth + r.RightDepth;
    if (smooth)
      zbuffer_->InsertSpan(y, r.LeftX, r.RightX, r.LeftLevel, r.RightLevel, depth);
    else
      zbuffer_->InsertSpan(y, r.LeftX, r.RightX, face.Level, face.Level, depth);
  }
}

void TBody::ScanEdge(TScreenPoint p, TScreenPoint q, int32_t lp, int32_t lq, float dp, float dq) {
  if (p.SY == q.SY) return;  // horizontal edges bound no row
  const float dx = static_cast<float>(q.SX - p.SX);
  const float dy = static_cast<float>(q.SY - p.SY);
  const float dl = static_cast<float>(lq - lp);
  const float dd = dq - dp;
  const bool down = p.SY < q.SY;  // runs down the screen: the face's left side
  // Only rows the z-buffer holds are recorded; the others could not be drawn anyway.
  const int32_t top = std::max(std::min(p.SY, q.SY), 0);
  const int32_t bottom = std::min(std::max(p.SY, q.SY), zbuffer_->LastRow());
  for (int32_t y = top; y <= bottom; ++y) {
    const double t = static_cast<double>(y) - p.SY;
    const int32_t x = RoundHalfEven(t * dx / dy + p.SX);
    const int32_t level = RoundHalfEven(t * dl / dy + lp);
    const float depth = ToFloat32(t * dd / dy + dp);
    TEdgeRecord& r = edgeTable_[y];
    if (down) {
      r.LeftX = x;
      r.LeftLevel = level;
      r.LeftDepth = depth;
      r.LeftMark = faceMark_;
    } else {
      r.RightX = x;
      r.RightLevel = level;
      r.RightDepth = depth;
      r.RightMark = faceMark_;
    }
  }
  if (down)
    edgeMax_ = std::max(edgeMax_, q.SY);
  else
    edgeMin_ = std::min(edgeMin_, q.SY);
}

void TBody::FillCaps(bool isButton) {
  if (contourCount_ == 0) return;
  TFontView& filler = zbuffer_->CapFiller();
  filler.Reset(zbuffer_->RowCount());
  for (int32_t c = 1; c <= contourCount_; ++c) {
    const TCapContour& contour = contours_[c];
    // No edge back from the last point to the first: an outline is closed by
    // repeating its first point. Edges at a refused point (index 0) are left out.
    for (int32_t j = 1; j < contour.Length; ++j) {
      const int32_t a = contour.Index[j], b = contour.Index[j + 1];
      if (a == 0 || b == 0) continue;
      filler.AddEdge(screen_[a], screen_[b]);
    }
  }
  filler.MakeSpans();

  const TFace& cap = faces_[FaceCount()];
  const int32_t level = cap.Level;
  // A cap is one vertex's squared distance against face spans that add two, so it
  // wins against a letter's own bevel. The button's cap is pushed far back instead: it
  // lies behind the button's walls, which must cover it where they overlap.
  float depth = vertices_[cap.V1].Dist2;
  if (isButton) depth *= 100.0f;
  for (int32_t r = 0; r < filler.RowCount(); ++r)
    for (int32_t k = 1; k <= filler.SpanCount(r); ++k)
      zbuffer_->InsertSpan(r, filler.Span(r, k).X1, filler.Span(r, k).X2, level, level, depth);
}

}  // namespace qz
