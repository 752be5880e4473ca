// TDeferredWork: the main window's slider and spinner edits are not carried out at
// once. An edit records what is due (a rebuild, a re-render) and restarts a countdown
// of timer ticks; the 250 ms timer runs the work once the user pauses, so dragging a
// slider rebuilds once, not at every step.
//
// No widgets here: the window connects its timer to Tick() and hands in what to run.
#pragma once

#include <functional>

namespace qz {

class TDeferredWork {
 public:
  struct THandlers {
    std::function<void()> Rebuild;        // must call RebuildDone()
    std::function<void()> RedrawPreview;  // must call RenderDone()
    std::function<void()> ClearProgress;  // progress bar 0, status panel 3 emptied
  };

  explicit TDeferredWork(THandlers handlers) : h_(std::move(handlers)) {}

  int DelayTicks = 0;
  bool RebuildPending = false;
  bool RenderPending = false;
  bool ProgressPending = false;
  int ProgressTicks = 0;
  // Set while a build or render runs (and lets events run): a tick then leaves all
  // pending work for a later tick, so nothing starts a second build of the design.
  bool Busy = false;

  // "rebuild deferred" / "render deferred": due after delay more ticks.
  void DeferRebuild(int delay) {
    RebuildPending = true;
    DelayTicks = delay;
  }
  void DeferRender(int delay) {
    RenderPending = true;
    DelayTicks = delay;
  }

  void RebuildDone() { RebuildPending = RenderPending = false; }
  void RenderDone() { RenderPending = false; }
  // The end of a run: " Done" shows for delay + 1 ticks, then the timer clears it.
  void ShowDone(int delay) {
    ProgressPending = true;
    ProgressTicks = delay + 1;
  }

  // One timer tick.
  void Tick();

 private:
  THandlers h_;
};

}  // namespace qz
