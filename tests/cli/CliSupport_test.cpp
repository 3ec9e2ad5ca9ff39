// How k4r shows CP932 text: broken bytes marked one by one, and whether the
// text shown gives the same bytes back.

#include "cli/CliSupport.h"

#include <gtest/gtest.h>

#include "bridge/Cp932.h"

namespace k4r::cli {
namespace {

TEST(ShowCp932, MarksEachBrokenByteAndKeepsTheRest) {
  const struct {
    ByteString bytes;
    std::string shown;
    bool exact;
  } cases[] = {
      {"", "", true},
      {"abc", "abc", true},
      {"\x8c\x52\x90\x5f", "軍神", true},
      {"\xb1\xb2", "ｱｲ", true},
      {"A\x82", "A\uFFFD", false},                                          // a lead byte with nothing after it
      {"\x82\x41\x42", "\uFFFDB", false},                                   // an unused pair: one mark for both bytes
      {"\x85\x40", "\uFFFD", false},                                        // a row the code page leaves empty
      {"\xa0x\xfd\xfe\xff\x80", "\uFFFDx\uFFFD\uFFFD\uFFFD\uFFFD", false},  // unused single bytes
      {"\xed\x40", "纊", false},                            // a duplicate code: valid, but not given back
      {"\x90\x5e\x82\x0a\x93\x63", "真\uFFFD\n田", false},  // a lead byte before a line break
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(HexOf(c.bytes));
    const ShownText shown = ShowCp932(c.bytes);
    EXPECT_EQ(shown.utf8, c.shown);
    EXPECT_EQ(shown.exact, c.exact);
  }
}

TEST(ShowCp932, TheControlByteThatReadsAsSubIsNoBrokenByte) {
  // The codec marks unused bytes with SUB, the reading of one control byte.
  bool found = false;
  for (int byte = 0; byte < 0x80; ++byte) {
    const ByteString control(1, static_cast<char>(byte));
    if (bridge::FromCp932(control) == QChar(u'\u001A')) {
      found = true;
      EXPECT_EQ(ShowCp932(control).utf8, "\x1a");
      const ShownText shown = ShowCp932(control + "\xa0");
      EXPECT_EQ(shown.utf8, "\x1a\uFFFD");
      EXPECT_FALSE(shown.exact);
    }
  }
  EXPECT_TRUE(found);
}

TEST(Cp932FromUtf8, RefusesWhatCannotBeStored) {
  EXPECT_EQ(Cp932FromUtf8("鷹沢"), ByteString("\x91\xe9\x91\xf2"));
  EXPECT_EQ(Cp932FromUtf8(""), ByteString());
  EXPECT_EQ(Cp932FromUtf8("\xF0\x9F\x98\x80"), std::nullopt);  // an emoji
  EXPECT_EQ(Cp932FromUtf8("a\xff"), std::nullopt);             // not UTF-8
  EXPECT_EQ(Cp932FromUtf8("\xef\xbf\xbd"), std::nullopt);      // U+FFFD itself
}

}  // namespace
}  // namespace k4r::cli
