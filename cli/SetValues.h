#pragma once
// Setting one field of a record from one value. A failure says what is wrong
// with the value and quotes it; the caller says where the value came from.

#include <optional>
#include <string_view>

#include "cli/ListViews.h"
#include "core/BushouRecord.h"
#include "core/FieldTable.h"
#include "core/Result.h"

namespace k4r::cli {

// A text given in UTF-8, stored as CP932 (the biography with CR LF breaks).
[[nodiscard]] Status SetText(const RecordField& field, std::string_view utf8, BushouRecord& record);
// A text given as its stored bytes.
[[nodiscard]] Status SetTextBytes(const RecordField& field, ByteString bytes, BushouRecord& record);

// Abilities and years by the integer rule. Birth year and lifespan move the
// death year; a death year moves the lifespan.
[[nodiscard]] Status SetNumber(const RecordField& field, std::string_view text, BushouRecord& record);

// A list position; it must lie in its list or be -1.
[[nodiscard]] Status SetListPosition(const RecordField& field, ListPosition position, BushouRecord& record,
                                     const ListViews& lists);

// The position of the one entry that is exactly `name` (UTF-8); nullopt
// stands for no entry at all, that is no selection.
[[nodiscard]] Result<ListPosition> PositionOfName(const RecordField& field, std::optional<std::string_view> name,
                                                  const ListViews& lists);

// Whether `name` (nullopt: no entry) is what `position` of the list holds,
// as bytes or as 'k4r dump' shows it.
[[nodiscard]] bool NameIsAt(const ListView& list, std::optional<std::string_view> name, ListPosition position);

// A NAME=VALUE value: a number is a position, any other text a name.
[[nodiscard]] Status SetFromArgument(const RecordField& field, std::string_view value, BushouRecord& record,
                                     const ListViews& lists);

// "field: message", the way every value's failure is told.
[[nodiscard]] Failure Labelled(std::string_view label, const Failure& failure);

}  // namespace k4r::cli
