#pragma once
// Every field of the officer record, described once: its key (as k4r names
// it), its caption (the window's label), its kind, where it lies in the file,
// the list it draws from and the BushouRecord member that holds it. Reading
// and writing the record, k4r's dump, table, JSON, diff and set, their help
// texts and the window's byte limits are all views of this one table.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

#include "core/BushouRecord.h"

namespace k4r {

enum class FieldKind : std::uint8_t {
  Text,               // CP932 bytes up to the first zero byte, at most `width`
  Ability,            // one byte, the low 8 bits of the number
  Year,               // low byte and marker
  Lifespan,           // never stored: it follows from the two years
  FixedListPosition,  // a position in one of the fixed lists
  OfficerReference,   // a position in the officer list
  Face,               // a position in the face list
  RawByte,            // read, never written
};

enum class FieldList : std::uint8_t { None, Skills, Origins, Faiths, Bases, Compatibility, Officers, Faces };

// The fields in the order k4r shows them.
enum class FieldId : std::uint8_t {
  sei1,
  mei1,
  sei2,
  mei2,
  retuden,
  seiji,
  tousotu,
  tiryaku,
  kyouyou,
  giri,
  tokugi1,
  tokugi2,
  tokugi3,
  seibetu,
  tanjou,
  botu,
  jumyou,
  shutuji,
  sinjin,
  Kyoten,
  Aishou,
  Oya,
  Tomo,
  Teki,
  Kao,
};
inline constexpr std::size_t kFieldCount = static_cast<std::size_t>(FieldId::Kao) + 1;

struct RecordField {
  FieldId id;
  std::string_view key;
  std::string_view caption;  // the label's text in the window, without " :"
  FieldKind kind;
  std::size_t offset = 0;
  std::size_t width = 0;  // bytes in the file; 0 for a field never stored
  FieldList list = FieldList::None;
  // The member that holds the value: `text` for a text, `byte` for the raw
  // byte, `skill` (an index of BushouRecord::tokugi) for a skill, `number`
  // for every other field.
  ByteString BushouRecord::*text = nullptr;
  std::int32_t BushouRecord::*number = nullptr;
  std::uint8_t BushouRecord::*byte = nullptr;
  int skill = -1;
  std::string_view meaning;  // what the value is, for k4r's help
};

[[nodiscard]] std::span<const RecordField> RecordFields();
[[nodiscard]] const RecordField& Field(FieldId id);
// nullptr for a key that names no field.
[[nodiscard]] const RecordField* FieldByKey(std::string_view key);

// Every field but the text and raw-byte ones holds a 32-bit number.
[[nodiscard]] std::int32_t& NumberIn(const RecordField& field, BushouRecord& record);
[[nodiscard]] std::int32_t NumberIn(const RecordField& field, const BushouRecord& record);

// "実父武将 (Oya)": a field as messages name it when the caption alone would
// not tell which of several alike it is.
[[nodiscard]] std::string FieldLabel(const RecordField& field);

// The order in which a save writes the fields.
[[nodiscard]] std::span<const FieldId> SaveOrder();

// The byte ranges [first, last] before the record's end that no field
// covers, in order.
struct ByteRange {
  std::size_t first = 0;
  std::size_t last = 0;
};
[[nodiscard]] std::vector<ByteRange> UncoveredRanges();

}  // namespace k4r
