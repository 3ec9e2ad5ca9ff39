#pragma once
// Writing tables as CSV the way spreadsheet programs read them: RFC 4180
// quoting, CR LF row ends, UTF-8 behind a byte-order mark.

#include <span>
#include <string>
#include <string_view>

#include "cli/ListViews.h"

namespace k4r::cli {

// Spreadsheet programs take a file for UTF-8 only when it starts with this.
inline constexpr std::string_view kUtf8ByteOrderMark = "\xEF\xBB\xBF";

// Appends `text` as one field: in double quotes, with its quotes doubled,
// when it holds a comma, a double quote, CR or LF; as it is otherwise.
void AppendCsvField(std::string& row, std::string_view text);
// The same, in double quotes whatever it holds.
void AppendQuotedCsvField(std::string& row, std::string_view text);

// Appends a cell value: a string as its text, always in double quotes (so
// that no program takes a text for a number or a date, and tabs and
// semicolons never split it), a number in decimal, null as an empty field.
void AppendCsvValue(std::string& row, const Json& value);

// The fields separated by commas, ended by CR LF.
[[nodiscard]] std::string CsvRow(std::span<const std::string_view> fields);

}  // namespace k4r::cli
