#include <QFileDialog>
#include <QListWidget>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QTemporaryDir>
#include <QToolButton>
#include <QtTest>

#include "ModalDriver.h"
#include "app/IconList.h"
#include "app/QtBridge.h"
#include "app/WelcomeDialog.h"
#include "platform/IniFile.h"
#include "scene/IconRecord.h"

namespace qz {

namespace {

void WriteWork(const std::string& path, const std::string& text = {}) {
  TIniFile ini(path);
  ini.WriteString("General", "Version", "1.3.5");
  if (!text.empty()) ini.WriteString("Message", "Text", text);
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

QStringList Captions(QListWidget* list) {
  QStringList out;
  for (int i = 0; i < list->count(); ++i) out << list->item(i)->text();
  return out;
}

bool Near(QRgb a, QColor b, int tolerance = 24) {
  return std::abs(qRed(a) - b.red()) <= tolerance && std::abs(qGreen(a) - b.green()) <= tolerance &&
         std::abs(qBlue(a) - b.blue()) <= tolerance;
}

}  // namespace

class WelcomeDialogTest : public QObject {
  Q_OBJECT

  QTemporaryDir tmp_;
  std::string program_, works_, templates_;

  void Prepare(TForm4& form) {
    form.ProgramDir = program_;
    form.WorksDir = works_;
    form.TemplatesDir = templates_;
  }

 private slots:
  void initTestCase() {
    QVERIFY(tmp_.isValid());
    program_ = PathFromQt(tmp_.path()) + "/";
    works_ = program_ + "Works/";
    templates_ = program_ + "Templates/";
    QDir().mkpath(PathToQt(works_));
    QDir().mkpath(PathToQt(templates_));
    WriteWork(works_ + "b.qznr");
    WriteWork(works_ + "a.qznr");
    WriteWork(works_ + "Up.QZNR");          // another system's upper-case extension
    WriteWork(works_ + ".hidden.qznr");     // hidden files are not listed
    WriteWork(works_ + "notes.txt");
    QDir().mkpath(PathToQt(works_ + "folder.qznr"));
    WriteWork(templates_ + "t1.qzpl");
  }

  void modeButtonsAndBrowseFolder() {
    TForm4 form;
    Prepare(form);
    QCOMPARE(form.windowTitle(), QString(" Welcome to Quenzar v1.5"));
    QCOMPARE(form.Mode, TForm4::ModeNew);
    QVERIFY(form.SpeedButton1->isChecked());
    QVERIFY(!form.BrowseBtn->isEnabled());
    QCOMPARE(QString(form.SpeedButton1->text() + form.SpeedButton2->text() + form.SpeedButton3->text()),
             QString("ewavedemplate"));
    QCOMPARE(form.SpeedButton1->icon().pixmap(16, 16).size(), QSize(16, 16));

    form.SetMode(TForm4::ModeSaved);
    QCOMPARE(form.Mode, TForm4::ModeSaved);
    QVERIFY(form.SpeedButton2->isChecked() && !form.SpeedButton1->isChecked() && !form.SpeedButton3->isChecked());
    QVERIFY(form.BrowseBtn->isEnabled());
    QCOMPARE(form.ListView1->count(), 3);

    form.SetMode(TForm4::ModeTemplate);
    QVERIFY(form.SpeedButton3->isChecked() && !form.SpeedButton2->isChecked());
    QVERIFY(!form.BrowseBtn->isEnabled());
    QCOMPARE(Captions(form.ListView1), QStringList{"t1.qzpl"});

    form.SetMode(TForm4::ModeNew);
    QCOMPARE(form.ListView1->count(), 0);
    QCOMPARE(form.ListView1->palette().color(QPalette::Base),
             QApplication::palette(form.ListView1).color(QPalette::Button));
  }

  void listWorksShowsTheFolderByName() {
    TForm4 form;
    Prepare(form);
    form.ListWorks(works_ + "*.qznr");
    QCOMPARE(Captions(form.ListView1), (QStringList{"a.qznr", "b.qznr", "Up.QZNR"}));
    QCOMPARE(form.ListView1->palette().color(QPalette::Base),
             QApplication::palette(form.ListView1).color(QPalette::Base));
    QCOMPARE(form.ProgressBar1->value(), 0);
  }

  void listWorksOfAMissingFolder() {
    TForm4 form;
    Prepare(form);
    form.ListWorks(works_ + "*.qznr");
    QString text;
    auto seen = WhenModal<QMessageBox>([&](QMessageBox* box) {
      text = box->text();
      box->accept();
    });
    form.ListWorks(program_ + "Missing/*.qznr");
    QVERIFY(*seen);
    QCOMPARE(text, PathToQt("Directory: \"" + program_ + "Missing/\" does not exist"));
    QCOMPARE(form.ListView1->count(), 0);
    QCOMPARE(form.ListView1->palette().color(QPalette::Base),
             QApplication::palette(form.ListView1).color(QPalette::Button));

    // A mask without a folder part (an empty works folder name).
    seen = WhenModal<QMessageBox>([&](QMessageBox* box) {
      text = box->text();
      box->accept();
    });
    form.ListWorks("*.qznr");
    QVERIFY(*seen);
    QCOMPARE(text, QString("You do not have the saved files"));
  }

  void addWorkItemWithoutIcon() {
    TForm4 form;
    Prepare(form);
    const std::string plain = works_ + "plain.qznr";
    const std::string titled = works_ + "titled.qznr";
    WriteWork(plain);
    WriteWork(titled, "Hello");
    form.AddWorkItem(plain);
    form.AddWorkItem(titled);
    QCOMPARE(form.ListView1->item(0)->text(), QString("plain.qznr"));
    const QImage none = ItemPicture(form.ListView1, 0);
    QCOMPARE(none, PlaceholderIcon("<None>", form.font()));
    // The green frame from (0, 0) to (width - 2, height - 2) over white.
    const QColor green(0, 128, 0);
    QCOMPARE(QColor(none.pixel(0, 0)), green);
    QCOMPARE(QColor(none.pixel(118, 0)), green);
    QCOMPARE(QColor(none.pixel(0, 38)), green);
    QCOMPARE(QColor(none.pixel(118, 38)), green);
    QCOMPARE(QColor(none.pixel(119, 0)), QColor(Qt::white));
    QCOMPARE(QColor(none.pixel(0, 39)), QColor(Qt::white));
    QCOMPARE(QColor(none.pixel(5, 5)), QColor(Qt::white));
    // The text is centred: ink in the middle, the same on both sides of it.
    int inkLeft = IconWidth, inkRight = -1;
    for (int y = 1; y < 38; ++y)
      for (int x = 1; x < 118; ++x)
        if (qGray(none.pixel(x, y)) < 128) inkLeft = std::min(inkLeft, x), inkRight = std::max(inkRight, x);
    QVERIFY(inkRight > inkLeft);
    QVERIFY(std::abs((inkLeft - 1) - (117 - inkRight)) <= 6);
    // A work's own Message Text key replaces "<None>".
    QCOMPARE(ItemPicture(form.ListView1, 1), PlaceholderIcon("Hello", form.font()));
  }

  void addWorkItemWithIcon() {
    TForm4 form;
    Prepare(form);
    const std::string full = works_ + "icon.qznr";
    const std::string small = works_ + "small.qznr";
    WriteWork(full);
    WriteWork(small);
    QVERIFY(SaveIconToIni(full, "Icon", Solid(IconWidth, IconHeight, RGBToPixel(200, 30, 30))));
    // An icon of another size is cut or extended, not scaled.
    QVERIFY(SaveIconToIni(small, "Icon", Solid(60, 20, RGBToPixel(30, 30, 200))));
    std::vector<int> progress;
    connect(form.ProgressBar1, &QProgressBar::valueChanged, this, [&](int v) { progress.push_back(v); });
    form.AddWorkItem(full);
    QVERIFY(!progress.empty());
    QCOMPARE(progress.back(), 100);
    form.AddWorkItem(small);
    const QImage red = ItemPicture(form.ListView1, 0);
    QVERIFY(Near(red.pixel(0, 0), QColor(200, 30, 30)));
    QVERIFY(Near(red.pixel(119, 39), QColor(200, 30, 30)));
    const QImage blue = ItemPicture(form.ListView1, 1);
    QVERIFY(Near(blue.pixel(10, 10), QColor(30, 30, 200)));
    QVERIFY(Near(blue.pixel(59, 19), QColor(30, 30, 200)));
    QCOMPARE(QColor(blue.pixel(90, 10)), QColor(Qt::white));
    QCOMPARE(QColor(blue.pixel(10, 30)), QColor(Qt::white));
    QCOMPARE(form.ListView1->item(1)->text(), QString("small.qznr"));
    QFile::remove(PathToQt(full));
    QFile::remove(PathToQt(small));
  }

  void closingRules_data() {
    QTest::addColumn<int>("mode");
    QTest::addColumn<QString>("select");  // caption to select, or empty
    QTest::addColumn<bool>("ok");
    QTest::addColumn<bool>("accepted");
    QTest::addColumn<QString>("selected");  // relative to the program folder
    QTest::newRow("new, OK") << 1 << "" << true << true << "default.dat";
    QTest::newRow("new, Cancel") << 1 << "" << false << true << "default.dat";
    QTest::newRow("saved, nothing selected") << 2 << "" << true << false << "default.dat";
    QTest::newRow("saved, selected") << 2 << "b.qznr" << true << true << "Works/b.qznr";
    QTest::newRow("saved, selected, Cancel") << 2 << "b.qznr" << false << true << "Works/b.qznr";
    QTest::newRow("template, nothing selected") << 3 << "" << true << false << "default.dat";
    QTest::newRow("template, selected") << 3 << "t1.qzpl" << true << true << "Templates/t1.qzpl";
  }

  void closingRules() {
    QFETCH(int, mode);
    QFETCH(QString, select);
    QFETCH(bool, ok);
    QFETCH(bool, accepted);
    QFETCH(QString, selected);
    TForm4 form;
    Prepare(form);
    form.SelectedFile = "left over";
    form.SetMode(mode);
    auto seen = WhenModal<TForm4>([&](TForm4* f) {
      if (!select.isEmpty()) {
        const auto items = f->ListView1->findItems(select, Qt::MatchExactly);
        QCOMPARE(items.size(), 1);
        items.first()->setSelected(true);
      }
      (ok ? f->OKBtn : f->CancelBtn)->click();
    });
    const int result = form.exec();
    QVERIFY(*seen);
    QCOMPARE(result, ok ? int(QDialog::Accepted) : int(QDialog::Rejected));
    QCOMPARE(form.Accepted, accepted);
    QCOMPARE(PathToQt(form.SelectedFile), PathToQt(program_) + selected);
    QCOMPARE(form.WorksDir, works_);  // the folder of a chosen work is the listed one
  }

  void doubleClickClosesWithOk() {
    TForm4 form;
    Prepare(form);
    form.SetMode(TForm4::ModeSaved);
    auto seen = WhenModal<TForm4>([&](TForm4* f) {
      QListWidgetItem* item = f->ListView1->findItems("a.qznr", Qt::MatchExactly).first();
      item->setSelected(true);
      emit f->ListView1->itemDoubleClicked(item);
    });
    QCOMPARE(form.exec(), int(QDialog::Accepted));
    QVERIFY(*seen);
    QVERIFY(form.Accepted);
    QCOMPARE(form.SelectedFile, works_ + "a.qznr");
  }

  void browseFolderListsTheChosenFolder() {
    const std::string other = program_ + "Other";
    QDir().mkpath(PathToQt(other));
    WriteWork(other + "/elsewhere.qznr");
    TForm4 form;
    Prepare(form);
    form.SetMode(TForm4::ModeSaved);
    QString title, start;
    auto seen = WhenModal<QFileDialog>([&](QFileDialog* d) {
      title = d->windowTitle();
      start = d->directory().absolutePath();
      TypeIntoFileDialog(d, PathToQt(other));
    });
    form.BrowseBtn->click();
    QVERIFY(*seen);
    QCOMPARE(title, QString("Select folder with saved works (*.qznr)"));
    QCOMPARE(start, PathToQt(works_).chopped(1));
    QCOMPARE(PathToQt(form.WorksDir), PathToQt(other + "/"));
    QCOMPARE(Captions(form.ListView1), QStringList{"elsewhere.qznr"});

    // Cancel keeps the folder and the list.
    seen = WhenModal<QFileDialog>([](QFileDialog* d) { d->reject(); });
    form.BrowseBtn->click();
    QVERIFY(*seen);
    QCOMPARE(form.WorksDir, other + "/");
    QCOMPARE(form.ListView1->count(), 1);
  }
};

}  // namespace qz

QTEST_MAIN(qz::WelcomeDialogTest)
#include "WelcomeDialogTest.moc"
