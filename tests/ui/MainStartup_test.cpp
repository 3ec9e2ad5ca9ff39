// Start and stop of the main window: the name lists and the face graphics
// file present or not, the start contents and layout, the window position,
// and the portrait.

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QToolButton>

#include "bridge/Cp932.h"
#include "core/Settings.h"
#include "ui/Main.h"
#include "ui/Prompts.h"
#include "ui/support/CaseCompare.h"
#include "ui/support/EditorFixture.h"

using k4r::testing::Control;
using k4r::testing::EditorFiles;
using k4r::testing::EditorFixture;
using k4r::testing::FacePath;
using k4r::ui::Prompts;

Q_DECLARE_METATYPE(k4r::testing::FacePath)

namespace {

const QString kOfficerBox = QStringLiteral("box|error|エラー|BUSHOU.DATファイルが見つかりませんでした。");
const QString kFaceBox = QStringLiteral("box|error|エラー|KAO.DATファイルが見つかりませんでした。");
const char* const kOfficerControls[] = {"Label27",        "Label28",       "Label29",        "OyaComboBox1",
                                        "TomoComboBox1",  "TekiComboBox1", "FixedCheckBox3", "FixedCheckBox4",
                                        "FixedCheckBox5", "FindBtn2",      "FindBtn3",       "FindBtn4"};

QWidget* Widget(QWidget& window, const char* name) {
  return Control<QWidget>(window, name);
}

QImage Portrait(QWidget& window) {
  return Widget(window, "PaintBox1")->grab().toImage();
}

bool Blank(const QImage& image, const QColor& background) {
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      if (image.pixelColor(x, y) != background) {
        return false;
      }
    }
  }
  return true;
}

}  // namespace

class MainStartupTest : public QObject {
  Q_OBJECT

 private slots:
  void cleanup() { QCOMPARE(k4r::testing::TakeLeftoverAnswers(), 0); }

  void nameListsAndFaceFile_data() {
    QTest::addColumn<bool>("officerList");
    QTest::addColumn<bool>("faceList");
    QTest::addColumn<FacePath>("facePath");
    QTest::addColumn<QStringList>("shown");
    QTest::addColumn<bool>("faceListEnabled");
    QTest::addColumn<bool>("faceSearchEnabled");
    QTest::addColumn<bool>("faceAvailable");
    QTest::newRow("everything") << true << true << FacePath::Present << QStringList{} << true << true << true;
    QTest::newRow("no BUSHOU.DAT") << false << true << FacePath::Present << QStringList{"beep", kOfficerBox} << true
                                   << true << true;
    QTest::newRow("no KAO.DAT") << true << false << FacePath::Present << QStringList{"beep", kFaceBox} << false << false
                                << false;
    QTest::newRow("neither list") << false << false << FacePath::Present
                                  << QStringList{"beep", kOfficerBox, "beep", kFaceBox} << false << false << false;
    QTest::newRow("face path empty") << true << true << FacePath::Empty << QStringList{} << false << true << false;
    QTest::newRow("face file missing") << true << true << FacePath::Missing << QStringList{} << false << true << false;
    QTest::newRow("no KAO.DAT, no face path")
        << true << false << FacePath::Empty << QStringList{"beep", kFaceBox} << false << false << false;
  }
  void nameListsAndFaceFile() {
    QFETCH(bool, officerList);
    QFETCH(bool, faceList);
    QFETCH(FacePath, facePath);
    QFETCH(QStringList, shown);
    QFETCH(bool, faceListEnabled);
    QFETCH(bool, faceSearchEnabled);
    QFETCH(bool, faceAvailable);
    EditorFiles files;
    files.officerList = officerList;
    files.faceList = faceList;
    files.facePath = facePath;
    EditorFixture fixture(files);
    TForm1& window = fixture.Start();
    // The boxes came while the window was made, before it was ever shown.
    QCOMPARE(Prompts::Shown(), shown);
    QVERIFY(!window.isVisible());

    QCOMPARE(window.OfficerListAvailable(), officerList);
    for (const char* name : kOfficerControls) {
      QVERIFY2(Widget(window, name)->isEnabled() == officerList, name);
    }
    for (const char* name : {"OyaComboBox1", "TomoComboBox1", "TekiComboBox1"}) {
      auto* list = Control<QComboBox>(window, name);
      K4R_CASE_COMPARE(name, list->count(), officerList ? k4r::testing::kOfficerCount : 0);
      K4R_CASE_COMPARE(name, list->currentIndex(), officerList ? 0 : -1);
      if (officerList) {
        K4R_CASE_COMPARE(name, list->itemText(3), k4r::testing::OfficerName(3));
      }
    }
    auto* faces = Control<QComboBox>(window, "KaoComboBox1");
    QCOMPARE(faces->isEnabled(), faceListEnabled);
    QCOMPARE(faces->count(), faceList ? k4r::testing::kFaceCount : 0);
    QCOMPARE(faces->currentIndex(), faceList ? 0 : -1);
    QCOMPARE(Widget(window, "FindBtn5")->isEnabled(), faceSearchEnabled);
    QCOMPARE(Widget(window, "Label31")->isEnabled(), faceSearchEnabled);
    QCOMPARE(window.FaceAvailable(), faceAvailable);

    // A portrait is drawn exactly when faces are available.
    window.show();
    const QImage portrait = Portrait(window);
    const QColor background = window.palette().color(QPalette::Window);
    if (faceAvailable) {
      QCOMPARE(portrait.pixel(0, 0) & 0xFFFFFFu, k4r::testing::FacePixel(0, 0, 0));
    } else {
      QVERIFY(Blank(portrait, background));
    }
  }

  void startContents() {
    EditorFixture fixture;
    TForm1& window = fixture.Start();
    QCOMPARE(window.windowTitle(), QStringLiteral("Miravel 登録武将エディタ"));
    for (const char* name : {"tokugiComboBox1", "tokugiComboBox2", "tokugiComboBox3"}) {
      K4R_CASE_COMPARE(name, Control<QComboBox>(window, name)->count(), 20);
      K4R_CASE_COMPARE(name, Control<QComboBox>(window, name)->currentText(), QStringLiteral("（なし）"));
    }
    QCOMPARE(Control<QComboBox>(window, "shutujiComboBox1")->currentText(), QStringLiteral("守護"));
    QCOMPARE(Control<QComboBox>(window, "sinjinComboBox1")->currentText(), QStringLiteral("神仏"));
    QCOMPARE(Control<QComboBox>(window, "KyotenComboBox1")->currentText(), QStringLiteral("室町御所"));
    QCOMPARE(Control<QComboBox>(window, "KyotenComboBox1")->count(), 100);
    QCOMPARE(Control<QComboBox>(window, "Aishou1ComboBox1")->currentText(), QStringLiteral("0"));
    QCOMPARE(Control<QComboBox>(window, "Aishou1ComboBox1")->itemText(57), QStringLiteral("57"));
    for (const auto& [name, first, second] :
         {std::tuple{"seibetuComboBox1", "男", "女"}, std::tuple{"joutaiComboBox1", "仕官", "浪人"}}) {
      auto* list = Control<QComboBox>(window, name);
      QVERIFY2(!list->isEnabled(), name);
      K4R_CASE_COMPARE(name, list->currentIndex(), -1);
      K4R_CASE_COMPARE(name, list->itemText(0), QString::fromUtf8(first));
      K4R_CASE_COMPARE(name, list->itemText(1), QString::fromUtf8(second));
    }
    QVERIFY(!Widget(window, "Label13")->isEnabled());
    QVERIFY(!Widget(window, "Label24")->isEnabled());
    for (const char* name : {"seijiEdit1", "tousotuEdit1", "tiryakuEdit1", "kyouyouEdit1", "giriEdit1"}) {
      K4R_CASE_COMPARE(name, Control<QLineEdit>(window, name)->text(), QStringLiteral("70"));
    }
    QVERIFY(Control<QLineEdit>(window, "seibetuEdit1")->isReadOnly());
    QCOMPARE(Control<QLabel>(window, "Label30")->text(), QStringLiteral("※軍師、威圧は\n効果の有無が不明です"));
    for (const char* name :
         {"FixedCheckBox1", "FixedCheckBox2", "FixedCheckBox3", "FixedCheckBox4", "FixedCheckBox5"}) {
      QVERIFY2(!Control<QCheckBox>(window, name)->isChecked(), name);
    }
    QVERIFY(!Control<QAction>(window, "Save1")->isEnabled());
    QVERIFY(!Widget(window, "ToolButton2")->isEnabled());
    QVERIFY(Widget(window, "ToolButton1")->isEnabled());
    QVERIFY(!Control<QAction>(window, "Contents1")->isEnabled());
    QCOMPARE(Control<QAction>(window, "Open1")->shortcut(), QKeySequence(QStringLiteral("Ctrl+O")));
    QCOMPARE(Control<QAction>(window, "Save1")->shortcut(), QKeySequence(QStringLiteral("Ctrl+S")));
    QCOMPARE(Control<QAction>(window, "Contents1")->shortcut(), QKeySequence(QStringLiteral("F1")));
  }

  void layoutAndFont() {
    EditorFixture fixture;
    TForm1& window = fixture.Start();
    window.show();
    QCOMPARE(window.centralWidget()->size(), QSize(856, 441));
    QVERIFY(window.minimumSize() == window.maximumSize());
    QVERIFY(!(window.windowFlags() & Qt::WindowMaximizeButtonHint));
    const std::tuple<const char*, QRect> places[] = {
        {"PaintBox1", {19, 40, 97, 121}},       {"KaoComboBox1", {16, 176, 105, 20}},
        {"UpDown6", {633, 112, 16, 20}},        {"retudenMemo1", {528, 344, 321, 89}},
        {"FixedCheckBox1", {627, 313, 42, 17}}, {"GenpukuBtn4", {768, 253, 40, 18}},
        {"ToolBar1", {0, 0, 856, 29}},          {"Aishou1ComboBox1", {176, 312, 57, 20}}};
    for (const auto& [name, place] : places) {
      QWidget* control = Widget(window, name);
      K4R_CASE_COMPARE(name, QRect(control->mapTo(window.centralWidget(), QPoint(0, 0)), control->size()), place);
    }
    for (const auto& [name, left] : {std::pair{"ToolButton1", 4}, std::pair{"ToolButton2", 27}}) {
      QWidget* button = Widget(window, name);
      K4R_CASE_COMPARE(name, QRect(button->mapTo(window.centralWidget(), QPoint(0, 0)), button->size()),
                       QRect(left, 2, 23, 22));
    }
    const QFont font = Widget(window, "sei1Edit1")->font();
    QCOMPARE(font.pixelSize(), 12);
    QVERIFY2(QStringList({"ＭＳ Ｐゴシック", "IPAPGothic"}).contains(QFontInfo(font).family()),
             qPrintable(QFontInfo(font).family()));
    // Captions end before the control they name.
    for (const auto& [caption, control] : {std::pair{"Label22", "houiLabel1"}, std::pair{"Label25", "KyotenComboBox1"},
                                           std::pair{"Label27", "OyaComboBox1"}, std::pair{"Label14", "tanjouEdit1"}}) {
      QVERIFY2(Widget(window, caption)->geometry().right() < Widget(window, control)->x(), caption);
    }
    const std::pair<const char*, int> rows[] = {
        {"KaoComboBox1", 16},     {"tokugiComboBox1", 20}, {"shutujiComboBox1", 12},
        {"sinjinComboBox1", 8},   {"KyotenComboBox1", 16}, {"OyaComboBox1", 16},
        {"Aishou1ComboBox1", 16}, {"seibetuComboBox1", 8}, {"joutaiComboBox1", 8}};
    for (const auto& [name, count] : rows) {
      K4R_CASE_COMPARE(name, Control<QComboBox>(window, name)->maxVisibleItems(), count);
    }
    QCOMPARE(Widget(window, "FindBtn5")->toolTip(), QStringLiteral("顔CGの武将名を検索します"));
    QCOMPARE(Widget(window, "FixedCheckBox1")->toolTip(),
             QStringLiteral("ファイル読み込み時に所属領地が変更されないようにします"));
    QCOMPARE(Widget(window, "ToolButton2")->toolTip(), QStringLiteral("上書き保存(Ctrl+S)"));
    for (const char* name : {"seijiEdit1", "giriEdit1", "tanjouEdit1", "jumyouEdit1"}) {
      QVERIFY2(!Widget(window, name)->testAttribute(Qt::WA_InputMethodEnabled), name);
    }
    for (const char* name : {"sei1Edit1", "mei2Edit1", "retudenMemo1"}) {
      QVERIFY2(Widget(window, name)->testAttribute(Qt::WA_InputMethodEnabled), name);
    }
  }

  void tabOrder() {
    EditorFixture fixture;
    TForm1& window = fixture.Start();
    const QStringList expected = {
        "KaoComboBox1",    "FindBtn5",         "sei1Edit1",        "mei1Edit1",        "sei2Edit1",
        "mei2Edit1",       "seijiEdit1",       "tousotuEdit1",     "tiryakuEdit1",     "kyouyouEdit1",
        "giriEdit1",       "MinBtn1",          "MaxBtn1",          "tokugiComboBox1",  "tokugiComboBox2",
        "tokugiComboBox3", "Aishou1ComboBox1", "FixedCheckBox2",   "OyaComboBox1",     "FixedCheckBox3",
        "FindBtn2",        "TomoComboBox1",    "FixedCheckBox4",   "FindBtn3",         "TekiComboBox1",
        "FixedCheckBox5",  "FindBtn4",         "seibetuComboBox1", "shutujiComboBox1", "sinjinComboBox1",
        "tanjouEdit1",     "jumyouEdit1",      "MinBtn2",          "MaxBtn2",          "GenpukuBtn1",
        "GenpukuBtn2",     "GenpukuBtn3",      "GenpukuBtn4",      "KyotenComboBox1",  "FixedCheckBox1",
        "FindBtn1",        "joutaiComboBox1",  "retudenMemo1"};
    QStringList chain;
    QWidget* start = Widget(window, "KaoComboBox1");
    QWidget* widget = start;
    do {
      if ((widget->focusPolicy() & Qt::TabFocus) && widget->parentWidget() == window.centralWidget()) {
        chain << widget->objectName();
      }
      widget = widget->nextInFocusChain();
    } while (widget != start);
    QCOMPARE(chain, expected);
  }

  void focusStartsOnTheFaceList() {
    EditorFixture fixture;
    TForm1& window = fixture.Start();
    QVERIFY(fixture.ShowActive());
    QCOMPARE(QApplication::focusWidget(), Widget(window, "KaoComboBox1"));
  }

  void positionFromSettingsAndWrittenAtClose() {
    EditorFixture fixture;
    fixture.AppendSettings("[Win]\r\nTop=-50\r\nLeft=300\r\n");
    TForm1& window = fixture.Start();
    // Its title bar would be above the screen.
    QCOMPARE(window.pos(), QPoint(300, 0));
    window.show();
    window.move(412, 87);
    QVERIFY(window.close());
    const k4r::Settings settings = k4r::LoadSettings(fixture.SettingsPath());
    QCOMPARE(settings.WinTop, 87);
    QCOMPARE(settings.WinLeft, 412);
    QCOMPARE(settings.KaoPath, k4r::testing::Sjis(k4r::bridge::FromPath(fixture.FacePathFile())));
  }

  void defaultPositionAndWrittenWithoutAFile() {
    EditorFixture fixture;
    std::filesystem::remove(fixture.SettingsPath());
    TForm1& window = fixture.Start();
    QCOMPARE(window.pos(), QPoint(230, 100));
    QVERIFY(window.close());
    QCOMPARE(k4r::LoadSettings(fixture.SettingsPath()).WinTop, 100);
    QVERIFY(std::filesystem::exists(fixture.SettingsPath()));
  }

  // A settings file that cannot be written is reported, and the window closes all the same.
  void closesWhenThePositionCannotBeWritten() {
    EditorFixture fixture;
    std::filesystem::remove(fixture.SettingsPath());
    std::filesystem::create_directory(fixture.SettingsPath());
    TForm1& window = fixture.Start();
    window.show();
    QVERIFY(window.close());
    QVERIFY(!window.isVisible());
    QCOMPARE(Prompts::Shown().size(), 1);
    QVERIFY(Prompts::Shown().constFirst().startsWith("box|error|Miravel 登録武将エディタ|"));
    QVERIFY(Prompts::Shown().constFirst().endsWith(QStringLiteral("に書き込めません.")));
  }

  // A name list that is there but cannot be read counts as missing, with its reason.
  void unreadableNameList() {
    EditorFixture fixture;
    std::filesystem::remove(fixture.Folder() / "BUSHOU.DAT");
    std::filesystem::create_directory(fixture.Folder() / "BUSHOU.DAT");
    TForm1& window = fixture.Start();
    QCOMPARE(Prompts::Shown().size(), 2);
    QCOMPARE(Prompts::Shown().at(0), QStringLiteral("beep"));
    QVERIFY(Prompts::Shown().at(1).startsWith("box|error|Miravel 登録武将エディタ|"));
    QVERIFY(Prompts::Shown().at(1).contains("BUSHOU.DAT"));
    QVERIFY(!window.OfficerListAvailable());
    QVERIFY(!Widget(window, "FindBtn2")->isEnabled());
    QVERIFY(window.FaceAvailable());
  }

  // A face file too short for its table is reported and not used.
  void unreadableFaceFile() {
    EditorFixture fixture;
    k4r::testing::WriteBytes(fixture.FacePathFile(), k4r::ByteString(100, '\0'));
    TForm1& window = fixture.Start();
    QCOMPARE(Prompts::Shown().size(), 1);
    QVERIFY(Prompts::Shown().constFirst().startsWith("box|error|Miravel 登録武将エディタ|"));
    QVERIFY(!window.FaceAvailable());
    QVERIFY(!Widget(window, "KaoComboBox1")->isEnabled());
    QVERIFY(Widget(window, "FindBtn5")->isEnabled());
  }

  void portraitFollowsTheChosenFace() {
    EditorFixture fixture;
    TForm1& window = fixture.Start();
    window.show();
    QImage portrait = Portrait(window);
    QCOMPARE(portrait.size(), QSize(97, 121));
    const QColor background = window.palette().color(QPalette::Window);
    for (const auto& [x, y] : {std::pair{0, 0}, std::pair{95, 0}, std::pair{0, 119}, std::pair{95, 119}}) {
      K4R_CASE_COMPARE(QStringLiteral("pixel %1,%2").arg(x).arg(y), portrait.pixel(x, y) & 0xFFFFFFu,
                       k4r::testing::FacePixel(0, x, y));
    }
    // The right-most column and the bottom row are never drawn.
    QCOMPARE(portrait.pixelColor(96, 10), background);
    QCOMPARE(portrait.pixelColor(10, 120), background);
    // A user's choice redraws at once.
    QTest::keyClick(Widget(window, "KaoComboBox1"), Qt::Key_Down);
    QCOMPARE(Control<QComboBox>(window, "KaoComboBox1")->currentIndex(), 1);
    portrait = Portrait(window);
    QCOMPARE(portrait.pixel(5, 7) & 0xFFFFFFu, k4r::testing::FacePixel(1, 5, 7));
    QVERIFY(Prompts::Shown().isEmpty());
  }

  // A face file gone after start is reported once, not at every repaint.
  void failedDrawingIsReportedOnce() {
    EditorFixture fixture;
    TForm1& window = fixture.Start();
    window.show();
    std::filesystem::remove(fixture.FacePathFile());
    QTest::keyClick(Widget(window, "KaoComboBox1"), Qt::Key_Down);
    for (int i = 0; i < 3; ++i) {
      (void)Portrait(window);
      QCoreApplication::processEvents();
    }
    const QString expected = QStringLiteral("box|error|Miravel 登録武将エディタ|ファイル %1 は開けません.")
                                 .arg(k4r::bridge::FromPath(fixture.FacePathFile()));
    QCOMPARE(Prompts::Shown(), QStringList{expected});
  }
};

QTEST_MAIN(MainStartupTest)
#include "MainStartup_test.moc"
