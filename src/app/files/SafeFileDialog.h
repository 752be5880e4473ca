// The program's file and folder choosers: Qt's own dialog with icons chosen by the kind
// of entry alone. Qt's standard icon provider reads a file's first bytes to find its
// type, and a special file (/proc/kmsg) never answers: the dialog would hang for good.
//
//   QFileDialog dialog(parent, "Select Texture", start);
//   UsePlainIcons(dialog);
#pragma once

class QFileDialog;

namespace qz {

// Gives the dialog icons by kind (folder or file) that never open a file; the dialog
// keeps them for its life.
void UsePlainIcons(QFileDialog& dialog);

}  // namespace qz
