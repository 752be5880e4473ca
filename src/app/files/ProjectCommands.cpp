#include "app/files/ProjectCommands.h"

#include <QMessageBox>
#include <QStringList>

#include "app/bridge/QtBridge.h"
#include "app/files/FileFilter.h"
#include "app/files/SaveDialog.h"
#include "base/FileUtil.h"

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

}  // namespace qz
