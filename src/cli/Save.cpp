// quenzar-cli save WORK OUT [--text TEXT]: the work written as the designer's Save
// writes it (a template by the extension .qzpl alike), with its export size and its
// icon made from a fresh build and render.
#include "cli/Cli.h"
#include "cli/Session.h"

namespace qz::cli {

int Save(const TArgs& args) {
  TCliSession cli;
  if (!cli.Load(args.positional[0], args)) return ExitFailed;
  cli.Build();
  cli.session.Save(args.positional[1]);
  return ExitOk;
}

}  // namespace qz::cli
