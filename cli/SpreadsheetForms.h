#pragma once
// What spreadsheet programs do to a text that looks like something else, so
// that a table coming back from one can be told from one a user edited.

#include <string>
#include <string_view>

namespace k4r::cli {

// Whether `given` is the same text as `stored` (the file's, UTF-8) once line
// breaks are compared as breaks: LF, CR and CR LF alike, and each break
// doubled where the file holds breaks (one route through spreadsheet files
// writes CR LF as two breaks).
[[nodiscard]] bool SameTextAsStored(std::string_view stored, std::string_view given);

// Whether `given` differs from `stored` only as a spreadsheet program rewrites
// a text on its way through: a number in its normal form (00000007 → 7,
// 1E5 → 100000, 1.50 → 1.5, +81 → 81, full-width digits made half-width), a
// time (12:30 → 12:30:00), a date, a percentage, or a formula's result.
[[nodiscard]] bool ConvertedBySpreadsheet(std::string_view stored, std::string_view given);

// The message for such a value.
[[nodiscard]] std::string ConvertedMessage(std::string_view stored, std::string_view given);

}  // namespace k4r::cli
