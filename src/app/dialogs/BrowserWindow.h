// TBrowserWindow: the browser window that shows the HTML preview page after an export
// and the About and Help pages. It is one window for the whole run, reused for every
// page; closing it only hides it. The web engine (Chromium, through QWebEngineView)
// is started on first use, not when the window object is made, so the program and
// its tests start without it. Without QtWebEngine the page opens in the desktop's
// own browser instead.
//
//   TBrowserWindow browser(mainWindow);                   // cheap: no engine yet
//   browser.ShowURL(folders.PreviewPage());               // a page file
//
// Give the main window as parent: the browser window is then no reason to keep the
// program running once the main window has closed.
#pragma once

#include <QWidget>
#include <string>

#ifdef QZ_HAVE_WEBENGINE
class QWebEngineView;
#endif

namespace qz {

class TBrowserWindow : public QWidget {
  Q_OBJECT
 public:
  explicit TBrowserWindow(QWidget* parent = nullptr);

  // Loads a file (a page already shown is reloaded) and shows the window, not modal.
  void ShowURL(const std::string& fullFileName);

#ifdef QZ_HAVE_WEBENGINE
  QWebEngineView* PageView = nullptr;  // made by the first ShowURL
#endif

 private:
  void CreateBrowser();
  bool shownOnce_ = false;
};

}  // namespace qz
