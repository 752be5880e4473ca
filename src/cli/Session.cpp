#include "cli/Session.h"

#include "platform/XdgDirs.h"

namespace qz::cli {

TCliSession::TCliSession() : session(TFolders::ForExecutable(ExecutableFolder()), messages, progress) {}

bool TCliSession::Load(const std::string& path, const TArgs& args) {
  if (!session.Load(path)) return false;
  if (args.Has("--text")) session.ReplaceMessage(args.options.at("--text"));
  return true;
}

bool TCliSession::Build() {
  session.LoadTextures();
  const int chars = session.Text.Length();
  if (chars > MaxBuiltChars)
    messages.ShowMessage("The message has " + std::to_string(chars) + " characters; only the first " +
                         std::to_string(MaxBuiltChars) + " are built");
  // The designer carries on silently with the shape of its last build; a fresh
  // session has none, so the button would have no outline: say so.
  if (!session.NothingToBuild() && session.ShapeFileMissing())
    messages.ShowMessage("Cannot find the shape file " + session.Params.ShapeName + " in " +
                         session.Folders().ShapeFolders().Text() + "; the button has no outline");
  return session.Rebuild();
}

void TCliSession::BuildAndRender(bool withMask) {
  if (Build()) session.Render(withMask, false);
}

}  // namespace qz::cli
