#include "core/bytes.h"

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

}  // namespace
}  // namespace k4r
