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

// A session on the work the command names, with --text and --shaping applied as the
// designer's edits would apply them.
struct TCliSession {
  TCliSession();
  // Opens the work as the designer does (a template or factory design begins a new
  // design), builds it, then applies --text and --shaping as edits, so the export
  // size follows them as it would in the designer. False when the file was refused
  // (the message is printed); throws TUsageError for a --text that is not UTF-8 or a
  // --shaping other than on or off, before loading anything, and what a rebuild throws.
  bool Load(const std::string& path, const TArgs& args);
  // Build, then a render with the mask when asked: with nothing to build, the
  // designer's empty picture.
  void BuildAndRender(bool withMask);
  // A rebuild as the designer's, with what only the command line says about it: the
  // letters beyond those built, a missing shape file. False when there was nothing to
  // build.
  bool Build();

  TStderrMessages messages;
  TNullProgressSink progress;
  TDesignSession session;
};

}  // namespace qz::cli
