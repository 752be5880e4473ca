// quenzar-screenshots: the designer started as the program starts it, for looking at
// the real window under a display (xvfb-run). It grabs the welcome dialog of its
// start-up as PREFIX-welcome.png and answers it with Cancel (the factory design
// default.dat), then, once that design is shown, grabs the window once per tab listed
// (default "0") as PREFIX-tab<N>.png, and quits.
//
//   xvfb-run -a build/tools/quenzar-screenshots /tmp/shot 0,2,8
#include <unistd.h>

#include <QApplication>
#include <QPixmap>
#include <QStringList>
#include <QTabWidget>
#include <QTimer>
#include <cstdio>
#include <cstdlib>

#include "app/dialogs/WelcomeDialog.h"
#include "app/window/MainWindow.h"

namespace {

void ScheduleScreenshots(qz::TMainWindow& window, const QString& prefix, const QStringList& tabs) {
  auto* poll = new QTimer(&window);
  poll->setInterval(100);
  QObject::connect(poll, &QTimer::timeout, &window, [&window, poll, prefix, tabs] {
    if (auto* welcome = qobject_cast<qz::TWelcomeDialog*>(QApplication::activeModalWidget())) {
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
      QApplication::quit();
    });
  });
  poll->start();
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: quenzar-screenshots PREFIX [TAB,TAB,...] [PROGRAM_FOLDER]\n");
    return 2;
  }
  if (::geteuid() == 0) setenv("QTWEBENGINE_DISABLE_SANDBOX", "1", 0);
  setenv("QTWEBENGINE_CHROMIUM_FLAGS", "--disable-gpu --disable-dev-shm-usage", 0);
  QApplication app(argc, argv);
  const QStringList tabs = QString(argc > 2 ? argv[2] : "0").split(',', Qt::SkipEmptyParts);
  qz::TMainWindow window(argc > 3 ? argv[3] : std::string());
  window.resize(1100, 800);
  window.show();
  ScheduleScreenshots(window, argv[1], tabs);
  return app.exec();
}
