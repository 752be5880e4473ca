#include "app/dialogs/BrowserWindow.h"

#include <QDesktopServices>
#include <QUrl>
#include <QVBoxLayout>

#include "app/bridge/QtBridge.h"

#ifdef QZ_HAVE_WEBENGINE
#include <QWebEngineView>
#endif

namespace qz {

TBrowserWindow::TBrowserWindow(QWidget* parent) : QWidget(parent) {
  // A window of its own even with a parent: a border, a system menu and a maximise
  // box, no minimise box.
  setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                 Qt::WindowSystemMenuHint | Qt::WindowMaximizeButtonHint | Qt::WindowCloseButtonHint);
  setAttribute(Qt::WA_DeleteOnClose, false);  // closing hides the window
  setWindowTitle("Quenzar");
  resize(1024, 720);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
}

void TBrowserWindow::CreateBrowser() {
#ifdef QZ_HAVE_WEBENGINE
  if (PageView) return;
  PageView = new QWebEngineView(this);
  layout()->addWidget(PageView);
  // The caption follows the page's title.
  connect(PageView, &QWebEngineView::titleChanged, this, [this](const QString& title) {
    if (!title.isEmpty()) setWindowTitle(title);
  });
#endif
}

void TBrowserWindow::ShowURL(const std::string& fullFileName) {
  const QUrl url = QUrl::fromLocalFile(PathToQt(fullFileName));
#ifdef QZ_HAVE_WEBENGINE
  CreateBrowser();
  // The page may have been rewritten since it was shown (a new export): the same
  // address is reloaded from the file, another one is navigated to.
  if (PageView->url() == url)
    PageView->triggerPageAction(QWebEnginePage::ReloadAndBypassCache);
  else
    PageView->setUrl(url);
  if (!shownOnce_) {
    shownOnce_ = true;
    showMaximized();
  } else {
    show();
  }
  raise();
  activateWindow();
#else
  QDesktopServices::openUrl(url);
#endif
}

}  // namespace qz
