// The portrait's context menu: shown only while faces are available, the
// shown face written out as a PNG, and a picture taken in through the
// preview dialog into the face graphics file, redrawn at once.

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QDialog>
#include <QDialogButtonBox>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QTest>

#include "bridge/Cp932.h"
#include "ui/Main.h"
#include "ui/Prompts.h"
#include "ui/support/EditorFixture.h"
#include "ui/support/ModalDriver.h"

using k4r::testing::Control;
using k4r::testing::DriveModal;
using k4r::testing::EditorFiles;
using k4r::testing::EditorFixture;
using k4r::testing::FacePath;
using k4r::ui::Prompts;
namespace fs = std::filesystem;

Q_DECLARE_METATYPE(k4r::testing::FacePath)

namespace {

QString Q(const fs::path& path) {
  return k4r::bridge::FromPath(path);
}

// 96 x 120 in 120 colours, none of them in the fixture's faces.
QImage Picture() {
  QImage image(96, 120, QImage::Format_RGB32);
  for (int y = 0; y < 120; ++y) {
    for (int x = 0; x < 96; ++x) {
      image.setPixel(x, y, qRgb(7, 2 * y + 1, x < 48 ? 33 : 66));
    }
  }
  return image;
}

}  // namespace

class PortraitMenuTest : public QObject {
  Q_OBJECT

 private slots:
  void cleanup() { QCOMPARE(k4r::testing::TakeLeftoverAnswers(), 0); }

  void shownOnlyWithFaces_data() {
    QTest::addColumn<FacePath>("facePath");
    QTest::addColumn<bool>("faceList");
    QTest::addColumn<bool>("shown");
    QTest::newRow("faces available") << FacePath::Present << true << true;
    QTest::newRow("no face file") << FacePath::Missing << true << false;
    QTest::newRow("no KAO.DAT") << FacePath::Present << false << false;
  }
  void shownOnlyWithFaces() {
    QFETCH(FacePath, facePath);
    QFETCH(bool, faceList);
    QFETCH(bool, shown);
    EditorFiles files;
    files.facePath = facePath;
    files.faceList = faceList;
    EditorFixture fixture(files);
    TForm1& window = fixture.Start();
    window.show();
    Prompts::Shown().clear();
    auto* menu = Control<QMenu>(window, "PortraitMenu1");
    // A right click on the portrait, the context-menu key on the face list.
    for (const auto& [name, reason] :
         {std::pair{"PaintBox1", QContextMenuEvent::Mouse}, std::pair{"KaoComboBox1", QContextMenuEvent::Keyboard}}) {
      QContextMenuEvent event(reason, QPoint(5, 5), QPoint(5, 5));
      QApplication::sendEvent(Control<QWidget>(window, name), &event);
      QCOMPARE(menu->isVisible(), shown);
      menu->hide();
    }
    QCOMPARE(Control<QAction>(window, "ImportFace1")->text(), QStringLiteral("顔画像を取り込む..."));
  }

  void exportsTheShownFace() {
    EditorFixture fixture;
    TForm1& window = fixture.Start();
    Control<QComboBox>(window, "KaoComboBox1")->setCurrentIndex(4);
    const fs::path out = fixture.Folder() / "face.png";
    Prompts::QueueFileAnswer(Q(out));
    Control<QAction>(window, "ExportFace1")->trigger();
    QVERIFY(Prompts::Shown().last().startsWith(QStringLiteral("save-dialog|顔画像を書き出す|")));
    QVERIFY(Prompts::Shown().last().endsWith(QStringLiteral("|0004.png")));
    QImage image;
    QVERIFY(image.load(Q(out)));
    QCOMPARE(image.size(), QSize(96, 120));
    for (const auto& [x, y] : {std::pair{0, 0}, std::pair{95, 119}, std::pair{40, 70}}) {
      QCOMPARE(image.pixel(x, y) & 0xFFFFFFu, k4r::testing::FacePixel(4, x, y));
    }
  }

  void importsThroughThePreview_data() {
    QTest::addColumn<bool>("accept");
    QTest::newRow("OK writes the face") << true;
    QTest::newRow("cancel writes nothing") << false;
  }
  void importsThroughThePreview() {
    QFETCH(bool, accept);
    EditorFixture fixture;
    TForm1& window = fixture.Start();
    window.show();
    Control<QComboBox>(window, "KaoComboBox1")->setCurrentIndex(1);
    const fs::path picture = fixture.Folder() / "me.png";
    QVERIFY(Picture().save(Q(picture)));
    const k4r::ByteString before = k4r::testing::FaceFileBytes();
    Prompts::QueueFileAnswer(Q(picture));
    QString note;
    const k4r::testing::ModalRun run =
        DriveModal([&] { Control<QAction>(window, "ImportFace1")->trigger(); },
                   [&](QDialog& dialog) {
                     note = Control<QLabel>(dialog, "NoteLabel1")->text();
                     QVERIFY(!Control<QLabel>(dialog, "PreviewLabel1")->pixmap().isNull());
                     Control<QComboBox>(dialog, "FitComboBox1")->setCurrentIndex(2);
                     Control<QCheckBox>(dialog, "DitherCheckBox1")->setChecked(false);
                     auto* buttons = dialog.findChild<QDialogButtonBox*>();
                     buttons->button(accept ? QDialogButtonBox::Ok : QDialogButtonBox::Cancel)->click();
                   });
    QVERIFY2(run.problem.isEmpty(), qPrintable(run.problem));
    QVERIFY(note.contains(Q(fixture.FacePathFile())));
    QVERIFY(note.contains(QStringLiteral("顔 1 を書き換えます")));

    const fs::path backup = fs::path(fixture.FacePathFile()).concat(".bak");
    const QImage shown = Control<QWidget>(window, "PaintBox1")->grab().toImage();
    if (!accept) {
      QCOMPARE(k4r::testing::ReadBytes(fixture.FacePathFile()), before);
      QVERIFY(!fs::exists(backup));
      QCOMPARE(shown.pixel(10, 10) & 0xFFFFFFu, k4r::testing::FacePixel(1, 10, 10));
      return;
    }
    QCOMPARE(k4r::testing::ReadBytes(backup), before);
    QVERIFY(k4r::testing::ReadBytes(fixture.FacePathFile()) != before);
    // Redrawn at once, the picture's own colours (few enough to be exact).
    for (const auto& [x, y] : {std::pair{0, 0}, std::pair{95, 119}, std::pair{47, 60}, std::pair{48, 60}}) {
      QCOMPARE(shown.pixel(x, y), Picture().pixel(x, y));
    }
    QCOMPARE(Prompts::Shown().filter(QStringLiteral("box|")), QStringList{});
  }
};

QTEST_MAIN(PortraitMenuTest)
#include "PortraitMenu_test.moc"
