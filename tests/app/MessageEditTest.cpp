// The message box: what it accepts (typed and pasted), and the conversions of its
// per-character formats to and from the message text the build reads.
#include <QApplication>
#include <QClipboard>
#include <QtTest>

#include "app/MessageEdit.h"

namespace qz {

namespace {

TMessageText Mixed() {
  TMessageText t;
  t.Append("Go", {"Times New Roman", 24, 0, true, false, false});
  t.Append(std::string(1, '\xC4'), {"Arial", 12, 204, false, true, true});  // Cyrillic capital De
  t.Append(" ", {"Arial", 18, 1, false, false, false});
  t.Append("A", {"Symbol", 30, 2, false, false, false});                   // a symbol code
  t.Append(std::string(1, '\xE9'), {"Courier New", 9, 0, true, true, false});  // e acute
  t.SetDefaultFormat({"Courier New", 20, 1, false, true, false});
  t.SetSelection(1, 2);
  return t;
}

void Type(QWidget* w, const QString& text) {
  for (QChar c : text) {
    QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
    QApplication::sendEvent(w, &press);
  }
}

}  // namespace

class MessageEditTest : public QObject {
  Q_OBJECT

 private slots:
  void typingStopsAt32Characters() {
    TMessageEdit edit;
    QTest::keyClicks(&edit, QString(40, 'x'));
    QCOMPARE(edit.Length(), 32);
    // Over a selection, typing replaces it and so still fits.
    QTextCursor c = edit.textCursor();
    c.setPosition(0);
    c.setPosition(3, QTextCursor::KeepAnchor);
    edit.setTextCursor(c);
    QTest::keyClicks(&edit, "ab");
    QCOMPARE(edit.toPlainText(), "ab" + QString(29, 'x'));
    // Deleting and moving still work at the limit.
    QTest::keyClick(&edit, Qt::Key_Backspace);
    QCOMPARE(edit.Length(), 30);
  }

  void enterAndTabAreNotTyped() {
    TMessageEdit edit;
    QTest::keyClicks(&edit, "ab");
    QTest::keyClick(&edit, Qt::Key_Return);
    QTest::keyClick(&edit, Qt::Key_Enter);
    QTest::keyClick(&edit, Qt::Key_Tab);
    QTest::keyClicks(&edit, "c");
    QCOMPARE(edit.toPlainText(), QString("abc"));
    QCOMPARE(edit.document()->blockCount(), 1);
  }

  void pasteIsCleanedAndCut() {
    TMessageEdit edit;
    QGuiApplication::clipboard()->setText("one\ntwo\tthree\r\n");
    edit.paste();
    QCOMPARE(edit.toPlainText(), QString("onetwothree"));
    QGuiApplication::clipboard()->setText(QString(40, 'y'));
    edit.paste();
    QCOMPARE(edit.Length(), 32);
    QCOMPARE(edit.toPlainText(), "onetwothree" + QString(21, 'y'));
    // A selection that the paste replaces makes room for it.
    QTextCursor c = edit.textCursor();
    c.setPosition(0);
    c.setPosition(5, QTextCursor::KeepAnchor);
    edit.setTextCursor(c);
    QGuiApplication::clipboard()->setText("0123456789");
    edit.paste();
    QCOMPARE(edit.toPlainText(), "01234" + QString("othree") + QString(21, 'y'));
  }

  void charactersOutsideTheCharsetAreRefused() {
    TMessageEdit edit;  // default charset 1: code page 1252
    Type(&edit, QString::fromUtf8("a\u0434\u00e4\u20ac"));  // a, Cyrillic de, a-umlaut, euro
    QCOMPARE(edit.toPlainText(), QString::fromUtf8("a\u00e4\u20ac"));
    QGuiApplication::clipboard()->setText(QString::fromUtf8("\u0434x"));
    edit.paste();
    QCOMPARE(edit.toPlainText(), QString::fromUtf8("a\u00e4\u20acx"));

    // After a Cyrillic character the caret's charset is 204: de is accepted there.
    TMessageText cyr;
    cyr.Append(std::string(1, '\xC4'), {"Arial", 18, 204, false, false, false});
    cyr.SetSelection(1, 0);
    edit.FromMessageText(cyr);
    Type(&edit, QString::fromUtf8("\u0434\u00e4"));  // a-umlaut is not in 1251
    TMessageText back;
    edit.ToMessageText(back);
    QCOMPARE(back.Text(), std::string("\xC4\xE4"));
    QCOMPARE(back.At(1).Format.Charset, 204);
  }

  void formatsRoundTrip() {
    const TMessageText original = Mixed();
    TMessageEdit edit;
    edit.FromMessageText(original);
    QCOMPARE(edit.Length(), 6);
    QCOMPARE(edit.toPlainText().at(2), QChar(0x0414));  // shown through code page 1251
    TMessageText back;
    edit.ToMessageText(back);
    QVERIFY(back.Chars() == original.Chars());
    QVERIFY(back.DefaultFormat() == original.DefaultFormat());
    QCOMPARE(back.SelStart(), 1);
    QCOMPARE(back.SelLength(), 2);
  }

  void typedTextTakesTheDefaultFormat() {
    TMessageEdit edit;
    const TCharFormat def{"Courier New", 20, 0, true, false, true};
    edit.SetDefaultFormat(def);
    QTest::keyClicks(&edit, "Hi");
    // Qt leaves such a format unset (no family, size 0): it reads as the default.
    TMessageText back;
    edit.ToMessageText(back);
    QCOMPARE(back.Length(), 2);
    QVERIFY(back.At(0).Format == def);
    QVERIFY(back.At(1).Format == def);
    QCOMPARE(edit.FromQtFormat(QTextCharFormat()).Name, std::string("Courier New"));
    QCOMPARE(edit.FromQtFormat(QTextCharFormat()).Size, 20);
  }

  void typingAfterAFormattedCharacterTakesItsFormat() {
    TMessageEdit edit;
    TMessageText t;
    t.Append("A", {"Times New Roman", 30, 0, false, true, false});
    t.SetSelection(1, 0);
    edit.FromMessageText(t);
    QTest::keyClicks(&edit, "b");
    TMessageText back;
    edit.ToMessageText(back);
    QCOMPARE(back.Text(), std::string("Ab"));
    QVERIFY(back.At(1).Format == back.At(0).Format);
  }
};

}  // namespace qz

QTEST_MAIN(qz::MessageEditTest)
#include "MessageEditTest.moc"
