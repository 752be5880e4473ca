// The window's parts on their own: the message box, the deferred-work timer, the
// export page's choices and the save dialog's formats, and the arithmetic of the
// Dimensions tab, the light marker and the hex colour box.
#include <QClipboard>
#include <QtTest>
#include <QtWidgets>
#include <numbers>

#include "app/export/ExportChoices.h"
#include "app/export/ExportPage.h"
#include "app/files/FileFilter.h"
#include "app/widgets/MessageEdit.h"
#include "app/window/DeferredWork.h"
#include "app/window/Dimensions.h"
#include "app/window/HexColor.h"
#include "export/ExportSize.h"

namespace qz {

namespace {

// Typed as a keyboard of another layout types: the text comes with the key event.
void Type(QWidget* w, const QString& text) {
  for (QChar c : text) {
    QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
    QApplication::sendEvent(w, &press);
  }
}

// The deferred work with counting handlers.
struct TCountedWork {
  int rebuilds = 0, renders = 0, clears = 0;
  TDeferredWork work{{[this] { ++rebuilds, work.RebuildDone(); }, [this] { ++renders, work.RenderDone(); },
                      [this] { ++clears; }}};
  TCountedWork& Ticks(int n) {
    for (int i = 0; i < n; ++i) work.Tick();
    return *this;
  }
};

}  // namespace

class WindowPartsTest : public QObject {
  Q_OBJECT

 private slots:
  void messageBoxHoldsOneLineOf32Characters() {
    TMessageEdit edit;
    QTest::keyClicks(&edit, "ab");
    for (Qt::Key key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Tab}) QTest::keyClick(&edit, key);
    QGuiApplication::clipboard()->setText("one\ntwo\tthree\r\n");
    edit.paste();
    QCOMPARE(edit.toPlainText(), QString("abonetwothree"));
    QTest::keyClicks(&edit, QString(40, 'x'));
    QCOMPARE(edit.toPlainText(), "abonetwothree" + QString(19, 'x'));
    edit.paste();  // at the limit a paste adds nothing
    QCOMPARE(edit.Length(), 32);
    // Over a selection, typing and pasting replace it and so still fit.
    edit.SetSelection(0, 5);
    QGuiApplication::clipboard()->setText("0123456789");
    edit.paste();
    QCOMPARE(edit.toPlainText(), "01234" + QString("twothree") + QString(19, 'x'));
  }

  void aCharacterTheCharsetLacksTakesOneThatHoldsItOrStaysItself() {
    TMessageEdit edit;  // default charset 1: code page 1252
    // a, Cyrillic de, a-umlaut, euro, and a character of no code page
    Type(&edit, QString::fromUtf8("a\u0434\u00e4\u20ac\u4e2d"));
    QCOMPARE(edit.toPlainText(), QString::fromUtf8("a\u0434\u00e4\u20ac\u4e2d"));
    TMessageText back;
    edit.ToMessageText(back);
    QCOMPARE(back.Text(), std::string("a\xE4\xE4\x80?"));
    QCOMPARE(back.At(4).Wide, U'\u4e2d');
    const int charsets[] = {1, 204, 1, 1, 1};  // de: Cyrillic 1251; a-umlaut is not in it: Western again
    for (int i = 0; i < 5; ++i) QCOMPARE(back.At(i).Format.Charset, charsets[i]);
    // Typing goes on in the charset last switched to.
    QGuiApplication::clipboard()->setText(QString::fromUtf8("\u0434x\u4e2d"));
    edit.paste();
    edit.ToMessageText(back);
    QCOMPARE(back.CodePoints(), std::u32string(U"a\u0434\u00e4\u20ac\u4e2d\u0434x\u4e2d"));
    QVERIFY(back.At(6).Format.Charset == 204 && back.At(7).Format.Charset == 204);
    // A character beyond the Basic Multilingual Plane is one character (two UTF-16
    // units in the box): 32 of them fill it, and selections count characters.
    edit.clear();
    const QString clef = QString::fromUcs4(U"\U0001D11E", 1);
    QGuiApplication::clipboard()->setText(clef.repeated(40));
    edit.paste();
    QCOMPARE(edit.Length(), 32);
    edit.SetSelection(30, 1);
    edit.ToMessageText(back);
    QVERIFY(back.Length() == 32 && back.SelStart() == 30 && back.SelLength() == 1 && back.At(31).Wide == 0x1D11E);
  }

  void formatsTravelThroughTheMessageBox() {
    TMessageText original;
    original.Append("Go", {"Times New Roman", 24, 0, true, false, false});
    original.Append("A", {"Symbol", 30, 2, false, false, false});
    original.Append(std::string(1, '\xC4'), {"Arial", 12, 204, false, false, true});  // Cyrillic capital De
    original.SetDefaultFormat({"Courier New", 20, 1, false, true, false});
    original.SetSelection(1, 2);
    TMessageEdit edit;
    edit.FromMessageText(original);
    QCOMPARE(edit.toPlainText().at(3), QChar(0x0414));  // shown through code page 1251
    TMessageText back;
    edit.ToMessageText(back);
    QVERIFY(back.Chars() == original.Chars() && back.DefaultFormat() == original.DefaultFormat());
    QVERIFY(back.SelStart() == 1 && back.SelLength() == 2);
    // With nothing selected it sets what is typed next; typing after a character
    // takes its format.
    edit.SetSelection(4, 0);
    edit.EditAsText([](TMessageText& m) { m.SetSelSize(40); });
    QTest::keyClicks(&edit, "e");
    edit.ToMessageText(back);
    QCOMPARE(back.Text(), std::string("GoA\xC4" "e"));
    QVERIFY(back.At(3).Format.Size == 12 && back.At(4).Format.Size == 40 && back.At(4).Format.Charset == 204);
  }

  // Ten slider moves within one tick rebuild once, at the RDelay + 1-th tick; a
  // further edit restarts the count; all work waits for the end of a build.
  void deferredWorkWaitsForThePause() {
    TCountedWork a;
    for (int i = 0; i < 10; ++i) a.work.DeferRebuild(3);
    QCOMPARE(a.Ticks(3).rebuilds, 0);
    QCOMPARE(a.Ticks(10).rebuilds, 1);
    a.work.DeferRender(3);
    a.Ticks(2).work.DeferRender(3);
    QCOMPARE(a.Ticks(3).renders, 0);
    QCOMPARE(a.Ticks(1).renders, 1);
    a.work.DeferRebuild(0);
    a.work.Busy = true;
    QCOMPARE(a.Ticks(5).rebuilds, 1);
    a.work.Busy = false;
    QCOMPARE(a.Ticks(1).rebuilds, 2);
    a.work.ShowDone(3);  // " Done" is cleared after RDelay + 1 ticks
    QCOMPARE(a.Ticks(4).clears, 0);
    QVERIFY(a.Ticks(1).clears == 1 && !a.work.ProgressPending);
  }

  // The export page hands over what its controls show: the sub-page on top decides the
  // format and whose quality counts; the GIF compression and the further pictures are
  // the user's alone (no preset touches them).
  void exportPageOptionsFollowItsControls() {
    TExportPage page;
    TExportOptions o = page.Options();
    QVERIFY(o.Format == TExportFormat::Gif && o.GifCompression == TGifCompression::Lzw);
    QVERIFY(o.Scale == 1 && !o.States && !o.WebpLossy);

    page.GifToggle->click();
    page.GifCompressionList->setCurrentIndex(1);
    page.GifPresetClick(0);
    QVERIFY(page.Options().GifCompression == TGifCompression::RunLength);
    page.GifCompressionList->setCurrentIndex(0);
    QVERIFY(page.Options().GifCompression == TGifCompression::Lzw);

    // WebP: lossless, its quality greyed; unchecked, the WebP slider's number counts,
    // not the JPEG page's.
    page.FormatTabs->setCurrentIndex(4);
    page.JpegQualitySlider->setValue(35);
    o = page.Options();
    QVERIFY(o.Format == TExportFormat::WebP && !o.WebpLossy);
    QVERIFY(!page.WebpQualitySlider->isEnabled() && !page.WebpQualityBox->isEnabled());
    QCOMPARE(page.WebpQualityBox->text(), QString("90"));
    page.LosslessCheck->setChecked(false);
    QVERIFY(page.WebpQualitySlider->isEnabled());
    page.WebpQualitySlider->setValue(42);
    o = page.Options();
    QVERIFY(o.WebpLossy);
    QCOMPARE(o.JpegQuality, 42);
    page.FormatTabs->setCurrentIndex(1);  // and the JPEG page its own
    QCOMPARE(page.Options().JpegQuality, 35);
    // A format chosen in the save dialog takes its own page's quality, whichever is on top.
    QCOMPARE(page.OptionsFor(TExportFormat::WebP).JpegQuality, 42);
    page.FormatTabs->setCurrentIndex(4);
    QCOMPARE(page.OptionsFor(TExportFormat::Jpeg).JpegQuality, 35);

    for (int entry = 0; entry < page.HighDensityList->count(); ++entry) {
      page.HighDensityList->setCurrentIndex(entry);
      QCOMPARE(page.Options().Scale, entry + 1);
    }
    QCOMPARE(page.HighDensityList->count(), MaxExportScale);
    page.StatesCheck->setChecked(true);
    QVERIFY(page.Options().States);
  }

  // Sub-page, save-dialog entry and file extension name the same format, so the dialog
  // opens on the page's entry and an entry chosen writes what its pattern says.
  void theSaveDialogsEntriesMatchThePages() {
    TExportPage page;
    QCOMPARE(static_cast<int>(ExportFilters().size()), page.FormatTabs->count());
    for (int i = 0; i < page.FormatTabs->count(); ++i) {
      page.FormatTabs->setCurrentIndex(i);
      const TExportFormat format = FormatFromFilterIndex(i + 1);
      QVERIFY2(page.Format() == format, qPrintable(page.FormatTabs->tabText(i)));
      QCOMPARE(static_cast<int>(format), i + 1);
      const QString pattern = QString("*") + FormatExtension(format);
      QVERIFY2(ExportFilters()[i].contains(pattern), qPrintable(ExportFilters()[i]));
    }
    QVERIFY(FormatFromFilterIndex(5) == TExportFormat::WebP);
    for (int other : {0, 3, 6, -1}) QVERIFY(FormatFromFilterIndex(other) == TExportFormat::Bmp);
  }

  void dimensionsMarkerAndHexArithmetic() {
    // A side typed into a box with " Constrain proportions": the typed side is
    // clamped to the box's limit, the side derived from it is not.
    TDimensions d{160, 40, 50, 100};
    SetExportSide(d, TSide::Width, 1000, true);
    QCOMPARE(QPoint(d.Width, d.Height), QPoint(800, 1600));
    SetExportSide(d, TSide::Height, 700, true);
    QCOMPARE(QPoint(d.Width, d.Height), QPoint(300, 600));
    TDimensions half{160, 40, 2, 1};  // halves round to even: 2.5 to 2, 7.5 to 8
    SetExportSide(half, TSide::Width, 5, true);
    QCOMPARE(half.Height, 2);
    SetExportSide(half, TSide::Width, 15, true);
    QCOMPARE(half.Height, 8);
    TDimensions noBase{160, 77, 0, 0};  // no picture yet: no proportions to keep
    SetExportSide(noBase, TSide::Width, 200, true);
    QCOMPARE(QPoint(noBase.Width, noBase.Height), QPoint(200, 77));
    QCOMPARE(HeightFromRuler(-3), 5);
    QVERIFY(!CanDrawDimensionPicture(50, 50, {800, 1000000, 1, 1}));

    const float halfPi = static_cast<float>(std::numbers::pi / 2);
    QCOMPARE(LightAnglesAt(300, 100, 600, 200).A1, halfPi);
    QCOMPARE(LightAnglesAt(0, 0, 0, 0).A2, halfPi);  // an empty preview divides by nothing
    QVERIFY(MarkerPositionAllowed(1, 400) && !MarkerPositionAllowed(0, 400) && !MarkerPositionAllowed(368, 400));

    QCOMPARE(HexToColor("FF").value(), RGBToColor(0, 0, 255));  // fills from the blue end
    QCOMPARE(HexToColor("#Ff-80-00").value(), RGBToColor(255, 128, 0));
    QVERIFY(!HexToColor("xyz").has_value());
    QCOMPARE(ColorToHex(RGBToColor(1, 2, 171)), std::string("0102AB"));
  }
};

}  // namespace qz

QTEST_MAIN(qz::WindowPartsTest)
#include "WindowPartsTest.moc"
