#include <gtest/gtest.h>
#ifndef _WIN32
#include <unistd.h>
#endif

#include <filesystem>
#include <fstream>
#include <vector>

#include "core/Messages.h"
#include "core/NameList.h"
#ifndef _WIN32
#include "support/ChildProcess.h"
#endif
#include "support/TempDir.h"

namespace k4r {
namespace {

using testing::TempDir;
using testing::WriteBytes;

TEST(SplitNameList, FollowsTheLineRules) {
  struct Case {
    const char* what;
    ByteView content;
    NameList expected;
  };
  using namespace std::string_view_literals;
  const Case cases[] = {
      {"LF", "a\nb\nc\n", {"a", "b", "c"}},
      {"CR LF", "a\r\nb\r\nc\r\n", {"a", "b", "c"}},
      {"lone CR", "a\rb\rc\r", {"a", "b", "c"}},
      {"mixed breaks", "a\r\nb\rc\nd", {"a", "b", "c", "d"}},
      {"last line without a break", "a\nb", {"a", "b"}},
      {"empty lines stay", "a\n\nb\n", {"a", "", "b"}},
      {"LF CR is two breaks", "a\n\rb", {"a", "", "b"}},
      {"CR CR LF", "a\r\r\nb", {"a", "", "b"}},
      {"blank line before the final break", "a\n\n", {"a", ""}},
      {"a lone break is one empty line", "\r\n", {""}},
      {"empty file", "", {}},
      {"NUL ends the text", "a\nb\0c\nd\n"sv, {"a", "b"}},
      {"NUL at the start", "\0a\n"sv, {}},
      {"NUL right after a CR", "a\r\0\nb"sv, {"a"}},
      {"bytes kept, nothing trimmed", " \x93\xbf\x8e\x52 \t\n\x81\x40", {" \x93\xbf\x8e\x52 \t", "\x81\x40"}},
      // 0x0A/0x0D never occur as a second byte in CP932, so a byte-level split is safe.
      {"second byte 0x5C stays", "\x95\x5c\n", {"\x95\x5c"}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(SplitNameList(c.content), c.expected) << c.what;
  }
}

TEST(EntryAt, OutsideTheListIsEmpty) {
  const NameList list{"a", "b"};
  EXPECT_EQ(EntryAt(list, 0), "a");
  EXPECT_EQ(EntryAt(list, 1), "b");
  EXPECT_EQ(EntryAt(list, 2), "");
  EXPECT_EQ(EntryAt(list, kNoSelection), "");
  const ByteView views[] = {"x"};
  EXPECT_EQ(EntryAt(views, 0), "x");
  EXPECT_EQ(EntryAt(views, 1), "");
  EXPECT_EQ(EntryAt(views, -5), "");
}

TEST(LoadNameList, LoadsEntriesFromTheFile) {
  TempDir dir;
  WriteBytes(dir / kOfficerListFile, "\x82\xc8\x82\xb5\r\n\x8e\x52\x93\x63\r\n\r\nlast");
  const NameListLoad load = LoadNameList(dir / kOfficerListFile);
  ASSERT_EQ(load.outcome, NameListLoad::Outcome::Loaded) << load.failure.message;
  EXPECT_EQ(load.entries, (NameList{"\x82\xc8\x82\xb5", "\x8e\x52\x93\x63", "", "last"}));
}

TEST(LoadNameList, EmptyFileIsLoadedWithoutEntries) {
  TempDir dir;
  WriteBytes(dir / kFaceListFile, "");
  const NameListLoad load = LoadNameList(dir / kFaceListFile);
  EXPECT_EQ(load.outcome, NameListLoad::Outcome::Loaded);
  EXPECT_TRUE(load.entries.empty());
}

TEST(LoadNameList, NoSuchFileIsMissing) {
  TempDir dir;
  const NameListLoad load = LoadNameList(dir / kFaceListFile);
  EXPECT_EQ(load.outcome, NameListLoad::Outcome::Missing);
  EXPECT_TRUE(load.entries.empty());
  EXPECT_EQ(LoadNameList(dir / "no-folder" / kFaceListFile).outcome, NameListLoad::Outcome::Missing);
}

TEST(LoadNameList, ExistingButUnreadableIsReportedAsSuch) {
  TempDir dir;
  std::filesystem::create_directory(dir / "folder");
  // Sparse, so the test costs no disk; the reader must refuse it by size.
  { std::ofstream(dir / "huge", std::ios::binary); }
  std::filesystem::resize_file(dir / "huge", (std::uintmax_t{64} << 20) + 1);
  std::vector<const char*> names = {"folder", "huge"};
#ifndef _WIN32  // symbolic links need special rights on Windows
  std::filesystem::create_symlink(dir / "gone", dir / "dangling");
  names.push_back("dangling");
#endif

  for (const char* name : names) {
    const NameListLoad load = LoadNameList(dir / name);
    EXPECT_EQ(load.outcome, NameListLoad::Outcome::Unreadable) << name;
    EXPECT_FALSE(load.failure.message.empty()) << name;
    EXPECT_TRUE(load.entries.empty()) << name;
  }
  EXPECT_EQ(LoadNameList(dir / "folder").failure.message, messages::CannotOpen(dir / "folder"));
}

#ifndef _WIN32
// Run as the user "nobody", since root reads files without read rights.
TEST(LoadNameList, FileWithoutReadRightIsUnreadable) {
  TempDir dir;
  const auto path = dir / kOfficerListFile;
  WriteBytes(path, "a\n");
  std::filesystem::permissions(path, std::filesystem::perms::none);
  ASSERT_TRUE(testing::HandToUnprivilegedUser(path.string()));
  const auto report = testing::RunInChild([&]() -> std::string {
    if (!testing::DropRootRights()) {
      return "cannot drop root rights";
    }
    if (::access(path.c_str(), R_OK) == 0) {
      return "this user reads files without read rights";
    }
    const NameListLoad load = LoadNameList(path);
    return (load.outcome == NameListLoad::Outcome::Unreadable ? "unreadable: " : "not unreadable: ") +
           load.failure.message;
  });
  ASSERT_TRUE(report.has_value());
  if (report->rfind("unreadable: ", 0) != 0 && report->rfind("not ", 0) != 0) {
    GTEST_SKIP() << *report;
  }
  EXPECT_EQ(*report, "unreadable: " + messages::CannotOpen(path));
}
#endif

}  // namespace
}  // namespace k4r
