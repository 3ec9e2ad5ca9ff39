// k4r set --from-json: a file's own dump changes nothing beyond a plain
// save; edits by position and by name; every line checked before writing.

#include <gtest/gtest.h>

#include <sstream>

#include "cli/K4rTestRun.h"
#include "cli/SetTestFiles.h"

namespace k4r {
namespace {
using Json = nlohmann::ordered_json;
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

// Fields far from the editor's normal forms, a name that is not valid CP932,
// one with a duplicate code, and a biography that outgrows its field once its
// lone line breaks become CR LF.
ByteString OddImage() {
  ByteString image = MakeImage(280, {}, '\x41');
  Put(image, L::kSei1, ByteString("\x80\x41\0XYZW", 7));
  Put(image, L::kSei2, ByteString("\x87\x90\0", 3));  // NEC's ≒, shown as the common form
  ByteString biography;
  while (biography.size() < L::kRetudenWidth) {
    biography += "ab\n";
  }
  biography.resize(L::kRetudenWidth);
  Put(image, L::kRetuden, biography);
  Put(image, L::kTanjou, "\x10\x07");
  Put(image, L::kShutuji, "\x08");
  Put(image, L::kSinjin, "\x03");
  Put(image, L::kTokugi1, "\x14\xff\x05");
  Put(image, L::kKyoten, ByteString("\x50\x00", 2));
  Put(image, L::kAishou, "\x96");
  Put(image, L::kOya, "\x10\x07");
  Put(image, L::kTeki, "\x3c\x02");
  Put(image, L::kKao, "\xe8\x03");
  return image;
}

std::string DumpText(const std::vector<std::string>& files, const std::vector<std::string>& options) {
  std::vector<std::string> arguments{"dump"};
  arguments.insert(arguments.end(), files.begin(), files.end());
  arguments.insert(arguments.end(), options.begin(), options.end());
  const testing::K4rRun run = RunK4r(arguments);
  EXPECT_EQ(run.exitCode, 0) << run.err;
  return run.out;
}

enum class Form { Object, Lines, Table };

TEST(SetFromJson, OwnDumpChangesNothingBeyondAPlainSave) {
  const Lists lists;
  const struct {
    const char* name;
    std::vector<std::string> options;
    Form form;
  } cases[] = {
      {"one object, no lists", {}, Form::Object},
      {"one object, with lists", lists.Options(), Form::Object},
      {"JSON Lines, with lists", lists.Options(), Form::Lines},
      {"table of dump --csv, no lists", {}, Form::Table},
      {"table of dump --csv, with lists", lists.Options(), Form::Table},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    TempDir dir;
    const ByteString images[] = {OddImage(), NormalImage()};
    for (int i = 0; i < 2; ++i) {
      WriteBytes(dir / ("plain" + std::to_string(i) + ".K4R"), images[i]);
      WriteBytes(dir / ("dumped" + std::to_string(i) + ".K4R"), images[i]);
      const testing::K4rRun plain = RunK4r(SetArguments(dir / ("plain" + std::to_string(i) + ".K4R"), {}, c.options));
      ASSERT_EQ(plain.exitCode, 0) << plain.err;
    }
    const std::string first = (dir / "dumped0.K4R").string();
    const std::string second = (dir / "dumped1.K4R").string();
    if (c.form == Form::Table) {
      std::vector<std::string> dump{"--csv"};
      dump.insert(dump.end(), c.options.begin(), c.options.end());
      WriteBytes(dir / "all.csv", DumpText({first, second}, dump));
      std::vector<std::string> arguments{"set", "--from-csv", (dir / "all.csv").string()};
      arguments.insert(arguments.end(), c.options.begin(), c.options.end());
      const testing::K4rRun run = RunK4r(arguments);
      ASSERT_EQ(run.exitCode, 0) << run.err;
    } else if (c.form == Form::Lines) {
      // Names relative to the folder of the JSON Lines file.
      Json lines[2];
      std::istringstream dumped(DumpText({first, second}, c.options));
      std::string text;
      for (int i = 0; std::getline(dumped, text); ++i) {
        lines[i] = Json::parse(text);
        lines[i]["file"] = "dumped" + std::to_string(i) + ".K4R";
      }
      WriteBytes(dir / "all.jsonl", lines[0].dump() + "\n" + lines[1].dump() + "\n");
      std::vector<std::string> arguments{"set", "--from-json", (dir / "all.jsonl").string()};
      arguments.insert(arguments.end(), c.options.begin(), c.options.end());
      const testing::K4rRun run = RunK4r(arguments);
      ASSERT_EQ(run.exitCode, 0) << run.err;
    } else {
      for (const std::string& file : {first, second}) {
        WriteBytes(dir / "one.json", DumpText({file}, c.options));
        const testing::K4rRun run = RunK4r(SetArguments(file, {"--from-json", (dir / "one.json").string()}, c.options));
        ASSERT_EQ(run.exitCode, 0) << run.err;
      }
    }
    EXPECT_EQ(ReadBytes(dir / "dumped0.K4R"), ReadBytes(dir / "plain0.K4R"));
    EXPECT_EQ(ReadBytes(dir / "dumped1.K4R"), ReadBytes(dir / "plain1.K4R"));
  }
}

TEST(SetFromJson, ValuesByPositionAndByName) {
  const Lists lists;
  const struct {
    const char* json;
    const char* key;
    Json expected;
  } cases[] = {
      {R"({"Kyoten_name": "江戸城"})", "Kyoten", 44},
      {R"({"Kyoten": 44, "Kyoten_name": "江戸城"})", "Kyoten", 44},
      {R"({"Kyoten_name": null})", "Kyoten", -1},
      {R"({"tokugi_names": ["軍神", "（なし）", "鼓舞"]})", "tokugi", Json::parse("[9, 19, 18]")},
      {R"({"tokugi": [9, 19, 18], "tokugi_names": ["軍神", "（なし）", "鼓舞"]})", "tokugi",
       Json::parse("[9, 19, 18]")},
      {R"({"tanjou": 1500, "jumyou": 60})", "botu", 1559},
      {R"({"tanjou": 1500, "botu": 1559, "jumyou": 60})", "botu", 1559},
      {R"({"botu": 1600, "jumyou": 53})", "tanjou", 1548},
      {R"({"seibetu": 1, "seiji": "0x10"})", "seiji", 16},
      {R"({"Oya_name": "乙", "Kao_name": "顔二"})", "Oya", 2},
      {R"({"sei1": "霧谷", "file": "elsewhere.K4R"})", "sei1", "霧谷"},
      {R"({"sei1": "椿", "sei1_hex": "92d6"})", "sei1", "椿"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.json);
    TempDir dir;
    WriteBytes(dir / "a.K4R", NormalImage());
    WriteBytes(dir / "x.json", c.json);
    const testing::K4rRun run =
        RunK4r(SetArguments(dir / "a.K4R", {"--from-json", (dir / "x.json").string()}, lists.Options()));
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(DumpOf((dir / "a.K4R").string())[c.key], c.expected);
  }
}

TEST(SetFromJson, RefusedObjectWritesNothing) {
  const Lists lists;
  const struct {
    const char* json;
    std::string message;  // after "PATH: "
  } cases[] = {
      {R"({"Kyoten": 44, "Kyoten_name": "室町御所"})",
       "key Kyoten_name: '室町御所' does not agree with key Kyoten 44, which is '江戸城'."},
      {R"({"Kyoten": 150, "Kyoten_name": null})",
       "key Kyoten: position 150 is outside the bases (0..99; -1 for none)."},
      {R"({"Kyoten_name": "江戸"})",
       "key Kyoten_name: '江戸' is not an entry of the bases; entries containing it: 江戸城 (44)."},
      {R"({"Oya_name": "甲", "Oya": 2})", "key Oya_name: '甲' does not agree with key Oya 2, which is '乙'."},
      {R"({"botu": 1600, "jumyou": 10})",
       "key jumyou: 10 does not agree with key botu 1600 and the birth year 1548 (botu = tanjou + jumyou - 1)."},
      {R"({"seibetu": 0})", "key seibetu: 0 differs from the file's 1; the sex byte is read only."},
      {R"({"sei1": "新", "sei1_hex": "92d6"})",
       "key sei1: '新' is not what key sei1_hex shows; change one of them, or leave the bytes out."},
      {R"({"foo": 1})", "key foo: unknown key (see k4r set --help)."},
      {R"({"tokugi": [1, 2]})", "key tokugi: not an array of three."},
      {R"({"seiji": 1.5})", "key seiji: 1.5 is neither a text nor a whole number."},
      {R"({"sei1": null})", "key sei1: null is not a value here; leave the key out to keep the field."},
      {R"([1, 2])", "not a JSON object."},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.json);
    TempDir dir;
    WriteBytes(dir / "a.K4R", NormalImage());
    WriteBytes(dir / "x.json", c.json);
    const testing::K4rRun run =
        RunK4r(SetArguments(dir / "a.K4R", {"--from-json", (dir / "x.json").string()}, lists.Options()));
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.err.substr(0, run.err.find('\n') + 1), (dir / "x.json").string() + ": " + c.message + "\n");
    EXPECT_EQ(ReadBytes(dir / "a.K4R"), NormalImage());
  }
}

TEST(SetFromJson, BadLastLineWritesNoFile) {
  TempDir dir;
  WriteBytes(dir / "a.K4R", NormalImage());
  WriteBytes(dir / "b.K4R", NormalImage());
  WriteBytes(dir / "all.jsonl", "{\"file\": \"a.K4R\", \"seiji\": 1}\n\n{\"file\": \"b.K4R\", \"Kyoten\": 100}\n");
  const testing::K4rRun run = RunK4r({"set", "--from-json", (dir / "all.jsonl").string()});
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_EQ(run.err, (dir / "all.jsonl").string() +
                         ": line 3: key Kyoten: position 100 is outside the bases (0..99; -1 for none).\n"
                         "k4r set: 1 of 2 refused; no file was written.\n");
  EXPECT_EQ(ReadBytes(dir / "a.K4R"), NormalImage());
  EXPECT_EQ(ReadBytes(dir / "b.K4R"), NormalImage());
}

TEST(SetFromJson, StandardInput) {
  TempDir dir;
  WriteBytes(dir / "a.K4R", NormalImage());
  const testing::K4rRun run = RunK4r(SetArguments(dir / "a.K4R", {"--from-json", "-"}), R"({"seiji": 99})");
  ASSERT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(DumpOf((dir / "a.K4R").string())["seiji"], 99);
}

}  // namespace
}  // namespace k4r
