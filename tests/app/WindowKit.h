// Shared by the window's tests: a main window in a program folder of its own (with a
// texture file in Textures/ and a shape file in BShapes/), what an edit asked for as
// seen from outside, and the dialogs its commands open answered with WhenModal.
#pragma once

#include <unistd.h>

#include <QtTest>
#include <QtWidgets>
#include <cstdlib>

#include "ModalDriver.h"
#include "app/bridge/QtBridge.h"
#include "app/dialogs/BrowserWindow.h"
#include "app/dialogs/CharMap.h"
#include "app/dialogs/FontChooser.h"
#include "app/dialogs/OptionsDialog.h"
#include "app/dialogs/ShapeDialog.h"
#include "app/dialogs/TextDialog.h"
#include "app/dialogs/WelcomeDialog.h"
#include "app/export/ExportPage.h"
#include "app/files/FileFilter.h"
#include "app/widgets/MessageEdit.h"
#include "app/window/MainWindow.h"
#include "app/window/PreviewPanel.h"
#include "scene/WorkFile.h"
#include "support/MessageCollector.h"

// main() of a program whose window may open the browser window: as the program
// does, Chromium without its sandbox when run as root and without a GPU.
#define QZ_WINDOW_TEST_MAIN(TestClass)                                                \
  int main(int argc, char** argv) {                                                  \
    if (::geteuid() == 0) setenv("QTWEBENGINE_DISABLE_SANDBOX", "1", 0);             \
    setenv("QTWEBENGINE_CHROMIUM_FLAGS", "--disable-gpu --disable-dev-shm-usage", 0); \
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);                      \
    QApplication app(argc, argv);                                                    \
    TestClass test;                                                                  \
    return QTest::qExec(&test, argc, argv);                                          \
  }

namespace qz {

template <typename W>
W* Widget(TMainWindow& w, TControl id) {
  auto* widget = qobject_cast<W*>(w.Control(id));
  if (!widget) qFatal("control %s is not of the expected kind", ControlRow(id).Name);
  return widget;
}

inline QListWidgetItem* ItemNamed(QListWidget* list, const QString& caption) {
  const auto found = list->findItems(caption, Qt::MatchExactly);
  return found.isEmpty() ? nullptr : found.first();
}

inline TMessageText Message(const std::string& text, const TCharFormat& format = {}) {
  TMessageText t;
  t.Append(text, format);
  return t;
}

// A work file whose message is text (default format).
inline void WriteWork(const std::string& path, const std::string& text = "x", const TParams& params = {}) {
  SaveWorkFile(path, params, Message(text));
}

inline QStringList Captions(QListWidget* list) {
  QStringList out;
  for (int i = 0; i < list->count(); ++i) out << list->item(i)->text();
  return out;
}

// Runs open with the dialog it shows answered; false when none came.
template <typename D>
bool Through(const std::function<void()>& open, std::function<void(D*)> answer) {
  auto shown = WhenModal<D>(answer);
  open();
  return *shown;
}

// Picks the menu entry with this text, as a user does.
inline void Pick(TMainWindow& w, const QString& text) {
  for (QAction* a : w.findChildren<QAction*>())
    if (a->text() == text && !a->menu()) return a->trigger();
  QFAIL(qPrintable("no menu entry " + text));
}

inline std::function<void()> ClickOn(TMainWindow& w, TControl id) {
  return [&w, id] { QTest::mouseClick(w.Control(id), Qt::LeftButton); };
}

// What an edit asked for, as seen from outside: a rebuild or a render at once, one
// waiting for the timer (after how many ticks), or nothing; and whether the title then
// marks the design unsaved. The design is saved first, so the mark is the edit's.
enum class TSeen { Nothing, RebuildNow, RenderNow, RebuildLater, RenderLater };
struct TObserved {
  TSeen seen;
  int delayTicks;  // the countdown the edit left (-7 when it set none)
  bool unsaved;
};

inline TObserved Observe(TMainWindow& w, const std::string& cleanCopy, const std::function<void()>& act) {
  TDeferredWork& d = w.Deferred;
  w.Session->Save(cleanCopy);
  d.RebuildPending = d.RenderPending = false;
  d.DelayTicks = -7;  // a value no edit writes
  QSignalSpy rebuilt(&w, &TMainWindow::Rebuilt), redrawn(&w, &TMainWindow::Redrawn);
  act();
  using S = TSeen;
  const S seen = rebuilt.count()    ? S::RebuildNow
                 : redrawn.count()  ? S::RenderNow
                 : d.RebuildPending ? S::RebuildLater
                 : d.RenderPending  ? S::RenderLater
                                    : S::Nothing;
  return {seen, d.DelayTicks, w.isWindowModified()};
}

class TWindowTestBase : public QObject {
 protected:
  QTemporaryDir dir_;
  std::string programDir_;
  std::optional<TFolders> folders_;  // when set, the window's folders instead of programDir_
  std::string textureFile_;
  test::TMessageCollector messages_;

  // A window after its start-up; welcome answers the welcome dialog (by default
  // Cancel, which loads the factory design default.dat).
  std::unique_ptr<TMainWindow> MakeWindow(
      std::function<void(TWelcomeDialog*)> welcome = [](TWelcomeDialog* f) { f->CancelButton->click(); }) {
    auto w = folders_ ? std::make_unique<TMainWindow>(*folders_) : std::make_unique<TMainWindow>(programDir_);
    w->SetMessageSink(&messages_);
    w->resize(1100, 800);
    auto shown = WhenModal<TWelcomeDialog>(welcome);
    w->show();
    if (!QTest::qWaitForWindowExposed(w.get())) qFatal("window not shown");
    if (!QTest::qWaitFor([&] { return w->Started(); }, 30000) || !*shown) qFatal("no start-up with its welcome dialog");
    return w;
  }

  // A message and a built design to edit.
  void Prepare(TMainWindow& w, const QString& message = "Go") {
    w.MessageEdit()->setPlainText(message);
    w.Rebuild();
  }

  void SetUpProgramFolder() {
    QVERIFY(dir_.isValid());
    programDir_ = dir_.path().toStdString() + "/";
    QDir(dir_.path()).mkpath("Textures");
    textureFile_ = programDir_ + "Textures/check.bmp";
    QImage tex(16, 16, QImage::Format_RGB32);
    tex.fill(QColor(200, 40, 40));
    QVERIFY(tex.save(QString::fromStdString(textureFile_), "BMP"));
    QDir(dir_.path()).mkpath("BShapes");
    SquareShape().SaveToFile(programDir_ + "BShapes/square.qzkh");
  }

  // The program folder with its two factory designs ("Start" opens, "Fresh" is New's)
  // and one saved work, "Mine".
  void SetUpDesigns() {
    SetUpProgramFolder();
    QDir(dir_.path()).mkpath("Works");
    WriteWork(programDir_ + "default.dat", "Start");
    WriteWork(programDir_ + "Default.dat", "Fresh");
    WriteWork(programDir_ + "Works/mine.qznr", "Mine");
  }

 public:
  static TButShape SquareShape() {
    TButShape square;
    square.PointCount = 4;
    square.Points[1] = {1, -10, -10}, square.Points[2] = {1, 10, -10};
    square.Points[3] = {1, 10, 10}, square.Points[4] = {1, -10, 10};
    square.Frame = {-10, 10, 10, -10};
    return square;
  }
};

}  // namespace qz
