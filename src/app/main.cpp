#include <unistd.h>

#include <QApplication>
#include <QPixmap>
#include <QScreen>
#include <QStringList>
#include <QTabWidget>
#include <QTimer>
#include <cstdlib>

#include "app/MainWindow.h"
#include "app/WelcomeDialog.h"

namespace {

// A test aid for looking at the real window: with QZ_SCREENSHOT=prefix the program
// grabs the welcome dialog of its start-up as prefix-welcome.png and answers it with
// Cancel (the factory design default.dat), then, once that design is shown, grabs the
// window once per tab listed in QZ_SCREENSHOT_TABS (default "0") as prefix-tab<N>.png,
// and quits.
void ScheduleScreenshots(qz::TForm1& window) {
  const QString prefix = qEnvironmentVariable("QZ_SCREENSHOT");
  if (prefix.isEmpty()) return;
  const QStringList tabs = qEnvironmentVariable("QZ_SCREENSHOT_TABS", "0").split(',', Qt::SkipEmptyParts);
  auto* poll = new QTimer(&window);
  poll->setInterval(100);
  QObject::connect(poll, &QTimer::timeout, &window, [&window, poll, prefix, tabs] {
    if (auto* welcome = qobject_cast<qz::TForm4*>(QApplication::activeModalWidget())) {
      welcome->grab().save(prefix + "-welcome.png");
      welcome->reject();
      return;
    }
    if (!window.Started()) return;
    poll->stop();
    QTimer::singleShot(1000, &window, [&window, prefix, tabs] {
      for (const QString& t : tabs) {
        window.Tabs()->setCurrentIndex(t.toInt());
        for (int i = 0; i < 5; ++i) QApplication::processEvents();
        window.grab().save(prefix + "-tab" + t + ".png");
      }
      window.Modified = false;
      QApplication::quit();
    });
  });
  poll->start();
}

}  // namespace

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
  ScheduleScreenshots(window);
  return app.exec();
}
