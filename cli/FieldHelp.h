#pragma once
// The parts of k4r's help texts that describe the record's fields, written
// from the field table so that they cannot drift from it.

#include <string>

namespace k4r::cli {

// One line per key that 'k4r set' takes, with what setting it does.
[[nodiscard]] std::string SetFieldHelp();

// One line per key of 'k4r dump', with its companion keys.
[[nodiscard]] std::string DumpFieldHelp();

// The byte ranges no field covers, e.g. "0-35, 44, … and 267 on".
[[nodiscard]] std::string UncoveredBytesText();

}  // namespace k4r::cli
