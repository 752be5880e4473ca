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

}  // namespace

void TView3D::Render(TBitmap& Image, TBitmap& Mask, bool WithMask, bool DrawButton, uint32_t Background,
                     const TPalette& TextPalette, const TPalette& ButtonPalette) {
  // The mask is drawn only when it can take every span of the image.
  WithMask = WithMask && Mask.Width() >= Image.Width() && Mask.Height() >= Image.Height();
  const int32_t rows = Image.Height();
  const bool twoCores = int64_t{Image.Width()} * rows >= SideBySidePixels && TwoCores();

  BodyOrder.Clear();
  for (int32_t b = 1; b <= bodyCount_; ++b) {
    bodies_[b]->Prepare(Params);
    BodyOrder.Add(b, bodies_[b]->AvgKey());
  }
  BodyOrder.Sort();
  const bool hasButton = DrawButton && bodyCount_ > 0;

  // The button is drawn in a z-buffer of its own and flushed on its own (letters are
  // never hidden behind it, and their shadow falls on it). Clearing the picture and
  // drawing the button write the image, the mask and that buffer only; inserting the
  // letters' spans writes the letters' buffer only: the two run side by side and leave
  // what one after the other would. Whichever finishes first starts flushing the
  // button's rows, a few at a time, and the other joins it (the letters' side waits
  // for the button's spans to be complete first).
  TZBuffer& button = ButtonZBuffer;
  // The button's state: drawing, drawn, or failed (its rows are then left alone).
  enum TState : int { Drawing, Drawn, Failed };
  std::atomic<int> state{Drawing};
  const auto picture = [&] {
    // Set however this ends, so the other side never waits for ever.
    struct TSignal {
      std::atomic<int>& state;
      int outcome = Failed;
      ~TSignal() {
        state.store(outcome);
        state.notify_all();
      }
    } signal{state};
    Image.Fill(Background);
    if (WithMask) Mask.Fill(0);
    if (!hasButton) return;
    button.SetSize(rows, Image.Width());
    button.Tint = Params.Light.Color;
    button.MidLevel = Params.Brightness;
    bodies_[bodyCount_]->Draw(button, true);
    // The mask takes the shadow's own spans, as the letters' shadow does: a shape
    // with spikes or holes leaves the background between them transparent.
    if (Params.Button.Altitude > 0) {
      button.ShadowSpans(Image, Params.ButShadowX, Params.ButShadowY, false);
      if (WithMask) button.ShadowSpans(Mask, Params.ButShadowX, Params.ButShadowY, true);
    }
    if (ButtonTextured)
      button.SetTexture(ButtonTexture);
    else
      button.Textured = false;
    signal.outcome = Drawn;
  };
  constexpr int32_t RowsAtATime = 16;
  std::atomic<int32_t> nextRow{0};
  const auto flushButton = [&](int lane) {
    state.wait(Drawing);
    if (!hasButton || state.load() != Drawn) return;
    for (int32_t first; (first = nextRow.fetch_add(RowsAtATime)) < rows;) {
      const int32_t end = std::min(first + RowsAtATime, rows);
      button.Flush(Image, ButtonPalette, false, first, end, lane);
      if (WithMask) button.Flush(Mask, ButtonPalette, true, first, end, lane);
    }
  };
  const auto letters = [&] {
    ZBuffer.SetSize(rows, Image.Width());
    ZBuffer.Tint = Params.Light.Color;
    ZBuffer.MidLevel = Params.Brightness;
    for (int32_t i = 1; i <= BodyOrder.Count(); ++i) {
      const int32_t b = BodyOrder.Item(i).Index;
      if (hasButton && b == bodyCount_) continue;
      bodies_[b]->Draw(ZBuffer, false);
    }
  };
  SideBySide(
      twoCores,
      [&] {
        picture();
        flushButton(0);
      },
      [&] {
        letters();
        flushButton(1);
      });
  if (hasButton) button.Clear();

  // The letters on top, each shadow before its bodies' spans so they cover it. The
  // shadow of row r lands on row r + dy, so with the picture split at row `split`, the
  // upper side shadows the rows above `from` = split - dy and flushes the rows above
  // `split`, the lower side the others, and no row is written by both (a shadow so far
  // off that `from` falls outside the picture is drawn by one side).
  const bool shadow = Params.Message.Altitude > 0;
  const int32_t split = rows / 2;
  const int64_t from = split - (shadow ? int64_t{Params.TxtShadowY} : 0);
  if (TextTextured)
    ZBuffer.SetTexture(TextTexture);
  else
    ZBuffer.Textured = false;
  const auto onTop = [&](int lane, int32_t first, int32_t end, int32_t shadowFirst, int32_t shadowEnd) {
    if (shadow) {
      ZBuffer.ShadowSpans(Image, Params.TxtShadowX, Params.TxtShadowY, false, shadowFirst, shadowEnd);
      if (WithMask) ZBuffer.ShadowSpans(Mask, Params.TxtShadowX, Params.TxtShadowY, true, shadowFirst, shadowEnd);
    }
    ZBuffer.Flush(Image, TextPalette, false, first, end, lane);
    if (WithMask) ZBuffer.Flush(Mask, TextPalette, true, first, end, lane);
  };
  if (twoCores && Mask.Height() == rows && from >= 1 && from <= rows - 1) {
    const auto at = static_cast<int32_t>(from);
    SideBySide(true, [&] { onTop(0, 0, split, 0, at); }, [&] { onTop(1, split, rows, at, rows); });
  } else {
    onTop(0, 0, rows, 0, rows);
  }
}

}  // namespace qz
