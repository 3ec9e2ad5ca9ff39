// The death year and the scenario ages of the main window, the repair of a
// birth year or lifespan that is not a whole number, and the preset buttons.

#include <QApplication>
#include <QInputMethodEvent>
#include <QInputMethodQueryEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QStyle>
#include <QTest>

#include "ui/Main.h"
#include "ui/Prompts.h"
#include "ui/UpDown.h"
#include "ui/support/CaseCompare.h"
#include "ui/support/EditorFixture.h"

using k4r::testing::Control;
using k4r::testing::EditorFixture;
using k4r::ui::Prompts;

namespace {

const QString kWarning = QStringLiteral("box|warning|警告|整数ではありません");
const QColor kBlue(0, 0, 255);
const QColor kBlack(0, 0, 0);
const char* const kAgeLabels[] = {"katokuLabel1", "okehazamaLabel1", "houiLabel1", "honnoujiLabel1"};
// Gives the application back the palette it had, whatever the test did.
struct PaletteRestorer {
  QPalette saved = QApplication::palette();
  ~PaletteRestorer() { QApplication::setPalette(saved); }
};

const char* const kStateLabels[] = {"genpukuLabel1", "genpukuLabel2", "genpukuLabel3", "genpukuLabel4"};

}  // namespace

class MainDerivedTest : public QObject {
  Q_OBJECT

 private:
  std::unique_ptr<EditorFixture> fixture_;
  TForm1* window_ = nullptr;

  QString Text(const char* name) {
    if (auto* label = window_->findChild<QLabel*>(QString::fromLatin1(name))) {
      return label->text();
    }
    return Control<QLineEdit>(*window_, name)->text();
  }
  QLineEdit* Edit(const char* name) { return Control<QLineEdit>(*window_, name); }
  void Click(const char* button) { QTest::mouseClick(Control<QPushButton>(*window_, button), Qt::LeftButton); }
  QStringList Ages() {
    QStringList ages;
    for (const char* name : kAgeLabels) {
      ages << Text(name);
    }
    return ages;
  }
  // Replaces the whole text as a user does: select all, type.
  void Type(const char* name, const QString& text) {
    QLineEdit* edit = Edit(name);
    edit->selectAll();
    if (text.isEmpty()) {
      QTest::keyClick(edit, Qt::Key_Delete);
    } else {
      QTest::keyClicks(edit, text);
    }
  }
  void CheckState(int row, const QString& text, const QColor& colour) {
    auto* label = Control<QLabel>(*window_, kStateLabels[row]);
    K4R_CASE_COMPARE(kStateLabels[row], label->text(), text);
    K4R_CASE_COMPARE(kStateLabels[row], label->palette().color(QPalette::WindowText), colour);
  }

 private slots:
  void init() {
    fixture_ = std::make_unique<EditorFixture>();
    window_ = &fixture_->Start();
    window_->show();
    Prompts::Shown().clear();
  }
  void cleanup() {
    fixture_.reset();
    QCOMPARE(k4r::testing::TakeLeftoverAnswers(), 0);
  }

  // The labels are filled from the start texts 1460 and 110 when the window is made.
  void startTextsGiveDerivedValues() {
    QCOMPARE(Text("tanjouEdit1"), QStringLiteral("1460"));
    QCOMPARE(Text("jumyouEdit1"), QStringLiteral("110"));
    QCOMPARE(Text("botuLabel1"), QStringLiteral("1569"));
    QCOMPARE(Ages(), (QStringList{"92", "101", "111", "123"}));
    for (int row = 0; row < 4; ++row) {
      CheckState(row, QStringLiteral("元服後"), kBlack);
    }
  }

  void agesAndColours_data() {
    QTest::addColumn<QString>("birth");
    QTest::addColumn<QStringList>("ages");
    QTest::addColumn<QList<bool>>("beforeComing");
    QTest::addColumn<QString>("death");
    QTest::newRow("1536") << "1536" << QStringList{"16", "25", "35", "47"} << QList<bool>{false, false, false, false}
                          << "1645";
    QTest::newRow("1537") << "1537" << QStringList{"15", "24", "34", "46"} << QList<bool>{true, false, false, false}
                          << "1646";
    QTest::newRow("1600") << "1600" << QStringList{"-48", "-39", "-29", "-17"} << QList<bool>{true, true, true, true}
                          << "1709";
  }
  void agesAndColours() {
    QFETCH(QString, birth);
    QFETCH(QStringList, ages);
    QFETCH(QList<bool>, beforeComing);
    QFETCH(QString, death);
    Type("tanjouEdit1", birth);
    QCOMPARE(Ages(), ages);
    for (int row = 0; row < 4; ++row) {
      if (beforeComing[row]) {
        CheckState(row, QStringLiteral("元服前"), kBlue);
      } else {
        CheckState(row, QStringLiteral("元服後"), kBlack);
      }
    }
    QCOMPARE(Text("botuLabel1"), death);
    QCOMPARE(Text("jumyouEdit1"), QStringLiteral("110"));
    QVERIFY(Prompts::Shown().isEmpty());
  }

  // "元服後" in the window-text colour, "元服前" pure blue on a light window
  // and a light blue on a dark one, also after the palette changed.
  void stateColoursFollowThePalette_data() {
    QTest::addColumn<bool>("darkFirst");
    QTest::newRow("light, then dark") << false;
    QTest::newRow("dark, then light") << true;
  }
  void stateColoursFollowThePalette() {
    QFETCH(bool, darkFirst);
    const PaletteRestorer restorer;
    // Both set explicitly, so that either also wins over the other as a window's palette.
    QPalette light = QApplication::palette();
    light.setColor(QPalette::Window, light.color(QPalette::Window));
    light.setColor(QPalette::WindowText, light.color(QPalette::WindowText));
    light.setColor(QPalette::Base, light.color(QPalette::Base));
    QPalette dark = light;
    dark.setColor(QPalette::Base, QColor(30, 30, 30));
    dark.setColor(QPalette::Window, QColor(45, 45, 48));
    dark.setColor(QPalette::WindowText, QColor(230, 230, 230));
    // A window made under the palette, then the palette of the open window changed.
    fixture_.reset();
    QApplication::setPalette(darkFirst ? dark : light);
    fixture_ = std::make_unique<EditorFixture>();
    window_ = &fixture_->Start();
    Type("tanjouEdit1", QStringLiteral("1537"));  // the first row before, the others after
    for (const bool isDark : {darkFirst, !darkFirst}) {
      const QPalette& now = isDark ? dark : light;
      if (isDark != darkFirst) {
        window_->setPalette(now);
      }
      for (int row = 1; row < 4; ++row) {
        CheckState(row, QStringLiteral("元服後"), now.color(QPalette::WindowText));
      }
      // The edit boxes too, which the window's style sheet keeps from inheriting.
      QCOMPARE(Edit("seijiEdit1")->palette().color(QPalette::Base), now.color(QPalette::Base));
      auto* before = Control<QLabel>(*window_, kStateLabels[0]);
      QCOMPARE(before->text(), QStringLiteral("元服前"));
      const QColor blue = before->palette().color(QPalette::WindowText);
      if (isDark) {
        QCOMPARE(blue.blue(), 255);
        QVERIFY2(blue.lightness() > 140 && blue.red() < blue.blue(), qPrintable(blue.name()));
      } else {
        QCOMPARE(blue, kBlue);
      }
    }
  }

  // Each preset makes the age in its own row exactly 15.
  void presetsMakeTheirRowFifteen_data() {
    QTest::addColumn<QString>("button");
    QTest::addColumn<int>("row");
    QTest::addColumn<QString>("birth");
    QTest::newRow("1551") << "GenpukuBtn1" << 0 << "1537";
    QTest::newRow("1560") << "GenpukuBtn2" << 1 << "1546";
    QTest::newRow("1570") << "GenpukuBtn3" << 2 << "1556";
    QTest::newRow("1582") << "GenpukuBtn4" << 3 << "1568";
  }
  void presetsMakeTheirRowFifteen() {
    QFETCH(QString, button);
    QFETCH(int, row);
    QFETCH(QString, birth);
    Click(button.toLatin1().constData());
    QCOMPARE(Text("tanjouEdit1"), birth);
    QCOMPARE(Text(kAgeLabels[row]), QStringLiteral("15"));
    CheckState(row, QStringLiteral("元服前"), kBlue);
    if (row > 0) {
      CheckState(row - 1, QStringLiteral("元服前"), kBlue);
    }
    if (row < 3) {
      CheckState(row + 1, QStringLiteral("元服後"), kBlack);
    }
    QCOMPARE(Text("botuLabel1"), QString::number(birth.toInt() + 109));
  }

  void abilityMinMaxLeaveDerivedAlone() {
    const QStringList ages = Ages();
    Click("MaxBtn1");
    QCOMPARE((QStringList{Text("seijiEdit1"), Text("tousotuEdit1"), Text("tiryakuEdit1"), Text("kyouyouEdit1"),
                          Text("giriEdit1")}),
             (QStringList{"120", "120", "120", "120", "100"}));
    Click("MinBtn1");
    QCOMPARE((QStringList{Text("seijiEdit1"), Text("tousotuEdit1"), Text("tiryakuEdit1"), Text("kyouyouEdit1"),
                          Text("giriEdit1")}),
             (QStringList{"1", "1", "1", "1", "1"}));
    QCOMPARE(Ages(), ages);
    QCOMPARE(Text("botuLabel1"), QStringLiteral("1569"));
  }

  void lifespanButtonsMoveTheDeathYearOnly() {
    const QStringList ages = Ages();
    QCOMPARE(Text("botuLabel1"), QStringLiteral("1569"));
    Click("MinBtn2");
    QCOMPARE(Text("jumyouEdit1"), QStringLiteral("16"));
    QCOMPARE(Text("botuLabel1"), QStringLiteral("1475"));
    Click("MaxBtn2");
    QCOMPARE(Text("jumyouEdit1"), QStringLiteral("110"));
    QCOMPARE(Text("botuLabel1"), QStringLiteral("1569"));
    QCOMPARE(Ages(), ages);
  }

  void birthYearMovesDeathYearAndKeepsLifespan() {
    Type("jumyouEdit1", "50");
    QCOMPARE(Text("botuLabel1"), QStringLiteral("1509"));
    Type("tanjouEdit1", "1500");
    QCOMPARE(Text("jumyouEdit1"), QStringLiteral("50"));
    QCOMPARE(Text("botuLabel1"), QStringLiteral("1549"));
  }

  // Deleting the whole birth year of a loaded file puts it back.
  void emptiedBirthYearIsPutBack() {
    const QString path = fixture_->WriteOfficer("A.K4R", k4r::testing::SampleOfficer());
    QVERIFY(window_->OpenOfficerFile(path));
    QCOMPARE(Text("tanjouEdit1"), QStringLiteral("1500"));
    const QStringList ages = Ages();
    Prompts::Shown().clear();
    Type("tanjouEdit1", QString());
    QCOMPARE(Prompts::Shown(), (QStringList{"beep", kWarning}));
    QCOMPARE(Text("tanjouEdit1"), QStringLiteral("1500"));
    QCOMPARE(Text("botuLabel1"), QStringLiteral("1560"));
    QCOMPARE(Ages(), ages);
  }

  // Each shorter number on the way is accepted, so the emptied box becomes 1.
  void birthYearDeletedDigitByDigit() {
    Click("GenpukuBtn1");
    QLineEdit* edit = Edit("tanjouEdit1");
    edit->setFocus();
    edit->end(false);
    const QStringList expected[] = {{"153", "262"}, {"15", "124"}, {"1", "110"}};
    for (const QStringList& step : expected) {
      QTest::keyClick(edit, Qt::Key_Backspace);
      const QString backTo = QStringLiteral("back to ") + step[0];
      K4R_CASE_COMPARE(backTo, edit->text(), step[0]);
      K4R_CASE_COMPARE(backTo, Text("botuLabel1"), step[1]);
    }
    QVERIFY(Prompts::Shown().isEmpty());
    QTest::keyClick(edit, Qt::Key_Backspace);
    QCOMPARE(Prompts::Shown(), (QStringList{"beep", kWarning}));
    QCOMPARE(edit->text(), QStringLiteral("1"));
    QCOMPARE(Text("botuLabel1"), QStringLiteral("110"));
    QCOMPARE(Ages(), (QStringList{"1551", "1560", "1570", "1582"}));
  }

  void lettersInLifespanArePutBack() {
    Type("jumyouEdit1", "x");
    QCOMPARE(Prompts::Shown(), (QStringList{"beep", kWarning}));
    QCOMPARE(Text("jumyouEdit1"), QStringLiteral("110"));
    QCOMPARE(Text("botuLabel1"), QStringLiteral("1569"));
  }

  // Only reachable while the other field or the death year cannot be read:
  // the handler stops with the general error box and changes no label.
  void unreadableOtherFieldStopsTheHandler() {
    {
      const QSignalBlocker quiet(Edit("jumyouEdit1"));
      Edit("jumyouEdit1")->setText(QStringLiteral("abc"));
    }
    Type("tanjouEdit1", "7");
    QCOMPARE(Prompts::Shown(), (QStringList{"box|error|Miravel 登録武将エディタ|'abc' は整数ではありません."}));
    QCOMPARE(Text("tanjouEdit1"), QStringLiteral("7"));
    QCOMPARE(Text("botuLabel1"), QStringLiteral("1569"));
    QCOMPARE(Ages(), (QStringList{"92", "101", "111", "123"}));
  }

  void unreadableDeathYearStopsTheRepair() {
    Control<QLabel>(*window_, "botuLabel1")->setText(QString());
    Type("tanjouEdit1", QString());
    QCOMPARE(Prompts::Shown(),
             (QStringList{"beep", kWarning, "box|error|Miravel 登録武将エディタ|'' は整数ではありません."}));
    QCOMPARE(Text("tanjouEdit1"), QString());
    // Once both read as numbers again, everything is computed as usual.
    Prompts::Shown().clear();
    QTest::keyClicks(Edit("tanjouEdit1"), "1537");
    QCOMPARE(Text("botuLabel1"), QStringLiteral("1646"));
    QVERIFY(Prompts::Shown().isEmpty());
  }

  // The number boxes turn the input method off and ask for digits, and the
  // name boxes keep it; full-width digits that reach a number box all the
  // same (typed, committed) show and count as ASCII, without a warning.
  void numberBoxesTakeDirectInput_data() {
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("how");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<QString>("death");
    QTest::newRow("birth year typed") << "tanjouEdit1"
                                      << "type"
                                      << "１５４０"
                                      << "1540"
                                      << "1649";
    QTest::newRow("birth year committed") << "tanjouEdit1"
                                          << "commit"
                                          << "１５４０"
                                          << "1540"
                                          << "1649";
    QTest::newRow("lifespan typed") << "jumyouEdit1"
                                    << "type"
                                    << "５０"
                                    << "50"
                                    << "1509";
    QTest::newRow("politics committed") << "seijiEdit1"
                                        << "commit"
                                        << "８０"
                                        << "80"
                                        << "1569";
    QTest::newRow("loyalty with a minus") << "giriEdit1"
                                          << "type"
                                          << "－１"
                                          << "-1"
                                          << "1569";
  }
  void numberBoxesTakeDirectInput() {
    QFETCH(QString, box);
    QFETCH(QString, how);
    QFETCH(QString, typed);
    QFETCH(QString, shown);
    QFETCH(QString, death);
    QLineEdit* edit = Edit(qPrintable(box));
    QInputMethodQueryEvent query(Qt::ImEnabled | Qt::ImHints);
    QCoreApplication::sendEvent(edit, &query);
    QCOMPARE(query.value(Qt::ImEnabled).toBool(), false);
    QCOMPARE(edit->inputMethodQuery(Qt::ImEnabled).toBool(), false);
    QVERIFY(Qt::InputMethodHints(query.value(Qt::ImHints).toInt()).testFlag(Qt::ImhDigitsOnly));
    QInputMethodQueryEvent nameQuery(Qt::ImEnabled);
    QCoreApplication::sendEvent(Control<QLineEdit>(*window_, "sei1Edit1"), &nameQuery);
    QCOMPARE(nameQuery.value(Qt::ImEnabled).toBool(), true);

    edit->setFocus();
    edit->selectAll();
    if (how == "commit") {
      QInputMethodEvent commit;
      commit.setCommitString(typed);
      QCoreApplication::sendEvent(edit, &commit);
    } else {
      for (const QChar character : typed) {
        QTest::sendKeyEvent(QTest::Click, edit, Qt::Key_unknown, QString(character), Qt::NoModifier);
      }
    }
    QCOMPARE(edit->text(), shown);
    QCOMPARE(Text("botuLabel1"), death);
    QCOMPARE(Prompts::Shown(), QStringList());
  }

  void birthYearSpinnerRunsTheHandler() {
    auto* spinner = Control<UpDown>(*window_, "UpDown6");
    QTest::mouseClick(spinner->findChild<QWidget*>("up"), Qt::LeftButton);
    QCOMPARE(Text("tanjouEdit1"), QStringLiteral("1461"));
    QCOMPARE(Text("botuLabel1"), QStringLiteral("1570"));
    QTest::keyClick(Edit("tanjouEdit1"), Qt::Key_Down);
    QTest::keyClick(Edit("tanjouEdit1"), Qt::Key_Down);
    QCOMPARE(Text("tanjouEdit1"), QStringLiteral("1460"));
    QCOMPARE(Text("botuLabel1"), QStringLiteral("1569"));
  }
};

QTEST_MAIN(MainDerivedTest)
#include "MainDerived_test.moc"
