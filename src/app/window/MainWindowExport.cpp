// "xport 3D Button": the design rendered once more with its mask, the save dialog,
// the picture scaled to the export size and written (with its high-density and state
// pictures when the page asks for them), and with " Browser Preview" the preview data
// and page, shown in the browser window. The work itself is the session's; the window
// reads its controls and reports.
#include "app/export/ExportChoices.h"
#include "app/export/ExportPage.h"
#include "app/window/MainWindow.h"

namespace qz {

void TMainWindow::ExportClick() {
  // An edit whose rebuild still waits for the timer is part of what the user sees
  // as the design: it is carried out first, so the file matches the message.
  if (!FinishPendingEdits()) return;

  // A size no picture can have is refused before the user picks a file for it, and so
  // is one whose high-density picture would be too large.
  const TExportSize size = Session->ExportSize();
  const int scale = ExportPage()->Options().Scale;
  if (!Try([&] {
        CheckExportSize(size.width, size.height);
        if (scale > 1) CheckExportSize(int64_t{size.width} * scale, int64_t{size.height} * scale);
      }))
    return;
  std::optional<TRenderedButton> button;
  {
    TBusyScope busy(*this);
    Try([&] { button = Session->RenderForExport(); });  // says "Sorry, there is nothing to export"
  }
  if (!button) return;

  const std::optional<TExportTarget> target =
      AskExportFile(this, Settings.Folders, Session->Text(), ExportPage()->Format());
  if (!target) return;  // cancelled: nothing written, no preview
  // The entry chosen in the dialog decides the format, and so whose quality counts.
  const TExportOptions options = ExportPage()->OptionsFor(target->Format);

  bool written = false;
  {
    TBusyScope busy(*this);
    written = Try([&] { Session->Export(*button, size, options, target->Path, LinkAddress().toStdString()); });
  }
  if (written && options.BrowserPreview) ShowPage(Settings.Folders.PreviewPage());
}

}  // namespace qz
