// Every menu entry and every command button of every window and dialog, walked as a
// user would: each must be in its table (a button nobody wired fails the walk), be
// enabled exactly when the design says, and, pressed with its dialogs answered,
// show the effect of its handler. A dialog's OK and Cancel each get a showing of
// their own, opened through the main window's command, so the path from the window
// to the dialog and back is walked too.
#include <unistd.h>

#include <QCheckBox>
#include <QColorDialog>
#include <QDialogButtonBox>
#include <QFontDialog>
#include <QGroupBox>
#include <QListWidget>
#include <QMenuBar>
#include <QPushButton>
#include <QStatusBar>
#include <QTabBar>
#include <QTableWidget>
#include <QToolButton>
#include <cstdlib>
#include <map>

#include "WindowKit.h"
#include "app/CharMap.h"
#include "app/ExportPage.h"
#include "app/OptionsDialog.h"
#include "app/ShapeDialog.h"
#include "app/TextDialog.h"
#include "app/WebForm.h"

namespace qz {

namespace {

// The captions a user reads: "&OK" is "OK".
QString Caption(const QString& text) { return QString(text).remove('&'); }

// The command buttons of a window: push and tool buttons it shows itself (not those
// of its own dialogs, nor the internal ones of tab bars and tool bars).
std::map<QString, QAbstractButton*> CommandButtons(QWidget* window, bool byName) {
  std::map<QString, QAbstractButton*> found;
  for (QAbstractButton* b : window->findChildren<QAbstractButton*>()) {
    if (!qobject_cast<QPushButton*>(b) && !qobject_cast<QToolButton*>(b)) continue;
    if (b->window() != window || b->objectName().startsWith("qt_") || qobject_cast<QTabBar*>(b->parentWidget()))
      continue;
    found[byName && !b->objectName().isEmpty() ? b->objectName() : Caption(b->text())] = b;
  }
  return found;
}

// Any button of a window by its caption (check boxes included).
QAbstractButton* ButtonCaptioned(QWidget* window, const QString& caption) {
  for (QAbstractButton* b : window->findChildren<QAbstractButton*>())
    if (b->window() == window && Caption(b->text()) == caption) return b;
  return nullptr;
}

struct TRow {
  QString Key;                               // object name (main window) or caption
  std::function<bool()> Enabled;             // when the design has it enabled
  std::function<void(QAbstractButton*)> Press;  // presses it, its dialogs answered
  std::function<bool()> Effect;              // what the handler did, seen from outside
  bool Closes = false;                       // ends its dialog (OK, Cancel)
};

const auto Always = [] { return true; };
const auto Click = [](QAbstractButton* b) { b->click(); };

// Every command button has a row and every row a button.
void CheckTableIsComplete(QWidget* window, const std::vector<TRow>& rows, bool byName, const QString& name) {
  const auto buttons = CommandButtons(window, byName);
  for (const auto& [key, button] : buttons) {
    const bool listed = std::any_of(rows.begin(), rows.end(), [&](const TRow& r) { return r.Key == key; });
    QVERIFY2(listed, qPrintable(name + ": button '" + key + "' is not walked"));
  }
  for (const TRow& r : rows)
    QVERIFY2(buttons.count(r.Key) || ButtonCaptioned(window, r.Key),
             qPrintable(name + ": no button '" + r.Key + "'"));
}

void PressAndCheck(QWidget* window, const TRow& r, bool byName, const QString& name) {
  const auto buttons = CommandButtons(window, byName);
  QAbstractButton* b = buttons.count(r.Key) ? buttons.at(r.Key) : ButtonCaptioned(window, r.Key);
  QVERIFY2(b, qPrintable(name + ": no button '" + r.Key + "'"));
  QVERIFY2(b->isEnabled() == r.Enabled(), qPrintable(name + ": '" + r.Key + "' enabled state"));
  if (!b->isEnabled()) return;
  r.Press(b);
  if (!r.Closes) QVERIFY2(r.Effect(), qPrintable(name + ": no effect of '" + r.Key + "'"));
}

// A dialog of type D that open() shows through the main window: its command buttons
// pressed in one showing, then each closing button in a showing of its own (with
// prepare run first inside it).
template <typename D>
void WalkDialog(const QString& name, const std::function<void()>& open, const std::vector<TRow>& rows,
                const std::function<void(D*)>& prepare = [](D*) {}) {
  auto shown = WhenModal<D>([&](D* d) {
    CheckTableIsComplete(d, rows, false, name);
    for (const TRow& r : rows)
      if (!r.Closes) PressAndCheck(d, r, false, name);
    d->reject();
  });
  open();
  QVERIFY2(*shown, qPrintable(name + " was not shown"));
  for (const TRow& r : rows) {
    if (!r.Closes) continue;
    shown = WhenModal<D>([&](D* d) {
      prepare(d);
      PressAndCheck(d, r, false, name);
    });
    open();
    QVERIFY2(*shown, qPrintable(name + " was not shown for '" + r.Key + "'"));
    QVERIFY2(r.Effect(), qPrintable(name + ": no effect of '" + r.Key + "'"));
  }
}

}  // namespace

class ActionWalkTest : public TWindowTestBase {
  Q_OBJECT

  std::unique_ptr<TForm1> w_;

  void ClickControl(TControl id) { static_cast<QAbstractButton*>(w_->Control(id))->click(); }

 private slots:
  void initTestCase() {
    SetUpProgramFolder();
    for (const char* folder : {"Works", "Templates", "Other", "HTML", "Help", "html"}) QDir(dir_.path()).mkpath(folder);
    WriteWork(programDir_ + "Default.dat", "Fresh");
    WriteWork(programDir_ + "Works/mine.qznr", "Mine");
    WriteWork(programDir_ + "Other/elsewhere.qznr", "Elsewhere");
    WriteWork(programDir_ + "Templates/glass.qzpl", "Glass");
    for (const char* file : {"HTML/About.html", "Help/index.html", "html/preview.tml"})
      QVERIFY(QFile::copy(QString(QZ_PROGRAM_DIR) + file, QString::fromStdString(programDir_ + file)));
    w_ = MakeWindow();
    Prepare(*w_, "Walk");
    w_->Modified = false;
  }

  void cleanup() { StopWatchingModals(); }

  void mainWindowButtons() {
    TForm1& w = *w_;
    TScene& s = *w.Scene;
    const TColor picked = RGBToColor(10, 120, 230);
    auto pickColor = [](QAbstractButton* b) {
      WhenModal<QColorDialog>([](QColorDialog* d) {
        d->setCurrentColor(QColor(10, 120, 230));
        d->accept();
      });
      b->click();
    };
    const QString texture = QString::fromStdString(textureFile_);
    auto chooseTexture = [texture](QAbstractButton* b) {
      WhenModal<QFileDialog>([texture](QFileDialog* d) { TypeIntoFileDialog(d, texture); });
      b->click();
    };
    TExportPage* page = w.ExportPage();
    bool italicBefore = false;
    const std::vector<TRow> rows = {
        {"SpeedButton1", Always,
         [](QAbstractButton* b) {
           WhenModal<QFontDialog>([](QFontDialog* d) {
             d->setCurrentFont(QFont("DejaVu Serif", 14));
             d->accept();
           });
           b->click();
         },
         [&] { return w.Text.At(0).Format.Name == "DejaVu Serif"; }},
        {"SpeedButton2", Always,
         [&](QAbstractButton* b) {
           italicBefore = w.Text.At(0).Format.Italic;
           WhenModal<TForm2>([](TForm2* f) {
             f->RichEdit1->selectAll();
             f->ToolButton2->click();  // Italic, on or off
             f->accept();
           });
           b->click();
         },
         [&] { return w.Text.At(0).Format.Italic != italicBefore && w.Text.At(1).Format.Italic != italicBefore; }},
        {"SpeedButton3", Always, pickColor, [&] { return s.BkgColor == picked; }},
        {"SpeedButton4", Always,
         [&](QAbstractButton* b) {
           Widget<QLineEdit>(w, TControl::BkgHexBox)->setText("00FF00");
           b->click();
         },
         [&] { return s.BkgColor == RGBToColor(0, 255, 0); }},
        {"SpeedButton5", Always, pickColor, [&] { return s.Message.MColor == picked; }},
        {"SpeedButton6", Always, chooseTexture, [&] { return s.View.TextTextured; }},
        {"SpeedButton7", Always, Click, [&] { return !s.View.TextTextured && s.Message.TexFile.empty(); }},
        {"SpeedButton8", Always, pickColor, [&] { return s.Button.MColor == picked; }},
        {"SpeedButton9", Always, chooseTexture, [&] { return s.View.ButtonTextured; }},
        {"SpeedButton10", Always, Click, [&] { return !s.View.ButtonTextured && s.Button.TexFile.empty(); }},
        {"SpeedButton11", Always,
         [](QAbstractButton* b) {
           WhenModal<TOpenShForm>([](TOpenShForm* f) {
             f->ListView1->item(0)->setSelected(true);
             f->OKBtn->click();
           });
           b->click();
         },
         [&] { return s.Type == 16 && s.ShapeName == "square.qzkh"; }},
        {"SpeedButton12", Always, pickColor, [&] { return s.Light.Color == picked; }},
        {"GifToggle", Always, Click,
         [page] { return page->GifAdvanced->isVisibleTo(page) && page->GifToggle->text() == "Simple  <<"; }},
        {"JpegToggle", Always,
         [page](QAbstractButton* b) {
           page->PageControl2->setCurrentIndex(1);  // "JPEG"
           b->click();
         },
         [page] { return page->JpegAdvanced->isVisibleTo(page) && page->JpegToggle->text() == "Simple  <<"; }},
        {"SpeedButton13", Always,
         [page](QAbstractButton* b) {
           page->chBrowserPreview->setChecked(false);
           page->PageControl2->setCurrentIndex(0);  // " GIF"
           WhenModal<QFileDialog>([](QFileDialog* d) { TypeIntoFileDialog(d, "walked"); });
           b->click();
         },
         [&] { return w.LastExportBytes > 0 && QFile::exists(QString::fromStdString(programDir_ + "Images/walked.gif")); }},
    };
    CheckTableIsComplete(&w, rows, true, "main window");
    for (const TRow& r : rows) {
      // The button's own tab in front, as a user sees it.
      for (int i = 0; i < w.Tabs()->count(); ++i)
        if (w.Tabs()->widget(i)->isAncestorOf(CommandButtons(&w, true)[r.Key])) w.Tabs()->setCurrentIndex(i);
      PressAndCheck(&w, r, true, "main window");
    }
    QVERIFY(messages_.Texts.empty());
    w.Modified = false;
  }

  void welcomeDialog() {
    TForm1& w = *w_;
    const std::vector<TRow> rows = {
        {"ew", Always, Click,
         [&] { return w.WelcomeDialog().Mode == TForm4::ModeNew && !w.WelcomeDialog().BrowseBtn->isEnabled(); }},
        {"emplate", Always, Click,
         [&] { return w.WelcomeDialog().Mode == TForm4::ModeTemplate && w.WelcomeDialog().ListView1->count() == 1; }},
        {"aved", Always, Click,
         [&] { return w.WelcomeDialog().Mode == TForm4::ModeSaved && w.WelcomeDialog().BrowseBtn->isEnabled(); }},
        {"Browse Folder", [&] { return w.WelcomeDialog().Mode == TForm4::ModeSaved; },
         [&](QAbstractButton* b) {
           const QString other = QString::fromStdString(programDir_ + "Other");
           WhenModal<QFileDialog>([other](QFileDialog* d) { TypeIntoFileDialog(d, other); });
           b->click();
         },
         [&] {
           QListWidget* list = w.WelcomeDialog().ListView1;
           return list->count() == 1 && list->item(0)->text() == "elsewhere.qznr";
         }},
        {"OK", Always, Click, [&] { return w.Text.Text() == "Mine" && !w.Modified; }, true},
        {"Cancel", Always, Click, [&] { return w.Text.Text() == "Mine"; }, true},
    };
    WalkDialog<TForm4>("welcome dialog", [&] { w.OpenClick(); }, rows, [](TForm4* f) {
      if (f->ListView1->count() > 0) f->ListView1->item(0)->setSelected(true);  // mine.qznr
    });
  }

  void textDialogs() {
    TForm1& w = *w_;
    Prepare(w, "Go");
    auto form2 = [&] { return &w.AdvancedTextDialog(); };
    auto all = [&] { return form2()->TakeText(); };
    const std::vector<TRow> rows = {
        {"Bold", Always,
         [&](QAbstractButton* b) {
           form2()->RichEdit1->selectAll();
           b->click();
         },
         [&] { return all().At(0).Format.Bold && all().At(1).Format.Bold; }},
        {"Italic", Always, Click, [&] { return all().At(1).Format.Italic; }},
        // Walked with the Character Map's own buttons below.
        {" Symbol ", Always, Click,
         [&] { return all().Text() == "A"; }},
        {"OK", Always, Click, [&] { return w.Text.At(0).Format.Bold && w.MessageEdit()->toPlainText() == "Go"; }, true},
        {"Cancel", Always, Click, [&] { return !w.Text.At(0).Format.Italic; }, true},
    };
    // In the first showing the whole text is selected before " Symbol ": the inserted
    // character replaces it.
    auto shown = WhenModal<TForm2>([&](TForm2* f) {
      CheckTableIsComplete(f, rows, false, "advanced text");
      for (const TRow& r : rows) {
        if (r.Closes) continue;
        if (r.Key == " Symbol ") {
          f->RichEdit1->selectAll();
          const std::string before = f->TakeText().Text();
          WhenModal<TCharMap>([](TCharMap* m) {
            std::vector<TRow> mapRows = {{"OK", Always, Click, Always, true},
                                         {"Cancel", Always, Click, Always, true}};
            CheckTableIsComplete(m, mapRows, false, "character map");
            m->StringGrid1->setCurrentCell(1, 1);
            CommandButtons(m, false).at("Cancel")->click();
          });
          f->ToolButton3->click();
          QCOMPARE(f->TakeText().Text(), before);  // Cancel inserts nothing
          WhenModal<TCharMap>([](TCharMap* m) {
            m->StringGrid1->setCurrentCell(1, 1);  // "A"
            CommandButtons(m, false).at("OK")->click();
          });
          f->ToolButton3->click();
          QVERIFY2(r.Effect(), "advanced text: no effect of ' Symbol '");
          continue;
        }
        PressAndCheck(f, r, false, "advanced text");
      }
      f->reject();
    });
    ClickControl(TControl::AdvancedText);
    QVERIFY(*shown);
    QCOMPARE(w.Text.Text(), std::string("Go"));  // Cancel of that showing
    for (const char* close : {"OK", "Cancel"}) {
      const TRow& r = *std::find_if(rows.begin(), rows.end(), [&](const TRow& x) { return x.Key == close; });
      shown = WhenModal<TForm2>([&](TForm2* f) {
        f->RichEdit1->selectAll();
        (r.Key == "OK" ? f->ToolButton1 : f->ToolButton2)->click();
        PressAndCheck(f, r, false, "advanced text");
      });
      ClickControl(TControl::AdvancedText);
      QVERIFY(*shown);
      QVERIFY2(r.Effect(), qPrintable("advanced text: no effect of " + r.Key));
    }
    w.Modified = false;
  }

  void optionsAndShapeDialogs() {
    TForm1& w = *w_;
    TScene& s = *w.Scene;
    WalkDialog<TForm3>(
        "advanced options", [&] { w.AdvancedOptionsClick(); },
        {{"OK", Always, Click, [&] { return s.GutTop == 11; }, true},
         {"Cancel", Always, Click, [&] { return s.GutTop == 11; }, true}},
        [](TForm3* f) { f->edTop->setText(f->edTop->text() == "11" ? "12" : "11"); });

    s.Type = 0;
    s.ShapeName.clear();
    auto sorted = [&] { return w.ShapeDialog().CheckBox1; };
    WalkDialog<TOpenShForm>(
        "shape dialog", [&] { ClickControl(TControl::ShapeSelection); },
        {{" Sorted", Always, Click, [&] { return !sorted()->isChecked() && w.ShapeDialog().ListView1->count() == 1; }},
         {"Cancel", Always, Click, [&] { return s.Type == 0; }, true},
         {"OK", Always, Click, [&] { return s.Type == 16 && s.ShapeName == "square.qzkh"; }, true}},
        [](TOpenShForm* f) { f->ListView1->item(0)->setSelected(true); });
    w.Modified = false;
  }

  void menuEntries() {
    TForm1& w = *w_;
    std::map<QString, QAction*> actions;
    for (QAction* menu : w.menuBar()->actions())
      for (QAction* a : menu->menu()->actions()) {
        if (a->isSeparator()) continue;
        if (a->menu()) {
          for (QAction* sub : a->menu()->actions()) actions[sub->text()] = sub;
        } else {
          actions[a->text()] = a;
        }
      }
    QCOMPARE(actions.at("&Save ...")->shortcut(), QKeySequence("Ctrl+S"));
    struct TEntry {
      QString Text;
      std::function<void(QAction*)> Trigger;
      std::function<bool()> Effect;
    };
    auto trigger = [](QAction* a) { a->trigger(); };
    const std::vector<TEntry> entries = {
        {"&New", trigger, [&] { return w.Text.Text() == "Fresh" && !w.Modified; }},
        {"New from &template ...",
         [](QAction* a) {
           WhenModal<TForm4>([](TForm4* f) {
             f->ListView1->item(0)->setSelected(true);
             f->OKBtn->click();
           });
           a->trigger();
         },
         [&] { return w.Text.Text() == "Glass"; }},
        {"&Open ...",
         [](QAction* a) {
           WhenModal<TForm4>([](TForm4* f) {
             f->ListView1->item(0)->setSelected(true);
             f->OKBtn->click();
           });
           a->trigger();
         },
         [&] { return w.Text.Text() == "Mine"; }},
        {"&Save ...",
         [&](QAction* a) {
           w.Modified = true;
           WhenModal<QFileDialog>([](QFileDialog* d) { TypeIntoFileDialog(d, "walk"); });
           a->trigger();
         },
         [&] { return !w.Modified && QFile::exists(QString::fromStdString(programDir_ + "Works/walk.qznr")); }},
        {"&Advanced Options ...",
         [](QAction* a) {
           WhenModal<TForm3>([](TForm3* f) {
             f->edLeft->setText("9");
             f->accept();
           });
           a->trigger();
         },
         [&] { return w.Scene->GutLeft == 9; }},
        {"Status Bar", trigger, [&] { return !w.statusBar()->isVisible(); }},
        {"&Progress Bar", trigger, [&] { return !w.ProgressBar()->isVisible(); }},
        {"Hel&p ...", trigger, [&] { return w.BrowserWindowIfMade() && w.BrowserWindowIfMade()->isVisible(); }},
        {"&About Quenzar",
         [&](QAction* a) {
           w.BrowserWindow().close();
           a->trigger();
         },
         [&] { return w.BrowserWindow().isVisible(); }},
        {"E&xit",
         [&](QAction* a) {
           w.Modified = false;
           a->trigger();
         },
         [&] { return !w.isVisible(); }},
    };
    QCOMPARE(actions.size(), entries.size());
    for (const TEntry& e : entries) {
      QVERIFY2(actions.count(e.Text), qPrintable("no menu entry " + e.Text));
      QAction* a = actions.at(e.Text);
      QVERIFY2(a->isEnabled(), qPrintable(e.Text + " is disabled"));
      e.Trigger(a);
      QVERIFY2(e.Effect(), qPrintable("no effect of " + e.Text));
    }
    // The view entries are check marks that switch back.
    actions.at("Status Bar")->trigger();
    actions.at("&Progress Bar")->trigger();
    QVERIFY(actions.at("Status Bar")->isChecked() && actions.at("&Progress Bar")->isChecked());
    QVERIFY(messages_.Texts.empty());
  }

  void cleanupTestCase() {
    if (w_) w_->Modified = false;
    w_.reset();
  }
};

}  // namespace qz

int main(int argc, char** argv) {
  if (::geteuid() == 0) setenv("QTWEBENGINE_DISABLE_SANDBOX", "1", 0);
  setenv("QTWEBENGINE_CHROMIUM_FLAGS", "--disable-gpu --disable-dev-shm-usage", 0);
  QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
  QApplication app(argc, argv);
  qz::ActionWalkTest test;
  return QTest::qExec(&test, argc, argv);
}

#include "ActionWalkTest.moc"
