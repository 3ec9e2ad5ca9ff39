// k4r set from a table of dump keys, one row per officer file, whatever file
// the table came in (CSV or a workbook).

#include <algorithm>
#include <string>

#include "cli/SetBatch.h"

namespace k4r::cli {
namespace {

bool AllEmpty(const std::vector<std::string>& cells) {
  return std::all_of(cells.begin(), cells.end(), [](const std::string& cell) { return cell.empty(); });
}

}  // namespace

Result<std::vector<BatchItem>> ItemsFromTable(std::vector<TableRow> rows, std::string_view source,
                                              const std::filesystem::path& folder) {
  const std::string name(source);
  if (rows.empty()) {
    return Failure{name + ": no header row"};
  }
  const std::vector<std::string>& header = rows.front().cells;
  {
    // Every column must be a key, once; a scratch input checks that.
    RecordInput columns;
    for (const std::string& column : header) {
      if (Status known = columns.Add(column, "row 1, column " + column, std::string()); !known) {
        return Failure{name + ": " + known.failure().message};
      }
    }
    if (!columns.file()) {
      return Failure{name + ": row 1: no column \"file\" names the officer files"};
    }
  }

  std::vector<BatchItem> items;
  items.reserve(rows.size() - 1);
  for (std::size_t r = 1; r < rows.size(); ++r) {
    TableRow& row = rows[r];
    // A spreadsheet may end a table with rows of nothing.
    if (AllEmpty(row.cells)) {
      continue;
    }
    const std::string where = name + ": row " + std::to_string(row.number);
    if (row.cells.size() > header.size() &&
        !AllEmpty({row.cells.begin() + static_cast<std::ptrdiff_t>(header.size()), row.cells.end()})) {
      return Failure{where + ": " + std::to_string(row.cells.size()) + " cells, the header has " +
                     std::to_string(header.size())};
    }
    RecordInput input;
    std::size_t values = 0, bytes = 0;
    for (std::size_t c = 0; c < std::min(row.cells.size(), header.size()); ++c) {
      if (!row.cells[c].empty()) {
        ++values;
        bytes += std::string_view("column ").size() + header[c].size() + row.cells[c].size();
      }
    }
    input.Reserve(values, bytes);
    for (std::size_t c = 0; c < std::min(row.cells.size(), header.size()); ++c) {
      if (row.cells[c].empty()) {
        continue;
      }
      if (Status added = input.Add(header[c], "column " + header[c], row.cells[c]); !added) {
        return Failure{where + ": " + added.failure().message};
      }
    }
    if (!input.file()) {
      return Failure{where + ": the file cell is empty"};
    }
    // The row is in the input now: a long table is not held twice.
    std::vector<std::string>().swap(row.cells);
    std::filesystem::path path = ResolvedFile(*input.file(), folder);
    items.push_back({where, std::move(path), std::move(input)});
  }
  return items;
}

}  // namespace k4r::cli
