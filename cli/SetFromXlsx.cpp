// k4r set --from-xlsx: the first sheet of a workbook, read as a table.

#include <charconv>
#include <cmath>
#include <string>
#include <utility>

#include "cli/SetBatch.h"
#include "cli/XlsxReader.h"

namespace k4r::cli {
namespace {

// A number cell as a value of the table: spreadsheet programs write whole
// numbers as 88 or 88.0; anything else stays as written, for the field's own
// rule to judge.
std::string NumberText(const std::string& written) {
  double value = 0;
  const auto [end, error] = std::from_chars(written.data(), written.data() + written.size(), value);
  if (error == std::errc() && end == written.data() + written.size() && std::isfinite(value) &&
      value == std::trunc(value) && std::fabs(value) < 9.0e15) {
    return std::to_string(static_cast<std::int64_t>(value));
  }
  return written;
}

std::string CellText(const SheetCell& cell) {
  switch (cell.type) {
    case SheetCell::Type::Number: return NumberText(cell.value);
    case SheetCell::Type::Boolean: return cell.value == "1" ? "TRUE" : "FALSE";
    case SheetCell::Type::Text: break;
  }
  return cell.value;
}

}  // namespace

Result<std::vector<BatchItem>> ItemsFromXlsx(const std::filesystem::path& workbook, std::string_view source,
                                             const std::filesystem::path& folder) {
  Result<std::vector<SheetRow>> sheet = ReadFirstSheet(workbook);
  if (!sheet) {
    return Failure{std::string(source) + ": " + sheet.failure().message};
  }
  std::vector<TableRow> rows;
  rows.reserve(sheet.value().size());
  for (const SheetRow& sheetRow : sheet.value()) {
    TableRow& row = rows.emplace_back();
    row.number = sheetRow.number;
    row.cells.reserve(sheetRow.cells.size());
    for (const std::optional<SheetCell>& cell : sheetRow.cells) {
      row.cells.push_back(cell ? CellText(*cell) : std::string());
    }
  }
  return ItemsFromTable(std::move(rows), source, folder);
}

}  // namespace k4r::cli
