// k4r set end to end: open and save as the editor does, assignments, refusals.

#include <gtest/gtest.h>

#include "cli/K4rTestRun.h"
#include "cli/SetTestFiles.h"
#include "support/OfficerImage.h"
#include "support/RecordLayout.h"
#include "support/TempDir.h"

namespace k4r {
namespace {
using Json = nlohmann::ordered_json;
using testing::At;
using testing::DumpOf;
using testing::Lists;
using testing::MakeImage;
using testing::NormalImage;
using testing::Put;
using testing::ReadBytes;
using testing::RunK4r;
using testing::SetArguments;
using testing::Sjis;
using testing::TempDir;
using testing::WriteBytes;
namespace L = layout;

TEST(SetCommand, NoAssignmentRewritesOnlyTheEditorsNormalForms) {
  ByteString source = MakeImage(300, {}, '\x77');
  Put(source, L::kSei1, ByteString("AB\0CDEFG", 8));
  Put(source, L::kMei1, "12345678");
  Put(source, L::kMei2, ByteString("x\0", 2));
  Put(source, L::kRetuden, ByteString("a\nb\rc\r\nd\0", 9));
  Put(source, L::kTanjou, "\x10\x07");
  Put(source, L::kBotu, "\x20\x05");
  Put(source, L::kShutuji, "\x08");
  Put(source, L::kSinjin, "\x03");
  Put(source, L::kTokugi1, "\x14\xff\x05");
  Put(source, L::kKyoten, ByteString("\x50\x00", 2));
  Put(source, L::kAishou, "\x96");
  Put(source, L::kOya, "\x10\x07");
  Put(source, L::kTomo, "\x35\x02");
  Put(source, L::kTeki, "\x3c\x02");
  Put(source, L::kKao, "\xe8\x03");

  // Without name lists: texts, years and fixed lists only.
  ByteString expected = source;
  Put(expected, L::kSei1, ByteString("AB\0\0\0\0\0\0", 8));
  Put(expected, L::kMei2, ByteString(16, '\0').replace(0, 1, "x"));
  ByteString biography = "a\r\nb\r\nc\r\nd";
  biography.resize(L::kRetudenWidth, '\0');
  Put(expected, L::kRetuden, biography);
  Put(expected, L::kTanjou, "\x10\x06");
  Put(expected, L::kShutuji, ByteString(1, '\0'));
  Put(expected, L::kSinjin, "\xff");
  Put(expected, L::kTokugi1, "\xff\xff\x05");
  Put(expected, L::kKyoten, "\x07\x01");
  Put(expected, L::kAishou, "\xff");

  // With the lists: the references and the face number as well.
  ByteString expectedWithLists = expected;
  Put(expectedWithLists, L::kOya, ByteString(2, '\0'));   // high byte 7: none
  Put(expectedWithLists, L::kTeki, ByteString(2, '\0'));  // position 10 of 5: none
  Put(expectedWithLists, L::kKao, "\xff\xff");            // face 1000 of 3: none

  const Lists lists;
  const struct {
    const char* name;
    std::vector<std::string> options;
    const ByteString& expected;
  } cases[] = {{"without lists", {}, expected}, {"with lists", lists.Options(), expectedWithLists}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    TempDir dir;
    WriteBytes(dir / "a.K4R", source);
    const testing::K4rRun run = RunK4r(SetArguments(dir / "a.K4R", {}, c.options));
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.err, "");
    const ByteString saved = ReadBytes(dir / "a.K4R");
    ASSERT_EQ(saved.size(), c.expected.size());
    for (std::size_t offset = 0; offset < saved.size(); ++offset) {
      EXPECT_EQ(At(saved, offset), At(c.expected, offset)) << "byte " << offset;
    }
  }
}

TEST(SetCommand, ShortFileGrowsToTheLastField) {
  TempDir dir;
  WriteBytes(dir / "short.K4R", "abc");
  ASSERT_EQ(RunK4r(SetArguments(dir / "short.K4R", {"seiji=5"})).exitCode, 0);
  const ByteString saved = ReadBytes(dir / "short.K4R");
  EXPECT_EQ(saved.size(), L::kRecordEnd);
  EXPECT_EQ(saved.substr(0, 3), "abc");
  EXPECT_EQ(At(saved, L::kSeiji), 5);
}

TEST(SetCommand, AssignmentsReadBackThroughDump) {
  const Lists lists;
  const struct {
    std::vector<std::string> assignments;
    const char* key;
    Json expected;
  } cases[] = {
      {{"sei1=霧谷"}, "sei1", "霧谷"},
      {{"mei1=宗円"}, "mei1", "宗円"},
      {{"sei2=きりたに"}, "sei2", "きりたに"},
      {{"mei2=ｿｳｴﾝ"}, "mei2", "ｿｳｴﾝ"},
      {{"sei1="}, "sei1", ""},
      {{"retuden=山寺\n学僧\r後"}, "retuden", "山寺\r\n学僧\r\n後"},
      {{"seiji=255"}, "seiji", 255},  // beyond the spinners, within the byte
      {{"tousotu=0"}, "tousotu", 0},
      {{"giri=$10"}, "giri", 16},
      {{"kyouyou=0x7F"}, "kyouyou", 127},
      {{"tiryaku=120"}, "tiryaku", 120},
      {{"tokugi2=3"}, "tokugi", Json::parse("[1, 3, 9]")},
      {{"tokugi1=-1", "tokugi3=-1"}, "tokugi", Json::parse("[255, 19, 255]")},
      {{"shutuji=6"}, "shutuji", 6},
      {{"shutuji=-1"}, "shutuji", 0},  // no selection is stored as code 0
      {{"sinjin=2"}, "sinjin", 2},
      {{"Kyoten=4"}, "Kyoten", 4},
      {{"Kyoten=-1"}, "Kyoten", -1},
      {{"Aishou=99"}, "Aishou", 99},
      {{"Oya=4"}, "Oya", 4},
      {{"Tomo=2"}, "Tomo", 2},
      {{"Teki=-1"}, "Teki", 0},  // no selection is stored as none
      {{"Kao=2"}, "Kao", 2},
      {{"Kao=-1"}, "Kao", 65535},
      {{"tanjou=1540"}, "botu", 1540 + 53 - 1},  // the file's lifespan is 53
      {{"jumyou=20"}, "botu", 1548 + 20 - 1},
      {{"botu=1600"}, "tanjou", 1548},
      {{"botu=1600"}, "botu", 1600},
      {{"tanjou=1500", "botu=1600"}, "botu", 1600},
      {{"botu=1600", "tanjou=1500"}, "botu", 1500 + 53 - 1},  // the lifespan 53 of the death year given first
      {{"tanjou=$600"}, "tanjou", 1536},
      // Full-width digits and minus, as a Japanese input method types them.
      {{"seiji=８０"}, "seiji", 80},
      {{"Kyoten=－１"}, "Kyoten", -1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.assignments.front());
    TempDir dir;
    WriteBytes(dir / "a.K4R", NormalImage());
    const testing::K4rRun run = RunK4r(SetArguments(dir / "a.K4R", c.assignments, lists.Options()));
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const Json dump = DumpOf((dir / "a.K4R").string());
    EXPECT_EQ(dump[c.key], c.expected);
    EXPECT_EQ(dump["seibetu"], 1);
    EXPECT_EQ(ReadBytes(dir / "a.K4R").substr(0, 17), "game header bytes");
  }
}

TEST(SetCommand, NormalFileWithoutAssignmentIsByteIdentical) {
  const Lists lists;
  TempDir dir;
  WriteBytes(dir / "a.K4R", NormalImage());
  ASSERT_EQ(RunK4r(SetArguments(dir / "a.K4R", {}, lists.Options())).exitCode, 0);
  EXPECT_EQ(ReadBytes(dir / "a.K4R"), NormalImage());
}

TEST(SetCommand, RefusedAssignmentLeavesTheFileAsItWas) {
  const Lists lists;
  const std::vector<std::string> onlyFaceList = {"--face-list", (lists.dir / "KAO.DAT").string()};
  const std::string longBiography = [] {
    std::string text;
    for (int i = 0; i < 72; ++i) {
      text += "あ";
    }
    return text + "\na";  // 146 bytes as typed, 147 once the line break is CR LF
  }();
  const struct {
    std::vector<std::string> assignments;
    std::vector<std::string> options;
    std::string message;  // the whole of stderr
  } cases[] = {
      {{"sei1=あいうえお"}, {}, "sei1: 'あいうえお' takes 10 bytes in code page 932; the field holds 8.\n"},
      {{"sei2=あいうえおかきくけ"},
       {},
       "sei2: 'あいうえおかきくけ' takes 18 bytes in code page 932; the field holds 16.\n"},
      {{"retuden=" + longBiography},
       {},
       "retuden: '" + longBiography + "' takes 147 bytes in code page 932; the field holds 146.\n"},
      {{"mei1=\xF0\x9F\x98\x80"}, {}, "mei1: '\xF0\x9F\x98\x80' cannot be written in code page 932.\n"},
      {{"mei2=한"}, {}, "mei2: '한' cannot be written in code page 932.\n"},
      {{"sei1=\xff\xfe"}, {}, "sei1: '\xff\xfe' cannot be written in code page 932.\n"},
      {{"seiji=abc"}, {}, "seiji: 'abc' は整数ではありません.\n"},
      {{"giri= 5"}, {}, "giri: ' 5' は整数ではありません.\n"},
      {{"tanjou="}, {}, "tanjou: '' は整数ではありません.\n"},
      {{"seiji=1", "tousotu=2", "tiryaku=z"}, {}, "tiryaku: 'z' は整数ではありません.\n"},
      {{"tanjou=2147483647"}, {}, "tanjou: the death year would be 2147483699, not a 32-bit integer.\n"},
      // Numbers the file would store as other ones.
      {{"seiji=300"}, {}, "政治 300 はファイルに保存できません (保存できるのは 0 から 255 まで).\n"},
      {{"tousotu=-1"}, {}, "統率 -1 はファイルに保存できません (保存できるのは 0 から 255 まで).\n"},
      {{"tanjou=1279"}, {}, "誕生年 1279 はファイルに保存できません (保存できるのは 1280 から 1791 まで).\n"},
      {{"tanjou=1760"}, {}, "没年 1812 はファイルに保存できません (保存できるのは 1280 から 1791 まで).\n"},
      {{"botu=1792"}, {}, "没年 1792 はファイルに保存できません (保存できるのは 1280 から 1791 まで).\n"},
      // A position outside its list is refused, not turned into no selection.
      {{"Kyoten=150"}, {}, "Kyoten: position 150 is outside the bases (0..99; -1 for none).\n"},
      {{"Kyoten=-2"}, {}, "Kyoten: position -2 is outside the bases (0..99; -1 for none).\n"},
      {{"tokugi1=20"}, {}, "tokugi1: position 20 is outside the skills (0..19; -1 for none).\n"},
      {{"shutuji=12"}, {}, "shutuji: position 12 is outside the origins (0..11; -1 for none).\n"},
      {{"sinjin=3"}, {}, "sinjin: position 3 is outside the faiths (0..2; -1 for none).\n"},
      {{"Aishou=100"}, {}, "Aishou: position 100 is outside the compatibility values (0..99; -1 for none).\n"},
      {{"Teki=5"}, lists.Options(), "Teki: position 5 is outside the officer list (0..4; -1 for none).\n"},
      {{"Kao=3"}, lists.Options(), "Kao: position 3 is outside the face list (0..2; -1 for none).\n"},
      {{"Oya=1"}, {}, "Oya: officer references are written only with a readable --officer-list.\n"},
      {{"Kao=1"},
       onlyFaceList,
       "Kao: the face number is written only with a readable --face-list and an existing --face-file.\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.assignments.back());
    TempDir dir;
    WriteBytes(dir / "a.K4R", NormalImage());
    const testing::K4rRun run = RunK4r(SetArguments(dir / "a.K4R", c.assignments, c.options));
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.err, c.message);
    EXPECT_EQ(ReadBytes(dir / "a.K4R"), NormalImage());
  }
}

TEST(SetCommand, LongestTextsThatFitAreAccepted) {
  std::string biography;
  for (int i = 0; i < 72; ++i) {
    biography += "あ";
  }
  biography += "\n";  // 145 bytes as typed, 146 with CR LF
  TempDir dir;
  WriteBytes(dir / "a.K4R", NormalImage());
  const testing::K4rRun run =
      RunK4r(SetArguments(dir / "a.K4R", {"sei1=あいうえ", "sei2=あいうえおかきく", "retuden=" + biography}));
  ASSERT_EQ(run.exitCode, 0) << run.err;
  const Json dump = DumpOf((dir / "a.K4R").string());
  EXPECT_EQ(dump["sei1"], "あいうえ");
  EXPECT_EQ(dump["sei2"], "あいうえおかきく");
  EXPECT_EQ(dump["retuden"], biography.substr(0, biography.size() - 1) + "\r\n");
}

TEST(SetCommand, UsageErrorsTouchNothing) {
  const struct {
    std::vector<std::string> assignments;
    const char* says;
  } cases[] = {
      {{"foo=1"}, "unknown field 'foo'"},
      {{"seibetu=1"}, "seibetu is read only"},
      {{"sei1"}, "'sei1' is not NAME=VALUE"},
      {{"seiji=1", "SEIJI=2"}, "unknown field 'SEIJI'"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.says);
    TempDir dir;
    WriteBytes(dir / "a.K4R", NormalImage());
    const testing::K4rRun run = RunK4r(SetArguments(dir / "a.K4R", c.assignments));
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_NE(run.err.find(c.says), std::string::npos) << run.err;
    EXPECT_EQ(ReadBytes(dir / "a.K4R"), NormalImage());
  }
}

TEST(SetCommand, MissingFileIsReportedAndNotCreated) {
  TempDir dir;
  const auto path = dir / "none.K4R";
  const testing::K4rRun run = RunK4r(SetArguments(path, {"seiji=1"}));
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_EQ(run.err, "ファイル " + path.string() + " は開けません.\n");
  EXPECT_FALSE(std::filesystem::exists(path));
}

TEST(SetCommand, ReferencesAreLeftAloneWithoutTheOfficerList) {
  TempDir dir;
  WriteBytes(dir / "a.K4R", NormalImage());
  // Even a face list and file do not make the officer references writable.
  const Lists lists;
  const testing::K4rRun run = RunK4r(SetArguments(
      dir / "a.K4R", {"seiji=99"},
      {"--face-list", (lists.dir / "KAO.DAT").string(), "--face-file", (lists.dir / "KAO_M.VX9").string()}));
  ASSERT_EQ(run.exitCode, 0) << run.err;
  ByteString expected = NormalImage();
  expected[L::kSeiji] = 99;
  EXPECT_EQ(ReadBytes(dir / "a.K4R"), expected);
}

}  // namespace
}  // namespace k4r
