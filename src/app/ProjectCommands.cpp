#include "app/ProjectCommands.h"

#include <QMessageBox>
#include <QStringList>

#include "app/FileFilter.h"
#include "app/SaveDialog.h"
#include "app/QtBridge.h"
#include "platform/FileUtil.h"
#include "platform/IniFile.h"
#include "platform/JpegWriter.h"
#include "render/Resample.h"
#include "scene/IconRecord.h"

namespace qz {

// ---- Unsaved changes --------------------------------------------------------------

TQuestion UnsavedChangesQuestion(TProjectCommand command) {
  switch (command) {
    case TProjectCommand::New:
    case TProjectCommand::NewFromTemplate:
      return {"Save changes to current work?", "New confirmation"};
    case TProjectCommand::Open:
      return {"Save changes to current work?", "Open confirmation"};
    case TProjectCommand::Quit:
      break;
  }
  return {"Save changes to current work before quit?", "Quit confirmation"};
}

TUnsavedAnswer AskUnsavedChanges(QWidget* parent, TProjectCommand command) {
  const TQuestion q = UnsavedChangesQuestion(command);
  QMessageBox box(QMessageBox::Question, q.Title, q.Text,
                  QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, parent);
  box.setEscapeButton(QMessageBox::Cancel);
  switch (box.exec()) {
    case QMessageBox::Yes: return TUnsavedAnswer::Yes;
    case QMessageBox::No: return TUnsavedAnswer::No;
    default: return TUnsavedAnswer::Cancel;
  }
}

bool CommandGoesOn(TUnsavedAnswer answer, const std::function<void()>& save) {
  if (answer == TUnsavedAnswer::Cancel) return false;
  if (answer == TUnsavedAnswer::Yes && save) save();
  return true;
}

// ---- Save --------------------------------------------------------------------------

std::string PrepareSave(TProjectFiles& files) {
  files.JobFile = ReplaceFileExt(files.JobFile, WorkExtension);
  return files.WorksDir + BareFileName(files.JobFile);
}

std::string SaveFileName(const std::string& chosen, int filterIndex) {
  return ReplaceFileExt(chosen, filterIndex == 2 ? TemplateExtension : WorkExtension);
}

TSaveTarget ApplySaveChoice(TProjectFiles& files, const std::string& chosen, int filterIndex) {
  TSaveTarget target{SaveFileName(chosen, filterIndex), filterIndex == 2};
  if (target.Template) {
    files.TemplateFile = target.File;
    files.TemplatesDir = FolderOf(target.File);
  } else {
    files.JobFile = target.File;
    files.WorksDir = FolderOf(target.File);
  }
  return target;
}

std::optional<TSaveTarget> AskSaveTarget(QWidget* parent, TProjectFiles& files) {
  TSaveRequest request;
  request.Filters = WorkSaveFilters();
  request.FilterIndex = 1;
  request.ProposedPath = PrepareSave(files);
  request.FinalName = SaveFileName;
  auto choice = RunSaveDialog(parent, request);
  if (!choice) return std::nullopt;
  // The dialog has already applied the extension; applying it again changes nothing.
  return ApplySaveChoice(files, choice->Path, choice->FilterIndex);
}

// ---- The preview icon -------------------------------------------------------------

bool IconWanted(const TBitmap& preview, int dimWidth, int dimHeight) {
  return preview.Width() >= 2 && preview.Height() >= 2 && dimWidth >= 2 && dimHeight >= 2;
}

TBitmap MakeIcon(const TBitmap& preview) {
  TBitmap icon(IconWidth, IconHeight);
  ResampleImage(preview, icon, LanczosFilter, 3.0);
  return icon;
}

void StoreIcon(const std::string& fileName, const std::string& prefix,
               const std::vector<uint8_t>& jpeg, IProgressSink& sink) {
  TIniFile ini(fileName);
  if (!ini.ReadError().empty()) throw std::runtime_error(ini.ReadError());
  SaveIconBytes(ini, prefix, jpeg, [&sink](int percent) { sink.SetProgress(percent); });
  ini.Flush();
}

bool SaveIcon(const std::string& fileName, const std::string& prefix, const TBitmap& preview,
              int dimWidth, int dimHeight, IProgressSink& sink) {
  if (!IconWanted(preview, dimWidth, dimHeight)) return false;
  sink.SetStatus(" Sretching icon ...");
  sink.ProcessMessages();
  // A copy: the preview may be repainted while pending messages run.
  const TBitmap scratch = preview;
  const TBitmap icon = MakeIcon(scratch);
  sink.SetStatus(" Saving icon ...");
  sink.ProcessMessages();
  StoreIcon(fileName, prefix, EncodeJpeg(icon, IconJpegQuality), sink);
  sink.SetProgress(100);
  sink.SetStatus(" Done");
  sink.ProcessMessages();
  return true;
}

}  // namespace qz
