#include "cli/SpreadsheetForms.h"

#include <gtest/gtest.h>

namespace k4r::cli {
namespace {

// What spreadsheet programs were seen doing to texts on their way through,
// beside edits that must stay edits.
TEST(SpreadsheetForms, TellsAConvertedTextFromAnEdit) {
  const struct {
    const char* stored;
    const char* given;
    bool converted;
  } cases[] = {
      {"00000007", "7", true},          {"1E5", "100000", true},     {"1.50", "1.5", true}, {"+81", "81", true},
      {"12:30", "12:30:00", true},      {"１２３４", "1234", true},  {"=1+1", "2", true},   {"50%", "0.5", true},
      {"2024/1/2", "2024-01-02", true}, {"1-2", "45293", true},      {"7", "8", false},     {"12:30", "12:31", false},
      {"椿野", "桜井", false},          {"1234", "１２３５", false}, {"あや", "7", false},  {"", "0", false},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ConvertedBySpreadsheet(c.stored, c.given), c.converted) << c.stored << " -> " << c.given;
  }
}

TEST(SpreadsheetForms, LineBreaksCompareAsBreaks) {
  const struct {
    const char* stored;
    const char* given;
    bool same;
  } cases[] = {
      {"一\r\n二", "一\n二", true},       {"一\r\n二", "一\r\n二", true}, {"一\r\n二", "一\n\n二", true},
      {"一\r\n二", "一\r\n\r\n二", true}, {"一二", "一\n\n二", false},    {"一\r\n\r\n二", "一\n二", false},
      {"一\r\n二", "一 二", false},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(SameTextAsStored(c.stored, c.given), c.same) << c.stored << " | " << c.given;
  }
}

}  // namespace
}  // namespace k4r::cli
