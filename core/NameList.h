#pragma once
// The name lists read from BUSHOU.DAT and KAO.DAT, one entry per line, and
// the entry at a position of any list. Entries are CP932 bytes.

#include <cstdint>
#include <filesystem>
#include <span>
#include <vector>

#include "core/Bytes.h"
#include "core/FaceArchive.h"
#include "core/Result.h"
#include "core/ValueCodes.h"

namespace k4r {

using NameList = std::vector<ByteString>;

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
