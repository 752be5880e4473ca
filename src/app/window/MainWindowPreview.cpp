// Rebuild, render and preview: the window's entries around the session's build and
// render, with the status texts, the progress bar, the wait cursor and the guard that
// keeps a second build or render from starting while one lets events run.
#include <QApplication>
#include <QLabel>
#include <QPixmap>
#include <QProgressBar>

#include "app/bridge/QtBridge.h"
#include "app/widgets/MessageEdit.h"
#include "app/window/MainWindow.h"
#include "app/window/PreviewPanel.h"

namespace qz {

TBusyScope::TBusyScope(TMainWindow& window) : window_(window), wasBusy_(window.Deferred.Busy) {
  window_.Deferred.Busy = true;
  QApplication::setOverrideCursor(Qt::WaitCursor);
}

TBusyScope::~TBusyScope() {
  QApplication::restoreOverrideCursor();
  window_.Deferred.Busy = wasBusy_;
}

void TMainWindow::Rebuild() {
  if (Deferred.Busy) {  // a request while a build or render runs waits for a tick
    Deferred.RebuildPending = true;
    return;
  }
  Deferred.RebuildDone();
  progressBar_->setValue(ProgressStart);
  Deferred.ProgressPending = false;
  if (Session->NothingToBuild()) {
    Session->Rebuild();  // the background alone
    ShowPreview(false);
    return;
  }
  rebuilding_ = true;
  ReadTextureScales();
  bool built = false;
  {
    TBusyScope busy(*this);
    // A stage that fails (an unreadable shape file) abandons the build; what the
    // stages before it made is kept.
    built = Try([this] { Session->Rebuild(); });
  }
  SetModified(!Session->History.IsClean());
  if (built) {
    RedrawPreview(true);
    Session->RefitExportSize();
  } else {
    progressBar_->setValue(ProgressStart);
  }
  rebuilding_ = false;
  ShowTextureScales();
  // The export size and texture scales the build fitted belong to the present state.
  Session->History.Amend(Session->State());
  if (built) emit Rebuilt();
}

bool TMainWindow::FinishPendingEdits() {
  MessageEdit()->ToMessageText(Session->Text);
  if (!Deferred.Busy && (Deferred.RebuildPending || Deferred.TexturePending)) Rebuild();
  else if (!Deferred.Busy && Deferred.RenderPending) RedrawPreview(true);
  // A build lets no user input through while it runs, so a click never lands in one;
  // should a command be started from there all the same, it does nothing.
  return !Deferred.Busy;
}

void TMainWindow::RedrawPreview(bool smooth) {
  if (Deferred.Busy) {
    Deferred.RenderPending = true;
    return;
  }
  Deferred.RenderDone();
  if (Session->Text.Length() == 0) {
    ShowPreview(false);
    return;
  }
  if (!rebuilding_) {
    progressBar_->setValue(ProgressStart);
    Deferred.ProgressPending = false;
  }
  const long long kilobytes = AllocatedKilobytes();
  {
    TBusyScope busy(*this);
    // A picture too large to render: said so, the preview kept as it was.
    if (!Try([this] { Session->Render(false, true); })) {
      progressBar_->setValue(ProgressStart);
      progress_->SetStatus("");
      return;
    }
    ShowPreview(smooth);
  }
  const TView3D& view = Session->Built().View;
  statusPanels_[0]->setText("V : " + QString::number(view.VertexCount()));
  statusPanels_[1]->setText("F : " + QString::number(view.FaceCount()));
  statusPanels_[2]->setText(QString::number(kilobytes) + " Kb");
  emit Redrawn();
}

void TMainWindow::ShowPreview(bool smooth) {
  if (progressBar_->value() == ProgressDone) progressBar_->setValue(ProgressStart);
  if (!Session) return;
  TBusyScope busy(*this);
  const TBitmap& preview = Session->ScalePreview(preview_->width(), preview_->height(), smooth);
  SetBkgColor(Session->Params.BkgColor);
  preview_->SetPicture(QPixmap::fromImage(BitmapToQImage(preview)));
  progress_->SetProgress(ProgressDone);
  progress_->SetStatus(" Done");
  Deferred.ShowDone(RDelayTicks());
}

void TMainWindow::PreviewResized() {
  // Rescales the picture already rendered; a render in progress shows its own
  // picture at the new size when it ends.
  if (Deferred.Busy || !Session || firstShow_) return;
  ShowPreview(true);
}

}  // namespace qz
