#pragma once
// The numbers a save can store so that they read back as shown. An ability
// is stored as its low 8 bits and a year through its year code, so any other
// number would silently become a different one in the file.

#include <cstdint>
#include <string_view>

#include "core/BushouRecord.h"
#include "core/Result.h"

namespace k4r {

struct NumberRange {
  std::int32_t lowest = 0;
  std::int32_t highest = 0;
  [[nodiscard]] constexpr bool Holds(std::int32_t value) const { return value >= lowest && value <= highest; }
};

// Every byte value; the spinners stop at 1..120 (義理 1..100), but 0 and
// 121..255 occur in files and are kept.
inline constexpr NumberRange kStorableAbilities{0, 255};
// Marker 5 and 6 with any low byte: 0x500..0x6FF.
inline constexpr NumberRange kStorableYears{1280, 1791};

// Refuses `value` when it lies outside `range`, naming `caption` (the field
// as the user knows it, e.g. "政治") and the value.
[[nodiscard]] Status CheckStorableNumber(std::string_view caption, std::int32_t value, NumberRange range);

// The five abilities, then the birth and death year, in the order a save
// writes them: the first that cannot be stored as it is gives the failure,
// named by its caption ("政治", "統率", "知略", "教養", "義理", "誕生年", "没年").
[[nodiscard]] Status CheckStorableNumbers(const BushouRecord& record);

}  // namespace k4r
