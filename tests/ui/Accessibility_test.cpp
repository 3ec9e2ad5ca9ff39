// What a screen reader is told of each window: a name for every box, list,
// spinner and button, the lists by their caption rather than their entry, the
// rows' search buttons and "固定" boxes told apart, the portrait by its face.

#include <QAbstractButton>
#include <QAccessible>
#include <QComboBox>
#include <QDialog>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTest>

#include "ui/Main.h"
#include "ui/PortraitBox.h"
#include "ui/UpDown.h"
#include "ui/support/CaseCompare.h"
#include "ui/support/DialogTestBed.h"
#include "ui/support/EditorFixture.h"
#include "ui/support/ModalDriver.h"

using k4r::testing::EditorFixture;

namespace {

QString Said(QWidget* control, QAccessible::Text kind = QAccessible::Name) {
  QAccessibleInterface* seen = QAccessible::queryAccessibleInterface(control);
  return seen == nullptr ? QString() : seen->text(kind);
}

// The controls a screen reader stops at that have no name.
QStringList Unnamed(QWidget& window) {
  QStringList unnamed;
  for (QWidget* control : window.findChildren<QWidget*>()) {
    const bool isControl =
        qobject_cast<QLineEdit*>(control) != nullptr || qobject_cast<QComboBox*>(control) != nullptr ||
        qobject_cast<QPlainTextEdit*>(control) != nullptr || qobject_cast<QAbstractButton*>(control) != nullptr ||
        qobject_cast<UpDown*>(control) != nullptr || qobject_cast<PortraitBox*>(control) != nullptr;
    if (isControl && control->isVisibleTo(&window) && Said(control).isEmpty()) {
      unnamed << control->objectName();
    }
  }
  return unnamed;
}

QWidget* Find(QWidget& window, const QString& name) {
  return k4r::testing::Control<QWidget>(window, name.toLatin1().constData());
}

}  // namespace

class AccessibilityTest : public QObject {
  Q_OBJECT

 private slots:
  void everyMainControlIsNamed() {
    EditorFixture fixture;
    TForm1& window = fixture.Start();
    QCOMPARE(Unnamed(window), QStringList());
  }

  void mainControlNames_data() {
    QTest::addColumn<QString>("control");
    QTest::addColumn<QString>("name");
    QTest::newRow("name box") << "sei1Edit1"
                              << "姓";
    QTest::newRow("reading box") << "sei2Edit1"
                                 << "せい";
    QTest::newRow("ability box") << "seijiEdit1"
                                 << "政治";
    QTest::newRow("birth year box") << "tanjouEdit1"
                                    << "誕生年";
    QTest::newRow("biography") << "retudenMemo1"
                               << "列伝";
    QTest::newRow("sex code under the sex list's caption") << "seibetuEdit1"
                                                           << "性別コード";
    QTest::newRow("list showing 0") << "Aishou1ComboBox1"
                                    << "相性";
    QTest::newRow("face list") << "KaoComboBox1"
                               << "顔CG";
    QTest::newRow("empty disabled list") << "seibetuComboBox1"
                                         << "性別";
    QTest::newRow("spinner") << "UpDown6"
                             << "誕生年の増減";
    QTest::newRow("open tool button") << "ToolButton1"
                                      << "開く";
    QTest::newRow("save tool button") << "ToolButton2"
                                      << "上書き保存";
    QTest::newRow("father's search") << "FindBtn2"
                                     << "実父武将を検索";
    QTest::newRow("enemy's search") << "FindBtn4"
                                    << "敵対武将を検索";
    QTest::newRow("base's keep box") << "FixedCheckBox1"
                                     << "所属領地を固定";
    QTest::newRow("friend's keep box") << "FixedCheckBox4"
                                       << "親友武将を固定";
    QTest::newRow("portrait") << "PaintBox1"
                              << "顔CG: 顔0";
  }
  void mainControlNames() {
    QFETCH(QString, control);
    QFETCH(QString, name);
    EditorFixture fixture;
    TForm1& window = fixture.Start();
    QCOMPARE(Said(Find(window, control)), name);
  }

  void rowsAreToldApart() {
    EditorFixture fixture;
    TForm1& window = fixture.Start();
    QStringList names;
    for (int row = 1; row <= 5; ++row) {
      names << Said(Find(window, QStringLiteral("FindBtn%1").arg(row)));
      names << Said(Find(window, QStringLiteral("FixedCheckBox%1").arg(row)));
    }
    names.removeDuplicates();
    QCOMPARE(names.size(), 10);
  }

  // The list's entry is its value; the arrows of a spinner say which way.
  void listValueAndSpinnerArrows() {
    EditorFixture fixture;
    TForm1& window = fixture.Start();
    QCOMPARE(Said(Find(window, "Aishou1ComboBox1"), QAccessible::Value), QStringLiteral("0"));
    QWidget* spinner = Find(window, "UpDown1");
    QCOMPARE(Said(k4r::testing::Control<QWidget>(*spinner, "up")), QStringLiteral("政治を1増やす"));
    QCOMPARE(Said(k4r::testing::Control<QWidget>(*spinner, "down")), QStringLiteral("政治を1減らす"));
  }

  // A search moves the face list's selection from code, as a load does.
  void portraitNameFollowsTheFace_data() {
    QTest::addColumn<bool>("faceFile");
    QTest::addColumn<QString>("name");
    QTest::newRow("drawn") << true << "顔CG: 顔2";
    QTest::newRow("no face file: nothing drawn") << false << "顔CG: なし";
  }
  void portraitNameFollowsTheFace() {
    QFETCH(bool, faceFile);
    QFETCH(QString, name);
    k4r::testing::EditorFiles files;
    files.facePath = faceFile ? k4r::testing::FacePath::Present : k4r::testing::FacePath::Missing;
    EditorFixture fixture(files);
    TForm1& window = fixture.Start();
    k4r::testing::Control<QComboBox>(window, "KaoComboBox1")->setCurrentIndex(2);
    QCOMPARE(Said(Find(window, "PaintBox1")), name);
  }

  void dialogControlsAreNamed_data() {
    QTest::addColumn<QString>("opener");
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("name");
    QTest::newRow("base search") << "FindBtn1"
                                 << "FindEdit1"
                                 << "所属領地検索";
    QTest::newRow("friend search") << "FindBtn3"
                                   << "FindEdit2"
                                   << "親友武将検索";
    QTest::newRow("face search") << "FindBtn5"
                                 << "FindEdit3"
                                 << "顔CG武将検索";
    QTest::newRow("settings") << "Settings1"
                              << "PathEdit1"
                              << "KAO_M.VX9のファイルパス";
    QTest::newRow("About") << "About1"
                           << ""
                           << "";
  }
  void dialogControlsAreNamed() {
    QFETCH(QString, opener);
    QFETCH(QString, box);
    QFETCH(QString, name);
    k4r::testing::DialogTestBed bed(
        {{QStringLiteral("（なし）"), QStringLiteral("山田一郎")}, {QStringLiteral("一郎")}, {}});
    const QByteArray openerName = opener.toLatin1();
    const std::function<void()> open = opener.startsWith(QLatin1String("FindBtn"))
                                           ? std::function<void()>([&] { bed.MainButton(openerName).click(); })
                                           : std::function<void()>([&] { bed.MainAction(openerName).trigger(); });
    QStringList unnamed;
    QString said;
    const k4r::testing::ModalRun run = k4r::testing::DriveModal(open, [&](QDialog& dialog) {
      unnamed = Unnamed(dialog);
      said = box.isEmpty() ? QString() : Said(Find(dialog, box));
      dialog.reject();
    });
    QVERIFY2(run.problem.isEmpty(), qPrintable(run.problem));
    QCOMPARE(unnamed, QStringList());
    QCOMPARE(said, name);
  }
};

QTEST_MAIN(AccessibilityTest)
#include "Accessibility_test.moc"
