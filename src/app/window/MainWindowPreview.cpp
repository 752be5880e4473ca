// Rebuild, render and preview: the window's entries around the session's build and
// render, with the status texts, the progress bar, the wait cursor and the guard that
// keeps a second build or render from starting while one lets events run; and the
// light marker over the preview, shown on its own tab.
#include <QApplication>
#include <QLabel>
#include <QPixmap>
#include <QProgressBar>

#include "app/bridge/QtBridge.h"
#include "app/widgets/MessageEdit.h"
#include "app/window/DesignControls.h"
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
  // A stage that fails (an unreadable shape file) abandons the build, what the stages
  // before it made kept; a picture too large to render is said so, the preview kept.
  const bool built = Rendered([this] { Session->Rebuild(); });
  controls_->ShowTextureScales();
  if (built) emit Rebuilt();
}

bool TMainWindow::FinishPendingEdits() {
  if (!Deferred.Busy && Deferred.RebuildPending) Rebuild();
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
  if (Session->Text().Length() == 0) {
    ShowPreview(false);
    return;
  }
  progressBar_->setValue(ProgressStart);
  Deferred.ProgressPending = false;
  Rendered([this] { Session->Render(false, true); }, smooth);
}

bool TMainWindow::Rendered(const std::function<void()>& render, bool smooth) {
  const long long kilobytes = AllocatedKilobytes();
  {
    TBusyScope busy(*this);
    if (!Try(render)) {
      progressBar_->setValue(ProgressStart);
      progress_->SetStatus("");
      return false;
    }
    ShowPreview(smooth);
  }
  const TView3D& view = Session->Built().View;
  statusPanels_[0]->setText("V : " + QString::number(view.VertexCount()));
  statusPanels_[1]->setText("F : " + QString::number(view.FaceCount()));
  statusPanels_[2]->setText(QString::number(kilobytes) + " Kb");
  emit Redrawn();
  return true;
}

void TMainWindow::ShowPreview(bool smooth) {
  if (progressBar_->value() == ProgressDone) progressBar_->setValue(ProgressStart);
  if (!Session) return;
  TBusyScope busy(*this);
  const TBitmap& preview = Session->ScalePreview(preview_->width(), preview_->height(), smooth);
  ShowBackground();
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

void TMainWindow::TabChange(int index) {
  const bool light = index == static_cast<int>(TTab::LightSource);
  preview_->Marker()->setEnabled(light);
  preview_->Marker()->setVisible(light);
  if (light) preview_->Marker()->raise();
  if (index == static_cast<int>(TTab::Dimensions)) controls_->ShowDimensionsTab();
}

void TMainWindow::PlaceLightMarker() {
  const TParams& p = Session->Params();
  const TMarkerPoint c = LightMarkerCentre(p.A1, p.A2, preview_->width(), preview_->height());
  preview_->Marker()->move(c.X - MarkerHalf, c.Y - MarkerHalf);
}

void TMainWindow::DropLightMarker(QPoint pointInPreview) {
  const TLightAngles a =
      LightAnglesAt(pointInPreview.x(), pointInPreview.y(), preview_->width(), preview_->height());
  FollowUp(TControl::LightMarker, Session->SetLightAngles(a.A1, a.A2));
}

void TMainWindow::ShowDimensionsTab() { controls_->ShowDimensionsTab(); }

}  // namespace qz
