// Where the main window opens and what its close stores: a stored place with
// the title bar off every screen is moved just enough to show it while the
// file keeps it; a window system that does not report the place leaves the
// file alone. Maximising a fixed-size window or showing it full screen is undone.

#include <QDialog>
#include <QFile>
#include <QTest>

#include "core/Settings.h"
#include "ui/Main.h"
#include "ui/WindowPlace.h"
#include "ui/support/DialogTestBed.h"
#include "ui/support/EditorFixture.h"
#include "ui/support/ModalDriver.h"

using k4r::testing::EditorFixture;

namespace {

std::string FileText(const std::filesystem::path& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll().toStdString() : std::string("(none)");
}

}  // namespace

class WindowPlaceTest : public QObject {
  Q_OBJECT

 private slots:
  void titleBarShownJustEnough_data() {
    QTest::addColumn<QPoint>("corner");
    QTest::addColumn<int>("width");
    QTest::addColumn<QPoint>("expected");
    // One screen of 1280 x 800 and one of 1920 x 1080 to its right; the
    // title bar and menu 51 pixels high.
    QTest::newRow("on the screen") << QPoint(230, 100) << 856 << QPoint(230, 100);
    QTest::newRow("Wayland's made-up corner") << QPoint(-3, -30) << 856 << QPoint(-3, 0);
    QTest::newRow("above") << QPoint(300, -50) << 856 << QPoint(300, 0);
    QTest::newRow("below") << QPoint(300, 790) << 856 << QPoint(300, 749);
    QTest::newRow("left of every screen") << QPoint(-900, 100) << 856 << QPoint(-756, 100);
    QTest::newRow("120 pixels showing") << QPoint(-736, 100) << 856 << QPoint(-736, 100);
    QTest::newRow("on the second screen") << QPoint(2000, 900) << 856 << QPoint(2000, 900);
    QTest::newRow("right of both: the nearer") << QPoint(3300, 500) << 856 << QPoint(3100, 500);
    QTest::newRow("in the gap below the first") << QPoint(100, 900) << 856 << QPoint(100, 749);
    QTest::newRow("wider than the screen") << QPoint(-1000, -20) << 1712 << QPoint(-1000, 0);
  }
  void titleBarShownJustEnough() {
    QFETCH(QPoint, corner);
    QFETCH(int, width);
    QFETCH(QPoint, expected);
    const QList<QRect> screens{QRect(0, 0, 1280, 800), QRect(1280, 0, 1920, 1080)};
    QCOMPARE(k4r::ui::ShowTitleBar(corner, QSize(width, 51), screens), expected);
  }

  void storedOnlyWhereThePlaceIsKnown_data() {
    QTest::addColumn<bool>("known");
    QTest::addColumn<QPoint>("stored");
    QTest::newRow("known") << true << QPoint(412, 87);
    QTest::newRow("Wayland") << false << QPoint(-3, -30);
  }
  void storedOnlyWhereThePlaceIsKnown() {
    QFETCH(bool, known);
    QFETCH(QPoint, stored);
    EditorFixture fixture;
    fixture.AppendSettings("[Win]\r\nTop=-30\r\nLeft=-3\r\n");
    const std::string before = FileText(fixture.SettingsPath());
    QVERIFY(k4r::ui::StoreWindowPlace(fixture.SettingsPath(), known, QPoint(412, 87)));
    const k4r::Settings settings = k4r::LoadSettings(fixture.SettingsPath());
    QCOMPARE(QPoint(settings.WinLeft, settings.WinTop), stored);
    if (!known) {
      QCOMPARE(FileText(fixture.SettingsPath()), before);
    }
  }

  // The title bar is brought onto the screen; the file still holds what the
  // last close wrote until the next close writes the real place.
  void offScreenPlaceOpensOnTheScreen() {
    EditorFixture fixture;
    fixture.AppendSettings("[Win]\r\nTop=-30\r\nLeft=-3\r\n");
    const std::string before = FileText(fixture.SettingsPath());
    TForm1& window = fixture.Start();
    QCOMPARE(window.pos(), QPoint(-3, 0));
    QCOMPARE(FileText(fixture.SettingsPath()), before);
  }

  void maximiseAndFullScreenAreUndone_data() {
    QTest::addColumn<Qt::WindowState>("asked");
    QTest::newRow("maximise") << Qt::WindowMaximized;
    QTest::newRow("full screen") << Qt::WindowFullScreen;
  }
  void maximiseAndFullScreenAreUndone() {
    QFETCH(Qt::WindowState, asked);
    EditorFixture fixture;
    TForm1& window = fixture.Start();
    QVERIFY(fixture.ShowActive());
    const QSize size = window.size();
    window.setWindowState(asked);
    QTRY_COMPARE(window.windowState(), Qt::WindowNoState);
    QCOMPARE(window.size(), size);
  }

  void dialogsStayNormal_data() { maximiseAndFullScreenAreUndone_data(); }
  void dialogsStayNormal() {
    QFETCH(Qt::WindowState, asked);
    k4r::testing::DialogTestBed bed({{QStringLiteral("（なし）")}, {QStringLiteral("一郎")}, {}});
    bool undone = false;
    const k4r::testing::ModalRun run = k4r::testing::DriveModal(
        [&] { bed.MainAction("About1").trigger(); },
        [&](QDialog& dialog) {
          const QSize size = dialog.size();
          dialog.setWindowState(asked);
          undone = QTest::qWaitFor([&] { return dialog.windowState() == Qt::WindowNoState; }) && dialog.size() == size;
          dialog.reject();
        });
    QVERIFY2(run.problem.isEmpty(), qPrintable(run.problem));
    QVERIFY(undone);
  }
};

QTEST_MAIN(WindowPlaceTest)
#include "WindowPlace_test.moc"
