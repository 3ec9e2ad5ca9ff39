#include "core/IntegerRule.h"

#include <gtest/gtest.h>

#include <limits>

namespace k4r {
namespace {

constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();
constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();

TEST(ParseInteger, AcceptsDecimalAndHexadecimalWithinThirtyTwoBits) {
  struct Case {
    std::string_view text;
    std::int32_t expected;
  };
  const Case cases[] = {
      {"0", 0},
      {"70", 70},
      {"+5", 5},
      {"-5", -5},
      {"00012", 12},
      {"2147483647", kMax},
      {"-2147483648", kMin},
      {"$FF", 255},
      {"$ff", 255},
      {"0x1f", 31},
      {"0X1F", 31},
      {"-$10", -16},
      {"+0x10", 16},
      {"$7FFFFFFF", kMax},
      {"$80000000", kMin},  // hexadecimal is a bit pattern
      {"$FFFFFFFF", -1},
      {"-$FFFFFFFF", 1},
      {"$000000000001", 1},  // leading zeros do not count against the width
      // Full-width forms, as an input method in Japanese mode commits them.
      {"８０", 80},
      {"１４６０", 1460},
      {"－５", -5},
      {"−５", -5},  // U+2212, the minus sign
      {"＋７", 7},
      {"1５", 15},
      {"－２１４７４８３６４８", kMin},
  };
  for (const Case& c : cases) {
    const auto value = ParseInteger(c.text);
    ASSERT_TRUE(value.has_value()) << c.text;
    EXPECT_EQ(*value, c.expected) << c.text;
  }
}

TEST(ParseInteger, RefusesEverythingElse) {
  const std::string_view texts[] = {
      "",
      " 1",
      "1 ",
      "\t1",
      "1a",
      "1.0",
      "1e3",
      "-",
      "+",
      "$",
      "0x",
      "-$",
      "$-1",
      "0x+1",
      "$G",
      "0xFG",
      "--1",
      "+-1",
      "2147483648",
      "-2147483649",
      "99999999999999999999",
      "$100000000",  // more than 32 bits
      "x10",
      "0b101",
      "８ ０",
      "８０ａ",
      "－－１",
      "１．５",
      "２１４７４８３６４８",
      "\xef\xbc",  // the first bytes of a full-width digit
      "\x82\x50",  // full-width one in code page 932: the texts are UTF-8
      std::string_view("1\0", 2),
  };
  for (const std::string_view text : texts) {
    EXPECT_FALSE(ParseInteger(text).has_value()) << "'" << text << "'";
  }
}

}  // namespace
}  // namespace k4r
