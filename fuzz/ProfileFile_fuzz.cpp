// The profile (INI) reader and writer on arbitrary file contents, names and
// values. Names are read character by character (code page 932), and a
// leading UTF-8 byte-order mark belongs to no line. Properties of a write:
// - it changes the bytes of one line only (the key's), or it only inserts
//   new lines: the key's, and its section's header when that was missing;
// - every other key that could be read before reads the same afterwards;
// - for a name that can be written at all, the key reads back as the value
//   (trimmed, without one pair of quotes, up to a line break);
// - writing the same value again changes nothing.
#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <vector>

#include "core/ProfileFile.h"

namespace {
using namespace k4r;

void Require(bool condition, const char* what) {
  if (!condition) {
    std::fprintf(stderr, "property broken: %s\n", what);
    std::abort();
  }
}

bool IsBlank(char byte) {
  return byte == ' ' || byte == '\t' || byte == '\v';
}

ByteView Trim(ByteView text) {
  while (!text.empty() && IsBlank(text.front())) {
    text.remove_prefix(1);
  }
  while (!text.empty() && IsBlank(text.back())) {
    text.remove_suffix(1);
  }
  return text;
}

char Lower(char byte) {
  return (byte >= 'A' && byte <= 'Z') ? static_cast<char>(byte - 'A' + 'a') : byte;
}

bool SameName(ByteView a, ByteView b) {
  if (a.size() != b.size()) {
    return false;
  }
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (Lower(a[i]) != Lower(b[i])) {
      return false;
    }
  }
  return true;
}

// A name that a line of the file can carry and give back unchanged.
bool Writable(ByteView name, bool isSection) {
  if (name.empty() || name != Trim(name) || name.front() == ';' || name.front() == '[') {
    return false;
  }
  for (const char byte : name) {
    if (byte == '\r' || byte == '\n' || byte == '=') {
      return false;
    }
  }
  if (isSection) {
    // Read character by character: a ']' of its own would end the name, and
    // a last lead byte would take the closing ']' as its second byte.
    std::size_t at = 0;
    std::size_t width = 0;
    for (; at < name.size(); at += width) {
      width = CharacterWidthAt(name, at);
      if (width == 1 && name[at] == ']') {
        return false;
      }
    }
    if (width == 1 && IsShiftJisLeadByte(static_cast<unsigned char>(name.back()))) {
      return false;
    }
  }
  return true;
}

ByteString ExpectedValue(ByteView value) {
  value = value.substr(0, value.find_first_of("\r\n"));
  value = Trim(value);
  if (value.size() >= 2 && value.front() == value.back() && (value.front() == '"' || value.front() == '\'')) {
    value = value.substr(1, value.size() - 2);
  }
  return ByteString(value);
}

// The section and key names that the file's lines mention, as candidates.
void CollectNames(ByteView content, std::vector<ByteString>& sections, std::vector<ByteString>& keys) {
  std::size_t begin = 0;
  while (begin < content.size() && sections.size() + keys.size() < 14) {
    std::size_t end = content.find_first_of("\r\n", begin);
    if (end == ByteView::npos) {
      end = content.size();
    }
    const ByteView line = Trim(content.substr(begin, end - begin));
    if (!line.empty() && line.front() == '[') {
      sections.emplace_back(
          Trim(line.substr(1, line.find(']') == ByteView::npos ? ByteView::npos : line.find(']') - 1)));
    } else if (const std::size_t equals = line.find('='); equals != ByteView::npos) {
      keys.emplace_back(Trim(line.substr(0, equals)));
    }
    begin = end + 1;
  }
}

bool HasLineBreak(ByteView text) {
  return text.find_first_of("\r\n") != ByteView::npos;
}

// Only one line's bytes change, or new lines go in whole.
void CheckChangeIsLocal(ByteView before, ByteView after, ByteView section, ByteView key) {
  std::size_t prefix = 0;
  while (prefix < before.size() && prefix < after.size() && before[prefix] == after[prefix]) {
    ++prefix;
  }
  std::size_t suffix = 0;
  while (suffix < before.size() - prefix && suffix < after.size() - prefix &&
         before[before.size() - 1 - suffix] == after[after.size() - 1 - suffix]) {
    ++suffix;
  }
  const ByteView removed = before.substr(prefix, before.size() - prefix - suffix);
  const ByteView added = after.substr(prefix, after.size() - prefix - suffix);
  if (removed.empty() && added.empty()) {
    return;
  }
  Require(!HasLineBreak(removed), "no line break of the file is removed");
  // The added bytes are at most: a line end, a section header, the key line.
  std::size_t breaks = 0;
  for (const char byte : added) {
    breaks += byte == '\n' ? 1 : 0;
  }
  Require(breaks <= 3, "at most the section header and the key line are added");
  if (HasLineBreak(added)) {
    Require(removed.empty(), "new lines go in without changing others");
    return;
  }
  // An in-place change: it lies inside one line, and that line is the key's.
  const std::size_t lastBreak = prefix == 0 ? ByteView::npos : before.find_last_of("\r\n", prefix - 1);
  const std::size_t lineStart = lastBreak == ByteView::npos ? 0 : lastBreak + 1;
  const std::size_t lineEnd = std::min(before.find_first_of("\r\n", prefix), before.size());
  const ByteView line = Trim(before.substr(lineStart, lineEnd - lineStart));
  const std::size_t equals = line.find('=');
  Require(equals != ByteView::npos && SameName(Trim(line.substr(0, equals)), key), "the changed line is the key's");
  static_cast<void>(section);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
  FuzzedDataProvider data(bytes, size);
  const ByteString section = data.ConsumeRandomLengthString(12);
  const ByteString key = data.ConsumeRandomLengthString(12);
  const ByteString value = data.ConsumeRandomLengthString(40);
  const ByteString content = data.ConsumeRemainingBytesAsString();

  std::vector<ByteString> sections{section, "Win", "Kao"};
  std::vector<ByteString> keys{key, "Top", "Path"};
  CollectNames(content, sections, keys);
  std::vector<std::optional<ByteString>> valuesBefore;
  for (const ByteString& s : sections) {
    for (const ByteString& k : keys) {
      valuesBefore.push_back(ReadProfileValue(content, s, k));
    }
  }

  const ByteString written = WriteProfileValue(content, section, key, value);
  if (!Writable(section, true) || !Writable(key, false)) {
    return 0;  // names no line can carry: only memory safety is asked for
  }
  CheckChangeIsLocal(content, written, section, key);
  const std::optional<ByteString> back = ReadProfileValue(written, section, key);
  Require(back.has_value() && *back == ExpectedValue(value), "the key reads back as the value");

  std::size_t index = 0;
  for (const ByteString& s : sections) {
    for (const ByteString& k : keys) {
      const std::optional<ByteString> now = ReadProfileValue(written, s, k);
      if (!(SameName(s, section) && SameName(k, key))) {
        Require(now == valuesBefore[index], "every other key keeps its value");
      }
      ++index;
    }
  }
  Require(WriteProfileValue(written, section, key, value) == written, "writing the same value again changes nothing");
  return 0;
}
