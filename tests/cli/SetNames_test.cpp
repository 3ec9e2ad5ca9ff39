// k4r set with names as values: exact entries, JIS forms, missing and
// repeated names.

#include <gtest/gtest.h>

#include "cli/K4rTestRun.h"
#include "cli/SetTestFiles.h"

namespace k4r {
namespace {
using Json = nlohmann::ordered_json;
using testing::DumpOf;
using testing::NormalImage;
using testing::ReadBytes;
using testing::RunK4r;
using testing::SetArguments;
using testing::Sjis;
using testing::TempDir;
using testing::WriteBytes;

// An officer list that repeats a name and holds one with the code 0x8160,
// which Windows shows as ～ and JIS-based input gives as 〜.
struct NameLists {
  TempDir dir;
  NameLists() {
    WriteBytes(dir / "BUSHOU.DAT", Sjis("（なし）\r\n甲\r\n乙\r\n甲\r\n") + "\x81\x60" + Sjis("丙\r\n丁\r\n"));
    WriteBytes(dir / "KAO.DAT", Sjis("顔〇\r\n顔一\r\n顔二\r\n"));
    WriteBytes(dir / "KAO_M.VX9", "faces");
  }
  [[nodiscard]] std::vector<std::string> Options() const {
    return {"--officer-list", (dir / "BUSHOU.DAT").string(), "--face-list", (dir / "KAO.DAT").string(),
            "--face-file",    (dir / "KAO_M.VX9").string()};
  }
};

TEST(SetByName, EntriesAreFoundByTheirWholeText) {
  const NameLists lists;
  const struct {
    const char* assignment;
    const char* key;
    Json expected;
  } cases[] = {
      {"Kyoten=江戸城", "Kyoten", 44},
      {"tokugi1=軍神", "tokugi", Json::parse("[9, 19, 9]")},
      {"tokugi3=（なし）", "tokugi", Json::parse("[1, 19, 19]")},
      {"tokugi2=※軍師", "tokugi", Json::parse("[1, 12, 9]")},
      {"shutuji=忍者", "shutuji", 9},
      {"sinjin=神仏", "sinjin", 0},
      {"Aishou=57", "Aishou", 57},
      {"Oya=乙", "Oya", 2},
      {"Tomo=（なし）", "Tomo", 0},
      {"Teki=～丙", "Teki", 4},  // the code page's own form of 0x8160
      {"Teki=〜丙", "Teki", 4},  // the JIS form
      {"Kao=顔二", "Kao", 2},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.assignment);
    TempDir dir;
    WriteBytes(dir / "a.K4R", NormalImage());
    const testing::K4rRun run = RunK4r(SetArguments(dir / "a.K4R", {c.assignment}, lists.Options()));
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(DumpOf((dir / "a.K4R").string())[c.key], c.expected);
  }
}

TEST(SetByName, MissingAndRepeatedNamesWriteNothing) {
  const NameLists lists;
  const struct {
    std::vector<std::string> assignments;
    bool withLists;
    std::string message;  // the whole of stderr
  } cases[] = {
      {{"Kyoten=江戸"}, false, "Kyoten: '江戸' is not an entry of the bases; entries containing it: 江戸城 (44).\n"},
      {{"Kyoten=城"},
       false,
       "Kyoten: '城' is not an entry of the bases; entries containing it: 石川城 (1), 三戸城 (2), 肝付城 (3), "
       "内城 (4), 高水寺城 (5), ….\n"},
      {{"Kyoten=大坂城"}, false, "Kyoten: '大坂城' is not an entry of the bases.\n"},
      {{"tokugi1=軍"},
       false,
       "tokugi1: '軍' is not an entry of the skills; entries containing it: 軍神 (9), ※軍師 (12).\n"},
      {{"tokugi1=(なし)"}, false, "tokugi1: '(なし)' is not an entry of the skills.\n"},
      {{"Oya=甲"},
       true,
       "Oya: '甲' is the entry at several positions of the officer list: 1, 3; give the position instead.\n"},
      {{"Teki=丙"}, true, "Teki: '丙' is not an entry of the officer list; entries containing it: ～丙 (4).\n"},
      {{"Teki=〜"}, true, "Teki: '〜' is not an entry of the officer list; entries containing it: ～丙 (4).\n"},
      {{"Oya=乙"}, false, "Oya: officer references are written only with a readable --officer-list.\n"},
      {{"Kao=顔二"},
       false,
       "Kao: the face number is written only with a readable --face-list and an existing --face-file.\n"},
      // One bad name among good values: nothing of them is written.
      {{"seiji=1", "Kyoten=江戸城", "sinjin=一向"},
       false,
       "sinjin: '一向' is not an entry of the faiths; entries containing it: 一向宗 (1).\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.assignments.back());
    TempDir dir;
    WriteBytes(dir / "a.K4R", NormalImage());
    const testing::K4rRun run =
        RunK4r(SetArguments(dir / "a.K4R", c.assignments, c.withLists ? lists.Options() : std::vector<std::string>{}));
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.err, c.message);
    EXPECT_EQ(ReadBytes(dir / "a.K4R"), NormalImage());
  }
}

}  // namespace
}  // namespace k4r
