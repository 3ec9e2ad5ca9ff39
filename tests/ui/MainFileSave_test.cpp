// Saving officer files through the main window, end to end on real files:
// every field at its offset, text bytes kept as read, what the file cannot
// hold refused, the availability of the lists and the face file, failures.

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QInputMethodEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QTest>
#include <QUrl>

#include "bridge/Cp932.h"
#include "ui/Main.h"
#include "ui/Prompts.h"
#include "ui/support/CaseCompare.h"
#include "ui/support/EditorFixture.h"
#include "ui/support/MainFileProbes.h"

using k4r::ByteString;
using k4r::testing::Control;
using k4r::testing::EditorFiles;
using k4r::testing::EditorFixture;
using k4r::testing::FacePath;
using k4r::testing::OfficerBytes;
using k4r::testing::ReadBytes;
using k4r::testing::SampleOfficer;
using k4r::testing::Sjis;
using k4r::ui::Prompts;

using namespace k4r::testing::main_file;  // NOLINT: the probes read as part of each test

class MainFileSaveTest : public QObject {
  Q_OBJECT

 private slots:
  void cleanup() { QCOMPARE(k4r::testing::TakeLeftoverAnswers(), 0); }

  void editsAreSavedAtTheirOffsets() {
    EditorFixture fixture;
    const QString path = fixture.WriteOfficer("SAMPLE.K4R", SampleOfficer());
    const ByteString before = ReadBytes(PathOf(path));
    TForm1& window = fixture.Start();
    QVERIFY(window.OpenOfficerFile(path));
    auto* name = Control<QLineEdit>(window, "sei1Edit1");
    name->selectAll();
    QTest::sendKeyEvent(QTest::Click, name, Qt::Key_A, QStringLiteral("林"), Qt::NoModifier);
    Control<QLineEdit>(window, "seijiEdit1")->setText(QStringLiteral("200"));  // beyond the spinner, still a byte
    QTest::mouseClick(Control<QWidget>(window, "GenpukuBtn1"), Qt::LeftButton);
    QTest::mouseClick(Control<QWidget>(window, "MinBtn2"), Qt::LeftButton);
    Select(window, "tokugiComboBox3", 12);
    Select(window, "shutujiComboBox1", 7);  // "商人", code 9
    Select(window, "KyotenComboBox1", 99);
    Select(window, "Aishou1ComboBox1", 99);
    Select(window, "OyaComboBox1", 0);
    Select(window, "TekiComboBox1", 39);
    Select(window, "KaoComboBox1", 29);
    QTest::mouseClick(Control<QWidget>(window, "ToolButton2"), Qt::LeftButton);
    QVERIFY(Prompts::Shown().isEmpty());

    const ByteString after = ReadBytes(PathOf(path));
    QCOMPARE(after.size(), before.size());
    QCOMPARE(after.substr(36, 8), Sjis(QStringLiteral("林")) + ByteString(6, '\0'));
    QCOMPARE(At(after, 252), 200);
    QCOMPARE(WordAt(after, 238), 0x0600 | (1537 - 1536));  // marker 6
    QCOMPARE(WordAt(after, 240), 0x0600 | (1552 - 1536));  // 1537 + 16 - 1
    QCOMPARE(At(after, 258), 12);
    QCOMPARE(At(after, 244), 9);
    QCOMPARE(WordAt(after, 259), 163);
    QCOMPARE(At(after, 265), 99);
    QCOMPARE(WordAt(after, 248), 0);
    QCOMPARE(WordAt(after, 261), 562 + 7);
    QCOMPARE(WordAt(after, 263), 562 + 39);
    QCOMPARE(WordAt(after, 236), 29);
    QCOMPARE(After(after, before),
             QList<int>({36, 37, 38, 39, 236, 238, 239, 240, 244, 248, 249, 252, 258, 259, 260, 263, 264, 265}));
  }

  // Input methods give 〜 as U+301C; the file gets 0x8160, two bytes of the
  // limit, in the name boxes and the biography alike.
  void typedWaveDashIsSavedAsItsWindowsCode() {
    EditorFixture fixture;
    const QString path = fixture.WriteOfficer("SAMPLE.K4R", SampleOfficer());
    TForm1& window = fixture.Start();
    QVERIFY(window.OpenOfficerFile(path));
    auto* name = Control<QLineEdit>(window, "mei1Edit1");
    name->selectAll();
    for (const QChar character : QStringLiteral("波〜〜〜〜")) {  // the fourth 〜 goes past 8 bytes
      QInputMethodEvent commit;
      commit.setCommitString(QString(character));
      QCoreApplication::sendEvent(name, &commit);
    }
    auto* memo = Control<QPlainTextEdit>(window, "retudenMemo1");
    memo->selectAll();
    QTest::sendKeyEvent(QTest::Click, memo, Qt::Key_unknown, QStringLiteral("\u301C"), Qt::NoModifier);
    QTest::keyClicks(memo, "ab");
    Trigger(window, "Save1");
    QCOMPARE(Prompts::Shown(), (QStringList{"beep", "tooltip|8 バイトを超える分は入力できません: 〜"}));
    const ByteString after = ReadBytes(PathOf(path));
    QCOMPARE(after.substr(62, 8), Sjis(QStringLiteral("波")) + ByteString("\x81\x60\x81\x60\x81\x60", 6));
    QCOMPARE(after.substr(88, 5), ByteString("\x81\x60"
                                             "ab\0",
                                             5));
  }

  // Text still being composed when the save runs is committed first (here no
  // input method takes the commit, so the window does): the box and the file
  // end with what the user saw, held to the box's limit like any commit.
  void composedTextIsSaved_data() {
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("preedit");
    QTest::addColumn<QString>("saved");
    QTest::addColumn<int>("offset");
    QTest::newRow("family name") << "sei1Edit1"
                                 << "なみ"
                                 << "なみ" << 36;
    QTest::newRow("past the limit") << "sei1Edit1"
                                    << "日本国憲法"
                                    << "日本国憲" << 36;
    QTest::newRow("biography") << "retudenMemo1"
                               << "かきかけ"
                               << "かきかけ" << 88;
  }
  void composedTextIsSaved() {
    QFETCH(QString, box);
    QFETCH(QString, preedit);
    QFETCH(QString, saved);
    QFETCH(int, offset);
    EditorFixture fixture;
    const QString path = fixture.WriteOfficer("SAMPLE.K4R", SampleOfficer());
    TForm1& window = fixture.Start();
    window.show();
    QVERIFY(window.OpenOfficerFile(path));
    auto* target = window.findChild<QWidget*>(box);
    target->setFocus();
    QTest::keyClick(target, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(target, Qt::Key_Delete);
    QInputMethodEvent composing(preedit, {});
    QCoreApplication::sendEvent(target, &composing);
    Trigger(window, "Save1");
    const ByteString bytes = Sjis(saved);
    QCOMPARE(ReadBytes(PathOf(path)).substr(static_cast<std::size_t>(offset), bytes.size()), bytes);
    auto* edit = qobject_cast<QLineEdit*>(target);
    QCOMPARE(edit != nullptr ? edit->text() : Control<QPlainTextEdit>(window, "retudenMemo1")->toPlainText(), saved);
  }

  // A number the file would store as another one stops the save with the
  // field's caption and nothing is written; numbers the spinners never reach
  // but the file holds are saved.
  void numbersTheFileCannotHoldAreRefused_data() {
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("refusal");  // empty: saved
    QTest::addColumn<int>("offset");
    QTest::addColumn<int>("stored");
    const QString ability = QStringLiteral(" はファイルに保存できません (保存できるのは 0 から 255 まで)");
    const QString year = QStringLiteral(" はファイルに保存できません (保存できるのは 1280 から 1791 まで)");
    QTest::newRow("ability 300") << "seijiEdit1"
                                 << "300"
                                 << "政治 300" + ability << 252 << 0;
    QTest::newRow("ability 256 in hex") << "kyouyouEdit1"
                                        << "$100"
                                        << "教養 256" + ability << 255 << 0;
    QTest::newRow("ability 0") << "tousotuEdit1"
                               << "0"
                               << "" << 253 << 0;
    QTest::newRow("ability 255") << "tiryakuEdit1"
                                 << "255"
                                 << "" << 254 << 255;
    QTest::newRow("birth 9999") << "tanjouEdit1"
                                << "9999"
                                << "誕生年 9999" + year << 238 << 0;
    // Born 1500: a lifespan of 293 ends in 1792.
    QTest::newRow("death 1792") << "jumyouEdit1"
                                << "293"
                                << "没年 1792" + year << 240 << 0;
    QTest::newRow("death 1791") << "jumyouEdit1"
                                << "292"
                                << "" << 240 << 0xFF;
  }
  void numbersTheFileCannotHoldAreRefused() {
    QFETCH(QString, box);
    QFETCH(QString, text);
    QFETCH(QString, refusal);
    QFETCH(int, offset);
    QFETCH(int, stored);
    EditorFixture fixture;
    const QString path = fixture.WriteOfficer("SAMPLE.K4R", SampleOfficer());
    const ByteString before = ReadBytes(PathOf(path));
    TForm1& window = fixture.Start();
    QVERIFY(window.OpenOfficerFile(path));
    Control<QLineEdit>(window, box.toLatin1().constData())->setText(text);
    Trigger(window, "Save1");
    const ByteString after = ReadBytes(PathOf(path));
    if (refusal.isEmpty()) {
      QVERIFY(Prompts::Shown().isEmpty());
      QCOMPARE(int{At(after, static_cast<std::size_t>(offset))}, stored);
    } else {
      QCOMPARE(Prompts::Shown(), QStringList{kErrorBox + refusal + "."});
      QVERIFY(after == before);
      QCOMPARE(Text(window, box.toLatin1().constData()), text);  // the window keeps what was typed
    }
  }

  // A kept field stays as the window showed it, and the save carries it into the new file.
  void saveShortcutOnlyAfterALoad() {
    EditorFixture fixture;
    const QString path = fixture.WriteOfficer("SAMPLE.K4R", SampleOfficer());
    TForm1& window = fixture.Start();
    QVERIFY(fixture.ShowActive());
    QTest::keyClick(&window, Qt::Key_S, Qt::ControlModifier);
    QTest::mouseClick(Control<QWidget>(window, "ToolButton2"), Qt::LeftButton);
    QVERIFY(Prompts::Shown().isEmpty());
    QCOMPARE(ReadBytes(PathOf(path)), SampleOfficer().Image());

    QVERIFY(window.OpenOfficerFile(path));
    Control<QLineEdit>(window, "giriEdit1")->setText(QStringLiteral("77"));
    QTest::keyClick(&window, Qt::Key_S, Qt::ControlModifier);
    QCOMPARE(At(ReadBytes(PathOf(path)), 266), 77);
  }

  // Unedited text goes back as the bytes it was read from: CP932's duplicate
  // codes and bytes that are not CP932 at all survive; only lone line breaks
  // in the biography become CR LF.
  void uneditedTextIsSavedByteForByte() {
    EditorFixture fixture;
    OfficerBytes officer = SampleOfficer();
    officer.Put(36, ByteString("\xED\x40\x81\x20\xFA\x5C\xA0\xFD", 8))
        .Put(62, ByteString("AB\x82\0\0\0\0\0", 8))
        .Put(45, ByteString("\xFA\x5C\xED\x40\x81\x7F", 6))
        .Put(88, ByteString(146, '\0'))
        .Put(88, ByteString("\xED\x40\rX\n\xFF", 6));
    const QString path = fixture.WriteOfficer("ODD.K4R", officer);
    TForm1& window = fixture.Start();
    QVERIFY(window.OpenOfficerFile(path));
    Trigger(window, "Save1");
    OfficerBytes expected = officer;
    expected.Put(88, ByteString("\xED\x40\r\nX\r\n\xFF", 8));
    const ByteString saved = ReadBytes(PathOf(path));
    QCOMPARE(After(saved, expected.Image()), QList<int>());
    QCOMPARE(saved, expected.Image());
    QVERIFY(Prompts::Shown().isEmpty());
  }

  void faceNumberWrittenOnlyWhenFacesAreAvailable_data() {
    QTest::addColumn<FacePath>("facePath");
    QTest::addColumn<int>("stored");
    QTest::newRow("face file present") << FacePath::Present << 9;
    QTest::newRow("no face path") << FacePath::Empty << 4;
  }
  void faceNumberWrittenOnlyWhenFacesAreAvailable() {
    QFETCH(FacePath, facePath);
    QFETCH(int, stored);
    EditorFiles files;
    files.facePath = facePath;
    EditorFixture fixture(files);
    const QString path = fixture.WriteOfficer("SAMPLE.K4R", SampleOfficer());
    TForm1& window = fixture.Start();
    QVERIFY(window.OpenOfficerFile(path));
    QCOMPARE(Selected(window, "KaoComboBox1"), 4);  // read either way
    Select(window, "KaoComboBox1", 9);              // as a face search does
    Trigger(window, "Save1");
    QCOMPARE(WordAt(ReadBytes(PathOf(path)), 236), stored);
  }

  void referencesUntouchedWithoutTheOfficerList() {
    EditorFiles files;
    files.officerList = false;
    EditorFixture fixture(files);
    OfficerBytes officer = SampleOfficer();
    officer.Word(263, 0x0731);  // not a valid reference: left alone all the same
    const QString path = fixture.WriteOfficer("SAMPLE.K4R", officer);
    TForm1& window = fixture.Start();
    Prompts::Shown().clear();
    QVERIFY(window.OpenOfficerFile(path));
    QCOMPARE(Selected(window, "OyaComboBox1"), -1);
    Trigger(window, "Save1");
    QCOMPARE(ReadBytes(PathOf(path)), officer.Image());
  }

  void abilityThatIsNotANumberStopsTheSave() {
    EditorFixture fixture;
    const QString path = fixture.WriteOfficer("SAMPLE.K4R", SampleOfficer());
    TForm1& window = fixture.Start();
    QVERIFY(window.OpenOfficerFile(path));
    Control<QLineEdit>(window, "tiryakuEdit1")->setText(QStringLiteral("1O"));
    Control<QLineEdit>(window, "seijiEdit1")->setText(QStringLiteral("33"));
    Trigger(window, "Save1");
    QCOMPARE(Prompts::Shown(), QStringList{kErrorBox + QStringLiteral("知略: '1O' は整数ではありません.")});
    QCOMPARE(ReadBytes(PathOf(path)), SampleOfficer().Image());
  }

  void saveIntoAVanishedFolderIsReported() {
    EditorFixture fixture;
    std::filesystem::create_directory(fixture.Folder() / "gone");
    const QString path = fixture.WriteOfficer("gone/SAMPLE.K4R", SampleOfficer());
    TForm1& window = fixture.Start();
    QVERIFY(window.OpenOfficerFile(path));
    std::filesystem::remove_all(fixture.Folder() / "gone");
    Trigger(window, "Save1");
    QCOMPARE(Prompts::Shown(), QStringList{kErrorBox + QStringLiteral("ファイル %1 を作成できません.").arg(path)});
  }

  void shortFileIsSavedWithAllFields() {
    EditorFixture fixture;
    const QString path = fixture.WriteOfficer("SHORT.K4R", OfficerBytes(10));
    TForm1& window = fixture.Start();
    QVERIFY(window.OpenOfficerFile(path));
    QCOMPARE(Text(window, "tanjouEdit1"), QStringLiteral("1536"));
    Trigger(window, "Save1");
    QCOMPARE(ReadBytes(PathOf(path)).size(), std::size_t{267});
  }

 private:
  // Offsets at which two images differ.
  static QList<int> After(const ByteString& after, const ByteString& before) {
    QList<int> offsets;
    for (std::size_t i = 0; i < std::min(after.size(), before.size()); ++i) {
      if (after[i] != before[i]) {
        offsets << static_cast<int>(i);
      }
    }
    return offsets;
  }
};

QTEST_MAIN(MainFileSaveTest)
#include "MainFileSave_test.moc"
