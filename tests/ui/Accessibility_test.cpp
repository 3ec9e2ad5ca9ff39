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
#include "ui/support/DialogTestBed.h"
#include "ui/support/EditorFixture.h"
#include "ui/support/ModalDriver.h"

using k4r::testing::EditorFixture;

namespace {

QString Said(QWidget* control) {
  QAccessibleInterface* seen = QAccessible::queryAccessibleInterface(control);
  return seen == nullptr ? QString() : seen->text(QAccessible::Name);
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

// Each dialog, the main window's control that opens it, its text box and the
// name the box must have.
struct DialogCase {
  const char* opener;
  const char* box;
  const char* name;
};
const DialogCase kDialogs[] = {{"FindBtn1", "FindEdit1", "所属領地検索"},
                               {"FindBtn3", "FindEdit2", "親友武将検索"},
                               {"FindBtn5", "FindEdit3", "顔CG武将検索"},
                               {"Settings1", "PathEdit1", "KAO_M.VX9のファイルパス"},
                               {"About1", nullptr, ""}};

QWidget* Find(QWidget& window, const QString& name) {
  return k4r::testing::Control<QWidget>(window, name.toLatin1().constData());
}

}  // namespace

class AccessibilityTest : public QObject {
  Q_OBJECT

 private slots:
  void everyMainControlIsNamedAndRowsToldApart() {
    EditorFixture fixture;
    TForm1& window = fixture.Start();
    QCOMPARE(Unnamed(window), QStringList());
    QStringList rows;
    for (int row = 1; row <= 5; ++row) {
      rows << Said(Find(window, QStringLiteral("FindBtn%1").arg(row)))
           << Said(Find(window, QStringLiteral("FixedCheckBox%1").arg(row)));
    }
    rows.removeDuplicates();
    QCOMPARE(rows.size(), 10);
  }

  void mainControlNames_data() {
    QTest::addColumn<QString>("control");
    QTest::addColumn<QString>("name");
    QTest::newRow("name box") << "sei1Edit1"
                              << "姓";
    QTest::newRow("ability box") << "seijiEdit1"
                                 << "政治";
    QTest::newRow("biography") << "retudenMemo1"
                               << "列伝";
    QTest::newRow("sex code under the sex list's caption") << "seibetuEdit1"
                                                           << "性別コード";
    QTest::newRow("list showing 0") << "Aishou1ComboBox1"
                                    << "相性";
    QTest::newRow("empty disabled list") << "seibetuComboBox1"
                                         << "性別";
    QTest::newRow("spinner") << "UpDown6"
                             << "誕生年の増減";
    QTest::newRow("save tool button") << "ToolButton2"
                                      << "上書き保存";
    QTest::newRow("father's search") << "FindBtn2"
                                     << "実父武将を検索";
    QTest::newRow("friend's keep box") << "FixedCheckBox4"
                                       << "親友武将を固定";
  }
  void mainControlNames() {
    QFETCH(QString, control);
    QFETCH(QString, name);
    EditorFixture fixture;
    TForm1& window = fixture.Start();
    QCOMPARE(Said(Find(window, control)), name);
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
    QTest::addColumn<int>("which");
    for (int which = 0; which < 5; ++which) {
      QTest::newRow(kDialogs[which].opener) << which;
    }
  }
  void dialogControlsAreNamed() {
    QFETCH(int, which);
    const DialogCase& dialogCase = kDialogs[which];
    k4r::testing::DialogTestBed bed({{QStringLiteral("（なし）")}, {QStringLiteral("一郎")}, {}});
    const auto open = [&] {
      if (which < 3) {
        bed.MainButton(dialogCase.opener).click();
      } else {
        bed.MainAction(dialogCase.opener).trigger();
      }
    };
    QStringList unnamed;
    QString said;
    const k4r::testing::ModalRun run = k4r::testing::DriveModal(open, [&](QDialog& dialog) {
      unnamed = Unnamed(dialog);
      said = dialogCase.box == nullptr ? QString() : Said(Find(dialog, QString::fromLatin1(dialogCase.box)));
      dialog.reject();
    });
    QVERIFY2(run.problem.isEmpty(), qPrintable(run.problem));
    QCOMPARE(unnamed, QStringList());
    QCOMPARE(said, QString::fromUtf8(dialogCase.name));
  }
};

QTEST_MAIN(AccessibilityTest)
#include "Accessibility_test.moc"
