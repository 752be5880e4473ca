#include <unistd.h>

#include <QTemporaryDir>
#include <QtTest>
#include <cstdlib>

#include "app/QtBridge.h"
#include "app/WebForm.h"

#ifdef QZ_HAVE_WEBENGINE
#include <QWebEngineView>
#endif

namespace qz {

namespace {

constexpr int EngineTimeoutMs = 60000;  // Chromium's first start on a busy machine

void WritePage(const QString& path, const QString& title) {
  QFile f(path);
  QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
  f.write(QStringLiteral("<html><head><title>%1</title></head><body>%1</body></html>").arg(title).toUtf8());
}

}  // namespace

class WebFormTest : public QObject {
  Q_OBJECT

 private slots:
  void theEngineStartsOnFirstUse() {
#ifndef QZ_HAVE_WEBENGINE
    QSKIP("built without QtWebEngine: pages open in the desktop's browser");
#else
    TWebForm form;
    QVERIFY(!form.EngineStarted());
    QVERIFY(form.findChild<QWebEngineView*>() == nullptr);
    QVERIFY(!form.isVisible());

    form.ShowPage(QZ_PROGRAM_DIR, "HTML/About.html");
    QVERIFY(form.EngineStarted());
    QVERIFY(form.isVisible());
    QVERIFY(form.windowState() & Qt::WindowMaximized);
    QCOMPARE(form.WebBrowser->parentWidget(), static_cast<QWidget*>(&form));
    QTRY_COMPARE_WITH_TIMEOUT(form.windowTitle(), QString("About Quenzar"), EngineTimeoutMs);

    // Closing only hides the window; the next page reuses it and its engine.
    QWebEngineView* view = form.WebBrowser;
    form.close();
    QVERIFY(!form.isVisible());
    QTemporaryDir tmp;
    const QString page = tmp.filePath("preview.html");
    WritePage(page, "First export");
    form.ShowURL(PathFromQt(page));
    QVERIFY(form.isVisible());
    QCOMPARE(form.WebBrowser, view);
    QTRY_COMPARE_WITH_TIMEOUT(form.windowTitle(), QString("First export"), EngineTimeoutMs);

    // The same page written again (a new export) is shown anew, not from before.
    WritePage(page, "Second export");
    form.ShowURL(PathFromQt(page));
    QTRY_COMPARE_WITH_TIMEOUT(form.windowTitle(), QString("Second export"), EngineTimeoutMs);
#endif
  }
};

}  // namespace qz

int main(int argc, char** argv) {
  // As the program does: Chromium refuses to run as root with its sandbox, and a
  // machine without a GPU would fill the log with GPU errors.
  if (::geteuid() == 0) setenv("QTWEBENGINE_DISABLE_SANDBOX", "1", 0);
  setenv("QTWEBENGINE_CHROMIUM_FLAGS", "--disable-gpu --disable-dev-shm-usage", 0);
  QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
  QApplication app(argc, argv);
  qz::WebFormTest test;
  return QTest::qExec(&test, argc, argv);
}

#include "WebFormTest.moc"
