#include <unistd.h>

#include <QApplication>
#include <QScreen>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "app/window/MainWindow.h"
#include "base/XdgDirs.h"
#include "scene/WorkFile.h"

namespace {

// The answers that need no window, so they work without a display.
bool AnswerWithoutWindow(int argc, char** argv) {
  if (argc != 2) return false;
  if (std::strcmp(argv[1], "--version") == 0) {
    std::printf("quenzar %s\nwork file version %s\n", QUENZAR_VERSION, qz::WorkFileVersion);
    return true;
  }
  if (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0) {
    std::puts("usage: quenzar [--help | --version]\n"
              "Starts the Quenzar designer of 3D buttons and headings for web pages.\n"
              "quenzar-cli does its work without the window (quenzar-cli --help).");
    return true;
  }
  return false;
}

}  // namespace

int main(int argc, char** argv) {
  if (AnswerWithoutWindow(argc, argv)) return 0;
  // The browser window's engine refuses to start as root with its sandbox on, and
  // reports GPU errors on machines without one.
  if (::geteuid() == 0) setenv("QTWEBENGINE_DISABLE_SANDBOX", "1", 0);
  setenv("QTWEBENGINE_CHROMIUM_FLAGS", "--disable-gpu --disable-dev-shm-usage", 0);
  QApplication app(argc, argv);
  QApplication::setApplicationName("Quenzar");
  // The desktop entry's name, by which a desktop finds the program's icon.
  QGuiApplication::setDesktopFileName("org.quenzar.Quenzar");
  qz::TMainWindow window(qz::TFolders::ForExecutable(qz::ExecutableFolder()));
  // Without a window manager (a bare X server) maximising does nothing: start at the
  // screen's size anyway.
  if (const QScreen* screen = QGuiApplication::primaryScreen())
    window.resize(screen->availableGeometry().size());
  window.showMaximized();
  return app.exec();
}
