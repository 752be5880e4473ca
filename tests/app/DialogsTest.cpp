// The window's dialogs on their own, answered as a user answers them.
#include <QDialogButtonBox>
#include <QTableWidget>

#include "WindowKit.h"
#include "app/files/BrowseForFolder.h"
#include "app/files/ProjectCommands.h"
#include "support/TempDir.h"
#include "text/FontEngine.h"

namespace qz {

namespace {

const std::vector<std::string> Faces{"DejaVu Sans", "Liberation Mono", "Liberation Sans", "Liberation Serif"};

// Accepts the next message box, keeping its text.
std::shared_ptr<bool> ReadMessage(QString& text) {
  return WhenModal<QMessageBox>([&text](QMessageBox* box) { text = box->text(), box->accept(); });
}

void Press(QDialog* d, QDialogButtonBox::StandardButton which) {
  d->findChild<QDialogButtonBox*>()->button(which)->click();
}

}  // namespace

class DialogsTest : public QObject {
  Q_OBJECT

  QTemporaryDir tmp_;
  std::string program_, works_, shapes_;

  void Folders(TWelcomeDialog& form) {
    form.ProgramDir = program_;
    form.WorksDir = works_;
    form.TemplatesDir = program_ + "Templates/";
  }

 private slots:
  void initTestCase() {
    QVERIFY(tmp_.isValid());
    program_ = PathFromQt(tmp_.path()) + "/";
    works_ = program_ + "Works/";
    shapes_ = program_ + "BShapes/";
    for (const char* folder : {"Works/folder.qznr", "Templates", "BShapes"}) QDir().mkpath(PathToQt(program_ + folder));
    // Hidden files, other extensions and folders are not listed.
    for (const char* name : {"b.qznr", "a.qznr", "Up.QZNR", ".hidden.qznr", "notes.txt"}) WriteWork(works_ + name);
    WriteWork(program_ + "Templates/t1.qzpl");

    for (const char* name : {"round.qzkh", "my.round.qzkh", "Zigzag.QZKH"})
      TWindowTestBase::SquareShape().SaveToFile(shapes_ + name);
    test::WriteBytes(shapes_ + "short.qzkh", {0x00, 0x00, 0x10, 0x00, 1, 2, 3});  // shorter than a header
    std::vector<uint8_t> broken(60, 0);  // the signature and a picture offset, but no picture there
    broken[2] = 0x10;
    broken[40] = 48;
    test::WriteBytes(shapes_ + "broken.qzkh", broken);
    test::WriteBytes(shapes_ + "notes.txt", {1});
  }

  void cleanup() { StopWatchingModals(); }

  void welcomeListsTheFilesOfItsMode() {
    TWelcomeDialog form;
    Folders(form);
    QVERIFY(form.FileList->count() == 0 && !form.BrowseButton->isEnabled());
    form.SetMode(TWelcomeDialog::ModeSaved);
    QVERIFY(form.BrowseButton->isEnabled());
    QCOMPARE(Captions(form.FileList), (QStringList{"a.qznr", "b.qznr", "Up.QZNR"}));
    form.SetMode(TWelcomeDialog::ModeTemplate);
    QCOMPARE(Captions(form.FileList), QStringList{"t1.qzpl"});
    // A folder that is not there: said so, the list emptied.
    QString text;
    auto seen = ReadMessage(text);
    form.ListWorks(program_ + "Missing/*.qznr");
    QVERIFY(*seen && form.FileList->count() == 0);
    QCOMPARE(text, PathToQt("Directory: \"" + program_ + "Missing/\" does not exist"));
    // Browse Folder lists the folder chosen; Cancel keeps folder and list.
    const std::string other = program_ + "Other/";
    QDir().mkpath(PathToQt(other));
    WriteWork(other + "elsewhere.qznr");
    form.SetMode(TWelcomeDialog::ModeSaved);
    const auto browse = [&] { form.BrowseButton->click(); };
    QVERIFY(Through<QFileDialog>(browse, [&](QFileDialog* d) { TypeIntoFileDialog(d, PathToQt(other)); }));
    QCOMPARE(Captions(form.FileList), QStringList{"elsewhere.qznr"});
    QVERIFY(Through<QFileDialog>(browse, [](QFileDialog* d) { d->reject(); }));
    QVERIFY(form.WorksDir == other && form.FileList->count() == 1);
  }

  void welcomeClosingRules() {
    struct TRow {
      int mode;
      const char* select;  // the caption selected, or none
      int close;           // 0 Cancel, 1 OK, 2 a double-click on the selection
      bool accepted;
      const char* selected;  // relative to the program folder
    };
    for (const TRow& r : {TRow{1, "", 1, true, "default.dat"}, {1, "", 0, true, "default.dat"},
                          {2, "", 1, false, "default.dat"}, {2, "b.qznr", 1, true, "Works/b.qznr"},
                          {2, "b.qznr", 0, true, "Works/b.qznr"}, {2, "a.qznr", 2, true, "Works/a.qznr"},
                          {3, "", 1, false, "default.dat"}, {3, "t1.qzpl", 1, true, "Templates/t1.qzpl"}}) {
      TWelcomeDialog form;
      Folders(form);
      form.SelectedFile = "left over";
      form.SetMode(r.mode);
      form.show();
      QListWidgetItem* item = *r.select ? ItemNamed(form.FileList, r.select) : nullptr;
      if (item) item->setSelected(true);
      if (r.close == 2) emit form.FileList->itemDoubleClicked(item);
      else (r.close ? form.OkButton : form.CancelButton)->click();
      const QByteArray row = QByteArray::number(r.mode) + " '" + r.select + "' " + QByteArray::number(r.close);
      QVERIFY2(form.result() == (r.close ? QDialog::Accepted : QDialog::Rejected) && form.Accepted == r.accepted, row);
      QCOMPARE(PathToQt(form.SelectedFile), PathToQt(program_ + r.selected));
      QCOMPARE(form.WorksDir, works_);
    }
  }

  // OK checks every field before it copies any: a bad one is said, its page shown,
  // the dialog stays open and the record keeps even the good fields' old values.
  void optionsOkChecksEveryFieldFirst() {
    TParams original;
    original.GutTop = 11;
    original.ShapeName = "ROUND.qzkh";  // a field the dialog does not show
    original.RDelay = 0;                // from a file: clipped by the spinner, never stored as 0
    TOptionsDialog form;
    form.LoadParams(original);
    form.show();
    form.TopMarginBox->setText("-5");
    form.YFactorBox->setText("abc");
    QString text;
    auto seen = ReadMessage(text);
    Press(&form, QDialogButtonBox::Ok);
    QVERIFY(*seen && form.isVisible());
    QCOMPARE(text, QString("'abc' is not a valid floating point value"));
    form.YFactorBox->setText("1,5");  // a comma as decimal separator
    form.OptionTabs->setCurrentIndex(0);
    form.RightMarginBox->setText("px");  // a margin without any digit
    seen = ReadMessage(text);
    Press(&form, QDialogButtonBox::Ok);
    QVERIFY(*seen && form.isVisible());
    QCOMPARE(text, QString("'' is not a valid integer value"));
    QCOMPARE(form.OptionTabs->currentIndex(), 1);  // the page of the margin that failed
    QVERIFY(form.Params.GutTop == 11 && form.Params.CnZ == original.CnZ);
    form.RightMarginBox->setText("7");
    Press(&form, QDialogButtonBox::Ok);
    QCOMPARE(form.result(), int(QDialog::Accepted));
    QVERIFY(form.Params.RDelay == 1 && form.Params.GutTop == 5 && form.Params.GutRight == 7 && form.Params.CnZ == 1.5f);
    QCOMPARE(form.Params.ShapeName, std::string("ROUND.qzkh"));
  }

  // The states' two settings travel out and back with the rest of the record: OK
  // keeps what the spinners show, Cancel nothing; a value from a file beyond the
  // spinner's range comes back clipped to it.
  void optionsCarryTheStatesSettings() {
    TParams original;
    original.States = {200, 55};
    TOptionsDialog form;
    form.LoadParams(original);
    form.show();
    QVERIFY(form.HoverSpinner->value() == TOptionsDialog::MaxHoverBrightening && form.PressedSpinner->value() == 55);
    form.HoverSpinner->setValue(12);
    form.PressedSpinner->setValue(70);
    Press(&form, QDialogButtonBox::Ok);
    QCOMPARE(form.result(), int(QDialog::Accepted));
    QVERIFY(form.Params.States.HoverBrightening == 12 && form.Params.States.PressedAltitude == 70);
    QCOMPARE(form.Params.GutTop, original.GutTop);

    form.show();  // shows the record again, then a change is dropped
    QVERIFY(form.HoverSpinner->value() == 12 && form.PressedSpinner->value() == 70);
    form.HoverSpinner->setValue(0);
    form.PressedSpinner->setValue(100);
    Press(&form, QDialogButtonBox::Cancel);
    QCOMPARE(form.result(), int(QDialog::Rejected));
    QVERIFY(form.Params.States.HoverBrightening == 12 && form.Params.States.PressedAltitude == 70);
  }

  void shapeDialogListsAndChooses() {
    TShapeDialog form;
    form.ProgramDir = program_;
    form.show();
    QCOMPARE(Captions(form.ShapeList), (QStringList{"BROKEN", "MY.ROUND", "ROUND", "SHORT", "ZIGZAG"}));
    ItemNamed(form.ShapeList, "MY.ROUND")->setSelected(true), form.OkButton->click();
    QVERIFY(form.Accepted);
    QCOMPARE(form.SelectedFile, shapes_ + "my.round.qzkh");  // the listed file itself
    // A double-click closes with OK; the upper-case caption of a lower-case file is the file.
    form.show();
    QListWidgetItem* round = ItemNamed(form.ShapeList, "ROUND");
    round->setSelected(true), emit form.ShapeList->itemDoubleClicked(round);
    QVERIFY(form.Accepted && !form.isVisible());
    QCOMPARE(form.SelectedFile, shapes_ + "round.qzkh");
  }

  void textSettingsRestyleTheSelectionOnly() {
    TTextDialog form(Faces);
    TMessageText text = Message("ab", TCharFormat{"Liberation Serif", 40, 1, true, false, false});
    text.Append("cdef", TCharFormat{"Arial", 12, 1, false, true, false});
    form.LoadText(text);
    // The tool bar follows the selection and writes nothing back.
    form.Editor->SetSelection(3, 1);
    QVERIFY(form.FontSizeSpinner->value() == 12 && !form.BoldButton->isChecked() && form.ItalicButton->isChecked());
    QCOMPARE(form.FontNameList->currentText(), QString("Arial"));  // a name the list lacks
    QCOMPARE(form.TakeText().Chars(), text.Chars());
    form.Editor->SetSelection(2, 3);
    form.FontSizeSpinner->setValue(30);
    emit form.FontNameList->activated(1);  // "Liberation Mono"
    form.BoldButton->click();              // Bold
    const TMessageText t = form.TakeText();
    for (int i = 0; i < t.Length(); ++i) {
      TCharFormat want = text.At(i).Format;
      if (i >= 2 && i <= 4) want.Size = 30, want.Name = "Liberation Mono", want.Bold = true;
      QCOMPARE(t.At(i).Format, want);
    }
  }

  void characterMapAndSymbol() {
    // " Symbol " inserts the cell in the map's face; Cancel inserts nothing; the limit holds.
    TTextDialog form(Faces);
    form.LoadText(Message("ab"));
    form.Editor->SetSelection(1, 0);
    const auto symbol = [&] { form.SymbolButton->click(); };
    QVERIFY(Through<TCharMap>(symbol, [](TCharMap* m) {
      m->FontList->setCurrentIndex(3);  // "Liberation Serif"
      const QPoint at = m->CharacterGrid->visualItemRect(m->CharacterGrid->item(2, 3)).center();
      QTest::mouseClick(m->CharacterGrid->viewport(), Qt::LeftButton, {}, at);
      QTest::mouseDClick(m->CharacterGrid->viewport(), Qt::LeftButton, {}, at);  // closes with OK
    }));
    const TMessageText t = form.TakeText();
    QCOMPARE(t.Text(), std::string("acb"));
    QVERIFY(t.At(1).Format.Name == "Liberation Serif" && t.At(1).Format.Size == 18 && t.At(2).Format == TCharFormat());
    QVERIFY(Through<TCharMap>(symbol, [](TCharMap* m) { Press(m, QDialogButtonBox::Cancel); }));
    QCOMPARE(form.TakeText().Chars(), t.Chars());
    form.LoadText(Message(std::string(32, 'z')));
    QVERIFY(Through<TCharMap>(symbol, [](TCharMap* m) { Press(m, QDialogButtonBox::Ok); }));
    QCOMPARE(form.TakeText().Text(), std::string(32, 'z'));

    // The Unicode blocks the face has characters of: a Cyrillic letter inserted takes
    // its code page's charset; the face's list has no block it lacks.
    form.LoadText(Message("ab"));
    form.Editor->SetSelection(2, 0);
    QVERIFY(Through<TCharMap>(symbol, [](TCharMap* m) {
      m->FontList->setCurrentIndex(3);  // "Liberation Serif"
      QVERIFY(m->CharactersList->itemText(0) == "Code page" && m->CharactersList->findText("Hebrew") < 0);
      m->CharactersList->setCurrentIndex(m->CharactersList->findText("Cyrillic"));
      QVERIFY(m->ShowsBlock() && m->CharacterGrid->item(0, 16)->text() == QString::fromUtf8("\u0410"));
      const QPoint at = m->CharacterGrid->visualItemRect(m->CharacterGrid->item(0, 16)).center();
      QTest::mouseClick(m->CharacterGrid->viewport(), Qt::LeftButton, {}, at);
      QTest::mouseDClick(m->CharacterGrid->viewport(), Qt::LeftButton, {}, at);
    }));
    const TMessageText cyrillic = form.TakeText();
    QVERIFY(cyrillic.CodePoints() == std::u32string(U"ab\u0410"));
    QVERIFY(cyrillic.At(2).Format.Charset == 204 && cyrillic.At(2).Format.Name == "Liberation Serif");
  }

  // A template saved leaves the work Save proposes alone, and a work the template;
  // a dot in a folder's name is no extension.
  // The folder chooser opens on a folder of special files without waiting on any, and
  // the works list says which folder it shows.
  void foldersAreShownAndChosenWithoutHanging() {
    std::string folder = "/proc";
    auto shown = WhenModal<QFileDialog>([](QFileDialog* d) {
      QTest::qWait(500);  // time for the list to fill
      d->reject();
    });
    QVERIFY(!BrowseForFolder("Select folder", folder, nullptr));
    QVERIFY(*shown && folder == "/proc");
    TWelcomeDialog form;
    Folders(form);
    form.SetMode(TWelcomeDialog::ModeSaved);
    QVERIFY(form.FolderLabel->toolTip() == PathToQt(works_));
  }

  // Only faces the renderer can read are offered, and the one a font name resolves to
  // is chosen first.
  void fontChooserOffersTrueTypeFacesOpeningOnTheFaceUsed() {
    TFontChooser chooser(TFontEngine::TrueTypeFaces());
    QVERIFY(chooser.FaceList->findItems("Sans Serif", Qt::MatchExactly).isEmpty());
    chooser.SetFormat(TCharFormat{"Arial", 20, 1, true, false, false});
    QVERIFY(chooser.FaceList->currentItem() && chooser.FaceList->currentItem()->text() == "Liberation Sans");
    const TCharFormat f = chooser.Format();
    QVERIFY(f.Name == "Liberation Sans" && f.Size == 20 && f.Bold && !f.Italic);
  }

  void saveNamesWorksAndTemplatesApart() {
    const TProjectFiles files{"/w/old/shiny.txt", "/t/old.qzpl", "/w/", "/t/"};
    TProjectFiles work = files, tpl = files;
    QCOMPARE(PrepareSave(work), std::string("/w/shiny.qznr"));
    QCOMPARE(ApplySaveChoice(work, "/home/me/shiny.txt", 1).File, std::string("/home/me/shiny.qznr"));
    QVERIFY(work.JobFile == "/home/me/shiny.qznr" && work.WorksDir == "/home/me/" && work.TemplateFile == files.TemplateFile);
    QCOMPARE(ApplySaveChoice(tpl, "/home/me/tpl/shiny.txt", 2).File, std::string("/home/me/tpl/shiny.qzpl"));
    QVERIFY(tpl.TemplateFile == "/home/me/tpl/shiny.qzpl" && tpl.TemplatesDir == "/home/me/tpl/" && tpl.JobFile == files.JobFile);
    QCOMPARE(SaveFileName("/a.b/name", 1), std::string("/a.b/name.qznr"));
    QCOMPARE(SaveFileName("/a/my.design.qznr", 2), std::string("/a/my.design.qzpl"));
  }

  // A name that would replace an existing file (kept.txt saved as kept.qznr) is asked
  // about: No returns to the dialog, Yes replaces it.
  void saveDialogAsksBeforeReplacing() {
    const std::string dir = program_ + "Saves/";
    QDir().mkpath(PathToQt(dir));
    WriteWork(dir + "kept.qznr");
    TProjectFiles files{"Untitled", "", dir, dir + "tpl/"};
    QString proposed, question;
    auto seen = WhenModal<QFileDialog>([&](QFileDialog* d) {
      proposed = d->findChild<QLineEdit*>("fileNameEdit")->text();
      WhenModal<QMessageBox>([&](QMessageBox* box) {
        question = box->text(), box->button(QMessageBox::No)->click();
        WhenModal<QFileDialog>([](QFileDialog* again) { again->reject(); });
      });
      TypeIntoFileDialog(d, "kept.txt");
    });
    QVERIFY(!AskSaveTarget(nullptr, files) && *seen);
    QCOMPARE(proposed, QString("Untitled.qznr"));
    QVERIFY(question.startsWith("kept.qznr already exists."));
    seen = WhenModal<QFileDialog>([](QFileDialog* d) {
      WhenModal<QMessageBox>([](QMessageBox* box) { box->button(QMessageBox::Yes)->click(); }), TypeIntoFileDialog(d, "kept.txt");
    });
    const auto target = AskSaveTarget(nullptr, files);
    QVERIFY(*seen && target);
    QCOMPARE(target->File, dir + "kept.qznr");
    // Escape on the unsaved-changes question is Cancel, not No.
    seen = WhenModal<QMessageBox>([](QMessageBox* box) { QTest::keyClick(box, Qt::Key_Escape); });
    QCOMPARE(AskUnsavedChanges(nullptr, TProjectCommand::Open), TUnsavedAnswer::Cancel);
    QVERIFY(*seen);
  }
};

}  // namespace qz

QTEST_MAIN(qz::DialogsTest)
#include "DialogsTest.moc"
