// TParams: every design parameter the user edits, in one record that the Advanced
// Options dialog copies out and back as a whole. The work file stores these fields
// under the same names (see WorkFile.cpp).
//
// Name mapping: a design name that carries its section becomes a nested member,
//   `Message.TexW` -> Message.TexW     `Button.Altitude` -> Button.Altitude
//   `Light.X`      -> Light.X          `Light.Color`     -> Light.Color
//   `Render.X`     -> Render.X         the nine rotation words -> Rotation[0..8]
// The renderer assembles its render block and camera block from these fields
// (render/RenderParams.h); nothing reads the record as raw words.
#pragma once

#include <cstdint>
#include <string>

#include "image/Bitmap.h"

namespace qz {

// The fields that text and button each have: shade-ramp colours, texture, altitude.
struct TSideParams {
  TColor DColor = 0;             // ramp entry 0
  TColor MColor = 0;             // ramp entry ColSplit
  TColor BColor = 0xFFFFFF;      // ramp entry 255
  int32_t ColSplit = 204;        // entry of the middle colour, 0..255
  int32_t Altitude = 0;          // height above what is below; 0 means no shadow
  std::string TexFile;           // texture image; empty means shaded with the ramp
  float TexW = 1.0f;             // horizontal texture scale
  float TexH = 1.0f;             // vertical texture scale
  bool HoldRatio = false;        // keep the texture's proportions
  bool operator==(const TSideParams&) const = default;
};

// The button shapes Type names. A work may hold any number: one that is none of
// these makes a button without outline.
struct TButtonType {
  static constexpr int32_t None = 0;            // no button: a heading
  static constexpr int32_t Rectangle = 1;
  static constexpr int32_t Rounded = 2;         // corners of radius H / 4 (the default)
  static constexpr int32_t RoundedSmall = 3;    // H / 8
  static constexpr int32_t Chamfered = 4;       // corners cut by H / 8
  static constexpr int32_t ChamferedSmall = 5;  // H / 16
  static constexpr int32_t Ellipse = 6;
  static constexpr int32_t Circle = 7;
  static constexpr int32_t ShapeFileOld = 8;    // the shape file, as older works name it
  static constexpr int32_t ShapeFile = 16;      // the shape file ShapeName
};

// The pictures an export may write of one design: the button as it stands, under a
// brighter light (the pointer over it), and sunk (pressed).
enum class TButtonState { Normal, Hover, Pressed };

// How an export's hover and pressed pictures differ from the button as it stands.
struct TStateParams {
  int32_t HoverBrightening = 48;  // hover: Brightness and both ColSplit lowered by this (a brighter light)
  int32_t PressedAltitude = 30;   // pressed: both altitudes (and shadows) at this percent
  bool operator==(const TStateParams&) const = default;
};

struct TParams {
  // The defaults, with the light vector and shadow offsets of the default angles.
  TParams();

  int32_t SplPnt = 2;    // outline complexity: 1 Simple, 2 Normal, 3 Complex
  int32_t Type = TButtonType::Rounded;  // button shape (TButtonType)
  int32_t TxtW = 10;     // text bevel width
  int32_t ButW = 20;     // button bevel size
  int32_t ButY = 0;      // button extrusion, held negative
  int32_t TxtY = 30;     // text extrusion
  float CnX = 450.0f;    // horizontal projection factor
  float CnZ = 450.0f;    // vertical projection factor
  struct TLight {
    float X = 0, Y = 0, Z = 0, A = 0;  // light direction and its length
    TColor Color = 0xFFFFFF;           // colour of the light
    bool operator==(const TLight&) const = default;
  } Light;
  float A1 = 0.5f;       // light azimuth, radians (the work file's a1)
  float A2 = 0.3f;       // light angle from the negative z axis, radians (a2)
  int32_t LoBright = 0;
  int32_t HiBright = 255;
  int32_t Brightness = 204;
  int32_t ButShadowX = 0, ButShadowY = 0;
  int32_t TxtShadowX = 0, TxtShadowY = 0;
  struct TCamera {
    float X = 0, Y = 1500.0f, Z = 0;  // camera position; Y is set from Distance by every build
    bool operator==(const TCamera&) const = default;
  } Render;
  float Ax = 0, Ay = 0, Az = 0;       // camera angles, degrees (never applied)
  float Rotation[9] = {};
  int32_t ShadType = 1;               // 0 flat, 1 smooth
  int32_t GutLeft = 192, GutTop = 48, GutRight = 192, GutBottom = 48;
  TSideParams Message{0, RGBToColor(255, 255, 128), 0xFFFFFF, 204, 10, {}, 1.0f, 1.0f, false};
  TSideParams Button{0, RGBToColor(255, 128, 128), 0xFFFFFF, 204, 30, {}, 1.0f, 1.0f, false};
  TColor BkgColor = 0xFFFFFF;  // page colour, also the transparent colour of Image
  int32_t Distance = 1500;
  int32_t Bright = 32;         // kept in the file, used by nothing
  int32_t Contrast = 32;       // kept in the file, used by nothing
  int32_t RDelay = 3;          // timer ticks to wait after a slider moves
  int32_t ExpWidth = 160;
  int32_t ExpHeight = 100;
  int32_t ViewSize = 50;       // preview size, percent of the preview area
  bool HoldButtonSize = false;
  int32_t ButLeft = 0, ButTop = 0, ButRight = 0, ButBottom = 0;
  std::string ShapeName;
  TStateParams States;  // a work without them gets the defaults
  // Message.Shaping: the message is laid out with shaping (kerning, joined and
  // combined letters) and right-to-left runs; off, every character is one glyph in
  // message order, by the 8-bit rules. On for designs begun with New or a template.
  bool Shaping = false;

  // Stores the light angles and recomputes from them the light vector and the four
  // shadow offsets (which also follow the altitudes, the factors and the camera).
  void SetLightAngles(float a1, float a2);

  // Field for field (the undo history tells an edit that changed nothing by it).
  bool operator==(const TParams&) const = default;
};

// The design as a state shows it. Hover lowers Brightness and both ColSplit by
// HoverBrightening (to no less than 1), as the Brightness slider moved up would;
// pressed takes both altitudes and the four shadow offsets to PressedAltitude percent
// (0..100) of theirs. Neither changes what is built, so one build renders all three.
TParams ParamsForState(const TParams& design, TButtonState state);

}  // namespace qz
