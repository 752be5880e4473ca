// The window's dialogs on their own, answered as a user answers them: the welcome
// dialog, Advanced Options, the shape dialog, Advanced Text Settings with its
// Character Map, and the save dialog with the icon a work carries.
#include <QDialogButtonBox>
#include <QTableWidget>

#include "WindowKit.h"
#include "app/IconList.h"
#include "app/ProjectCommands.h"
#include "platform/JpegWriter.h"
#include "scene/IconRecord.h"
#include "support/TempDir.h"

namespace qz {

namespace {

const std::vector<std::string> Faces{"DejaVu Sans", "Liberation Mono", "Liberation Sans", "Liberation Serif"};

// A work file the dialogs list: its version line only.
void WriteWork(const std::string& path) {
  TIniFile ini(path);
  ini.WriteString("General", "Version", "1.3.5");
  ini.Flush();
}

TBitmap Solid(int w, int h, uint32_t pixel) {
  TBitmap b(w, h);
  b.Fill(pixel);
  return b;
}

QImage ItemPicture(QListWidget* list, int row) {
  return list->item(row)->icon().pixmap(IconWidth, IconHeight).toImage().convertToFormat(QImage::Format_RGB32);
}

// Accepts the next message box, keeping its text.
std::shared_ptr<bool> ReadMessage(QString& text) {
  return WhenModal<QMessageBox>([&text](QMessageBox* box) {
    text = box->text();
    box->accept();
  });
}

void Press(QDialog* d, QDialogButtonBox::StandardButton which) {
  d->findChild<QDialogButtonBox*>()->button(which)->click();
}

TMessageText Message(const std::string& text, const TCharFormat& format = {}) {
  TMessageText t;
  t.Append(text, format);
  return t;
}

}  // namespace

class DialogsTest : public QObject {
  Q_OBJECT

  QTemporaryDir tmp_;
  std::string program_, works_, shapes_;

  void Folders(TForm4& form) {
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

    const std::vector<uint8_t> picture = EncodeJpeg(Solid(120, 40, RGBToPixel(200, 40, 40)), 90);
    TWindowTestBase::SquareShape().SaveToFile(shapes_ + "round.qzkh", picture);
    TWindowTestBase::SquareShape().SaveToFile(shapes_ + "my.round.qzkh");  // no picture
    TWindowTestBase::SquareShape().SaveToFile(shapes_ + "Zigzag.QZKH", picture);
    test::WriteBytes(shapes_ + "short.qzkh", {0x00, 0x00, 0x10, 0x00, 1, 2, 3});  // shorter than a header
    std::vector<uint8_t> broken(60, 0);  // the signature and an offset, but no picture there
    broken[2] = 0x10;
    broken[40] = 48;
    test::WriteBytes(shapes_ + "broken.qzkh", broken);
    test::WriteBytes(shapes_ + "notes.txt", {1});
  }

  void cleanup() { StopWatchingModals(); }

  void welcomeListsTheFilesOfItsMode() {
    TForm4 form;
    Folders(form);
    QVERIFY(form.Mode == TForm4::ModeNew && form.ListView1->count() == 0 && !form.BrowseBtn->isEnabled());
    form.SetMode(TForm4::ModeSaved);
    QVERIFY(form.SpeedButton2->isChecked() && !form.SpeedButton1->isChecked() && form.BrowseBtn->isEnabled());
    QCOMPARE(Captions(form.ListView1), (QStringList{"a.qznr", "b.qznr", "Up.QZNR"}));
    form.SetMode(TForm4::ModeTemplate);
    QVERIFY(form.SpeedButton3->isChecked() && !form.BrowseBtn->isEnabled());
    QCOMPARE(Captions(form.ListView1), QStringList{"t1.qzpl"});

    // A folder that is not there, and a mask without a folder: said so, the list emptied.
    QString text;
    auto seen = ReadMessage(text);
    form.ListWorks(program_ + "Missing/*.qznr");
    QVERIFY(*seen && form.ListView1->count() == 0);
    QCOMPARE(text, PathToQt("Directory: \"" + program_ + "Missing/\" does not exist"));
    seen = ReadMessage(text);
    form.ListWorks("*.qznr");
    QVERIFY(*seen);
    QCOMPARE(text, QString("You do not have the saved files"));

    // Browse Folder lists the folder chosen; Cancel keeps folder and list.
    const std::string other = program_ + "Other/";
    QDir().mkpath(PathToQt(other));
    WriteWork(other + "elsewhere.qznr");
    form.SetMode(TForm4::ModeSaved);
    seen = WhenModal<QFileDialog>([&](QFileDialog* d) { TypeIntoFileDialog(d, PathToQt(other)); });
    form.BrowseBtn->click();
    QVERIFY(*seen);
    QCOMPARE(Captions(form.ListView1), QStringList{"elsewhere.qznr"});
    seen = WhenModal<QFileDialog>([](QFileDialog* d) { d->reject(); });
    form.BrowseBtn->click();
    QVERIFY(*seen && form.WorksDir == other && form.ListView1->count() == 1);
  }

  void welcomeClosingRules_data() {
    QTest::addColumn<int>("mode");
    QTest::addColumn<QString>("select");  // caption to select, or empty
    QTest::addColumn<int>("close");       // 0 Cancel, 1 OK, 2 a double-click on the selection
    QTest::addColumn<bool>("accepted");
    QTest::addColumn<QString>("selected");  // relative to the program folder
    QTest::newRow("new, OK") << 1 << "" << 1 << true << "default.dat";
    QTest::newRow("new, Cancel") << 1 << "" << 0 << true << "default.dat";
    QTest::newRow("saved, nothing selected") << 2 << "" << 1 << false << "default.dat";
    QTest::newRow("saved, selected") << 2 << "b.qznr" << 1 << true << "Works/b.qznr";
    QTest::newRow("saved, selected, Cancel") << 2 << "b.qznr" << 0 << true << "Works/b.qznr";
    QTest::newRow("saved, double-click") << 2 << "a.qznr" << 2 << true << "Works/a.qznr";
    QTest::newRow("template, nothing selected") << 3 << "" << 1 << false << "default.dat";
    QTest::newRow("template, selected") << 3 << "t1.qzpl" << 1 << true << "Templates/t1.qzpl";
  }

  void welcomeClosingRules() {
    QFETCH(int, mode);
    QFETCH(QString, select);
    QFETCH(int, close);
    QFETCH(bool, accepted);
    QFETCH(QString, selected);
    TForm4 form;
    Folders(form);
    form.SelectedFile = "left over";
    form.SetMode(mode);
    form.show();
    QListWidgetItem* item = select.isEmpty() ? nullptr : ItemNamed(form.ListView1, select);
    if (item) item->setSelected(true);
    if (close == 2) emit form.ListView1->itemDoubleClicked(item);
    else (close ? form.OKBtn : form.CancelBtn)->click();
    QCOMPARE(form.result(), close ? int(QDialog::Accepted) : int(QDialog::Rejected));
    QCOMPARE(form.Accepted, accepted);
    QCOMPARE(PathToQt(form.SelectedFile), PathToQt(program_) + selected);
    QCOMPARE(form.WorksDir, works_);
  }

  // OK checks every field before it copies any: a bad one is said, its page shown,
  // the dialog stays open and the record keeps even the good fields' old values. Good
  // fields are read back without what is not part of a number.
  void optionsOkChecksEveryFieldFirst() {
    TParams original;
    original.GutTop = 11;
    original.ShapeName = "ROUND.qzkh";  // a field the dialog does not show
    original.RDelay = 0;                // from a file: clipped by the spinner, never stored as 0
    TForm3 form;
    form.LoadParams(original);
    form.show();
    form.edTop->setText("-5");
    form.edYFactor->setText("abc");
    QString text;
    auto seen = ReadMessage(text);
    Press(&form, QDialogButtonBox::Ok);
    QVERIFY(*seen && form.isVisible());
    QCOMPARE(text, QString("'abc' is not a valid floating point value"));
    form.edYFactor->setText("1,5");  // a comma as decimal separator
    form.PageControl1->setCurrentIndex(0);
    form.edRight->setText("px");  // a margin without any digit
    seen = ReadMessage(text);
    Press(&form, QDialogButtonBox::Ok);
    QVERIFY(*seen && form.isVisible());
    QCOMPARE(text, QString("'' is not a valid integer value"));
    QCOMPARE(form.PageControl1->currentIndex(), 1);  // the page of the margin that failed
    QVERIFY(form.Params.GutTop == 11 && form.Params.CnZ == original.CnZ);
    form.edRight->setText("7");
    form.edBottom->setText("1.5");
    form.edDistance->setText("2000");
    Press(&form, QDialogButtonBox::Ok);
    QCOMPARE(form.result(), int(QDialog::Accepted));
    QVERIFY(form.Params.RDelay == 1 && form.Params.Render.Y == 2000.0f && form.Params.GutRight == 7);
    QVERIFY(form.Params.GutTop == 5 && form.Params.GutBottom == 15 && form.Params.CnZ == 1.5f);
    QCOMPARE(form.Params.ShapeName, std::string("ROUND.qzkh"));
  }

  void shapeDialogListsAndChooses() {
    TOpenShForm form;
    form.ProgramDir = program_;
    form.show();
    QCOMPARE(Captions(form.ListView1), (QStringList{"BROKEN", "MY.ROUND", "ROUND", "SHORT", "ZIGZAG"}));
    // Files without a picture (or a broken one) show the placeholder.
    for (int i = 0; i < form.ListView1->count(); ++i) {
      const bool hasPicture = QStringList{"ROUND", "ZIGZAG"}.contains(form.ListView1->item(i)->text());
      const QImage shown = ItemPicture(form.ListView1, i);
      QCOMPARE(shown == PlaceholderIcon("No Icon", form.font()), !hasPicture);
      if (hasPicture) QVERIFY(shown.pixelColor(60, 20).red() > 160);
    }
    ItemNamed(form.ListView1, "MY.ROUND")->setSelected(true);
    form.OKBtn->click();
    QVERIFY(form.Accepted);
    QCOMPARE(form.SelectedFile, shapes_ + "my.round.qzkh");  // the listed file itself
    // A double-click closes with OK; the upper-case caption of a lower-case file is the file.
    form.show();
    QListWidgetItem* round = ItemNamed(form.ListView1, "ROUND");
    round->setSelected(true);
    emit form.ListView1->itemDoubleClicked(round);
    QVERIFY(form.Accepted && !form.isVisible());
    QCOMPARE(form.SelectedFile, shapes_ + "round.qzkh");
    // OK with nothing selected: not accepted, the last choice kept.
    form.show();
    form.ListView1->clearSelection();
    form.OKBtn->click();
    QVERIFY(!form.Accepted);
    QCOMPARE(form.SelectedFile, shapes_ + "round.qzkh");
  }

  void textSettingsRestyleTheSelectionOnly() {
    TForm2 form(Faces);
    TMessageText text = Message("ab", TCharFormat{"Liberation Serif", 40, 1, true, false, false});
    text.Append("cdef", TCharFormat{"Arial", 12, 1, false, true, false});
    form.LoadText(text);
    // The tool bar follows the selection and writes nothing back.
    form.RichEdit1->SetSelection(0, 1);
    QVERIFY(form.Edit1->value() == 40 && form.ToolButton1->isChecked() && !form.ToolButton2->isChecked() &&
            form.ComboBox1->currentText() == "Liberation Serif");
    form.RichEdit1->SetSelection(3, 1);
    QVERIFY(form.Edit1->value() == 12 && !form.ToolButton1->isChecked() && form.ToolButton2->isChecked());
    QCOMPARE(form.ComboBox1->currentText(), QString("Arial"));  // a name the list lacks
    QCOMPARE(form.TakeText().Chars(), text.Chars());

    form.RichEdit1->SetSelection(2, 3);
    form.Edit1->setValue(30);
    emit form.ComboBox1->activated(1);  // "Liberation Mono"
    form.ToolButton1->click();          // Bold
    const TMessageText t = form.TakeText();
    for (int i = 0; i < t.Length(); ++i) {
      TCharFormat want = text.At(i).Format;
      if (i >= 2 && i <= 4) want.Size = 30, want.Name = "Liberation Mono", want.Bold = true;
      QCOMPARE(t.At(i).Format, want);
    }
    // A typed face applies once it names a listed one; Enter stays in the dialog.
    form.show();
    for (const char* face : {"no such face", "liberation serif"}) {
      form.ComboBox1->setEditText(face);
      QTest::keyClick(form.ComboBox1->lineEdit(), Qt::Key_Return);
    }
    QCOMPARE(form.TakeText().At(2).Format.Name, std::string("Liberation Serif"));
    form.Edit1->findChild<QLineEdit*>()->setText("22");
    QTest::keyClick(form.Edit1, Qt::Key_Return);
    QVERIFY(form.isVisible());
    QCOMPARE(form.TakeText().At(3).Format.Size, 22);
    form.hide();
  }

  void characterMapAndSymbol() {
    TCharMap map(Faces);
    // The grid draws through its charset's code page; a font change resets it.
    map.SetCharset(204);
    QCOMPARE(map.StringGrid1->item(6, 31)->text(), QString::fromUtf8("я"));
    map.ComboBox1->setCurrentIndex(2);
    QVERIFY(map.Charset() == 1 && map.FontName() == "Liberation Sans");
    QCOMPARE(map.StringGrid1->item(6, 31)->text(), QString::fromUtf8("ÿ"));

    // " Symbol " inserts the cell in the map's face; Cancel inserts nothing; the limit holds.
    TForm2 form(Faces);
    form.LoadText(Message("ab"));
    form.RichEdit1->SetSelection(1, 0);
    auto seen = WhenModal<TCharMap>([](TCharMap* m) {
      m->ComboBox1->setCurrentIndex(3);  // "Liberation Serif"
      const QPoint at = m->StringGrid1->visualItemRect(m->StringGrid1->item(2, 3)).center();
      QTest::mouseClick(m->StringGrid1->viewport(), Qt::LeftButton, {}, at);
      QTest::mouseDClick(m->StringGrid1->viewport(), Qt::LeftButton, {}, at);  // closes with OK
    });
    form.ToolButton3->click();
    QVERIFY(*seen);
    TMessageText t = form.TakeText();
    QCOMPARE(t.Text(), std::string("acb"));
    QVERIFY(t.At(1).Format.Name == "Liberation Serif" && t.At(1).Format.Size == 18 && t.At(2).Format == TCharFormat());
    seen = WhenModal<TCharMap>([](TCharMap* m) { Press(m, QDialogButtonBox::Cancel); });
    form.ToolButton3->click();
    QVERIFY(*seen);
    QCOMPARE(form.TakeText().Chars(), t.Chars());
    form.LoadText(Message(std::string(32, 'z')));
    seen = WhenModal<TCharMap>([](TCharMap* m) { Press(m, QDialogButtonBox::Ok); });
    form.ToolButton3->click();
    QVERIFY(*seen);
    QCOMPARE(form.TakeText().Text(), std::string(32, 'z'));

    // Without TrueType faces both still work, in Arial.
    TForm2 bare(std::vector<std::string>{});
    QVERIFY(!bare.ComboBox1->isEnabled() && bare.CharMap->NoFontLabel->isVisibleTo(bare.CharMap));
    bare.LoadText(Message("a"));
    seen = WhenModal<TCharMap>([](TCharMap* m) {
      m->StringGrid1->setCurrentCell(1, 1);  // "A"
      Press(m, QDialogButtonBox::Ok);
    });
    bare.ToolButton3->click();
    QVERIFY(*seen);
    QCOMPARE(bare.TakeText().Text(), std::string("aA"));
    QCOMPARE(bare.TakeText().At(1).Format.Name, std::string("Arial"));
  }

  // A template saved leaves the work Save proposes alone, and a work the template;
  // a dot in a folder's name is no extension.
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

  // The dialog proposes the work's name; a name typed that would be written over an
  // existing file (kept.txt as kept.qznr) is asked about: No returns to the dialog,
  // Yes replaces it. The templates entry writes a template.
  void saveDialogAsksBeforeReplacing() {
    const std::string dir = program_ + "Saves/";
    QDir().mkpath(PathToQt(dir));
    WriteWork(dir + "kept.qznr");
    TProjectFiles files{"Untitled", "", dir, dir + "tpl/"};
    QString proposed, question;
    auto seen = WhenModal<QFileDialog>([&](QFileDialog* d) {
      proposed = d->findChild<QLineEdit*>("fileNameEdit")->text();
      WhenModal<QMessageBox>([&](QMessageBox* box) {
        question = box->text();
        box->button(QMessageBox::No)->click();
        WhenModal<QFileDialog>([](QFileDialog* again) { again->reject(); });
      });
      TypeIntoFileDialog(d, "kept.txt");
    });
    QVERIFY(!AskSaveTarget(nullptr, files));
    QVERIFY(*seen);
    QCOMPARE(proposed, QString("Untitled.qznr"));
    QVERIFY(question.startsWith("kept.qznr already exists."));
    seen = WhenModal<QFileDialog>([&](QFileDialog* d) {
      WhenModal<QMessageBox>([](QMessageBox* box) { box->button(QMessageBox::Yes)->click(); });
      TypeIntoFileDialog(d, "kept.txt");
    });
    const auto target = AskSaveTarget(nullptr, files);
    QVERIFY(*seen && target);
    QCOMPARE(target->File, dir + "kept.qznr");
    seen = WhenModal<QFileDialog>([](QFileDialog* d) {
      d->selectNameFilter(WorkSaveFilters()[1]);
      TypeIntoFileDialog(d, "kept.txt");
    });
    const auto asTemplate = AskSaveTarget(nullptr, files);
    QVERIFY(*seen && asTemplate && asTemplate->Template);
    QCOMPARE(asTemplate->File, dir + "kept.qzpl");
    // Escape on the unsaved-changes question is Cancel, not No.
    seen = WhenModal<QMessageBox>([](QMessageBox* box) { QTest::keyClick(box, Qt::Key_Escape); });
    QCOMPARE(AskUnsavedChanges(nullptr, TProjectCommand::Open), TUnsavedAnswer::Cancel);
    QVERIFY(*seen);
  }

  // The icon: the preview stretched over 120 x 40 (the aspect ratio not kept); none
  // for a preview or export size under 2 pixels.
  void saveIconStretchesThePreview() {
    const std::string work = program_ + "icon.qznr";
    WriteWork(work);
    TBitmap preview = Solid(400, 100, RGBToPixel(220, 20, 20));
    for (int y = 0; y < 100; ++y)
      for (int x = 200; x < 400; ++x) preview.SetPixel(x, y, RGBToPixel(20, 20, 220));
    test::TProgressLog sink;
    QVERIFY(SaveIcon(work, "Icon", preview, 160, 40, sink));
    TBitmap icon;
    QVERIFY(LoadIconFromIni(work, "Icon", icon));
    QCOMPARE(QSize(icon.Width(), icon.Height()), QSize(IconWidth, IconHeight));
    QVERIFY(PixelRed(icon.Pixel(20, 20)) > 180 && PixelBlue(icon.Pixel(100, 20)) > 180);
    QCOMPARE(TIniFile(work).ReadString("General", "Version", ""), std::string("1.3.5"));
    const std::string tiny = program_ + "tiny.qznr";
    for (auto [pw, ph, dw, dh] : {std::tuple{1, 50, 160, 40}, {50, 1, 160, 40}, {50, 50, 1, 40}, {50, 50, 160, 1}})
      QVERIFY(!SaveIcon(tiny, "Icon", Solid(pw, ph, 0), dw, dh, sink) && !QFile::exists(PathToQt(tiny)));
    QVERIFY(SaveIcon(tiny, "Icon", Solid(2, 2, 0), 2, 2, sink));
  }
};

}  // namespace qz

QTEST_MAIN(qz::DialogsTest)
#include "DialogsTest.moc"
