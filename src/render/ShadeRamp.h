// The shade ramps: 256 colours from a side's dark colour through its middle colour
// (at entry ColSplit) to its bright colour, each channel lit by the light's colour.
// A light level indexes the ramp of the surface it falls on.
//
//   TPalette text = MakeShadeRamp(params.Message, params.Light.Color);
#pragma once

#include "render/ZBuffer.h"
#include "scene/Params.h"

namespace qz {

// Entries 0..ColSplit run from DColor to MColor, the rest on to BColor; the split is
// bounded to the ramp (a split read from a file may lie anywhere).
TPalette MakeShadeRamp(const TSideParams& side, TColor light);

}  // namespace qz
