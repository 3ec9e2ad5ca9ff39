#include "core/ProfileFile.h"

#include <gtest/gtest.h>

#include <optional>

namespace k4r {
namespace {

using std::nullopt;

struct ReadCase {
  const char* what;
  ByteView content;
  ByteView section;
  ByteView key;
  std::optional<ByteString> expected;
};

TEST(ReadProfileValue, FollowsThePlatformRules) {
  const ReadCase cases[] = {
      {"plain", "[Win]\r\nTop=5\r\n", "Win", "Top", "5"},
      {"no final line break", "[Win]\r\nTop=5", "Win", "Top", "5"},
      {"LF line ends", "[Win]\nLeft=1\nTop=7\n", "Win", "Top", "7"},
      {"lone CR line ends", "[Win]\rLeft=1\rTop=8\r", "Win", "Top", "8"},
      {"mixed line ends", "[Open]\r\nDir=a\r[Win]\nTop=9", "Win", "Top", "9"},
      {"blanks around line, name and value", " \t[ Win \v]\t\r\n \v Top \t=\t 12 \v \r\n", "Win", "Top", "12"},
      {"blanks inside a value stay", "[Kao]\r\nPath= C:\\My Games\\a b \r\n", "Kao", "Path", "C:\\My Games\\a b"},
      {"section name case", "[wIN]\r\nTop=1\r\n", "Win", "Top", "1"},
      {"key name case", "[Win]\r\nTOP=2\r\n", "Win", "Top", "2"},
      {"only ASCII letters fold", "[Win\xc3]\r\nTop=1\r\n", "Win\xe3", "Top", nullopt},
      {"name ends at first ]", "[Win]]x] junk\r\nTop=3\r\n", "Win", "Top", "3"},
      {"text after ] ignored", "[Win] Top=4\r\nLeft=1\r\n", "Win", "Top", nullopt},
      {"missing ] still a section", "[Win\r\nTop=6\r\n", "Win", "Top", "6"},
      {"missing ] name trimmed", "[ Win \t\r\nTop=6\r\n", "Win", "Top", "6"},
      {"missing section", "[Open]\r\nTop=1\r\n", "Win", "Top", nullopt},
      {"missing key", "[Win]\r\nLeft=1\r\n", "Win", "Top", nullopt},
      {"key in another section", "[Win]\r\nLeft=1\r\n[Kao]\r\nTop=2\r\n", "Win", "Top", nullopt},
      {"lines before first section belong to none", "Top=1\r\n[Win]\r\nLeft=2\r\n", "Win", "Top", nullopt},
      {"only first section of a name", "[Win]\r\nLeft=1\r\n[Kao]\r\n[WIN]\r\nTop=2\r\n", "Win", "Top", nullopt},
      {"first section wins over later", "[Win]\r\nTop=1\r\n[Win]\r\nTop=2\r\n", "Win", "Top", "1"},
      {"first key wins", "[Win]\r\nTop=1\r\ntop=2\r\n", "Win", "Top", "1"},
      {"comment line", "[Win]\r\n;Top=1\r\nTop=2\r\n", "Win", "Top", "2"},
      {"comment after blanks", "[Win]\r\n \t;Top=1\r\n", "Win", "Top", nullopt},
      {"no inline comment", "[Win]\r\nTop=1 ; note\r\n", "Win", "Top", "1 ; note"},
      {"hash is not a comment", "[Win]\r\n#Top=1\r\n", "Win", "#Top", "1"},
      {"hash value kept", "[Kao]\r\nPath=#1\r\n", "Kao", "Path", "#1"},
      {"key ends at first =", "[Kao]\r\nPath=a=b\r\n", "Kao", "Path", "a=b"},
      {"line without = is no key", "[Win]\r\nTop\r\n", "Win", "Top", nullopt},
      {"double quotes", "[Kao]\r\nPath=\" a b \"\r\n", "Kao", "Path", " a b "},
      {"single quotes", "[Kao]\r\nPath='x'\r\n", "Kao", "Path", "x"},
      {"one pair only", "[Kao]\r\nPath=\"\"x\"\"\r\n", "Kao", "Path", "\"x\""},
      {"quotes after trimming", "[Kao]\r\nPath= \t\"x\" \r\n", "Kao", "Path", "x"},
      {"mismatched quotes kept", "[Kao]\r\nPath=\"x'\r\n", "Kao", "Path", "\"x'"},
      {"lone quote kept", "[Kao]\r\nPath=\"\r\n", "Kao", "Path", "\""},
      {"empty quotes", "[Kao]\r\nPath=\"\"\r\n", "Kao", "Path", ""},
      {"empty value is empty", "[Win]\r\nTop=\r\n", "Win", "Top", ""},
      {"blank value is empty", "[Win]\r\nTop= \t \r\n", "Win", "Top", ""},
      {"Shift-JIS bytes pass", "[Kao]\r\nPath=C:\\\x83\x51\x81\x5b\x83\x80\\KAO_M.VX9\r\n", "Kao", "Path",
       "C:\\\x83\x51\x81\x5b\x83\x80\\KAO_M.VX9"},
      {"empty file", "", "Win", "Top", nullopt},
      // Names are read character by character: 0x5D and letters as second bytes.
      {"second byte ] inside a section name", "[\x8d\x5d\x8c\xcb]\r\nPath=p\r\n", "\x8d\x5d\x8c\xcb", "Path", "p"},
      {"second byte ] then the real ]", "[\x8d\x5d]x\r\nKey=1\r\n", "\x8d\x5d", "Key", "1"},
      {"second byte ] in a key name", "[Kao]\r\n\x8d\x5d=2\r\n", "Kao", "\x8d\x5d", "2"},
      {"second bytes do not fold", "[\x83\x41]\r\nTop=1\r\n", "\x83\x61", "Top", nullopt},
      {"second bytes do not fold in keys", "[Win]\r\n\x83\x41=1\r\n", "Win", "\x83\x61", nullopt},
      {"letters after a two-byte character fold",
       "[\x83\x41"
       "A]\r\nTop=1\r\n",
       "\x83\x41"
       "a",
       "Top", "1"},
      {"byte-order mark skipped", "\xef\xbb\xbf[Win]\r\nTop=3\r\n", "Win", "Top", "3"},
      {"byte-order mark only at the start", "[Win]\r\n\xef\xbb\xbfTop=3\r\n", "Win", "Top", nullopt},
  };
  for (const ReadCase& c : cases) {
    EXPECT_EQ(ReadProfileValue(c.content, c.section, c.key), c.expected) << c.what;
  }
}

struct WriteCase {
  const char* what;
  ByteView content;
  ByteView section;
  ByteView key;
  ByteView value;
  ByteView expected;
};

TEST(WriteProfileValue, ChangesOnlyTheOneKey) {
  const WriteCase cases[] = {
      {"new file", "", "Kao", "Path", "C:\\a.vx9", "[Kao]\r\nPath=C:\\a.vx9\r\n"},
      {"new section after final line break", "[Win]\r\nTop=1\r\n", "Kao", "Path", "p",
       "[Win]\r\nTop=1\r\n[Kao]\r\nPath=p\r\n"},
      {"new section after LF file", "[Win]\nTop=1\n", "Kao", "Path", "p", "[Win]\nTop=1\n[Kao]\r\nPath=p\r\n"},
      {"new section after lone CR", "[Win]\rTop=1\r", "Kao", "Path", "p", "[Win]\rTop=1\r[Kao]\r\nPath=p\r\n"},
      {"new section, file without final line break", "[Win]\r\nTop=1", "Kao", "Path", "p",
       "[Win]\r\nTop=1\r\n[Kao]\r\nPath=p\r\n"},
      {"new section after trailing blank line", "[Win]\r\nTop=1\r\n\r\n", "Kao", "Path", "p",
       "[Win]\r\nTop=1\r\n\r\n[Kao]\r\nPath=p\r\n"},
      {"new section after a comment only", ";c", "Win", "Top", "1", ";c\r\n[Win]\r\nTop=1\r\n"},
      {"new key after last key, comment below stays", "[Win]\r\nTop=1\r\n; note\r\n\r\n[Kao]\r\nPath=p\r\n", "win",
       "Left", "230", "[Win]\r\nTop=1\r\nLeft=230\r\n; note\r\n\r\n[Kao]\r\nPath=p\r\n"},
      {"new key after last key with LF ends", "[Win]\nTop=1\nx\n[Kao]\n", "Win", "Left", "2",
       "[Win]\nTop=1\nLeft=2\r\nx\n[Kao]\n"},
      {"new key after last key at end without line break", "[Win]\r\nTop=1", "Win", "Left", "2",
       "[Win]\r\nTop=1\r\nLeft=2\r\n"},
      {"new key in section without keys", "[Kao]\r\n; none yet\r\n[Win]\r\nTop=1\r\n", "Kao", "Path", "p",
       "[Kao]\r\nPath=p\r\n; none yet\r\n[Win]\r\nTop=1\r\n"},
      {"new key after lone header at end", "[Win]\r\nTop=1\r\n[Kao]", "Kao", "Path", "p",
       "[Win]\r\nTop=1\r\n[Kao]\r\nPath=p\r\n"},
      {"new key goes to the first section of the name", "[Win]\r\nTop=1\r\n[Open]\r\n[Win]\r\nLeft=2\r\n", "Win",
       "Left", "3", "[Win]\r\nTop=1\r\nLeft=3\r\n[Open]\r\n[Win]\r\nLeft=2\r\n"},
      {"replace in place keeping spelling and line ends", ";head\n[WIN]\rtop = 5 \r\nLeft=2\n", "Win", "Top", "-50",
       ";head\n[WIN]\rtop=-50\r\nLeft=2\n"},
      {"replace only the first of duplicates", "[Win]\r\nTop=1\r\nTop=2\r\n", "Win", "Top", "3",
       "[Win]\r\nTop=3\r\nTop=2\r\n"},
      {"replace last line without line break", "[Win]\r\nTop=1", "Win", "Top", "100", "[Win]\r\nTop=100"},
      {"replace quoted value", "[Kao]\r\n  Path = \"old\"\r\n", "Kao", "Path", "new", "[Kao]\r\nPath=new\r\n"},
      {"lines before first section stay", "Top=9\r\n\r\n[Win]\r\nTop=1\r\n", "Win", "Top", "2",
       "Top=9\r\n\r\n[Win]\r\nTop=2\r\n"},
      {"comment lookalike is not replaced", "[Win]\r\n;Top=1\r\n", "Win", "Top", "2", "[Win]\r\nTop=2\r\n;Top=1\r\n"},
      {"value with spaces and quotes written as given", "", "Kao", "Path", " \"a b\" ", "[Kao]\r\nPath= \"a b\" \r\n"},
      {"empty value written", "[Kao]\r\nPath=old\r\n", "Kao", "Path", "", "[Kao]\r\nPath=\r\n"},
      {"line break in value cut off", "[Win]\r\nTop=1\r\n", "Kao", "Path", "a\r\n[Win]\r\nTop=7",
       "[Win]\r\nTop=1\r\n[Kao]\r\nPath=a\r\n"},
      {"section with second byte ] found, not added again", "[\x8d\x5d\x8c\xcb]\r\nPath=a\r\n", "\x8d\x5d\x8c\xcb",
       "Path", "b", "[\x8d\x5d\x8c\xcb]\r\nPath=b\r\n"},
      {"byte-order mark kept on replace", "\xef\xbb\xbf[Win]\r\nTop=1\r\n", "Win", "Top", "2",
       "\xef\xbb\xbf[Win]\r\nTop=2\r\n"},
      {"byte-order mark kept on a new key", "\xef\xbb\xbf[Win]\r\nTop=1\r\n", "Win", "Left", "2",
       "\xef\xbb\xbf[Win]\r\nTop=1\r\nLeft=2\r\n"},
      {"file of a byte-order mark only", "\xef\xbb\xbf", "Kao", "Path", "p", "\xef\xbb\xbf[Kao]\r\nPath=p\r\n"},
  };
  for (const WriteCase& c : cases) {
    EXPECT_EQ(WriteProfileValue(c.content, c.section, c.key, c.value), c.expected) << c.what;
  }
}

TEST(WriteProfileValue, WrittenValueReadsBack) {
  const ByteView files[] = {"", "[Win]\r\nTop=1", ";x\n[kao]\rPath=q\r[Win]\n", "[Kao]"};
  const ByteView values[] = {"", "C:\\\x83\x51\x81\x5b\x83\x80\\KAO_M.VX9", "a=b;c#d"};
  for (const ByteView file : files) {
    for (const ByteView value : values) {
      const ByteString written = WriteProfileValue(file, "Kao", "Path", value);
      EXPECT_EQ(ReadProfileValue(written, "Kao", "Path"), ByteString(value)) << file;
      EXPECT_EQ(ReadProfileValue(written, "Win", "Top"), ReadProfileValue(file, "Win", "Top")) << file;
    }
  }
}

}  // namespace
}  // namespace k4r
