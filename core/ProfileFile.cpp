#include "core/ProfileFile.h"

#include <cstddef>
#include <vector>

namespace k4r {
namespace {

// Every line this module adds ends with CR LF, as the platform writes them.
constexpr ByteView kNewLine = "\r\n";

bool IsBlank(char byte) {
  return byte == ' ' || byte == '\t' || byte == '\v';
}

bool IsLineBreak(char byte) {
  return byte == '\r' || byte == '\n';
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

char AsciiLower(char byte) {
  return (byte >= 'A' && byte <= 'Z') ? static_cast<char>(byte - 'A' + 'a') : byte;
}

// Compared character by character: ASCII letters fold, the bytes of a
// two-byte character must match exactly (its second byte may look like a
// letter: "\x83\x41" and "\x83\x61" are different characters).
bool SameName(ByteView a, ByteView b) {
  if (a.size() != b.size()) {
    return false;
  }
  std::size_t i = 0;
  while (i < a.size()) {
    const std::size_t width = CharacterWidthAt(a, i);
    if (width == 2) {
      if (a.substr(i, 2) != b.substr(i, 2)) {
        return false;
      }
    } else if (AsciiLower(a[i]) != AsciiLower(b[i])) {
      return false;
    }
    i += width;
  }
  return true;
}

// The first ']' that stands as a character of its own; the second byte of a
// two-byte character ("\x8d\x5d" 江) is not one.
std::size_t FindClosingBracket(ByteView name) {
  for (std::size_t i = 0; i < name.size(); i += CharacterWidthAt(name, i)) {
    if (name[i] == ']') {
      return i;
    }
  }
  return ByteView::npos;
}

// Some editors start a UTF-8 file with a byte-order mark. It belongs to no
// line; it is skipped when reading and stays in front when writing.
constexpr ByteView kUtf8Bom = "\xEF\xBB\xBF";

std::size_t BomLength(ByteView content) {
  return content.starts_with(kUtf8Bom) ? kUtf8Bom.size() : 0;
}

enum class LineKind { kOther, kSection, kKey };

// One line of the file: its text is [begin, end); the next line starts at
// `next` (after CR LF, LF or a lone CR; equal to `end` on a last line without
// a line break).
struct Line {
  std::size_t begin = 0;
  std::size_t end = 0;
  std::size_t next = 0;
  LineKind kind = LineKind::kOther;
  ByteView name;   // section or key name, trimmed
  ByteView value;  // key value, trimmed, quotes still on
};

Line ParseLine(ByteView content, std::size_t begin, std::size_t end, std::size_t next) {
  Line line{begin, end, next, LineKind::kOther, {}, {}};
  const ByteView text = Trim(content.substr(begin, end - begin));
  if (text.empty() || text.front() == ';') {
    return line;
  }
  if (text.front() == '[') {
    // The name ends at the first ']'; without one the rest of the line is the name.
    ByteView name = text.substr(1);
    const std::size_t close = FindClosingBracket(name);
    if (close != ByteView::npos) {
      name = name.substr(0, close);
    }
    line.kind = LineKind::kSection;
    line.name = Trim(name);
    return line;
  }
  const std::size_t equals = text.find('=');
  if (equals == ByteView::npos) {
    return line;
  }
  line.kind = LineKind::kKey;
  line.name = Trim(text.substr(0, equals));
  line.value = Trim(text.substr(equals + 1));
  return line;
}

std::vector<Line> ParseLines(ByteView content) {
  std::vector<Line> lines;
  std::size_t begin = BomLength(content);
  while (begin < content.size()) {
    std::size_t end = begin;
    while (end < content.size() && !IsLineBreak(content[end])) {
      ++end;
    }
    std::size_t next = end;
    if (next < content.size()) {
      next += (content[next] == '\r' && next + 1 < content.size() && content[next + 1] == '\n') ? 2 : 1;
    }
    lines.push_back(ParseLine(content, begin, end, next));
    begin = next;
  }
  return lines;
}

// Where a key lives or would go: indices into the parsed lines.
struct KeyPlace {
  bool sectionFound = false;
  std::size_t header = 0;              // the section's header line
  std::size_t lastKeyLine = 0;         // the section's last key line, or its header
  std::optional<std::size_t> keyLine;  // the first line holding the key
};

KeyPlace FindKey(const std::vector<Line>& lines, ByteView section, ByteView key) {
  KeyPlace place;
  std::size_t i = 0;
  while (i < lines.size() && !(lines[i].kind == LineKind::kSection && SameName(lines[i].name, section))) {
    ++i;
  }
  if (i == lines.size()) {
    return place;
  }
  // Only the first section of this name counts; it runs to the next header.
  place.sectionFound = true;
  place.header = i;
  place.lastKeyLine = i;
  for (++i; i < lines.size() && lines[i].kind != LineKind::kSection; ++i) {
    if (lines[i].kind != LineKind::kKey) {
      continue;
    }
    place.lastKeyLine = i;
    if (!place.keyLine && SameName(lines[i].name, key)) {
      place.keyLine = i;
    }
  }
  return place;
}

ByteView WithoutQuotes(ByteView value) {
  if (value.size() >= 2 && value.front() == value.back() && (value.front() == '"' || value.front() == '\'')) {
    return value.substr(1, value.size() - 2);
  }
  return value;
}

}  // namespace

std::optional<ByteString> ReadProfileValue(ByteView content, ByteView section, ByteView key) {
  const std::vector<Line> lines = ParseLines(content);
  const KeyPlace place = FindKey(lines, section, key);
  if (!place.keyLine) {
    return std::nullopt;
  }
  return ByteString(WithoutQuotes(lines[*place.keyLine].value));
}

ByteString WriteProfileValue(ByteView content, ByteView section, ByteView key, ByteView value) {
  // A line break inside the value would smuggle extra lines (even other keys)
  // into the file; only its first line could ever be read back, so only that
  // is written.
  const std::size_t lineBreak = value.find_first_of("\r\n");
  if (lineBreak != ByteView::npos) {
    value = value.substr(0, lineBreak);
  }

  const std::vector<Line> lines = ParseLines(content);
  const KeyPlace place = FindKey(lines, section, key);
  ByteString result;
  result.reserve(content.size() + section.size() + key.size() + value.size() + 8);

  if (!place.sectionFound) {
    result.append(content);
    if (content.size() > BomLength(content) && !IsLineBreak(content.back())) {
      result.append(kNewLine);
    }
    result.append("[").append(section).append("]").append(kNewLine);
    result.append(key).append("=").append(value).append(kNewLine);
    return result;
  }

  if (place.keyLine) {
    // The line's text is replaced; its line end and the file's spelling of
    // the key name stay.
    const Line& line = lines[*place.keyLine];
    result.append(content.substr(0, line.begin));
    result.append(line.name).append("=").append(value);
    result.append(content.substr(line.end));
    return result;
  }

  const Line& after = lines[place.lastKeyLine];
  result.append(content.substr(0, after.next));
  if (after.next == after.end) {
    result.append(kNewLine);  // that line was the last one and had no line break
  }
  result.append(key).append("=").append(value).append(kNewLine);
  result.append(content.substr(after.next));
  return result;
}

}  // namespace k4r
