#include "cli/SpreadsheetForms.h"

#include <cmath>
#include <cstdlib>
#include <optional>
#include <regex>

#include "core/Messages.h"
#include "core/OfficerFile.h"

namespace k4r::cli {
namespace {

// Full-width digits, signs, point and colon as their ASCII forms: spreadsheet
// programs read them so.
std::string HalfWidth(std::string_view text) {
  static constexpr std::string_view kFullWidth[] = {"０", "１", "２", "３", "４", "５", "６", "７", "８", "９",
                                                    "＋", "－", "．", "：", "／", "％", "Ｅ", "ｅ", "，"};
  static constexpr std::string_view kAscii = "0123456789+-.:/%Ee,";
  std::string out;
  for (std::size_t i = 0; i < text.size();) {
    bool replaced = false;
    for (std::size_t k = 0; k < std::size(kFullWidth); ++k) {
      if (text.substr(i).starts_with(kFullWidth[k])) {
        out += kAscii[k];
        i += kFullWidth[k].size();
        replaced = true;
        break;
      }
    }
    if (!replaced) {
      out += text[i++];
    }
  }
  return out;
}

std::optional<double> NumberOf(const std::string& text, const std::regex& form) {
  if (!std::regex_match(text, form)) {
    return std::nullopt;
  }
  std::string digits;
  for (const char c : text) {
    if (c != ',' && c != '%') {
      digits += c;
    }
  }
  const double value = std::strtod(digits.c_str(), nullptr);
  return text.ends_with('%') ? value / 100 : value;
}

// A number as spreadsheets recognise one: sign, digits with optional
// thousands separators, fraction, exponent, percent.
std::optional<double> SpreadsheetNumber(const std::string& text) {
  static const std::regex kNumber(R"([+-]?(\d{1,3}(,\d{3})+|\d+)?(\.\d*)?([eE][+-]?\d+)?%?)");
  if (text.empty() || text.find_first_of("0123456789") == std::string::npos) {
    return std::nullopt;
  }
  return NumberOf(text, kNumber);
}

// Seconds of a time of day written h:mm or h:mm:ss (with an optional fraction).
std::optional<double> TimeOfDay(const std::string& text) {
  static const std::regex kTime(R"((\d{1,2}):(\d{2})(:(\d{2})(\.\d+)?)?( ?[AaPp][Mm])?)");
  std::smatch match;
  if (!std::regex_match(text, match, kTime)) {
    return std::nullopt;
  }
  double hours = std::stod(match[1].str());
  if (match[6].matched && (match[6].str().find_first_of("Pp") != std::string::npos) && hours < 12) {
    hours += 12;
  }
  const double seconds = match[4].matched ? std::stod(match[4].str() + match[5].str()) : 0;
  return hours * 3600 + std::stod(match[2].str()) * 60 + seconds;
}

// Day-month-year shapes in any order and with any of the usual separators.
bool LooksLikeDate(const std::string& text) {
  static const std::regex kDate(
      R"(\d{1,4}[-/.]\d{1,2}([-/.]\d{1,4})?|\d{1,4}年\d{1,2}月(\d{1,2}日)?|\d{1,2}月\d{1,2}日)");
  return std::regex_match(text, kDate);
}

std::string Collapsed(std::string_view text) {
  std::string normalized = NormalizeLineBreaks(text);
  std::string out;
  for (std::size_t i = 0; i < normalized.size(); ++i) {
    out += normalized[i];
    if (normalized.compare(i, 4, "\r\n\r\n") == 0) {
      out += '\n';
      i += 3;
    }
  }
  return out;
}

}  // namespace

bool SameTextAsStored(std::string_view stored, std::string_view given) {
  const std::string file = NormalizeLineBreaks(stored);
  if (NormalizeLineBreaks(given) == file) {
    return true;
  }
  return file.find('\n') != std::string::npos && Collapsed(given) == file;
}

bool ConvertedBySpreadsheet(std::string_view stored, std::string_view given) {
  if (stored == given) {
    return false;
  }
  const std::string file = HalfWidth(stored);
  const std::string cell = HalfWidth(given);
  if (file.starts_with('=')) {
    return true;  // a formula, evaluated
  }
  const std::optional<double> fileNumber = SpreadsheetNumber(file);
  const std::optional<double> cellNumber = SpreadsheetNumber(cell);
  if (fileNumber && cellNumber) {
    const double scale = std::max({1.0, std::fabs(*fileNumber), std::fabs(*cellNumber)});
    return std::fabs(*fileNumber - *cellNumber) <= scale * 1e-9;
  }
  const std::optional<double> fileTime = TimeOfDay(file);
  const std::optional<double> cellTime = TimeOfDay(cell);
  if (fileTime && cellTime) {
    return *fileTime == *cellTime;
  }
  // A date comes back in the program's own date format, or as a day number.
  return LooksLikeDate(file) && (LooksLikeDate(cell) || cellNumber || cellTime);
}

std::string ConvertedMessage(std::string_view stored, std::string_view given) {
  return messages::Quoted(given) + " is what a spreadsheet program makes of the file's " + messages::Quoted(stored) +
         ", not an edit. Use 'k4r dump --xlsx', whose text cells stay text, or import every "
         "column of the CSV as text";
}

}  // namespace k4r::cli
