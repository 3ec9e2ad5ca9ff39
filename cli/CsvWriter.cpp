#include "cli/CsvWriter.h"

#include <charconv>

namespace k4r::cli {

void AppendCsvField(std::string& row, std::string_view text) {
  if (text.find_first_of(",\"\r\n") == std::string_view::npos) {
    row += text;
    return;
  }
  AppendQuotedCsvField(row, text);
}

void AppendQuotedCsvField(std::string& row, std::string_view text) {
  row += '"';
  for (const char c : text) {
    if (c == '"') {
      row += '"';
    }
    row += c;
  }
  row += '"';
}

void AppendCsvValue(std::string& row, const Json& value) {
  if (value.is_string()) {
    AppendQuotedCsvField(row, value.get_ref<const std::string&>());
    return;
  }
  if (value.is_number_integer()) {
    char digits[24];
    const auto [end, error] = value.is_number_unsigned()
                                  ? std::to_chars(digits, digits + sizeof digits, value.get<std::uint64_t>())
                                  : std::to_chars(digits, digits + sizeof digits, value.get<std::int64_t>());
    if (error == std::errc()) {
      row.append(digits, end);
    }
    return;
  }
  if (!value.is_null()) {
    // No cell of the table layout holds anything else; JSON text keeps it whole.
    AppendCsvField(row, value.dump(-1, ' ', false, Json::error_handler_t::replace));
  }
}

std::string CsvRow(std::span<const std::string_view> fields) {
  std::string row;
  for (std::size_t i = 0; i < fields.size(); ++i) {
    if (i > 0) {
      row += ',';
    }
    AppendCsvField(row, fields[i]);
  }
  row += "\r\n";
  return row;
}

}  // namespace k4r::cli
