#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QFileDialog>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QSlider>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QToolButton>
#include <QtTest>

#include "ModalDriver.h"
#include "app/ExportPage.h"
#include "app/QtBridge.h"

namespace qz {

class ExportPageTest : public QObject {
  Q_OBJECT

 private slots:
  void startValues() {
    TExportPage page;
    const TExportOptions o = page.Options();
    QCOMPARE(o.Format, TExportFormat::Gif);
    QCOMPARE(o.ColorBits, 8);
    QCOMPARE(static_cast<int>(o.PaletteKind), 7);
    QCOMPARE(static_cast<int>(o.Dithering), 0);
    QVERIFY(o.Transparency);
    QCOMPARE(o.JpegQuality, 90);
    QVERIFY(o.BrowserPreview);
    QCOMPARE(o.Diffusion, std::string(" None"));
    QCOMPARE(o.NumberOfColors, std::string(" 256"));
    QCOMPARE(page.GifPresetGroup->checkedButton()->text(), QString(" High quality"));
    QCOMPARE(page.JpegPresetGroup->checkedButton()->text(), QString(" High quality"));
    QCOMPARE(page.edQuality->text(), QString("90"));
    QVERIFY(page.cbColors->isEnabled());
    QStringList tabs;
    for (int i = 0; i < page.PageControl2->count(); ++i) tabs << page.PageControl2->tabText(i);
    QCOMPARE(tabs, (QStringList{" GIF", "JPEG", "Bitmap", "PNG"}));
    QCOMPARE(page.ExportButton->text(), QString("xport 3D Button"));
  }

  void gifPresets() {
    TExportPage page;
    const struct {
      int preset;
      int bits;
      const char* colors;
    } cases[] = {{0, 4, " 16"}, {1, 6, " 64"}, {2, 8, " 256"}};
    for (const auto& c : cases) {
      page.cbDithering->setCurrentIndex(3);
      page.cbPalette->setCurrentIndex(2);
      page.cbColors->setCurrentIndex(0);
      page.GifPresetGroup->button(c.preset)->click();
      const TExportOptions o = page.Options();
      QCOMPARE(o.ColorBits, c.bits);
      QCOMPARE(o.NumberOfColors, std::string(c.colors));
      QCOMPARE(static_cast<int>(o.Dithering), 0);
      QCOMPARE(static_cast<int>(o.PaletteKind), 7);
      QVERIFY(page.cbColors->isEnabled());
    }
  }

  void paletteKindsAndTheColorsList() {
    TExportPage page;
    const struct {
      const char* entry;
      int kind;
    } palettes[] = {{" Optimized", 7}, {" Netscape (216)", 6}, {" Monochrome (2)", 4},
                    {" Grayscale (256)", 5}, {" Windows grayscale (4)", 3}, {" Windows System (20)", 1},
                    {" Windows halftone (256)", 2}, {" Optimized Windows (256)", 8}};
    QCOMPARE(page.cbPalette->count(), 8);
    for (int i = 0; i < 8; ++i) {
      page.cbPalette->setCurrentIndex(i);
      QCOMPARE(page.cbPalette->currentText(), QString(palettes[i].entry));
      QCOMPARE(static_cast<int>(page.Options().PaletteKind), palettes[i].kind);
      QCOMPARE(page.cbColors->isEnabled(), i == 0);  // only " Optimized"
    }
    // With " Monochrome (2)" the colours are still reported to the preview page.
    page.cbColors->setCurrentIndex(2);
    page.cbPalette->setCurrentIndex(2);
    QCOMPARE(page.Options().NumberOfColors, std::string(" 32"));
    QCOMPARE(page.Options().ColorBits, 5);
    // Dithering codes follow the list.
    page.cbDithering->setCurrentIndex(6);
    QCOMPARE(static_cast<int>(page.Options().Dithering), 6);
    QCOMPARE(page.Options().Diffusion, std::string(" Burkes"));
    page.chTransparency->setChecked(false);
    page.chBrowserPreview->setChecked(false);
    QVERIFY(!page.Options().Transparency);
    QVERIFY(!page.Options().BrowserPreview);
  }

  void simpleAndAdvancedAlternate() {
    TExportPage page;
    page.show();
    QVERIFY(page.GifSimple->isVisible());
    QVERIFY(!page.GifAdvanced->isVisible());
    QCOMPARE(page.GifToggle->text(), QString("Advanced  >>"));
    page.GifToggle->click();
    QVERIFY(!page.GifSimple->isVisible());
    QVERIFY(page.GifAdvanced->isVisible());
    QCOMPARE(page.GifToggle->text(), QString("Simple  <<"));
    page.GifToggle->click();
    QVERIFY(page.GifSimple->isVisible());
    QCOMPARE(page.GifToggle->text(), QString("Advanced  >>"));
    page.PageControl2->setCurrentIndex(1);
    QVERIFY(page.JpegSimple->isVisible());
    page.JpegToggle->click();
    QVERIFY(page.JpegAdvanced->isVisible());
    QVERIFY(!page.JpegSimple->isVisible());
  }

  void jpegQuality() {
    TExportPage page;
    page.JpegPresetGroup->button(0)->click();
    QCOMPARE(page.tbQuality->value(), 30);
    QCOMPARE(page.edQuality->text(), QString("30"));
    page.JpegPresetGroup->button(1)->click();
    QCOMPARE(page.Options().JpegQuality, 60);
    page.tbQuality->setValue(45);
    QCOMPARE(page.edQuality->text(), QString("45"));
    QCOMPARE(page.Options().JpegQuality, 45);
    QVERIFY(page.edQuality->isReadOnly());
  }

  void formatFollowsTheSubPage() {
    TExportPage page;
    const TExportFormat formats[] = {TExportFormat::Gif, TExportFormat::Jpeg, TExportFormat::Bmp, TExportFormat::Png};
    for (int i = 0; i < 4; ++i) {
      page.PageControl2->setCurrentIndex(i);
      QCOMPARE(page.Options().Format, formats[i]);
    }
  }

  void dimensionsRefreshWhenShown() {
    TExportPage page;
    QSize size(200, 50);
    page.DimensionsSource = [&] { return size; };
    page.show();
    QCOMPARE(page.edDimWidth->text(), QString(" 200"));
    QCOMPARE(page.edDimHeight->text(), QString(" 50"));
    size = QSize(640, 160);
    page.hide();
    page.show();
    QCOMPARE(page.edDimWidth->text(), QString(" 640"));
    QCOMPARE(page.edDimHeight->text(), QString(" 160"));
    QVERIFY(page.edDimWidth->isReadOnly());
  }

  void exportButtonSignals() {
    TExportPage page;
    QSignalSpy spy(&page, &TExportPage::ExportRequested);
    page.ExportButton->click();
    QCOMPARE(spy.count(), 1);
  }

  void filterEntriesChooseTheFormat() {
    QCOMPARE(FormatFromFilterIndex(1), TExportFormat::Gif);
    QCOMPARE(FormatFromFilterIndex(2), TExportFormat::Jpeg);
    QCOMPARE(FormatFromFilterIndex(3), TExportFormat::Bmp);
    QCOMPARE(FormatFromFilterIndex(4), TExportFormat::Png);
    QCOMPARE(FormatFromFilterIndex(0), TExportFormat::Bmp);
  }

  void saveDialogChoosesTheFormatByItsFilter() {
    QTemporaryDir tmp;
    const std::string program = PathFromQt(tmp.path()) + "/";
    QString title, proposed, filter, folder;
    auto seen = WhenModal<QFileDialog>([&](QFileDialog* d) {
      title = d->windowTitle();
      proposed = d->findChild<QLineEdit*>("fileNameEdit")->text();
      filter = d->selectedNameFilter();
      folder = d->directory().absolutePath();
      d->selectNameFilter("JPEG Image (*.jpg)");
      TypeIntoFileDialog(d, "button.gif");
    });
    const auto target = AskExportFile(nullptr, program, "Click Here 2!", TExportFormat::Gif);
    QVERIFY(*seen);
    QCOMPARE(title, QString("Save 3D Button"));
    QCOMPARE(proposed, QString("ClickHere.gif"));
    QCOMPARE(filter, QString("GIF Image (*.gif)"));
    QCOMPARE(folder, PathToQt(program + "Images"));  // created for the dialog
    QVERIFY(target.has_value());
    QCOMPARE(target->Format, TExportFormat::Jpeg);
    QCOMPARE(target->Path, program + "Images/button.jpg");

    seen = WhenModal<QFileDialog>([&](QFileDialog* d) {
      filter = d->selectedNameFilter();
      d->selectNameFilter("PNG Image (*.png)");
      TypeIntoFileDialog(d, "soft");
    });
    const auto png = AskExportFile(nullptr, program, "Go", TExportFormat::Bmp);
    QVERIFY(*seen);
    QCOMPARE(filter, QString("Bitmap Image (*.bmp)"));
    QVERIFY(png && png->Format == TExportFormat::Png);
    QCOMPARE(png->Path, program + "Images/soft.png");

    seen = WhenModal<QFileDialog>([](QFileDialog* d) { d->reject(); });
    QVERIFY(!AskExportFile(nullptr, program, "Go", TExportFormat::Gif));
    QVERIFY(*seen);
  }
};

}  // namespace qz

QTEST_MAIN(qz::ExportPageTest)
#include "ExportPageTest.moc"
