// The program's plain message box (a sentence and OK, the application's title as
// caption), used by the dialogs for their own messages ("Directory: ..."), and the
// question asked before a save replaces an existing file.
#pragma once

#include <QString>

class QWidget;

namespace qz {

void ShowDialogMessage(QWidget* parent, const QString& text);

// "<name> already exists. Do you want to replace it?" with Yes and No; true for Yes.
bool AskReplaceFile(QWidget* parent, const QString& path);

}  // namespace qz
