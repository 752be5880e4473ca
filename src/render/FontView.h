// TFontView: the even-odd scanline filler of the flat caps (glyph and button
// outlines with their holes). Every contour edge leaves one crossing per image row it
// passes; each row's crossings, kept sorted by column, pair up into spans (the 1st
// with the 2nd, the 3rd with the 4th, ...). The caps are never triangulated: these
// spans go through the z-buffer's depth test like any face span.
//
//   view.Reset(rows);
//   view.AddEdge(p, q); ...   // consecutive contour points
//   view.MakeSpans();
//   for each row r, k = 1..SpanCount(r): use Span(r, k)
//
// Capacities are fixed and refuse silently: 32 crossings and 16 spans per row.
#pragma once

#include <cstdint>
#include <vector>

#include "render/ScreenPoint.h"

namespace qz {

class TFontView {
 public:
  static constexpr int32_t MaxSpans = 16;
  static constexpr int32_t MaxCrossings = 32;
  static constexpr uint8_t DirDown = 0;  // the edge runs down the screen
  static constexpr uint8_t DirUp = 1;    // the edge runs up the screen

  struct TCrossing {
    int32_t X = 0;
    uint8_t Dir = DirDown;
  };
  struct TSpan {
    int32_t X1 = 0;
    int32_t X2 = 0;
  };

  explicit TFontView(int32_t rowCount = 0) { Reset(rowCount); }

  // Empties every row and sets the number of rows; storage is kept when it is large
  // enough, so the filler of a z-buffer is allocated once per image height.
  void Reset(int32_t rowCount);

  int32_t RowCount() const { return rowCount_; }

  // One contour edge P -> Q: a crossing on every row from P's to Q's.
  void AddEdge(TScreenPoint p, TScreenPoint q);
  // Adds a crossing to row y, keeping the row sorted; among equal columns it goes
  // before the others when `before` is set, after them otherwise.
  void AddCrossing(int32_t x, int32_t y, bool before, uint8_t dir);
  // Pairs the crossings of every row with an even count into spans.
  void MakeSpans();
  // Appends the span X1..X2 to a row unless it is full or X1 >= X2.
  void AddSpan(int32_t row, int32_t x1, int32_t x2);

  int32_t CrossCount(int32_t row) const { return rows_[row].CrossCount; }
  int32_t SpanCount(int32_t row) const { return rows_[row].SpanCount; }
  // Span k of a row, 1-based.
  const TSpan& Span(int32_t row, int32_t k) const { return rows_[row].Spans[k - 1]; }

 private:
  struct TRow {
    int32_t SpanCount = 0;
    int32_t CrossCount = 0;
    TSpan Spans[MaxSpans];
    TCrossing Crossings[MaxCrossings];
  };

  int32_t rowCount_ = 0;
  std::vector<TRow> rows_;
};

}  // namespace qz
