// The main window's commands as a user meets them: the start-up with the welcome
// dialog, New, Open, New from template and the questions before discarding changes,
// quitting, and the dialogs of the tabs and menus (Advanced Text Settings, the shape
// dialog, Advanced Options, Help and About in the browser window). Every modal dialog
// is answered by the test.
#include <unistd.h>

#include <QCheckBox>
#include <QImageReader>
#include <QListWidget>
#include <QTabWidget>
#include <QToolButton>
#include <QMessageBox>
#include <cstdlib>

#include "WindowKit.h"
#include "app/ExportPage.h"
#include "app/FileFilter.h"
#include "app/OptionsDialog.h"
#include "app/ShapeDialog.h"
#include "app/TextDialog.h"
#include "app/WebForm.h"

namespace qz {

namespace {

QListWidgetItem* ItemNamed(QListWidget* list, const QString& caption) {
  const auto found = list->findItems(caption, Qt::MatchExactly);
  return found.isEmpty() ? nullptr : found.first();
}

// Answers the unsaved-changes question with a button, remembering its title.
std::shared_ptr<bool> AnswerQuestion(QMessageBox::StandardButton answer, QString* title = nullptr) {
  return WhenModal<QMessageBox>([answer, title](QMessageBox* box) {
    if (title) *title = box->windowTitle();
    box->button(answer)->click();
  });
}

}  // namespace

class CommandsTest : public TWindowTestBase {
  Q_OBJECT

 private slots:
  void initTestCase() {
    SetUpProgramFolder();
    WriteWork(programDir_ + "default.dat", "Start");
    WriteWork(programDir_ + "Default.dat", "Fresh");
    QDir(dir_.path()).mkpath("Works");
    QDir(dir_.path()).mkpath("Templates");
    WriteWork(programDir_ + "Works/mine.qznr", "Mine");
    WriteWork(programDir_ + "Templates/glass.qzpl", "Glass");
  }

  void init() { messages_.Texts.clear(); }
  void cleanup() { StopWatchingModals(); }

  void startUpCancelLoadsDefaultDat() {
    auto w = MakeWindow();
    QCOMPARE(w->Text.Text(), std::string("Start"));
    QCOMPARE(w->MessageEdit()->toPlainText(), QString("Start"));
    QVERIFY(!w->Scene->Image.Empty());
    // Nothing of the user's yet: quitting asks nothing.
    QVERIFY(!w->Modified);
    QVERIFY(messages_.Texts.empty());
    QCOMPARE(w->WelcomeDialog().windowTitle(), QString(" Welcome to Quenzar v1.5"));
  }

  void startUpLoadsTheChosenWorkOrTemplate() {
    auto saved = MakeWindow([](TForm4* f) {
      f->SpeedButton2->click();  // "aved"
      ItemNamed(f->ListView1, "mine.qznr")->setSelected(true);
      f->OKBtn->click();
    });
    QCOMPARE(saved->Text.Text(), std::string("Mine"));
    QCOMPARE(saved->Settings.WorksDir, programDir_ + "Works/");
    saved.reset();
    auto templ = MakeWindow([](TForm4* f) {
      f->SpeedButton3->click();  // "emplate"
      ItemNamed(f->ListView1, "glass.qzpl")->setSelected(true);
      f->OKBtn->click();
    });
    QCOMPARE(templ->Text.Text(), std::string("Glass"));
    templ.reset();
    // OK in the New mode, or with nothing selected: the factory design.
    auto none = MakeWindow([](TForm4* f) {
      f->SpeedButton3->click();
      f->OKBtn->click();
    });
    QCOMPARE(none->Text.Text(), std::string("Start"));
  }

  void openCancelLoadsNothingAndKeepsModified() {
    auto w = MakeWindow();
    Prepare(*w, "Edited");
    QVERIFY(w->Modified);
    QString title, caption;
    auto asked = AnswerQuestion(QMessageBox::No, &title);
    auto shown = WhenModal<TForm4>([&](TForm4* f) {
      caption = f->windowTitle();
      QCOMPARE(f->Mode, TForm4::ModeSaved);
      QVERIFY(f->BrowseBtn->isEnabled());
      QVERIFY(ItemNamed(f->ListView1, "mine.qznr"));
      f->CancelBtn->click();
    });
    w->OpenClick();
    QVERIFY(*asked && *shown);
    QCOMPARE(title, QString("Open confirmation"));
    QCOMPARE(caption, QString(" Open"));
    QCOMPARE(w->Text.Text(), std::string("Edited"));
    QVERIFY(w->Modified);

    // OK without a selection loads nothing either; no question while unmodified.
    w->Modified = false;
    auto noQuestion = AnswerQuestion(QMessageBox::Cancel);
    shown = WhenModal<TForm4>([](TForm4* f) { f->OKBtn->click(); });
    w->OpenClick();
    QVERIFY(*shown);
    QCOMPARE(w->Text.Text(), std::string("Edited"));

    // A chosen work is loaded; the design counts as unchanged.
    shown = WhenModal<TForm4>([](TForm4* f) {
      ItemNamed(f->ListView1, "mine.qznr")->setSelected(true);
      f->OKBtn->click();
    });
    w->OpenClick();
    QVERIFY(*shown);
    QVERIFY(!*noQuestion);
    QCOMPARE(w->Text.Text(), std::string("Mine"));
    QVERIFY(!w->Modified);
    QCOMPARE(w->Settings.WorksDir, programDir_ + "Works/");
    // Opening does not change the work Save proposes.
    QCOMPARE(w->Settings.JobFile, std::string("Untitled.qznr"));
  }

  void yesThenCancelStillRunsTheCommand() {
    auto w = MakeWindow();
    Prepare(*w, "Edited");
    w->Tabs()->setCurrentIndex(static_cast<int>(TTab::LightSource));
    QString title;
    auto asked = AnswerQuestion(QMessageBox::Yes, &title);
    auto saveShown = WhenModal<QFileDialog>([](QFileDialog* d) { d->reject(); });
    w->NewClick();
    QVERIFY(*asked && *saveShown);
    QCOMPARE(title, QString("New confirmation"));
    QCOMPARE(w->Text.Text(), std::string("Fresh"));
    QVERIFY(!w->Modified);
    QCOMPARE(w->Tabs()->currentIndex(), static_cast<int>(TTab::Caption));

    // Cancel on the question ends the command.
    Prepare(*w, "Kept");
    asked = AnswerQuestion(QMessageBox::Cancel, &title);
    w->NewFromTemplateClick();
    QVERIFY(*asked);
    QCOMPARE(title, QString("New confirmation"));
    QCOMPARE(w->Text.Text(), std::string("Kept"));
    QVERIFY(w->Modified);
    w->Modified = false;
  }

  void newLoadsDefaultDatAndShowsItsSize() {
    auto w = MakeWindow();
    Prepare(*w, "A much longer message");
    w->Modified = false;
    w->NewClick();  // unmodified: no question
    QCOMPARE(w->Text.Text(), std::string("Fresh"));
    QVERIFY(!w->Modified);
    QCOMPARE(w->Preview()->palette().color(QPalette::Window),
             QColor(ColorRed(w->Scene->BkgColor), ColorGreen(w->Scene->BkgColor), ColorBlue(w->Scene->BkgColor)));
    // The Dimensions tab shows the new design's export size.
    QCOMPARE(Widget<QLineEdit>(*w, TControl::DimWidthEdit)->text(), QString::number(w->Dim.Width));
  }

  void newFromTemplateRemembersTheTemplate() {
    auto w = MakeWindow();
    QString caption;
    auto shown = WhenModal<TForm4>([&](TForm4* f) {
      caption = f->windowTitle();
      QCOMPARE(f->Mode, TForm4::ModeTemplate);
      QVERIFY(!f->BrowseBtn->isEnabled());
      ItemNamed(f->ListView1, "glass.qzpl")->setSelected(true);
      f->OKBtn->click();
    });
    w->NewFromTemplateClick();
    QVERIFY(*shown);
    QCOMPARE(caption, QString(" New from template"));
    QCOMPARE(w->Text.Text(), std::string("Glass"));
    QCOMPARE(w->Settings.TemplateFile, programDir_ + "Templates/glass.qzpl");
    QVERIFY(!w->Modified);
    // Cancel in the dialog: nothing loaded, the template remembered stays.
    Prepare(*w, "Other");
    w->Modified = false;
    shown = WhenModal<TForm4>([](TForm4* f) { f->CancelBtn->click(); });
    w->NewFromTemplateClick();
    QVERIFY(*shown);
    QCOMPARE(w->Text.Text(), std::string("Other"));
    QCOMPARE(w->Settings.TemplateFile, programDir_ + "Templates/glass.qzpl");
  }

  void quitAsksOnlyAboutChanges() {
    auto w = MakeWindow();
    Prepare(*w, "Unsaved");
    QString title;
    auto asked = AnswerQuestion(QMessageBox::Cancel, &title);
    QVERIFY(!w->close());
    QVERIFY(*asked);
    QCOMPARE(title, QString("Quit confirmation"));
    QVERIFY(w->isVisible());
    asked = AnswerQuestion(QMessageBox::No);
    QVERIFY(w->close());
    QVERIFY(*asked);
    // Unmodified: closes without a word.
    auto again = MakeWindow();
    auto never = AnswerQuestion(QMessageBox::Cancel);
    QVERIFY(again->close());
    QTest::qWait(30);
    QVERIFY(!*never);
  }

  void advancedTextCopiesBackOnOkOnly() {
    auto w = MakeWindow();
    Prepare(*w, "Go");
    QSignalSpy rebuilt(w.get(), &TForm1::Rebuilt);
    // Cancel: the message edit is left as it was, nothing rebuilt.
    auto shown = WhenModal<TForm2>([](TForm2* f) {
      QCOMPARE(f->TakeText().Text(), std::string("Go"));
      f->RichEdit1->selectAll();
      f->ToolButton2->click();  // Italic
      f->reject();
    });
    QTest::mouseClick(w->Control(TControl::AdvancedText), Qt::LeftButton);
    QVERIFY(*shown);
    QCOMPARE(rebuilt.count(), 0);
    QVERIFY(!w->Text.At(0).Format.Italic);
    // OK: the second character alone made 30 points in another face, rebuilt.
    shown = WhenModal<TForm2>([](TForm2* f) {
      f->RichEdit1->SetSelection(1, 1);
      f->Edit1->setValue(30);
      f->ComboBox1->setCurrentIndex(f->ComboBox1->findText("Liberation Serif"));
      emit f->ComboBox1->activated(f->ComboBox1->currentIndex());
      f->accept();
    });
    QTest::mouseClick(w->Control(TControl::AdvancedText), Qt::LeftButton);
    QVERIFY(*shown);
    QCOMPARE(rebuilt.count(), 1);
    QCOMPARE(w->Text.At(0).Format.Size, 18);
    QCOMPARE(w->Text.At(1).Format.Size, 30);
    QCOMPARE(w->Text.At(1).Format.Name, std::string("Liberation Serif"));
    TMessageText shown2;
    w->MessageEdit()->ToMessageText(shown2);
    QCOMPARE(shown2.Chars(), w->Text.Chars());
    QVERIFY(w->Modified);
    w->Modified = false;
  }

  void shapeDialogOkSetsTheShape() {
    auto w = MakeWindow();
    Prepare(*w);
    Widget<QCheckBox>(*w, TControl::HideButton)->setChecked(true);
    QCOMPARE(w->Scene->Type, 0);
    QSignalSpy rebuilt(w.get(), &TForm1::Rebuilt);
    // OK with nothing selected changes nothing.
    auto shown = WhenModal<TOpenShForm>([](TOpenShForm* f) {
      QCOMPARE(f->ListView1->count(), 1);
      f->ListView1->clearSelection();
      f->OKBtn->click();
    });
    QTest::mouseClick(w->Control(TControl::ShapeSelection), Qt::LeftButton);
    QVERIFY(*shown);
    QCOMPARE(w->Scene->Type, 0);
    QVERIFY(w->Scene->ShapeName.empty());
    QCOMPARE(rebuilt.count(), 0);
    // A chosen shape: its file name, type 16, the button shown again, rebuilt.
    shown = WhenModal<TOpenShForm>([](TOpenShForm* f) {
      QCOMPARE(f->ListView1->item(0)->text(), QString("SQUARE"));
      f->ListView1->item(0)->setSelected(true);
      f->OKBtn->click();
    });
    QTest::mouseClick(w->Control(TControl::ShapeSelection), Qt::LeftButton);
    QVERIFY(*shown);
    QCOMPARE(w->Scene->ShapeName, std::string("square.qzkh"));
    QCOMPARE(w->Scene->Type, 16);
    QVERIFY(!Widget<QCheckBox>(*w, TControl::HideButton)->isChecked());
    QCOMPARE(rebuilt.count(), 1);
    QVERIFY(messages_.Texts.empty());  // the shape file built
    w->Modified = false;
  }

  void advancedOptionsCancelKeepsTheDesignOkRebuilds() {
    auto w = MakeWindow();
    Prepare(*w);
    const TParams before = *w->Scene;
    QSignalSpy rebuilt(w.get(), &TForm1::Rebuilt);
    auto shown = WhenModal<TForm3>([](TForm3* f) {
      f->edTop->setText("40");
      f->edDistance->setText("2000");
      f->reject();
    });
    w->AdvancedOptionsClick();
    QVERIFY(*shown);
    QCOMPARE(w->Scene->GutTop, before.GutTop);
    QCOMPARE(w->Scene->Distance, before.Distance);
    QCOMPARE(rebuilt.count(), 0);
    // The dialog shows the design again, not what was typed before Cancel.
    shown = WhenModal<TForm3>([&](TForm3* f) {
      QCOMPARE(f->edTop->text(), QString::number(before.GutTop));
      f->edDistance->setText("2000");
      f->seDelay->setValue(2500);
      f->accept();
    });
    w->AdvancedOptionsClick();
    QVERIFY(*shown);
    QCOMPARE(w->Scene->Distance, 2000);
    QCOMPARE(w->Scene->Render.Y, 2000.0f);
    QCOMPARE(w->Scene->RDelay, 10);
    QCOMPARE(w->Scene->ShapeName, before.ShapeName);  // fields it does not show travel through
    QCOMPARE(w->Scene->Message.MColor, before.Message.MColor);
    QCOMPARE(rebuilt.count(), 1);
    QCOMPARE(Widget<QLineEdit>(*w, TControl::DimWidthEdit)->text(), QString::number(w->Dim.Width));
    w->Modified = false;
  }

  void exportWritesThePictureAndItsPage() {
    auto w = MakeWindow();
    QDir(dir_.path()).mkpath("html");
    QFile::remove(QString::fromStdString(programDir_ + "html/preview.tml"));
    QVERIFY(QFile::copy(QZ_PROGRAM_DIR "html/preview.tml", QString::fromStdString(programDir_ + "html/preview.tml")));
    TExportPage* page = w->ExportPage();
    w->Tabs()->setCurrentIndex(static_cast<int>(TTab::Export));
    QCOMPARE(page->ExportButton->text(), QString("xport 3D Button"));
    QVERIFY(page->ExportButton->isEnabled());

    // An empty message: said so, no dialog, nothing written.
    w->MessageEdit()->clear();
    w->Rebuild();
    auto noDialog = WhenModal<QFileDialog>([](QFileDialog* d) { d->reject(); });
    page->ExportButton->click();
    QCOMPARE(messages_.Texts, std::vector<std::string>{"Sorry, there is nothing to export"});
    QVERIFY(!*noDialog);
    StopWatchingModals();

    // A GIF: the proposed name from the message, the picture at the export size, its
    // size in bytes kept, the preview page written and shown.
    // The last edit's rebuild still waits for the timer: the export carries it out
    // first, so the picture shows what the message box shows.
    Prepare(*w, "Click");
    w->MessageEdit()->setPlainText("Click Here 2!");
    QVERIFY(w->Deferred.RebuildPending);
    QSignalSpy rebuilt(w.get(), &TForm1::Rebuilt);
    Widget<QLineEdit>(*w, TControl::LinkAddress)->setText("https://example.org/");
    QString proposed;
    auto saved = WhenModal<QFileDialog>([&](QFileDialog* d) {
      proposed = d->findChild<QLineEdit*>("fileNameEdit")->text();
      static_cast<QDialog*>(d)->accept();
    });
    page->ExportButton->click();
    QVERIFY(*saved);
    QCOMPARE(proposed, QString("ClickHere.gif"));
    const QString gif = QString::fromStdString(programDir_ + "Images/ClickHere.gif");
    QVERIFY(QFile::exists(gif));
    QCOMPARE(rebuilt.count(), 1);
    QVERIFY(!w->Deferred.RebuildPending);
    QCOMPARE(QImage(gif).size(), QSize(w->Dim.Width, w->Dim.Height));
    QCOMPARE(w->LastExportBytes, static_cast<uint64_t>(QFileInfo(gif).size()));
    const TIniFile values(programDir_ + "Buttons.dat");
    QCOMPARE(values.ReadString("General", "ImageFileName", ""), std::string("ClickHere.gif"));
    QCOMPARE(values.ReadString("General", "ImageWidth", ""), std::to_string(w->Dim.Width));
    QCOMPARE(values.ReadString("General", "ButtonText", ""), std::string("Click Here 2!"));
    QCOMPARE(values.ReadString("General", "TargetURL", ""), std::string("https://example.org/"));
    QFile settings(QString::fromStdString(programDir_ + "Buttons.dat"));
    QVERIFY(settings.open(QIODevice::ReadOnly));
    QVERIFY(settings.readAll().contains("NumberOfColors= 256\r\n"));  // the entry's text, blank and all
    QFile html(QString::fromStdString(programDir_ + "html/preview.html"));
    QVERIFY(html.open(QIODevice::ReadOnly));
    QVERIFY(html.readAll().contains("ClickHere.gif"));
    QVERIFY(messages_.Texts.size() == 1);
#ifdef QZ_HAVE_WEBENGINE
    TWebForm* web = w->BrowserWindowIfMade();
    QVERIFY(web && web->isVisible());
    web->close();
#endif

    // The JPEG entry chosen in the dialog while the GIF page is on top: a JPEG file,
    // whatever extension was typed; without " Browser Preview" no page.
    page->chBrowserPreview->setChecked(false);
    html.close();
    QVERIFY(html.remove());
    saved = WhenModal<QFileDialog>([](QFileDialog* d) {
      d->selectNameFilter(ExportFilters()[1]);
      TypeIntoFileDialog(d, "typed.gif");
    });
    page->ExportButton->click();
    QVERIFY(*saved);
    const QString jpeg = QString::fromStdString(programDir_ + "Images/typed.jpg");
    QCOMPARE(QImageReader(jpeg).format(), QByteArray("jpeg"));
    QVERIFY(!html.exists());

    // Cancel in the dialog: nothing written, the last size kept.
    const uint64_t last = w->LastExportBytes;
    saved = WhenModal<QFileDialog>([](QFileDialog* d) { d->reject(); });
    page->PageControl2->setCurrentIndex(2);  // "Bitmap"
    page->ExportButton->click();
    QVERIFY(*saved);
    QCOMPARE(w->LastExportBytes, last);
    QVERIFY(!QFile::exists(QString::fromStdString(programDir_ + "Images/ClickHere.bmp")));
    w->Modified = false;
  }

  void helpAndAboutOpenTheBrowserWindow() {
    auto w = MakeWindow();
    // No help file in this program folder: said so, no browser started.
    w->HelpClick();
    QCOMPARE(messages_.Texts.size(), size_t{1});
    QCOMPARE(messages_.Texts[0], "Error loading file: " + programDir_ + "Help/index.html");
    QVERIFY(w->BrowserWindowIfMade() == nullptr);
#ifndef QZ_HAVE_WEBENGINE
    QSKIP("built without QtWebEngine: pages open in the desktop's browser");
#else
    QDir(dir_.path()).mkpath("HTML");
    QDir(dir_.path()).mkpath("Help");
    QVERIFY(QFile::copy(QZ_PROGRAM_DIR "HTML/About.html", QString::fromStdString(programDir_ + "HTML/About.html")));
    QVERIFY(QFile::copy(QZ_PROGRAM_DIR "Help/index.html", QString::fromStdString(programDir_ + "Help/index.html")));
    w->AboutClick();
    TWebForm* web = w->BrowserWindowIfMade();
    QVERIFY(web && web->isVisible() && web->EngineStarted());
    QTRY_COMPARE_WITH_TIMEOUT(web->windowTitle(), QString("About Quenzar"), 60000);
    QVERIFY(QApplication::overrideCursor() == nullptr);  // the hourglass is gone again
    web->close();
    w->HelpClick();
    QCOMPARE(w->BrowserWindowIfMade(), web);  // one browser window for the run
    QVERIFY(web->isVisible());
    QTRY_VERIFY_WITH_TIMEOUT(web->windowTitle() != "About Quenzar", 60000);
    QCOMPARE(messages_.Texts.size(), size_t{1});
#endif
  }
};

}  // namespace qz

int main(int argc, char** argv) {
  if (::geteuid() == 0) setenv("QTWEBENGINE_DISABLE_SANDBOX", "1", 0);
  setenv("QTWEBENGINE_CHROMIUM_FLAGS", "--disable-gpu --disable-dev-shm-usage", 0);
  QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
  QApplication app(argc, argv);
  qz::CommandsTest test;
  return QTest::qExec(&test, argc, argv);
}

#include "CommandsTest.moc"
