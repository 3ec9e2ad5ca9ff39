// k4r dump --csv: the table a spreadsheet program reads, checked against the
// JSON dump of the same files.

#include <gtest/gtest.h>

#include "cli/K4rTestRun.h"
#include "support/OfficerImage.h"
#include "support/RecordLayout.h"
#include "support/TempDir.h"

namespace k4r {
namespace {
using testing::MakeImage;
using testing::Put;
using testing::RunK4r;
using testing::Sjis;
using testing::TempDir;
using testing::WriteBytes;
namespace L = layout;

// RFC 4180 records and fields, read back strictly: a quoted field ends at a
// lone quote, a record at CR LF outside quotes; anything else is a fault.
std::vector<std::vector<std::string>> ReadCsv(std::string_view text) {
  std::vector<std::vector<std::string>> records(1);
  std::string field;
  bool quoted = false, wasQuoted = false;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (quoted) {
      if (c == '"' && i + 1 < text.size() && text[i + 1] == '"') {
        field += '"';
        ++i;
      } else if (c == '"') {
        quoted = false;
      } else {
        field += c;
      }
    } else if (c == '"') {
      EXPECT_TRUE(field.empty() && !wasQuoted) << "quote inside an unquoted field at " << i;
      quoted = wasQuoted = true;
    } else if (c == ',' || c == '\r') {
      records.back().push_back(std::move(field));
      field.clear();
      wasQuoted = false;
      if (c == '\r') {
        EXPECT_EQ(text.substr(i + 1, 1), "\n") << "CR without LF at " << i;
        ++i;
        records.emplace_back();
      }
    } else {
      EXPECT_NE(c, '\n') << "lone LF at " << i;
      field += c;
    }
  }
  EXPECT_FALSE(quoted) << "unterminated quote";
  EXPECT_TRUE(records.back().empty() && field.empty()) << "last record without CR LF";
  records.pop_back();
  return records;
}

TEST(DumpCsv, OneRowPerFileUnderTheJsonKeysWithAwkwardCellsQuoted) {
  TempDir dir;
  ByteString image = MakeImage(267, {{L::kTokugi1, 9}, {L::kTokugi2, 19}, {L::kTokugi3, 30}, {L::kKyoten, 218}});
  Put(image, L::kSei1, Sjis("鷹沢"));
  Put(image, L::kMei2, ByteString("\xed\x40\0", 3));  // a duplicate code: needs its hex
  Put(image, L::kRetuden, Sjis("一行目,\"引用\"\r\n二行目"));
  WriteBytes(dir / "a b.K4R", image);
  WriteBytes(dir / "KAO.DAT", Sjis("顔〇\r\n"));
  const std::string file = (dir / "a b.K4R").string(), missing = (dir / "none.K4R").string();
  const std::string faces = (dir / "KAO.DAT").string();

  const testing::K4rRun run = RunK4r({"dump", "--csv", "--face-list", faces, file, missing});
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_NE(run.err.find("ファイル " + missing + " は開けません."), std::string::npos) << run.err;
  ASSERT_EQ(run.out.substr(0, 3), "\xEF\xBB\xBF");
  const std::vector<std::vector<std::string>> table = ReadCsv(std::string_view(run.out).substr(3));
  ASSERT_EQ(table.size(), 2u);  // the header and the one readable file
  const std::vector<std::string>& header = table[0];
  const std::vector<std::string>& row = table[1];
  ASSERT_EQ(row.size(), header.size());
  const auto cell = [&](const std::string& key) {
    const auto found = std::find(header.begin(), header.end(), key);
    return found == header.end() ? std::string("<no column " + key + ">") : row[found - header.begin()];
  };

  // The JSON dump's keys in their order, the skills split, every text's
  // _hex beside it; and the same values.
  const nlohmann::ordered_json json = testing::DumpOf(file, {"--face-list", faces});
  std::vector<std::string> expected{"file"};
  for (const auto& [key, value] : json.items()) {
    if (key == "tokugi") {
      for (const char* skill : {"tokugi1", "tokugi1_name", "tokugi2", "tokugi2_name", "tokugi3", "tokugi3_name"}) {
        expected.emplace_back(skill);
      }
    } else if (key != "tokugi_names" && !key.ends_with("_hex")) {
      expected.push_back(key);
      if (json.contains(key + "_hex") || (value.is_string() && !key.ends_with("_name"))) {
        expected.push_back(key + "_hex");
      }
    }
  }
  EXPECT_EQ(header, expected);
  EXPECT_EQ(cell("file"), file);
  // Line breaks inside a cell as spreadsheet programs write them.
  EXPECT_EQ(cell("retuden"), "一行目,\"引用\"\n二行目");
  EXPECT_EQ(cell("sei1"), "鷹沢");
  EXPECT_EQ(cell("sei1_hex"), "");
  EXPECT_EQ(cell("mei2_hex"), "ED 40");  // spaced, so that no program reads a number
  EXPECT_EQ(cell("tokugi1") + cell("tokugi1_name"), "9軍神");
  EXPECT_EQ(cell("tokugi3") + "|" + cell("tokugi3_name"), "30|");  // outside the list: no name
  EXPECT_EQ(cell("Kyoten") + cell("Kyoten_name"), "44江戸城");
  EXPECT_EQ(cell("Kao") + cell("Kao_name"), "0顔〇");
  EXPECT_EQ(cell("tanjou"), std::to_string(json["tanjou"].get<int>()));
}

}  // namespace
}  // namespace k4r
