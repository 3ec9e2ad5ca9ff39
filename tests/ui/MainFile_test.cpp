// Opening officer files through the main window, end to end on real files:
// every field, the open dialog, the keep flags, a dropped file, failures.

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
      K4R_CASE_COMPARE(file, enter.isAccepted(), file == path);
      if (enter.isAccepted()) {
        QDropEvent drop(QPointF(400, 300), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(&window, &drop);
      }
    }
    QCOMPARE(window.windowTitle(), QStringLiteral("Miravel 登録武将エディタ - ") + path);
    QCOMPARE(Text(window, "sei1Edit1"), QStringLiteral("山田"));
  }
};

QTEST_MAIN(MainFileTest)
#include "MainFile_test.moc"
