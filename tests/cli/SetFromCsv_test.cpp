// k4r set --from-csv: RFC 4180 cells as a spreadsheet writes them, and a
// table with one bad cell writing no file at all.

#include <gtest/gtest.h>

#include "cli/K4rTestRun.h"
#include "cli/SetTestFiles.h"

namespace k4r {
namespace {
using testing::DumpOf;
using testing::NormalImage;
using testing::ReadBytes;
using testing::RunK4r;
using testing::TempDir;
using testing::WriteBytes;

// `text` with every `mark` replaced by `value`.
std::string Filled(std::string text, const std::string& mark, const std::string& value) {
  for (std::size_t at = text.find(mark); at != std::string::npos; at = text.find(mark, at + value.size())) {
    text.replace(at, mark.size(), value);
  }
  return text;
}

testing::K4rRun SetFromCsv(const std::filesystem::path& table) {
  return RunK4r({"set", "--from-csv", table.string()});
}

TEST(SetFromCsv, QuotedCellsKeepCommasQuotesLineBreaksAndBlanks) {
  const struct {
    const char* name;
    const char* start;  // before the header
    const char* rowEnd;
  } cases[] = {{"byte-order mark, CR LF", "\xEF\xBB\xBF", "\r\n"}, {"no mark, LF", "", "\n"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    TempDir dir;
    WriteBytes(dir / "a.K4R", NormalImage());
    const std::string end = c.rowEnd;
    // The line break inside the quoted cell is the row end's kind, as a
    // spreadsheet program writes it; mei2's empty cell keeps the field.
    WriteBytes(dir / "t.csv", c.start + std::string("file,sei1,retuden,mei2,Kyoten_name") + end +
                                  "a.K4R,\" 霧,谷\",\"他国の\"\"客\"\"" + end + ",流れ\",,江戸城" + end);
    const testing::K4rRun run = SetFromCsv(dir / "t.csv");
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const auto dump = DumpOf((dir / "a.K4R").string());
    EXPECT_EQ(dump["sei1"], " 霧,谷");
    EXPECT_EQ(dump["retuden"], "他国の\"客\"\r\n,流れ");
    EXPECT_EQ(dump["mei2"], "あや");
    EXPECT_EQ(dump["Kyoten"], 44);
  }
}

TEST(SetFromCsv, OneBadCellAndNoFileIsWritten) {
  const std::string header = "file,seiji,Kyoten_name,tokugi2_name\r\n";
  const struct {
    std::string lastRow;
    std::string message;
  } cases[] = {
      {"c.K4R,5,江戸,\r\n",
       "{T}: row 4: column Kyoten_name: '江戸' is not an entry of the bases; entries containing it: 江戸城 (44)."},
      {"c.K4R,abc,,\r\n", "{T}: row 4: column seiji: 'abc' は整数ではありません."},
      {"c.K4R,300,,\r\n",
       "{T}: row 4: column seiji: 政治 300 はファイルに保存できません (保存できるのは 0 から 255 まで)."},
      {"c.K4R,,,軍\r\n",
       "{T}: row 4: column tokugi2_name: '軍' is not an entry of the skills; entries containing it: 軍神 (9), ※軍師 "
       "(12)."},
      {"missing.K4R,1,,\r\n", "{T}: row 4: ファイル {M} は開けません."},
      {"./a.K4R,1,,\r\n", "{T}: row 4: the same file as {T}: row 2."},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.lastRow);
    TempDir dir;
    for (const char* name : {"a.K4R", "b.K4R", "c.K4R"}) {
      WriteBytes(dir / name, NormalImage());
    }
    WriteBytes(dir / "t.csv", header + "a.K4R,1,江戸城,\r\nb.K4R,2,,軍神\r\n" + c.lastRow);
    const testing::K4rRun run = SetFromCsv(dir / "t.csv");
    EXPECT_EQ(run.exitCode, 1);
    const std::string expected =
        Filled(Filled(c.message, "{T}", (dir / "t.csv").string()), "{M}", (dir / "missing.K4R").string());
    EXPECT_EQ(run.err, expected + "\nk4r set: 1 of 3 refused; no file was written.\n");
    for (const char* name : {"a.K4R", "b.K4R", "c.K4R"}) {
      EXPECT_EQ(ReadBytes(dir / name), NormalImage()) << name;
    }
  }
}

// A column named twice names the first in its refusal, wherever it stands.
TEST(SetFromCsv, ColumnGivenTwiceIsNamed) {
  TempDir dir;
  WriteBytes(dir / "a.K4R", NormalImage());
  WriteBytes(dir / "t.csv", "file,mei1,retuden_hex,seiji,seiji\r\na.K4R,,,1,2\r\n");
  const testing::K4rRun run = SetFromCsv(dir / "t.csv");
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_EQ(run.err, (dir / "t.csv").string() + ": row 1, column seiji: given twice (also as row 1, column seiji).\n");
  EXPECT_EQ(ReadBytes(dir / "a.K4R"), NormalImage());
}

}  // namespace
}  // namespace k4r
