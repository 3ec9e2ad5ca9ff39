// The editor's entry: its command line (read after Qt took its own options),
// the usage errors of the real program, and Qt's own texts in Japanese.

#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QProcess>
#include <QTest>
#include <memory>

#include "ui/CommandLine.h"
#include "ui/QtJapanese.h"

namespace {

struct EditorRun {
  int exitCode = -1;
  QString errors;
};

EditorRun RunEditor(const QStringList& arguments) {
  QProcess editor;
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
  editor.setProcessEnvironment(environment);
  editor.start(QStringLiteral(K4R_BIN_DIR "/k4r-editor"), arguments);
  // A usage error ends the program at once; a started editor would not end.
  if (!editor.waitForFinished(60000)) {
    editor.kill();
    editor.waitForFinished();
    return {};
  }
  // Windows' C runtime ends lines with CR LF.
  return {editor.exitCode(),
          QString::fromUtf8(editor.readAllStandardError()).replace(QStringLiteral("\r\n"), QStringLiteral("\n"))};
}

QStringList MenuTexts(QWidget& box) {
  QStringList texts;
  const std::unique_ptr<QMenu> menu(qobject_cast<QLineEdit*>(&box) != nullptr
                                        ? static_cast<QLineEdit&>(box).createStandardContextMenu()
                                        : static_cast<QPlainTextEdit&>(box).createStandardContextMenu());
  for (const QAction* action : menu->actions()) {
    if (!action->isSeparator()) {
      texts << action->text().section(QLatin1Char('\t'), 0, 0);
    }
  }
  return texts;
}

}  // namespace

class EditorEntryTest : public QObject {
  Q_OBJECT

 private slots:
  void commandLine_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("file");
    QTest::addColumn<bool>("valid");
    QTest::newRow("nothing") << QStringList{} << QString() << true;
    QTest::newRow("one file") << QStringList{"A.K4R"} << QStringLiteral("A.K4R") << true;
    QTest::newRow("unknown long option") << QStringList{"--foo"} << QString() << false;
    QTest::newRow("two files") << QStringList{"A.K4R", "B.K4R"} << QString() << false;
    QTest::newRow("second file after --") << QStringList{"A.K4R", "--", "B.K4R"} << QString() << false;
    QTest::newRow("dash name after --") << QStringList{"--", "-x.K4R"} << QStringLiteral("-x.K4R") << true;
    QTest::newRow("lone dash is a name") << QStringList{"-"} << QStringLiteral("-") << true;
  }
  void commandLine() {
    QFETCH(QStringList, arguments);
    QFETCH(QString, file);
    QFETCH(bool, valid);
    const k4r::ui::EditorCommandLine line =
        k4r::ui::ReadEditorCommandLine(QStringList{QStringLiteral("k4r-editor")} + arguments);
    QCOMPARE(line.usageError.isEmpty(), valid);
    QCOMPARE(line.file, file);
  }

  // The real program: exit 2 with the reason and the usage line on stderr;
  // Qt's own options are Qt's, and not an error.
  void usageErrorsOfTheProgram_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("named");
    QTest::newRow("unknown option") << QStringList{"--foo"} << QStringLiteral("'--foo'");
    QTest::newRow("two files") << QStringList{"A.K4R", "B.K4R"} << QStringLiteral("'A.K4R' 'B.K4R'");
    QTest::newRow("after a Qt option") << QStringList{"-style", "fusion", "-x"} << QStringLiteral("'-x'");
  }
  void usageErrorsOfTheProgram() {
    QFETCH(QStringList, arguments);
    QFETCH(QString, named);
    const EditorRun run = RunEditor(arguments);
    QCOMPARE(run.exitCode, 2);
    QVERIFY2(run.errors.contains(named), qPrintable(run.errors));
    QVERIFY2(run.errors.endsWith(k4r::ui::kEditorUsage + QLatin1Char('\n')), qPrintable(run.errors));
  }

  // The edit boxes' context menus in Japanese, whatever the language of the
  // environment the test runs in.
  void qtTextsInJapanese() {
    QVERIFY(k4r::ui::InstallQtJapanese(*QCoreApplication::instance()));
    QLineEdit line;
    QPlainTextEdit memo;
    for (QWidget* box : std::initializer_list<QWidget*>{&line, &memo}) {
      const QStringList texts = MenuTexts(*box);
      const QString shown =
          QString::fromLatin1(box->metaObject()->className()) + QStringLiteral(": ") + texts.join(QLatin1Char(','));
      QVERIFY2(texts.contains(QStringLiteral("元に戻す(&U)")), qPrintable(shown));
      QVERIFY2(texts.contains(QStringLiteral("貼り付け(&P)")), qPrintable(shown));
    }
  }
};

QTEST_MAIN(EditorEntryTest)
#include "EditorEntry_test.moc"
