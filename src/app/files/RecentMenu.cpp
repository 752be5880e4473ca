#include "app/files/RecentMenu.h"

#include "app/bridge/QtBridge.h"
#include "base/FileUtil.h"
#include "scene/RecentFiles.h"

namespace qz {

TRecentMenu::TRecentMenu(TRecentFiles& files, QWidget* parent)
    : QMenu("Open &Recent", parent), files_(files) {
  setToolTipsVisible(true);
  connect(this, &QMenu::aboutToShow, this, &TRecentMenu::Fill);
  Fill();
}

void TRecentMenu::Fill() {
  clear();
  int n = 0;
  for (const std::string& path : files_.Files()) {
    const QString file = PathToQt(path);
    // "&1" to "&9" choose by key; the tenth is "1&0", as desktop editors number them.
    const QString number = ++n < 10 ? "&" + QString::number(n) : "1&0";
    QAction* entry = addAction(number + "  " + PathToQt(BareFileName(path)).replace('&', "&&"));
    entry->setToolTip(file);
    connect(entry, &QAction::triggered, this, [this, file] { emit Chosen(file); });
  }
  if (n == 0) addAction("No recent works")->setEnabled(false);
}

}  // namespace qz
