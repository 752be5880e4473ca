#include <QClipboard>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QToolButton>
#include <QtTest>

#include "ModalDriver.h"
#include "app/CharMap.h"
#include "app/CopyRichText.h"
#include "app/MessageEdit.h"
#include "app/TextDialog.h"

namespace qz {

namespace {

const std::vector<std::string> Faces{"DejaVu Sans", "Liberation Mono", "Liberation Sans", "Liberation Serif"};

TMessageText Message(const std::string& text, const TCharFormat& format = {}) {
  TMessageText t;
  t.Append(text, format);
  return t;
}

void Ok(QDialog* d) { d->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->click(); }
void Cancel(QDialog* d) { d->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Cancel)->click(); }

}  // namespace

class TextDialogsTest : public QObject {
  Q_OBJECT

 private slots:
  void copyRichTextMovesEveryCharacterWithItsFont() {
    TCharFormat serif{"Times New Roman", 24, 0, true, false, false};
    TCharFormat cyrillic{"Arial", 12, 204, false, true, true};
    TMessageText source = Message("Go", serif);
    source.Append("\xC6", cyrillic);
    TCharFormat def{"Courier New", 10, 1, false, false, false};
    source.SetDefaultFormat(def);
    source.SetSelection(1, 1);
    QApplication::clipboard()->setText("the user's clipboard");

    TMessageText dest = Message("old text");
    CopyRichText(dest, source);
    QCOMPARE(dest.Chars(), source.Chars());
    QCOMPARE(dest.DefaultFormat(), def);
    QCOMPARE(source.SelStart(), 1);  // the source's selection is left alone
    QCOMPARE(source.SelLength(), 1);
    QCOMPARE(QApplication::clipboard()->text(), QString("the user's clipboard"));

    CopyRichText(dest, TMessageText());
    QCOMPARE(dest.Length(), 0);
    QCOMPARE(dest.DefaultFormat(), TCharFormat());
  }

  void threeSelectedCharactersAreRestyledAndNoOthers() {
    TForm2 form(Faces);
    QCOMPARE(form.windowTitle(), QString(" Advanced Text Settings"));
    form.LoadText(Message("ABCDEF"));
    form.RichEdit1->SetSelection(1, 3);
    form.Edit1->setValue(30);
    emit form.ComboBox1->activated(1);  // "Liberation Mono"
    form.ToolButton1->click();          // Bold
    form.ToolButton2->click();          // Italic
    const TMessageText t = form.TakeText();
    QCOMPARE(t.Text(), std::string("ABCDEF"));
    for (int i = 0; i < t.Length(); ++i) {
      const TCharFormat& f = t.At(i).Format;
      const bool restyled = i >= 1 && i <= 3;
      QCOMPARE(f.Size, restyled ? 30 : 18);
      QCOMPARE(f.Name, std::string(restyled ? "Liberation Mono" : "Arial"));
      QCOMPARE(f.Bold, restyled);
      QCOMPARE(f.Italic, restyled);
    }
    // Un-pressing Bold takes it away from the same three.
    form.ToolButton1->click();
    QVERIFY(!form.TakeText().At(2).Format.Bold);
    QVERIFY(form.TakeText().At(2).Format.Italic);
  }

  void theToolBarFollowsTheSelectionWithoutWritingBack() {
    TForm2 form(Faces);
    TMessageText text = Message("ab", TCharFormat{"Liberation Serif", 40, 1, true, false, false});
    text.Append("cd", TCharFormat{"Arial", 12, 1, false, true, false});
    form.LoadText(text);
    form.RichEdit1->SetSelection(0, 1);
    QCOMPARE(form.Edit1->value(), 40);
    QVERIFY(form.ToolButton1->isChecked());
    QVERIFY(!form.ToolButton2->isChecked());
    QCOMPARE(form.ComboBox1->currentText(), QString("Liberation Serif"));
    QCOMPARE(form.ComboBox1->currentIndex(), 3);
    form.RichEdit1->SetSelection(3, 1);
    QCOMPARE(form.Edit1->value(), 12);
    QVERIFY(!form.ToolButton1->isChecked());
    QVERIFY(form.ToolButton2->isChecked());
    QCOMPARE(form.ComboBox1->currentText(), QString("Arial"));  // a name the list lacks
    QVERIFY(!form.Updating);
    QCOMPARE(form.TakeText().Chars(), text.Chars());  // setting the tool bar changed nothing

    // A typed name applies once it names a listed face; other text changes nothing.
    form.show();
    form.RichEdit1->SetSelection(0, 4);
    form.ComboBox1->setEditText("no such face");
    QTest::keyClick(form.ComboBox1->lineEdit(), Qt::Key_Return);
    QCOMPARE(form.TakeText().At(0).Format.Name, std::string("Liberation Serif"));
    QVERIFY(form.isVisible());  // Enter did not reach the default button
    form.ComboBox1->setEditText("liberation mono");
    QTest::keyClick(form.ComboBox1->lineEdit(), Qt::Key_Return);
    for (int i = 0; i < 4; ++i) QCOMPARE(form.TakeText().At(i).Format.Name, std::string("Liberation Mono"));
    // Enter in the size box applies the size and stays in the dialog.
    form.Edit1->findChild<QLineEdit*>()->setText("22");
    QTest::keyClick(form.Edit1, Qt::Key_Return);
    QVERIFY(form.isVisible());
    for (int i = 0; i < 4; ++i) QCOMPARE(form.TakeText().At(i).Format.Size, 22);
    form.hide();
  }

  void characterMapGrid() {
    TCharMap map(Faces);
    QCOMPARE(map.windowTitle(), QString("Character Map"));
    QCOMPARE(map.StringGrid1->rowCount(), 7);
    QCOMPARE(map.StringGrid1->columnCount(), 32);
    QCOMPARE(map.FontName(), std::string("DejaVu Sans"));
    QCOMPARE(map.SelectedChar, std::string(" "));  // column 0, row 0 at first
    QCOMPARE(map.StringGrid1->item(0, 0)->text(), QString(" "));
    QCOMPARE(map.StringGrid1->item(1, 1)->text(), QString("A"));
    QCOMPARE(TCharMap::CellCode(31, 6), 255);
    QCOMPARE(map.StringGrid1->item(6, 31)->text(), QString::fromUtf8("ÿ"));
    map.StringGrid1->setCurrentCell(6, 31);
    QCOMPARE(map.SelectedChar, std::string("\xFF"));
    QCOMPARE(map.Panel1->text(), QString::fromUtf8(" ÿ "));
    // The grid draws through its charset's code page; a font change resets it.
    map.SetCharset(204);
    QCOMPARE(map.StringGrid1->item(6, 31)->text(), QString::fromUtf8("я"));
    QCOMPARE(map.Panel1->text(), QString::fromUtf8(" я "));
    map.ComboBox1->setCurrentIndex(2);
    QCOMPARE(map.Charset(), 1);
    QCOMPARE(map.FontName(), std::string("Liberation Sans"));
    QCOMPARE(map.StringGrid1->item(6, 31)->text(), QString::fromUtf8("ÿ"));
    QCOMPARE(map.StringGrid1->item(6, 31)->font().family(), QString("Liberation Sans"));
    // Double-click closes with OK.
    auto seen = WhenModal<TCharMap>([](TCharMap* m) {
      QWidget* cells = m->StringGrid1->viewport();
      const QPoint at = m->StringGrid1->visualItemRect(m->StringGrid1->item(2, 3)).center();
      QTest::mouseClick(cells, Qt::LeftButton, {}, at);
      QTest::mouseDClick(cells, Qt::LeftButton, {}, at);
    });
    QCOMPARE(map.exec(), int(QDialog::Accepted));
    QVERIFY(*seen);
    QCOMPARE(map.SelectedChar, std::string(1, char(32 + 64 + 3)));
  }

  void symbolInsertsTheLastCell() {
    TForm2 form(Faces);
    form.LoadText(Message("ab"));
    form.RichEdit1->SetSelection(1, 0);
    auto seen = WhenModal<TCharMap>([](TCharMap* m) {
      m->ComboBox1->setCurrentIndex(3);  // "Liberation Serif"
      m->StringGrid1->setCurrentCell(6, 31);
      Ok(m);
    });
    form.ToolButton3->click();
    QVERIFY(*seen);
    const TMessageText t = form.TakeText();
    QCOMPARE(t.Text(), std::string("a\xFF" "b"));
    QCOMPARE(t.At(1).Format.Name, std::string("Liberation Serif"));
    QCOMPARE(t.At(1).Format.Size, 18);
    QCOMPARE(t.At(0).Format, TCharFormat());
    QCOMPARE(t.At(2).Format, TCharFormat());
  }

  void symbolThenCancelChangesNothing() {
    TForm2 form(Faces);
    form.LoadText(Message("abc"));
    form.show();
    QVERIFY(QTest::qWaitForWindowActive(&form));
    form.ToolButton3->setFocus();
    auto seen = WhenModal<TCharMap>([](TCharMap* m) {
      m->StringGrid1->setCurrentCell(3, 3);
      Cancel(m);
    });
    form.ToolButton3->click();
    QVERIFY(*seen);
    QCOMPARE(form.TakeText().Chars(), Message("abc").Chars());
    QCOMPARE(form.focusWidget(), static_cast<QWidget*>(form.RichEdit1));
    form.hide();
  }

  void symbolRespectsTheLimit() {
    TForm2 form(Faces);
    form.LoadText(Message(std::string(32, 'z')));
    auto seen = WhenModal<TCharMap>([](TCharMap* m) { Ok(m); });
    form.ToolButton3->click();
    QVERIFY(*seen);
    QCOMPARE(form.TakeText().Text(), std::string(32, 'z'));
  }

  void withoutTrueTypeFacesTheDialogsStillOpen() {
    TForm2 form(std::vector<std::string>{});
    QVERIFY(!form.ComboBox1->isEnabled());
    QVERIFY(form.ComboBox1->lineEdit()->placeholderText().contains("No TrueType font"));
    QVERIFY(form.CharMap->NoFontLabel->isVisibleTo(form.CharMap));
    QCOMPARE(form.CharMap->FontName(), std::string("Arial"));
    form.LoadText(Message("a"));
    auto seen = WhenModal<TForm2>([](TForm2* f) {
      auto map = WhenModal<TCharMap>([](TCharMap* m) {
        m->StringGrid1->setCurrentCell(1, 1);  // "A"
        Ok(m);
      });
      f->ToolButton3->click();
      Ok(f);
    });
    QCOMPARE(form.exec(), int(QDialog::Accepted));
    QVERIFY(*seen);
    QCOMPARE(form.TakeText().Text(), std::string("aA"));
    QCOMPARE(form.TakeText().At(1).Format.Name, std::string("Arial"));
  }
};

}  // namespace qz

QTEST_MAIN(qz::TextDialogsTest)
#include "TextDialogsTest.moc"
