#pragma once
// Setting one field of the form from one value. A failure says what is wrong
// with the value and quotes it; the caller says where the value came from.

#include <optional>
#include <string_view>

#include "cli/SetFields.h"
#include "core/OfficerFile.h"
#include "core/Result.h"

namespace k4r::cli {

// A text given in UTF-8, stored as CP932 (the biography with CR LF breaks).
[[nodiscard]] Status SetText(const SettableField& field, std::string_view utf8, OfficerForm& form);
// A text given as its stored bytes.
[[nodiscard]] Status SetTextBytes(const SettableField& field, ByteString bytes, OfficerForm& form);

// Abilities and years by the integer rule. Birth year and lifespan move the
// death year; a death year moves the lifespan.
[[nodiscard]] Status SetNumber(const SettableField& field, std::string_view text, OfficerForm& form);

// A list position; it must lie in its list or be -1.
[[nodiscard]] Status SetListPosition(const SettableField& field, ListPosition position, OfficerForm& form,
                                     const ChoiceLists& lists);

// The position of the one entry that is exactly `name` (UTF-8); nullopt
// stands for no entry at all, that is no selection.
[[nodiscard]] Result<ListPosition> PositionOfName(const SettableField& field, std::optional<std::string_view> name,
                                                  const ChoiceLists& lists);

// Whether `name` (nullopt: no entry) is what `position` of the field's list
// holds, as bytes or as 'k4r dump' shows it.
[[nodiscard]] bool NameIsAt(const ChoiceList& list, std::optional<std::string_view> name, ListPosition position);

// A NAME=VALUE value: a number is a position, any other text a name.
[[nodiscard]] Status SetFromArgument(const SettableField& field, std::string_view value, OfficerForm& form,
                                     const ChoiceLists& lists);

// "field: message", the way every value's failure is told.
[[nodiscard]] Failure Labelled(std::string_view label, const Failure& failure);

}  // namespace k4r::cli
