#include "app/window/DeferredWork.h"

namespace qz {

void TDeferredWork::Tick() {
  if (Busy) return;
  if (DelayTicks > 0) {
    --DelayTicks;
  } else {
    if (RebuildPending) h_.Rebuild();
    if (TexturePending) {
      // Reload the textures the view holds, so their new scales take effect; with
      // none loaded the flag waits for the next rebuild.
      if (h_.TextTextured()) h_.LoadTextTexture();
      if (h_.ButtonTextured()) h_.LoadButtonTexture();
      if (h_.TextTextured() || h_.ButtonTextured()) h_.Rebuild();
    }
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
