#pragma once
// Whole-file reading and the never-lose-the-file replacement used by every save.

#include <cstdint>
#include <filesystem>

#include "core/bytes.h"
#include "core/result.h"

namespace k4r {

// Largest file ReadWholeFile takes into memory by default; a larger one is
// reported as the out-of-memory failure instead of exhausting the machine.
inline constexpr std::uintmax_t kDefaultReadLimit = std::uintmax_t{256} << 20;

// Reads every byte of a file, letting other readers in. Failures:
// messages::CannotOpen(path) when it cannot be opened (missing, a folder,
// no right), messages::ReadErrorIn(path) when reading breaks off part-way,
// messages::OutOfMemory() when it is larger than `limit` or memory runs out.
[[nodiscard]] Result<ByteString> ReadWholeFile(const std::filesystem::path& path,
                                               std::uintmax_t limit = kDefaultReadLimit);

// Reads `count` bytes at `offset`; fails (messages::ReadErrorIn(path)) when the
// file does not hold all of them.
[[nodiscard]] Result<ByteString> ReadFileRange(const std::filesystem::path& path, std::uint64_t offset,
                                               std::size_t count);

// Replaces the file at `path` with `bytes` so that it always holds either the
// old or the new content: the bytes go to a temporary file in the same
// folder, are flushed to disk and renamed over the target. A symbolic link is
// followed (its target is replaced, the link stays). The target's permission
// bits are kept (its owner where the system lets us). On failure the old file
// is untouched and no temporary file remains. A save that is killed outright
// can leave its temporary file (".<name>.k4r-tmp-XXXXXX") behind; it never
// stops a later save, and a successful save of the same file removes those
// that are older than ten minutes and not held by a save still running.
// Failures:
// messages::CannotCreate(path) when the file cannot be created or replaced: a
// missing or unwritable folder, a target that is not a plain file, or one we
// have no right to write (refused even though the folder would allow the
// rename: its owner marked it read-only, which a file without any write
// permission bit is for root too); messages::WriteError() when writing
// or flushing breaks off part-way (disk full, file-size limit).
[[nodiscard]] Status ReplaceFileAtomically(const std::filesystem::path& path, ByteView bytes);

}  // namespace k4r
