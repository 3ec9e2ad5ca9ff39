#include "core/FindInList.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/Vocabulary.h"

namespace k4r {
namespace {

using Kind = FindOutcome::Kind;

// CP932 bytes of the characters the cases use.
constexpr ByteView kShiro = "\x8f\xe9";              // 城
constexpr ByteView kYakata = "\x8a\xd9";             // 館
constexpr ByteView kIshi = "\x90\xce";               // 石
constexpr ByteView kTokuyama = "\x93\xbf\x8e\x52";   // 徳山
constexpr ByteView kMuromachi = "\x8e\xba\x92\xac";  // 室町
constexpr ByteView kSanno = "\x8e\x4f\x8c\xcb";      // 三戸

FindOutcome Selects(ListPosition position) {
  return {Kind::Select, position};
}
const FindOutcome kNoChange{Kind::NoChange, kNoSelection};
const FindOutcome kNotFound{Kind::NotFound, kNoSelection};

std::string Describe(const FindOutcome& outcome) {
  switch (outcome.kind) {
    case Kind::Select: return "select " + std::to_string(outcome.position);
    case Kind::NoChange: return "no change";
    case Kind::NotFound: return "not found";
  }
  return "?";
}

std::vector<ByteString> Bases() {
  const auto entries = vocabulary::Bases().entries;
  return {entries.begin(), entries.end()};
}

struct Case {
  const char* what;
  ListPosition selection;
  ByteString pattern;
  FindOutcome expected;
};

void RunCases(const std::vector<ByteString>& entries, std::int32_t span, std::initializer_list<Case> cases) {
  const ByteString joined = JoinEntries(entries);
  for (const Case& c : cases) {
    const FindOutcome outcome = FindInList(entries, c.selection, span, joined, c.pattern);
    EXPECT_EQ(outcome, c.expected) << c.what << ": got " << Describe(outcome) << ", expected " << Describe(c.expected);
  }
}

TEST(JoinEntries, JoinsWithSingleCommas) {
  EXPECT_EQ(JoinEntries({}), "");
  EXPECT_EQ(JoinEntries(std::vector<ByteString>{"a"}), "a");
  EXPECT_EQ(JoinEntries(std::vector<ByteString>{"", ""}), ",");
  EXPECT_EQ(JoinEntries(std::vector<ByteString>{"a,b", "", "c"}), "a,b,,c");
}

TEST(FindInList, WorkedExampleOfTheBaseList) {
  const std::vector<ByteString> bases = Bases();
  const ByteString joined = JoinEntries(bases);
  // Entries 0..5 start at 0, 7, 14, 21, 28, 33 and 42 of the joined text.
  const std::size_t starts[] = {0, 7, 14, 21, 28, 33, 42};
  for (std::size_t i = 0; i < 6; ++i) {
    EXPECT_EQ(joined.substr(starts[i], bases[i].size()), bases[i]) << i;
    EXPECT_EQ(joined[starts[i + 1] - 1], ',') << i;
  }
  EXPECT_EQ(joined.substr(30, 2), kShiro);
  EXPECT_EQ(FindInList(bases, 3, search_span::kBases, joined, kShiro), Selects(4));
}

TEST(FindInList, BaseListCases) {
  RunCases(Bases(), search_span::kBases,
           {
               {"nothing selected finds the first", kNoSelection, ByteString(kShiro), Selects(1)},
               {"wraps to an earlier entry", 98, ByteString(kTokuyama), Selects(0)},
               {"only the current entry matches", 0, ByteString(kTokuyama), Selects(0)},
               {"only the current entry matches, last", 99, ByteString(kMuromachi), Selects(99)},
               {"last position starts over", 99, ByteString(kShiro), Selects(1)},
               {"match across a comma belongs to its start", kNoSelection,
                ByteString(kYakata) + "," + ByteString(kIshi), Selects(0)},
               {"across a comma, from a later entry", 50, ByteString(kYakata) + "," + ByteString(kIshi), Selects(0)},
               {"leading comma after entry 0", kNoSelection, "," + ByteString(kIshi), Selects(0)},
               {"leading comma after entry 1", kNoSelection, "," + ByteString(kSanno), Selects(1)},
               {"a lone comma from the last position", 99, ",", Selects(0)},
               {"second byte of a character is no start", kNoSelection, "]", kNotFound},
               {"second byte, from just before it", 43, "]", kNotFound},
               {"second byte, from the last position", 99, "]", kNotFound},
               // 0xE9 ends 城 in every entry before 14 and begins 飫 of 飫肥城.
               {"a byte matches only where a character begins", kNoSelection, "\xe9", Selects(14)},
               {"no such text", 10, "x", kNotFound},
               {"empty text with nothing selected", kNoSelection, "", kNotFound},
               {"empty text selects the next", 10, "", Selects(11)},
               {"empty text at the last position", 99, "", kNotFound},
               {"selection beyond the span starts over", 150, ByteString(kShiro), Selects(1)},
           });
}

TEST(FindInList, ShiroWalksThroughEveryBaseInOrderThenWraps) {
  const std::vector<ByteString> bases = Bases();
  const ByteString joined = JoinEntries(bases);
  // The bases holding 城, found character by character.
  std::vector<ListPosition> holders;
  for (std::size_t i = 0; i < bases.size(); ++i) {
    const ByteString& entry = bases[i];
    for (std::size_t at = 0; at < entry.size();
         at += IsShiftJisLeadByte(static_cast<unsigned char>(entry[at])) ? 2 : 1) {
      if (entry.compare(at, kShiro.size(), kShiro) == 0) {
        holders.push_back(static_cast<ListPosition>(i));
        break;
      }
    }
  }
  ASSERT_GT(holders.size(), 80u);

  ListPosition selection = kNoSelection;
  for (const ListPosition expected : holders) {
    const FindOutcome outcome = FindInList(bases, selection, search_span::kBases, joined, kShiro);
    ASSERT_EQ(outcome, Selects(expected)) << "after " << selection << ": " << Describe(outcome);
    selection = outcome.position;
  }
  EXPECT_EQ(FindInList(bases, selection, search_span::kBases, joined, kShiro), Selects(holders.front()));
}

TEST(FindInList, EmptyTextWalksTheFaceList) {
  std::vector<ByteString> faces;
  for (int i = 0; i < search_span::kFaces; ++i) {
    faces.push_back("face" + std::to_string(i));
  }
  RunCases(faces, search_span::kFaces,
           {
               {"first face", 0, "", Selects(1)},
               {"next face", 500, "", Selects(501)},
               {"next to last", 998, "", Selects(999)},
               {"last face", 999, "", kNotFound},
               {"nothing selected", kNoSelection, "", kNotFound},
           });
}

TEST(FindInList, EmptyListFindsNothing) {
  RunCases({}, search_span::kFaces,
           {
               {"nothing selected", kNoSelection, "a", kNotFound},
               {"empty text", kNoSelection, "", kNotFound},
               {"a selection", 3, "a", kNotFound},
           });
}

TEST(FindInList, ListShorterThanItsSpan) {
  RunCases({"a" + ByteString(kShiro), "b" + ByteString(kShiro), "c"}, search_span::kOfficers,
           {
               {"from the last entry starts over", 2, ByteString(kShiro), Selects(0)},
               {"wraps within the list", 1, ByteString(kShiro), Selects(0)},
               {"moves on within the list", 0, ByteString(kShiro), Selects(1)},
               {"empty text from the last entry", 2, "", kNotFound},
               {"empty text moves on", 1, "", Selects(2)},
               {"nothing past the end", kNoSelection, "d", kNotFound},
           });
}

TEST(FindInList, ListLongerThanItsSpan) {
  // Span 3 covers x, y and z; the entries after it are searched but never selected.
  RunCases({"x", "y", "z", "y", "w"}, 3,
           {
               {"match only beyond the span", kNoSelection, "w", kNoChange},
               {"first pass ends beyond the span", 1, "y", kNoChange},
               {"last position of the span skips the first pass", 2, "y", Selects(1)},
               {"earlier match wins from the start", kNoSelection, "y", Selects(1)},
               {"selection beyond the span starts over", 3, "y", Selects(1)},
               {"selection beyond the span, match only beyond", 4, "w", kNoChange},
               {"empty text at the last position", 2, "", kNotFound},
               {"empty text moves on within the span", 1, "", Selects(2)},
           });
}

TEST(FindInList, BytesMustMatchExactly) {
  RunCases({"Abc", "abc", "\x83\x41", "\x82\xa0", "\x82\x60"}, 5,
           {
               {"case differs", 1, "A", Selects(0)},
               {"lower case", kNoSelection, "a", Selects(1)},
               {"katakana is not hiragana", kNoSelection, "\x82\xa0", Selects(3)},
               {"full-width A is not A", 1, "\x82\x60", Selects(4)},
           });
}

}  // namespace
}  // namespace k4r
