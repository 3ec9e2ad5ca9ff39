#pragma once
// Find-next search over a list: the next entry, after the selected one and
// then once more from the top, that contains a text (byte-exact, Shift-JIS
// safe).

#include <cstdint>
#include <span>

#include "core/Bytes.h"
#include "core/NameList.h"
#include "core/ValueCodes.h"
#include "core/Vocabulary.h"

namespace k4r {

// How many positions a search covers, per list: the length the list is made
// with, whatever a name list file actually holds.
namespace search_span {
inline constexpr std::int32_t kBases = vocabulary::kBaseCount;
inline constexpr std::int32_t kOfficers = kOfficerListLength;
inline constexpr std::int32_t kFaces = kFaceListLength;
}  // namespace search_span

struct FindOutcome {
  enum class Kind { Select, NoChange, NotFound };
  Kind kind = Kind::NotFound;
  ListPosition position = kNoSelection;  // the position to select, for Select
  friend bool operator==(const FindOutcome&, const FindOutcome&) = default;
};

// All entries joined by single commas; made once per dialog opening.
[[nodiscard]] ByteString JoinEntries(std::span<const ByteString> entries);

// One search for `pattern` in `joined` (the JoinEntries of `entries`),
// continuing from `selection` (-1: nothing selected) within `span` positions.
[[nodiscard]] FindOutcome FindInList(std::span<const ByteString> entries, ListPosition selection, std::int32_t span,
                                     ByteView joined, ByteView pattern);

}  // namespace k4r
