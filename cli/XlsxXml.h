#pragma once
// The XML parts of a workbook package, each parsed from its bytes: the
// relationships, the workbook's list of sheets, the shared strings and a
// worksheet's cells. Messages say what is wrong without naming the part;
// the caller adds where it was.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "cli/XlsxReader.h"
#include "core/Bytes.h"
#include "core/Result.h"

namespace k4r::cli::xlsx {

// The largest sheet a spreadsheet program makes: A1:XFD1048576.
inline constexpr std::size_t kMaxRows = 1'048'576;
inline constexpr std::size_t kMaxColumns = 16'384;
// Cells held in memory, counting the empty ones before a row's last cell: a
// few bytes of XML can claim a cell at XFD in each of a million rows.
inline constexpr std::size_t kMaxHeldCells = std::size_t{1} << 23;

struct Relationship {
  std::string id;
  std::string type;
  std::string target;
  bool external = false;
};

// True when `relationship` is of `kind` ("worksheet", "sharedStrings", …) in
// the transitional or the strict vocabulary.
[[nodiscard]] bool HasType(const Relationship& relationship, std::string_view kind);

[[nodiscard]] Result<std::vector<Relationship>> ParseRelationships(ByteView xml);

struct SheetEntry {
  std::string name;
  std::string relationshipId;
};

// The first sheet of <sheets>, or nothing when the workbook lists none.
[[nodiscard]] Result<std::optional<SheetEntry>> ParseFirstSheet(ByteView workbookXml);

// The texts of the shared-string table in order, each as the cell shows it.
[[nodiscard]] Result<std::vector<std::string>> ParseSharedStrings(ByteView xml);

// The rows of the worksheet `part`, which the workbook names `sheet`; both
// go into the messages.
[[nodiscard]] Result<std::vector<SheetRow>> ParseSheetRows(ByteView xml, const std::vector<std::string>& sharedStrings,
                                                           std::string_view sheet, std::string_view part);

// The failure of a part that is not as a workbook's parts are.
[[nodiscard]] Failure Damaged(std::string_view part, std::string_view why);

// "A" for 0, "AB" for 27: a column as a spreadsheet names it.
[[nodiscard]] std::string ColumnName(std::size_t column);

}  // namespace k4r::cli::xlsx
