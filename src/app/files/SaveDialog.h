// The save dialogs of the program (works and templates, exported images) share one
// shape: a filter list whose chosen entry decides the file's format, and a name
// whose extension is then replaced by that format's. Because the name finally
// written differs from the one typed ("shiny.txt" is saved as shiny.qznr), the
// question before replacing a file is asked here about the final name, not by the
// dialog about the typed one: otherwise an existing shiny.qznr would be overwritten
// without a word.
//
//   TSaveRequest r{"Save 3D Button", {"GIF Image (*.gif)", ...}, 1, "/x/Images/Go.gif",
//                  [](const std::string& typed, int filter) { return ...final name...; }};
//   if (auto choice = RunSaveDialog(this, r)) Write(choice->Path, choice->FilterIndex);
#pragma once

#include <QString>
#include <QStringList>
#include <functional>
#include <optional>
#include <string>

class QWidget;

namespace qz {

struct TSaveRequest {
  QString Title;                 // empty: the dialog's own title
  QStringList Filters;           // Qt form: "GIF Image (*.gif)"
  int FilterIndex = 1;           // preset entry, from 1
  std::string ProposedPath;      // folder and file name shown at first
  // The name that will be written for what the user typed and the entry chosen.
  std::function<std::string(const std::string& typed, int filterIndex)> FinalName;
};

struct TSaveChoice {
  std::string Path;              // the final name (FinalName applied)
  int FilterIndex = 1;           // the entry chosen, from 1
};

// Nothing when the user cancels; asks again when the user declines to replace.
std::optional<TSaveChoice> RunSaveDialog(QWidget* parent, const TSaveRequest& request);

}  // namespace qz
