// Rebuild, render and preview: the window's entries around the core's build and
// render, with the status texts, the progress bar, the hourglass and the guard that
// keeps a second build or render from starting while one lets events run.
#include <QApplication>
#include <QImage>
#include <QLabel>
#include <QPixmap>
#include <QProgressBar>
#include <QSignalBlocker>
#include <QSpinBox>
#include <stdexcept>

#include "app/MainWindow.h"
#include "app/PreviewPanel.h"
#include "app/QtBridge.h"
#include "platform/Numeric.h"
#include "render/RenderDriver.h"
#include "scene/Build.h"
#include "scene/ExportSize.h"
#include "scene/Scene.h"

namespace qz {

// While it lives: the window is busy (the timer leaves its work for a later tick,
// rebuild and render requests wait), and the hourglass shows. Nests.
class TBusyScope {
 public:
  explicit TBusyScope(TForm1& form) : form_(form), wasBusy_(form.Deferred.Busy) {
    form_.Deferred.Busy = true;
    QApplication::setOverrideCursor(Qt::WaitCursor);
  }
  ~TBusyScope() {
    QApplication::restoreOverrideCursor();
    form_.Deferred.Busy = wasBusy_;
  }
  TBusyScope(const TBusyScope&) = delete;
  TBusyScope& operator=(const TBusyScope&) = delete;

 private:
  TForm1& form_;
  bool wasBusy_;
};

void TForm1::Rebuild() {
  if (Deferred.Busy) {  // a request while a build or render runs waits for a tick
    Deferred.RebuildPending = true;
    return;
  }
  Deferred.RebuildDone();
  progressBar_->setValue(0);
  Deferred.ProgressPending = false;
  // Nothing to build: an empty message, or a heading of blanks only.
  if (Text.Length() == 0 || (Scene->Type <= 0 && TScene::CountNonBlank(Text.Text()) < 1)) {
    ClearImage(*Scene);
    ShowPreview(false);
    return;
  }
  rebuilding_ = true;
  Scene->Message.TexW = static_cast<float>(static_cast<QSpinBox*>(Control(TControl::TextTexWidth))->value());
  Scene->Message.TexH = static_cast<float>(static_cast<QSpinBox*>(Control(TControl::TextTexHeight))->value());
  Scene->Button.TexW = static_cast<float>(static_cast<QSpinBox*>(Control(TControl::ButtonTexWidth))->value());
  Scene->Button.TexH = static_cast<float>(static_cast<QSpinBox*>(Control(TControl::ButtonTexHeight))->value());
  bool built = true;
  {
    TBusyScope busy(*this);
    try {
      Build(*Scene, Text);
    } catch (const std::exception& e) {
      // A stage that fails (an unreadable shape file) abandons the build; the scene
      // keeps what the stages before it made.
      built = false;
      ShowError(e.what());
    }
  }
  Modified = true;
  if (built) {
    RedrawPreview(true);
    // The export size follows a render image of a new size, unless it is held.
    if (!Scene->HoldButtonSize &&
        (Scene->Image.Width() != Dim.BaseWidth || Scene->Image.Height() != Dim.BaseHeight)) {
      Dim.BaseWidth = Scene->Image.Width();
      Dim.BaseHeight = Scene->Image.Height();
      const TExportSize fit = FitExportSize(Dim.BaseWidth, Dim.BaseHeight);
      Dim.Width = fit.width;
      Dim.Height = fit.height;
    }
  } else {
    progressBar_->setValue(0);
  }
  rebuilding_ = false;
  // The texture stage may have changed the scales: show them.
  const std::pair<TControl, float> scales[] = {{TControl::TextTexWidth, Scene->Message.TexW},
                                               {TControl::TextTexHeight, Scene->Message.TexH},
                                               {TControl::ButtonTexWidth, Scene->Button.TexW},
                                               {TControl::ButtonTexHeight, Scene->Button.TexH}};
  for (const auto& [id, value] : scales) {
    auto* spin = static_cast<QSpinBox*>(Control(id));
    const QSignalBlocker block(spin);
    spin->setValue(RoundHalfEven(value));
  }
  if (built) emit Rebuilt();
}

void TForm1::RedrawPreview(bool smooth) {
  if (Deferred.Busy) {
    Deferred.RenderPending = true;
    return;
  }
  Deferred.RenderDone();
  if (Text.Length() == 0) {
    ShowPreview(false);
    return;
  }
  if (!rebuilding_) {
    progressBar_->setValue(0);
    Deferred.ProgressPending = false;
  }
  const long long kilobytes = AllocatedKilobytes();
  {
    TBusyScope busy(*this);
    try {
      RenderScene(*Scene, false, true);
    } catch (const std::exception& e) {
      // A picture too large to render: say so, keep the preview as it was.
      progressBar_->setValue(0);
      progress_->SetStatus("");
      ShowError(e.what());
      return;
    }
    ShowPreview(smooth);
  }
  statusPanels_[0]->setText("V : " + QString::number(Scene->View.VertexCount()));
  statusPanels_[1]->setText("F : " + QString::number(Scene->View.FaceCount()));
  statusPanels_[2]->setText(QString::number(kilobytes) + " Kb");
  emit Redrawn();
}

void TForm1::ShowPreview(bool smooth) {
  if (progressBar_->value() == 100) progressBar_->setValue(0);
  if (!Scene) return;
  TBusyScope busy(*this);
  if (Text.Length() == 0) {
    Scene->Image.SetSize(16, 16);
    ClearImage(*Scene);
    smooth = false;
  }
  const TPreviewSize size = PreviewSize(Scene->Image.Width(), Scene->Image.Height(), preview_->width(),
                                        preview_->height(), Scene->ViewSize);
  progress_->SetProgress(80);
  progress_->SetStatus(" Stretching preview ...");
  progress_->ProcessMessages();
  PreviewBitmap = ScalePreview(Scene->Image, size, smooth);
  progress_->SetProgress(95);
  progress_->SetStatus(" Displaying preview ...");
  progress_->ProcessMessages();
  SetBkgColor(Scene->BkgColor);
  preview_->SetPicture(QPixmap::fromImage(BitmapToQImage(PreviewBitmap)));
  progress_->SetProgress(100);
  progress_->SetStatus(" Done");
  Deferred.ShowDone(RDelayTicks());
}

void TForm1::PreviewResized() {
  // Rescales the picture already rendered; a render in progress shows its own
  // picture at the new size when it ends.
  if (Deferred.Busy || !Scene || firstShow_) return;
  ShowPreview(true);
}

}  // namespace qz
