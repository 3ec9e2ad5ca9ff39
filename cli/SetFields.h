#pragma once
// The fields k4r set changes, by the names 'k4r dump' shows, and the lists
// the list fields choose from.

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "cli/CliSupport.h"
#include "core/BushouRecord.h"
#include "core/OfficerFile.h"

namespace k4r::cli {

enum class FieldKind { Text, Ability, BirthYear, Lifespan, DeathYear, List, ReadOnly };

enum class ListKind { None, Skills, Origins, Faiths, Bases, Compatibility, Officers, Faces };

struct SettableField {
  std::string_view name;
  FieldKind kind;
  ListKind list = ListKind::None;                 // List
  ByteString OfficerForm::*text = nullptr;        // Text
  ByteString BushouRecord::*stored = nullptr;     // Text: the decoded bytes
  std::size_t width = 0;                          // Text
  std::string OfficerForm::*number = nullptr;     // Ability
  int skill = -1;                                 // List of skills: which of the three
  ListPosition OfficerForm::*position = nullptr;  // other lists
  ListPosition BushouRecord::*decoded = nullptr;  // other lists
};

// Every field in the order of 'k4r dump', the three skills as tokugi1..3.
[[nodiscard]] std::span<const SettableField> SettableFields();
// nullptr for a name that is no field.
[[nodiscard]] const SettableField* FindField(std::string_view name);

// The position a list field has in the form, and the one the file decodes to.
[[nodiscard]] ListPosition& PositionIn(const SettableField& field, OfficerForm& form);
[[nodiscard]] ListPosition DecodedPosition(const SettableField& field, const BushouRecord& record);

// One list's entries with an index from entry to positions, built on first
// use: thousands of rows look names up in the same list.
class ChoiceList {
 public:
  ChoiceList(std::string description, std::vector<ByteView> entries);

  [[nodiscard]] const std::string& description() const { return description_; }
  [[nodiscard]] std::int32_t size() const { return static_cast<std::int32_t>(entries_.size()); }
  [[nodiscard]] bool Holds(ListPosition position) const { return position >= 0 && position < size(); }
  [[nodiscard]] ByteView At(ListPosition position) const;
  // The positions whose entry is exactly `bytes`, in order.
  [[nodiscard]] std::span<const ListPosition> Named(ByteView bytes) const;
  // Up to `limit` + 1 positions whose entry contains `text` (compared as
  // characters, after the text went through code page 932 where it can).
  [[nodiscard]] std::vector<ListPosition> Containing(std::string_view text, std::size_t limit) const;

 private:
  std::string description_;
  std::vector<ByteView> entries_;
  mutable std::unordered_map<ByteString, std::vector<ListPosition>> index_;
};

// The lists of one run: the fixed vocabularies and the name lists loaded
// (which must outlive this).
class ChoiceLists {
 public:
  explicit ChoiceLists(const LoadedNameLists& lists);
  // nullptr when the field's list was not loaded.
  [[nodiscard]] const ChoiceList* For(const SettableField& field) const;
  [[nodiscard]] const LoadedNameLists& loaded() const { return loaded_; }

 private:
  const LoadedNameLists& loaded_;
  ChoiceList skills_, origins_, faiths_, bases_, compatibility_;
  std::optional<ChoiceList> officers_, faces_;
};

}  // namespace k4r::cli
