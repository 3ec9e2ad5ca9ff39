// The edit boxes with a CP932 byte limit and the up/down spinner, on their own.

#include <QApplication>
#include <QClipboard>
#include <QDropEvent>
#include <QInputMethodEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QTest>

#include "ui/ByteLimitedEdit.h"
#include "ui/ByteLimitedMemo.h"
#include "ui/Prompts.h"
#include "ui/UpDown.h"
#include "ui/support/EditorFixture.h"

using k4r::ByteString;
using k4r::testing::Sjis;
using k4r::ui::Prompts;

namespace {

void Commit(QWidget* target, const QString& text) {
  QInputMethodEvent event;
  event.setCommitString(text);
  QCoreApplication::sendEvent(target, &event);
}

void Paste(QWidget* target, const QString& text) {
  QApplication::clipboard()->setText(text);
  QTest::keyClick(target, Qt::Key_V, Qt::ControlModifier);
}

// Typing any character, as a keyboard with an input method off would.
void TypeText(QWidget* target, const QString& text) {
  for (const QChar character : text) {
    QTest::sendKeyEvent(QTest::Click, target, Qt::Key_A, QString(character), Qt::NoModifier);
  }
}

// Typing whole characters, surrogate pairs included, as an input method
// that sends key events does.
void TypeCharacters(QWidget* target, const QString& text) {
  for (const char32_t code : text.toUcs4()) {
    QTest::sendKeyEvent(QTest::Click, target, Qt::Key_unknown, QString::fromUcs4(&code, 1), Qt::NoModifier);
  }
}

void Drop(QWidget* target, const QString& text) {
  QMimeData mime;
  mime.setText(text);
  const QPointF at(2, 2);
  QDragEnterEvent enter(at.toPoint(), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
  QCoreApplication::sendEvent(target, &enter);
  QDropEvent drop(at, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
  QCoreApplication::sendEvent(target, &drop);
}

QString Emoji() {
  return QString::fromUtf8("\xF0\x9F\x98\x80");
}

}  // namespace

class EditWidgetsTest : public QObject {
  Q_OBJECT

 private slots:
  // Typing, pasting and input-method commits all stop at 8 bytes; a
  // two-byte character that does not fit whole is not taken. What is left
  // out is named in a tool tip with the beep (the last one, when each typed
  // key is cut on its own).
  void nameBoxHoldsEightBytes_data() {
    QTest::addColumn<QString>("before");
    QTest::addColumn<QString>("how");
    QTest::addColumn<QString>("added");
    QTest::addColumn<QString>("after");
    QTest::addColumn<QString>("leftOut");  // empty: nothing was cut
    const auto row = [](const char* name, const QString& before, const char* how, const QString& added,
                        const QString& after, const QString& leftOut) {
      QTest::newRow(name) << before << QString::fromLatin1(how) << added << after << leftOut;
    };
    row("typed kana", "", "type", "あいうえお", "あいうえ", "お");
    row("typed ascii", "", "type", "abcdefghij", "abcdefgh", "j");
    row("typed half", "abcdefg", "type", "あ", "abcdefg", "あ");
    row("half-width kana count 1", "", "type", "ｱｲｳｴｵｶｷｸｹ", "ｱｲｳｴｵｶｷｸ", "ｹ");
    row("pasted", "", "paste", "あいうえおかきく", "あいうえ", "お か き く");
    row("pasted after text", "ab", "paste", "あいうえお", "abあいう", "え お");
    row("pasted emoji", "ab", "paste", "c" + Emoji(), "abc", "");
    row("pasted wave dash", "abcdef", "paste", "\u301C\u301C", "abcdef\u301C", "\u301C");
    row("committed", "あい", "commit", "かきくけこ", "あいかき", "く け こ");
    row("committed ten bytes", "", "commit", "日本国憲法", "日本国憲", "法");
    row("committed emoji", "", "commit", Emoji(), "", "");
    row("fits exactly", "", "commit", "日本国憲", "日本国憲", "");
  }
  void nameBoxHoldsEightBytes() {
    QFETCH(QString, before);
    QFETCH(QString, how);
    QFETCH(QString, added);
    QFETCH(QString, after);
    QFETCH(QString, leftOut);
    ByteLimitedEdit edit;
    edit.setByteLimit(8);
    edit.SetBytes(Sjis(before));
    edit.show();
    edit.setFocus();
    edit.end(false);
    Prompts::StartRecording();
    if (how == "type") {
      TypeText(&edit, added);
    } else if (how == "paste") {
      Paste(&edit, added);
    } else {
      Commit(&edit, added);
    }
    const QStringList cuts = Prompts::Shown().filter(QStringLiteral("バイトを超える"));
    Prompts::StopRecording();
    QCOMPARE(edit.text(), after);
    if (leftOut.isEmpty()) {
      QCOMPARE(cuts, QStringList());
    } else {
      QVERIFY(!cuts.isEmpty());
      QCOMPARE(cuts.last(), QStringLiteral("tooltip|8 バイトを超える分は入力できません: ") + leftOut);
    }
  }

  // A character the file cannot store never shows in either box, however it
  // comes: the beep and a tool tip at the box name it, and the rest of the
  // same insertion goes in.
  void refusedCharactersAreNamedAndTheRestKept_data() {
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("how");
    QTest::addColumn<QString>("added");
    QTest::addColumn<QString>("after");
    QTest::addColumn<QString>("named");  // empty: no refusal
    for (const QString& box : {QStringLiteral("edit"), QStringLiteral("memo")}) {
      const QByteArray row = box.toLatin1() + ": ";
      QTest::newRow(row + "typed emoji") << box << "type" << Emoji() << "" << Emoji();
      QTest::newRow(row + "pasted") << box << "paste"
                                    << "X" + Emoji() + "Y"
                                    << "XY" << Emoji();
      QTest::newRow(row + "committed") << box << "commit"
                                       << "あ" + Emoji() + "い" + Emoji() << "あい" << Emoji();
      QTest::newRow(row + "dropped") << box << "drop"
                                     << "\u00E9" + Emoji() + "\u00E9"
                                     << ""
                                     << "\u00E9 " + Emoji();
      QTest::newRow(row + "invisible named by code") << box << "paste"
                                                     << "a\u200Bb"
                                                     << "ab"
                                                     << "U+200B";
      QTest::newRow(row + "wave dash kept") << box << "paste"
                                            << "X\u301CY"
                                            << "X\u301CY"
                                            << "";
    }
  }
  void refusedCharactersAreNamedAndTheRestKept() {
    QFETCH(QString, box);
    QFETCH(QString, how);
    QFETCH(QString, added);
    QFETCH(QString, after);
    QFETCH(QString, named);
    ByteLimitedEdit edit;
    ByteLimitedMemo memo;
    QWidget* target = box == "edit" ? static_cast<QWidget*>(&edit) : &memo;
    target->show();
    target->setFocus();
    Prompts::StartRecording();
    if (how == "type") {
      TypeCharacters(target, added);
    } else if (how == "paste") {
      Paste(target, added);
    } else if (how == "commit") {
      Commit(target, added);
    } else {
      Drop(box == "edit" ? target : memo.viewport(), added);
    }
    const QStringList shown = Prompts::Shown();
    Prompts::StopRecording();
    QCOMPARE(box == "edit" ? edit.text() : memo.toPlainText(), after);
    if (named.isEmpty()) {
      QCOMPARE(shown, QStringList());
      return;
    }
    const QString tip = QStringLiteral("保存できない文字は入力できません: ") + named;
    QCOMPARE(shown, (QStringList{"beep", "tooltip|" + tip}));
    auto* shownTip = target->findChild<QLabel*>("inputToolTip");
    QVERIFY(shownTip != nullptr && shownTip->isVisible());
    QCOMPARE(shownTip->text(), tip);
    QCOMPARE(shownTip->accessibleName(), tip);  // what the alert announces
    QCOMPARE(target->accessibleDescription(), tip);
    shownTip->hide();
    QCOMPARE(target->accessibleDescription(), QString());
  }

  // Replacing a selection makes room first.
  void typingOverASelection() {
    ByteLimitedEdit edit;
    edit.setByteLimit(8);
    edit.SetBytes(Sjis(QStringLiteral("あいうえ")));
    edit.setSelection(1, 2);
    TypeText(&edit, QStringLiteral("かきく"));
    QCOMPARE(edit.text(), QStringLiteral("あかきえ"));
  }

  // CP932 has two codes for some characters and files may hold invalid
  // bytes: while unedited, the box gives back exactly the bytes it was given.
  void uneditedTextKeepsItsBytes_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("NEC and IBM duplicates") << QByteArray("\xED\x40\xFA\x5C");
    QTest::newRow("invalid trail byte") << QByteArray("A\x81\x20Z");
    QTest::newRow("cut lead byte") << QByteArray("AB\x82");
  }
  void uneditedTextKeepsItsBytes() {
    QFETCH(QByteArray, bytes);
    ByteLimitedEdit edit;
    edit.setByteLimit(16);
    const ByteString original(bytes.constData(), static_cast<std::size_t>(bytes.size()));
    edit.SetBytes(original);
    QCOMPARE(edit.Bytes(), original);
    // After an edit the text is encoded anew; taking the edit back restores the bytes.
    edit.end(false);
    QTest::keyClicks(&edit, "x");
    QVERIFY(edit.Bytes() != original);
    QTest::keyClick(&edit, Qt::Key_Backspace);
    QCOMPARE(edit.Bytes(), original);
  }

  // A stand-in for bytes that are not CP932 takes no room once the text is
  // edited: it is left out of what is saved, never written as "?".
  void editedTextDropsInvalidBytes() {
    ByteLimitedEdit edit;
    edit.setByteLimit(8);
    edit.SetBytes(
        ByteString("\x81\x20"
                   "ABCDE",
                   7));
    edit.end(false);
    TypeText(&edit, QStringLiteral("xyz"));
    QCOMPARE(edit.Bytes(), ByteString(" ABCDExy"));
  }

  void editedTextIsEncoded() {
    ByteLimitedEdit edit;
    edit.setByteLimit(8);
    edit.SetBytes(Sjis(QStringLiteral("山")));
    edit.end(false);
    TypeText(&edit, QStringLiteral("田"));
    QCOMPARE(edit.Bytes(), Sjis(QStringLiteral("山田")));
  }

  void memoShowsEveryLineBreakAndGivesBackCrLf() {
    ByteLimitedMemo memo;
    const ByteString original = "A\rB\nC\r\nD";
    memo.SetBytes(original);
    QCOMPARE(memo.toPlainText(), QStringLiteral("A\nB\nC\nD"));
    QCOMPARE(memo.Bytes(), original);  // unedited: the bytes as read
    memo.moveCursor(QTextCursor::End);
    QTest::keyClicks(&memo, "E");
    QCOMPARE(memo.Bytes(), ByteString("A\r\nB\r\nC\r\nDE"));
    QTest::keyClick(&memo, Qt::Key_Return);
    QCOMPARE(memo.Bytes(), ByteString("A\r\nB\r\nC\r\nDE\r\n"));
  }

  // 146 bytes with each line break as 2.
  void memoLimitCountsLineBreaksAsTwo() {
    ByteLimitedMemo memo;
    memo.SetBytes(ByteString(145, 'a'));
    memo.moveCursor(QTextCursor::End);
    QTest::keyClick(&memo, Qt::Key_Return);
    QCOMPARE(memo.ByteSize(), std::size_t{145});
    QTest::keyClicks(&memo, "b");
    QCOMPARE(memo.ByteSize(), std::size_t{146});
    QTest::keyClicks(&memo, "c");
    QCOMPARE(memo.Bytes(), ByteString(145, 'a') + "b");
    QTest::keyClick(&memo, Qt::Key_Backspace);
    QTest::keyClick(&memo, Qt::Key_Backspace);
    QTest::keyClick(&memo, Qt::Key_Return);
    QCOMPARE(memo.Bytes(), ByteString(144, 'a') + "\r\n");
  }

  void memoPasteAndCommitKeepWhatFits() {
    ByteLimitedMemo memo;
    memo.SetBytes(ByteString(140, 'a'));
    memo.moveCursor(QTextCursor::End);
    Prompts::StartRecording();
    Paste(&memo, QStringLiteral("x\ny\nz"));
    const QStringList shown = Prompts::Shown();
    Prompts::StopRecording();
    QCOMPARE(memo.Bytes(), ByteString(140, 'a') + "x\r\ny\r\n");
    QCOMPARE(shown, (QStringList{"beep", "tooltip|146 バイトを超える分は入力できません: z"}));
    Paste(&memo, QStringLiteral("q"));
    QCOMPARE(memo.ByteSize(), std::size_t{146});
    memo.selectAll();
    Commit(&memo, QStringLiteral("あ") + Emoji());
    QCOMPARE(memo.toPlainText(), QStringLiteral("あ"));  // the emoji left out
    memo.selectAll();
    Commit(&memo, QString(80, QChar(0x3042)));
    QCOMPARE(memo.toPlainText(), QString(73, QChar(0x3042)));
  }

  void memoGivesBackItsBytesWhenUnedited() {
    ByteLimitedMemo memo;
    const ByteString original = "\xED\x40\r\n\x81\x20";
    memo.SetBytes(original);
    QCOMPARE(memo.Bytes(), original);
  }

  // Clicks and the arrow keys step by 1 and stop at the bounds; typed values
  // beyond them stay and step back towards the range.
  void spinnerSteps_data() {
    QTest::addColumn<QString>("start");
    QTest::addColumn<QString>("keys");  // u = up, d = down
    QTest::addColumn<QString>("result");
    QTest::newRow("up") << "70"
                        << "u"
                        << "71";
    QTest::newRow("down") << "70"
                          << "dd"
                          << "68";
    QTest::newRow("stops at max") << "119"
                                  << "uuu"
                                  << "120";
    QTest::newRow("stops at min") << "2"
                                  << "ddd"
                                  << "1";
    QTest::newRow("typed above max") << "200"
                                     << "u"
                                     << "200";
    QTest::newRow("down from above max") << "200"
                                         << "d"
                                         << "199";
    QTest::newRow("typed below min") << "-5"
                                     << "u"
                                     << "-4";
    QTest::newRow("below min stays") << "0"
                                     << "d"
                                     << "0";
    QTest::newRow("no number steps from the position") << "abc"
                                                       << "u"
                                                       << "71";
  }
  void spinnerSteps() {
    QFETCH(QString, start);
    QFETCH(QString, keys);
    QFETCH(QString, result);
    QWidget parent;
    auto* edit = new QLineEdit(&parent);
    auto* spinner = new UpDown(&parent);
    spinner->setMinimum(1);
    spinner->setMaximum(120);
    spinner->setPosition(70);
    spinner->SetBuddy(edit);
    spinner->resize(15, 20);
    edit->setText(start);
    for (const QChar key : keys) {
      QTest::keyClick(edit, key == 'u' ? Qt::Key_Up : Qt::Key_Down);
    }
    QCOMPARE(edit->text(), result);
    // The buttons do the same as the keys.
    spinner->setPosition(70);
    edit->setText(start);
    for (const QChar key : keys) {
      QTest::mouseClick(spinner->findChild<QWidget*>(key == 'u' ? "up" : "down"), Qt::LeftButton);
    }
    QCOMPARE(edit->text(), result);
  }
};

QTEST_MAIN(EditWidgetsTest)
#include "EditWidgets_test.moc"
