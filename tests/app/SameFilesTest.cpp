// One design, one answer: the same design gives the same files whichever front end
// writes them, whatever was done to it before. Every factory design is begun in the
// designer and edited as a user edits (a letter typed and deleted, a texture put on
// the letters, a shape chosen and undone, a slider moved, undone and redone, the
// button's texture changed and changed back, the export size set), then saved and
// exported; quenzar-cli exports and saves the very work the designer saved, and every
// file must be the designer's, byte for byte.

#include <filesystem>

#include "WindowKit.h"
#include "base/FileUtil.h"
#include "image/ImageFile.h"
#include "cli/RunCli.h"

namespace qz {

namespace fs = std::filesystem;

class SameFilesTest : public TWindowTestBase {
  Q_OBJECT

  QTemporaryDir out_;

  // The installation's designs, textures and shapes in a program folder of the test's
  // own (the designer writes its settings there).
  void CopyInstallation() {
    QVERIFY(dir_.isValid() && out_.isValid());
    programDir_ = dir_.path().toStdString() + "/";
    const fs::path from = QZ_PROGRAM_DIR;
    for (const char* item : {"default.dat", "Default.dat", "Templates", "Textures", "BShapes"})
      fs::copy(from / item, programDir_ + item, fs::copy_options::recursive);
  }

  std::string Out(const std::string& name) const { return out_.path().toStdString() + "/" + name; }

  std::vector<uint8_t> Bytes(const std::string& path) const {
    return ReadWholeFile(path, 64 << 20).value_or(std::vector<uint8_t>{});
  }

  // Edits the design as a user would, through the window.
  void EditAsAUser(TMainWindow& w) {
    QWidget* message = w.Control(TControl::MessageEdit);
    QTest::keyClick(message, Qt::Key_End);
    QTest::keyClicks(message, "x");
    QTest::keyClick(message, Qt::Key_Backspace);
    w.Rebuild();
    // The letters take a texture, a shape is chosen and undone.
    w.UseDroppedTexture(PathToQt(programDir_ + "Textures/Gold.bmp"), true);
    const auto shown = WhenModal<TShapeDialog>([](TShapeDialog* d) {
      ItemNamed(d->ShapeList, "CLOUD")->setSelected(true), d->OkButton->click();
    });
    QTest::mouseClick(w.Control(TControl::ShapeSelection), Qt::LeftButton);
    QVERIFY(*shown);
    Pick(w, "&Undo");
    // A slider moved, undone and redone.
    auto* extrusion = Widget<QSlider>(w, TControl::TextExtrusion);
    extrusion->setValue(extrusion->value() + 25);
    w.Rebuild();
    Pick(w, "&Undo");
    Pick(w, "&Redo");
    // The button's texture changed and changed back (put on and taken off when it has none).
    const std::string own = w.Session->Params().Button.TexFile;
    w.UseDroppedTexture(PathToQt(programDir_ + "Textures/Stone.gif"), false);
    if (own.empty())
      QTest::mouseClick(w.Control(TControl::ButtonClearTexture), Qt::LeftButton);
    else
      w.UseDroppedTexture(PathToQt(own), false);
    w.Rebuild();
    // The export size set on the Dimensions tab.
    w.Tabs()->setCurrentIndex(static_cast<int>(TTab::Dimensions));
    Widget<QLineEdit>(w, TControl::DimWidthEdit)->selectAll();
    QTest::keyClicks(w.Control(TControl::DimWidthEdit), "120");
  }

  void SaveAndExport(TMainWindow& w, const std::string& stem) {
    QVERIFY(Through<QFileDialog>([&] { Pick(w, "&Save ..."); },
                                 [&](QFileDialog* d) { TypeIntoFileDialog(d, PathToQt(Out(stem + ".qznr"))); }));
    w.Tabs()->setCurrentIndex(static_cast<int>(TTab::Export));
    TExportPage* page = w.ExportPage();
    page->BrowserPreviewCheck->setChecked(false);
    for (int entry : {0, 3}) {  // GIF, PNG
      QVERIFY(Through<QFileDialog>([page] { page->ExportButton->click(); }, [&](QFileDialog* d) {
        d->selectNameFilter(ExportFilters()[entry]), TypeIntoFileDialog(d, PathToQt(Out(stem)));
      }));
    }
  }

  // quenzar-cli's files from the work the designer saved, each the designer's own.
  void CompareWithTheCommandLine(const std::string& stem) {
    const std::string work = Out(stem + ".qznr");
    for (const char* ext : {".gif", ".png"}) {
      const auto r = test::RunCliAt(QZ_CLI, {"export", work, Out(stem + "-cli" + ext)});
      QVERIFY2(r.status == 0, r.err.c_str());
      const std::vector<uint8_t> designer = Bytes(Out(stem + ext));
      QVERIFY2(!designer.empty(), qPrintable(QString::fromStdString(stem + ext) + " not written"));
      QVERIFY2(Bytes(Out(stem + "-cli" + ext)) == designer, qPrintable(QString::fromStdString(stem + ext) + " differs"));
    }
    const auto r = test::RunCliAt(QZ_CLI, {"save", work, Out(stem + "-cli.qznr")});
    QVERIFY2(r.status == 0, r.err.c_str());
    QVERIFY2(Bytes(Out(stem + "-cli.qznr")) == Bytes(work), qPrintable(QString::fromStdString(stem) + " saved differently"));
  }

 private slots:
  void initTestCase() { CopyInstallation(); }
  void cleanup() { StopWatchingModals(); }

  void everyFactoryDesignGivesTheSameFilesFromBothFrontEnds() {
    std::vector<std::string> designs{"default.dat", "Default.dat"};
    for (const auto& e : fs::directory_iterator(programDir_ + "Templates")) designs.push_back("Templates/" + e.path().filename().string());
    std::sort(designs.begin(), designs.end());
    QCOMPARE(designs.size(), size_t{12});
    auto w = MakeWindow();
    for (const std::string& design : designs) {
      const std::string stem = fs::path(design).stem().string() + (design == "default.dat" ? "-start" : "");
      QVERIFY(w->LoadWork(programDir_ + design));
      EditAsAUser(*w);
      if (QTest::currentTestFailed()) return;
      SaveAndExport(*w, stem);
      if (QTest::currentTestFailed()) return;
      CompareWithTheCommandLine(stem);
      if (QTest::currentTestFailed()) return;
    }
    QVERIFY2(messages_.Texts.empty(), messages_.Texts.empty() ? "" : messages_.Texts[0].c_str());
  }

  // The export size set on the Dimensions tab is the work's: the designer and
  // quenzar-cli export it, and quenzar-cli's save keeps it.
  void theSizeSetIsTheWorksSize() {
    auto w = MakeWindow();
    QVERIFY(w->LoadWork(programDir_ + "default.dat"));
    w->Tabs()->setCurrentIndex(static_cast<int>(TTab::Dimensions));
    Widget<QLineEdit>(*w, TControl::DimWidthEdit)->selectAll();
    QTest::keyClicks(w->Control(TControl::DimWidthEdit), "120");
    const TExportSize size = w->Session->ExportSize();
    QCOMPARE(size.width, 120);
    QVERIFY(w->isWindowModified());
    SaveAndExport(*w, "sized");
    CompareWithTheCommandLine("sized");
    const TBitmap exported = LoadImageFile(Out("sized-cli.gif"));
    QCOMPARE(QSize(exported.Width(), exported.Height()), QSize(size.width, size.height));
  }
};

}  // namespace qz

QZ_WINDOW_TEST_MAIN(qz::SameFilesTest)
#include "SameFilesTest.moc"
