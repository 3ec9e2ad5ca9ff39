// Where the five dialogs open and the frame they open in: a fixed offset from
// the main window's top-left corner, pulled onto the screen when the offset
// would put them partly off it; fixed size, font and default button.

#include <QAbstractButton>
#include <QAction>
#include <QDialog>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QTest>

#include "ui/DialogFrame.h"
#include "ui/Main.h"
#include "ui/Prompts.h"
#include "ui/support/CaseCompare.h"
#include "ui/support/DialogTestBed.h"
#include "ui/support/ModalDriver.h"

using k4r::testing::DialogTestBed;
using k4r::testing::DriveModal;
using k4r::testing::ModalRun;

namespace {

const k4r::testing::BedFiles kFiles{
    {QStringLiteral("（なし）"), QStringLiteral("山田一郎")}, {QStringLiteral("一郎")}, {}};

// The main window's control that opens each dialog.
struct Opener {
  const char* name;
  bool isMenuItem;
};
const Opener kOpeners[] = {
    {"FindBtn1", false}, {"FindBtn3", false}, {"FindBtn5", false}, {"Settings1", true}, {"About1", true},
};

ModalRun OpenWith(DialogTestBed& bed, int which, const std::function<void(QDialog&)>& act) {
  const Opener& opener = kOpeners[which];
  if (opener.isMenuItem) {
    QAction& item = bed.MainAction(opener.name);
    return DriveModal([&] { item.trigger(); }, act);
  }
  QAbstractButton& button = bed.MainButton(opener.name);
  return DriveModal([&] { button.click(); }, act);
}

void AddDialogRows() {
  QTest::addColumn<int>("which");
  QTest::newRow("base search") << 0;
  QTest::newRow("officer search") << 1;
  QTest::newRow("face search") << 2;
  QTest::newRow("settings") << 3;
  QTest::newRow("About") << 4;
}

const QPoint kOffsets[] = {{500, 240}, {200, 275}, {140, 175}, {150, 100}, {130, 100}};

}  // namespace

class DialogFramesTest : public QObject {
  Q_OBJECT

 private slots:
  void fitInsideMovesJustEnough_data() {
    QTest::addColumn<QRect>("frame");
    QTest::addColumn<QPoint>("expected");
    QTest::newRow("inside") << QRect(100, 100, 259, 73) << QPoint(100, 100);
    QTest::newRow("touching the corner") << QRect(541, 527, 259, 73) << QPoint(541, 527);
    QTest::newRow("over the right edge") << QRect(730, 340, 259, 73) << QPoint(541, 340);
    QTest::newRow("over the bottom edge") << QRect(100, 580, 259, 73) << QPoint(100, 527);
    QTest::newRow("over both") << QRect(790, 590, 379, 85) << QPoint(421, 515);
    QTest::newRow("over the left and top") << QRect(-40, -5, 259, 73) << QPoint(0, 0);
    QTest::newRow("larger than the screen") << QRect(10, 10, 900, 700) << QPoint(0, 0);
  }
  void fitInsideMovesJustEnough() {
    QFETCH(QRect, frame);
    QFETCH(QPoint, expected);
    QCOMPARE(k4r::ui::FitInside(frame, QRect(0, 0, 800, 600)), expected);
    // A screen that does not start at the origin.
    QCOMPARE(k4r::ui::FitInside(frame.translated(1000, 50), QRect(1000, 50, 800, 600)), expected + QPoint(1000, 50));
  }

  void dialogsOpenAtTheirOffset_data() { AddDialogRows(); }
  void dialogsOpenAtTheirOffset() {
    QFETCH(int, which);
    DialogTestBed bed(kFiles);
    // Two places of the main window from which every dialog fits on the
    // 800 x 600 test screen; the second after moving the window.
    for (const QPoint mainAt : {QPoint(30, 60), QPoint(10, 20)}) {
      bed.Window().move(mainAt);
      QTRY_COMPARE(bed.Window().frameGeometry().topLeft(), mainAt);
      QPoint dialogAt;
      const ModalRun run = OpenWith(bed, which, [&](QDialog& dialog) {
        dialogAt = dialog.frameGeometry().topLeft();
        dialog.reject();
      });
      const QString place = QStringLiteral("main window at %1,%2").arg(mainAt.x()).arg(mainAt.y());
      QVERIFY2(run.problem.isEmpty(), qPrintable(place + QStringLiteral(": ") + run.problem));
      K4R_CASE_COMPARE(place, dialogAt, mainAt + kOffsets[which]);
    }
  }

  void settingsAndAboutAtTheDefaultWindowPlace() {
    // The window's default place: left 230, top 100.
    DialogTestBed bed(kFiles);
    bed.Window().move(230, 100);
    QPoint settingsAt, aboutAt;
    QVERIFY(OpenWith(bed, 3, [&](QDialog& dialog) {
              settingsAt = dialog.pos();
              dialog.reject();
            }).problem.isEmpty());
    QVERIFY(OpenWith(bed, 4, [&](QDialog& dialog) {
              aboutAt = dialog.pos();
              dialog.reject();
            }).problem.isEmpty());
    QCOMPARE(settingsAt, QPoint(380, 200));
    QCOMPARE(aboutAt, QPoint(360, 200));
  }

  void dialogsNearTheScreenEdgeStayWhollyOnIt_data() { AddDialogRows(); }
  void dialogsNearTheScreenEdgeStayWhollyOnIt() {
    QFETCH(int, which);
    DialogTestBed bed(kFiles);
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    bed.Window().move(screen.right() - 100, screen.bottom() - 50);
    QRect dialogFrame;
    const ModalRun run = OpenWith(bed, which, [&](QDialog& dialog) {
      dialogFrame = dialog.frameGeometry();
      dialog.reject();
    });
    QVERIFY2(run.problem.isEmpty(), qPrintable(run.problem));
    // Pushed back to the right and bottom edges exactly, not further.
    QCOMPARE(dialogFrame.right(), screen.right());
    QCOMPARE(dialogFrame.bottom(), screen.bottom());
  }

  void framesAreFixedInTheWindowFont_data() {
    QTest::addColumn<int>("which");
    QTest::addColumn<QSize>("clientSize");
    QTest::addColumn<QString>("defaultButton");
    QTest::addColumn<QString>("caption");
    QTest::newRow("base search") << 0 << QSize(259, 73) << QStringLiteral("FindBtn1") << QStringLiteral("所属領地検索");
    QTest::newRow("officer search") << 1 << QSize(259, 73) << QStringLiteral("FindBtn2")
                                    << QStringLiteral("親友武将検索");
    QTest::newRow("face search") << 2 << QSize(259, 73) << QStringLiteral("FindBtn3") << QStringLiteral("顔CG武将検索");
    QTest::newRow("settings") << 3 << QSize(379, 85) << QStringLiteral("OKBtn1") << QStringLiteral("設定");
    QTest::newRow("About") << 4 << QSize(397, 106) << QStringLiteral("OkBtn1")
                           << QStringLiteral("Miravel 登録武将エディタのバージョン情報");
  }
  void framesAreFixedInTheWindowFont() {
    QFETCH(int, which);
    QFETCH(QSize, clientSize);
    QFETCH(QString, defaultButton);
    QFETCH(QString, caption);
    DialogTestBed bed(kFiles);
    QSize size, minimum, maximum;
    Qt::WindowFlags flags;
    QString shownCaption, defaultName;
    std::vector<std::pair<QString, int>> pixelSizes;
    QStringList families;
    const ModalRun run = OpenWith(bed, which, [&](QDialog& dialog) {
      size = dialog.size();
      minimum = dialog.minimumSize();
      maximum = dialog.maximumSize();
      flags = dialog.windowFlags();
      shownCaption = dialog.windowTitle();
      for (QPushButton* button : dialog.findChildren<QPushButton*>()) {
        if (button->isDefault()) {
          defaultName += button->objectName();
        }
      }
      for (QWidget* control : dialog.findChildren<QWidget*>()) {
        if (control->objectName() != QStringLiteral("Label1") || which < 4) {
          pixelSizes.emplace_back(
              QString::fromLatin1(control->metaObject()->className()) + QLatin1Char(' ') + control->objectName(),
              control->font().pixelSize());
          families << control->fontInfo().family();
        }
      }
      dialog.reject();
    });
    QVERIFY2(run.problem.isEmpty(), qPrintable(run.problem));
    QCOMPARE(size, clientSize);
    QCOMPARE(minimum, clientSize);
    QCOMPARE(maximum, clientSize);
    QVERIFY(!(flags & Qt::WindowMinimizeButtonHint));
    QVERIFY(!(flags & Qt::WindowMaximizeButtonHint));
    QVERIFY(flags & Qt::WindowCloseButtonHint);
    QCOMPARE(shownCaption, caption);
    QCOMPARE(defaultName, defaultButton);
    QVERIFY(!pixelSizes.empty());
    for (const auto& [control, pixels] : pixelSizes) {
      K4R_CASE_COMPARE(control, pixels, 12);
    }
    // Every control in the same font as the dialog.
    families.removeDuplicates();
    QVERIFY2(families.size() == 1, qPrintable(families.join(QStringLiteral(", "))));
  }
};

QTEST_MAIN(DialogFramesTest)
#include "DialogFrames_test.moc"
