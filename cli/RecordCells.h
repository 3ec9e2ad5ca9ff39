#pragma once
// The decoded fields of one officer as k4r shows them: each value under its
// key, in the field table's order, with the entry's name beside every list
// position. The JSON dump, the CSV dump and diff all read these cells.

#include <string>
#include <string_view>
#include <vector>

#include "cli/ListViews.h"
#include "core/BushouRecord.h"
#include "core/FieldTable.h"

namespace k4r::cli {

// The dump's JSON gives the three skills as two arrays under these keys.
inline constexpr std::string_view kSkillsKey = "tokugi";
inline constexpr std::string_view kSkillNamesKey = "tokugi_names";

// The companion keys of a field: its entry's name, its bytes in hexadecimal.
[[nodiscard]] std::string_view NameKey(const RecordField& field);
[[nodiscard]] std::string_view HexKey(const RecordField& field);

enum class FieldLayout {
  // As `k4r dump` prints JSON: the skills as two arrays, and a text's "_hex"
  // key there only when the text needs it.
  Dump,
  // One plain value per key, the same keys for every officer: the skills one
  // by one, each followed by its "_name" key, and every text followed by its
  // "_hex" key (null when the text shows its bytes exactly).
  Table,
  // The Table as spreadsheet files get it: line breaks in a text as LF, and
  // the bytes as spaced pairs ("87 90 81 E5"), which no program reads as a
  // number.
  Sheet,
};

struct FieldCell {
  std::string_view key;  // names a static text
  Json value;
  // A key that belongs to the field before it: a name beside its position,
  // or a text's bytes in hexadecimal.
  bool companion = false;
};

// The cells of `record`. The officer names follow Oya, Tomo and Teki only
// when `lists` has the officer list, Kao_name only when it has the face list.
[[nodiscard]] std::vector<FieldCell> RecordCells(const BushouRecord& record, const ListViews& lists,
                                                 FieldLayout layout);

// The keys of the Table layout for these lists, in order.
[[nodiscard]] std::vector<std::string_view> TableKeys(const ListViews& lists);

}  // namespace k4r::cli
