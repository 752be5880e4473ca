// What the welcome dialog and the shape dialog share: a list of large icons
// (120 x 40 pictures with a caption under each), the box drawn when a file has no
// picture, and the listing of a folder by a file mask.
#pragma once

#include <QImage>
#include <QString>
#include <optional>
#include <string>
#include <vector>

#include "image/Bitmap.h"

class QFont;
class QListWidget;

namespace qz {

// Icon mode, pictures of 120 x 40, arranged automatically, read-only.
void SetUpIconList(QListWidget* list);
// The list's background: the palette's base colour while it lists a folder, its
// button colour while it is empty because there is nothing to list.
void ColourIconList(QListWidget* list, bool asWindow);

// A white 120 x 40 picture framed by a one-pixel green (0, 128, 0) rectangle from
// (0, 0) to (width - 2, height - 2) (the last column and row stay white, as a frame
// drawn from (0, 0) to (width - 1, height - 1) leaves them), with text centred in
// font: left = (width - text width) / 2, top = (height - text height) / 2.
QImage PlaceholderIcon(const QString& text, const QFont& font);

// A picture cut or extended (with white) to 120 x 40 from its top-left corner, not scaled.
QImage CropIcon(const TBitmap& picture);

// A mask "folder/pattern": the folder part with its "/" and the pattern after it.
struct TFileMask {
  std::string Folder;
  std::string Pattern;
};
TFileMask SplitMask(const std::string& mask);

// The names of the ordinary files in mask's folder that match its pattern (without
// regard to case), hidden files and folders left out; nothing when the folder does
// not exist. sorted: by name without regard to case; otherwise in the order the file
// system returns them.
std::optional<std::vector<std::string>> ListFolder(const TFileMask& mask, bool sorted);

// The files of several folders as one list of full paths: a name in an earlier folder
// hides the same name, in any case, in a later one (the user's own file wins over the
// factory's). A folder named twice is listed once; a folder that does not exist (or
// an empty name) lists nothing and is named in Missing. sorted: by name without
// regard to case; otherwise folder after folder in the file system's order.
struct TFolderListing {
  std::vector<std::string> Paths;
  std::vector<std::string> Missing;
  bool IsMissing(const std::string& folder) const;
};
TFolderListing ListFolders(const std::vector<std::string>& folders, const std::string& pattern, bool sorted);

// The message of a folder that cannot be listed: "Directory: "<folder>" does not exist",
// or emptyFolderText when the folder part is empty.
QString MissingFolderText(const std::string& folder, const QString& emptyFolderText);

}  // namespace qz
