#include "cli/XlsxWriter.h"

#include <xlsxwriter.h>

#include <algorithm>
#include <random>
#include <string>
#include <system_error>

#include "core/FileRead.h"
#include "core/FileReplace.h"
#include "core/Messages.h"

namespace k4r::cli {
namespace {

constexpr double kNarrowestColumn = 6;
constexpr double kWidestColumn = 50;

// Columns are measured in characters of the default font; a Japanese
// character takes about two.
double DisplayWidth(std::string_view utf8) {
  double width = 0;
  for (const char c : utf8) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 0x80) {
      width += 1;
    } else if (byte >= 0xE0) {
      width += 2;  // three- and four-byte sequences: CJK and the like
    } else if (byte >= 0xC0) {
      width += 1;
    }
  }
  return width;
}

// The workbook is made in the temporary folder (the library takes its name as
// UTF-8 on every system), then copied over the target the way every save
// replaces a file, so that a failure never leaves half a workbook there.
class ScratchWorkbook {
 public:
  ScratchWorkbook() {
    std::error_code error;
    const std::filesystem::path folder = std::filesystem::temp_directory_path(error);
    if (!error) {
      std::random_device random;
      path_ = folder / ("k4r-" + std::to_string(random()) + ".xlsx");
      utf8Path_ = messages::PathText(path_);
    }
  }
  ~ScratchWorkbook() {
    std::error_code ignored;
    if (!path_.empty()) {
      std::filesystem::remove(path_, ignored);
    }
  }
  ScratchWorkbook(const ScratchWorkbook&) = delete;
  ScratchWorkbook& operator=(const ScratchWorkbook&) = delete;

  [[nodiscard]] bool Usable() const { return !utf8Path_.empty(); }
  [[nodiscard]] const std::filesystem::path& path() const { return path_; }
  [[nodiscard]] const char* Utf8Path() const { return utf8Path_.c_str(); }

 private:
  std::filesystem::path path_;
  std::string utf8Path_;
};

std::string LibraryFailure(lxw_error error) {
  return std::string("cannot write the workbook (") + lxw_strerror(error) + ")";
}

}  // namespace

Status WriteWorkbook(const std::filesystem::path& target, std::span<const SheetColumn> columns,
                     const std::vector<std::vector<Json>>& rows) {
  ScratchWorkbook scratch;
  if (!scratch.Usable()) {
    return Failure{"cannot write the workbook: no usable temporary folder"};
  }
  lxw_workbook* workbook = workbook_new(scratch.Utf8Path());
  if (workbook == nullptr) {
    return Failure{"cannot write the workbook: cannot create " + messages::PathText(scratch.path())};
  }
  lxw_worksheet* sheet = workbook_add_worksheet(workbook, "officers");
  lxw_format* text = workbook_add_format(workbook);
  format_set_num_format(text, "@");
  lxw_format* header = workbook_add_format(workbook);
  format_set_bold(header);
  format_set_num_format(header, "@");

  std::vector<double> widths(columns.size(), kNarrowestColumn);
  for (std::size_t c = 0; c < columns.size(); ++c) {
    widths[c] = std::max(widths[c], DisplayWidth(columns[c].key) + 2);
    worksheet_write_string(sheet, 0, static_cast<lxw_col_t>(c), std::string(columns[c].key).c_str(), header);
  }
  lxw_error failed = LXW_NO_ERROR;
  for (std::size_t r = 0; r < rows.size() && failed == LXW_NO_ERROR; ++r) {
    const auto row = static_cast<lxw_row_t>(r + 1);
    for (std::size_t c = 0; c < rows[r].size() && c < columns.size(); ++c) {
      const Json& value = rows[r][c];
      const auto column = static_cast<lxw_col_t>(c);
      if (value.is_string()) {
        const std::string& cell = value.get_ref<const std::string&>();
        widths[c] = std::max(widths[c], std::min(kWidestColumn, DisplayWidth(cell) + 2));
        failed = worksheet_write_string(sheet, row, column, cell.c_str(), text);
      } else if (value.is_number()) {
        failed = worksheet_write_number(sheet, row, column, value.get<double>(), nullptr);
      }
      if (failed != LXW_NO_ERROR) {
        break;
      }
    }
  }
  for (std::size_t c = 0; c < columns.size(); ++c) {
    worksheet_set_column(sheet, static_cast<lxw_col_t>(c), static_cast<lxw_col_t>(c), widths[c],
                         columns[c].text ? text : nullptr);
  }
  worksheet_freeze_panes(sheet, 1, 0);
  const lxw_error closed = workbook_close(workbook);
  if (failed != LXW_NO_ERROR || closed != LXW_NO_ERROR) {
    return Failure{LibraryFailure(failed != LXW_NO_ERROR ? failed : closed)};
  }
  const Result<ByteString> bytes = ReadWholeFile(scratch.path());
  if (!bytes) {
    return bytes.failure();
  }
  return ReplaceFileAtomically(target, bytes.value());
}

}  // namespace k4r::cli
