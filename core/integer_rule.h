#pragma once
// How the editor turns a text into a number: abilities, years, settings.

#include <cstdint>
#include <optional>
#include <string_view>

namespace k4r {

// A 32-bit integer written in decimal with an optional sign, or in
// hexadecimal after "$", "0x" or "0X" (optionally signed). Anything else,
// including an empty text, blanks or a value out of range, is not an integer.
[[nodiscard]] std::optional<std::int32_t> ParseInteger(std::string_view text);

}  // namespace k4r
