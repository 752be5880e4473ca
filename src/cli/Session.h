// What every quenzar-cli command that works on a design shares: the program's
// folders, one scene with its message, messages printed to standard error.
#pragma once

#include <cstdio>
#include <string>

#include "cli/Cli.h"
#include "platform/Sinks.h"
#include "scene/MessageText.h"
#include "scene/Scene.h"
#include "scene/Settings.h"

namespace qz::cli {

class TStderrMessages : public IMessageSink {
 public:
  void ShowMessage(const std::string& text) override {
    std::fprintf(stderr, "%s\n", text.c_str());
    ++count;
  }
  int count = 0;
};

struct TSession {
  TSession();
  // Loads the work as the designer does (then the light and ramps follow it) and
  // applies --text. False when the version was refused (the message is printed).
  bool Load(const std::string& path, const TArgs& args);
  // What a rebuild of the designer does, then one render: the textures loaded, the
  // scene built and rendered (with the mask when asked). An empty message, or a
  // heading of blanks only, gives the designer's empty preview instead: a 16 x 16 field
  // of the background colour (and a black mask). A missing shape file is reported on
  // standard error. Throws std::runtime_error when the build is abandoned or the
  // picture would be too large.
  void BuildAndRender(bool withMask);
  // The build alone (textures loaded, scene built, a missing shape file reported);
  // false, with nothing built, for an empty message or a heading of blanks only.
  // Throws std::runtime_error when the build is abandoned.
  bool Build();

  TStderrMessages messages;
  TSettings folders;  // ProgramDir and TexturesDir; Buttons.dat is not read
  TScene scene;
  TMessageText message;
};

}  // namespace qz::cli
