// What people expect of a desktop editor, driven as a user drives it: undo and redo
// of a slider drag and of typing, the unsaved mark of the title, recent works across
// a restart, files dropped on the window, the export picture copied.

#include <filesystem>

#include "WindowKit.h"
#include "app/files/RecentMenu.h"
#include "app/window/EditHistory.h"
#include "support/TempDir.h"

namespace qz {

namespace {

// Drags a slider's handle from where it stands to the right by steps of its own width,
// pressing and releasing the mouse as a hand does.
void DragSlider(QSlider* slider, int steps) {
  QStyleOptionSlider option;
  option.initFrom(slider);
  option.orientation = slider->orientation();
  option.minimum = slider->minimum(), option.maximum = slider->maximum();
  option.sliderPosition = option.sliderValue = slider->value();
  const QRect handle = slider->style()->subControlRect(QStyle::CC_Slider, &option, QStyle::SC_SliderHandle, slider);
  QPoint at = handle.center();
  QTest::mousePress(slider, Qt::LeftButton, {}, at);
  for (int i = 0; i < steps; ++i) {
    at.rx() += handle.width();
    QMouseEvent move(QEvent::MouseMove, at, slider->mapToGlobal(at), Qt::NoButton, Qt::LeftButton, {});
    QApplication::sendEvent(slider, &move);
  }
  QTest::mouseRelease(slider, Qt::LeftButton, {}, at);
}

// A file dragged from a file manager and let go over target, through the window as
// the window system hands it over; whether the drop was taken.
bool DropFile(TMainWindow& w, QWidget* target, const std::string& path, Qt::KeyboardModifiers keys = {}) {
  QMimeData data;
  data.setUrls({QUrl::fromLocalFile(PathToQt(path))});
  const QPoint at = target->mapTo(&w, target->rect().center());
  QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, keys);
  QApplication::sendEvent(w.windowHandle(), &enter);
  if (!enter.isAccepted()) return false;
  QDropEvent drop(at, Qt::CopyAction, &data, Qt::LeftButton, keys);
  QApplication::sendEvent(w.windowHandle(), &drop);
  return drop.isAccepted();
}

// A picture of a window or menu for people to look at, in test-output/editor/.
void Shot(QWidget* w, const QString& name) {
  const QString dir = QString(QZ_TEST_OUTPUT_DIR) + "/editor/";
  QDir().mkpath(dir);
  QCoreApplication::processEvents();
  QVERIFY2(w->grab().save(dir + name + ".png"), qPrintable(name));
}

// A menu of the menu bar, opened as a click on its title opens it.
QMenu* OpenMenu(TMainWindow& w, const QString& title) {
  for (QAction* a : w.menuBar()->actions())
    if (a->text() == title && a->menu()) {
      a->menu()->popup(w.mapToGlobal(w.menuBar()->actionGeometry(a).bottomLeft()));
      return a->menu();
    }
  return nullptr;
}

QImage PreviewPicture(TMainWindow& w) { return w.Preview()->Picture()->pixmap().toImage(); }

// The design as it stands: parameters, message, export size and shadows.
TDesignState DesignOf(const TDesignSession& s) {
  return {s.Params(), s.Text(), s.Dimensions(), {s.Shadow(TPart::Text), s.Shadow(TPart::Button)}};
}

// The deferred work of the last edits carried out, as the timer does after a pause.
void Pause(TMainWindow& w) {
  const int delay = w.Session->Params().RDelay;
  for (int i = 0; i <= delay + 1; ++i) w.Deferred.Tick(), w.History()->Tick(delay);
}

}  // namespace

class EditorHabitsTest : public TWindowTestBase {
  Q_OBJECT

 private slots:
  void initTestCase() { SetUpDesigns(); }
  void init() { messages_.Texts.clear(); }
  void cleanup() { StopWatchingModals(); }

  void aSliderDragAndABurstOfTypingAreOneStepEach() {
    auto w = MakeWindow();
    Prepare(*w, "Go");
    Pause(*w);
    const QImage before = PreviewPicture(*w);
    auto* slider = Widget<QSlider>(*w, TControl::TextExtrusion);
    const int start = slider->value();
    const size_t steps = w->Session->History().UndoSteps();
    w->Tabs()->setCurrentIndex(static_cast<int>(TTab::CaptionTuneup));
    DragSlider(slider, 6);
    const int dragged = slider->value();
    QVERIFY(dragged > start + 5);
    Pause(*w);
    const QImage after = PreviewPicture(*w);
    QVERIFY(after != before);
    QCOMPARE(w->Session->History().UndoSteps(), steps + 1);

    Pick(*w, "&Undo");
    QCOMPARE(w->Session->Params().TxtY, start);
    QCOMPARE(slider->value(), start);
    QCOMPARE(PreviewPicture(*w), before);
    Pick(*w, "&Redo");
    QCOMPARE(w->Session->Params().TxtY, dragged);
    QCOMPARE(slider->value(), dragged);
    QCOMPARE(PreviewPicture(*w), after);

    // Typing a word is one step too; Ctrl+Z in the message box undoes the design's
    // step (the box has no undo of its own).
    QWidget* edit = w->Control(TControl::MessageEdit);
    edit->setFocus();
    QTest::keyClick(edit, Qt::Key_End);
    QTest::keyClicks(edit, " Home");
    Pause(*w);
    QCOMPARE(w->Session->Text().Text(), std::string("Go Home"));
    QTest::keyClick(edit, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(w->Session->Text().Text(), std::string("Go"));
    QCOMPARE(w->MessageEdit()->toPlainText(), QString("Go"));
    QCOMPARE(w->Session->Params().TxtY, dragged);
    QTest::keyClick(edit, Qt::Key_Y, Qt::ControlModifier);
    QCOMPARE(w->Session->Text().Text(), std::string("Go Home"));
    QVERIFY(messages_.Texts.empty());
  }

  void undoingBackToTheSavedStateClearsTheUnsavedMark() {
    auto w = MakeWindow();
    QCOMPARE(w->windowTitle(), QString("Untitled[*] - Quenzar"));
    Prepare(*w, "Saved");
    QVERIFY(w->isWindowModified());
    QVERIFY(Through<QFileDialog>([&] { Pick(*w, "&Save ..."); },
                                 [this](QFileDialog* d) { TypeIntoFileDialog(d, PathToQt(programDir_ + "Works/saved")); }));
    QCOMPARE(w->windowTitle(), QString("saved.qznr[*] - Quenzar"));
    QVERIFY(!w->Modified() && !w->isWindowModified());

    auto* shadow = Widget<QCheckBox>(*w, TControl::ButtonDropShadow);
    QTest::mouseClick(shadow, Qt::LeftButton);
    QVERIFY(w->Modified() && w->isWindowModified());
    Pick(*w, "&Undo");
    QVERIFY(!w->Modified() && !w->isWindowModified());
    QVERIFY(shadow->isChecked() && w->Session->Params().Button.Altitude > 0);
    Pick(*w, "&Undo");  // before the save: unsaved again
    QVERIFY(w->Modified() && w->isWindowModified());
    Pick(*w, "&Redo");
    QVERIFY(!w->Modified());
    QMenu* edit = OpenMenu(*w, "&Edit");
    QVERIFY(edit && w->History()->UndoAction->isEnabled() && w->History()->RedoAction->isEnabled());
    Shot(edit, "edit-menu");
    edit->hide();
    // Nothing unsaved, so quitting asks nothing; New starts a history of its own.
    Pick(*w, "&New");
    QVERIFY(!w->History()->UndoAction->isEnabled() && !w->History()->RedoAction->isEnabled());
    QCOMPARE(w->windowTitle(), QString("Untitled[*] - Quenzar"));
  }

  void recentWorksSurviveARestartAndAGoneOneIsTakenOff() {
    std::filesystem::remove(programDir_ + "Buttons.dat");  // no works from the tests before
    const std::string gone = programDir_ + "Works/gone.qznr";
    WriteWork(gone, "Gone");
    {
      auto w = MakeWindow([](TWelcomeDialog* f) {
        f->SetMode(TWelcomeDialog::ModeSaved), ItemNamed(f->FileList, "gone.qznr")->setSelected(true), f->OkButton->click();
      });
      QCOMPARE(w->windowTitle(), QString("gone.qznr[*] - Quenzar"));
      QVERIFY(Through<TWelcomeDialog>([&] { Pick(*w, "&Open ..."); },
                              [](TWelcomeDialog* f) { ItemNamed(f->FileList, "mine.qznr")->setSelected(true), f->OkButton->click(); }));
    }  // the window closes: the settings are written
    std::filesystem::remove(gone);
    auto w = MakeWindow();
    auto* recent = w->findChild<TRecentMenu*>();
    emit recent->aboutToShow();
    QStringList entries;
    for (QAction* a : recent->actions()) entries << a->text();
    QCOMPARE(entries, (QStringList{"&1  mine.qznr", "&2  gone.qznr"}));
    Shot(recent, "open-recent");
    Pick(*w, "&2  gone.qznr");
    QCOMPARE(messages_.Texts.size(), size_t{1});
    QVERIFY(QString::fromStdString(messages_.Texts[0]).contains("gone.qznr no longer exists"));
    QCOMPARE(w->Session->Text().Text(), std::string("Start"));
    emit recent->aboutToShow();
    QCOMPARE(recent->actions().size(), 1);
    Pick(*w, "&1  mine.qznr");
    QCOMPARE(w->Session->Text().Text(), std::string("Mine"));
    QCOMPARE(w->windowTitle(), QString("mine.qznr[*] - Quenzar"));
  }

  void droppedWorksOpenAndDroppedPicturesBecomeTextures() {
    auto w = MakeWindow();
    Prepare(*w, "Go");
    // A work dropped anywhere on the window asks about the unsaved changes first.
    auto asked = WhenModal<QMessageBox>([](QMessageBox* b) { b->button(QMessageBox::No)->click(); });
    QVERIFY(DropFile(*w, w->Tabs(), programDir_ + "Works/mine.qznr"));
    QTRY_COMPARE(w->Session->Text().Text(), std::string("Mine"));
    QVERIFY(*asked && !w->Modified());
    QCOMPARE(w->windowTitle(), QString("mine.qznr[*] - Quenzar"));

    // A picture is a texture on the preview only; with Shift, the letters'.
    QImage png(8, 8, QImage::Format_ARGB32);
    png.fill(QColor(20, 90, 200));
    const std::string picture = programDir_ + "blue.png";
    QVERIFY(png.save(PathToQt(picture)));
    QVERIFY(!DropFile(*w, w->Tabs(), picture));
    QVERIFY(DropFile(*w, w->Preview(), picture));
    QTRY_VERIFY(w->Session->Textured(TPart::Button));
    QCOMPARE(w->Session->Params().Button.TexFile, picture);
    QVERIFY(DropFile(*w, w->Preview(), textureFile_, Qt::ShiftModifier));
    QTRY_VERIFY(w->Session->Textured(TPart::Text));
    QCOMPARE(w->Session->Params().Message.TexFile, textureFile_);
    Shot(w.get(), "dropped-textures");
    Pick(*w, "&Undo");
    QVERIFY(!w->Session->Textured(TPart::Text) && w->Session->Textured(TPart::Button));

    // A file that is no picture: the texture loader's message, and nothing else.
    const std::string junk = programDir_ + "junk.jpg";
    test::WriteText(junk, "this is no picture");
    const TDesignState state = DesignOf(*w->Session);
    const QImage shown = PreviewPicture(*w);
    const size_t steps = w->Session->History().UndoSteps();
    const bool modified = w->Modified();
    QVERIFY(DropFile(*w, w->Preview(), junk));
    QTRY_COMPARE(messages_.Texts.size(), size_t{1});
    QVERIFY(QString::fromStdString(messages_.Texts[0]).startsWith(PathToQt("Error loading file: " + junk + ": ")));
    QVERIFY(SameDesign(DesignOf(*w->Session), state) && w->Session->Textured(TPart::Button));
    QCOMPARE(w->Session->History().UndoSteps(), steps);
    QCOMPARE(w->Modified(), modified);
    QCOMPARE(PreviewPicture(*w), shown);
  }

  void copyPicturePutsTheExportPictureOnTheClipboard() {
    auto w = MakeWindow();
    Prepare(*w, "Copy");
    w->Tabs()->setCurrentIndex(static_cast<int>(TTab::Dimensions));
    auto* width = Widget<QLineEdit>(*w, TControl::DimWidthEdit);
    width->selectAll(), QTest::keyClicks(width, "150");
    const QSize size(w->Session->ExportSize().width, w->Session->ExportSize().height);
    QCOMPARE(size.width(), 150);
    Pick(*w, "&Copy Picture");
    const QImage copied = QGuiApplication::clipboard()->image();
    QCOMPARE(copied.size(), size);
    QVERIFY(copied.hasAlphaChannel());
    QCOMPARE(qAlpha(copied.pixel(0, 0)), 0);  // the page shows through around the button
    QCOMPARE(qAlpha(copied.pixel(size.width() / 2, size.height() / 2)), 255);
    // Nothing to copy: said so, the clipboard kept.
    w->MessageEdit()->clear();
    Pick(*w, "&Copy Picture");
    QCOMPARE(messages_.Texts, std::vector<std::string>{"Sorry, there is nothing to export"});
    QCOMPARE(QGuiApplication::clipboard()->image().size(), size);
  }
};

}  // namespace qz

QZ_WINDOW_TEST_MAIN(qz::EditorHabitsTest)
#include "EditorHabitsTest.moc"
