#include "cli/RecordCells.h"

#include <array>

namespace k4r::cli {
namespace {

// Built once: the cells hold views of them.
const std::array<std::string, kFieldCount>& KeysEndingIn(std::string_view suffix) {
  const auto build = [](std::string_view ending) {
    std::array<std::string, kFieldCount> keys;
    for (const RecordField& field : RecordFields()) {
      keys[static_cast<std::size_t>(field.id)] = std::string(field.key) + std::string(ending);
    }
    return keys;
  };
  static const std::array<std::string, kFieldCount> kNameKeys = build("_name");
  static const std::array<std::string, kFieldCount> kHexKeys = build("_hex");
  return suffix == "_name" ? kNameKeys : kHexKeys;
}

std::string BreaksAsLf(std::string_view text) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r') {
      out += '\n';
      i += i + 1 < text.size() && text[i + 1] == '\n' ? 1 : 0;
    } else {
      out += text[i];
    }
  }
  return out;
}

std::string SpacedHex(ByteView bytes) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  std::string hex;
  for (const char byte : bytes) {
    const auto value = static_cast<unsigned char>(byte);
    if (!hex.empty()) {
      hex += ' ';
    }
    hex += kDigits[value >> 4];
    hex += kDigits[value & 0x0F];
  }
  return hex;
}

class CellWriter {
 public:
  CellWriter(std::vector<FieldCell>& cells, FieldLayout layout) : cells_(cells), layout_(layout) {}

  void Value(std::string_view key, Json value) { cells_.push_back({key, std::move(value), false}); }
  void Companion(std::string_view key, Json value) { cells_.push_back({key, std::move(value), true}); }

  // A text and, where converting it back would not give its bytes, the bytes.
  void Text(const RecordField& field, ByteView bytes) {
    ShownText shown = ShowCp932(bytes);
    Value(field.key, layout_ == FieldLayout::Sheet ? BreaksAsLf(shown.utf8) : std::move(shown.utf8));
    if (!shown.exact) {
      Companion(HexKey(field), layout_ == FieldLayout::Sheet ? SpacedHex(bytes) : HexOf(bytes));
    } else if (layout_ != FieldLayout::Dump) {
      Companion(HexKey(field), nullptr);
    }
  }

  // A position with its entry beside it, when the list is there to name it.
  void Position(const RecordField& field, ListPosition position, const ListView* list) {
    Value(field.key, position);
    if (list != nullptr) {
      Companion(NameKey(field), list->Shown(position));
    }
  }

 private:
  std::vector<FieldCell>& cells_;
  FieldLayout layout_;
};

}  // namespace

std::string_view NameKey(const RecordField& field) {
  return KeysEndingIn("_name")[static_cast<std::size_t>(field.id)];
}

std::string_view HexKey(const RecordField& field) {
  return KeysEndingIn("_hex")[static_cast<std::size_t>(field.id)];
}

std::vector<FieldCell> RecordCells(const BushouRecord& record, const ListViews& lists, FieldLayout layout) {
  std::vector<FieldCell> cells;
  cells.reserve(48);
  CellWriter write(cells, layout);
  for (const RecordField& field : RecordFields()) {
    if (field.skill >= 0 && layout == FieldLayout::Dump) {
      if (field.skill == 0) {
        const ListView& skills = *lists.For(FieldList::Skills);
        write.Value(kSkillsKey, Json::array({record.tokugi[0], record.tokugi[1], record.tokugi[2]}));
        write.Companion(kSkillNamesKey, Json::array({skills.Shown(record.tokugi[0]), skills.Shown(record.tokugi[1]),
                                                     skills.Shown(record.tokugi[2])}));
      }
      continue;
    }
    switch (field.kind) {
      case FieldKind::Text: write.Text(field, record.*field.text); break;
      case FieldKind::RawByte: write.Value(field.key, record.*field.byte); break;
      case FieldKind::Ability:
      case FieldKind::Year:
      case FieldKind::Lifespan: write.Value(field.key, NumberIn(field, record)); break;
      case FieldKind::FixedListPosition:
      case FieldKind::OfficerReference:
      case FieldKind::Face: write.Position(field, NumberIn(field, record), lists.For(field.list)); break;
    }
  }
  return cells;
}

std::vector<std::string_view> TableKeys(const ListViews& lists) {
  std::vector<std::string_view> keys;
  for (const FieldCell& cell : RecordCells(BushouRecord{}, lists, FieldLayout::Table)) {
    keys.push_back(cell.key);
  }
  return keys;
}

}  // namespace k4r::cli
