#pragma once
// Reads the cells of an Office Open XML workbook's (.xlsx) first sheet, as
// spreadsheet programs write it, for k4r set --from-xlsx.

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "core/Result.h"

namespace k4r::cli {

struct SheetCell {
  enum class Type { Text, Number, Boolean };
  Type type = Type::Text;
  // UTF-8 text; a number exactly as the file writes it ("88", "88.0",
  // "1E5"); "0" or "1" for a boolean.
  std::string value;
};

struct SheetRow {
  std::size_t number = 0;  // as a spreadsheet shows it: 1 for the first row
  // By column, A at 0, up to the row's last cell; nothing where the file
  // leaves a cell out or the cell holds no value or an empty text.
  std::vector<std::optional<SheetCell>> cells;
};

// The rows the workbook's first sheet holds (the first of its list of
// sheets, wherever its part lies), in order; rows the file leaves out are
// missing here too. A cell holding an error, or a formula whose result the
// file does not hold, is refused with its reference.
[[nodiscard]] Result<std::vector<SheetRow>> ReadFirstSheet(const std::filesystem::path& path);

}  // namespace k4r::cli
