// The three search dialogs, opened from the main window's "検索..." buttons
// and driven while they are modal, over real name list files.

#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QEvent>
#include <QImage>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QWidget>
#include <vector>

#include "bridge/Cp932.h"
#include "core/Vocabulary.h"
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
using k4r::ui::Prompts;

namespace {

const QStringList kOfficers = {QStringLiteral("（なし）"), QStringLiteral("山田一郎"), QStringLiteral("佐藤次郎"),
                               QStringLiteral("山本三郎"), QStringLiteral("田中四郎"), QStringLiteral("山田五郎"),
                               QStringLiteral("木村六郎")};
const QStringList kFaces = {QStringLiteral("一郎"), QStringLiteral("次郎"), QStringLiteral("三郎"),
                            QStringLiteral("四郎"), QStringLiteral("五郎"), QStringLiteral("六郎")};

// One search dialog as the user reaches it: the main window's button, the
// dialog's own controls, and the list it moves.
struct SearchDialogUse {
  const char* mainButton;
  const char* edit;
  const char* findButton;
  const char* list;
};
const SearchDialogUse kBaseSearch{"FindBtn1", "FindEdit1", "FindBtn1", "KyotenComboBox1"};
const SearchDialogUse kFatherSearch{"FindBtn2", "FindEdit2", "FindBtn2", "OyaComboBox1"};
const SearchDialogUse kFriendSearch{"FindBtn3", "FindEdit2", "FindBtn2", "TomoComboBox1"};
const SearchDialogUse kEnemySearch{"FindBtn4", "FindEdit2", "FindBtn2", "TekiComboBox1"};
const SearchDialogUse kFaceSearch{"FindBtn5", "FindEdit3", "FindBtn3", "KaoComboBox1"};

QString NotFoundLine(const QString& typed) {
  return QStringLiteral("box|information|情報|\u201D") + typed + QStringLiteral("\u201D\u3000は見つかりませんでした。");
}

QLineEdit& EditOf(QDialog& dialog, const SearchDialogUse& use) {
  auto* edit = dialog.findChild<QLineEdit*>(QString::fromLatin1(use.edit));
  if (edit == nullptr) {
    qFatal("no edit box %s", use.edit);
  }
  return *edit;
}

QPushButton& FindButtonOf(QDialog& dialog, const SearchDialogUse& use) {
  auto* button = dialog.findChild<QPushButton*>(QString::fromLatin1(use.findButton));
  if (button == nullptr) {
    qFatal("no search button %s", use.findButton);
  }
  return *button;
}

QComboBox& ListOf(TForm1& window, const char* name) {
  auto* list = window.findChild<QComboBox*>(QString::fromLatin1(name));
  if (list == nullptr) {
    qFatal("no list %s", name);
  }
  return *list;
}

// Opens the dialog with the main window's button and runs `act` on it.
ModalRun Open(DialogTestBed& bed, const SearchDialogUse& use, const std::function<void(QDialog&)>& act) {
  QAbstractButton& button = bed.MainButton(use.mainButton);
  return DriveModal([&] { button.click(); }, act);
}

// Japanese text arrives from the input method as committed strings, one
// character at a time here, as a user confirms each conversion.
void Type(QLineEdit& edit, const QString& text) {
  for (const QChar character : text) {
    QInputMethodEvent commit;
    commit.setCommitString(QString(character));
    QApplication::sendEvent(&edit, &commit);
  }
}

void PressEnter(QLineEdit& edit) {
  QTest::keyClick(&edit, Qt::Key_Return);
}
void PressEscape(QDialog& dialog) {
  QWidget* focused = dialog.focusWidget() != nullptr ? dialog.focusWidget() : &dialog;
  QTest::keyClick(focused, Qt::Key_Escape);
}

// Counts the paintings of one widget.
class PaintCounter : public QObject {
 public:
  int count = 0;

 protected:
  bool eventFilter(QObject* /*watched*/, QEvent* event) override {
    if (event->type() == QEvent::Paint) {
      ++count;
    }
    return false;
  }
};

// Positions of the base list whose name holds `text`, in list order.
std::vector<int> BasesHolding(const QString& text) {
  std::vector<int> positions;
  const auto entries = k4r::vocabulary::Bases().entries;
  for (std::size_t i = 0; i < entries.size(); ++i) {
    if (k4r::bridge::FromCp932(entries[i]).contains(text)) {
      positions.push_back(static_cast<int>(i));
    }
  }
  return positions;
}

}  // namespace

class SearchDialogsTest : public QObject {
  Q_OBJECT

 private slots:
  void baseSearchWalksEveryCastleInOrderThenWraps() {
    DialogTestBed bed({kOfficers, kFaces, {}});
    QComboBox& bases = ListOf(bed.Window(), "KyotenComboBox1");
    const std::vector<int> castles = BasesHolding(QStringLiteral("城"));
    QVERIFY(castles.size() > 10);
    // The list starts on its last position, so the first search starts over.
    QCOMPARE(bases.currentIndex(), 99);

    std::vector<int> visited;
    bool focusStayed = true;
    const ModalRun run = Open(bed, kBaseSearch, [&](QDialog& dialog) {
      QLineEdit& edit = EditOf(dialog, kBaseSearch);
      Type(edit, QStringLiteral("城"));
      for (std::size_t press = 0; press < castles.size() + 2; ++press) {
        if (press % 2 == 0) {
          PressEnter(edit);
        } else {
          QTest::mouseClick(&FindButtonOf(dialog, kBaseSearch), Qt::LeftButton);
          focusStayed = focusStayed && dialog.focusWidget() == &edit;
        }
        visited.push_back(bases.currentIndex());
      }
      PressEscape(dialog);
    });
    QVERIFY2(run.problem.isEmpty(), qPrintable(run.problem));
    QVERIFY(run.destroyed);

    std::vector<int> expected = castles;
    expected.push_back(castles[0]);
    expected.push_back(castles[1]);
    QCOMPARE(visited, expected);
    QVERIFY(focusStayed);
    QVERIFY(Prompts::Shown().isEmpty());
  }

  void officerSearchServesTheListOfItsButton_data() {
    QTest::addColumn<int>("which");
    QTest::addColumn<QString>("caption");
    QTest::newRow("father") << 0 << QStringLiteral("実父武将検索");
    QTest::newRow("friend") << 1 << QStringLiteral("親友武将検索");
    QTest::newRow("enemy") << 2 << QStringLiteral("敵対武将検索");
  }
  void officerSearchServesTheListOfItsButton() {
    QFETCH(int, which);
    QFETCH(QString, caption);
    const SearchDialogUse uses[] = {kFatherSearch, kFriendSearch, kEnemySearch};
    const SearchDialogUse& use = uses[which];
    DialogTestBed bed({kOfficers, kFaces, {}});
    // Another mode left over from an earlier opening must not matter.
    bed.Window().SetFindMode((which + 1) % 3);

    QString shownCaption;
    std::vector<int> visited;
    const ModalRun run = Open(bed, use, [&](QDialog& dialog) {
      shownCaption = dialog.windowTitle();
      QLineEdit& edit = EditOf(dialog, use);
      Type(edit, QStringLiteral("山田"));
      for (int press = 0; press < 3; ++press) {
        PressEnter(edit);
        visited.push_back(ListOf(bed.Window(), use.list).currentIndex());
      }
      PressEscape(dialog);
    });
    QVERIFY2(run.problem.isEmpty(), qPrintable(run.problem));
    QCOMPARE(shownCaption, caption);
    QCOMPARE(bed.Window().FindMode(), which);
    QCOMPARE(visited, (std::vector<int>{1, 5, 1}));
    for (const SearchDialogUse& other : uses) {
      if (other.list != use.list) {
        K4R_CASE_COMPARE(other.list, ListOf(bed.Window(), other.list).currentIndex(), 0);
      }
    }
  }

  // The list file holds 0x8160 (shown as ～); an input method types 〜.
  void typedWaveDashFindsTheEntryHoldingItsWindowsCode() {
    QStringList officers = kOfficers;
    officers.insert(3, QStringLiteral("波\uFF5E平"));
    DialogTestBed bed({officers, kFaces, {}});
    const ModalRun run = Open(bed, kFatherSearch, [&](QDialog& dialog) {
      QLineEdit& edit = EditOf(dialog, kFatherSearch);
      Type(edit, QStringLiteral("\u301C平"));
      PressEnter(edit);
      PressEscape(dialog);
    });
    QVERIFY2(run.problem.isEmpty(), qPrintable(run.problem));
    QCOMPARE(ListOf(bed.Window(), "OyaComboBox1").currentIndex(), 3);
    QVERIFY(Prompts::Shown().isEmpty());
  }

  void emptiedTextDisablesTheSearchButton_data() {
    QTest::addColumn<int>("which");
    QTest::addColumn<bool>("enabledAtOpening");
    QTest::newRow("base") << 0 << false;
    QTest::newRow("officer") << 1 << false;
    QTest::newRow("face") << 2 << true;
  }
  void emptiedTextDisablesTheSearchButton() {
    QFETCH(int, which);
    QFETCH(bool, enabledAtOpening);
    const SearchDialogUse uses[] = {kBaseSearch, kFatherSearch, kFaceSearch};
    const SearchDialogUse& use = uses[which];
    DialogTestBed bed({kOfficers, kFaces, {}});

    std::vector<bool> states;
    const ModalRun run = Open(bed, use, [&](QDialog& dialog) {
      QLineEdit& edit = EditOf(dialog, use);
      QPushButton& find = FindButtonOf(dialog, use);
      states.push_back(find.isEnabled());
      Type(edit, QStringLiteral("郎"));
      states.push_back(find.isEnabled());
      QTest::keyClick(&edit, Qt::Key_Backspace);
      states.push_back(find.isEnabled());
      QTest::keyClicks(&edit, QStringLiteral("ab"));
      edit.clear();
      states.push_back(find.isEnabled());
      PressEscape(dialog);
    });
    QVERIFY2(run.problem.isEmpty(), qPrintable(run.problem));
    QCOMPARE(states, (std::vector<bool>{enabledAtOpening, true, false, false}));
  }

  void faceEnterAtOnceMovesToTheNextFaceAndRedraws_data() {
    QTest::addColumn<int>("start");
    QTest::addColumn<int>("expected");
    QTest::addColumn<bool>("redrawn");
    QTest::newRow("a face in the middle") << 2 << 3 << true;
    QTest::newRow("the first face") << 0 << 1 << true;
    QTest::newRow("the last face") << 5 << 5 << false;
  }
  void faceEnterAtOnceMovesToTheNextFaceAndRedraws() {
    QFETCH(int, start);
    QFETCH(int, expected);
    QFETCH(bool, redrawn);
    DialogTestBed bed({kOfficers, kFaces, {}});
    QComboBox& faces = ListOf(bed.Window(), "KaoComboBox1");
    faces.setCurrentIndex(start);
    auto* portrait = bed.Window().findChild<QWidget*>(QStringLiteral("PaintBox1"));
    QVERIFY(portrait != nullptr);
    PaintCounter paints;
    portrait->installEventFilter(&paints);

    int paintsAfterEnter = -1;
    const ModalRun run = Open(bed, kFaceSearch, [&](QDialog& dialog) {
      QLineEdit& edit = EditOf(dialog, kFaceSearch);
      paints.count = 0;
      PressEnter(edit);  // the portrait is redrawn at once, not later
      paintsAfterEnter = paints.count;
      PressEscape(dialog);
    });
    QVERIFY2(run.problem.isEmpty(), qPrintable(run.problem));
    QCOMPARE(faces.currentIndex(), expected);
    QCOMPARE(paintsAfterEnter > 0, redrawn);
    if (redrawn) {
      QVERIFY(Prompts::Shown().isEmpty());
    } else {
      // From the last face an empty text finds nothing.
      QCOMPARE(Prompts::Shown(), (QStringList{QStringLiteral("exclamation"), NotFoundLine({})}));
    }
  }

  void foundFaceIsTheOneDrawn() {
    // The generated face graphics file: each face number draws its own colours.
    k4r::testing::EditorFixture fixture;
    TForm1& window = fixture.Start();
    QVERIFY(fixture.ShowActive());
    QComboBox& faces = ListOf(window, "KaoComboBox1");
    faces.setCurrentIndex(2);
    QWidget& portrait = *k4r::testing::Control<QWidget>(window, "PaintBox1");
    PaintCounter paints;
    portrait.installEventFilter(&paints);

    QAbstractButton& opener = *k4r::testing::Control<QAbstractButton>(window, "FindBtn5");
    std::vector<int> visited;
    const ModalRun run = DriveModal([&] { opener.click(); },
                                    [&](QDialog& dialog) {
                                      QLineEdit& edit = EditOf(dialog, kFaceSearch);
                                      Type(edit, k4r::testing::FaceName(1));
                                      for (int press = 0; press < 2; ++press) {
                                        PressEnter(edit);
                                        visited.push_back(faces.currentIndex());
                                      }
                                      PressEscape(dialog);
                                    });
    QVERIFY2(run.problem.isEmpty(), qPrintable(run.problem));
    QCOMPARE(visited, (std::vector<int>{10, 11}));
    QVERIFY(paints.count >= 2);
    const QImage drawn = portrait.grab().toImage();
    QCOMPARE(drawn.pixel(3, 2) & 0xFFFFFFu, k4r::testing::FacePixel(11, 3, 2));
    QVERIFY(Prompts::Shown().isEmpty());
  }

  void notFoundSoundsThenTellsAndKeepsEverything_data() {
    QTest::addColumn<int>("which");
    QTest::addColumn<QString>("typed");
    QTest::newRow("base") << 0 << QStringLiteral("存在しない");
    QTest::newRow("officer") << 1 << QStringLiteral("鈴木");
    QTest::newRow("face") << 2 << QStringLiteral("七郎");
    // No CP932 code: never in a list of CP932 names.
    QTest::newRow("text CP932 cannot hold") << 0 << QStringLiteral("城\u00E9");
    // Its second byte is "]", but a match never starts inside a character.
    QTest::newRow("half of a character") << 0 << QStringLiteral("]");
  }
  void notFoundSoundsThenTellsAndKeepsEverything() {
    QFETCH(int, which);
    QFETCH(QString, typed);
    const SearchDialogUse uses[] = {kBaseSearch, kFatherSearch, kFaceSearch};
    const SearchDialogUse& use = uses[which];
    DialogTestBed bed({kOfficers, kFaces, {}});
    QComboBox& list = ListOf(bed.Window(), use.list);
    list.setCurrentIndex(3);

    QStringList shownBeforeClose;
    bool stayedOpen = false;
    QString textAfter;
    const ModalRun run = Open(bed, use, [&](QDialog& dialog) {
      QLineEdit& edit = EditOf(dialog, use);
      edit.setText(typed);
      PressEnter(edit);
      shownBeforeClose = Prompts::Shown();
      stayedOpen = dialog.isVisible();
      textAfter = edit.text();
      PressEscape(dialog);
    });
    QVERIFY2(run.problem.isEmpty(), qPrintable(run.problem));
    QCOMPARE(shownBeforeClose, (QStringList{QStringLiteral("exclamation"), NotFoundLine(typed)}));
    QVERIFY(stayedOpen);
    QCOMPARE(textAfter, typed);
    QCOMPARE(list.currentIndex(), 3);
  }

  void escapeKeepsTheFoundSelectionAndReopensEmpty_data() {
    QTest::addColumn<int>("which");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("found");
    QTest::newRow("base") << 0 << QStringLiteral("城") << BasesHolding(QStringLiteral("城")).front();
    QTest::newRow("officer") << 1 << QStringLiteral("木村") << 6;
    QTest::newRow("face") << 2 << QStringLiteral("四") << 3;
  }
  void escapeKeepsTheFoundSelectionAndReopensEmpty() {
    QFETCH(int, which);
    QFETCH(QString, typed);
    QFETCH(int, found);
    const SearchDialogUse uses[] = {kBaseSearch, kFatherSearch, kFaceSearch};
    const SearchDialogUse& use = uses[which];
    DialogTestBed bed({kOfficers, kFaces, {}});
    QComboBox& list = ListOf(bed.Window(), use.list);

    const ModalRun first = Open(bed, use, [&](QDialog& dialog) {
      QLineEdit& edit = EditOf(dialog, use);
      Type(edit, typed);
      PressEnter(edit);
      PressEscape(dialog);
    });
    QVERIFY2(first.problem.isEmpty(), qPrintable(first.problem));
    QVERIFY(first.closed);
    QVERIFY(first.destroyed);
    QCOMPARE(list.currentIndex(), found);

    QString textAtReopening = QStringLiteral("(not opened)");
    bool searchEnabled = false;
    const ModalRun second = Open(bed, use, [&](QDialog& dialog) {
      textAtReopening = EditOf(dialog, use).text();
      searchEnabled = FindButtonOf(dialog, use).isEnabled();
      dialog.close();  // the close box
    });
    QVERIFY2(second.problem.isEmpty(), qPrintable(second.problem));
    QVERIFY(second.destroyed);
    QCOMPARE(textAtReopening, QString());
    QCOMPARE(searchEnabled, which == 2);
    QCOMPARE(list.currentIndex(), found);
  }
};

QTEST_MAIN(SearchDialogsTest)
#include "SearchDialogs_test.moc"
