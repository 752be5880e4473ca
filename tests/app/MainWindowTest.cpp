// The main window's rules beyond the table: captions and hints, hex colours, the hide
// and brightness rules, the busy guard, status texts, the export-size refit, the
// Dimensions tab, the light marker, saving, and the settings file.
#include "WindowKit.h"

namespace qz {

class MainWindowTest : public TWindowTestBase {
  Q_OBJECT

 private slots:
  void initTestCase() { SetUpProgramFolder(); }

  void init() { messages_.Texts.clear(); }

  void tabsAndStepsAsTheUserSeesThem() {
    auto w = MakeWindow();
    QCOMPARE(w->windowTitle(), QString("Quenzar"));
    QCOMPARE(w->Tabs()->count(), 10);
    for (int i = 0; i < 10; ++i) QCOMPARE(w->Tabs()->tabText(i), QString(TabTable[i].Caption));
    QCOMPARE(w->Tabs()->tabText(2), QString("Caption Color "));
    QCOMPARE(Widget<QAbstractButton>(*w, TControl::FontSelection)->text(), QString("ont Selection"));
    QCOMPARE(Widget<QAbstractButton>(*w, TControl::BkgSetHex)->text(), QString("et Hex (RGB)"));
    QCOMPARE(Widget<QAbstractButton>(*w, TControl::BkgSetHex)->iconSize(), QSize(16, 16));
    QCOMPARE(Widget<QSlider>(*w, TControl::Brightness)->minimum(), 1);
    QCOMPARE(Widget<QSlider>(*w, TControl::Brightness)->maximum(), 254);
    QCOMPARE(Widget<QSlider>(*w, TControl::Brightness)->value(), 255 - 204);
    QCOMPARE(Widget<QComboBox>(*w, TControl::OutlineComplexity)->currentText(), QString(" Normal"));
    QCOMPARE(Widget<QLineEdit>(*w, TControl::BkgHexBox)->text(), QString("FFFFFF"));
    // The start-up load found no default.dat and said so.
    QVERIFY(!messages_.Texts.empty());
    QVERIFY(QString::fromStdString(messages_.Texts.front()).startsWith("Invalid file version: "));
    w->Modified = false;
  }

  // Every control of the table, through its widget.
  void hexBoxWithoutDigitsChangesNothing() {
    auto w = MakeWindow();
    Prepare(*w);
    const TColor before = w->Scene->BkgColor;
    Widget<QLineEdit>(*w, TControl::BkgHexBox)->setText("xyz");
    QSignalSpy redrawn(w.get(), &TForm1::Redrawn);
    w->Modified = false;
    QTest::mouseClick(w->Control(TControl::BkgSetHex), Qt::LeftButton);
    QCOMPARE(w->Scene->BkgColor, before);
    QCOMPARE(redrawn.count(), 0);
    QVERIFY(!w->Modified);
    QCOMPARE(messages_.Texts.size(), size_t{2});
    QVERIFY(QString::fromStdString(messages_.Texts.back()).contains("xyz"));
    Widget<QLineEdit>(*w, TControl::BkgHexBox)->setText("FF");
    QTest::mouseClick(w->Control(TControl::BkgSetHex), Qt::LeftButton);
    QCOMPARE(w->Scene->BkgColor, RGBToColor(0, 0, 255));
    QCOMPARE(w->Preview()->palette().color(QPalette::Window), QColor(0, 0, 255));
    w->Modified = false;
  }

  void hideButtonAndTypeRules() {
    auto w = MakeWindow();
    Prepare(*w);
    auto* hide = Widget<QCheckBox>(*w, TControl::HideButton);
    hide->setChecked(true);
    QCOMPARE(w->Scene->Type, 0);
    hide->setChecked(false);
    QCOMPARE(w->Scene->Type, 2);  // no shape chosen: the rounded rectangle
    w->Scene->ShapeName = "STAR.QZKH";
    hide->setChecked(true);
    hide->setChecked(false);
    QCOMPARE(w->Scene->Type, 16);  // the chosen shape again
    w->Modified = false;
  }

  void brightnessMovesRebuildOnceAfterTheDelay() {
    auto w = MakeWindow();
    Prepare(*w);
    QSignalSpy rebuilt(w.get(), &TForm1::Rebuilt);
    auto* slider = Widget<QSlider>(*w, TControl::Brightness);
    for (int v = 60; v < 70; ++v) slider->setValue(v);
    QCOMPARE(w->Scene->Brightness, 255 - 69);
    for (int tick = 0; tick < w->Scene->RDelay; ++tick) w->Deferred.Tick();
    QCOMPARE(rebuilt.count(), 0);
    w->Deferred.Tick();
    QCOMPARE(rebuilt.count(), 1);
    // The same value again asks for nothing.
    const TObserved o = Observe(*w, [&] { slider->setValue(69); });
    QCOMPARE(Classify(o), TEffect::None);
    w->Modified = false;
  }

  void busyWindowLetsRequestsWait() {
    auto w = MakeWindow();
    Prepare(*w);
    QSignalSpy rebuilt(w.get(), &TForm1::Rebuilt);
    QSignalSpy redrawn(w.get(), &TForm1::Redrawn);
    w->Deferred.Busy = true;  // as while a build lets events run
    w->Rebuild();
    w->RedrawPreview(true);
    for (int i = 0; i < 10; ++i) w->Deferred.Tick();
    QCOMPARE(rebuilt.count(), 0);
    QCOMPARE(redrawn.count(), 0);
    QVERIFY(w->Deferred.RebuildPending && w->Deferred.RenderPending);
    w->Deferred.Busy = false;
    w->Deferred.DelayTicks = 0;
    w->Deferred.Tick();
    QCOMPARE(rebuilt.count(), 1);
    QVERIFY(!w->Deferred.RebuildPending && !w->Deferred.RenderPending);
    w->Modified = false;
  }

  void statusTextsOfARender() {
    auto w = MakeWindow();
    Prepare(*w);
    w->RedrawPreview(true);
    QVERIFY(w->StatusText(0).startsWith("V : "));
    QVERIFY(w->StatusText(1).startsWith("F : "));
    QVERIFY(w->StatusText(2).endsWith(" Kb"));
    QCOMPARE(w->StatusText(3), QString(" Done"));
    QCOMPARE(w->ProgressBar()->value(), 100);
    QVERIFY(w->Deferred.ProgressPending);
    for (int i = 0; i <= w->Scene->RDelay + 1; ++i) w->Deferred.Tick();
    QCOMPARE(w->StatusText(3), QString());
    QCOMPARE(w->ProgressBar()->value(), 0);
    // The preview fills its share of the panel (ViewSize percent of the width for a
    // wide picture) and keeps the picture's proportions.
    const QPixmap shown = w->Preview()->Picture()->pixmap();
    QCOMPARE(shown.width(), w->PreviewBitmap.Width());
    QVERIFY(std::abs(shown.width() - w->Preview()->width() * w->Scene->ViewSize / 100) <= 1 ||
            std::abs(shown.height() - w->Preview()->height() * w->Scene->ViewSize / 100) <= 1);
    w->Modified = false;
  }

  void emptyMessageShowsTheBackground() {
    auto w = MakeWindow();
    w->Scene->BkgColor = RGBToColor(0, 200, 0);
    w->MessageEdit()->clear();
    w->Rebuild();
    QCOMPARE(w->Scene->Image.Width(), 16);
    QCOMPARE(w->Scene->Image.Height(), 16);
    QCOMPARE(w->Scene->Image.Pixel(5, 5), ColorToPixel(RGBToColor(0, 200, 0)));
    w->Modified = false;
  }

  void rebuildRefitsTheExportSizeUnlessHeld() {
    auto w = MakeWindow();
    Prepare(*w, "Refit");
    TScene& s = *w->Scene;
    QCOMPARE(w->Dim.BaseWidth, s.Image.Width());
    QCOMPARE(w->Dim.BaseHeight, s.Image.Height());
    const TExportSize fit = FitExportSize(s.Image.Width(), s.Image.Height());
    QCOMPARE(w->Dim.Width, fit.width);
    QCOMPARE(w->Dim.Height, fit.height);
    // An image of the same size leaves edited dimensions alone.
    w->Dim.Width = 99;
    w->Rebuild();
    QCOMPARE(w->Dim.Width, 99);
    // A held size is never refitted.
    w->Dim.BaseWidth = 1;
    s.HoldButtonSize = true;
    w->Rebuild();
    QCOMPARE(w->Dim.Width, 99);
    w->Modified = false;
  }

  void dimensionsTabThroughItsWidgets() {
    auto w = MakeWindow();
    Prepare(*w);
    w->Tabs()->setCurrentIndex(static_cast<int>(TTab::Dimensions));
    w->Dim = {160, 40, 50, 100};  // a base twice as high as wide
    w->TabSheet9Show();
    auto* width = Widget<QLineEdit>(*w, TControl::DimWidthEdit);
    auto* height = Widget<QLineEdit>(*w, TControl::DimHeightEdit);
    width->selectAll();
    QTest::keyClicks(width, "1000");
    QCOMPARE(w->Dim.Width, 800);
    QCOMPARE(w->Dim.Height, 1600);  // derived, not clamped
    QCOMPARE(width->text(), QString("800"));
    QCOMPARE(Widget<QSlider>(*w, TControl::HeightRuler)->value(), -145);  // clipped ruler
    // Other keys never reach the boxes.
    width->selectAll();
    QTest::keyClicks(width, "1x2-");
    QCOMPARE(width->text(), QString("12"));
    // Unconstrained: the height alone.
    Widget<QCheckBox>(*w, TControl::DimConstrain)->setChecked(false);
    height->selectAll();
    QTest::keyClicks(height, "90");
    QCOMPARE(w->Dim.Height, 90);
    QCOMPARE(w->Dim.Width, 12);
    QCOMPARE(Widget<QSlider>(*w, TControl::HeightRuler)->value(), -90);
    // Ruler ends.
    auto* heightRuler = Widget<QSlider>(*w, TControl::HeightRuler);
    heightRuler->setValue(heightRuler->minimum());
    QCOMPARE(w->Dim.Height, 145);
    heightRuler->setValue(heightRuler->maximum());
    QCOMPARE(w->Dim.Height, 5);
    // The picture shows the preview at the export size.
    QVERIFY(!w->DimensionPicture()->pixmap().isNull());
    QCOMPARE(w->DimensionPicture()->pixmap().size(), QSize(w->Dim.Width, w->Dim.Height));
    w->Modified = false;
  }

  void lightMarkerOnlyOnItsTabAndInsideThePreview() {
    auto w = MakeWindow();
    Prepare(*w);
    TLightMarker* m = w->Preview()->Marker();
    QVERIFY(!m->isVisible());
    w->Tabs()->setCurrentIndex(static_cast<int>(TTab::LightSource));
    QVERIFY(m->isVisible() && m->isEnabled());
    // Placed from the angles: centre at client x a1 / pi, client y a2 / pi.
    const QSize client = w->Preview()->size();
    const TMarkerPoint c = LightMarkerCentre(w->Scene->a1, w->Scene->a2, client.width(), client.height());
    QCOMPARE(m->pos(), QPoint(c.X - 16, c.Y - 16));
    // Dragged far to the upper left, it stops 1 pixel inside; far right, at client - 33.
    QTest::mousePress(m, Qt::LeftButton, {}, QPoint(16, 16));
    QVERIFY(m->DragLight());
    QMouseEvent toCorner(QEvent::MouseMove, QPointF(-5000, -5000), QPointF(), Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(m, &toCorner);
    QVERIFY(m->x() >= 1 && m->y() >= 1);
    QMouseEvent step(QEvent::MouseMove, QPointF(17, 16), QPointF(), Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    for (int i = 0; i < 2000; ++i) QApplication::sendEvent(m, &step);
    QVERIFY(m->x() < client.width() - 32);
    QVERIFY(m->x() >= client.width() - 34);
    // A drag with Shift held does not move it.
    const QPoint before = m->pos();
    QMouseEvent shifted(QEvent::MouseMove, QPointF(-20, 16), QPointF(), Qt::NoButton, Qt::LeftButton, Qt::ShiftModifier);
    QApplication::sendEvent(m, &shifted);
    QCOMPARE(m->pos(), before);
    QTest::mouseRelease(m, Qt::LeftButton, {}, QPoint(16, 16));
    QVERIFY(!m->DragLight());
    // Dropped at the centre of the preview: both angles pi/2.
    QSignalSpy redrawn(w.get(), &TForm1::Redrawn);
    w->Modified = false;
    w->DropLightMarker(QPoint(client.width() / 2, client.height() / 2));
    if (client.width() % 2 == 0 && client.height() % 2 == 0) {
      QCOMPARE(w->Scene->a1, static_cast<float>(std::numbers::pi / 2));
      QCOMPARE(w->Scene->a2, static_cast<float>(std::numbers::pi / 2));
    }
    QVERIFY(w->Modified);
    QCOMPARE(redrawn.count(), 1);
    w->Tabs()->setCurrentIndex(static_cast<int>(TTab::Caption));
    QVERIFY(!m->isVisible());
    w->Modified = false;
  }

  void settingsAreWrittenAtExitKeepingTheExportKeys() {
    // The works folder at start-up is the folder of the last work saved.
    const std::string mine = programDir_ + "Elsewhere/mine.qznr";
    QVERIFY(QDir().mkpath(QString::fromStdString(programDir_ + "Elsewhere")));
    {
      std::ofstream out(programDir_ + "Buttons.dat");
      out << "[General]\r\nImageFile=button.gif\r\nJobFile=" << mine << "\r\nSaves=/nowhere/\r\n";
    }
    {
      auto w = MakeWindow();
      QCOMPARE(w->Settings.JobFile, mine);
      QCOMPARE(w->Settings.WorksDir, programDir_ + "Elsewhere/");
      w->Settings.TemplateFile = "/tmp/t.qzpl";
      w->Modified = false;
    }
    const TIniFile ini(programDir_ + "Buttons.dat");
    QCOMPARE(ini.ReadString("General", "ImageFile", ""), std::string("button.gif"));
    QCOMPARE(ini.ReadString("General", "TemplateFile", ""), std::string("/tmp/t.qzpl"));
    QCOMPARE(ini.ReadString("General", "Saves", ""), programDir_ + "Elsewhere/");
    // The folder of a JobFile that is gone: the program's Works folder.
    {
      std::ofstream out(programDir_ + "Buttons.dat");
      out << "[General]\r\nJobFile=" << programDir_ << "Gone/mine.qznr\r\n";
    }
    {
      auto w = MakeWindow();
      QCOMPARE(w->Settings.WorksDir, programDir_ + "Works/");
      w->Modified = false;
    }
    QVERIFY(QFile::remove(QString::fromStdString(programDir_ + "Buttons.dat")));
  }

  void saveWritesTheWorkWithItsIconAndTemplatesApart() {
    auto w = MakeWindow();
    Prepare(*w, "Saved");
    w->Dim.Width = 123;
    w->Dim.Height = 45;
    const std::string jobBefore = w->Settings.JobFile;
    const QString work = QString::fromStdString(programDir_ + "Works/shiny.txt");
    WhenModal<QFileDialog>([work](QFileDialog* d) {
      TypeIntoFileDialog(d, work);
    });
    w->SaveClick();
    QVERIFY(!w->Modified);
    const std::string saved = programDir_ + "Works/shiny.qznr";  // the extension replaced
    QCOMPARE(w->Settings.JobFile, saved);
    const TIniFile ini(saved);
    QCOMPARE(ini.ReadString("General", "ExpWidth", ""), std::string("123"));
    QCOMPARE(ini.ReadString("General", "ExpHeight", ""), std::string("45"));
    QVERIFY(ini.ReadString("IconInfo", "Lines", "0") != "0");
    QVERIFY(!ini.ReadString("Icon", "1", "").empty());
    QVERIFY(jobBefore != saved);

    // The templates entry: a .qzpl beside, JobFile and WorksDir left alone.
    w->Modified = true;
    const std::string worksDir = w->Settings.WorksDir;
    const QString templ = QString::fromStdString(programDir_ + "Templates/plain");
    WhenModal<QFileDialog>([templ](QFileDialog* d) {
      d->selectNameFilter(d->nameFilters().value(1));
      TypeIntoFileDialog(d, templ);
    });
    w->SaveClick();
    QCOMPARE(w->Settings.TemplateFile, programDir_ + "Templates/plain.qzpl");
    QVERIFY(QFile::exists(QString::fromStdString(w->Settings.TemplateFile)));
    QCOMPARE(w->Settings.JobFile, saved);
    QCOMPARE(w->Settings.WorksDir, worksDir);

    // A cancelled save leaves Modified set.
    w->Modified = true;
    WhenModal<QFileDialog>([](QFileDialog* d) { d->reject(); });
    w->SaveClick();
    QVERIFY(w->Modified);

    // The saved work loads back into the window.
    w->MessageEdit()->setPlainText("Other");
    w->LoadWork(saved);
    QCOMPARE(w->MessageEdit()->toPlainText(), QString("Saved"));
    QCOMPARE(w->Text.Text(), std::string("Saved"));
    w->Modified = false;
  }

  void unwritableSettingsAreReportedNotFatal() {
    QTemporaryDir other;
    const std::string dir = other.path().toStdString() + "/";
    // A folder where the settings file should be: it can be neither read nor written.
    QVERIFY(QDir(other.path()).mkdir("Buttons.dat"));
    test::TMessageCollector collected;
    {
      TForm1 w(dir);
      w.SetMessageSink(&collected);
    }
    QCOMPARE(collected.Texts.size(), size_t{1});
    QVERIFY(QString::fromStdString(collected.Texts[0]).startsWith("The settings could not be saved"));
  }
};
}  // namespace qz

QTEST_MAIN(qz::MainWindowTest)
#include "MainWindowTest.moc"
