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

  void aCharacterTheCharsetLacksTakesOneThatHoldsIt() {
    TMessageEdit edit;  // default charset 1: code page 1252
    // a, Cyrillic de, a-umlaut, euro, and a character of no code page of the message
    Type(&edit, QString::fromUtf8("a\u0434\u00e4\u20ac\u4e2d"));
    QCOMPARE(edit.toPlainText(), QString::fromUtf8("a\u0434\u00e4\u20ac"));
    TMessageText back;
    edit.ToMessageText(back);
    QCOMPARE(back.Text(), std::string("a\xE4\xE4\x80"));
    QCOMPARE(back.At(0).Format.Charset, 1);
    QCOMPARE(back.At(1).Format.Charset, 204);  // de: Cyrillic 1251
    QCOMPARE(back.At(2).Format.Charset, 1);    // a-umlaut is not in 1251: Western again
    QCOMPARE(back.At(3).Format.Charset, 1);
    QGuiApplication::clipboard()->setText(QString::fromUtf8("\u4e2d\u0434x"));
    edit.paste();
    edit.ToMessageText(back);
    QCOMPARE(back.Text(), std::string("a\xE4\xE4\x80\xE4x"));
    QCOMPARE(back.At(4).Format.Charset, 204);
    QCOMPARE(back.At(5).Format.Charset, 204);  // typing goes on in the charset it switched to

    // After a Cyrillic character the caret's charset is 204: de stays in it.
    TMessageText cyr;
    cyr.Append(std::string(1, '\xC4'), {"Arial", 18, 204, false, false, false});
    cyr.SetSelection(1, 0);
    edit.FromMessageText(cyr);
    Type(&edit, QString::fromUtf8("\u0434"));
    edit.ToMessageText(back);
    QCOMPARE(back.Text(), std::string("\xC4\xE4"));
    QCOMPARE(back.At(1).Format.Charset, 204);
    QCOMPARE(back.At(1).Format.Name, std::string("Arial"));
  }

  void editingKeysAndTheLimit() {
    TMessageEdit edit;
    edit.show();
    QTest::keyClicks(&edit, "Hello");
    QTest::keyClick(&edit, Qt::Key_Backspace);
    QTest::keyClick(&edit, Qt::Key_Home);
    QTest::keyClick(&edit, Qt::Key_Delete);
    QCOMPARE(edit.toPlainText(), QString("ell"));
    QTest::keyClick(&edit, Qt::Key_Right, Qt::ShiftModifier);
    QTest::keyClick(&edit, Qt::Key_Right, Qt::ShiftModifier);
    TMessageText t;
    edit.ToMessageText(t);
    QCOMPARE(t.SelStart(), 0);
    QCOMPARE(t.SelLength(), 2);
    QTest::keyClicks(&edit, "J");
    QCOMPARE(edit.toPlainText(), QString("Jl"));
    // At the limit a paste adds nothing; over a selection it replaces it.
    QTest::keyClick(&edit, Qt::Key_End);
    QTest::keyClicks(&edit, QString(40, 'x'));
    QCOMPARE(edit.Length(), TMessageText::MaxTyped);
    QGuiApplication::clipboard()->setText("yy");
    QTest::keyClick(&edit, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(edit.Length(), TMessageText::MaxTyped);
    QTest::keyClick(&edit, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(&edit, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(edit.toPlainText(), QString("yy"));
  }

  void mouseSelection() {
    TMessageEdit edit;
    edit.resize(400, 60);
    edit.setPlainText("WWWW");
    edit.show();
    QVERIFY(QTest::qWaitForWindowExposed(&edit));
    QWidget* area = edit.viewport();
    QTest::mouseClick(area, Qt::LeftButton, {}, QPoint(395, 20));
    QCOMPARE(edit.textCursor().position(), 4);
    QTest::mousePress(area, Qt::LeftButton, {}, QPoint(1, 20));
    QMouseEvent drag(QEvent::MouseMove, QPointF(395, 20), area->mapToGlobal(QPointF(395, 20)), Qt::NoButton,
                     Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(area, &drag);
    QTest::mouseRelease(area, Qt::LeftButton, {}, QPoint(395, 20));
    TMessageText t;
    edit.ToMessageText(t);
    QCOMPARE(t.SelStart(), 0);
    QCOMPARE(t.SelLength(), 4);
  }

  void selectionOperationsRestyleOnlyTheSelection() {
    TMessageEdit edit;
    TMessageText t;
    t.Append("ab", {"Times New Roman", 30, 0, false, false, false});
    t.Append("cd", {"Arial", 12, 204, true, false, false});
    edit.FromMessageText(t);
    edit.SetSelection(1, 2);
    QCOMPARE(edit.SelFormat().Name, std::string("Times New Roman"));
    edit.EditAsText([](TMessageText& m) { m.SetSelItalic(true); });
    TMessageText back;
    edit.ToMessageText(back);
    for (int i = 0; i < 4; ++i) QCOMPARE(back.At(i).Format.Italic, i == 1 || i == 2);
    QCOMPARE(back.At(2).Format.Charset, 204);  // every other attribute kept
    QCOMPARE(back.At(2).Format.Size, 12);
    QCOMPARE(back.SelStart(), 1);
    QCOMPARE(back.SelLength(), 2);
    // With nothing selected the operation sets what is typed next at the caret.
    edit.SetSelection(4, 0);
    edit.EditAsText([](TMessageText& m) { m.SetSelSize(40); });
    edit.ToMessageText(back);
    QCOMPARE(back.At(3).Format.Size, 12);
    QCOMPARE(edit.SelFormat().Size, 40);
    QTest::keyClicks(&edit, "e");
    edit.ToMessageText(back);
    QCOMPARE(back.Text(), std::string("abcde"));
    QCOMPARE(back.At(4).Format.Size, 40);
    QCOMPARE(back.At(4).Format.Name, std::string("Arial"));
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
