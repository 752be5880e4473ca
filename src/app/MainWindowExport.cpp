// "xport 3D Button": the scene rendered once more with its mask, the save dialog,
// the picture scaled to the export size and written, and with " Browser Preview"
// the preview data and page, shown in the browser window. The work itself is the
// export core's (export/); the window reads its controls and reports.
#include <QApplication>

#include "app/ExportOptions.h"
#include "app/ExportPage.h"
#include "app/MainWindow.h"
#include "app/MessageEdit.h"
#include "export/ExportRender.h"
#include "export/PreviewPage.h"
#include "scene/Scene.h"

namespace qz {

void TForm1::ExportClick() {
  // An edit whose rebuild still waits for the timer is part of what the user sees
  // as the design: it is carried out first, so the file matches the message.
  messageEdit_->ToMessageText(Text);
  if (!Deferred.Busy && (Deferred.RebuildPending || Deferred.TexturePending)) Rebuild();
  else if (!Deferred.Busy && Deferred.RenderPending) RedrawPreview(true);
  // A build lets no user input through while it runs, so a click never lands in one;
  // should the export be started from there all the same, it does nothing.
  if (Deferred.Busy) return;

  TExportOptions options = exportPage_->Options();
  std::optional<TRenderedButton> button;
  {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    Deferred.Busy = true;
    try {
      button = RenderForExport(*Scene, Text);  // says "Sorry, there is nothing to export"
    } catch (const std::exception& e) {
      ShowError(e.what());
    }
    Deferred.Busy = false;
    QApplication::restoreOverrideCursor();
  }
  if (!button) return;

  const std::optional<TExportTarget> target = AskExportFile(this, Settings.ProgramDir, Text.Text(), options.Format);
  if (!target) return;  // cancelled: nothing written, no preview
  options.Format = target->Format;

  QApplication::setOverrideCursor(Qt::WaitCursor);
  try {
    LastExportBytes = WriteImage(*button, Dim.Width, Dim.Height, options, target->Path);
  } catch (const std::exception& e) {
    QApplication::restoreOverrideCursor();
    ShowError(e.what());
    return;
  }
  QApplication::restoreOverrideCursor();
  if (!options.BrowserPreview) return;
  try {
    WritePreviewPage(Settings.ProgramDir,
                     MakeExportFacts(target->Path, Dim.Width, Dim.Height, options, LastExportBytes,
                                     Scene->BkgColor, LinkAddress().toStdString(), Text));
  } catch (const std::exception& e) {
    ShowError(e.what());  // the picture is written; only the page could not be
    return;
  }
  ShowPage("html/preview.html");
}

}  // namespace qz
