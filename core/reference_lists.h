#pragma once
// The fixed vocabularies of the editor and the name lists read from
// BUSHOU.DAT and KAO.DAT. Entries are CP932 bytes.

#include <cstdint>
#include <filesystem>
#include <span>
#include <vector>

#include "core/bytes.h"
#include "core/result.h"
#include "core/value_codes.h"

namespace k4r {

using NameList = std::vector<ByteString>;

struct Vocabulary {
  std::span<const ByteView> entries;
  ListPosition startSelection;  // -1: nothing selected
  int rowsShown;                // rows of the open drop-down list
};

namespace vocabulary {
[[nodiscard]] const Vocabulary& Skills();         // 20, start 19 "（なし）"
[[nodiscard]] const Vocabulary& Origins();        // 12, start 0
[[nodiscard]] const Vocabulary& Faiths();         // 3, start 0
[[nodiscard]] const Vocabulary& Bases();          // 100, start 99
[[nodiscard]] const Vocabulary& Compatibility();  // "0".."99", start 0
[[nodiscard]] const Vocabulary& Sexes();          // shown only, no selection
[[nodiscard]] const Vocabulary& States();         // shown only, no selection
inline constexpr ListPosition kNoSkill = 19;
}  // namespace vocabulary

// The entry at `position`, or an empty entry outside the list.
[[nodiscard]] ByteView EntryAt(std::span<const ByteString> list, ListPosition position);
[[nodiscard]] ByteView EntryAt(std::span<const ByteView> list, ListPosition position);

// Splits a name list file: lines end at CR LF, lone CR or lone LF; a NUL
// byte ends the text; a final line break adds no entry; empty lines stay.
[[nodiscard]] NameList SplitNameList(ByteView content);

inline constexpr const char* kOfficerListFile = "BUSHOU.DAT";
inline constexpr const char* kFaceListFile = "KAO.DAT";

struct NameListLoad {
  enum class Outcome { Loaded, Missing, Unreadable };
  Outcome outcome = Outcome::Missing;
  NameList entries;  // filled when Loaded
  Failure failure;   // why, when Unreadable
};

// Loads a name list file: Missing when no such file exists, Unreadable when
// it exists but cannot be read (a folder, no right, too large).
[[nodiscard]] NameListLoad LoadNameList(const std::filesystem::path& path);

}  // namespace k4r
