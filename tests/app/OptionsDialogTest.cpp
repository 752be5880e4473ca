#include <QComboBox>
#include <QDialogButtonBox>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QtTest>

#include "ModalDriver.h"
#include "app/OptionsDialog.h"

namespace qz {

namespace {

QPushButton* Button(TForm3* form, QDialogButtonBox::StandardButton which) {
  return form->findChild<QDialogButtonBox*>()->button(which);
}

TParams Sample() {
  TParams p;
  p.CnX = 512.5f;
  p.CnZ = 0.3f;
  p.GutTop = 11;
  p.GutBottom = 12;
  p.GutLeft = 13;
  p.GutRight = 14;
  p.Distance = 1800;
  p.ShadType = 0;
  p.RDelay = 3;
  p.ViewSize = 65;
  p.ShapeName = "ROUND.qzkh";      // fields the dialog does not show
  p.Light.Color = 0x123456;
  p.Message.TexFile = "wood.jpg";
  return p;
}

void ExpectSameParams(const TParams& a, const TParams& b) {
  QCOMPARE(a.CnX, b.CnX);
  QCOMPARE(a.CnZ, b.CnZ);
  QCOMPARE(a.GutTop, b.GutTop);
  QCOMPARE(a.GutBottom, b.GutBottom);
  QCOMPARE(a.GutLeft, b.GutLeft);
  QCOMPARE(a.GutRight, b.GutRight);
  QCOMPARE(a.Distance, b.Distance);
  QCOMPARE(a.Render.Y, b.Render.Y);
  QCOMPARE(a.ShadType, b.ShadType);
  QCOMPARE(a.RDelay, b.RDelay);
  QCOMPARE(a.ViewSize, b.ViewSize);
  QCOMPARE(a.ShapeName, b.ShapeName);
  QCOMPARE(a.Light.Color, b.Light.Color);
  QCOMPARE(a.Message.TexFile, b.Message.TexFile);
}

}  // namespace

class OptionsDialogTest : public QObject {
  Q_OBJECT

 private slots:
  void makeIntKeepsOnlyDigits() {
    QCOMPARE(TForm3::MakeInt("-5"), std::string("5"));
    QCOMPARE(TForm3::MakeInt("1.5"), std::string("15"));
    QCOMPARE(TForm3::MakeInt(""), std::string(""));
    QCOMPARE(TForm3::MakeInt(" 4 8px"), std::string("48"));
    QCOMPARE(TForm3::MakeInt("abc"), std::string(""));
  }

  void controlsShowTheRecord() {
    TForm3 form;
    QCOMPARE(form.windowTitle(), QString(" Advanced Options"));
    QCOMPARE(form.PageControl1->tabText(0), QString("Rendering"));
    QCOMPARE(form.PageControl1->tabText(1), QString("Margins"));
    form.LoadParams(Sample());
    QCOMPARE(form.edXFactor->text(), QString("512.5"));
    QCOMPARE(form.edYFactor->text(), QString("0.300000011920929"));
    QCOMPARE(form.edTop->text(), QString("11"));
    QCOMPARE(form.edRight->text(), QString("14"));
    QCOMPARE(form.edDistance->text(), QString("1800"));
    QCOMPARE(form.cbShading->currentText(), QString(" Flat"));
    QCOMPARE(form.seDelay->value(), 750);  // RDelay 3 ticks of 250 ms
    QCOMPARE(form.sePreview->value(), 65);
  }

  void spinnersStepAndClip() {
    TForm3 form;
    // No typed entry.
    QVERIFY(form.seDelay->findChild<QLineEdit*>()->isReadOnly());
    QVERIFY(form.sePreview->findChild<QLineEdit*>()->isReadOnly());
    // A delay of 0 ticks (or a huge one) from a file is clipped by the spinner, so the
    // dialog never stores 0.
    TParams p;
    p.RDelay = 0;
    form.LoadParams(p);
    QCOMPARE(form.seDelay->value(), 250);
    p.RDelay = 2000000000;
    form.LoadParams(p);
    QCOMPARE(form.seDelay->value(), 2500);
    form.seDelay->stepDown();
    QCOMPARE(form.seDelay->value(), 2250);
    p.ViewSize = 50;
    form.LoadParams(p);
    form.sePreview->stepUp();
    QCOMPARE(form.sePreview->value(), 55);
    form.sePreview->setValue(5);
    QCOMPARE(form.sePreview->value(), 10);
  }

  void okReadsTheFieldsBack() {
    TForm3 form;
    form.LoadParams(Sample());
    auto seen = WhenModal<TForm3>([](TForm3* f) {
      f->seDelay->setValue(2500);
      f->sePreview->setValue(90);
      f->edDistance->setText("2000");
      f->edTop->setText("-5");
      f->edBottom->setText("1.5");
      f->edXFactor->setText("300");
      f->edYFactor->setText("1,5");  // a comma as decimal separator
      f->cbShading->setCurrentIndex(1);
      Button(f, QDialogButtonBox::Ok)->click();
    });
    QCOMPARE(form.exec(), int(QDialog::Accepted));
    QVERIFY(*seen);
    QCOMPARE(form.Params.RDelay, 10);
    QCOMPARE(form.Params.ViewSize, 90);
    QCOMPARE(form.Params.Distance, 2000);
    QCOMPARE(form.Params.Render.Y, 2000.0f);
    QCOMPARE(form.Params.GutTop, 5);
    QCOMPARE(form.Params.GutBottom, 15);
    QCOMPARE(form.Params.CnX, 300.0f);
    QCOMPARE(form.Params.CnZ, 1.5f);
    QCOMPARE(form.Params.ShadType, 1);
    // What the dialog does not show travels through.
    QCOMPARE(form.Params.ShapeName, std::string("ROUND.qzkh"));
    QCOMPARE(form.Params.Light.Color, 0x123456);
    QCOMPARE(form.Params.Message.TexFile, std::string("wood.jpg"));
  }

  void cancelLeavesTheRecordAlone() {
    TForm3 form;
    const TParams original = Sample();
    form.LoadParams(original);
    auto seen = WhenModal<TForm3>([](TForm3* f) {
      f->edTop->setText("99");
      f->edLeft->setText("77");
      f->seDelay->setValue(2000);
      f->edXFactor->setText("1");
      Button(f, QDialogButtonBox::Cancel)->click();
    });
    QCOMPARE(form.exec(), int(QDialog::Rejected));
    QVERIFY(*seen);
    ExpectSameParams(form.Params, original);
    // The next showing shows the record again, not the abandoned edits.
    form.show();
    QCOMPARE(form.edTop->text(), QString("11"));
    form.hide();
  }

  void aBadNumberKeepsTheDialogOpen() {
    TForm3 form;
    const TParams original = Sample();
    form.LoadParams(original);
    QStringList messages;
    bool stillOpen = false;
    int currentPage = -1;
    auto seen = WhenModal<TForm3>([&](TForm3* f) {
      f->edTop->setText("33");
      f->edYFactor->setText("abc");
      WhenModal<QMessageBox>([&, f](QMessageBox* box) {
        messages << box->text();
        box->accept();
        // Back in the dialog: a margin without any digit.
        QTimer::singleShot(0, f, [&, f] {
          stillOpen = f->isVisible();
          f->edYFactor->setText("2");
          f->PageControl1->setCurrentIndex(0);
          f->edRight->setText("px");
          WhenModal<QMessageBox>([&, f](QMessageBox* box2) {
            messages << box2->text();
            box2->accept();
            QTimer::singleShot(0, f, [&, f] {
              currentPage = f->PageControl1->currentIndex();
              Button(f, QDialogButtonBox::Cancel)->click();
            });
          });
          Button(f, QDialogButtonBox::Ok)->click();
        });
      });
      Button(f, QDialogButtonBox::Ok)->click();
    });
    QCOMPARE(form.exec(), int(QDialog::Rejected));
    QVERIFY(*seen);
    QVERIFY(stillOpen);
    QCOMPARE(messages, (QStringList{"'abc' is not a valid floating point value", "'' is not a valid integer value"}));
    QCOMPARE(currentPage, 1);  // the page of the margin that failed
    ExpectSameParams(form.Params, original);  // nothing was copied, not even the good Top
  }
};

}  // namespace qz

QTEST_MAIN(qz::OptionsDialogTest)
#include "OptionsDialogTest.moc"
