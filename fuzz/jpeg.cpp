// Fuzz target: a JPEG texture or icon (libjpeg), decoded from memory as a texture file is.
//
// Whatever the bytes, the decoder gives a picture within the size bounds or throws a
// message that names the data; it never reads outside the bytes or allocates beyond
// the bounds.
#include <cstdint>
#include <stdexcept>
#include <string>

#include "FuzzKit.h"
#include "ImageCheck.h"
#include "image/formats/JpegReader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  qz::fuzz::CheckDecoded([&](const std::string& name) { return qz::DecodeJpeg(data, size, name); });
  return 0;
}
