// quenzar-cli save WORK OUT [--text TEXT]: the work written as the designer's Save
// writes it (a template by the extension .qzpl alike), its export size and its icon
// record made from a fresh build and render.
#include "cli/Cli.h"
#include "cli/Session.h"
#include "export/ExportImage.h"
#include "export/ExportSize.h"

namespace qz::cli {

int Save(const TArgs& args) {
  TCliSession cli;
  TDesignSession& session = cli.session;
  if (!cli.Load(args.positional[0], args)) return ExitFailed;
  cli.BuildAndRender(false);

  // The export size the designer would show: the work's own when it holds its size
  // (and that is one an export can have), else the one fitted to the picture.
  const TParams& p = session.Params;
  const TExportSize size = p.HoldButtonSize && IsExportSize(p.ExpWidth, p.ExpHeight)
                               ? TExportSize{p.ExpWidth, p.ExpHeight}
                               : session.FittedExportSize();
  const TPicture& picture = session.Picture();
  session.Dim = {size.width, size.height, picture.Image.Width(), picture.Image.Height()};
  // The icon comes from a preview of the picture in an area as large as the picture.
  session.ScalePreview(picture.Image.Width(), picture.Image.Height(), true);
  session.Save(args.positional[1]);
  return ExitOk;
}

}  // namespace qz::cli
