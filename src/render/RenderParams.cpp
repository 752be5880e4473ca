#include "render/RenderParams.h"

#include <algorithm>

namespace qz {

TRenderParams RenderBlock(const TParams& p, int32_t centerX, int32_t centerY) {
  TRenderParams r;
  r.CnX = p.CnX;
  r.CnZ = p.CnZ;
  r.CenterX = centerX;
  r.CenterY = centerY;
  r.Light.X = p.Light.X;
  r.Light.Y = p.Light.Y;
  r.Light.Z = p.Light.Z;
  r.Light.A = p.Light.A;
  r.Light.Color = p.Light.Color;
  r.A1 = p.A1;
  r.A2 = p.A2;
  r.LoBright = p.LoBright;
  r.HiBright = p.HiBright;
  r.Brightness = p.Brightness;
  r.ButShadowX = p.ButShadowX;
  r.ButShadowY = p.ButShadowY;
  r.TxtShadowX = p.TxtShadowX;
  r.TxtShadowY = p.TxtShadowY;
  r.Message.Altitude = p.Message.Altitude;
  r.Button.Altitude = p.Button.Altitude;
  return r;
}

TCamera CameraBlock(const TParams& p) {
  TCamera c;
  c.Render.X = p.Render.X;
  c.Render.Y = p.Render.Y;
  c.Render.Z = p.Render.Z;
  c.Ax = p.Ax;
  c.Ay = p.Ay;
  c.Az = p.Az;
  std::copy(std::begin(p.Rotation), std::end(p.Rotation), std::begin(c.Rotation));
  c.ShadType = p.ShadType;
  return c;
}

}  // namespace qz
