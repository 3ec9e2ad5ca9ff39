// k4r dump on files built byte by byte.

#include <gtest/gtest.h>

#include "cli/K4rTestRun.h"
#include "support/OfficerImage.h"
#include "support/RecordLayout.h"
#include "support/TempDir.h"

namespace k4r {
namespace {
using Json = nlohmann::ordered_json;
using testing::DumpOf;
using testing::MakeImage;
using testing::ParseJson;
using testing::Put;
using testing::RunK4r;
using testing::Sjis;
using testing::TempDir;
using testing::WriteBytes;
namespace L = layout;

// Every field set through its own bytes; several positions lie outside
// their lists, and two texts do not survive a trip through UTF-8.
ByteString HandMadeImage() {
  ByteString image = MakeImage(
      280, {{L::kKao, 2},      {L::kKao + 1, 0},    {L::kTanjou, 0x13}, {L::kTanjou + 1, 6}, {L::kBotu, 0x2E},
            {L::kBotu + 1, 6}, {L::kSeibetu, 0x0A}, {L::kShutuji, 7},   {L::kSinjin, 2},     {L::kOya, 0x35},
            {L::kOya + 1, 2},  {L::kSeiji, 90},     {L::kTousotu, 255}, {L::kTiryaku, 0},    {L::kKyouyou, 7},
            {L::kTokugi1, 12}, {L::kTokugi2, 19},   {L::kTokugi3, 25},  {L::kKyoten, 2},     {L::kKyoten + 1, 1},
            {L::kTomo, 49},    {L::kTomo + 1, 2},   {L::kTeki, 0x3C},   {L::kTeki + 1, 2},   {L::kAishou, 57},
            {L::kGiri, 100}},
      '\x5A');
  Put(image, L::kSei1, Sjis("鷹沢") + ByteString(4, '\0'));
  Put(image, L::kMei1, ByteString("A\x82", 2) + ByteString(6, '\0'));  // a lead byte with nothing after it
  Put(image, L::kSei2, Sjis("たかさわ") + ByteString(8, '\0'));
  Put(image, L::kMei2, ByteString("\xed\x40\0", 3));  // a duplicate code of the IBM row
  Put(image, L::kRetuden, Sjis("一行目\r\n二行目\n三") + ByteString(1, '\0'));
  return image;
}

TEST(DumpCommand, PrintsEveryFieldWithItsNameInOrder) {
  TempDir dir;
  WriteBytes(dir / "a.K4R", HandMadeImage());
  WriteBytes(dir / "BUSHOU.DAT", Sjis("（なし）\r\n甲\r\n乙\r\n丙\r\n丁\r\n"));
  WriteBytes(dir / "KAO.DAT", Sjis("顔〇\n顔一\n顔二\n"));

  const Json dump = DumpOf((dir / "a.K4R").string(), {"--officer-list", (dir / "BUSHOU.DAT").string(), "--face-list",
                                                      (dir / "KAO.DAT").string()});
  std::vector<std::string> keys;
  for (const auto& [key, value] : dump.items()) {
    keys.push_back(key);
  }
  const std::vector<std::string> expectedKeys = {
      "sei1",        "mei1",      "mei1_hex",    "sei2",      "mei2",        "mei2_hex",     "retuden",
      "seiji",       "tousotu",   "tiryaku",     "kyouyou",   "giri",        "tokugi",       "tokugi_names",
      "seibetu",     "tanjou",    "botu",        "jumyou",    "shutuji",     "shutuji_name", "sinjin",
      "sinjin_name", "Kyoten",    "Kyoten_name", "Aishou",    "Aishou_name", "Oya",          "Oya_name",
      "Tomo",        "Tomo_name", "Teki",        "Teki_name", "Kao",         "Kao_name"};
  EXPECT_EQ(keys, expectedKeys);

  const Json expected = Json::parse(R"({
    "sei1": "鷹沢", "mei1": "A\ufffd", "mei1_hex": "4182", "sei2": "たかさわ",
    "mei2_hex": "ed40", "retuden": "一行目\r\n二行目\n三",
    "seiji": 90, "tousotu": 255, "tiryaku": 0, "kyouyou": 7, "giri": 100,
    "tokugi": [12, 19, 25], "tokugi_names": ["※軍師", "（なし）", null],
    "seibetu": 10, "tanjou": 1555, "botu": 1582, "jumyou": 28,
    "shutuji": 6, "shutuji_name": "僧侶", "sinjin": 2, "sinjin_name": "キリスト教",
    "Kyoten": 4, "Kyoten_name": "内城", "Aishou": 57, "Aishou_name": "57",
    "Oya": 3, "Oya_name": "丙", "Tomo": -1, "Tomo_name": null, "Teki": 10, "Teki_name": null,
    "Kao": 2, "Kao_name": "顔二"})");
  for (const auto& [key, value] : expected.items()) {
    EXPECT_EQ(dump[key], value) << key;
  }
  // The duplicate code reads as its character; only the bytes tell them apart.
  EXPECT_EQ(dump["mei2"], bridge::FromCp932("\xfa\x5c").toStdString());
}

TEST(DumpCommand, EmptyFileShowsTheDecodedZeroes) {
  TempDir dir;
  WriteBytes(dir / "empty.K4R", "");
  const Json dump = DumpOf((dir / "empty.K4R").string());
  EXPECT_EQ(dump["sei1"], "");
  EXPECT_EQ(dump["retuden"], "");
  EXPECT_EQ(dump["tokugi"], Json::parse("[0, 0, 0]"));
  EXPECT_EQ(dump["tokugi_names"][0], "槍衾1");
  EXPECT_EQ((std::array{dump["tanjou"], dump["botu"], dump["jumyou"]}), (std::array{Json(1536), Json(1536), Json(1)}));
  EXPECT_EQ(dump["Kyoten"], 262);
  EXPECT_TRUE(dump["Kyoten_name"].is_null());
  EXPECT_EQ(dump["seibetu"], 0);
  // Names beside the officer and face fields only when their lists are given.
  EXPECT_FALSE(dump.contains("Oya_name"));
  EXPECT_FALSE(dump.contains("Kao_name"));
  EXPECT_FALSE(dump.contains("sei1_hex"));
}

TEST(DumpCommand, SeveralFilesGiveJsonLinesAndReportTheUnreadable) {
  TempDir dir;
  WriteBytes(dir / "a.K4R", HandMadeImage());
  WriteBytes(dir / "b.K4R", MakeImage(267, {{L::kSeiji, 11}}));
  const std::string missing = (dir / "missing.K4R").string();

  const testing::K4rRun run = RunK4r({"dump", (dir / "a.K4R").string(), missing, (dir / "b.K4R").string()});
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_EQ(run.err, "ファイル " + missing + " は開けません.\n");
  std::istringstream lines(run.out);
  std::string line;
  std::vector<Json> objects;
  while (std::getline(lines, line)) {
    objects.push_back(ParseJson(line));
  }
  ASSERT_EQ(objects.size(), 2u);
  EXPECT_EQ(objects[0].begin().key(), "file");
  EXPECT_EQ(objects[0]["file"], (dir / "a.K4R").string());
  EXPECT_EQ(objects[0]["sei1"], "鷹沢");
  EXPECT_EQ(objects[1]["file"], (dir / "b.K4R").string());
  EXPECT_EQ(objects[1]["seiji"], 11);
}

TEST(DumpCommand, NamedListThatCannotBeReadIsAWarningAndGivesNoNames) {
  TempDir dir;
  WriteBytes(dir / "a.K4R", HandMadeImage());
  const testing::K4rRun run =
      RunK4r({"dump", (dir / "a.K4R").string(), "--officer-list", (dir / "nowhere.DAT").string()});
  EXPECT_EQ(run.exitCode, 0);
  EXPECT_NE(run.err.find("warning: ファイル " + (dir / "nowhere.DAT").string() + " は開けません."), std::string::npos);
  EXPECT_FALSE(ParseJson(run.out).contains("Oya_name"));
}

TEST(DumpCommand, MissingFileIsTheEditorsMessage) {
  TempDir dir;
  const std::string path = (dir / "none.K4R").string();
  const testing::K4rRun run = RunK4r({"dump", path});
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_EQ(run.out, "");
  EXPECT_EQ(run.err, "ファイル " + path + " は開けません.\n");
}

}  // namespace
}  // namespace k4r
