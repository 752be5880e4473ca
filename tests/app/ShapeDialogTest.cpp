#include <QCheckBox>
#include <QDir>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

#include "ModalDriver.h"
#include "app/IconList.h"
#include "app/QtBridge.h"
#include "app/ShapeDialog.h"
#include "geometry/ButShape.h"
#include "platform/JpegWriter.h"

namespace qz {

namespace {

TButShape Square() {
  TButShape s;
  s.PointCount = 4;
  s.Points[1] = {1, -10, -10};
  s.Points[2] = {1, 10, -10};
  s.Points[3] = {1, 10, 10};
  s.Points[4] = {1, -10, 10};
  s.Frame = {-10, 10, 10, -10};
  return s;
}

void WriteBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
  QFile f(PathToQt(path));
  QVERIFY(f.open(QIODevice::WriteOnly));
  f.write(reinterpret_cast<const char*>(bytes.data()), static_cast<qint64>(bytes.size()));
}

QStringList Captions(QListWidget* list) {
  QStringList out;
  for (int i = 0; i < list->count(); ++i) out << list->item(i)->text();
  return out;
}

}  // namespace

class ShapeDialogTest : public QObject {
  Q_OBJECT

  QTemporaryDir tmp_;
  std::string program_, shapes_;

  void ShowAndClose(TOpenShForm& form, const std::function<void(TOpenShForm*)>& action) {
    auto seen = WhenModal<TOpenShForm>(action);
    form.exec();
    QVERIFY(*seen);
  }

 private slots:
  void initTestCase() {
    QVERIFY(tmp_.isValid());
    program_ = PathFromQt(tmp_.path()) + "/";
    shapes_ = program_ + "BShapes/";
    QDir().mkpath(PathToQt(shapes_));
    TBitmap picture(120, 40);
    picture.Fill(RGBToPixel(200, 40, 40));
    Square().SaveToFile(shapes_ + "round.qzkh", EncodeJpeg(picture, 90));
    Square().SaveToFile(shapes_ + "my.round.qzkh");                 // no picture
    Square().SaveToFile(shapes_ + "Zigzag.QZKH", EncodeJpeg(picture, 90));
    WriteBytes(shapes_ + "short.qzkh", {0x00, 0x00, 0x10, 0x00, 1, 2, 3});  // shorter than a header
    // The signature and an offset, but no picture there.
    std::vector<uint8_t> broken(60, 0);
    broken[2] = 0x10;
    broken[40] = 48;
    WriteBytes(shapes_ + "broken.qzkh", broken);
    WriteBytes(shapes_ + "notes.txt", {1});
  }

  void captionsAndPictures() {
    QCOMPARE(TOpenShForm::ShapeCaption("/x/round.qzkh"), QString("ROUND"));
    QCOMPARE(TOpenShForm::ShapeCaption("/x/my.round.qzkh"), QString("MY.ROUND"));
    TOpenShForm form;
    QCOMPARE(form.windowTitle(), QString(" Open 3D Button Shape"));
    form.ProgramDir = program_;
    ShowAndClose(form, [](TOpenShForm* f) {
      QCOMPARE(Captions(f->ListView1), (QStringList{"BROKEN", "MY.ROUND", "ROUND", "SHORT", "ZIGZAG"}));
      const QImage none = PlaceholderIcon("No Icon", f->font());
      for (int i = 0; i < f->ListView1->count(); ++i) {
        const QImage shown = f->ListView1->item(i)->icon().pixmap(120, 40).toImage().convertToFormat(QImage::Format_RGB32);
        const bool hasPicture = f->ListView1->item(i)->text() == "ROUND" || f->ListView1->item(i)->text() == "ZIGZAG";
        QCOMPARE(shown == none, !hasPicture);
        if (hasPicture) QVERIFY(shown.pixelColor(60, 20).red() > 160);
      }
      f->reject();
    });
    QCOMPARE(form.ShapesDir, shapes_);
  }

  void choosingAShape() {
    TOpenShForm form;
    form.ProgramDir = program_;
    ShowAndClose(form, [](TOpenShForm* f) {
      f->ListView1->findItems("MY.ROUND", Qt::MatchExactly).first()->setSelected(true);
      f->OKBtn->click();
    });
    QVERIFY(form.Accepted);
    QCOMPARE(form.SelectedFile, shapes_ + "my.round.qzkh");  // the listed file itself

    // The upper-case caption of a file with a lower-case name is the file.
    ShowAndClose(form, [](TOpenShForm* f) {
      QListWidgetItem* item = f->ListView1->findItems("ROUND", Qt::MatchExactly).first();
      item->setSelected(true);
      emit f->ListView1->itemDoubleClicked(item);  // closes with OK
    });
    QCOMPARE(form.result(), int(QDialog::Accepted));
    QCOMPARE(form.SelectedFile, shapes_ + "round.qzkh");
    TButShape loaded;
    QVERIFY(loaded.LoadFromFile(form.SelectedFile));

    // OK with nothing selected: not accepted, the last choice kept.
    ShowAndClose(form, [](TOpenShForm* f) {
      f->ListView1->clearSelection();
      f->OKBtn->click();
    });
    QCOMPARE(form.result(), int(QDialog::Accepted));
    QVERIFY(!form.Accepted);
    QCOMPARE(form.SelectedFile, shapes_ + "round.qzkh");
  }

  void sortedAndFileSystemOrder() {
    QDir dir(PathToQt(shapes_));
    QStringList fsOrder;
    for (const QString& name : dir.entryList({"*.qzkh"}, QDir::Files, QDir::Unsorted))
      fsOrder << TOpenShForm::ShapeCaption(PathFromQt(name));
    QStringList sorted = fsOrder;
    sorted.sort();
    TOpenShForm form;
    form.ProgramDir = program_;
    QStringList unticked, ticked;
    ShowAndClose(form, [&](TOpenShForm* f) {
      f->CheckBox1->click();
      unticked = Captions(f->ListView1);
      f->CheckBox1->click();
      ticked = Captions(f->ListView1);
      f->reject();
    });
    QCOMPARE(unticked, fsOrder);
    QCOMPARE(ticked, sorted);
    QVERIFY(form.CheckBox1->isChecked());
  }

  void aMissingFolder() {
    QTemporaryDir empty;
    TOpenShForm form;
    form.ProgramDir = PathFromQt(empty.path()) + "/";
    form.SelectedFile = "before";
    QString text;
    auto box = WhenModal<QMessageBox>([&](QMessageBox* b) {
      text = b->text();
      b->accept();
    });
    ShowAndClose(form, [](TOpenShForm* f) {
      QCOMPARE(f->ListView1->count(), 0);
      f->OKBtn->click();
    });
    QVERIFY(*box);
    QCOMPARE(text, PathToQt("Directory: \"" + form.ProgramDir + "BShapes/\" does not exist"));
    QVERIFY(!form.Accepted);
    QCOMPARE(form.SelectedFile, std::string("before"));
  }

  void loadShapeIconRefusesWhatIsNotAPicture() {
    TBitmap b;
    QVERIFY(TOpenShForm::LoadShapeIcon(shapes_ + "round.qzkh", b));
    QCOMPARE(b.Width(), 120);
    b = TBitmap();
    QVERIFY(!TOpenShForm::LoadShapeIcon(shapes_ + "my.round.qzkh", b));
    QVERIFY(!TOpenShForm::LoadShapeIcon(shapes_ + "short.qzkh", b));
    QVERIFY(!TOpenShForm::LoadShapeIcon(shapes_ + "broken.qzkh", b));
    QVERIFY(!TOpenShForm::LoadShapeIcon(shapes_ + "absent.qzkh", b));
    QVERIFY(b.Empty());
  }
};

}  // namespace qz

QTEST_MAIN(qz::ShapeDialogTest)
#include "ShapeDialogTest.moc"
