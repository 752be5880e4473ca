// A vertex projected to the image: pixel column SX and pixel row SY (rows grow
// downwards).
#pragma once

#include <cstdint>

namespace qz {

struct TScreenPoint {
  int32_t SX = 0;
  int32_t SY = 0;
};

}  // namespace qz
