#pragma once
// The lists a field draws from, as the k4r commands see them: the fixed
// vocabularies and the name lists that were loaded. Each entry is converted
// and indexed once per run, since thousands of files name the same few.

#include <nlohmann/json.hpp>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "cli/CliSupport.h"
#include "core/FieldTable.h"

namespace k4r::cli {

using Json = nlohmann::ordered_json;

// "the bases", "the officer list", …: a list as messages name it.
[[nodiscard]] std::string ListDescription(FieldList list);

class ListView {
 public:
  ListView(std::string description, std::vector<ByteView> entries);

  // "the bases", "the officer list", …
  [[nodiscard]] const std::string& description() const { return description_; }
  [[nodiscard]] std::int32_t size() const { return static_cast<std::int32_t>(entries_.size()); }
  [[nodiscard]] bool Holds(ListPosition position) const { return position >= 0 && position < size(); }
  // The entry's bytes; empty outside the list.
  [[nodiscard]] ByteView At(ListPosition position) const;
  // The entry as a JSON string, null outside the list.
  [[nodiscard]] const Json& Shown(ListPosition position) const;
  // The positions whose entry is exactly `bytes`, in order.
  [[nodiscard]] std::span<const ListPosition> Named(ByteView bytes) const;
  // Up to `limit` + 1 positions whose entry contains `text` (compared as
  // characters, after the text went through code page 932 where it can).
  [[nodiscard]] std::vector<ListPosition> Containing(std::string_view text, std::size_t limit) const;

 private:
  std::string description_;
  std::vector<ByteView> entries_;
  mutable std::vector<std::optional<Json>> shown_;
  mutable std::unordered_map<ByteString, std::vector<ListPosition>> index_;
};

// The lists of one run; the name lists view `loaded`, which must outlive this.
class ListViews {
 public:
  explicit ListViews(const LoadedNameLists& loaded);
  ListViews(const ListViews&) = delete;
  ListViews& operator=(const ListViews&) = delete;

  // nullptr for a field without a list, or whose list was not loaded.
  [[nodiscard]] const ListView* For(FieldList list) const;
  [[nodiscard]] const LoadedNameLists& loaded() const { return loaded_; }

 private:
  const LoadedNameLists& loaded_;
  ListView skills_, origins_, faiths_, bases_, compatibility_;
  std::optional<ListView> officers_, faces_;
};

}  // namespace k4r::cli
