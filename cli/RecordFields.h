#pragma once
// The decoded fields of one officer as k4r shows them: each value under its
// key, in the dump's order, with the entry's name beside every list position.
// The JSON dump, the CSV dump and diff all read this one table.

#include <nlohmann/json.hpp>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

#include "cli/CliSupport.h"
#include "core/BushouRecord.h"

namespace k4r::cli {

using Json = nlohmann::ordered_json;

// The entries of one list as JSON strings, each converted once per run:
// thousands of files name the same few entries.
class ShownList {
 public:
  explicit ShownList(std::span<const ByteView> entries);
  explicit ShownList(std::span<const ByteString> entries);

  // The entry at `position`, or null outside the list.
  [[nodiscard]] const Json& At(ListPosition position) const;
  [[nodiscard]] std::size_t Size() const { return entries_.size(); }

 private:
  std::vector<ByteView> entries_;
  mutable std::vector<std::optional<Json>> shown_;
};

// Every list a dump names entries from. The officer and face lists only when
// they were loaded; they view `loaded`, which must outlive this.
struct ShownLists {
  ShownList skills, origins, faiths, bases, compatibility;
  std::optional<ShownList> officers, faces;
  explicit ShownLists(const LoadedNameLists& loaded);
};

enum class FieldLayout {
  // As `k4r dump` prints JSON: "tokugi" and "tokugi_names" are arrays of
  // three, and a text's "_hex" key is there only when the text needs it.
  Dump,
  // One plain value per key, the same keys for every officer: the skills as
  // tokugi1..tokugi3 each followed by tokugi1_name.., and every text followed
  // by its "_hex" key (null when the text shows its bytes exactly).
  Table,
};

struct FieldCell {
  std::string_view key;  // names a static text
  Json value;
  // A key that belongs to the field before it: a name beside its position,
  // or a text's bytes in hexadecimal.
  bool companion = false;
};

// The cells of `record` in the dump's order. The officer names follow
// Oya, Tomo and Teki only when `lists` has the officer list, Kao_name only
// when it has the face list.
[[nodiscard]] std::vector<FieldCell> RecordCells(const BushouRecord& record, const ShownLists& lists,
                                                 FieldLayout layout);

// The keys of the Table layout for these lists, in order.
[[nodiscard]] std::vector<std::string_view> TableKeys(const ShownLists& lists);

}  // namespace k4r::cli
