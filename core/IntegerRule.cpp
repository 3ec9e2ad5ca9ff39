#include "core/IntegerRule.h"

#include <algorithm>
#include <cstdint>
#include <iterator>
#include <limits>
#include <string>

#include "core/Messages.h"

namespace k4r {
namespace {

[[nodiscard]] int DigitValue(char c, unsigned base) {
  int value = -1;
  if (c >= '0' && c <= '9') {
    value = c - '0';
  } else if (c >= 'a' && c <= 'f') {
    value = c - 'a' + 10;
  } else if (c >= 'A' && c <= 'F') {
    value = c - 'A' + 10;
  }
  return value >= 0 && static_cast<unsigned>(value) < base ? value : -1;
}

// The magnitude of an unsigned digit string, or nothing when it is empty,
// holds another character or exceeds `limit`.
[[nodiscard]] std::optional<std::uint64_t> ReadDigits(std::string_view digits, unsigned base, std::uint64_t limit) {
  if (digits.empty()) {
    return std::nullopt;
  }
  std::uint64_t magnitude = 0;
  for (const char c : digits) {
    const int digit = DigitValue(c, base);
    if (digit < 0) {
      return std::nullopt;
    }
    magnitude = magnitude * base + static_cast<std::uint64_t>(digit);
    if (magnitude > limit) {
      return std::nullopt;
    }
  }
  return magnitude;
}

// The UTF-8 forms that read as one ASCII character of a number.
struct WideForm {
  std::string_view utf8;
  char ascii;
};
constexpr WideForm kWideForms[] = {
    {"\xEF\xBC\x90", '0'}, {"\xEF\xBC\x91", '1'}, {"\xEF\xBC\x92", '2'}, {"\xEF\xBC\x93", '3'}, {"\xEF\xBC\x94", '4'},
    {"\xEF\xBC\x95", '5'}, {"\xEF\xBC\x96", '6'}, {"\xEF\xBC\x97", '7'}, {"\xEF\xBC\x98", '8'}, {"\xEF\xBC\x99", '9'},
    {"\xEF\xBC\x8B", '+'}, {"\xEF\xBC\x8D", '-'}, {"\xE2\x88\x92", '-'},
};

[[nodiscard]] std::optional<std::int32_t> ParseAscii(std::string_view text) {
  bool negative = false;
  if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
    negative = text.front() == '-';
    text.remove_prefix(1);
  }

  std::string_view hexDigits;
  bool hex = false;
  if (text.starts_with('$')) {
    hex = true;
    hexDigits = text.substr(1);
  } else if (text.starts_with("0x") || text.starts_with("0X")) {
    hex = true;
    hexDigits = text.substr(2);
  }

  if (hex) {
    // Hexadecimal is a 32-bit pattern: $FFFFFFFF is -1, as the platform's
    // own conversion reads it. A sign negates the pattern (wrapping).
    const auto pattern = ReadDigits(hexDigits, 16, std::numeric_limits<std::uint32_t>::max());
    if (!pattern) {
      return std::nullopt;
    }
    std::uint32_t bits = static_cast<std::uint32_t>(*pattern);
    if (negative) {
      bits = 0U - bits;
    }
    return static_cast<std::int32_t>(bits);
  }

  constexpr std::uint64_t kMaxPositive = std::numeric_limits<std::int32_t>::max();
  const auto magnitude = ReadDigits(text, 10, negative ? kMaxPositive + 1 : kMaxPositive);
  if (!magnitude) {
    return std::nullopt;
  }
  const std::int64_t value = negative ? -static_cast<std::int64_t>(*magnitude) : static_cast<std::int64_t>(*magnitude);
  return static_cast<std::int32_t>(value);
}

}  // namespace

std::string WithAsciiNumberForms(std::string_view text) {
  std::string ascii;
  ascii.reserve(text.size());
  while (!text.empty()) {
    const auto wide = std::find_if(std::begin(kWideForms), std::end(kWideForms),
                                   [text](const WideForm& form) { return text.starts_with(form.utf8); });
    if (wide != std::end(kWideForms)) {
      ascii += wide->ascii;
      text.remove_prefix(wide->utf8.size());
    } else {
      ascii += text.front();
      text.remove_prefix(1);
    }
  }
  return ascii;
}

std::optional<std::int32_t> ParseInteger(std::string_view text) {
  const bool allAscii =
      std::all_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
  if (allAscii) {
    return ParseAscii(text);
  }
  return ParseAscii(WithAsciiNumberForms(text));
}

Result<std::int32_t> IntegerOf(std::string_view text) {
  if (const std::optional<std::int32_t> value = ParseInteger(text)) {
    return *value;
  }
  return Failure{messages::NotAnInteger(text)};
}

}  // namespace k4r
