// What a Windows console is handed for k4r's UTF-8 text: whole characters
// only, however the writes split them, and a mark for bytes that are not UTF-8.

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "bridge/ProcessText.h"

namespace k4r::bridge {
namespace {

TEST(ConsoleBuffer, HandsOnWholeCharactersAtEachFlush) {
  const std::string taro = "太郎";  // two characters of three bytes each
  const struct {
    const char* name;
    std::vector<std::string> flushedPieces;
    std::vector<std::u16string> written;
  } cases[] = {
      {"ASCII", {"seiji=80\n"}, {u"seiji=80\n"}},
      {"a character split by a flush", {"ab" + taro.substr(0, 2), taro.substr(2) + "\n"}, {u"ab", u"太郎\n"}},
      {"a lone lead byte held, then completed", {taro.substr(0, 1), taro.substr(1, 1), taro.substr(2)}, {u"太郎"}},
      {"not UTF-8", {"\xff!"}, {u"\ufffd!"}},
  };
  for (const auto& c : cases) {
    std::vector<std::u16string> written;
    {
      ConsoleBuffer buffer([&written](const QString& text) { written.push_back(text.toStdU16String()); });
      std::ostream stream(&buffer);
      for (const std::string& piece : c.flushedPieces) {
        stream << piece << std::flush;
      }
    }
    EXPECT_EQ(written, c.written) << c.name;
  }
}

}  // namespace
}  // namespace k4r::bridge
