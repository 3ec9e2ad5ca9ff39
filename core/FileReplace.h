#pragma once
// The never-lose-the-file replacement used by every save.

#include <filesystem>

#include "core/Bytes.h"
#include "core/Result.h"

namespace k4r {

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
// permission bit is for root too), or when the system has no random source
// for the temporary name; messages::WriteError() when writing or flushing
// breaks off part-way (disk full, file-size limit); messages::OutOfMemory()
// when memory runs out.
[[nodiscard]] Status ReplaceFileAtomically(const std::filesystem::path& path, ByteView bytes);

}  // namespace k4r
