#include "core/Bytes.h"

#include <gtest/gtest.h>

namespace k4r {
namespace {

TEST(CutAtCharacterBoundary, NeverSplitsATwoByteCharacter) {
  struct Case {
    ByteView text;
    std::size_t limit;
    ByteView expected;
  };
  const Case cases[] = {
      {"abc", 5, "abc"},
      {"abc", 2, "ab"},
      {"\x93\xbf\x8e\x52", 3, "\x93\xbf"},  // cut would fall inside the 2nd character
      {"a\x93\xbf", 2, "a"},                // lead byte at the limit is dropped
      {"\x93\xbf\x61", 3, "\x93\xbf\x61"},  // a whole character, then ASCII 'a'
      {"\xa0\xa1\xa2", 2, "\xa0\xa1"},      // half-width katakana are single bytes
      {"", 0, ""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(CutAtCharacterBoundary(c.text, c.limit), c.expected) << "limit " << c.limit;
  }
}

TEST(IsValidUtf8, AcceptsWellFormedTextOnly) {
  const struct {
    ByteView text;
    bool valid;
  } cases[] = {
      {"", true},
      {"/home/m\xc3\xbcller/KAO_M.VX9", true},  // ü
      {"/tmp/\xe6\xb5\x8b\xe8\xaf\x95", true},  // 测试
      {"\xf0\x9f\x98\x80", true},               // U+1F600
      {"C:\\\x83\x51\x81\x5b\x83\x80", false},  // CP932 ゲーム
      {"\xc3", false},                          // cut short
      {"\xc0\xaf", false},                      // overlong '/'
      {"\xe0\x80\xaf", false},                  // overlong '/'
      {"\xed\xa0\x80", false},                  // a surrogate
      {"\xf4\x90\x80\x80", false},              // past U+10FFFF
      {"\xe6\xb5", false},                      // three-byte form cut short
      {"\x80", false},                          // a continuation byte alone
  };
  for (const auto& c : cases) {
    EXPECT_EQ(IsValidUtf8(c.text), c.valid) << testing::PrintToString(c.text);
  }
}

}  // namespace
}  // namespace k4r
