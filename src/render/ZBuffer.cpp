#include "render/ZBuffer.h"

#include <algorithm>
#include <bit>
#include <climits>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "base/Numeric.h"
#include "image/PixelRuns.h"

namespace qz {

void TZBuffer::SetSize(int32_t rows, int32_t width) {
  if (rows < 1 || width < 1) return;
  rows = std::min(rows, MaxSide);
  width = std::min(width, MaxSide);
  maxX_ = width - 1;
  if (rows != RowCount()) {
    // Entries are left uninitialised: a row is read only up to its count, and the
    // pages of rows a picture never reaches are never touched.
    entries_.reset(new TSpanEntry[static_cast<size_t>(rows) * MaxEntries]);
    lefts_.reset(new int16_t[static_cast<size_t>(rows) * MaxEntries]);
    rights_.reset(new int16_t[static_cast<size_t>(rows) * MaxEntries]);
    counts_.assign(rows, 0);
    edgeTable_.assign(rows, TEdgeRecord{});
    faceMark_ = 0;
    capFiller_.Reset(rows);
    lastRow_ = rows - 1;
  }
  Clear();
}

void TZBuffer::Clear() {
  std::fill(counts_.begin(), counts_.end(), 0);
  Textured = false;
}

void TZBuffer::SetTexture(const TBitmap& bitmap) {
  Textured = true;
  Texture = &bitmap;
}

uint32_t TZBuffer::NextFaceMark() {
  if (++faceMark_ == 0) {
    // After four billion faces the marks start over: forget every old one.
    for (TEdgeRecord& r : edgeTable_) r.LeftMark = r.RightMark = 0;
    faceMark_ = 1;
  }
  return faceMark_;
}

void TZBuffer::InsertSpan(int32_t row, int32_t x1, int32_t x2, int32_t a, int32_t b, float depth) {
  if (row > lastRow_ || row < 0 || x2 < x1) return;
  if (counts_[row] >= MaxEntries || x2 < 0 || x1 > maxX_) return;
  // Clipping keeps A and B: a span cut at the border is drawn with its whole
  // gradient compressed into what remains, like any trimmed span.
  x2 = std::min(x2, maxX_);
  x1 = std::max(x1, 0);
  // Levels index a 256-entry palette when drawn.
  a = Clamp(a, MinLevel, MaxLevel);
  b = Clamp(b, MinLevel, MaxLevel);

  TSpanEntry* entries = RowEntries(row);
  // Entries appended while this loop runs (left remainders, the right part of a
  // split) are not visited by it. The search reads the extents afresh after every
  // entry met, since meeting one may change later ones.
  const int32_t count = counts_[row];
  for (int32_t k = NextMeeting(row, 0, count, x1, x2); k < count; k = NextMeeting(row, k + 1, count, x1, x2)) {
    TSpanEntry& E = entries[k];
    if (!E.Live || E.X2 < x1 || E.X1 > x2) continue;
    if (depth < E.Depth) {
      // The new span is nearer: cut it out of E.
      if (E.X2 > x2) {
        if (E.X1 < x1) AppendSpan(row, E.X1, x1 - 1, E.A, E.B, E.Depth);  // E's left part
        E.X1 = static_cast<int16_t>(x2 + 1);
      } else if (E.X1 < x1) {
        E.X2 = static_cast<int16_t>(x1 - 1);
      } else {
        E.Live = 0;
      }
      if (E.X1 > E.X2) E.Live = 0;
      Track(row, k);
    } else if (E.X2 < x2) {
      // E is nearer or as near (the earlier span wins a tie) and ends inside the new span.
      if (E.X1 <= x1) {
        x1 = E.X2 + 1;
      } else {
        // E lies inside the new span: the part right of E goes in on its own, the loop
        // goes on with the part left of E.
        InsertSpan(row, E.X2 + 1, x2, a, b, depth);
        x2 = E.X1 - 1;
      }
    } else {
      if (E.X1 <= x1) return;  // wholly hidden
      x2 = E.X1 - 1;
    }
  }
  AppendSpan(row, x1, x2, a, b, depth);
}

void TZBuffer::AppendSpan(int32_t row, int32_t x1, int32_t x2, int32_t a, int32_t b, float depth) {
  int32_t& count = counts_[row];
  if (x2 < x1 || count >= MaxEntries) return;
  RowEntries(row)[count] = {static_cast<int16_t>(x1), static_cast<int16_t>(x2), static_cast<uint16_t>(a),
                          static_cast<uint16_t>(b), depth, 1};
  Track(row, count++);
}

void TZBuffer::Track(int32_t row, int32_t k) {
  const size_t at = static_cast<size_t>(row) * MaxEntries + k;
  const TSpanEntry& E = entries_[at];
  lefts_[at] = E.Live ? E.X1 : INT16_MAX;
  rights_[at] = E.Live ? E.X2 : INT16_MIN;
}

int32_t TZBuffer::NextMeeting(int32_t row, int32_t k, int32_t end, int32_t x1, int32_t x2) const {
  const int16_t* lefts = lefts_.get() + static_cast<size_t>(row) * MaxEntries;
  const int16_t* rights = rights_.get() + static_cast<size_t>(row) * MaxEntries;
#if defined(__SSE2__)
  // Eight entries at a time: those with right >= X1 and left <= X2. Both bounds lie
  // in 0..MaxSide here, so the 16-bit comparisons are exact.
  const __m128i low = _mm_set1_epi16(static_cast<int16_t>(x1 - 1));
  const __m128i high = _mm_set1_epi16(static_cast<int16_t>(x2 + 1));
  for (; k + 8 <= end; k += 8) {
    __m128i l, r;
    std::memcpy(&l, lefts + k, sizeof l);
    std::memcpy(&r, rights + k, sizeof r);
    const int hits = _mm_movemask_epi8(_mm_and_si128(_mm_cmpgt_epi16(r, low), _mm_cmplt_epi16(l, high)));
    if (hits != 0) return k + std::countr_zero(static_cast<unsigned>(hits)) / 2;
  }
#endif
  for (; k < end; ++k)
    if (rights[k] >= x1 && lefts[k] <= x2) return k;
  return end;
}

void TZBuffer::Flush(TBitmap& bitmap, const TPalette& palette, bool maskMode, int32_t firstRow, int32_t endRow,
                     int lane) {
  if (bitmap.Width() <= maxX_ || bitmap.Height() <= lastRow_) return;
  for (int32_t r = std::max(firstRow, 0), end = std::min(endRow, RowCount()); r < end; ++r) {
    const TSpanEntry* row = RowEntries(r);
    for (int32_t k = 0; k < counts_[r]; ++k) {
      const TSpanEntry& e = row[k];
      if (!e.Live) continue;
      if (maskMode)
        FillSpan(e.X1, e.X2, bitmap.ScanLine(r), MaskWhite);
      else
        DrawSpan(r, e.X1, e.X2, e.A, e.B, palette, bitmap, lane);
    }
  }
}

void TZBuffer::DrawSpan(int32_t row, int32_t x1, int32_t x2, int32_t a, int32_t b, const TPalette& palette,
                        TBitmap& bitmap, int lane) {
  uint32_t* pixels = bitmap.ScanLine(row);
  if (!Textured) {
    if (a == b)
      FillSpan(x1, x2, pixels, palette[a]);
    else
      GradientSpan(x1, x2, pixels, palette, a, b);
  } else if (Texture && Texture->Width() > 0 && Texture->Height() > 0) {
    TexturedSpan(row, x1, x2, a, b, bitmap, lane);
  } else {
    GradientSpan(x1, x2, pixels, palette, a, b);
  }
}

void TZBuffer::FillSpan(int32_t x1, int32_t x2, uint32_t* pixels, uint32_t color) {
  FillPixels(pixels + x1, static_cast<size_t>(x2 - x1 + 1), color);
}

void TZBuffer::GradientSpan(int32_t x1, int32_t x2, uint32_t* pixels, const TPalette& palette, int32_t a,
                            int32_t b) {
  if (x1 == x2) {
    pixels[x1] = palette[a];
    return;
  }
  // The step is truncated toward zero, so the level never passes B (a long span may
  // stop a level short of it).
  int32_t acc = a * 1024;
  const int32_t step = DivTrunc(static_cast<int64_t>(b - a) * 1024, x2 - x1);
  for (int32_t x = x1; x <= x2; ++x) {
    pixels[x] = palette[acc / 1024];
    acc += step;
  }
}

}  // namespace qz
