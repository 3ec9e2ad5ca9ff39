// The settings and About dialogs, opened from the main window's menu and
// driven while they are modal; the settings file is a real file on disk.

#ifndef _WIN32
#include <unistd.h>
#endif
#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <filesystem>

#include "bridge/Cp932.h"
#include "bridge/SettingsPath.h"
#include "core/Settings.h"
#include "ui/HomePage.h"
#include "ui/Main.h"
#include "ui/Prompts.h"
#include "ui/support/CaseCompare.h"
#include "ui/support/DialogTestBed.h"
#include "ui/support/EditorFixture.h"
#include "ui/support/ModalDriver.h"

using k4r::testing::BedFiles;
using k4r::testing::DialogTestBed;
using k4r::testing::DriveModal;
using k4r::testing::ModalRun;
using k4r::testing::Sjis;
using k4r::ui::Prompts;
namespace fs = std::filesystem;

namespace {

const QStringList kOfficers = {QStringLiteral("（なし）"), QStringLiteral("山田一郎")};
const QStringList kFaces = {QStringLiteral("一郎")};
const QString kStartPath = QStringLiteral("/ゲーム/Miravel/KAO_M.VX9");
// The file type as the dialog lists it: its description alone.
const QString kFilter = QStringLiteral("Miravel 顔CGファイル(KAO_M.VX9)");

template <typename Widget>
Widget& Child(QDialog& dialog, const char* name) {
  auto* child = dialog.findChild<Widget*>(QString::fromLatin1(name));
  if (child == nullptr) {
    qFatal("no control %s", name);
  }
  return *child;
}

ModalRun OpenSettings(DialogTestBed& bed, const std::function<void(QDialog&)>& act) {
  QAction& item = bed.MainAction("Settings1");
  return DriveModal([&] { item.trigger(); }, act);
}

ModalRun OpenAbout(DialogTestBed& bed, const std::function<void(QDialog&)>& act) {
  QAction& item = bed.MainAction("About1");
  return DriveModal([&] { item.trigger(); }, act);
}

k4r::ByteString StoredFacePath(const DialogTestBed& bed) {
  return k4r::LoadSettings(bed.SettingsPath()).KaoPath;
}

// The bytes the settings file holds for a path (UTF-8 on POSIX, CP932 on Windows).
k4r::ByteString Stored(const QString& path) {
  return k4r::bridge::ToSettingsPath(path).value();
}

QString ErrorLine(const QString& message) {
  return QStringLiteral("box|error|Miravel 登録武将エディタ|") + message + QLatin1Char('.');
}

}  // namespace

class SettingsAboutTest : public QObject {
  Q_OBJECT

 private slots:
  void settingsShowTheStartPathEachTimeAndWriteAtOnce() {
    DialogTestBed bed({kOfficers, kFaces, kStartPath});
    const QString chosen[] = {QStringLiteral("/新しい/場所/KAO_M.VX9"), QStringLiteral("/もう一つ/KAO_M.VX9")};
    for (const QString& path : chosen) {
      QString shown;
      k4r::ByteString storedBeforeClosing;
      const ModalRun run = OpenSettings(bed, [&](QDialog& dialog) {
        shown = Child<QLineEdit>(dialog, "PathEdit1").text();
        Child<QLineEdit>(dialog, "PathEdit1").setText(path);
        // Enter presses OK.
        QTest::keyClick(&Child<QLineEdit>(dialog, "PathEdit1"), Qt::Key_Return);
        storedBeforeClosing = StoredFacePath(bed);
      });
      QVERIFY2(run.problem.isEmpty(), qPrintable(path + QStringLiteral(": ") + run.problem));
      QVERIFY2(run.destroyed, qPrintable(path));
      K4R_CASE_COMPARE(path, shown, kStartPath);
      K4R_CASE_COMPARE(path, storedBeforeClosing, Stored(path));
    }
    // The running editor keeps the path it started with.
    QCOMPARE(bed.Window().KaoPath(), kStartPath);
    QVERIFY(Prompts::Shown().isEmpty());
  }

  void settingsOkWritesTheFieldUnchecked_data() {
    QTest::addColumn<QString>("field");
    QTest::newRow("empty") << QString();
    QTest::newRow("a folder") << QStringLiteral("/tmp");
    QTest::newRow("no such file") << QStringLiteral("/どこにもない/KAO_M.VX9");
    QTest::newRow("spaces kept") << QStringLiteral("  /a b/KAO_M.VX9 ");
  }
  void settingsOkWritesTheFieldUnchecked() {
    QFETCH(QString, field);
    DialogTestBed bed({kOfficers, kFaces, kStartPath});
    const ModalRun run = OpenSettings(bed, [&](QDialog& dialog) {
      Child<QLineEdit>(dialog, "PathEdit1").setText(field);
      Child<QPushButton>(dialog, "OKBtn1").click();
    });
    QVERIFY2(run.problem.isEmpty(), qPrintable(run.problem));
    QVERIFY(run.closed);
    QVERIFY(Prompts::Shown().isEmpty());
    const k4r::ByteString content = k4r::testing::ReadBytes(bed.SettingsPath());
    QVERIFY(content.find("Path=" + Stored(field) + "\r\n") != k4r::ByteString::npos);
  }

  void settingsWriteNothingUnlessConfirmed_data() {
    QTest::addColumn<int>("how");
    QTest::newRow("cancel button") << 0;
    QTest::newRow("escape") << 1;
    QTest::newRow("close box") << 2;
  }
  void settingsWriteNothingUnlessConfirmed() {
    QFETCH(int, how);
    DialogTestBed bed({kOfficers, kFaces, kStartPath});
    const k4r::ByteString before = k4r::testing::ReadBytes(bed.SettingsPath());
    const ModalRun run = OpenSettings(bed, [&](QDialog& dialog) {
      Child<QLineEdit>(dialog, "PathEdit1").setText(QStringLiteral("/別の/KAO_M.VX9"));
      if (how == 0) {
        Child<QPushButton>(dialog, "CancelBtn1").click();
      } else if (how == 1) {
        QTest::keyClick(&Child<QLineEdit>(dialog, "PathEdit1"), Qt::Key_Escape);
      } else {
        dialog.close();
      }
    });
    QVERIFY2(run.problem.isEmpty(), qPrintable(run.problem));
    QVERIFY(run.destroyed);
    QCOMPARE(k4r::testing::ReadBytes(bed.SettingsPath()), before);
  }

  void settingsRefusedWriteIsShownAndTheDialogCloses_data() {
    QTest::addColumn<bool>("readOnlyFolder");
    QTest::newRow("settings file is a folder") << false;
    QTest::newRow("read-only folder") << true;
  }
  void settingsRefusedWriteIsShownAndTheDialogCloses() {
    QFETCH(bool, readOnlyFolder);
#ifdef _WIN32
    if (readOnlyFolder) {
      QSKIP("Windows: a folder's read-only mark does not stop files being written in it");
    }
#else
    if (readOnlyFolder && geteuid() == 0) {
      QSKIP("running as root: file permissions do not stop root from writing");
    }
#endif
    DialogTestBed bed({kOfficers, kFaces, kStartPath});
    const fs::path settings = bed.SettingsPath();
    if (readOnlyFolder) {
      fs::permissions(settings, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
      fs::permissions(bed.Folder().Path(), fs::perms::owner_read | fs::perms::owner_exec);
    } else {
      fs::remove(settings);
      fs::create_directory(settings);
    }
    const ModalRun run = OpenSettings(bed, [&](QDialog& dialog) {
      Child<QLineEdit>(dialog, "PathEdit1").setText(QStringLiteral("/新しい/KAO_M.VX9"));
      Child<QPushButton>(dialog, "OKBtn1").click();
    });
    fs::permissions(bed.Folder().Path(), fs::perms::owner_all);
    QVERIFY2(run.problem.isEmpty(), qPrintable(run.problem));
    QVERIFY(run.closed);
    const QString pathText = QString::fromUtf8(reinterpret_cast<const char*>(settings.u8string().c_str()));
    QCOMPARE(Prompts::Shown(), QStringList{ErrorLine(pathText + QStringLiteral(" に書き込めません"))});
    if (readOnlyFolder) {
      QCOMPARE(StoredFacePath(bed), Sjis(kStartPath));
    }
  }

  // Windows stores the path in its ANSI code page, which lacks "é"; other
  // systems store the file system's own UTF-8 bytes, which hold any path.
  void settingsRefuseAPathTheFileCannotHold() {
    DialogTestBed bed({kOfficers, kFaces, kStartPath});
    const k4r::ByteString before = k4r::testing::ReadBytes(bed.SettingsPath());
    const QString path = QStringLiteral("/home/jos\u00E9/KAO_M.VX9");
    const ModalRun run = OpenSettings(bed, [&](QDialog& dialog) {
      Child<QLineEdit>(dialog, "PathEdit1").setText(path);
      Child<QPushButton>(dialog, "OKBtn1").click();
    });
    QVERIFY2(run.problem.isEmpty(), qPrintable(run.problem));
    QVERIFY(run.closed);
#ifdef _WIN32
    QCOMPARE(Prompts::Shown(),
             QStringList{ErrorLine(QLatin1Char('\'') + path +
                                   QStringLiteral("' には設定ファイルに保存できない文字が含まれています"))});
    QCOMPARE(k4r::testing::ReadBytes(bed.SettingsPath()), before);
#else
    QVERIFY(Prompts::Shown().isEmpty());
    QVERIFY(k4r::testing::ReadBytes(bed.SettingsPath()) != before);
    QCOMPARE(StoredFacePath(bed), k4r::ByteString("/home/jos\xc3\xa9/KAO_M.VX9"));
#endif
  }

  void settingsBrowseFillsTheFieldAndStartsNextFromTheChoice() {
    DialogTestBed bed({kOfficers, kFaces, {}});
    // Folders as Qt and its file dialog spell them; the field shows the system's form.
    const QString gameFolder = QDir::fromNativeSeparators(QString::fromStdString((bed.Folder() / "game").string()));
    QDir().mkpath(gameFolder);
    const QString firstChoice = gameFolder + QStringLiteral("/KAO_M.VX9");  // need not exist
    Prompts::QueueFileAnswer(firstChoice);
    Prompts::QueueFileAnswer(QString());  // the second browse is cancelled
    QStringList fieldAfter;
    const ModalRun run = OpenSettings(bed, [&](QDialog& dialog) {
      auto& browse = Child<QPushButton>(dialog, "OpenFileBtn1");
      fieldAfter << Child<QLineEdit>(dialog, "PathEdit1").text();
      browse.click();
      fieldAfter << Child<QLineEdit>(dialog, "PathEdit1").text();
      browse.click();
      fieldAfter << Child<QLineEdit>(dialog, "PathEdit1").text();
      Child<QPushButton>(dialog, "CancelBtn1").click();
    });
    QVERIFY2(run.problem.isEmpty(), qPrintable(run.problem));
    const QString shownChoice = QDir::toNativeSeparators(firstChoice);
    QCOMPARE(fieldAfter, (QStringList{QString(), shownChoice, shownChoice}));
    const QString request = QStringLiteral("open-dialog|開く|%1|") + kFilter + QStringLiteral("|KAO_M.VX9");
    QCOMPARE(Prompts::Shown(), (QStringList{request.arg(QDir::currentPath()), request.arg(gameFolder)}));
  }

  void settingsBrowseStartsInTheFolderOfTheStartPath() {
    DialogTestBed bed({kOfficers, kFaces, {}});
    // A bed whose start path names a real folder.
    const QString folder = QDir::fromNativeSeparators(QString::fromStdString(bed.Folder().Path().string()));
    DialogTestBed second({kOfficers, kFaces, folder + QStringLiteral("/KAO_M.VX9")});
    Prompts::QueueFileAnswer(QString());
    const ModalRun run = OpenSettings(second, [&](QDialog& dialog) {
      Child<QPushButton>(dialog, "OpenFileBtn1").click();
      dialog.reject();
    });
    QVERIFY2(run.problem.isEmpty(), qPrintable(run.problem));
    QCOMPARE(Prompts::Shown(), QStringList{QStringLiteral("open-dialog|開く|%1|%2|KAO_M.VX9").arg(folder, kFilter)});
  }

  // On a dark palette the link takes the palette's link colour, not dark blue.
  void aboutLinkInThePalettesLinkColour() {
    const QPalette original = QApplication::palette();
    QPalette dark = original;
    dark.setColor(QPalette::Window, QColor(45, 45, 48));
    dark.setColor(QPalette::WindowText, QColor(230, 230, 230));
    dark.setColor(QPalette::Link, QColor(120, 180, 255));
    QApplication::setPalette(dark);
    DialogTestBed bed({kOfficers, kFaces, {}});
    QColor linkColour;
    const ModalRun run = OpenAbout(bed, [&](QDialog& dialog) {
      const QLabel& label4 = Child<QLabel>(dialog, "Label4");
      linkColour = label4.palette().color(label4.foregroundRole());
      dialog.accept();
    });
    QApplication::setPalette(original);
    QVERIFY2(run.problem.isEmpty(), qPrintable(run.problem));
    QCOMPARE(linkColour, QColor(120, 180, 255));
  }

  void aboutShowsNameVersionCreditAndLink() {
    DialogTestBed bed({kOfficers, kFaces, {}});
    QString caption, title, version, credit, link;
    QFont titleFont, versionFont, linkFont;
    QColor linkColour;
    Qt::CursorShape linkCursor = Qt::ArrowCursor;
    QSize iconSize;
    const ModalRun run = OpenAbout(bed, [&](QDialog& dialog) {
      caption = dialog.windowTitle();
      title = Child<QLabel>(dialog, "Label1").text();
      titleFont = Child<QLabel>(dialog, "Label1").font();
      version = Child<QLabel>(dialog, "Label2").text();
      versionFont = Child<QLabel>(dialog, "Label2").font();
      credit = Child<QLabel>(dialog, "Label3").text();
      QLabel& label4 = Child<QLabel>(dialog, "Label4");
      link = label4.text();
      linkFont = label4.font();
      linkColour = label4.palette().color(label4.foregroundRole());
      linkCursor = label4.cursor().shape();
      iconSize = Child<QLabel>(dialog, "Image1").pixmap().size();
      dialog.accept();
    });
    QVERIFY2(run.problem.isEmpty(), qPrintable(run.problem));
    QCOMPARE(caption, QStringLiteral("Miravel 登録武将エディタのバージョン情報"));
    QCOMPARE(title, QStringLiteral("Kestrune Miravel 登録武将エディタ"));
    QVERIFY(titleFont.bold());
    QCOMPARE(titleFont.pixelSize(), 17);
    QCOMPARE(version, QStringLiteral("ver : 0.4"));
    QVERIFY(versionFont.bold());
    QCOMPARE(versionFont.pixelSize(), 12);
    QVERIFY(!credit.isEmpty());
    QCOMPARE(link, k4r::ui::kHomePageAddress);
    QVERIFY(link.startsWith(QStringLiteral("https://")));
    QVERIFY(linkFont.underline());
    QCOMPARE(linkColour, QColor(0, 0, 255));
    QCOMPARE(linkCursor, Qt::PointingHandCursor);
    QCOMPARE(iconSize, QSize(32, 32));
  }

  void aboutLinkOpensTheHomePageAndCloses() {
    DialogTestBed bed({kOfficers, kFaces, {}});
    const ModalRun run =
        OpenAbout(bed, [&](QDialog& dialog) { QTest::mouseClick(&Child<QLabel>(dialog, "Label4"), Qt::LeftButton); });
    QVERIFY2(run.problem.isEmpty(), qPrintable(run.problem));
    QVERIFY(run.destroyed);
    QCOMPARE(Prompts::Shown(), QStringList{QStringLiteral("url|") + k4r::ui::kHomePageAddress});
  }

  void aboutClosesEveryWay_data() {
    QTest::addColumn<int>("how");
    QTest::newRow("OK") << 0;
    QTest::newRow("enter") << 1;
    QTest::newRow("escape") << 2;
    QTest::newRow("close box") << 3;
  }
  void aboutClosesEveryWay() {
    QFETCH(int, how);
    DialogTestBed bed({kOfficers, kFaces, {}});
    const ModalRun run = OpenAbout(bed, [&](QDialog& dialog) {
      auto& ok = Child<QPushButton>(dialog, "OkBtn1");
      switch (how) {
        case 0: ok.click(); break;
        case 1: QTest::keyClick(&ok, Qt::Key_Return); break;
        case 2: QTest::keyClick(&ok, Qt::Key_Escape); break;
        default: dialog.close(); break;
      }
    });
    QVERIFY2(run.problem.isEmpty(), qPrintable(run.problem));
    QVERIFY(run.destroyed);
    QVERIFY(Prompts::Shown().isEmpty());
  }
};

QTEST_MAIN(SettingsAboutTest)
#include "SettingsAbout_test.moc"
