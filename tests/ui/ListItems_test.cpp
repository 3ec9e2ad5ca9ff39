// The main window's lists keep the bytes of their entries, so a search runs
// on the file's bytes even where the shown text cannot give them back.

#include <QComboBox>
#include <QtTest>

#include "core/FindInList.h"
#include "ui/ListItems.h"
#include "ui/Prompts.h"
#include "ui/SearchDialogCore.h"

using k4r::ByteString;
using k4r::NameList;

class ListItemsTest : public QObject {
  Q_OBJECT

 private slots:
  void init() { k4r::ui::Prompts::StartRecording(); }
  void cleanup() {
    QCOMPARE(k4r::ui::Prompts::PendingAnswers(), 0);
    k4r::ui::Prompts::StopRecording();
  }

  void entriesComeBackAsTheirBytes() {
    // A duplicate code, broken bytes, a lone first byte, an empty line.
    const NameList entries = {ByteString("\xed\x40\x93\x63", 4), ByteString("A\x80\x8f\xe9", 4),
                              ByteString("\x90\x5e\x81", 3), ByteString(), ByteString("\x8f\xe9", 2)};
    QComboBox list;
    k4r::ui::AppendEntries(list, entries);
    QCOMPARE(list.count(), 5);
    QCOMPARE(k4r::ui::EntryBytes(list), entries);
    QCOMPARE(list.itemText(4), QStringLiteral("城"));
  }

  void searchMatchesBytesAndKeepsPositionsBehindBrokenEntries() {
    // Entry 1 holds a broken byte before 城: the match must still select it,
    // and entry 0's duplicate code must not match the typed (other) code.
    const NameList entries = {ByteString("\xed\x40", 2), ByteString("\x80\x8f\xe9", 3), ByteString("\xfa\x5c", 2)};
    QComboBox list;
    k4r::ui::AppendEntries(list, entries);
    list.setCurrentIndex(-1);
    k4r::ui::ListSearch search;
    search.TakeJoinedText(list);
    QCOMPARE(search.JoinedText(), k4r::JoinEntries(entries));

    QCOMPARE(search.Run(list, 3, QStringLiteral("城")), k4r::ui::ListSearch::Outcome::Selected);
    QCOMPARE(list.currentIndex(), 1);
    // Typed text converts to 0xFA5C, so only entry 2 holds it byte for byte.
    QCOMPARE(search.Run(list, 3, QString(QChar(0x7E8A))), k4r::ui::ListSearch::Outcome::Selected);
    QCOMPARE(list.currentIndex(), 2);
    QCOMPARE(search.Run(list, 3, QString(QChar(0x7E8A))), k4r::ui::ListSearch::Outcome::Selected);
    QCOMPARE(list.currentIndex(), 2);
    QVERIFY(k4r::ui::Prompts::Shown().isEmpty());
  }
};

QTEST_MAIN(ListItemsTest)
#include "ListItems_test.moc"
