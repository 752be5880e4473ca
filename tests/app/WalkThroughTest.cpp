// A new user's first session through the real window with the installation files,
// from the welcome dialog to an export, saving, quitting and opening the work again.
// The dialogs must show their texts whole; all are grabbed into test-output/walk/.

#include <filesystem>

#include "WindowKit.h"
#include "app/dialogs/IconList.h"
#include "scene/IconRecord.h"

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

// Every text of root (a label, button, group title or list) has the room it needs,
// and every widget lies inside root.
void CheckFits(QWidget* root, const QString& name) {
  QCoreApplication::processEvents();
  for (QWidget* w : root->findChildren<QWidget*>()) {
    if (!w->isVisible() || w->isWindow()) continue;
    const QString what = name + ": " + w->metaObject()->className() + " '" +
                         (w->property("text").toString() + w->property("title").toString()) + "'";
    QVERIFY2(root->rect().contains(QRect(w->mapTo(root, QPoint(0, 0)), w->size())), qPrintable(what + " outside"));
    const bool combo = qobject_cast<QComboBox*>(w);
    if (!combo && !qobject_cast<QLabel*>(w) && !qobject_cast<QAbstractButton*>(w) && !qobject_cast<QGroupBox*>(w)) continue;
    const QSize need = combo ? w->minimumSizeHint() : w->sizeHint();
    QVERIFY2(w->width() >= need.width() && w->height() >= need.height(), qPrintable(what + " cut off"));
  }
}

void Look(QWidget* w, const QString& name) { CheckFits(w, name), Shot(w, name); }

void Select(QListWidget* list, const QString& caption) {
  QListWidgetItem* item = ItemNamed(list, caption);
  QVERIFY2(item, qPrintable(caption));
  item->setSelected(true), list->scrollToItem(item);
}

}  // namespace

class WalkThroughTest : public TWindowTestBase {
  Q_OBJECT

  // Clicks a command on its tab, the dialog it opens answered.
  template <typename D>
  void Use(TMainWindow& w, TTab tab, TControl command, std::function<void(D*)> answer) {
    w.Tabs()->setCurrentIndex(static_cast<int>(tab));
    QVERIFY2(Through<D>(ClickOn(w, command), answer), ControlRow(command).Name);
  }

 private slots:
  void initTestCase() {
    QVERIFY(dir_.isValid());
    programDir_ = PathFromQt(dir_.path()) + "/";
    for (const char* name : {"BShapes", "Textures", "Templates", "HTML", "Help", "html", "default.dat", "Default.dat"})
      std::filesystem::copy(std::string(QZ_SOURCE_DIR) + "/data/" + name, programDir_ + name, std::filesystem::copy_options::recursive);
    QDir().mkpath(OutDir());
  }

  void firstSession() {
    // 1. Start: the welcome dialog, its templates, one chosen.
    auto w = MakeWindow([](TWelcomeDialog* f) {
      Look(f, "01-welcome"), f->TemplateButton->click();  // "emplate"
      Select(f->FileList, "Ocean.qzpl"), Look(f, "02-welcome-templates");
      f->OkButton->click();
    });
    QVERIFY(w->Session->Text().Length() > 0 && !w->Modified());

    // 2. The message typed anew; the design follows once the user pauses.
    TMessageEdit* edit = w->MessageEdit();
    edit->setFocus();
    QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(edit, "Welcome");
    const TDeferredWork& d = w->Deferred;
    QVERIFY(QTest::qWaitFor([&] { return !d.RebuildPending && !d.RenderPending && !d.Busy; }, 20000));
    QVERIFY(w->Session->Text().Text() == "Welcome" && w->Modified());

    // 3. The first letter in its own font, a symbol at the end.
    Use<TTextDialog>(*w, TTab::Caption, TControl::AdvancedText, [](TTextDialog* f) {
      QVERIFY(f->ShapingCheck->isChecked());  // a design begun from a template is shaped
      f->Editor->SetSelection(0, 1);
      const int serif = f->FontNameList->findText("Liberation Serif");
      QVERIFY(serif >= 0);
      f->FontNameList->setCurrentIndex(serif);
      emit f->FontNameList->activated(serif);
      f->Editor->SetSelection(7, 0);
      WhenModal<TCharMap>([](TCharMap* m) { m->SelectCode(0xBB), Look(m, "05-character-map"), m->accept(); });
      f->SymbolButton->click();
      // The map's Unicode blocks, looked at (Cancel: nothing inserted).
      WhenModal<TCharMap>([](TCharMap* m) {
        m->CharactersList->setCurrentIndex(m->CharactersList->findText("Greek and Coptic"));
        m->CharacterGrid->setCurrentCell(1, 2), Look(m, "05-character-map-greek"), m->reject();
      });
      f->SymbolButton->click();
      Look(f, "04-advanced-text");
      f->accept();
    });
    QCOMPARE(w->Session->Text().Text(), std::string("Welcome\xBB"));

    // 4. A button shape.
    Use<TShapeDialog>(*w, TTab::ButtonTuneup, TControl::ShapeSelection, [](TShapeDialog* f) {
      Select(f->ShapeList, "CAPSULE"), Look(f, "06-shapes"), f->OkButton->click();
    });

    // 5. A page background colour, a wood texture on the button.
    Use<QColorDialog>(*w, TTab::Background, TControl::BkgColorSelection, [](QColorDialog* d) {
      d->setCurrentColor(QColor(250, 244, 228)), Shot(d, "07-colour"), d->accept();
    });
    Use<QFileDialog>(*w, TTab::ButtonColor, TControl::ButtonTextureSelection, [](QFileDialog* d) {
      Shot(d, "08-texture-chooser"), TypeIntoFileDialog(d, "Wood.jpg");
    });

    // 6. The light from the upper left.
    w->Tabs()->setCurrentIndex(static_cast<int>(TTab::LightSource));
    w->DropLightMarker(QPoint(w->Preview()->width() / 5, w->Preview()->height() / 5));
    Shot(w.get(), "09-light");

    // 7. A look at every page of the Advanced Options, left as they were.
    QVERIFY(Through<TOptionsDialog>([&] { Pick(*w, "&Advanced Options ..."); }, [](TOptionsDialog* f) {
      Look(f, "10-options"), f->OptionTabs->setCurrentIndex(1), Look(f, "10-options-margins");
      f->OptionTabs->setCurrentIndex(2), Look(f, "10-options-states"), f->reject();
    }));

    // 8. Export as GIF with the browser preview.
    w->Tabs()->setCurrentIndex(static_cast<int>(TTab::Export));
    TExportPage* page = w->ExportPage();
    CheckFits(page, "export page");
    page->GifToggle->click();
    CheckFits(page, "export page, advanced");
    Shot(w.get(), "11-export-page");
    page->GifToggle->click();
    // The other formats' pages, each with its options shown, then GIF again.
    page->JpegToggle->click();
    for (int i = 1; i < page->FormatTabs->count(); ++i) {
      page->FormatTabs->setCurrentIndex(i);
      const QString name = "11-export-page-" + page->FormatTabs->tabText(i).trimmed().toLower();
      CheckFits(page, name), Shot(w.get(), name);
    }
    page->LosslessCheck->setChecked(false), Shot(w.get(), "11-export-page-webp-lossy");
    page->LosslessCheck->setChecked(true), page->JpegToggle->click();
    page->FormatTabs->setCurrentIndex(0);
    QVERIFY(!w->BrowserWindowIfMade());  // the browser engine starts on first use
    const auto exportNow = [page] { page->ExportButton->click(); };
    QString proposed;
    QVERIFY(Through<QFileDialog>(exportNow, [&](QFileDialog* d) {
      proposed = d->findChild<QLineEdit*>("fileNameEdit")->text();
      Shot(d, "12-export-save"), static_cast<QDialog*>(d)->accept();
    }));
    QCOMPARE(proposed, QString("Welcome.gif"));
    QVERIFY(QFile::exists(PathToQt(programDir_ + "Images/Welcome.gif")));
#ifdef QZ_HAVE_WEBENGINE
    TBrowserWindow* web = w->BrowserWindowIfMade();
    QVERIFY(web && web->isVisible());
    // The page shown holds name (asked again, one question at a time, until it does).
    auto pageShows = [web](const QString& name) {
      auto html = std::make_shared<QString>();
      auto asking = std::make_shared<bool>(false);
      return QTest::qWaitFor([&, html, asking] {
        if (!std::exchange(*asking, true))
          web->PageView->page()->toHtml([html, asking](const QString& text) { *html = text, *asking = false; });
        return html->contains(name);
      }, 60000);
    };
    QVERIFY(pageShows("Welcome.gif"));
    QTest::qWait(500);  // a frame after the load
    Shot(web, "13-preview-page"), web->close();
    // Exported again, now with its states and 2x pictures: the page written anew is
    // shown anew, not from before, with the three states.
    page->StatesCheck->setChecked(true), page->HighDensityList->setCurrentIndex(1);
    QVERIFY(Through<QFileDialog>(exportNow, [](QFileDialog* d) {
      d->selectFile("Again.gif"), static_cast<QDialog*>(d)->accept();  // not the Welcome.gif selected
    }));
    QVERIFY(web->isVisible() && pageShows("Again-pressed@2x.gif"));
    QTest::qWait(500);
    Shot(web, "13-preview-page-states"), web->close();
    page->StatesCheck->setChecked(false), page->HighDensityList->setCurrentIndex(0);
#endif
    QVERIFY2(messages_.Texts.empty(), messages_.Texts.empty() ? "" : messages_.Texts[0].c_str());

    // 9. Save the work, then quit: nothing left to ask.
    QVERIFY(Through<QFileDialog>([&] { Pick(*w, "&Save ..."); }, [](QFileDialog* d) {
      Shot(d, "14-save"), TypeIntoFileDialog(d, "My first button");
    }));
    QVERIFY(!w->Modified());
    const std::vector<TMessageText::TChar> saved = w->Session->Text().Chars();
    auto asked = WhenModal<QMessageBox>([](QMessageBox* b) { b->reject(); }, 500);
    QVERIFY(w->close() && !*asked);
    StopWatchingModals();
    w.reset();

    // 10. Start again: the work is listed with its picture and opens as it was left.
    auto again = MakeWindow([](TWelcomeDialog* f) {
      f->SavedButton->click();  // "aved"
      Select(f->FileList, "My first button.qznr");
      Look(f, "15-welcome-saved");
      const QImage icon = f->FileList->selectedItems().value(0)->icon().pixmap(IconWidth, IconHeight).toImage();
      QVERIFY(icon != PlaceholderIcon("<None>", f->font()).convertToFormat(icon.format()));
      f->OkButton->click();
    });
    QCOMPARE(again->Session->Text().Chars(), saved);
    QVERIFY(again->Session->Params().ShapeName == "Capsule.qzkh" && again->Session->Textured(TPart::Button));
    QVERIFY(again->Session->Params().Shaping && !again->Modified());
#ifdef QZ_HAVE_WEBENGINE
    Pick(*again, "&About Quenzar");  // the last look
    TBrowserWindow* about = again->BrowserWindowIfMade();
    QTRY_COMPARE_WITH_TIMEOUT(about->windowTitle(), QString("About Quenzar"), 60000);
    QVERIFY(QApplication::overrideCursor() == nullptr);  // the wait cursor is gone again
    QTest::qWait(500);
    Shot(about, "17-about");
#endif
    QVERIFY(messages_.Texts.empty());
  }
};

}  // namespace qz

QZ_WINDOW_TEST_MAIN(qz::WalkThroughTest)
#include "WalkThroughTest.moc"
