// k4r find: the three outcomes, their texts and exit codes, and the spans.

#include <gtest/gtest.h>

#include "cli/K4rTestRun.h"
#include "support/TempDir.h"

namespace k4r {
namespace {
using testing::RunK4r;
using testing::Sjis;
using testing::TempDir;
using testing::WriteBytes;

// `count` lines "名N" with `special` at position `at`.
ByteString NumberedList(int count, int at, const char* special) {
  ByteString content;
  for (int i = 0; i < count; ++i) {
    content += i == at ? Sjis(special) : Sjis(("名" + std::to_string(i)).c_str());
    content += "\r\n";
  }
  return content;
}

TEST(FindCommand, BaseSearchOutcomes) {
  const struct {
    std::vector<std::string> arguments;
    int exitCode;
    std::string out;
  } cases[] = {
      {{"城"}, 0, "1 石川城\n"},
      {{"城", "--from", "3"}, 0, "4 内城\n"},
      {{"城", "--from=-1"}, 0, "1 石川城\n"},
      {{"室町", "--from", "99"}, 0, "99 室町御所\n"},  // only the current entry holds it
      {{"館,石"}, 0, "0 徳山館\n"},                    // across the end of an entry
      {{",石川"}, 0, "0 徳山館\n"},                    // the comma belongs to the entry before
      {{"]"}, 1, "”]”　は見つかりませんでした。\n"},   // never inside a two-byte character
      {{"大坂城"}, 1, "”大坂城”　は見つかりませんでした。\n"},
      {{"城", "--from", "98"}, 0, "1 石川城\n"},  // position 99 lacks 城: round to the top
      {{"御所", "--from", "42"}, 0, "88 霧山御所\n"},
      {{"御所", "--from", "88"}, 0, "99 室町御所\n"},
      {{"御所", "--from", "99"}, 0, "36 古河御所\n"},
      {{"城", "--span", "3"}, 0, "1 石川城\n"},
      {{"内城", "--span", "4"}, 0, "no change\n"},  // the match begins beyond the span
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.arguments.front());
    std::vector<std::string> arguments{"find", "bases"};
    arguments.insert(arguments.end(), c.arguments.begin(), c.arguments.end());
    const testing::K4rRun run = RunK4r(arguments);
    EXPECT_EQ(run.exitCode, c.exitCode) << run.err;
    EXPECT_EQ(run.out, c.out);
  }
}

TEST(FindCommand, SpanFollowsTheListsFileName) {
  TempDir dir;
  // 1200 officers with the one sought beyond 1113, and 1100 faces with the
  // one sought beyond 1000.
  const ByteString officers = NumberedList(1200, 1150, "目当て");
  const ByteString faces = NumberedList(1100, 1050, "目当て");
  WriteBytes(dir / "BUSHOU.DAT", officers);
  WriteBytes(dir / "other.txt", officers);
  std::filesystem::create_directory(dir / "sub");
  WriteBytes(dir / "sub" / "KAO.DAT", faces);
  WriteBytes(dir / "sub" / "kao.dat", faces);
  const struct {
    std::filesystem::path list;
    std::vector<std::string> options;
    std::string out;
  } cases[] = {
      {dir / "BUSHOU.DAT", {}, "no change\n"},
      {dir / "other.txt", {}, "1150 目当て\n"},
      {dir / "BUSHOU.DAT", {"--span", "1200"}, "1150 目当て\n"},
      {dir / "sub" / "KAO.DAT", {}, "no change\n"},
      {dir / "sub" / "kao.dat", {}, "no change\n"},
      {dir / "sub" / "KAO.DAT", {"--span", "1051"}, "1050 目当て\n"},
      {dir / "sub" / "KAO.DAT", {"--span", "1050"}, "no change\n"},
      {dir / "other.txt", {"--span", "2000000000"}, "1150 目当て\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.list.string() + (c.options.empty() ? "" : " " + c.options.back()));
    std::vector<std::string> arguments{"find", c.list.string(), "目当て"};
    arguments.insert(arguments.end(), c.options.begin(), c.options.end());
    const testing::K4rRun run = RunK4r(arguments);
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.out, c.out);
  }
}

TEST(FindCommand, EmptyTextStepsThroughTheFaces) {
  TempDir dir;
  WriteBytes(dir / "KAO.DAT", NumberedList(1000, -1, ""));
  const auto find = [&](const char* from) { return RunK4r({"find", (dir / "KAO.DAT").string(), "", "--from", from}); };
  EXPECT_EQ(find("5").out, "6 名6\n");
  const testing::K4rRun last = find("999");
  EXPECT_EQ(last.exitCode, 1);
  EXPECT_EQ(last.out, "””　は見つかりませんでした。\n");
  EXPECT_EQ(find("-1").exitCode, 1);
}

TEST(FindCommand, ShortListStartsOverAfterItsLastEntry) {
  TempDir dir;
  WriteBytes(dir / "BUSHOU.DAT", Sjis("（なし）\n甲斐\n乙\n甲\n"));
  const testing::K4rRun run = RunK4r({"find", (dir / "BUSHOU.DAT").string(), "甲", "--from", "3"});
  EXPECT_EQ(run.exitCode, 0);
  EXPECT_EQ(run.out, "1 甲斐\n");
}

TEST(FindCommand, ProblemsWithTheArguments) {
  TempDir dir;
  const std::string missing = (dir / "none.DAT").string();
  const struct {
    std::vector<std::string> arguments;
    int exitCode;
    std::string err;  // a part of stderr
  } cases[] = {
      {{"find", missing, "x"}, 1, "ファイル " + missing + " は開けません.\n"},
      {{"find", "bases", "한"}, 2, "TEXT cannot be written in code page 932"},
      {{"find", "bases", "城", "--from", "-2"}, 2, "--from"},
      {{"find", "bases", "城", "--span", "0"}, 2, "--span"},
      {{"find", "bases"}, 2, "TEXT"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.arguments.back());
    const testing::K4rRun run = RunK4r(c.arguments);
    EXPECT_EQ(run.exitCode, c.exitCode);
    EXPECT_NE(run.err.find(c.err), std::string::npos) << run.err;
    EXPECT_EQ(run.out, "");
  }
}

}  // namespace
}  // namespace k4r
