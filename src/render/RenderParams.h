// The two blocks of design parameters that the 3D view draws with: the twenty-word
// render block (projection, light, shadows) and the sixteen-word camera block that
// every body carries a copy of, both assembled from the design's TParams.
//
// Dotted design names become nested members: `Light.X` is Light.X, `Light.Color` is
// Light.Color, `Message.Altitude` is Message.Altitude, `Render.X` is Render.X.
#pragma once

#include <cstdint>

#include "image/Bitmap.h"
#include "scene/Params.h"

namespace qz {

struct TRenderParams {
  float CnX = 450.0f;  // horizontal perspective factor ("X Factor")
  float CnZ = 450.0f;  // vertical perspective factor ("Y Factor")
  int32_t CenterX = 0;  // pixel column of the optical axis
  int32_t CenterY = 0;  // pixel row of the optical axis
  struct {
    float X = 0, Y = 0, Z = 0;  // light direction
    float A = 0;                // its length (carried only)
    TColor Color = 0xFFFFFF;    // colour of the light
  } Light;
  float A1 = 0.5f, A2 = 0.3f;  // light angles (carried only)
  int32_t LoBright = 0;        // lowest light level
  int32_t HiBright = 255;      // highest light level
  int32_t Brightness = 204;    // level at which a texture shows its own colours
  int32_t ButShadowX = 0, ButShadowY = 0;  // pixel offset of the button's shadow
  int32_t TxtShadowX = 0, TxtShadowY = 0;  // pixel offset of the letters' shadow
  struct {
    int32_t Altitude = 0;  // casts a shadow when greater than 0
  } Message, Button;
};

struct TCamera {
  struct {
    float X = 0, Y = 0, Z = 0;  // camera translation; Y carries the viewing distance
  } Render;
  float Ax = 0, Ay = 0, Az = 0;  // camera angles in degrees: carried, never applied
  float Rotation[9] = {};        // room for a rotation matrix nobody fills
  int32_t ShadType = 1;          // 0 flat shading, 1 smooth shading
};

// The render block of a design whose projected origin lies at (centerX, centerY) of
// the picture.
TRenderParams RenderBlock(const TParams& params, int32_t centerX, int32_t centerY);
TCamera CameraBlock(const TParams& params);

}  // namespace qz
