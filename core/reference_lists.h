#pragma once
// The fixed vocabularies of the editor and the name lists read from
// BUSHOU.DAT and KAO.DAT. Entries are CP932 bytes.

#include <cstdint>
#include <filesystem>
#include <span>
#include <vector>

#include "core/bytes.h"
#include "core/face_archive.h"
#include "core/result.h"
#include "core/value_codes.h"

namespace k4r {

using NameList = std::vector<ByteString>;

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

// The lengths the two name list files are made with (loading does not check
// them): the first officer line stands for no officer, and the face list
// names one officer per face of the face graphics file.
inline constexpr std::int32_t kOfficerListLength = 1113;
inline constexpr std::int32_t kFaceListLength = face_file::kFaceCount;

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
