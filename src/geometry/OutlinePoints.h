// The outline work buffer that glyph reading and the button outline fill: closed
// point lists used 1-based, Pts[1..count], at most MaxOutlinePoints points.
#pragma once

#include <array>
#include <cstdint>

#include "scene/Letter.h"

namespace qz {

constexpr int32_t MaxOutlinePoints = 1024;
using TOutlinePoints = std::array<TPoint, MaxOutlinePoints + 1>;

}  // namespace qz
