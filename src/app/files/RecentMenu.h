// TRecentMenu: File -> "Open &Recent", the works and templates opened or saved last
// (scene/RecentFiles.h), newest first, numbered 1 to 10 with the file's name (its
// whole path as the entry's tip). The entries are made anew each time the menu
// opens, so they always show the list as it stands; a file that has gone is still
// listed, and choosing it says so and takes it off (the window does that).
#pragma once

#include <QMenu>

namespace qz {

class TRecentFiles;

class TRecentMenu : public QMenu {
  Q_OBJECT
 public:
  TRecentMenu(TRecentFiles& files, QWidget* parent);

 signals:
  void Chosen(const QString& path);

 private:
  void Fill();

  TRecentFiles& files_;
};

}  // namespace qz
