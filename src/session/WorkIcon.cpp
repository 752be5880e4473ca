#include "session/WorkIcon.h"

#include "image/Resample.h"
#include "scene/IconRecord.h"

namespace qz {

bool IconWanted(const TBitmap& preview, int dimWidth, int dimHeight) {
  return preview.Width() >= 2 && preview.Height() >= 2 && dimWidth >= 2 && dimHeight >= 2;
}

TBitmap MakeIcon(const TBitmap& preview) {
  TBitmap icon(IconWidth, IconHeight);
  ResampleImage(preview, icon, LanczosFilter, 3.0);
  return icon;
}

bool SaveIcon(const std::string& fileName, const std::string& prefix, const TBitmap& preview, int dimWidth,
              int dimHeight, IProgressSink& sink) {
  if (!IconWanted(preview, dimWidth, dimHeight)) return false;
  sink.SetStatus(" Sretching icon ...");
  sink.ProcessMessages();
  // A copy: the preview may be repainted while pending messages run.
  const TBitmap scratch = preview;
  const TBitmap icon = MakeIcon(scratch);
  sink.SetStatus(" Saving icon ...");
  sink.ProcessMessages();
  SaveIconToIni(fileName, prefix, icon, [&sink](int percent) { sink.SetProgress(percent); });
  sink.SetProgress(ProgressDone);
  sink.SetStatus(" Done");
  sink.ProcessMessages();
  return true;
}

}  // namespace qz
