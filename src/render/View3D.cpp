#include "render/View3D.h"

#include <algorithm>

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

}  // namespace qz

namespace qz {

void TView3D::Render(TBitmap& Image, TBitmap& Mask, bool WithMask, bool DrawButton, const TPalette& TextPalette,
                     const TPalette& ButtonPalette) {
  ZBuffer.SetSize(Image.Height(), Image.Width());
  ZBuffer.Tint = Params.Light.Color;
  ZBuffer.MidLevel = Params.Brightness;
  // The mask is drawn only when it can take every span of the image.
  WithMask = WithMask && Mask.Width() >= Image.Width() && Mask.Height() >= Image.Height();

  BodyOrder.Clear();
  for (int32_t b = 1; b <= bodyCount_; ++b) {
    bodies_[b]->Prepare(Params);
    BodyOrder.Add(b, bodies_[b]->AvgKey());
  }
  BodyOrder.Sort();

  // The button first, flushed on its own: letters are never hidden behind it, and
  // their shadow falls on it.
  const bool hasButton = DrawButton && bodyCount_ > 0;
  if (hasButton) {
    bodies_[bodyCount_]->Draw(ZBuffer, true);
    // The mask takes the shadow's own spans, as the letters' shadow does: a shape
    // with spikes or holes leaves the background between them transparent.
    if (Params.Button.Altitude > 0) {
      ZBuffer.ShadowSpans(Image, Params.ButShadowX, Params.ButShadowY, false);
      if (WithMask) ZBuffer.ShadowSpans(Mask, Params.ButShadowX, Params.ButShadowY, true);
    }
    if (ButtonTextured)
      ZBuffer.SetTexture(ButtonTexture);
    else
      ZBuffer.Textured = false;
    ZBuffer.Flush(Image, ButtonPalette, false);
    if (WithMask) ZBuffer.Flush(Mask, ButtonPalette, true);
    ZBuffer.Clear();
  }

  for (int32_t i = 1; i <= BodyOrder.Count(); ++i) {
    const int32_t b = BodyOrder.Item(i).Index;
    if (hasButton && b == bodyCount_) continue;
    bodies_[b]->Draw(ZBuffer, false);
  }
  if (Params.Message.Altitude > 0) {
    ZBuffer.ShadowSpans(Image, Params.TxtShadowX, Params.TxtShadowY, false);
    if (WithMask) ZBuffer.ShadowSpans(Mask, Params.TxtShadowX, Params.TxtShadowY, true);
  }
  if (TextTextured)
    ZBuffer.SetTexture(TextTexture);
  else
    ZBuffer.Textured = false;
  ZBuffer.Flush(Image, TextPalette, false);
  if (WithMask) ZBuffer.Flush(Mask, TextPalette, true);
}

}  // namespace qz
