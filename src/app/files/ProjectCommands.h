// The File menu's commands without the main window: the question about unsaved
// changes and the naming rules of Save (works and templates). The window calls these
// and keeps the state they update.
//
//   if (Modified && !CommandGoesOn(AskUnsavedChanges(this, TProjectCommand::Open), save)) return;
//
//   TProjectFiles files{JobFile, TemplateFile, WorksDir, TemplatesDir};
//   if (auto target = AskSaveTarget(this, files))         // updates files on OK
//     session.Save(target->File);                         // the work with its icon
#pragma once

#include <QString>
#include <functional>
#include <optional>
#include <string>
#include <vector>


class QWidget;

namespace qz {

// ---- Unsaved changes --------------------------------------------------------------

enum class TProjectCommand { New, NewFromTemplate, Open, Quit };

struct TQuestion {
  const char* Text;
  const char* Title;
};

// "Save changes to current work?" with "New confirmation" (New and New from
// template) or "Open confirmation"; quitting asks "Save changes to current work
// before quit?" with "Quit confirmation".
TQuestion UnsavedChangesQuestion(TProjectCommand command);

enum class TUnsavedAnswer { Yes, No, Cancel };

// The question with Yes, No and Cancel (Escape and the close box answer Cancel).
TUnsavedAnswer AskUnsavedChanges(QWidget* parent, TProjectCommand command);

// Whether the command goes on after the answer: Yes runs save first and goes on
// whatever the save did (its dialog may be cancelled), No goes on, Cancel stops.
bool CommandGoesOn(TUnsavedAnswer answer, const std::function<void()>& save);

// ---- Save --------------------------------------------------------------------------

inline constexpr char WorkExtension[] = ".qznr";
inline constexpr char TemplateExtension[] = ".qzpl";

// The main window's file state that Save reads and updates. Folders end with "/".
struct TProjectFiles {
  std::string JobFile;       // the current work ("Untitled.qznr" at first)
  std::string TemplateFile;  // the template last saved or chosen
  std::string WorksDir;
  std::string TemplatesDir;
};

struct TSaveTarget {
  std::string File;          // where SaveToFile writes
  bool Template = false;
};

// Before the dialog: JobFile takes the extension ".qznr"; the result is the path the
// dialog proposes (WorksDir + the bare name of JobFile).
std::string PrepareSave(TProjectFiles& files);

// After the dialog, for the name chosen and the filter entry (from 1): entry 2 makes
// TemplateFile that name with ".qzpl" and TemplatesDir its folder; any other entry
// makes JobFile the name with ".qznr" and WorksDir its folder. The other two fields
// keep their values.
TSaveTarget ApplySaveChoice(TProjectFiles& files, const std::string& chosen, int filterIndex);

// The final name a choice is written to (extension by the entry), for the dialog's
// question about replacing a file.
std::string SaveFileName(const std::string& chosen, int filterIndex);

// PrepareSave, the save dialog (filters above, first entry preset, proposing the
// work's name in WorksDir), then ApplySaveChoice. Nothing on Cancel: files then keep
// what PrepareSave made of them.
std::optional<TSaveTarget> AskSaveTarget(QWidget* parent, TProjectFiles& files);

}  // namespace qz
