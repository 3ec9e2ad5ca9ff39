// k4r diff: which fields are reported, with names beside positions, and the
// exit statuses of diff(1).

#include <gtest/gtest.h>

#include "cli/K4rTestRun.h"
#include "support/OfficerImage.h"
#include "support/RecordLayout.h"
#include "support/TempDir.h"

namespace k4r {
namespace {
using testing::MakeImage;
using testing::ParseJson;
using testing::Put;
using testing::RunK4r;
using testing::Sjis;
using testing::TempDir;
using testing::WriteBytes;
namespace L = layout;

// The same officer twice; B has other ability, skill, base, father and
// biography, and other bytes where no field lies.
struct Pair {
  ByteString a, b;
};
Pair Officers() {
  ByteString a = MakeImage(300, {{L::kSeiji, 90},
                                 {L::kTokugi2, 19},
                                 {L::kKyoten, 262 - 44},
                                 {L::kOya, 0x33},
                                 {L::kOya + 1, 2},
                                 {L::kAishou, 57},
                                 {L::kTanjou, 0x13},
                                 {L::kTanjou + 1, 6},
                                 {L::kBotu, 0x2E},
                                 {L::kBotu + 1, 6}});
  Put(a, L::kSei1, Sjis("鷹沢"));
  Put(a, L::kRetuden, Sjis("一行目"));
  ByteString b = a;
  b[L::kSeiji] = 95;
  b[L::kTokugi2] = 9;
  b[L::kKyoten] = static_cast<char>(262 - 99);
  b[L::kOya] = 0x34;
  Put(b, L::kRetuden, Sjis("一行目\r\n\"二\""));
  for (const std::size_t uncovered : {std::size_t{0}, std::size_t{44}, std::size_t{234}, std::size_t{299}}) {
    b[uncovered] = '\x7F';
  }
  return {a, b};
}

TEST(DiffCommand, LinesNameTheEntriesBesidePositions) {
  TempDir dir;
  const Pair officers = Officers();
  WriteBytes(dir / "A.K4R", officers.a);
  WriteBytes(dir / "B.K4R", officers.b);
  WriteBytes(dir / "BUSHOU.DAT", Sjis("（なし）\r\n甲\r\n乙\r\n"));
  const std::string a = (dir / "A.K4R").string(), b = (dir / "B.K4R").string();
  const std::string list = (dir / "BUSHOU.DAT").string();

  const testing::K4rRun run = RunK4r({"diff", a, b, "--officer-list", list});
  EXPECT_EQ(run.exitCode, 1) << run.err;
  EXPECT_EQ(run.out,
            "retuden: \"一行目\" → \"一行目\\r\\n\\\"二\\\"\"\n"
            "seiji: 90 → 95\n"
            "tokugi2: 19 （なし） → 9 軍神\n"
            "Kyoten: 44 江戸城 → 99 室町御所\n"
            "Oya: 1 甲 → 2 乙\n");

  const testing::K4rRun json = RunK4r({"diff", "--json", a, b, "--officer-list", list});
  EXPECT_EQ(json.exitCode, 1);
  const nlohmann::ordered_json differences = ParseJson(json.out);
  std::vector<std::string> keys;
  for (const auto& [key, value] : differences.items()) {
    keys.push_back(key);
  }
  EXPECT_EQ(keys, (std::vector<std::string>{"retuden", "seiji", "tokugi2", "tokugi2_name", "Kyoten", "Kyoten_name",
                                            "Oya", "Oya_name"}));
  EXPECT_EQ(differences["Kyoten_name"], (nlohmann::ordered_json{{"a", "江戸城"}, {"b", "室町御所"}}));
  EXPECT_EQ(differences["seiji"], (nlohmann::ordered_json{{"a", 90}, {"b", 95}}));
}

TEST(DiffCommand, ExitStatuses) {
  TempDir dir;
  const Pair officers = Officers();
  WriteBytes(dir / "A.K4R", officers.a);
  WriteBytes(dir / "B.K4R", officers.b);
  // Only bytes outside every field, and the length, differ from A.
  ByteString sameFields = officers.a + "tail";
  sameFields[0] = '\x01';
  WriteBytes(dir / "A2.K4R", sameFields);
  const std::string a = (dir / "A.K4R").string(), missing = (dir / "none.K4R").string();
  const struct {
    std::vector<std::string> arguments;
    int exitCode;
    std::string out;  // the whole of stdout
    std::string err;  // a part of stderr
  } cases[] = {
      {{"diff", a, (dir / "A2.K4R").string()}, 0, "", ""},
      {{"diff", "--json", a, (dir / "A2.K4R").string()}, 0, "{}\n", ""},
      {{"diff", a, (dir / "B.K4R").string()}, 1, "", ""},
      {{"diff", a, missing}, 2, "", "ファイル " + missing + " は開けません."},
      {{"diff", missing, a}, 2, "", "ファイル " + missing + " は開けません."},
      {{"diff", a}, 2, "", "B"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.arguments.back());
    const testing::K4rRun run = RunK4r(c.arguments);
    EXPECT_EQ(run.exitCode, c.exitCode);
    if (c.exitCode != 1) {
      EXPECT_EQ(run.out, c.out);
    }
    EXPECT_NE(run.err.find(c.err), std::string::npos) << run.err;
  }
}

}  // namespace
}  // namespace k4r
