#include "render/View3D.h"

#include <algorithm>
#include <atomic>

#include "base/SideBySide.h"

namespace qz {

void TView3D::ClearBodies() {
  for (int32_t b = 1; b <= bodyCount_; ++b) bodies_[b].reset();
  bodyCount_ = 0;
  buttonBody_ = 0;
}

int32_t TView3D::AddBody() {
  if (bodyCount_ >= MaxBodies) return 0;
  bodies_[++bodyCount_] = std::make_unique<TBody>();
  return bodyCount_;
}

void TView3D::SetCamera(const TCamera& camera) {
  for (int32_t b = 1; b <= bodyCount_; ++b) bodies_[b]->Camera = camera;
}

int32_t TView3D::FaceCount() const {
  int32_t n = 0;
  for (int32_t b = 1; b <= bodyCount_; ++b) n += bodies_[b]->FaceCount();
  return n;
}

int32_t TView3D::VertexCount() const {
  int32_t n = 0;
  for (int32_t b = 1; b <= bodyCount_; ++b) n += bodies_[b]->VertexCount();
  return n;
}

TModelExtents TView3D::ModelExtents() const {
  TModelExtents r;
  for (int32_t b = 1; b <= bodyCount_; ++b) {
    const TBody& body = *bodies_[b];
    for (int32_t i = 1; i <= body.VertexCount(); ++i) {
      const TVertex& v = body.Vertex(i);
      r.Left = std::min(r.Left, v.X);
      r.Right = std::max(r.Right, v.X);
      r.Top = std::max(r.Top, v.Z);
      r.Bottom = std::min(r.Bottom, v.Z);
    }
  }
  return r;
}

TScreenExtents TView3D::ScreenExtents() {
  TScreenExtents e;
  for (int32_t b = 1; b <= bodyCount_; ++b) {
    TBody& body = *bodies_[b];
    body.Project(Params);
    for (int32_t i = 1; i <= body.VertexCount(); ++i) {
      const TScreenPoint s = body.Screen(i);
      e.MinX = std::min(e.MinX, s.SX);
      e.MaxX = std::max(e.MaxX, s.SX);
      e.MinY = std::min(e.MinY, s.SY);
      e.MaxY = std::max(e.MaxY, s.SY);
    }
  }
  return e;
}

namespace {

// Pictures from this many pixels on draw their two independent parts side by side,
// when the machine has a second core; a smaller one does not pay for the thread.
constexpr int64_t SideBySidePixels = int64_t{1} << 16;

// Rows First .. End - 1 of the picture.
struct TRows {
  int32_t First;
  int32_t End;
};

// --- Thread scheduling --------------------------------------------------------------

// Runs drawButton (the button's pass; true when it left rows to flush) beside
// insertSpans (the letters' spans, into a buffer of their own), each on a core of its
// own when twoCores. Whichever finishes first starts flushing the button's rows with
// flushRows(rows, lane), a few at a time, and the other joins it; the letters' side
// waits for the button's pass to end first. The result is the same as one after the
// other.
template <typename TDrawButton, typename TInsertSpans, typename TFlushRows>
void ButtonBesideLetters(bool twoCores, int32_t rows, TDrawButton&& drawButton, TInsertSpans&& insertSpans,
                         TFlushRows&& flushRows) {
  // The button's pass: drawing, drawn, or failed (its rows are then left alone).
  enum TState : int { Drawing, Drawn, Failed };
  std::atomic<int> state{Drawing};
  const auto button = [&] {
    // Set however the pass ends, so the other side never waits for ever.
    struct TSignal {
      std::atomic<int>& state;
      int outcome = Failed;
      ~TSignal() {
        state.store(outcome);
        state.notify_all();
      }
    } signal{state};
    if (drawButton()) signal.outcome = Drawn;
  };
  constexpr int32_t RowsAtATime = 16;
  std::atomic<int32_t> nextRow{0};
  const auto flush = [&](int lane) {
    state.wait(Drawing);
    if (state.load() != Drawn) return;
    for (int32_t first; (first = nextRow.fetch_add(RowsAtATime)) < rows;)
      flushRows(TRows{first, std::min(first + RowsAtATime, rows)}, lane);
  };
  SideBySide(
      twoCores,
      [&] {
        button();
        flush(0);
      },
      [&] {
        insertSpans();
        flush(1);
      });
}

// Runs onTop(flushRows, shadowRows, lane) over the whole picture, or, when twoCores,
// over its two halves side by side. The shadow of row r lands on row r + dy, so with
// the picture split at row `split`, the upper half shadows the rows above
// `from` = split - dy and flushes the rows above `split`, the lower half the others,
// and no row is written by both. A shadow so far off that `from` falls outside the
// picture is drawn in one piece, and so is a picture whose mask has another height.
template <typename TOnTop>
void InTwoHalves(bool twoCores, int32_t rows, int32_t maskRows, int64_t dy, TOnTop&& onTop) {
  const int32_t split = rows / 2;
  const int64_t from = split - dy;
  if (twoCores && maskRows == rows && from >= 1 && from <= rows - 1) {
    const auto at = static_cast<int32_t>(from);
    SideBySide(
        true, [&] { onTop(TRows{0, split}, TRows{0, at}, 0); }, [&] { onTop(TRows{split, rows}, TRows{at, rows}, 1); });
  } else {
    onTop(TRows{0, rows}, TRows{0, rows}, 0);
  }
}

}  // namespace

// --- The passes -----------------------------------------------------------------------

// What one render draws into.
struct TRenderTarget {
  TBitmap& Image;
  TBitmap& Mask;
  bool WithMask;  // the mask is drawn too
};

namespace {

// A buffer sized for the picture, empty, lit as the frame's parameters say.
void StartBuffer(TZBuffer& buffer, int32_t rows, int32_t width, const TRenderParams& params) {
  buffer.SetSize(rows, width);
  buffer.Tint = params.Light.Color;
  buffer.MidLevel = params.Brightness;
}

void UseTexture(TZBuffer& buffer, bool textured, const TBitmap& texture) {
  if (textured)
    buffer.SetTexture(texture);
  else
    buffer.Textured = false;
}

// The shadow of the buffer's spans of the given rows, into the picture and its mask.
void ShadowRows(const TZBuffer& buffer, const TRenderTarget& target, int32_t dx, int32_t dy, TRows rows) {
  buffer.ShadowSpans(target.Image, dx, dy, false, rows.First, rows.End);
  if (target.WithMask) buffer.ShadowSpans(target.Mask, dx, dy, true, rows.First, rows.End);
}

// The buffer's spans of the given rows, into the picture and its mask.
void FlushRows(TZBuffer& buffer, const TRenderTarget& target, const TPalette& palette, TRows rows, int lane) {
  buffer.Flush(target.Image, palette, false, rows.First, rows.End, lane);
  if (target.WithMask) buffer.Flush(target.Mask, palette, true, rows.First, rows.End, lane);
}

}  // namespace

void TView3D::OrderBodies() {
  BodyOrder.Clear();
  for (int32_t b = 1; b <= bodyCount_; ++b) {
    bodies_[b]->Prepare(Params);
    BodyOrder.Add(b, bodies_[b]->AvgKey());
  }
  BodyOrder.Sort();
}

bool TView3D::DrawButtonPass(const TRenderTarget& target, uint32_t background, bool hasButton) {
  target.Image.Fill(background);
  if (target.WithMask) target.Mask.Fill(0);
  if (!hasButton) return false;
  const int32_t rows = target.Image.Height();
  StartBuffer(ButtonZBuffer, rows, target.Image.Width(), Params);
  bodies_[bodyCount_]->Draw(ButtonZBuffer, true);
  // The mask takes the shadow's own spans, as the letters' shadow does: a shape
  // with spikes or holes leaves the background between them transparent.
  if (Params.Button.Altitude > 0) ShadowRows(ButtonZBuffer, target, Params.ButShadowX, Params.ButShadowY, {0, rows});
  UseTexture(ButtonZBuffer, ButtonTextured, ButtonTexture);
  return true;
}

void TView3D::InsertLetterSpans(int32_t rows, int32_t width, bool hasButton) {
  StartBuffer(ZBuffer, rows, width, Params);
  for (int32_t i = 1; i <= BodyOrder.Count(); ++i) {
    const int32_t b = BodyOrder.Item(i).Index;
    if (hasButton && b == bodyCount_) continue;
    bodies_[b]->Draw(ZBuffer, false);
  }
}

// --- The render's plan ----------------------------------------------------------------

void TView3D::Render(TBitmap& image, TBitmap& mask, bool withMask, bool drawButton, uint32_t background,
                     const TPalette& textPalette, const TPalette& buttonPalette) {
  // The mask is drawn only when it can take every span of the image.
  const TRenderTarget target{image, mask, withMask && mask.Width() >= image.Width() && mask.Height() >= image.Height()};
  const int32_t rows = image.Height();
  const bool twoCores = int64_t{image.Width()} * rows >= SideBySidePixels && TwoCores();
  OrderBodies();
  const bool hasButton = drawButton && bodyCount_ > 0;

  // The button is drawn in a z-buffer of its own and flushed on its own (letters are
  // never hidden behind it, and their shadow falls on it). Clearing the picture and
  // drawing the button with its shadow write the image, the mask and that buffer
  // only; inserting the letters' spans writes the letters' buffer only: the two may
  // run side by side, and the button's rows are flushed after its pass.
  ButtonBesideLetters(
      twoCores, rows, [&] { return DrawButtonPass(target, background, hasButton); },
      [&] { InsertLetterSpans(rows, image.Width(), hasButton); },
      [&](TRows flush, int lane) { FlushRows(ButtonZBuffer, target, buttonPalette, flush, lane); });
  if (hasButton) ButtonZBuffer.Clear();

  // The letters on top, each shadow before its bodies' spans so they cover it.
  UseTexture(ZBuffer, TextTextured, TextTexture);
  const bool shadow = Params.Message.Altitude > 0;
  InTwoHalves(twoCores, rows, mask.Height(), shadow ? int64_t{Params.TxtShadowY} : 0,
              [&](TRows flush, TRows shadowed, int lane) {
                if (shadow) ShadowRows(ZBuffer, target, Params.TxtShadowX, Params.TxtShadowY, shadowed);
                FlushRows(ZBuffer, target, textPalette, flush, lane);
              });
}

}  // namespace qz
