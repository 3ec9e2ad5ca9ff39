#pragma once
// The fixed vocabularies of the editor: skills, origins, faiths, bases,
// compatibility values, and the two lists shown for information. Entries are
// CP932 bytes.

#include <cstdint>
#include <span>

#include "core/Bytes.h"
#include "core/ValueCodes.h"

namespace k4r {

struct Vocabulary {
  std::span<const ByteView> entries;
  ListPosition startSelection;  // -1: nothing selected
};

namespace vocabulary {
[[nodiscard]] const Vocabulary& Skills();         // start 19 "（なし）"
[[nodiscard]] const Vocabulary& Origins();        // start 0
[[nodiscard]] const Vocabulary& Faiths();         // start 0
[[nodiscard]] const Vocabulary& Bases();          // start 99
[[nodiscard]] const Vocabulary& Compatibility();  // "0".."99", start 0
[[nodiscard]] const Vocabulary& Sexes();          // shown only, no selection
[[nodiscard]] const Vocabulary& States();         // shown only, no selection

// The lengths of the lists above, for what must know them at compile time;
// the tables themselves are checked against them.
inline constexpr std::int32_t kSkillCount = 20;
inline constexpr std::int32_t kOriginCount = 12;
inline constexpr std::int32_t kFaithCount = 3;
inline constexpr std::int32_t kBaseCount = 100;
inline constexpr std::int32_t kCompatibilityCount = 100;
inline constexpr std::int32_t kSexCount = 2;
inline constexpr std::int32_t kStateCount = 2;

inline constexpr ListPosition kNoSkill = 19;
}  // namespace vocabulary

}  // namespace k4r
