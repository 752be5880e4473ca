// How the Dimensions tab's rulers and boxes and the light marker stand for the design,
// without widgets, so the window's handlers stay thin and the mapping is tested
// directly. The export size's own rules are the design's (export/ExportSize.h).
//
//   int pos = HeightRulerPosition(height);     // the vertical ruler shows -height
//
//   TMarkerPoint p = LightMarkerCentre(a1, a2, clientW, clientH);
//   TLightAngles a = LightAnglesAt(x, y, clientW, clientH);
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "export/ExportSize.h"

namespace qz {

// Rulers: width 5..300; height as -height, -145..10 (its top end is the largest).
inline constexpr int32_t WidthRulerMin = 5, WidthRulerMax = 300;
inline constexpr int32_t HeightRulerMin = -145, HeightRulerMax = 10;
inline constexpr int32_t MinRulerHeight = 5;
// The Dimensions picture is a scaled copy of the preview at the export size; beyond
// this many pixels (a derived side can grow without bound) it is not drawn.
inline constexpr int64_t MaxDimensionPicturePixels = 16 * 1024 * 1024;

// The decimal digits of a text, in order ("1a2" -> "12").
std::string DigitsOnly(std::string_view text);


// Ruler positions for the values, clipped to the rulers' ranges.
int32_t WidthRulerPosition(int32_t width);
int32_t HeightRulerPosition(int32_t height);
// The height a height-ruler position stands for: -position, at least 5.
int32_t HeightFromRuler(int32_t position);

// Whether the Dimensions picture is drawn for a preview of that size.
bool CanDrawDimensionPicture(int32_t previewW, int32_t previewH, const TDimensions& d);

// Light marker: the angles a1 (across) and a2 (down), 0..pi, map linearly onto the
// preview's client area.
struct TMarkerPoint {
  int32_t X = 0;
  int32_t Y = 0;
};
struct TLightAngles {
  float A1 = 0;
  float A2 = 0;
};
inline constexpr int32_t MarkerSize = 32;
inline constexpr int32_t MarkerHalf = MarkerSize / 2;

// The point of the preview the angles stand for (the marker's centre), rounded.
TMarkerPoint LightMarkerCentre(float a1, float a2, int32_t clientW, int32_t clientH);
// The angles a point of the preview stands for; a client side of 0 gives pi/2.
TLightAngles LightAnglesAt(int32_t x, int32_t y, int32_t clientW, int32_t clientH);
// A dragged marker's new left (or top), applied only while the marker stays wholly
// inside the client area: strictly above 0 and below client - 32.
bool MarkerPositionAllowed(int32_t pos, int32_t client);

}  // namespace qz
