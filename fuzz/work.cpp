// Fuzz target: a work or template file, loaded and saved as the designer does.
//
// Whatever the bytes, the load ends without a crash (a refused version included), and
// what a save writes reads back as the same design: the save into a new file and the
// save over the loaded file itself (which keeps every other line of it) both load
// into a design whose own save is the first one again, key for key.
#include <cstdint>
#include <string>

#include "FuzzKit.h"
#include "base/IniFile.h"
#include "scene/MessageText.h"
#include "scene/WorkFile.h"

namespace {

using namespace qz;

// The lines a save of the design writes, in their order.
std::string SavedLines(const TParams& params, TMessageText& text) {
  TIniFile ini;
  SaveDesignToIni(params, text, ini);
  return ini.Text();
}

// Loads path into a new design as the designer does (the light following its angles)
// and gives what its save writes.
bool Load(const std::string& path, TParams& params, TMessageText& text) {
  TNullMessageSink quiet;
  if (!LoadWorkFile(path, params, text, quiet)) return false;
  params.SetLightAngles(params.A1, params.A2);
  return true;
}

std::string ReloadedLines(const std::string& path, const char* how) {
  TParams params;
  TMessageText text;
  if (!Load(path, params, text)) fuzz::Broken(std::string("a work saved ") + how + " is refused");
  return SavedLines(params, text);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string path = fuzz::WriteScratch("work.qznr", data, size);
  TParams params;
  TMessageText text;
  if (!Load(path, params, text)) return 0;
  const std::string saved = SavedLines(params, text);

  const std::string fresh = fuzz::WriteScratch("fresh.qznr", saved);
  const std::string fromFresh = ReloadedLines(fresh, "into a new file");
  if (fromFresh != saved) fuzz::Broken("a work saved into a new file reads back differently", saved, fromFresh);

  SaveWorkFile(path, params, text);
  const std::string fromOver = ReloadedLines(path, "over the loaded file");
  if (fromOver != saved) fuzz::Broken("a work saved over the loaded file reads back differently", saved, fromOver);
  return 0;
}
