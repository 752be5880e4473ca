#include "scene/Params.h"

#include <algorithm>
#include <cmath>

#include "base/Numeric.h"

namespace qz {

namespace {

// Light angles are clamped to a tenth and nine tenths of pi for the shadow offsets,
// so a light grazing the plate never throws an endless shadow.
constexpr float MinShadowAngle = 0.31415927f;
constexpr float MaxShadowAngle = 2.8274333f;

}  // namespace

TParams::TParams() { SetLightAngles(A1, A2); }

void TParams::SetLightAngles(float angle1, float angle2) {
  A1 = angle1;
  A2 = angle2;
  const long double l1 = A1, l2 = A2;  // the angles in extended precision
  Light.X = ToFloat32(std::cos(l1) * std::sin(l2));
  Light.Y = ToFloat32(std::sin(l1) * std::sin(l2));
  Light.Z = ToFloat32(-std::cos(l2));
  Light.A = ToFloat32(std::sqrt(static_cast<long double>(Light.X) * Light.X +
                                static_cast<long double>(Light.Y) * Light.Y +
                                static_cast<long double>(Light.Z) * Light.Z));
  const long double c1 = Clamp(A1, MinShadowAngle, MaxShadowAngle);
  const long double c2 = Clamp(A2, MinShadowAngle, MaxShadowAngle);
  const long double cotX = std::cos(c1) / std::sin(c1);
  const long double cotY = std::cos(c2) / std::sin(c2);
  const long double eye = Render.Y;  // a camera at the eye gives no shadow rather than a division by zero
  auto offset = [&](long double cot, int32_t altitude, float factor) -> int32_t {
    if (eye == 0) return 0;
    return RoundHalfEven(cot * altitude * static_cast<long double>(factor) / eye);
  };
  ButShadowX = offset(cotX, Button.Altitude, CnX);
  ButShadowY = offset(cotY, Button.Altitude, CnZ);
  TxtShadowX = offset(cotX, Message.Altitude, CnX);
  TxtShadowY = offset(cotY, Message.Altitude, CnZ);
}

TParams ParamsForState(const TParams& design, TButtonState state) {
  TParams p = design;
  if (state == TButtonState::Hover) {
    const int32_t by = Clamp(design.States.HoverBrightening, 0, 255);
    for (int32_t* level : {&p.Brightness, &p.Message.ColSplit, &p.Button.ColSplit})
      *level = std::max(1, Clamp(*level, 0, 255) - by);
  } else if (state == TButtonState::Pressed) {
    const int64_t percent = Clamp(design.States.PressedAltitude, 0, 100);
    for (int32_t* v : {&p.Message.Altitude, &p.Button.Altitude, &p.ButShadowX, &p.ButShadowY, &p.TxtShadowX,
                       &p.TxtShadowY})
      *v = RoundHalfEven(static_cast<long double>(*v) * percent / 100);
  }
  return p;
}

}  // namespace qz
