// k4r demo: the set it writes is one that dump, set, find and face read back.

#include <gtest/gtest.h>

#include <QImage>
#include <QSet>
#include <memory>
#include <set>

#include "cli/CliSupport.h"
#include "cli/K4rTestRun.h"
#include "core/NameList.h"
#include "support/RecordLayout.h"
#include "support/TempDir.h"

namespace k4r {
namespace {
using Json = nlohmann::ordered_json;
using testing::DumpOf;
using testing::ReadBytes;
using testing::RunK4r;
using testing::Sjis;
using testing::TempDir;
using testing::WriteBytes;
namespace fs = std::filesystem;

const char* const kSamples[] = {"SAMPLE1.K4R", "SAMPLE2.K4R", "SAMPLE3.K4R"};

// The face archive takes a while to draw: one demo set for all cases.
class DemoCommand : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    dir_ = std::make_unique<TempDir>();
    const testing::K4rRun run = RunK4r({"demo", Demo().string()});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    ASSERT_EQ(run.err, "");
  }
  static void TearDownTestSuite() { dir_.reset(); }

  // A folder that does not exist yet, two levels down.
  static fs::path Demo() { return dir_->Path() / "new" / "demo"; }
  static std::vector<std::string> ListOptions() {
    return {"--officer-list", (Demo() / "BUSHOU.DAT").string(), "--face-list", (Demo() / "KAO.DAT").string(),
            "--face-file",    (Demo() / "KAO_M.VX9").string()};
  }

 private:
  static std::unique_ptr<TempDir> dir_;
};
std::unique_ptr<TempDir> DemoCommand::dir_;

TEST_F(DemoCommand, NameListsHaveTheirLengthsInCp932WithCrLf) {
  const struct {
    const char* file;
    std::size_t lines;
  } lists[] = {{"BUSHOU.DAT", 1113}, {"KAO.DAT", 1000}};
  for (const auto& list : lists) {
    SCOPED_TRACE(list.file);
    const ByteString content = ReadBytes(Demo() / list.file);
    const NameList entries = SplitNameList(content);
    EXPECT_EQ(entries.size(), list.lines);
    ByteString joined;
    for (const ByteString& entry : entries) {
      EXPECT_FALSE(entry.empty());
      EXPECT_TRUE(cli::ShowCp932(entry).exact) << cli::HexOf(entry);
      joined += entry + "\r\n";
    }
    EXPECT_EQ(joined, content);  // CR LF after every line, nothing else
  }
  const NameList officers = SplitNameList(ReadBytes(Demo() / "BUSHOU.DAT"));
  EXPECT_EQ(officers.front(), Sjis("（なし）"));
  EXPECT_EQ(std::set<ByteString>(officers.begin(), officers.end()).size(), officers.size());
  // Face i is the portrait of officer i + 1.
  const NameList faces = SplitNameList(ReadBytes(Demo() / "KAO.DAT"));
  EXPECT_EQ(faces[0], officers[1]);
  EXPECT_EQ(faces[999], officers[1000]);
}

bool IsHiragana(const std::string& utf8) {
  const QString text = QString::fromStdString(utf8);
  return !text.isEmpty() &&
         std::all_of(text.begin(), text.end(), [](QChar c) { return c.unicode() >= 0x3041 && c.unicode() <= 0x309F; });
}

TEST_F(DemoCommand, SampleOfficersLookReal) {
  std::set<std::string> names;
  for (const char* sample : kSamples) {
    SCOPED_TRACE(sample);
    EXPECT_GE(fs::file_size(Demo() / sample), layout::kRecordEnd);
    const Json dump = DumpOf((Demo() / sample).string(), ListOptions());
    names.insert(dump["sei1"].get<std::string>() + dump["mei1"].get<std::string>());
    EXPECT_FALSE(dump["sei1"].get<std::string>().empty());
    EXPECT_FALSE(dump["mei1"].get<std::string>().empty());
    EXPECT_TRUE(IsHiragana(dump["sei2"])) << dump["sei2"];
    EXPECT_TRUE(IsHiragana(dump["mei2"])) << dump["mei2"];
    EXPECT_NE(dump["retuden"].get<std::string>().find("。\r\n"), std::string::npos);
    for (const char* ability : {"seiji", "tousotu", "tiryaku", "kyouyou", "giri"}) {
      EXPECT_GE(dump[ability], 1) << ability;
      EXPECT_LE(dump[ability], 120) << ability;
    }
    EXPECT_LE(dump["giri"], 100);
    EXPECT_GE(dump["tanjou"], 1500);
    EXPECT_LE(dump["tanjou"], 1560);
    EXPECT_GT(dump["jumyou"], 15);
    for (const char* named :
         {"shutuji_name", "sinjin_name", "Kyoten_name", "Aishou_name", "Tomo_name", "Teki_name", "Kao_name"}) {
      EXPECT_TRUE(dump[named].is_string()) << named;
    }
    for (const Json& skill : dump["tokugi_names"]) {
      EXPECT_TRUE(skill.is_string());
    }
    // The father is an officer of the same family.
    EXPECT_GT(dump["Oya"], 0);
    EXPECT_TRUE(dump["Oya_name"].get<std::string>().starts_with(dump["sei1"].get<std::string>()));
    for (const auto& [key, value] : dump.items()) {
      EXPECT_FALSE(key.ends_with("_hex")) << key;
    }
  }
  EXPECT_EQ(names.size(), 3u);
}

TEST_F(DemoCommand, SamplesAreAlreadyInTheEditorsForm) {
  for (const char* sample : kSamples) {
    SCOPED_TRACE(sample);
    const ByteString before = ReadBytes(Demo() / sample);
    TempDir copy;
    WriteBytes(copy / sample, before);
    std::vector<std::string> arguments{"set", (copy / sample).string()};
    const std::vector<std::string> options = ListOptions();
    arguments.insert(arguments.end(), options.begin(), options.end());
    ASSERT_EQ(RunK4r(arguments).exitCode, 0);
    EXPECT_EQ(ReadBytes(copy / sample), before);
  }
}

TEST_F(DemoCommand, FindsTheSamplesFamiliesAndDrawsTheirFaces) {
  TempDir out;
  QSet<QRgb> firstColours;
  for (const char* sample : kSamples) {
    SCOPED_TRACE(sample);
    const Json dump = DumpOf((Demo() / sample).string(), ListOptions());
    const std::string family = dump["sei1"];
    const testing::K4rRun found = RunK4r({"find", (Demo() / "BUSHOU.DAT").string(), family});
    EXPECT_EQ(found.exitCode, 0);
    EXPECT_NE(found.out.find(" " + family), std::string::npos) << found.out;

    const int face = dump["Kao"];
    const fs::path png = out / (std::to_string(face) + ".png");
    const testing::K4rRun drawn =
        RunK4r({"face", (Demo() / "KAO_M.VX9").string(), std::to_string(face), "-o", png.string()});
    ASSERT_EQ(drawn.exitCode, 0) << drawn.err;
    QImage image;
    ASSERT_TRUE(image.load(QString::fromStdString(png.string()), "PNG"));
    EXPECT_EQ(image.size(), QSize(96, 120));
    QSet<QRgb> colours;
    for (int y = 0; y < image.height(); ++y) {
      for (int x = 0; x < image.width(); ++x) {
        colours.insert(image.pixel(x, y));
      }
    }
    EXPECT_GT(colours.size(), 12) << "a drawing, not a flat area";
    EXPECT_NE(colours, firstColours) << "each face its own";
    if (firstColours.isEmpty()) {
      firstColours = colours;
    }
  }
}

// Into a folder that already holds the set (a game folder holds the first
// three): refused and nothing written, unless --force.
TEST_F(DemoCommand, ExistingSetIsReplacedOnlyWithForce) {
  const testing::K4rRun refused = RunK4r({"demo", Demo().string()});
  EXPECT_EQ(refused.exitCode, 1);
  EXPECT_EQ(refused.err, "k4r demo: " + (Demo() / "BUSHOU.DAT").string() +
                             " already exists; nothing was written (--force replaces the demo files)\n");
  const ByteString sample = ReadBytes(Demo() / "SAMPLE2.K4R");
  WriteBytes(Demo() / "SAMPLE2.K4R", "the player's own");
  const testing::K4rRun forced = RunK4r({"demo", "--force", Demo().string()});
  EXPECT_EQ(forced.exitCode, 0) << forced.err;
  EXPECT_EQ(ReadBytes(Demo() / "SAMPLE2.K4R"), sample);
}

TEST(DemoCommandRefusal, NamesTheFirstExistingFileAndWritesNothing) {
  const struct {
    std::vector<const char*> existing;
    const char* named;
  } cases[] = {
      {{"BUSHOU.DAT"}, "BUSHOU.DAT"},
      {{"KAO.DAT"}, "KAO.DAT"},
      {{"KAO_M.VX9"}, "KAO_M.VX9"},
      {{"SAMPLE3.K4R"}, "SAMPLE3.K4R"},
      {{"SAMPLE2.K4R", "KAO.DAT"}, "KAO.DAT"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.named);
    TempDir dir;
    std::set<std::string> before;
    for (const char* name : c.existing) {
      WriteBytes(dir / name, "the player's own");
      before.insert(name);
    }
    const testing::K4rRun run = RunK4r({"demo", dir.Path().string()});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.out, "");
    EXPECT_NE(run.err.find((dir / c.named).string() + " already exists"), std::string::npos) << run.err;
    EXPECT_EQ(testing::FileNamesIn(dir.Path()), before);
    for (const char* name : c.existing) {
      EXPECT_EQ(ReadBytes(dir / name), "the player's own");
    }
  }
}

TEST(DemoCommandFailure, FolderThatCannotBeMade) {
  TempDir dir;
  WriteBytes(dir / "file", "x");
  const testing::K4rRun run = RunK4r({"demo", (dir / "file" / "demo").string()});
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_EQ(run.err, "ファイル " + (dir / "file" / "demo").string() + " を作成できません.\n");
}

}  // namespace
}  // namespace k4r
