#include "scene/Scene.h"

#include <cmath>

#include "platform/Numeric.h"

namespace qz {

namespace {

// Light angles are clamped to a tenth and nine tenths of pi for the shadow offsets,
// so a light grazing the plate never throws an endless shadow.
constexpr float MinShadowAngle = 0.31415927f;
constexpr float MaxShadowAngle = 2.8274333f;

}  // namespace

TScene::TScene() : Messages(&nullMessages_), Progress(&nullProgress_) {
  Image.SetSize(64, 16);
  Mask.SetSize(100, 100);
  // TParams carries the defaults; Render.Y starts equal to Distance.
  Render.Y = static_cast<float>(Distance);
  SetLightAngles(0.5f, 0.3f);
  SetColors(0, RGBToColor(255, 128, 128), RGBToColor(255, 255, 255), Brightness, 0);
  SetColors(0, RGBToColor(255, 255, 128), RGBToColor(255, 255, 255), Brightness, 1);
  ClearLetters();
}

TScene::~TScene() = default;

void TScene::SetLightAngles(float angle1, float angle2) {
  a1 = angle1;
  a2 = angle2;
  const long double A1 = a1, A2 = a2;
  Light.X = ToFloat32(std::cos(A1) * std::sin(A2));
  Light.Y = ToFloat32(std::sin(A1) * std::sin(A2));
  Light.Z = ToFloat32(-std::cos(A2));
  Light.A = ToFloat32(std::sqrt(static_cast<long double>(Light.X) * Light.X +
                                static_cast<long double>(Light.Y) * Light.Y +
                                static_cast<long double>(Light.Z) * Light.Z));
  const long double c1 = Clamp(a1, MinShadowAngle, MaxShadowAngle);
  const long double c2 = Clamp(a2, MinShadowAngle, MaxShadowAngle);
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

void TScene::SetColors(TColor dark, TColor middle, TColor bright, int32_t split, int which) {
  TSideParams& side = which == 0 ? Button : Message;
  side.DColor = dark;
  side.MColor = middle;
  side.BColor = bright;
  side.ColSplit = split;
  BuildRamp(which);
}

void TScene::BuildRamp(int which) {
  const TSideParams& side = which == 0 ? Button : Message;
  std::array<uint32_t, 256>& ramp = which == 0 ? ButtonPalette : TextPalette;
  // A split read from a file may lie anywhere: it is bounded to the ramp here and
  // kept as read in the design.
  const int32_t S = Clamp(side.ColSplit, 0, 255);
  const TColor D = side.DColor, M = side.MColor, B = side.BColor, L = Light.Color;
  uint32_t (*const channel[3])(TColor) = {ColorRed, ColorGreen, ColorBlue};
  for (int i = 0; i < 256; ++i) {
    uint32_t rgb[3];
    for (int ch = 0; ch < 3; ++ch) {
      const int64_t d = channel[ch](D), m = channel[ch](M), b = channel[ch](B), l = channel[ch](L);
      long double v;
      if (i <= S) {
        // With a split of 0 the only entry of the first part is the middle colour
        // itself (the entry at the split), not 0/0.
        v = S == 0 ? m : d + static_cast<long double>((m - d) * i) / S;
      } else {
        v = m + static_cast<long double>((b - m) * (i - S)) / (255 - S);
      }
      int64_t lit = static_cast<int64_t>(RoundHalfEven(v)) * l / 255;
      rgb[ch] = static_cast<uint32_t>(Clamp<int64_t>(lit, 0, 255));
    }
    ramp[i] = RGBToPixel(rgb[0], rgb[1], rgb[2]);
  }
}

void TScene::AddLetter() {
  if (LetterCount >= MaxLetters) return;
  Letters[++LetterCount] = std::make_unique<TLetter>();
}

void TScene::ClearLetters() {
  for (auto& l : Letters) l.reset();
  LetterCount = 0;
  TextMinX = 65535;
  TextMaxX = -65535;
  TextMinY = 65535;
  TextMaxY = -65535;
}

int TScene::CountNonBlank(const std::string& text) {
  int n = 0;
  for (char c : text)
    if (c != ' ') ++n;
  return n;
}

}  // namespace qz
