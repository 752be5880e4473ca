// A new user's first session, through the real window with the installation files:
// start, pick a template in the welcome dialog, change the text, give one character
// its own font and insert a symbol, choose a button shape, colours and a texture,
// move the light, export a GIF with the browser preview, save the work, quit, start
// again and open it. Every dialog on the way and the preview page are grabbed into
// test-output/walk/ to be looked at (run under xvfb-run for the real window system).
#include <unistd.h>

#include <QColorDialog>
#include <QComboBox>
#include <QDirIterator>
#include <QListWidget>
#include <QMessageBox>
#include <QSpinBox>
#include <QTableWidget>
#include <QToolButton>
#include <cstdlib>

#include "WindowKit.h"
#include "app/CharMap.h"
#include "app/ExportPage.h"
#include "app/OptionsDialog.h"
#include "app/QtBridge.h"
#include "app/ShapeDialog.h"
#include "app/TextDialog.h"
#include "app/WebForm.h"

#ifdef QZ_HAVE_WEBENGINE
#include <QWebEngineView>
#endif

namespace qz {

namespace {

QString OutDir() { return QString(QZ_TEST_OUTPUT_DIR) + "/walk/"; }

void Shot(QWidget* w, const QString& name) {
  QCoreApplication::processEvents();
  QVERIFY2(w->grab().save(OutDir() + name + ".png"), qPrintable(name));
}

void CopyTree(const QString& from, const QString& to) {
  QDir().mkpath(to);
  QDirIterator it(from, QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
  while (it.hasNext()) {
    const QString path = it.next();
    const QString target = to + "/" + QDir(from).relativeFilePath(path);
    if (it.fileInfo().isDir()) QDir().mkpath(target);
    else QFile::copy(path, target);
  }
}

QListWidgetItem* ItemNamed(QListWidget* list, const QString& caption) {
  const auto found = list->findItems(caption, Qt::MatchExactly);
  return found.isEmpty() ? nullptr : found.first();
}

}  // namespace

class WalkThroughTest : public QObject {
  Q_OBJECT

  QTemporaryDir dir_;
  std::string program_;
  test::TMessageCollector messages_;

  // The program started as a user starts it; welcome answers its welcome dialog.
  std::unique_ptr<TForm1> Start(const std::function<void(TForm4*)>& welcome) {
    auto w = std::make_unique<TForm1>(program_);
    w->SetMessageSink(&messages_);
    w->resize(1100, 800);
    auto shown = WhenModal<TForm4>(welcome);
    w->show();
    if (!QTest::qWaitForWindowExposed(w.get())) qFatal("window not shown");
    if (!QTest::qWaitFor([&] { return w->Started(); }, 30000)) qFatal("start-up did not end");
    if (!*shown) qFatal("no welcome dialog");
    return w;
  }

  // The timer's deferred rebuild after typing, as the user waits for it.
  static bool WaitForDeferredWork(TForm1& w) {
    return QTest::qWaitFor([&] { return !w.Deferred.RebuildPending && !w.Deferred.RenderPending && !w.Deferred.Busy; },
                           20000);
  }

 private slots:
  void initTestCase() {
    QVERIFY(dir_.isValid());
    program_ = PathFromQt(dir_.path()) + "/";
    const QString bin = QZ_PROGRAM_DIR;
    for (const char* folder : {"BShapes", "Textures", "Templates", "HTML", "Help", "html"})
      CopyTree(bin + folder, dir_.path() + "/" + folder);
    for (const char* file : {"default.dat", "Default.dat"})
      QVERIFY(QFile::copy(bin + file, dir_.path() + "/" + file));
    QDir().mkpath(OutDir());
  }

  void firstSession() {
    // 1. Start: the welcome dialog, its templates, one chosen.
    auto w = Start([](TForm4* f) {
      Shot(f, "01-welcome");
      f->SpeedButton3->click();  // "emplate"
      QVERIFY(f->ListView1->count() >= 5);
      QListWidgetItem* ocean = ItemNamed(f->ListView1, "Ocean.qzpl");
      QVERIFY(ocean);
      ocean->setSelected(true);
      f->ListView1->scrollToItem(ocean);
      Shot(f, "02-welcome-templates");
      f->OKBtn->click();
    });
    QVERIFY2(messages_.Texts.empty(), messages_.Texts.empty() ? "" : messages_.Texts[0].c_str());
    QVERIFY(w->Text.Length() > 0);
    QVERIFY(!w->Modified);
    Shot(w.get(), "03-template-loaded");

    // 2. The message typed anew; the design follows once the user pauses.
    TMessageEdit* edit = w->MessageEdit();
    edit->setFocus();
    QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(edit, "Welcome");
    QVERIFY(WaitForDeferredWork(*w));
    QCOMPARE(w->Text.Text(), std::string("Welcome"));
    QVERIFY(w->Modified);

    // 3. The first letter in its own font, a symbol at the end.
    auto shown = WhenModal<TForm2>([](TForm2* f) {
      f->RichEdit1->SetSelection(0, 1);
      const int serif = f->ComboBox1->findText("Liberation Serif");
      QVERIFY(serif >= 0);
      f->ComboBox1->setCurrentIndex(serif);
      emit f->ComboBox1->activated(serif);
      f->Edit1->setValue(26);
      if (!f->ToolButton1->isChecked()) f->ToolButton1->click();  // Bold
      f->RichEdit1->SetSelection(7, 0);
      WhenModal<TCharMap>([](TCharMap* m) {
        m->SelectCode(0xBB);  // right-pointing double angle quotation mark
        Shot(m, "05-character-map");
        m->accept();
      });
      f->ToolButton3->click();
      f->RichEdit1->SetSelection(0, 1);
      Shot(f, "04-advanced-text");
      f->accept();
    });
    QTest::mouseClick(w->Control(TControl::AdvancedText), Qt::LeftButton);
    QVERIFY(*shown);
    QCOMPARE(w->Text.Text(), std::string("Welcome\xBB"));
    QCOMPARE(w->Text.At(0).Format.Name, std::string("Liberation Serif"));
    QVERIFY(w->Text.At(0).Format.Bold);
    QCOMPARE(w->Text.At(1).Format.Size, 18);

    // 4. A button shape.
    w->Tabs()->setCurrentIndex(static_cast<int>(TTab::ButtonTuneup));
    shown = WhenModal<TOpenShForm>([](TOpenShForm* f) {
      QListWidgetItem* capsule = ItemNamed(f->ListView1, "CAPSULE");
      QVERIFY(capsule);
      capsule->setSelected(true);
      Shot(f, "06-shapes");
      f->OKBtn->click();
    });
    QTest::mouseClick(w->Control(TControl::ShapeSelection), Qt::LeftButton);
    QVERIFY(*shown);
    QCOMPARE(w->Scene->Type, 16);
    QCOMPARE(w->Scene->ShapeName, std::string("Capsule.qzkh"));

    // 5. Colours: a page background, the text colour; a wood texture on the button.
    w->Tabs()->setCurrentIndex(static_cast<int>(TTab::Background));
    shown = WhenModal<QColorDialog>([](QColorDialog* d) {
      d->setCurrentColor(QColor(250, 244, 228));
      Shot(d, "07-colour");
      d->accept();
    });
    QTest::mouseClick(w->Control(TControl::BkgColorSelection), Qt::LeftButton);
    QVERIFY(*shown);
    w->Tabs()->setCurrentIndex(static_cast<int>(TTab::CaptionColor));
    shown = WhenModal<QColorDialog>([](QColorDialog* d) {
      d->setCurrentColor(QColor(255, 220, 120));
      d->accept();
    });
    QTest::mouseClick(w->Control(TControl::TextColorSelection), Qt::LeftButton);
    QVERIFY(*shown);
    w->Tabs()->setCurrentIndex(static_cast<int>(TTab::ButtonColor));
    shown = WhenModal<QFileDialog>([](QFileDialog* d) {
      Shot(d, "08-texture-chooser");
      TypeIntoFileDialog(d, "Wood.jpg");
    });
    QTest::mouseClick(w->Control(TControl::ButtonTextureSelection), Qt::LeftButton);
    QVERIFY(*shown);
    QVERIFY(w->Scene->View.ButtonTextured);
    QCOMPARE(BareFileName(w->Scene->Button.TexFile), std::string("Wood.jpg"));

    // 6. The light from the upper left.
    w->Tabs()->setCurrentIndex(static_cast<int>(TTab::LightSource));
    const float a1 = w->Scene->a1;
    w->DropLightMarker(QPoint(w->Preview()->width() / 5, w->Preview()->height() / 5));
    QVERIFY(w->Scene->a1 != a1);
    Shot(w.get(), "09-light");

    // 7. A look at the Advanced Options, left as they were.
    shown = WhenModal<TForm3>([](TForm3* f) {
      Shot(f, "10-options");
      f->reject();
    });
    w->AdvancedOptionsClick();
    QVERIFY(*shown);

    // 8. Export as GIF with the browser preview.
    w->Tabs()->setCurrentIndex(static_cast<int>(TTab::Export));
    Shot(w.get(), "11-export-page");
    QString proposed;
    shown = WhenModal<QFileDialog>([&](QFileDialog* d) {
      proposed = d->findChild<QLineEdit*>("fileNameEdit")->text();
      Shot(d, "12-export-save");
      static_cast<QDialog*>(d)->accept();
    });
    w->ExportPage()->ExportButton->click();
    QVERIFY(*shown);
    QCOMPARE(proposed, QString("Welcome.gif"));
    const QString gif = PathToQt(program_ + "Images/Welcome.gif");
    QCOMPARE(QImage(gif).size(), QSize(w->Dim.Width, w->Dim.Height));
#ifdef QZ_HAVE_WEBENGINE
    TWebForm* web = w->BrowserWindowIfMade();
    QVERIFY(web && web->isVisible());
    QSignalSpy loaded(web->WebBrowser, &QWebEngineView::loadFinished);
    QVERIFY(loaded.count() > 0 || loaded.wait(60000));
    QTest::qWait(500);  // a frame after the load
    Shot(web, "13-preview-page");
    QString page;
    web->WebBrowser->page()->toHtml([&](const QString& html) { page = html; });
    QTRY_VERIFY_WITH_TIMEOUT(!page.isEmpty(), 30000);
    QVERIFY(page.contains("Welcome.gif"));
    web->close();
#endif
    QVERIFY2(messages_.Texts.empty(), messages_.Texts.empty() ? "" : messages_.Texts[0].c_str());

    // 9. Save the work, then quit: nothing left to ask.
    shown = WhenModal<QFileDialog>([](QFileDialog* d) {
      Shot(d, "14-save");
      TypeIntoFileDialog(d, "My first button");
    });
    w->SaveClick();
    QVERIFY(*shown);
    QVERIFY(!w->Modified);
    QVERIFY(QFile::exists(PathToQt(program_ + "Works/My first button.qznr")));
    QFile::remove(OutDir() + "My first button.qznr");
    QFile::copy(PathToQt(program_ + "Works/My first button.qznr"), OutDir() + "My first button.qznr");
    const std::vector<TMessageText::TChar> saved = w->Text.Chars();
    const TColor bkg = w->Scene->BkgColor;
    auto asked = WhenModal<QMessageBox>([](QMessageBox* b) { b->reject(); }, 500);
    QVERIFY(w->close());
    QVERIFY(!*asked);
    StopWatchingModals();
    w.reset();

    // 10. Start again: the work is listed with its picture and opens as it was left.
    auto again = Start([](TForm4* f) {
      f->SpeedButton2->click();  // "aved"
      QListWidgetItem* mine = ItemNamed(f->ListView1, "My first button.qznr");
      QVERIFY(mine);
      mine->setSelected(true);
      Shot(f, "15-welcome-saved");
      f->OKBtn->click();
    });
    QCOMPARE(again->Text.Chars(), saved);
    QCOMPARE(again->Scene->BkgColor, bkg);
    QCOMPARE(again->Scene->ShapeName, std::string("Capsule.qzkh"));
    QVERIFY(again->Scene->View.ButtonTextured);
    Shot(again.get(), "16-reopened");
    // The About page, the last look.
#ifdef QZ_HAVE_WEBENGINE
    again->AboutClick();
    TWebForm* about = again->BrowserWindowIfMade();
    QTRY_COMPARE_WITH_TIMEOUT(about->windowTitle(), QString("About Quenzar"), 60000);
    QTest::qWait(500);
    Shot(about, "17-about");
#endif
    QVERIFY(messages_.Texts.empty());
    again->Modified = false;
  }
};

}  // namespace qz

int main(int argc, char** argv) {
  if (::geteuid() == 0) setenv("QTWEBENGINE_DISABLE_SANDBOX", "1", 0);
  setenv("QTWEBENGINE_CHROMIUM_FLAGS", "--disable-gpu --disable-dev-shm-usage", 0);
  QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
  QApplication app(argc, argv);
  qz::WalkThroughTest test;
  return QTest::qExec(&test, argc, argv);
}

#include "WalkThroughTest.moc"
