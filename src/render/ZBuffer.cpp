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

void TZBuffer::SetSize(int32_t Rows, int32_t Width) {
  if (Rows < 1 || Width < 1) return;
  Rows = std::min(Rows, MaxSide);
  Width = std::min(Width, MaxSide);
  maxX_ = Width - 1;
  if (Rows != RowCount()) {
    // Entries are left uninitialised: a row is read only up to its count, and the
    // pages of rows a picture never reaches are never touched.
    entries_.reset(new TSpanEntry[static_cast<size_t>(Rows) * MaxEntries]);
    lefts_.reset(new int16_t[static_cast<size_t>(Rows) * MaxEntries]);
    rights_.reset(new int16_t[static_cast<size_t>(Rows) * MaxEntries]);
    counts_.assign(Rows, 0);
    edgeTable_.assign(Rows, TEdgeRecord{});
    faceMark_ = 0;
    capFiller_.Reset(Rows);
    lastRow_ = Rows - 1;
  }
  Clear();
}

void TZBuffer::Clear() {
  std::fill(counts_.begin(), counts_.end(), 0);
  Textured = false;
}

void TZBuffer::SetTexture(const TBitmap& Bitmap) {
  Textured = true;
  Texture = &Bitmap;
}

uint32_t TZBuffer::NextFaceMark() {
  if (++faceMark_ == 0) {
    // After four billion faces the marks start over: forget every old one.
    for (TEdgeRecord& r : edgeTable_) r.LeftMark = r.RightMark = 0;
    faceMark_ = 1;
  }
  return faceMark_;
}

void TZBuffer::InsertSpan(int32_t Row, int32_t X1, int32_t X2, int32_t A, int32_t B, float Depth) {
  if (Row > lastRow_ || Row < 0 || X2 < X1) return;
  if (counts_[Row] >= MaxEntries || X2 < 0 || X1 > maxX_) return;
  // Clipping keeps A and B: a span cut at the border is drawn with its whole
  // gradient compressed into what remains, like any trimmed span.
  X2 = std::min(X2, maxX_);
  X1 = std::max(X1, 0);
  // Levels index a 256-entry palette when drawn.
  A = Clamp(A, MinLevel, MaxLevel);
  B = Clamp(B, MinLevel, MaxLevel);

  TSpanEntry* row = RowEntries(Row);
  // Entries appended while this loop runs (left remainders, the right part of a
  // split) are not visited by it. The search reads the extents afresh after every
  // entry met, since meeting one may change later ones.
  const int32_t count = counts_[Row];
  for (int32_t k = NextMeeting(Row, 0, count, X1, X2); k < count; k = NextMeeting(Row, k + 1, count, X1, X2)) {
    TSpanEntry& E = row[k];
    if (!E.Live || E.X2 < X1 || E.X1 > X2) continue;
    if (Depth < E.Depth) {
      // The new span is nearer: cut it out of E.
      if (E.X2 > X2) {
        if (E.X1 < X1) AppendSpan(Row, E.X1, X1 - 1, E.A, E.B, E.Depth);  // E's left part
        E.X1 = static_cast<int16_t>(X2 + 1);
      } else if (E.X1 < X1) {
        E.X2 = static_cast<int16_t>(X1 - 1);
      } else {
        E.Live = 0;
      }
      if (E.X1 > E.X2) E.Live = 0;
      Track(Row, k);
    } else if (E.X2 < X2) {
      // E is nearer or as near (the earlier span wins a tie) and ends inside the new span.
      if (E.X1 <= X1) {
        X1 = E.X2 + 1;
      } else {
        // E lies inside the new span: the part right of E goes in on its own, the loop
        // goes on with the part left of E.
        InsertSpan(Row, E.X2 + 1, X2, A, B, Depth);
        X2 = E.X1 - 1;
      }
    } else {
      if (E.X1 <= X1) return;  // wholly hidden
      X2 = E.X1 - 1;
    }
  }
  AppendSpan(Row, X1, X2, A, B, Depth);
}

void TZBuffer::AppendSpan(int32_t Row, int32_t X1, int32_t X2, int32_t A, int32_t B, float Depth) {
  int32_t& count = counts_[Row];
  if (X2 < X1 || count >= MaxEntries) return;
  RowEntries(Row)[count] = {static_cast<int16_t>(X1), static_cast<int16_t>(X2), static_cast<uint16_t>(A),
                          static_cast<uint16_t>(B), Depth, 1};
  Track(Row, count++);
}

void TZBuffer::Track(int32_t Row, int32_t k) {
  const size_t at = static_cast<size_t>(Row) * MaxEntries + k;
  const TSpanEntry& E = entries_[at];
  lefts_[at] = E.Live ? E.X1 : INT16_MAX;
  rights_[at] = E.Live ? E.X2 : INT16_MIN;
}

int32_t TZBuffer::NextMeeting(int32_t Row, int32_t k, int32_t end, int32_t X1, int32_t X2) const {
  const int16_t* lefts = lefts_.get() + static_cast<size_t>(Row) * MaxEntries;
  const int16_t* rights = rights_.get() + static_cast<size_t>(Row) * MaxEntries;
#if defined(__SSE2__)
  // Eight entries at a time: those with right >= X1 and left <= X2. Both bounds lie
  // in 0..MaxSide here, so the 16-bit comparisons are exact.
  const __m128i low = _mm_set1_epi16(static_cast<int16_t>(X1 - 1));
  const __m128i high = _mm_set1_epi16(static_cast<int16_t>(X2 + 1));
  for (; k + 8 <= end; k += 8) {
    __m128i l, r;
    std::memcpy(&l, lefts + k, sizeof l);
    std::memcpy(&r, rights + k, sizeof r);
    const int hits = _mm_movemask_epi8(_mm_and_si128(_mm_cmpgt_epi16(r, low), _mm_cmplt_epi16(l, high)));
    if (hits != 0) return k + std::countr_zero(static_cast<unsigned>(hits)) / 2;
  }
#endif
  for (; k < end; ++k)
    if (rights[k] >= X1 && lefts[k] <= X2) return k;
  return end;
}

void TZBuffer::Flush(TBitmap& Bitmap, const TPalette& Palette, bool MaskMode, int32_t FirstRow, int32_t EndRow,
                     int Lane) {
  if (Bitmap.Width() <= maxX_ || Bitmap.Height() <= lastRow_) return;
  for (int32_t r = std::max(FirstRow, 0), end = std::min(EndRow, RowCount()); r < end; ++r) {
    const TSpanEntry* row = RowEntries(r);
    for (int32_t k = 0; k < counts_[r]; ++k) {
      const TSpanEntry& e = row[k];
      if (!e.Live) continue;
      if (MaskMode)
        FillSpan(e.X1, e.X2, Bitmap.ScanLine(r), MaskWhite);
      else
        DrawSpan(r, e.X1, e.X2, e.A, e.B, Palette, Bitmap, Lane);
    }
  }
}

void TZBuffer::DrawSpan(int32_t Row, int32_t X1, int32_t X2, int32_t A, int32_t B, const TPalette& Palette,
                        TBitmap& Bitmap, int Lane) {
  uint32_t* pixels = Bitmap.ScanLine(Row);
  if (!Textured) {
    if (A == B)
      FillSpan(X1, X2, pixels, Palette[A]);
    else
      GradientSpan(X1, X2, pixels, Palette, A, B);
  } else if (Texture && Texture->Width() > 0 && Texture->Height() > 0) {
    TexturedSpan(Row, X1, X2, A, B, Bitmap, Lane);
  } else {
    GradientSpan(X1, X2, pixels, Palette, A, B);
  }
}

void TZBuffer::FillSpan(int32_t X1, int32_t X2, uint32_t* Pixels, uint32_t Color) {
  FillPixels(Pixels + X1, static_cast<size_t>(X2 - X1 + 1), Color);
}

void TZBuffer::GradientSpan(int32_t X1, int32_t X2, uint32_t* Pixels, const TPalette& Palette, int32_t A,
                            int32_t B) {
  if (X1 == X2) {
    Pixels[X1] = Palette[A];
    return;
  }
  // The step is truncated toward zero, so the level never passes B (a long span may
  // stop a level short of it).
  int32_t acc = A * 1024;
  const int32_t step = DivTrunc(static_cast<int64_t>(B - A) * 1024, X2 - X1);
  for (int32_t x = X1; x <= X2; ++x) {
    Pixels[x] = Palette[acc / 1024];
    acc += step;
  }
}

}  // namespace qz
