// Fuzz target: the preview icon of a work (sections Icon and IconInfo: hexadecimal
// lines of a JPEG picture), as the welcome dialog reads it.
//
// Whatever the bytes, reading the icon gives a picture or nothing, never a crash; the
// bytes of a record that reads are written back by a save unchanged.
#include <cstdint>
#include <string>

#include "FuzzKit.h"
#include "base/IniFile.h"
#include "scene/IconRecord.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace qz;
  const std::string path = fuzz::WriteScratch("icon.qznr", data, size);
  TBitmap picture;
  int calls = 0;
  LoadIconFromIni(path, "Icon", picture, [&](int percent) {
    if (percent < 0 || percent > 100) fuzz::Broken("icon progress " + std::to_string(percent));
    ++calls;
  });

  const TIniFile ini(path);
  const auto bytes = LoadIconBytes(ini, "Icon");
  if (!bytes) return 0;
  TIniFile copy;
  SaveIconBytes(copy, "Icon", *bytes);
  const auto again = LoadIconBytes(copy, "Icon");
  if (!bytes->empty() && (!again || *again != *bytes)) fuzz::Broken("icon bytes change in a save");
  return 0;
}
