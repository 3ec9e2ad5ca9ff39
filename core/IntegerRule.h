#pragma once
// How the editor turns a text into a number: abilities, years, settings.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "core/Result.h"

namespace k4r {

// A 32-bit integer written in decimal with an optional sign ("+" or "-"), or
// in hexadecimal after "$", "0x" or "0X" (optionally signed, e.g. "-$10").
// Decimal must lie in the int32 range. Hexadecimal takes up to 8 significant
// digits (at most FFFFFFFF) and is read as a 32-bit two's-complement pattern:
// "$FFFFFFFF" is -1, "$80000000" is -2147483648; a minus sign negates that
// pattern with wrap-around. Anything else is not an integer: an empty text,
// a sign or prefix without digits, blanks anywhere, trailing characters, or a
// value out of range. The text is UTF-8. Full-width digits, plus and minus
// (０-９ ＋ －, and the minus sign −) read as their ASCII forms: an input
// method in Japanese mode commits "８０" for 80, and it looks the same.
[[nodiscard]] std::optional<std::int32_t> ParseInteger(std::string_view text);

// `text` (UTF-8) with the full-width forms that ParseInteger reads as ASCII
// replaced by their ASCII characters; everything else unchanged.
[[nodiscard]] std::string WithAsciiNumberForms(std::string_view text);

// The same, failing with "'%s' は整数ではありません".
[[nodiscard]] Result<std::int32_t> IntegerOf(std::string_view text);

}  // namespace k4r
