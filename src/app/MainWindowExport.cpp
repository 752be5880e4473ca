// "xport 3D Button": the design rendered once more with its mask, the save dialog,
// the picture scaled to the export size and written, and with " Browser Preview"
// the preview data and page, shown in the browser window. The work itself is the
// session's; the window reads its controls and reports.
#include "app/ExportOptions.h"
#include "app/ExportPage.h"
#include "app/MainWindow.h"
#include "app/MessageEdit.h"

namespace qz {

void TForm1::ExportClick() {
  // An edit whose rebuild still waits for the timer is part of what the user sees
  // as the design: it is carried out first, so the file matches the message.
  MessageEdit()->ToMessageText(Session->Text);
  if (!Deferred.Busy && (Deferred.RebuildPending || Deferred.TexturePending)) Rebuild();
  else if (!Deferred.Busy && Deferred.RenderPending) RedrawPreview(true);
  // A build lets no user input through while it runs, so a click never lands in one;
  // should the export be started from there all the same, it does nothing.
  if (Deferred.Busy) return;

  TExportOptions options = ExportPage()->Options();
  std::optional<TRenderedButton> button;
  {
    TBusyScope busy(*this);
    Try([&] { button = Session->RenderForExport(); });  // says "Sorry, there is nothing to export"
  }
  if (!button) return;

  const std::optional<TExportTarget> target =
      AskExportFile(this, Settings.ProgramDir, Session->Text, options.Format);
  if (!target) return;  // cancelled: nothing written, no preview
  options.Format = target->Format;

  const TExportSize size{Session->Dim.Width, Session->Dim.Height};
  uint64_t bytes = 0;
  {
    TBusyScope busy(*this);
    if (!Try([&] { bytes = Session->WriteExport(*button, size, options, target->Path); })) return;
  }
  if (!options.BrowserPreview) return;
  // Should the page fail, the picture is written all the same: only the page is missing.
  if (!Try([&] { Session->WritePreviewPage(target->Path, size, options, bytes, LinkAddress().toStdString()); }))
    return;
  ShowPage("html/preview.html");
}

}  // namespace qz
