// What every image decoder promises, checked on one input: a picture within the
// bounds of ImageLimits.h with all its pixels, or a runtime_error that names the data.
#pragma once

#include <stdexcept>
#include <string>

#include "FuzzKit.h"
#include "image/Bitmap.h"
#include "image/ImageLimits.h"

namespace qz::fuzz {

template <typename Decode>
void CheckDecoded(Decode decode) {
  const std::string name = "texture.under.test";
  TBitmap image;
  try {
    image = decode(name);
  } catch (const std::runtime_error& e) {
    if (std::string(e.what()).find(name) == std::string::npos)
      Broken(std::string("an image error without its name: ") + e.what());
    return;
  }
  const int64_t w = image.Width(), h = image.Height();
  if (w < 1 || h < 1 || w > MaxDecodedSide || h > MaxDecodedSide || w * h > MaxDecodedPixels)
    Broken("a decoded picture of " + std::to_string(w) + " x " + std::to_string(h));
  // Every pixel is there to be read (ASan checks the last one).
  volatile uint32_t last = image.ScanLine(image.Height() - 1)[image.Width() - 1];
  (void)last;
}

}  // namespace qz::fuzz
