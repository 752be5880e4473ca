#include "cli/Session.h"

#include <stdexcept>
#include <string>

#include "text/Utf8.h"
#include "base/XdgDirs.h"

namespace qz::cli {

TCliSession::TCliSession() : session(TFolders::ForExecutable(ExecutableFolder()), messages, progress) {}

std::optional<std::u32string> MessageOption(const TArgs& args) {
  if (!args.Has("--text")) return std::nullopt;
  TUtf8Result text = DecodeUtf8(args.options.at("--text"));
  if (text.Error)
    throw TUsageError{"--text is not valid UTF-8: " + text.Error->Reason + " at byte " +
                      std::to_string(text.Error->Offset)};
  return std::move(text.Text);
}

std::optional<bool> ShapingOption(const TArgs& args) {
  if (!args.Has("--shaping")) return std::nullopt;
  const std::string& value = args.options.at("--shaping");
  if (value != "on" && value != "off") throw TUsageError{"--shaping takes on or off, not '" + value + "'"};
  return value == "on";
}

bool TCliSession::Load(const std::string& path, const TArgs& args) {
  // Usage errors before any work.
  const std::optional<std::u32string> text = MessageOption(args);
  const std::optional<bool> shaping = ShapingOption(args);
  if (!session.Open(path)) return false;
  if (!text && !shaping) return true;
  // The design as opened is built first, as the designer shows it before any edit
  // (quietly: what the command builds next says what there is to say). A design that
  // cannot be drawn as opened is said so, and edited as the designer would go on.
  TNullMessageSink quiet;
  session.SetMessageSink(quiet);
  try {
    session.Rebuild();
  } catch (const std::exception& e) {
    messages.ShowMessage(std::string("The work as saved cannot be drawn: ") + e.what());
  }
  session.SetMessageSink(messages);
  if (text) session.ReplaceMessage(*text);
  if (shaping) session.SetShaping(*shaping);
  return true;
}

bool TCliSession::Build() {
  const int chars = session.Text().Length();
  if (chars > MaxBuiltChars)
    messages.ShowMessage("The message has " + std::to_string(chars) + " characters; only the first " +
                         std::to_string(MaxBuiltChars) + " are built");
  // The designer carries on silently with the shape of its last build; a fresh
  // session has none, so the button would have no outline: say so.
  if (!session.NothingToBuild() && session.ShapeFileMissing())
    messages.ShowMessage("Cannot find the shape file " + session.Params().ShapeName + " in " +
                         session.Folders().ShapeFolders().Text() + "; the button has no outline");
  return session.Rebuild();
}

void TCliSession::BuildAndRender(bool withMask) {
  if (Build() && withMask) session.Render(true, false);
}

}  // namespace qz::cli
