// Tables of k4r dump through real spreadsheet programs and back: nothing a
// program does to a text on its way may reach the files, and a real edit
// must arrive as exactly that edit.

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "cli/SetTestFiles.h"

namespace k4r {
namespace {

namespace fs = std::filesystem;
using testing::Put;
using testing::ReadBytes;
using testing::RunK4r;
using testing::Sjis;
using testing::TempDir;
using testing::WriteBytes;

bool Has(const char* program) {
  return std::system((std::string("command -v ") + program + " >/dev/null 2>&1").c_str()) == 0;
}

// Debian's own, beside which python3-openpyxl is installed.
const std::string kPython = std::filesystem::exists("/usr/bin/python3") ? "/usr/bin/python3" : "python3";

int Shell(const std::string& command) {
  return std::system((command + " >/dev/null 2>&1").c_str());
}

// Officers whose texts look like numbers, times and dates to a spreadsheet.
struct Officers {
  TempDir dir;
  std::vector<fs::path> files;
  Officers() {
    const std::pair<const char*, const char*> names[] = {{"00000007", "1E5"}, {"１２３４", "12:30"}, {"+81", "1.50"}};
    for (std::size_t i = 0; i < std::size(names); ++i) {
      ByteString image = testing::NormalImage();
      Put(image, layout::kSei1, Sjis(names[i].first) + ByteString(8 - Sjis(names[i].first).size(), '\0'));
      Put(image, layout::kMei1, Sjis(names[i].second) + ByteString(8 - Sjis(names[i].second).size(), '\0'));
      files.push_back(dir / ("o" + std::to_string(i) + ".K4R"));
      WriteBytes(files.back(), image);
    }
    // A duplicate code, shown as its common form, needs the bytes column.
    ByteString image = testing::NormalImage();
    Put(image, layout::kRetuden, ByteString("\x87\x90\r\n\x88\x9f", 6) + ByteString(4, '\0'));
    files.push_back(dir / "o3.K4R");
    WriteBytes(files.back(), image);
  }
  [[nodiscard]] std::vector<std::string> Dump(std::vector<std::string> options) const {
    std::vector<std::string> arguments{"dump"};
    arguments.insert(arguments.end(), options.begin(), options.end());
    for (const fs::path& file : files) {
      arguments.push_back(file.string());
    }
    return arguments;
  }
  [[nodiscard]] std::vector<ByteString> Bytes() const {
    std::vector<ByteString> bytes;
    for (const fs::path& file : files) {
      bytes.push_back(ReadBytes(file));
    }
    return bytes;
  }
};

TEST(SpreadsheetRoundTrip, WorkbooksThroughGnumericAndOpenpyxlComeBackUnchangedOrAsEdited) {
#ifdef _WIN32
  GTEST_SKIP() << "Gnumeric and openpyxl run on the Linux side";
#endif
  if (!Has("ssconvert") || Shell(kPython + " -c 'import openpyxl'") != 0) {
    GTEST_SKIP() << "needs Gnumeric's ssconvert and python3-openpyxl (scripts/install-deps installs them)";
  }
  Officers officers;
  const std::vector<ByteString> before = officers.Bytes();
  const fs::path dumped = officers.dir / "t.xlsx";
  const fs::path saved = officers.dir / "gnumeric.xlsx";
  std::vector<std::string> dump = officers.Dump({"--xlsx", "-o", dumped.string()});
  ASSERT_EQ(RunK4r(dump).exitCode, 0);
  ASSERT_EQ(Shell("ssconvert '" + dumped.string() + "' '" + saved.string() + "'"), 0);
  const testing::K4rRun unchanged = RunK4r({"set", "--from-xlsx", saved.string()});
  EXPECT_EQ(unchanged.exitCode, 0) << unchanged.err;
  EXPECT_EQ(officers.Bytes(), before);

  // An edit as a user makes it: a number and a name, in the program's file.
  const fs::path edited = officers.dir / "edited.xlsx";
  ASSERT_EQ(Shell(kPython +
                  " -c \"import openpyxl,sys; b=openpyxl.load_workbook(sys.argv[1]); s=b.worksheets[0]; "
                  "h=[c.value for c in s[1]]; s.cell(4, h.index('seiji')+1).value=99; "
                  "s.cell(4, h.index('sei1')+1).value='桜'; s.cell(3, h.index('Kyoten')+1).value='小田原城'; "
                  "s.cell(3, h.index('Kyoten_name')+1).value=None; "
                  "b.save(sys.argv[2])\" '" +
                  saved.string() + "' '" + edited.string() + "'"),
            0);
  const testing::K4rRun applied = RunK4r({"set", "--from-xlsx", edited.string()});
  ASSERT_EQ(applied.exitCode, 0) << applied.err;
  const fs::path expected = officers.dir / "expected.K4R";
  for (std::size_t i = 0; i < officers.files.size(); ++i) {
    WriteBytes(expected, before[i]);
    std::vector<std::string> edit;
    if (i == 1) {
      edit = {"Kyoten=小田原城"};
    } else if (i == 2) {
      edit = {"seiji=99", "sei1=桜"};
    }
    ASSERT_EQ(RunK4r(testing::SetArguments(expected, edit)).exitCode, 0);
    EXPECT_EQ(ReadBytes(officers.files[i]), ReadBytes(expected)) << officers.files[i];
  }
}

TEST(SpreadsheetRoundTrip, ConvertedCsvIsRefusedAndOtherEncodingsRead) {
  Officers officers;
  const std::vector<ByteString> before = officers.Bytes();
  const testing::K4rRun dump = RunK4r(officers.Dump({"--csv"}));
  ASSERT_EQ(dump.exitCode, 0);
  const fs::path table = officers.dir / "t.csv";
  WriteBytes(table, dump.out);
  const std::string utf8 = dump.out.substr(3);  // without the byte-order mark

  struct Case {
    const char* what;
    ByteString table;
    std::vector<std::string> options;
    int exitCode;
    const char* message;
  };
  std::vector<Case> cases = {
      {"code page 932 without a mark", Sjis(utf8.c_str()), {}, 0, ""},
      {"UTF-8 without a mark, LF rows", utf8, {}, 0, ""},
      {"named encoding that does not fit", Sjis(utf8.c_str()), {"--encoding", "utf-8"}, 1, "not valid UTF-8"},
  };
#ifndef _WIN32  // Gnumeric is the Linux side's program
  if (Has("ssconvert")) {
    const fs::path through = officers.dir / "gnumeric.csv";
    ASSERT_EQ(Shell("ssconvert '" + table.string() + "' '" + through.string() + "'"), 0);
    cases.push_back({"through Gnumeric", ReadBytes(through), {}, 1, "is what a spreadsheet program makes of"});
  } else {
    ADD_FAILURE() << "Gnumeric's ssconvert is missing (scripts/install-deps installs it)";
  }
#endif
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    WriteBytes(table, c.table);
    std::vector<std::string> arguments{"set", "--from-csv", table.string()};
    arguments.insert(arguments.end(), c.options.begin(), c.options.end());
    const testing::K4rRun run = RunK4r(arguments);
    EXPECT_EQ(run.exitCode, c.exitCode) << run.err;
    EXPECT_NE(run.err.find(c.message), std::string::npos) << run.err;
    EXPECT_EQ(officers.Bytes(), before);
  }
}

// Half-width kana in code page 932 can also be valid UTF-8 (ﾎｱ is α): the
// reading that gives Japanese wins.
TEST(SpreadsheetRoundTrip, AnAmbiguousTableIsReadAsJapanese) {
  TempDir dir;
  ByteString image = testing::NormalImage();
  Put(image, layout::kMei1, ByteString("\xCE\xB1\0\0\0\0\0\0", 8));
  WriteBytes(dir / "a.K4R", image);
  WriteBytes(dir / "t.csv", "file,mei1\r\na.K4R,\xCE\xB1\r\n");
  const testing::K4rRun run = RunK4r({"set", "--from-csv", (dir / "t.csv").string()});
  EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(ReadBytes(dir / "a.K4R"), image);
}

TEST(SpreadsheetRoundTrip, JsonAsOtherProgramsWriteIt) {
  TempDir dir;
  WriteBytes(dir / "a.K4R", testing::NormalImage());
  const std::string file = "\"file\": \"a.K4R\"";
  const struct {
    std::string lines;
    int exitCode;
    const char* message;
  } cases[] = {
      {"{" + file + ", \"seiji\": 77.0}\n", 0, ""},
      {"{" + file + ", \"seiji\": 77, \"seiji\": 78}\n", 1, "key seiji: given twice in one object"},
      {"{\n" + file + "\n}\n", 1, "one whole object per line"},
  };
  for (const auto& c : cases) {
    WriteBytes(dir / "t.jsonl", c.lines);
    const testing::K4rRun run = RunK4r({"set", "--from-json", (dir / "t.jsonl").string()});
    EXPECT_EQ(run.exitCode, c.exitCode) << c.lines << run.err;
    EXPECT_NE(run.err.find(c.message), std::string::npos) << run.err;
  }
  EXPECT_EQ(testing::DumpOf((dir / "a.K4R").string())["seiji"], 77);
}

}  // namespace
}  // namespace k4r
