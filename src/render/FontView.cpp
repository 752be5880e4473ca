#include "render/FontView.h"

#include <algorithm>
#include <utility>

#include "base/Numeric.h"

namespace qz {

void TFontView::Reset(int32_t rowCount) {
  rowCount_ = std::max(rowCount, 0);
  if (static_cast<size_t>(rowCount_) > rows_.size()) rows_.resize(rowCount_);
  for (int32_t r = 0; r < rowCount_; ++r) rows_[r].SpanCount = rows_[r].CrossCount = 0;
}

void TFontView::AddEdge(TScreenPoint p, TScreenPoint q) {
  if (p.SY != q.SY) {
    const double dx = static_cast<double>(q.SX) - p.SX;
    const double dy = static_cast<double>(q.SY) - p.SY;
    const bool before = dx <= 0;
    auto crossingAt = [&](int32_t y) {
      return RoundHalfEven((static_cast<double>(y) - p.SY) * dx / dy + p.SX);
    };
    // Rows outside the view take no crossing, so the walk starts at the first row
    // inside it: an edge from far above the image costs nothing for the rows above.
    if (q.SY > p.SY) {
      for (int32_t y = std::max(p.SY, 0); y <= q.SY && y < rowCount_; ++y)
        AddCrossing(crossingAt(y), y, before, DirDown);
    } else {
      for (int32_t y = std::min(p.SY, rowCount_ - 1); y >= q.SY && y >= 0; --y)
        AddCrossing(crossingAt(y), y, before, DirUp);
    }
  } else if (p.SX != q.SX) {
    // A horizontal edge adds both its ends, so that a row along the top or bottom of
    // an outline still pairs up.
    if (q.SX <= p.SX) {
      AddCrossing(q.SX, q.SY, false, DirUp);
      AddCrossing(p.SX, p.SY, false, DirDown);
    } else {
      AddCrossing(p.SX, p.SY, true, DirUp);
      AddCrossing(q.SX, q.SY, true, DirDown);
    }
  }
}

void TFontView::AddCrossing(int32_t x, int32_t y, bool before, uint8_t dir) {
  if (y < 0 || y >= rowCount_) return;
  TRow& row = rows_[y];
  if (row.CrossCount >= MaxCrossings) return;
  TCrossing* c = row.Crossings;  // c[k - 1] is crossing k
  // A vertex shared by two edges running the same way is one crossing; at a top or
  // bottom vertex the two edges run opposite ways and both crossings stay.
  for (int32_t k = 0; k < row.CrossCount; ++k)
    if (c[k].X == x && c[k].Dir == dir) return;
  c[row.CrossCount++] = {x, dir};
  for (int32_t k = row.CrossCount - 1; k >= 1; --k) {
    if (c[k].X < c[k - 1].X) std::swap(c[k - 1], c[k]);
    if (c[k].X == c[k - 1].X && before) std::swap(c[k - 1], c[k]);
  }
}

void TFontView::MakeSpans() {
  for (int32_t r = 0; r < rowCount_; ++r) {
    const TRow& row = rows_[r];
    if (row.CrossCount % 2 != 0) continue;  // an odd count cannot pair up: no span
    for (int32_t k = 0; k + 1 < row.CrossCount; k += 2)
      AddSpan(r, row.Crossings[k].X, row.Crossings[k + 1].X);
  }
}

void TFontView::AddSpan(int32_t row, int32_t x1, int32_t x2) {
  if (row < 0 || row >= rowCount_) return;
  TRow& r = rows_[row];
  if (r.SpanCount >= MaxSpans || x1 >= x2) return;
  r.Spans[r.SpanCount++] = {x1, x2};
}

}  // namespace qz
