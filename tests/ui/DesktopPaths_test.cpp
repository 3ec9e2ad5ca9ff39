// The paths a desktop user meets: a face file in a folder whose name code
// page 932 cannot hold, set through the settings dialog or written into the
// settings file by hand, and name lists found in the data folders when the
// editor starts in a folder without them (as from the application menu).

#include <QAction>
#include <QComboBox>
#include <QDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <filesystem>

#include "bridge/Cp932.h"
#include "bridge/SettingsPath.h"
#include "core/Settings.h"
#include "ui/Main.h"
#include "ui/Prompts.h"
#include "ui/support/EditorFixture.h"
#include "ui/support/ModalDriver.h"

using k4r::testing::Control;
using k4r::testing::EditorFiles;
using k4r::testing::EditorFixture;
using k4r::testing::FacePath;
using k4r::ui::Prompts;
namespace fs = std::filesystem;

namespace {

// A real folder of the fixture for a path written with '/' between names.
fs::path Under(const EditorFixture& fixture, const QString& relative) {
  return fixture.Folder().Path() / k4r::bridge::ToPath(relative);
}

QString Text(const fs::path& path) {
  return k4r::bridge::FromPath(path);
}

// The portrait of the selected face as drawn; FaceAvailable decides whether
// anything is drawn at all.
bool DrawsFace(TForm1& window, int face) {
  window.show();
  const QImage portrait = Control<QWidget>(window, "PaintBox1")->grab().toImage();
  for (const auto& [x, y] : {std::pair{0, 0}, std::pair{50, 60}, std::pair{95, 119}}) {
    if ((portrait.pixel(x, y) & 0xFFFFFFu) != k4r::testing::FacePixel(face, x, y)) {
      return false;
    }
  }
  return true;
}

// The path field's text when the settings dialog opens; `newPath` (when
// given) is then confirmed with OK.
QString ThroughSettingsDialog(TForm1& window, const QString& newPath = {}) {
  QString shown;
  const k4r::testing::ModalRun run =
      k4r::testing::DriveModal([&] { Control<QAction>(window, "Settings1")->trigger(); },
                               [&](QDialog& dialog) {
                                 auto* field = dialog.findChild<QLineEdit*>(QStringLiteral("PathEdit1"));
                                 shown = field->text();
                                 if (newPath.isEmpty()) {
                                   dialog.reject();
                                   return;
                                 }
                                 field->setText(newPath);
                                 dialog.findChild<QPushButton*>(QStringLiteral("OKBtn1"))->click();
                               });
  if (!run.problem.isEmpty()) {
    qWarning("%s", qPrintable(run.problem));
  }
  return shown;
}

}  // namespace

class DesktopPathsTest : public QObject {
  Q_OBJECT

 private slots:
  void cleanup() { QCOMPARE(k4r::testing::TakeLeftoverAnswers(), 0); }

  // Set in the dialog, written as the file system's bytes, used at the next start.
  void facePathOutsideCp932SetThroughTheDialog_data() {
    QTest::addColumn<QString>("folder");
    QTest::newRow("Chinese") << QStringLiteral("tmp/测试");
    QTest::newRow("umlaut home") << QStringLiteral("home/müller");
  }
  void facePathOutsideCp932SetThroughTheDialog() {
    QFETCH(QString, folder);
    EditorFiles files;
    files.facePath = FacePath::Empty;
    EditorFixture fixture(files);
    const fs::path faceFile = Under(fixture, folder) / "KAO_M.VX9";
    fs::create_directories(faceFile.parent_path());
    k4r::testing::WriteBytes(faceFile, k4r::testing::FaceFileBytes());

    TForm1& first = fixture.Start();
    QVERIFY(!first.FaceAvailable());
    QCOMPARE(ThroughSettingsDialog(first, Text(faceFile)), QString());
    QVERIFY2(Prompts::Shown().isEmpty(), qPrintable(Prompts::Shown().join('\n')));
    const std::u8string utf8 = faceFile.u8string();
    QCOMPARE(k4r::LoadSettings(fixture.SettingsPath()).KaoPath, k4r::ByteString(utf8.begin(), utf8.end()));

    TForm1& next = fixture.Start();
    QVERIFY(next.FaceAvailable());
    QCOMPARE(next.KaoPath(), Text(faceFile));
    QVERIFY(DrawsFace(next, 0));
    QCOMPARE(ThroughSettingsDialog(next), Text(faceFile));
  }

  // Written into the settings file by hand, in UTF-8 as Linux editors write,
  // or in code page 932 as earlier versions wrote it.
  void facePathWrittenByHand_data() {
    QTest::addColumn<QString>("folder");
    QTest::addColumn<bool>("asCp932");
    QTest::newRow("UTF-8, outside CP932") << QStringLiteral("测试/müller") << false;
    QTest::newRow("UTF-8, Japanese") << QStringLiteral("ゲーム/江戸") << false;
    QTest::newRow("CP932, written before") << QStringLiteral("ゲーム/江戸") << true;
  }
  void facePathWrittenByHand() {
    QFETCH(QString, folder);
    QFETCH(bool, asCp932);
    EditorFiles files;
    files.facePath = FacePath::Empty;
    EditorFixture fixture(files);
    const fs::path faceFile = Under(fixture, folder) / "KAO_M.VX9";
    fs::create_directories(faceFile.parent_path());
    k4r::testing::WriteBytes(faceFile, k4r::testing::FaceFileBytes());
    const std::u8string utf8 = faceFile.u8string();
    const k4r::ByteString stored =
        asCp932 ? k4r::testing::Sjis(Text(faceFile)) : k4r::ByteString(utf8.begin(), utf8.end());
    k4r::testing::WriteBytes(fixture.SettingsPath(), "[Kao]\r\nPath=" + stored + "\r\n");

    TForm1& window = fixture.Start();
    QVERIFY(window.FaceAvailable());
    QVERIFY(DrawsFace(window, 0));
    QCOMPARE(ThroughSettingsDialog(window), Text(faceFile));
    QVERIFY(Prompts::Shown().isEmpty());
  }

  // Started in a folder without the lists: the data folders hold them.
  void nameListsFromTheDataFolders_data() {
    QTest::addColumn<bool>("inDataHome");
    QTest::addColumn<bool>("inDataDir");
    QTest::addColumn<bool>("inWorkingFolder");
    QTest::addColumn<QString>("firstOfficer");
    QTest::newRow("data home") << true << false << false << QStringLiteral("家の武将");
    QTest::newRow("data dir") << false << true << false << QStringLiteral("共有の武将");
    QTest::newRow("data home before data dir") << true << true << false << QStringLiteral("家の武将");
    QTest::newRow("working folder first") << true << true << true << k4r::testing::OfficerName(1);
  }
  void nameListsFromTheDataFolders() {
    QFETCH(bool, inDataHome);
    QFETCH(bool, inDataDir);
    QFETCH(bool, inWorkingFolder);
    QFETCH(QString, firstOfficer);
    EditorFiles files;
    files.officerList = inWorkingFolder;
    files.faceList = inWorkingFolder;
    EditorFixture fixture(files);
    const auto writeLists = [](const fs::path& folder, const QString& officer) {
      fs::create_directories(folder);
      const QString officers = QStringLiteral("（なし）\r\n%1\r\n").arg(officer);
      k4r::testing::WriteBytes(folder / "BUSHOU.DAT", k4r::testing::Sjis(officers));
      k4r::testing::WriteBytes(folder / "KAO.DAT", k4r::testing::Sjis(QStringLiteral("顔0\r\n顔1\r\n")));
    };
    if (inDataHome) {
      writeLists(fixture.DataHome() / "k4r-editor", QStringLiteral("家の武将"));
    }
    if (inDataDir) {
      writeLists(fixture.DataDir() / "k4r-editor", QStringLiteral("共有の武将"));
    }
    TForm1& window = fixture.Start();
    QVERIFY2(Prompts::Shown().isEmpty(), qPrintable(Prompts::Shown().join('\n')));
    QVERIFY(window.OfficerListAvailable());
    QVERIFY(window.FaceAvailable());
    QCOMPARE(Control<QComboBox>(window, "OyaComboBox1")->itemText(1), firstOfficer);
    QCOMPARE(Control<QComboBox>(window, "KaoComboBox1")->count(), inWorkingFolder ? k4r::testing::kFaceCount : 2);
    QVERIFY(DrawsFace(window, 0));
  }
};

QTEST_MAIN(DesktopPathsTest)
#include "DesktopPaths_test.moc"
