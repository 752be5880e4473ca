#include "cli/Session.h"

#include "scene/WorkFile.h"

namespace qz::cli {

TSession::TSession() {
  folders.ProgramDir = TSettings::ExecutableDir();
  folders.TexturesDir = folders.ProgramDir + "Textures/";
  scene.ProgramDir = folders.ProgramDir;
  scene.Messages = &messages;
}

bool TSession::Load(const std::string& path, const TArgs& args) {
  if (!scene.LoadFromFile(path, message)) return false;
  RefreshDerived(scene);
  if (args.Has("--text")) ReplaceMessage(message, args.options.at("--text"));
  return true;
}

}  // namespace qz::cli
