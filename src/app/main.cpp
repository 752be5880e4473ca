#include <unistd.h>

#include <QApplication>
#include <QScreen>
#include <cstdlib>

#include "app/MainWindow.h"

int main(int argc, char** argv) {
  // The browser window's engine refuses to start as root with its sandbox on, and
  // reports GPU errors on machines without one.
  if (::geteuid() == 0) setenv("QTWEBENGINE_DISABLE_SANDBOX", "1", 0);
  setenv("QTWEBENGINE_CHROMIUM_FLAGS", "--disable-gpu --disable-dev-shm-usage", 0);
  QApplication app(argc, argv);
  QApplication::setApplicationName("Quenzar");
  qz::TForm1 window;
  // Without a window manager (a bare X server) maximising does nothing: start at the
  // screen's size anyway.
  if (const QScreen* screen = QGuiApplication::primaryScreen())
    window.resize(screen->availableGeometry().size());
  window.showMaximized();
  return app.exec();
}
