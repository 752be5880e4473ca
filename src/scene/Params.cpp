#include "scene/Params.h"

#include <algorithm>

namespace qz {

TRenderParams TParams::RenderBlock() const {
  TRenderParams r;
  r.CnX = CnX;
  r.CnZ = CnZ;
  r.CenterX = CenterX;
  r.CenterY = CenterY;
  r.Light.X = Light.X;
  r.Light.Y = Light.Y;
  r.Light.Z = Light.Z;
  r.Light.A = Light.A;
  r.Light.Color = Light.Color;
  r.a1 = a1;
  r.a2 = a2;
  r.LoBright = LoBright;
  r.HiBright = HiBright;
  r.Brightness = Brightness;
  r.ButShadowX = ButShadowX;
  r.ButShadowY = ButShadowY;
  r.TxtShadowX = TxtShadowX;
  r.TxtShadowY = TxtShadowY;
  r.Message.Altitude = Message.Altitude;
  r.Button.Altitude = Button.Altitude;
  return r;
}

TCamera TParams::CameraBlock() const {
  TCamera c;
  c.Render.X = Render.X;
  c.Render.Y = Render.Y;
  c.Render.Z = Render.Z;
  c.Ax = Ax;
  c.Ay = Ay;
  c.Az = Az;
  std::copy(std::begin(Rotation), std::end(Rotation), std::begin(c.Rotation));
  c.ShadType = ShadType;
  return c;
}

}  // namespace qz
