// Opening and saving officer files through the main window, end to end on
// real files: every field, the keep flags, the availability of the lists and
// the face file, text bytes kept as read, failures.

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
#include "ui/support/EditorFixture.h"

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

namespace {

const QString kErrorBox = QStringLiteral("box|error|Miravel 登録武将エディタ|");

QString Text(QWidget& window, const char* name) {
  if (auto* label = window.findChild<QLabel*>(QString::fromLatin1(name))) {
    return label->text();
  }
  return Control<QLineEdit>(window, name)->text();
}
int Selected(QWidget& window, const char* name) {
  return Control<QComboBox>(window, name)->currentIndex();
}
void Select(QWidget& window, const char* name, int position) {
  Control<QComboBox>(window, name)->setCurrentIndex(position);
}
void Trigger(QWidget& window, const char* action) {
  Control<QAction>(window, action)->trigger();
}
std::uint8_t At(const ByteString& bytes, std::size_t offset) {
  return static_cast<std::uint8_t>(bytes[offset]);
}
std::uint16_t WordAt(const ByteString& bytes, std::size_t offset) {
  return static_cast<std::uint16_t>(At(bytes, offset) | (At(bytes, offset + 1) << 8));
}
std::filesystem::path PathOf(const QString& path) {
  return k4r::bridge::ToPath(path);
}

// A second officer that differs from the sample in every list field.
OfficerBytes OtherOfficer() {
  OfficerBytes officer = SampleOfficer();
  officer.Word(259, 262 - 20).Byte(265, 3).Word(248, 562 + 11).Word(261, 562 + 12).Word(263, 562 + 13);
  return officer;
}

}  // namespace

class MainFileTest : public QObject {
  Q_OBJECT

 private slots:
  void cleanup() { QCOMPARE(k4r::testing::TakeLeftoverAnswers(), 0); }

  void openShowsEveryField() {
    EditorFixture fixture;
    fixture.AppendSettings("[Open]\r\nDir=/somewhere/officers\r\n");
    const QString path = fixture.WriteOfficer("SAMPLE.K4R", SampleOfficer());
    TForm1& window = fixture.Start();
    window.show();
    Prompts::QueueFileAnswer(path);
    Trigger(window, "Open1");
    QCOMPARE(Prompts::Shown(), QStringList{"open-dialog|開く|/somewhere/officers|登録武将ファイル(*.K4R)|"});

    QCOMPARE(Text(window, "sei1Edit1"), QStringLiteral("山田"));
    QCOMPARE(Text(window, "mei1Edit1"), QStringLiteral("太郎"));
    QCOMPARE(Text(window, "sei2Edit1"), QStringLiteral("やまだ"));
    QCOMPARE(Text(window, "mei2Edit1"), QStringLiteral("たろう"));
    QCOMPARE(Control<QPlainTextEdit>(window, "retudenMemo1")->toPlainText(), QStringLiteral("一行目\n二行目"));
    QCOMPARE((QStringList{Text(window, "seijiEdit1"), Text(window, "tousotuEdit1"), Text(window, "tiryakuEdit1"),
                          Text(window, "kyouyouEdit1"), Text(window, "giriEdit1")}),
             (QStringList{"11", "12", "13", "14", "15"}));
    QCOMPARE((QList<int>{Selected(window, "tokugiComboBox1"), Selected(window, "tokugiComboBox2"),
                         Selected(window, "tokugiComboBox3")}),
             (QList<int>{0, 9, 19}));
    QCOMPARE(Text(window, "seibetuEdit1"), QStringLiteral("0A"));
    QCOMPARE(Text(window, "tanjouEdit1"), QStringLiteral("1500"));
    QCOMPARE(Text(window, "jumyouEdit1"), QStringLiteral("61"));
    QCOMPARE(Text(window, "botuLabel1"), QStringLiteral("1560"));
    QCOMPARE(Text(window, "katokuLabel1"), QStringLiteral("52"));
    QCOMPARE(Control<QComboBox>(window, "shutujiComboBox1")->currentText(), QStringLiteral("僧侶"));
    QCOMPARE(Selected(window, "sinjinComboBox1"), 2);
    QCOMPARE(Selected(window, "KyotenComboBox1"), 5);
    QCOMPARE(Control<QComboBox>(window, "Aishou1ComboBox1")->currentText(), QStringLiteral("57"));
    QCOMPARE(Selected(window, "OyaComboBox1"), 3);
    QCOMPARE(Selected(window, "TomoComboBox1"), 7);
    QCOMPARE(Selected(window, "TekiComboBox1"), 0);
    QCOMPARE(Selected(window, "KaoComboBox1"), 4);
    const QImage portrait = Control<QWidget>(window, "PaintBox1")->grab().toImage();
    QCOMPARE(portrait.pixel(3, 2) & 0xFFFFFFu, k4r::testing::FacePixel(4, 3, 2));

    QCOMPARE(window.windowTitle(), QStringLiteral("Miravel 登録武将エディタ - ") + path);
    QVERIFY(Control<QAction>(window, "Save1")->isEnabled());
    QVERIFY(Control<QWidget>(window, "ToolButton2")->isEnabled());
    QCOMPARE(Prompts::Shown().size(), 1);
  }

  // Open/Dir when set by hand; else beside the file opened last in this run;
  // else the working folder. The editor never writes Open/Dir itself.
  void openDialogStartFolder_data() {
    QTest::addColumn<QString>("openDir");
    QTest::addColumn<bool>("openFirst");
    QTest::addColumn<QString>("expected");  // "<cwd>", "<opened>" or a folder
    QTest::newRow("nothing set or opened") << QString() << false << QStringLiteral("<cwd>");
    QTest::newRow("nothing set, a file opened") << QString() << true << QStringLiteral("<opened>");
    QTest::newRow("set by hand, nothing opened")
        << QStringLiteral("/somewhere/officers") << false << QStringLiteral("/somewhere/officers");
    QTest::newRow("set by hand, a file opened")
        << QStringLiteral("/somewhere/officers") << true << QStringLiteral("/somewhere/officers");
  }
  void openDialogStartFolder() {
    QFETCH(QString, openDir);
    QFETCH(bool, openFirst);
    QFETCH(QString, expected);
    EditorFixture fixture;
    if (!openDir.isEmpty()) {
      fixture.AppendSettings(("[Open]\r\nDir=" + openDir + "\r\n").toStdString());
    }
    std::filesystem::create_directory(fixture.Folder() / "officers");
    const QString officer = fixture.WriteOfficer("officers/SAMPLE.K4R", SampleOfficer());
    TForm1& window = fixture.Start();
    if (openFirst) {
      QVERIFY(window.OpenOfficerFile(officer));
    }
    Prompts::QueueFileAnswer(QString());
    Trigger(window, "Open1");
    const QString folder = expected == QStringLiteral("<cwd>")      ? QDir::currentPath()
                           : expected == QStringLiteral("<opened>") ? QFileInfo(officer).absolutePath()
                                                                    : expected;
    QCOMPARE(Prompts::Shown().constLast(), QStringLiteral("open-dialog|開く|%1|登録武将ファイル(*.K4R)|").arg(folder));
    QVERIFY(window.close());
    QCOMPARE(QString::fromStdString(ReadBytes(fixture.SettingsPath())).contains(QStringLiteral("[Open]")),
             !openDir.isEmpty());
  }

  void cancelledDialogChangesNothing() {
    EditorFixture fixture;
    TForm1& window = fixture.Start();
    Prompts::QueueFileAnswer(QString());
    QTest::mouseClick(Control<QWidget>(window, "ToolButton1"), Qt::LeftButton);
    QCOMPARE(Prompts::Shown().size(), 1);
    QVERIFY(Prompts::Shown().constFirst().startsWith("open-dialog|"));
    QVERIFY(!Control<QAction>(window, "Save1")->isEnabled());
    QCOMPARE(window.windowTitle(), QStringLiteral("Miravel 登録武将エディタ"));
  }

  // A failed open leaves the file opened before as the one a save writes.
  void missingFileIsReportedAndTheOpenFileStays() {
    EditorFixture fixture;
    const QString first = fixture.WriteOfficer("FIRST.K4R", SampleOfficer());
    TForm1& window = fixture.Start();
    QVERIFY(window.OpenOfficerFile(first));
    Control<QLineEdit>(window, "seijiEdit1")->setText(QStringLiteral("99"));
    const QString missing = k4r::bridge::FromPath(fixture.Folder() / "NONE.K4R");
    QVERIFY(!window.OpenOfficerFile(missing));
    QCOMPARE(Prompts::Shown(), QStringList{kErrorBox + QStringLiteral("ファイル %1 は開けません.").arg(missing)});
    QCOMPARE(window.windowTitle(), QStringLiteral("Miravel 登録武将エディタ - ") + first);
    QCOMPARE(Text(window, "seijiEdit1"), QStringLiteral("99"));
    Trigger(window, "Save1");
    QCOMPARE(At(ReadBytes(PathOf(first)), 252), 99);
    QVERIFY(!std::filesystem::exists(PathOf(missing)));
  }

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
    QVERIFY(Prompts::Shown().isEmpty());
    const ByteString after = ReadBytes(PathOf(path));
    QCOMPARE(after.substr(62, 8), Sjis(QStringLiteral("波")) + ByteString("\x81\x60\x81\x60\x81\x60", 6));
    QCOMPARE(after.substr(88, 5), ByteString("\x81\x60"
                                             "ab\0",
                                             5));
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
    QTest::newRow("ability -1") << "giriEdit1"
                                << "-1"
                                << "義理 -1" + ability << 266 << 0;
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
    QTest::newRow("birth 1279") << "tanjouEdit1"
                                << "1279"
                                << "誕生年 1279" + year << 238 << 0;
    QTest::newRow("birth 1280") << "tanjouEdit1"
                                << "1280"
                                << "" << 239 << 5;
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
  void keepFlagsCarryValuesIntoTheNextFile() {
    EditorFixture fixture;
    const QString first = fixture.WriteOfficer("FIRST.K4R", SampleOfficer());
    const QString second = fixture.WriteOfficer("SECOND.K4R", OtherOfficer());
    TForm1& window = fixture.Start();
    QVERIFY(window.OpenOfficerFile(first));
    for (const char* box : {"FixedCheckBox1", "FixedCheckBox2", "FixedCheckBox3", "FixedCheckBox4", "FixedCheckBox5"}) {
      Control<QCheckBox>(window, box)->setChecked(true);
    }
    QVERIFY(window.OpenOfficerFile(second));
    QCOMPARE(Selected(window, "KyotenComboBox1"), 5);
    QCOMPARE(Selected(window, "Aishou1ComboBox1"), 57);
    QCOMPARE(Selected(window, "OyaComboBox1"), 3);
    QCOMPARE(Selected(window, "TomoComboBox1"), 7);
    QCOMPARE(Selected(window, "TekiComboBox1"), 0);
    Trigger(window, "Save1");
    const ByteString saved = ReadBytes(PathOf(second));
    QCOMPARE(WordAt(saved, 259), 262 - 5);
    QCOMPARE(At(saved, 265), 57);
    QCOMPARE(WordAt(saved, 248), 562 + 3);
    QCOMPARE(WordAt(saved, 261), 562 + 7);
    QCOMPARE(WordAt(saved, 263), 0);
    // Unchecked again, the next load takes the file's values.
    Control<QCheckBox>(window, "FixedCheckBox1")->setChecked(false);
    QVERIFY(window.OpenOfficerFile(first));
    QCOMPARE(Selected(window, "KyotenComboBox1"), 5);
    k4r::testing::WriteBytes(PathOf(second), OtherOfficer().Image());
    QVERIFY(window.OpenOfficerFile(second));
    QCOMPARE(Selected(window, "KyotenComboBox1"), 20);
    QCOMPARE(Selected(window, "Aishou1ComboBox1"), 57);
  }

  // Ctrl+S does nothing before a file is open; afterwards it saves.
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
    QCOMPARE(Prompts::Shown(), QStringList{kErrorBox + QStringLiteral("'1O' は整数ではありません.")});
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

  void droppedOfficerFileIsOpened() {
    EditorFixture fixture;
    const QString path = fixture.WriteOfficer("DROP.K4R", SampleOfficer());
    const QString text = fixture.WriteOfficer("NOTES.txt", SampleOfficer());
    TForm1& window = fixture.Start();
    window.show();
    for (const QString& file : {text, path}) {
      QMimeData mime;
      mime.setUrls({QUrl::fromLocalFile(file)});
      QDragEnterEvent enter(QPoint(400, 300), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
      QCoreApplication::sendEvent(&window, &enter);
      QCOMPARE(enter.isAccepted(), file == path);
      if (enter.isAccepted()) {
        QDropEvent drop(QPointF(400, 300), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(&window, &drop);
      }
    }
    QCOMPARE(window.windowTitle(), QStringLiteral("Miravel 登録武将エディタ - ") + path);
    QCOMPARE(Text(window, "sei1Edit1"), QStringLiteral("山田"));
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

QTEST_MAIN(MainFileTest)
#include "MainFile_test.moc"
