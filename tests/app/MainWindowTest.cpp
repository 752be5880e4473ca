// The main window driven as a user drives it: every control of the control table,
// the dialogs' OK and Cancel, and the rules that are easy to break.

#include <filesystem>
#include <map>

#include <webp/decode.h>

#include "WindowKit.h"
#include "base/FileUtil.h"
#include "support/TempDir.h"

namespace qz {

namespace {

// Answers the unsaved-changes question with a button, remembering its title.
std::shared_ptr<bool> AnswerQuestion(QMessageBox::StandardButton answer, QString* title = nullptr) {
  return WhenModal<QMessageBox>([answer, title](QMessageBox* box) {
    if (title) *title = box->windowTitle();
    box->button(answer)->click();
  });
}

// Clicks button with the dialog it opens answered.
template <typename D, typename F>
std::function<void()> Answered(QWidget* button, F answer) {
  return [button, answer] {
    WhenModal<D>(answer);
    QTest::mouseClick(button, Qt::LeftButton);
  };
}

}  // namespace

class MainWindowTest : public TWindowTestBase {
  Q_OBJECT

 private slots:
  void initTestCase() { SetUpDesigns(); }
  void init() { messages_.Texts.clear(); }
  void cleanup() { StopWatchingModals(); }

  // Every editing control, driven as a user drives it: the design shows the change,
  // the work it asks for runs when it should (at once, after the pause, at the next
  // tick), and the title marks the design unsaved exactly when a saved work would
  // differ. The expectations are the test's own, one line a control.
  void everyControlChangesTheDesignAndAsksForItsFollowUp() {
    auto w = MakeWindow();
    Prepare(*w);
    TDesignSession& session = *w->Session;
    const TParams& p = session.Params();
    auto useTextures = [&] {  // so the texture spinners' work is due
      session.ChooseTexture(TPart::Text, textureFile_);
      session.ChooseTexture(TPart::Button, textureFile_);
    };
    useTextures();
    w->Rebuild();
    const std::string clean = programDir_ + "clean.qznr";
    const TColor picked = RGBToColor(10, 120, 230);
    using C = TControl;
    using S = TSeen;
    auto at = [&](C id) { return w->Control(id); };
    auto colour = [&](C id) {
      return Answered<QColorDialog>(at(id), [](QColorDialog* d) { d->setCurrentColor(QColor(10, 120, 230)), d->accept(); });
    };
    auto texture = [&](C id) {
      return Answered<QFileDialog>(at(id), [this](QFileDialog* d) { TypeIntoFileDialog(d, PathToQt(textureFile_)); });
    };
    auto click = [&](C id) { return [&, id] { QTest::mouseClick(at(id), Qt::LeftButton); }; };
    auto type = [&](C id) { return [&, id] { Widget<QLineEdit>(*w, id)->selectAll(), QTest::keyClicks(at(id), "90"); }; };
    auto slide = [&](C id, int v) { return [&, id, v] { Widget<QSlider>(*w, id)->setValue(v); }; };
    auto spin = [&](C id, int v) { return [&, id, v] { Widget<QSpinBox>(*w, id)->setValue(v); }; };
    const int paused = p.RDelay;
    struct TCase {
      C id;
      std::function<void()> act;
      std::function<bool()> changed;  // the design shows what the user did
      S seen;
      int delay;  // the countdown left for work that waits; -7 for none
      bool unsaved;
    };
    const std::vector<TCase> cases = {
        {C::MessageEdit, [&] { QTest::keyClick(at(C::MessageEdit), Qt::Key_End), QTest::keyClicks(at(C::MessageEdit), "!"); },
         [&] { return session.Text().Text() == "Go!"; }, S::RebuildLater, paused, true},
        {C::FontSelection,
         Answered<TFontChooser>(at(C::FontSelection),
                                [](TFontChooser* d) { d->FaceList->setCurrentItem(ItemNamed(d->FaceList, "DejaVu Serif")), d->accept(); }),
         [&] { return session.Text().At(0).Format.Name == "DejaVu Serif"; }, S::RebuildNow, -7, true},
        {C::AdvancedText,
         Answered<TTextDialog>(at(C::AdvancedText), [](TTextDialog* f) { f->Editor->selectAll(), f->BoldButton->click(), f->accept(); }),
         [&] { return session.Text().At(0).Format.Bold && session.Text().At(1).Format.Bold; }, S::RebuildNow, -7, true},
        {C::BkgColorSelection, colour(C::BkgColorSelection), [&] { return p.BkgColor == picked; }, S::RenderNow, -7, true},
        {C::BkgHexBox, [&] { Widget<QLineEdit>(*w, C::BkgHexBox)->setText("ff8000"); }, [&] { return p.BkgColor == picked; },
         S::Nothing, -7, false},
        {C::BkgSetHex, click(C::BkgSetHex), [&] { return p.BkgColor == RGBToColor(255, 128, 0); }, S::RenderNow, -7, true},
        {C::TextColorSelection, colour(C::TextColorSelection), [&] { return p.Message.MColor == picked; }, S::RenderNow, -7, true},
        // The texture in use chosen again changes nothing.
        {C::TextTextureSelection, texture(C::TextTextureSelection),
         [&] { return p.Message.TexFile == textureFile_ && session.Textured(TPart::Text); }, S::Nothing, -7, false},
        {C::TextClearTexture, click(C::TextClearTexture), [&] { return p.Message.TexFile.empty() && !session.Textured(TPart::Text); },
         S::RenderNow, -7, true},
        {C::TextTextureSelection, texture(C::TextTextureSelection), [&] { return session.Textured(TPart::Text); }, S::RebuildNow, -7, true},
        {C::TextTexWidth, spin(C::TextTexWidth, 10), [&] { return p.Message.TexW == 10.0f; }, S::RebuildLater, paused, true},
        {C::TextTexHeight, spin(C::TextTexHeight, 10), [&] { return p.Message.TexH == 10.0f; }, S::RebuildLater, paused, true},
        {C::TextConstrain, click(C::TextConstrain), [&] { return p.Message.HoldRatio && !at(C::TextTexWidth)->isEnabled(); },
         S::RebuildLater, 0, true},
        {C::ButtonColorSelection, colour(C::ButtonColorSelection), [&] { return p.Button.MColor == picked; }, S::RenderNow, -7, true},
        {C::ButtonClearTexture, click(C::ButtonClearTexture), [&] { return p.Button.TexFile.empty() && !session.Textured(TPart::Button); },
         S::RenderNow, -7, true},
        {C::ButtonTextureSelection, texture(C::ButtonTextureSelection),
         [&] { return p.Button.TexFile == textureFile_ && session.Textured(TPart::Button); }, S::RebuildNow, -7, true},
        {C::ButtonTexWidth, spin(C::ButtonTexWidth, 10), [&] { return p.Button.TexW == 10.0f; }, S::RebuildLater, paused, true},
        {C::ButtonTexHeight, spin(C::ButtonTexHeight, 10), [&] { return p.Button.TexH == 10.0f; }, S::RebuildLater, paused, true},
        {C::ButtonConstrain, click(C::ButtonConstrain), [&] { return p.Button.HoldRatio && !at(C::ButtonTexWidth)->isEnabled(); },
         S::RebuildLater, 0, true},
        {C::OutlineComplexity, [&] { Widget<QComboBox>(*w, C::OutlineComplexity)->setCurrentIndex(2); },
         [&] { return p.SplPnt == 3; }, S::RebuildNow, -7, true},
        {C::TextExtrusion, slide(C::TextExtrusion, 300), [&] { return p.TxtY == 300; }, S::RebuildLater, paused, true},
        // An altitude moves its shadow.
        {C::TextAltitude, slide(C::TextAltitude, 70), [&, y = p.TxtShadowY] { return p.Message.Altitude == 70 && p.TxtShadowY != y; },
         S::RenderLater, paused, true},
        // Switched off: no shadow, the altitude slider disabled.
        {C::TextDropShadow, click(C::TextDropShadow), [&] { return p.Message.Altitude == 0 && !at(C::TextAltitude)->isEnabled(); },
         S::RebuildNow, -7, true},
        {C::ShapeSelection,
         Answered<TShapeDialog>(at(C::ShapeSelection),
                                [](TShapeDialog* f) { ItemNamed(f->ShapeList, "SQUARE")->setSelected(true), f->OkButton->click(); }),
         [&] { return p.ShapeName == "square.qzkh" && p.Type == 16; }, S::RebuildNow, -7, true},
        {C::ButtonExtrusion, slide(C::ButtonExtrusion, 200), [&] { return p.ButY == -200; }, S::RebuildLater, paused, true},
        {C::ButtonAltitude, slide(C::ButtonAltitude, 60), [&, y = p.ButShadowY] { return p.Button.Altitude == 60 && p.ButShadowY != y; },
         S::RenderLater, paused, true},
        {C::ButtonDropShadow, click(C::ButtonDropShadow), [&] { return p.Button.Altitude == 0 && !at(C::ButtonAltitude)->isEnabled(); },
         S::RebuildNow, -7, true},
        // Held, the button keeps its rectangle; let go, it is fitted again at the next tick.
        {C::HoldButtonSize, click(C::HoldButtonSize), [&] { return p.HoldButtonSize; }, S::Nothing, -7, true},
        {C::HoldButtonSize, click(C::HoldButtonSize), [&] { return !p.HoldButtonSize; }, S::RebuildLater, 0, true},
        {C::HideButton, click(C::HideButton), [&] { return p.Type == 0; }, S::RebuildNow, -7, true},
        {C::LightMarker,
         [m = w->Preview()->Marker()] { QTest::mousePress(m, Qt::LeftButton, {}, {16, 16}), QTest::mouseRelease(m, Qt::LeftButton, {}, {20, 16}); },
         [&, a1 = p.A1] { return p.A1 != a1; }, S::RenderNow, -7, true},
        {C::LightColorSelection, colour(C::LightColorSelection), [&] { return p.Light.Color == picked; }, S::RenderNow, -7, true},
        {C::Brightness, slide(C::Brightness, 200),
         [&] { return p.Brightness == 55 && p.Message.ColSplit == 55 && p.Button.ColSplit == 55; }, S::RebuildLater, paused, true},
        {C::LinkAddress, [&] { QTest::keyClicks(at(C::LinkAddress), "https://example.org/"); }, [&] { return w->LinkAddress() == "https://example.org/"; },
         S::Nothing, -7, false},
        {C::DimWidthEdit, type(C::DimWidthEdit), [&] { return session.ExportSize().width == 90; }, S::Nothing, -7, true},
        {C::DimHeightEdit, type(C::DimHeightEdit), [&] { return session.ExportSize().height == 90; }, S::Nothing, -7, true},
        {C::WidthRuler, slide(C::WidthRuler, 77), [&] { return session.ExportSize().width == 77; }, S::Nothing, -7, true},
        {C::HeightRuler, slide(C::HeightRuler, -33), [&] { return session.ExportSize().height == 33; }, S::Nothing, -7, true},
        {C::DimConstrain, click(C::DimConstrain), [&] { return !Widget<QCheckBox>(*w, C::DimConstrain)->isChecked(); },
         S::Nothing, -7, false},
    };
    std::set<C> covered;
    for (const TCase& c : cases) {
      const TControlRow& row = ControlRow(c.id);
      const QByteArray name = row.Name;
      covered.insert(c.id);
      if (row.Tab != TTab::Export) w->Tabs()->setCurrentIndex(static_cast<int>(row.Tab));
      const TObserved o = Observe(*w, clean, c.act);
      QVERIFY2(c.changed(), "the design does not show the edit of " + name);
      QVERIFY2(o.seen == c.seen, "follow-up of " + name + ": " + QByteArray::number(static_cast<int>(o.seen)));
      QVERIFY2(o.delayTicks == c.delay, "countdown of " + name + ": " + QByteArray::number(o.delayTicks));
      QVERIFY2(o.unsaved == c.unsaved, "unsaved mark after " + name);
    }
    QCOMPARE(covered.size(), static_cast<size_t>(TControl::Count));
    QVERIFY(messages_.Texts.empty());
  }

  // Undoing an edit gives back the design exactly: the same picture, the same
  // controls, and the title clean again when it was.
  void undoGivesBackThePictureAndTheControls() {
    auto w = MakeWindow();
    Prepare(*w, "Go");
    TDesignSession& session = *w->Session;
    session.ChooseTexture(TPart::Text, textureFile_);
    w->Rebuild();
    const std::string clean = programDir_ + "undo-clean.qznr";
    session.Save(clean);
    w->Rebuild();
    const TBitmap before = session.Picture().Image;
    auto* extrusion = Widget<QSlider>(*w, TControl::TextExtrusion);
    auto* shadow = Widget<QCheckBox>(*w, TControl::ButtonDropShadow);
    const int depth = extrusion->value();
    extrusion->setValue(depth + 40);
    shadow->click();
    QTest::keyClick(w->Control(TControl::MessageEdit), Qt::Key_End);
    QTest::keyClicks(w->Control(TControl::MessageEdit), "ne");
    w->Rebuild();
    QVERIFY(session.Picture().Image != before && w->isWindowModified());
    for (int i = 0; i < 3; ++i) Pick(*w, "&Undo");
    QCOMPARE(session.Picture().Image, before);
    QCOMPARE(extrusion->value(), depth);
    QVERIFY(shadow->isChecked() && w->Control(TControl::ButtonAltitude)->isEnabled());
    QCOMPARE(w->MessageEdit()->toPlainText(), QString("Go"));
    QVERIFY(!w->isWindowModified());
    for (int i = 0; i < 3; ++i) Pick(*w, "&Redo");
    QVERIFY(!shadow->isChecked() && w->isWindowModified());
  }

  // The dialogs change the design on OK only, and show it again after a Cancel.
  void dialogsChangeTheDesignOnOkOnly() {
    auto w = MakeWindow();
    Prepare(*w, "Go");
    Widget<QCheckBox>(*w, TControl::HideButton)->setChecked(true);
    const TParams& s = w->Session->Params();
    QSignalSpy rebuilt(w.get(), &TMainWindow::Rebuilt);
    const auto text = ClickOn(*w, TControl::AdvancedText), shape = ClickOn(*w, TControl::ShapeSelection);
    auto options = [&] { Pick(*w, "&Advanced Options ..."); };
    const bool shaped = s.Shaping;
    QVERIFY(Through<TTextDialog>(text, [&](TTextDialog* f) {
      QCOMPARE(f->ShapingCheck->isChecked(), shaped);
      f->Editor->selectAll(), f->ItalicButton->click(), f->ShapingCheck->click(), f->reject();
    }));
    QVERIFY(!w->Session->Text().At(0).Format.Italic && s.Shaping == shaped);
    QVERIFY(Through<TShapeDialog>(shape, [](TShapeDialog* f) { f->ShapeList->clearSelection(), f->OkButton->click(); }));
    QVERIFY(s.Type == 0 && s.ShapeName.empty() && rebuilt.count() == 0);
    QVERIFY(Through<TShapeDialog>(shape, [](TShapeDialog* f) {
      ItemNamed(f->ShapeList, "SQUARE")->setSelected(true), f->OkButton->click();
    }));
    QVERIFY(s.Type == 16 && !Widget<QCheckBox>(*w, TControl::HideButton)->isChecked());
    const int top = s.GutTop;
    QVERIFY(Through<TOptionsDialog>(options, [](TOptionsDialog* f) { f->TopMarginBox->setText("40"), f->reject(); }));
    QVERIFY(s.GutTop == top && rebuilt.count() == 1);
    QVERIFY(Through<TOptionsDialog>(options, [&](TOptionsDialog* f) {
      QCOMPARE(f->TopMarginBox->text(), QString::number(top));
      f->DistanceBox->setText("2000"), f->accept();
    }));
    QVERIFY(s.Render.Y == 2000.0f && s.ShapeName == "square.qzkh" && rebuilt.count() == 2);  // the rest travels through
    // Opening does not change the work Save proposes.
    const std::string job = w->Settings.JobFile;
    w->Session->Save(programDir_ + "dialogs-clean.qznr");
    QVERIFY(Through<TWelcomeDialog>([&] { Pick(*w, "&Open ..."); }, [](TWelcomeDialog* f) {
      ItemNamed(f->FileList, "mine.qznr")->setSelected(true), f->OkButton->click();
    }));
    QVERIFY(w->Session->Text().Text() == "Mine" && !w->Modified() && w->Settings.JobFile == job);
    QVERIFY(messages_.Texts.empty());
  }

  // The states' settings show in no preview, yet a change of them alone is a change
  // of the work (even with nothing to build): it marks the work unsaved, is one step
  // to undo, and Save keeps it.
  void statesSettingsChangeTheWork() {
    auto w = MakeWindow();
    w->MessageEdit()->clear();
    w->Rebuild();
    QTemporaryDir out;
    const auto saveAs = [&](const QString& name) {
      QVERIFY(Through<QFileDialog>([&] { Pick(*w, "&Save ..."); },
                                   [&](QFileDialog* d) { TypeIntoFileDialog(d, out.filePath(name)); }));
    };
    saveAs("start");
    QVERIFY(!w->Modified());
    const TStateParams start = w->Session->Params().States;
    const size_t steps = w->Session->History().UndoSteps();
    auto options = [&] { Pick(*w, "&Advanced Options ..."); };
    QVERIFY(Through<TOptionsDialog>(options, [](TOptionsDialog* f) { f->HoverSpinner->setValue(100), f->reject(); }));
    QVERIFY(w->Session->Params().States == start && !w->Modified());
    QVERIFY(Through<TOptionsDialog>(options, [](TOptionsDialog* f) {
      f->HoverSpinner->setValue(100), f->PressedSpinner->setValue(10), f->accept();
    }));
    QVERIFY(w->Session->Params().States == (TStateParams{100, 10}));
    QVERIFY(w->Modified() && w->isWindowModified());
    QCOMPARE(w->Session->History().UndoSteps(), steps + 1);
    // OK with nothing changed adds no step.
    QVERIFY(Through<TOptionsDialog>(options, [](TOptionsDialog* f) { f->accept(); }));
    QCOMPARE(w->Session->History().UndoSteps(), steps + 1);
    Pick(*w, "&Undo");
    QVERIFY(w->Session->Params().States == start && !w->Modified());
    Pick(*w, "&Redo");
    QVERIFY(w->Session->Params().States == (TStateParams{100, 10}) && w->Modified());

    saveAs("states");
    TParams saved;
    TMessageText text;
    QVERIFY(LoadWorkFile(PathFromQt(out.filePath("states")) + ".qznr", saved, text, messages_));
    QVERIFY(saved.States == (TStateParams{100, 10}));
    QVERIFY(messages_.Texts.empty());
  }

  // An export with hover and pressed states and high-density pictures, driven through
  // the page and the save dialog as a user does: six pictures and the snippet, each
  // state at the export size and at twice it.
  void exportWritesTheStatesAndTheirLargerPictures() {
    auto w = MakeWindow();
    Prepare(*w, "Go");
    w->Tabs()->setCurrentIndex(static_cast<int>(TTab::Export));
    TExportPage* page = w->ExportPage();
    page->BrowserPreviewCheck->setChecked(false);  // this folder has no page template
    page->FormatTabs->setCurrentIndex(4);          // WebP
    page->HighDensityList->setCurrentIndex(1);     // " 1x and 2x"
    page->StatesCheck->setChecked(true);
    QTemporaryDir out;
    QString offered;
    QVERIFY(Through<QFileDialog>([page] { page->ExportButton->click(); }, [&](QFileDialog* d) {
      offered = d->selectedNameFilter();
      TypeIntoFileDialog(d, out.filePath("Go"));  // the entry adds the extension
    }));
    QCOMPARE(offered, ExportFilters()[4]);
    QVERIFY2(messages_.Texts.empty(), messages_.Texts.empty() ? "" : messages_.Texts[0].c_str());
    const QSize size(w->Session->ExportSize().width, w->Session->ExportSize().height);
    for (const char* state : {"", "-hover", "-pressed"}) {
      for (int scale : {1, 2}) {
        const QString name = QString("Go") + state + (scale > 1 ? "@2x" : "") + ".webp";
        const std::optional<std::vector<uint8_t>> bytes = ReadWholeFile(PathFromQt(out.filePath(name)), 16 << 20);
        QVERIFY2(bytes, qPrintable(name + " missing"));
        int width = 0, height = 0;
        QVERIFY2(WebPGetInfo(bytes->data(), bytes->size(), &width, &height), qPrintable(name + " no WebP"));
        QCOMPARE(QSize(width, height), size * scale);
      }
    }
    QFile snippet(out.filePath("Go.html"));
    QVERIFY(snippet.open(QIODevice::ReadOnly));
    const QString html = QString::fromUtf8(snippet.readAll());
    for (const char* picture : {"Go.webp", "Go-hover.webp", "Go-pressed.webp", "Go@2x.webp"})
      QVERIFY2(html.contains(picture), picture);
    QCOMPARE(QDir(out.path()).entryList(QDir::Files).size(), 7);  // nothing else beside them
  }

  // The GIF page's compression and the WebP page's choices reach the file. A GIF
  // exported through the window is byte for byte the session's own export of the same
  // button with that compression; WebP chosen in the save dialog, while the GIF page
  // is on top, is lossless with alpha until " Lossless" is unchecked on its page, and
  // then its own slider sets the quality.
  void exportCarriesTheFormatChoices() {
    auto w = MakeWindow();
    Prepare(*w, "Go");
    w->Tabs()->setCurrentIndex(static_cast<int>(TTab::Export));
    TExportPage* page = w->ExportPage();
    page->BrowserPreviewCheck->setChecked(false);  // this folder has no page template
    QTemporaryDir out;
    const auto exportAs = [&](const QString& name, int entry) {
      return Through<QFileDialog>([page] { page->ExportButton->click(); }, [&](QFileDialog* d) {
        d->selectNameFilter(ExportFilters()[entry]), TypeIntoFileDialog(d, out.filePath(name));
      });
    };
    const auto bytesOf = [&](const QString& name) { return ReadWholeFile(PathFromQt(out.filePath(name)), 16 << 20); };
    const TExportSize size = w->Session->ExportSize();

    page->GifToggle->click();
    page->GifCompressionList->setCurrentIndex(1);  // " Run-length"
    QVERIFY(exportAs("rle", 0));
    page->GifCompressionList->setCurrentIndex(0);  // " LZW"
    QVERIFY(exportAs("lzw", 0));
    for (TGifCompression compression : {TGifCompression::RunLength, TGifCompression::Lzw}) {
      TExportOptions o;  // the page's start values
      o.GifCompression = compression;
      o.BrowserPreview = false;
      const bool rle = compression == TGifCompression::RunLength;
      const std::string reference = PathFromQt(out.filePath(rle ? "reference-rle.gif" : "reference-lzw.gif"));
      w->Session->Export(*w->Session->RenderForExport(), size, o, reference, "");
      const auto written = bytesOf(rle ? "rle.gif" : "lzw.gif");
      QVERIFY(written && written == ReadWholeFile(reference, 16 << 20));
    }
    QVERIFY(bytesOf("rle.gif") != bytesOf("lzw.gif"));

    QVERIFY(exportAs("lossless", 4));
    page->LosslessCheck->setChecked(false);
    page->WebpQualitySlider->setValue(90);
    QVERIFY(exportAs("fine", 4));
    page->WebpQualitySlider->setValue(5);
    QVERIFY(exportAs("coarse", 4));
    QVERIFY2(messages_.Texts.empty(), messages_.Texts.empty() ? "" : messages_.Texts[0].c_str());
    std::map<QString, size_t> sizes;
    for (const auto& [name, format] : std::map<QString, int>{{"lossless.webp", 2}, {"fine.webp", 1}, {"coarse.webp", 1}}) {
      const auto bytes = bytesOf(name);
      QVERIFY2(bytes, qPrintable(name + " missing"));
      WebPBitstreamFeatures f;
      QVERIFY(WebPGetFeatures(bytes->data(), bytes->size(), &f) == VP8_STATUS_OK);
      QVERIFY2(f.format == format && f.has_alpha, qPrintable(name));  // format 1 lossy, 2 lossless
      QVERIFY(f.width == size.width && f.height == size.height);
      sizes[name] = bytes->size();
    }
    QVERIFY(sizes["coarse.webp"] < sizes["fine.webp"]);
  }

  // The states' settings from the options dialog reach the exported pictures: with no
  // brightening and the full height, hover and pressed are the button itself; with
  // others each differs from it.
  void statesSettingsReachTheExport() {
    auto w = MakeWindow();
    Prepare(*w, "Go");
    w->Tabs()->setCurrentIndex(static_cast<int>(TTab::Export));
    TExportPage* page = w->ExportPage();
    page->BrowserPreviewCheck->setChecked(false);  // this folder has no page template
    page->FormatTabs->setCurrentIndex(3);          // PNG
    page->StatesCheck->setChecked(true);
    QTemporaryDir out;
    const auto exportWith = [&](int hover, int pressed, const QString& name) {
      QVERIFY(Through<TOptionsDialog>([&] { Pick(*w, "&Advanced Options ..."); }, [=](TOptionsDialog* f) {
        f->HoverSpinner->setValue(hover), f->PressedSpinner->setValue(pressed), f->accept();
      }));
      QVERIFY(Through<QFileDialog>([page] { page->ExportButton->click(); },
                                   [&](QFileDialog* d) { TypeIntoFileDialog(d, out.filePath(name)); }));
    };
    const auto bytesOf = [&](const QString& name) { return ReadWholeFile(PathFromQt(out.filePath(name)), 16 << 20); };
    exportWith(0, 100, "same");
    exportWith(60, 20, "apart");
    QVERIFY2(messages_.Texts.empty(), messages_.Texts.empty() ? "" : messages_.Texts[0].c_str());
    const auto same = bytesOf("same.png"), apart = bytesOf("apart.png");
    QVERIFY(same && apart && same == apart);
    QVERIFY(bytesOf("same-hover.png") == same && bytesOf("same-pressed.png") == same);
    for (const char* state : {"apart-hover.png", "apart-pressed.png"}) {
      const auto picture = bytesOf(state);
      QVERIFY2(picture && picture != apart, state);
    }
  }

  void changesAreNotLostWithoutAQuestion() {
    auto w = MakeWindow();
    Prepare(*w, "Edited");
    QString title;
    auto asked = AnswerQuestion(QMessageBox::Cancel, &title);
    QVERIFY(!w->close());
    QVERIFY(*asked && w->isVisible());
    QCOMPARE(title, QString("Quit confirmation"));
    // Open: No, then the welcome dialog's Cancel: nothing loaded, still modified.
    asked = AnswerQuestion(QMessageBox::No, &title);
    auto shown = WhenModal<TWelcomeDialog>([](TWelcomeDialog* f) { f->CancelButton->click(); });
    Pick(*w, "&Open ...");
    QVERIFY(*asked && *shown);
    QCOMPARE(title, QString("Open confirmation"));
    QVERIFY(w->Session->Text().Text() == "Edited" && w->Modified());
    // A cancelled save leaves it modified.
    WhenModal<QFileDialog>([](QFileDialog* d) { d->reject(); });
    Pick(*w, "&Save ...");
    QVERIFY(w->Modified());
    // Yes, then Cancel in the save dialog: the command still goes on.
    asked = AnswerQuestion(QMessageBox::Yes);
    shown = WhenModal<QFileDialog>([](QFileDialog* d) { d->reject(); });
    Pick(*w, "&New");
    QVERIFY(*asked && *shown);
    QVERIFY(w->Session->Text().Text() == "Fresh" && !w->Modified());
    // Cancel on the question ends the command.
    Prepare(*w, "Kept");
    asked = AnswerQuestion(QMessageBox::Cancel);
    Pick(*w, "New from &template ...");
    QVERIFY(*asked && w->Session->Text().Text() == "Kept" && w->Modified());
    asked = AnswerQuestion(QMessageBox::No);
    Pick(*w, "E&xit");
    QVERIFY(*asked && !w->isVisible());
  }

  // A build lets events run (its progress shows): a rebuild or render asked for then
  // must wait rather than start inside it, and a close is refused without a question.
  void requestsWhileABuildRunsWait() {
    auto w = MakeWindow();
    Prepare(*w, "Busy");
    QSignalSpy rebuilt(w.get(), &TMainWindow::Rebuilt);
    int inside = 0;
    bool closed = true;
    auto asked = WhenModal<QMessageBox>([](QMessageBox* b) { b->reject(); }, 2000);
    const auto hook = connect(w->ProgressBar(), &QProgressBar::valueChanged, w.get(), [&] {
      if (!w->Deferred.Busy || inside++) return;
      w->Rebuild(), w->RedrawPreview(true), closed = w->close();
    });
    w->Rebuild();
    disconnect(hook);
    QVERIFY(inside > 0 && !closed && w->isVisible() && !*asked);
    QVERIFY(rebuilt.count() == 1 && !w->Deferred.Busy && w->Deferred.RebuildPending);
    // The timer carries it out once the build has ended.
    for (int i = 0; i <= w->Session->Params().RDelay + 1; ++i) w->Deferred.Tick();
    QCOMPARE(rebuilt.count(), 2);
    QVERIFY(!w->Deferred.RebuildPending && !w->Deferred.RenderPending);
  }

  void exportCarriesOutAWaitingEditFirst() {
    auto w = MakeWindow();
    TExportPage* page = w->ExportPage();
    w->Tabs()->setCurrentIndex(static_cast<int>(TTab::Export));
    w->MessageEdit()->clear();
    w->Rebuild();
    auto noDialog = WhenModal<QFileDialog>([](QFileDialog* d) { d->reject(); }, 1000);
    page->ExportButton->click();
    QCOMPARE(messages_.Texts, std::vector<std::string>{"Sorry, there is nothing to export"});
    QVERIFY(!*noDialog);
    StopWatchingModals();
    // The last edit's rebuild still waits for the timer: the export carries it out
    // first. The format chosen in the dialog wins over the extension typed.
    Prepare(*w, "Click");
    page->BrowserPreviewCheck->setChecked(false);  // this folder has no page template
    w->MessageEdit()->setPlainText("Click Here 2!");
    QVERIFY(w->Deferred.RebuildPending);
    QSignalSpy rebuilt(w.get(), &TMainWindow::Rebuilt);
    QVERIFY(Through<QFileDialog>([page] { page->ExportButton->click(); }, [](QFileDialog* d) {
      d->selectNameFilter(ExportFilters()[1]), TypeIntoFileDialog(d, "typed.gif");
    }));
    QCOMPARE(rebuilt.count(), 1);
    QVERIFY(QFile::exists(PathToQt(programDir_ + "Images/typed.jpg")));
  }

  // A design begun anew is shaped, a work opened keeps the layout it had. Letters of
  // any script typed into the box are built (a right-to-left word from its last
  // letter on the left), and the face that draws them is named in the status bar,
  // not in a box.
  void newDesignsAreShapedAndTakeLettersOfAnyScript() {
    auto w = MakeWindow();  // the welcome dialog's Cancel begins a design from default.dat
    QVERIFY(w->Session->Params().Shaping);
    w->MessageEdit()->clear();
    for (char32_t u : std::u32string(U"\u05E9\u05DC\u05D5\u05DD")) {
      QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString::fromUcs4(&u, 1));
      QApplication::sendEvent(w->MessageEdit(), &press);
    }
    w->Rebuild();
    const TLetters& letters = w->Session->Built().Letters;
    QCOMPARE(letters.Count(), 4);
    QCOMPARE(letters[1].Code, U'\u05DD');
    QCOMPARE(w->Session->Text().At(0).Format.Charset, 177);  // a code of the Hebrew code page
    QVERIFY2(w->NoticeText().contains("U+05E9") && w->NoticeText().contains("drawn in"), qPrintable(w->NoticeText()));
    QVERIFY(messages_.Texts.empty());
    w->LoadWork(programDir_ + "Works/mine.qznr");
    QVERIFY(!w->Session->Params().Shaping && w->NoticeText().isEmpty());
  }

  // What a careless hand meets: a save into a folder that cannot take it, an export
  // size of nothing or one too large for its high-density picture, the light marker
  // let go outside the preview.
  void carelessEditsChangeNothingTheyShouldNot() {
    auto w = MakeWindow();
    Prepare(*w, "Go");
    const std::string works = w->Settings.WorksDir, job = w->Settings.JobFile;
    QVERIFY(Through<QFileDialog>([&] { Pick(*w, "&Save ..."); },
                                 [](QFileDialog* d) { TypeIntoFileDialog(d, "/proc/no-such/mine"); }));
    QCOMPARE(messages_.Texts.size(), size_t{1});
    QVERIFY(w->Settings.WorksDir == works && w->Settings.JobFile == job && w->Modified());
    messages_.Texts.clear();

    w->Tabs()->setCurrentIndex(static_cast<int>(TTab::Dimensions));
    Widget<QLineEdit>(*w, TControl::DimWidthEdit)->selectAll();
    QTest::keyClicks(w->Control(TControl::DimWidthEdit), "0");  // the height follows: 0 x 0
    auto noDialog = WhenModal<QFileDialog>([](QFileDialog* d) { d->reject(); }, 1000);
    w->ExportPage()->ExportButton->click();
    QVERIFY(!*noDialog);
    QCOMPARE(messages_.Texts.size(), size_t{1});
    QVERIFY(QString::fromStdString(messages_.Texts[0]).startsWith("Cannot export an image of 0 x 0 pixels"));
    StopWatchingModals();
    // A size that can be written only at 1x (a work's own) is refused with high density
    // asked for.
    messages_.Texts.clear();
    TParams wide;
    wide.ExpWidth = 20000, wide.ExpHeight = 10;
    WriteWork(programDir_ + "Works/wide.qznr", "Go", wide);
    QVERIFY(w->LoadWork(programDir_ + "Works/wide.qznr"));
    QCOMPARE(w->Session->ExportSize(), (TExportSize{20000, 10}));
    w->ExportPage()->HighDensityList->setCurrentIndex(1);  // " 1x and 2x"
    noDialog = WhenModal<QFileDialog>([](QFileDialog* d) { d->reject(); }, 1000);
    w->ExportPage()->ExportButton->click();
    QVERIFY(!*noDialog);
    QCOMPARE(messages_.Texts.size(), size_t{1});
    QVERIFY(QString::fromStdString(messages_.Texts[0]).startsWith("Cannot export an image of 40000 x 20 pixels"));
    StopWatchingModals();

    // The marker stays inside the preview; the light comes from where it stands.
    w->Tabs()->setCurrentIndex(static_cast<int>(TTab::LightSource));
    TLightMarker* m = w->Preview()->Marker();
    QTest::mousePress(m, Qt::LeftButton, {}, {16, 16});
    QTest::mouseMove(m, {5000, 5000});
    QTest::mouseRelease(m, Qt::LeftButton, {}, {5000, 5000});
    const QPoint centre(m->x() + MarkerHalf, m->y() + MarkerHalf);
    const TLightAngles a = LightAnglesAt(centre.x(), centre.y(), w->Preview()->width(), w->Preview()->height());
    QVERIFY(w->Preview()->rect().contains(centre));
    QCOMPARE(w->Session->Params().A1, a.A1);
    QCOMPARE(w->Session->Params().A2, a.A2);
  }

  void aBrokenShapeFileIsReportedAndThePreviewKept() {
    const std::string broken = programDir_ + "BShapes/broken.qzkh";
    test::WriteText(broken, "no shape in here");
    auto w = MakeWindow();
    Prepare(*w);
    const QImage before = w->Preview()->Picture()->pixmap().toImage();
    QSignalSpy rebuilt(w.get(), &TMainWindow::Rebuilt);
    auto shown = WhenModal<TShapeDialog>([](TShapeDialog* d) {
      ItemNamed(d->ShapeList, "BROKEN")->setSelected(true);
      d->OkButton->click();
    });
    QTest::mouseClick(w->Control(TControl::ShapeSelection), Qt::LeftButton);
    std::filesystem::remove(broken);
    QVERIFY(*shown);
    QCOMPARE(messages_.Texts.size(), size_t{1});
    QVERIFY(QString::fromStdString(messages_.Texts[0]).contains("broken.qzkh"));
    QCOMPARE(rebuilt.count(), 0);
    QVERIFY(!w->Deferred.Busy);
    QCOMPARE(w->Preview()->Picture()->pixmap().toImage(), before);
  }
};

}  // namespace qz

QZ_WINDOW_TEST_MAIN(qz::MainWindowTest)
#include "MainWindowTest.moc"
