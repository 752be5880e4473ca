// quenzar-cli info WORK: the work as loaded, in the lines its save would write.
#include <cstdio>

#include "cli/Cli.h"
#include "cli/Session.h"
#include "platform/IniFile.h"
#include "scene/WorkFile.h"

namespace qz::cli {

int Info(const TArgs& args) {
  TSession session;
  if (!session.Load(args.positional[0], args)) return ExitFailed;

  // Exactly the lines a save would write, in their order, as Section.Key=value.
  TIniFile ini;
  SaveSceneToIni(session.scene, session.message, ini);
  for (const auto& [section, kv] : ini.Entries())
    std::printf("%s.%s=%s\n", section.c_str(), kv.first.c_str(), kv.second.c_str());
  return ExitOk;
}

}  // namespace qz::cli
