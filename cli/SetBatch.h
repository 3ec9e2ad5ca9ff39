#pragma once
// k4r set over many files: every file is checked first, then each is saved.

#include <filesystem>
#include <iosfwd>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "cli/ListViews.h"
#include "cli/Progress.h"
#include "cli/SetRecordInput.h"

namespace k4r::cli {

// One officer file and what to change in it.
struct BatchItem {
  std::string where;  // e.g. "t.csv: row 3", the start of its messages
  std::filesystem::path path;
  RecordInput input;
};

// A file named inside an input (UTF-8), relative to `folder` unless absolute.
[[nodiscard]] std::filesystem::path ResolvedFile(std::string_view file, const std::filesystem::path& folder);

// Reads JSON: with `file`, `content` is one object that applies to it (its
// "file" ignored); without, `content` is JSON Lines, and each object applies
// to the file its "file" names, relative to `folder` unless absolute.
// `source` names the input in messages.
[[nodiscard]] Result<std::vector<BatchItem>> ItemsFromJson(std::string_view content, std::string_view source,
                                                           const std::optional<std::filesystem::path>& file,
                                                           const std::filesystem::path& folder);

// One row of a table as text (UTF-8); an empty cell leaves its field alone.
struct TableRow {
  std::size_t number = 0;  // as a spreadsheet counts rows: the header is 1
  std::vector<std::string> cells;
};

// The items of a table: a header of dump keys with "file", then one row per
// file, the file relative to `folder` unless absolute.
[[nodiscard]] Result<std::vector<BatchItem>> ItemsFromTable(std::vector<TableRow> rows, std::string_view source,
                                                            const std::filesystem::path& folder);

enum class TableEncoding {
  Detect,  // a byte-order mark or valid UTF-8 is UTF-8, anything else code page 932
  Utf8,
  Cp932,
};

// Reads a CSV table (RFC 4180, CR LF or LF) in `encoding`, then as
// ItemsFromTable.
[[nodiscard]] Result<std::vector<BatchItem>> ItemsFromCsv(std::string_view content, std::string_view source,
                                                          const std::filesystem::path& folder,
                                                          TableEncoding encoding = TableEncoding::Detect);

// Reads the first sheet of a workbook, then as ItemsFromTable. Numbers count
// as their integer where their fraction is zero (88.0 is 88).
[[nodiscard]] Result<std::vector<BatchItem>> ItemsFromXlsx(const std::filesystem::path& workbook,
                                                           std::string_view source,
                                                           const std::filesystem::path& folder);

// Loads and checks every item, then saves the files as the editor saves, all
// together: every new file is written and flushed before the first replaces
// its old one. Nothing is written unless every item passes and every new
// file could be written. Messages go to `err`, and `progress` shows each
// phase; the exit code comes back.
[[nodiscard]] int ApplyBatch(const std::vector<BatchItem>& items, const ListViews& lists, std::ostream& err,
                             Progress& progress);

}  // namespace k4r::cli
