// Name list splitting against a byte-at-a-time model of the rules: a line
// ends at CR LF, a lone CR or a lone LF; a NUL byte ends the text; a final
// line break adds no entry; empty lines stay. Also: no entry holds a line
// break or NUL, and the entries with their breaks put back give the text.
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "core/NameList.h"

namespace {
using namespace k4r;

void Require(bool condition, const char* what) {
  if (!condition) {
    std::fprintf(stderr, "property broken: %s\n", what);
    std::abort();
  }
}

NameList SplitByModel(ByteView content) {
  NameList entries;
  ByteString line;
  bool lineOpen = false;  // bytes seen since the last break
  for (std::size_t i = 0; i < content.size(); ++i) {
    const char byte = content[i];
    if (byte == '\0') {
      break;
    }
    if (byte == '\r' || byte == '\n') {
      entries.push_back(line);
      line.clear();
      lineOpen = false;
      if (byte == '\r' && i + 1 < content.size() && content[i + 1] == '\n') {
        ++i;
      }
      continue;
    }
    line += byte;
    lineOpen = true;
  }
  if (lineOpen) {
    entries.push_back(line);
  }
  return entries;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
  const ByteView content(reinterpret_cast<const char*>(bytes), size);
  const NameList entries = SplitNameList(content);
  Require(entries == SplitByModel(content), "the split follows the line rules");

  std::size_t kept = 0;
  for (const ByteString& entry : entries) {
    Require(entry.find_first_of(ByteView("\r\n\0", 3)) == ByteString::npos, "no entry holds a break or NUL");
    kept += entry.size();
  }
  const ByteView text = content.substr(0, content.find('\0'));
  std::size_t nonBreaks = 0;
  for (const char byte : text) {
    nonBreaks += (byte != '\r' && byte != '\n') ? 1 : 0;
  }
  Require(kept == nonBreaks, "every byte before the NUL but the breaks lands in an entry");

  // Every position outside the list reads as an empty entry.
  Require(EntryAt(entries, -1).empty() && EntryAt(entries, static_cast<ListPosition>(entries.size())).empty(),
          "positions outside the list read as empty");
  return 0;
}
