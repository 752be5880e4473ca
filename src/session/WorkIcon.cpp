#include "session/WorkIcon.h"

#include "image/formats/JpegWriter.h"
#include "image/Resample.h"
#include "scene/IconRecord.h"

namespace qz {

bool IconWanted(const TBitmap& picture, int dimWidth, int dimHeight) {
  return picture.Width() >= 2 && picture.Height() >= 2 && dimWidth >= 2 && dimHeight >= 2;
}

TBitmap MakeIcon(const TBitmap& picture) {
  TBitmap icon(IconWidth, IconHeight);
  ResampleImage(picture, icon, LanczosFilter, 3.0);
  return icon;
}

bool AddIcon(TIniFile& ini, const std::string& prefix, const TBitmap& picture, int dimWidth, int dimHeight,
             IProgressSink& sink) {
  if (!IconWanted(picture, dimWidth, dimHeight)) return false;
  sink.SetStatus(" Sretching icon ...");
  sink.ProcessMessages();
  const TBitmap icon = MakeIcon(picture);
  sink.SetStatus(" Saving icon ...");
  sink.ProcessMessages();
  SaveIconBytes(ini, prefix, EncodeJpeg(icon, IconJpegQuality), [&sink](int percent) { sink.SetProgress(percent); });
  sink.SetProgress(ProgressDone);
  sink.SetStatus(" Done");
  sink.ProcessMessages();
  return true;
}

}  // namespace qz
