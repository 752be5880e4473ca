// What every quenzar-cli command that works on a design shares: a design session in
// the program's folders (Folders.h), its messages printed to standard error, its
// progress dropped.
#pragma once

#include <cstdio>
#include <memory>
#include <optional>
#include <string>

#include "cli/Cli.h"
#include "base/Sinks.h"
#include "session/DesignSession.h"

namespace qz::cli {

class TStderrMessages : public IMessageSink {
 public:
  void ShowMessage(const std::string& text) override { std::fprintf(stderr, "%s\n", text.c_str()); }
};

// The message --text gives, decoded from UTF-8; nothing without the option. Invalid
// UTF-8 is a usage error naming the fault and its byte offset.
std::optional<std::u32string> MessageOption(const TArgs& args);
// --shaping on (true) or off (false); nothing without the option. Any other value is
// a usage error.
std::optional<bool> ShapingOption(const TArgs& args);

// A session on the work the command names, with --text applied.
struct TCliSession {
  TCliSession();
  // Loads the work as the designer does and applies --text and --shaping. False when
  // the file was refused (the message is printed); throws TUsageError for a --text
  // that is not UTF-8 or a --shaping other than on or off, before loading anything.
  bool Load(const std::string& path, const TArgs& args);
  // What a rebuild of the designer does, then one render (with the mask when asked):
  // with nothing to build, the designer's empty picture. A missing shape file is
  // reported first. Throws when the build is abandoned or the picture would be too
  // large.
  void BuildAndRender(bool withMask);
  // The build alone, as above (the textures loaded first); false when there was
  // nothing to build.
  bool Build();

  TStderrMessages messages;
  TNullProgressSink progress;
  TDesignSession session;
};

}  // namespace qz::cli
