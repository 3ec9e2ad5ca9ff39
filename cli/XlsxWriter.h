#pragma once
// Tables as Office Open XML workbooks, written with libxlsxwriter: texts
// typed as text, so that no spreadsheet program takes one for a number or a
// date, numbers as numbers, the header row frozen, columns sized.

#include <filesystem>
#include <span>
#include <string_view>
#include <vector>

#include "cli/ListViews.h"
#include "core/Result.h"

namespace k4r::cli {

struct SheetColumn {
  std::string_view key;
  bool text = false;  // cells formatted as text, so that typing 007 stays 007
};

// Writes one sheet, the header then `rows` (one value per column: a string,
// a number, or null for an empty cell), over the file at `target`, which
// holds either its old content or the whole workbook at any moment.
[[nodiscard]] Status WriteWorkbook(const std::filesystem::path& target, std::span<const SheetColumn> columns,
                                   const std::vector<std::vector<Json>>& rows);

}  // namespace k4r::cli
