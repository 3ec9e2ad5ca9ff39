// Files whose content is not what the editor expects: name lists with broken
// Shift-JIS, NUL bytes and megabyte lines, and settings files full of binary
// junk. They load without harm, and writing a setting keeps every junk byte.
#include <gtest/gtest.h>

#include <ctime>
#include <random>
#include <string>
#include <vector>

#include "core/FindInList.h"
#include "core/NameList.h"
#include "core/Settings.h"
#include "support/TempDir.h"

namespace k4r {
namespace {
using testing::ReadBytes;
using testing::TempDir;
using testing::WriteBytes;
namespace fs = std::filesystem;

ByteString RandomBytes(std::size_t size, unsigned seed, ByteView alphabet = {}) {
  std::mt19937 random(seed);
  ByteString bytes(size, '\0');
  for (char& byte : bytes) {
    byte = alphabet.empty() ? static_cast<char>(random() & 0xFF) : alphabet[random() % alphabet.size()];
  }
  return bytes;
}

TEST(BadNameLists, LoadByteForByteAndSearchSafely) {
  const ByteString megabyteLine = RandomBytes(1 << 20, 7, "abcXYZ\x82\xa0\x93\x63");
  const struct {
    const char* what;
    ByteString content;
    NameList entries;
  } cases[] = {
      {"lone lead bytes before line ends", ByteString("\x81\r\n\x82\n\x9f\r\xfc"), {"\x81", "\x82", "\x9f", "\xfc"}},
      {"bytes no character uses", ByteString("\x80\xa0\xfd\xfe\xff\r\n\x85\x40"), {"\x80\xa0\xfd\xfe\xff", "\x85\x40"}},
      {"a NUL ends the text", ByteString("a\r\nb\0c\r\nd", 9), {"a", "b"}},
      {"a NUL first", ByteString("\0a\r\nb", 5), {}},
      {"a one-megabyte line between two short ones", "x\r\n" + megabyteLine + "\r\ny", {"x", megabyteLine, "y"}},
  };
  TempDir dir;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    WriteBytes(dir / kOfficerListFile, c.content);
    const NameListLoad load = LoadNameList(dir / kOfficerListFile);
    ASSERT_EQ(load.outcome, NameListLoad::Outcome::Loaded);
    EXPECT_TRUE(load.entries == c.entries);
  }

  // The search walks these lists without reading past them. A lone lead
  // byte swallows the comma after it, so a match cannot begin there.
  const NameList broken = {"\x81", "abc", "\x82", megabyteLine, "end"};
  const ByteString joined = JoinEntries(broken);
  // Processor time, which a busy machine does not stretch.
  const std::clock_t started = std::clock();
  const struct {
    ByteString pattern;
    ListPosition selection;
    FindOutcome expected;
  } searches[] = {
      {",abc", -1, {FindOutcome::Kind::NotFound, kNoSelection}},
      {"abc", -1, {FindOutcome::Kind::Select, 1}},
      {"\x82", 1, {FindOutcome::Kind::Select, 2}},
      {megabyteLine.substr(megabyteLine.size() - 40) + ",end", 0, {FindOutcome::Kind::Select, 3}},
      {"end", 4, {FindOutcome::Kind::Select, 4}},
      {"missing", 2, {FindOutcome::Kind::NotFound, kNoSelection}},
  };
  for (const auto& s : searches) {
    const FindOutcome outcome = FindInList(broken, s.selection, search_span::kOfficers, joined, s.pattern);
    EXPECT_TRUE(outcome == s.expected) << "pattern of " << s.pattern.size() << " bytes from " << s.selection;
  }
  EXPECT_LT(static_cast<double>(std::clock() - started) / CLOCKS_PER_SEC, 10.0);
}

// The lines of a settings file that a window-position write leaves alone:
// all but the [Win] headers and the Top and Left keys, line ends aside.
std::vector<ByteString> UntouchedLines(ByteView content) {
  const auto isWritten = [](ByteView line) {
    const auto trimmed = [](ByteView text) {
      const std::size_t first = text.find_first_not_of(" \t\v");
      return first == ByteView::npos ? ByteView() : text.substr(first, text.find_last_not_of(" \t\v") - first + 1);
    };
    const ByteView text = trimmed(line);
    const auto lower = [](ByteView name) {
      ByteString lowered(name);
      for (char& byte : lowered) {
        byte = (byte >= 'A' && byte <= 'Z') ? static_cast<char>(byte - 'A' + 'a') : byte;
      }
      return lowered;
    };
    if (!text.empty() && text.front() == '[') {
      return lower(trimmed(text.substr(1, text.find(']') - 1))) == "win";
    }
    const std::size_t equals = text.find('=');
    const ByteString name = equals == ByteView::npos ? "" : lower(trimmed(text.substr(0, equals)));
    return name == "top" || name == "left";
  };
  std::vector<ByteString> lines;
  std::size_t begin = 0;
  while (begin < content.size()) {
    const std::size_t end = std::min(content.find_first_of("\r\n", begin), content.size());
    const ByteView line = content.substr(begin, end - begin);
    if (!line.empty() && !isWritten(line)) {
      lines.emplace_back(line);
    }
    begin = end + 1;
  }
  return lines;
}

TEST(BadSettingsFiles, BinaryJunkReadsAsDefaultsAndSurvivesAWrite) {
  const struct {
    const char* what;
    ByteString content;
  } cases[] = {
      {"random bytes", RandomBytes(64 << 10, 1)},
      {"brackets, equals signs and line ends", RandomBytes(64 << 10, 2, "[]=\r\n\0\x81 ;WinTopLeft")},
      {"NUL bytes only", ByteString(4096, '\0')},
      {"UTF-16 text", ByteString("\xff\xfe[\0W\0i\0n\0]\0\r\0\n\0T\0o\0p\0=\0001\0", 24)},
      {"a one-megabyte line", RandomBytes(1 << 20, 3, "abc=[]")},
      {"junk around a valid key", RandomBytes(300, 4) + "\r\n[Win]\r\nTop=0x20\r\n" + RandomBytes(300, 5)},
  };
  TempDir dir;
  const fs::path ini = dir / "k4r.ini";
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    WriteBytes(ini, c.content);
    const Settings loaded = LoadSettings(ini);  // whatever it finds, it does not crash or hang
    ASSERT_TRUE(SaveWindowPos(ini, -50, 1234));
    const ByteString written = ReadBytes(ini);
    const Settings again = LoadSettings(ini);
    EXPECT_EQ(again.WinTop, -50);
    EXPECT_EQ(again.WinLeft, 1234);
    EXPECT_EQ(again.OpenDir, loaded.OpenDir);
    EXPECT_EQ(again.KaoPath, loaded.KaoPath);
    EXPECT_TRUE(UntouchedLines(written) == UntouchedLines(c.content)) << "a junk line was changed or lost";
  }
}

}  // namespace
}  // namespace k4r
