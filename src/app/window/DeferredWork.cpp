#include "app/window/DeferredWork.h"

namespace qz {

void TDeferredWork::Tick() {
  if (Busy) return;
  if (DelayTicks > 0) {
    --DelayTicks;
  } else {
    if (RebuildPending) h_.Rebuild();  // renders too
    if (RenderPending) h_.RedrawPreview();
  }
  if (ProgressPending) {
    if (ProgressTicks <= 0) {
      h_.ClearProgress();
      ProgressPending = false;
    } else {
      --ProgressTicks;
    }
  }
}

}  // namespace qz
