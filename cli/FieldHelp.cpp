#include "cli/FieldHelp.h"

#include <string_view>
#include <vector>

#include "cli/ListViews.h"
#include "cli/RecordCells.h"
#include "core/FieldTable.h"
#include "core/OfficerFile.h"
#include "core/RecordLayout.h"

namespace k4r::cli {
namespace {

constexpr std::size_t kKeyColumn = 12;
constexpr std::size_t kLineWidth = 79;

// "  key         text", the text wrapped under itself.
std::string HelpLine(std::string_view key, const std::string& text) {
  // Appended, not added: GCC 12 wrongly warns (-Wrestrict) on "  " + string.
  std::string line = "  ";
  line += key;
  line.append(line.size() < kKeyColumn ? kKeyColumn - line.size() : 1, ' ');
  std::size_t column = kKeyColumn;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find(' ', start);
    end = end == std::string::npos ? text.size() : end;
    const std::string_view word = std::string_view(text).substr(start, end - start);
    // Counted in bytes, which overstates a Japanese word's width: it only
    // wraps a little early.
    if (column > kKeyColumn && column + 1 + word.size() > kLineWidth) {
      line += '\n';
      line.append(kKeyColumn, ' ');
      column = kKeyColumn;
    } else if (column > kKeyColumn) {
      line += ' ';
      ++column;
    }
    line += word;
    column += word.size();
    start = end + 1;
  }
  return line + "\n";
}

std::string ListRange(const RecordField& field) {
  const std::int32_t length = ListLength(field.list, NameListSizes{});
  return length > 0 ? " (0.." + std::to_string(length - 1) + ")" : "";
}

std::string Described(const RecordField& field) {
  return std::string(field.caption) + ": " + std::string(field.meaning);
}

std::string SetNote(const RecordField& field) {
  switch (field.kind) {
    case FieldKind::Text: {
      std::string note = "; at most " + std::to_string(field.width) + " bytes in CP932";
      return field.id == FieldId::retuden ? note + " after every line break (LF, CR or CR LF) became CR LF" : note;
    }
    case FieldKind::Ability: return "; 0..255, as the file stores it";
    case FieldKind::Year:
      return field.id == FieldId::tanjou ? "; moves the death year so that the lifespan stays"
                                         : "; moves the lifespan, the birth year stays";
    case FieldKind::Lifespan: return "; moves the death year";
    case FieldKind::FixedListPosition: return "; a position in " + ListDescription(field.list) + ListRange(field);
    case FieldKind::OfficerReference: return "; a position in the officer list (0 none); needs --officer-list";
    case FieldKind::Face: return "; a position in the face list; needs --face-list and --face-file";
    case FieldKind::RawByte: return "; read only: the editor never writes it";
  }
  return "";
}

std::string DumpNote(const RecordField& field) {
  const std::string nameKey(NameKey(field));
  switch (field.kind) {
    case FieldKind::Text: return ", text; " + std::string(HexKey(field)) + " its bytes when needed";
    case FieldKind::Ability: return ", the stored byte (0..255)";
    case FieldKind::Year:
    case FieldKind::Lifespan: return "";
    case FieldKind::FixedListPosition: return ", a position; " + nameKey + " its entry";
    case FieldKind::OfficerReference:
      return ", a position in the officer list (0 none); " + nameKey + " only with --officer-list";
    case FieldKind::Face: return ", a position; " + nameKey + " only with --face-list";
    case FieldKind::RawByte: return " as a number (read only)";
  }
  return "";
}

}  // namespace

std::string SetFieldHelp() {
  std::string help;
  for (const RecordField& field : RecordFields()) {
    help += HelpLine(field.key, Described(field) + SetNote(field));
  }
  return help;
}

std::string DumpFieldHelp() {
  std::string help;
  for (const RecordField& field : RecordFields()) {
    if (field.skill > 0) {
      continue;  // the three skills are one key
    }
    if (field.skill == 0) {
      help += HelpLine(kSkillsKey, std::string(field.caption) + "..3: the three skill positions; " +
                                       std::string(kSkillNamesKey) + " their entries");
      continue;
    }
    help += HelpLine(field.key, Described(field) + DumpNote(field));
  }
  return help;
}

std::string UncoveredBytesText() {
  std::string text;
  for (const ByteRange& range : UncoveredRanges()) {
    text += std::to_string(range.first);
    if (range.last > range.first) {
      text += '-';
      text += std::to_string(range.last);
    }
    text += ", ";
  }
  if (!text.empty()) {
    text.resize(text.size() - 2);
    text += " and ";
  }
  return text + std::to_string(layout::kRecordEnd) + " on";
}

}  // namespace k4r::cli
