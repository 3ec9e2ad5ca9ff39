#pragma once
// The never-lose-the-file replacement used by every save, one file at a time
// or many together.

#include <cstddef>
#include <filesystem>
#include <functional>
#include <memory>
#include <vector>

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
// stops a later save, and a later successful save in the same folder removes
// it (at once where no other save is running there, else once it is older
// than ten minutes).
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

// Replaces many files with the same promise as ReplaceFileAtomically, at the
// cost of writing them once: every new content goes to its temporary file
// first (Stage), then Commit makes them all durable together, renames each
// over its target and flushes each folder once. A failure while staging or
// flushing replaces nothing; only a failed rename leaves some files new
// (Replaced() lists them). Whatever is staged and not committed is removed
// when the group ends.
class FileReplaceGroup {
 public:
  enum class Flush {
    EachFile,  // as each file is written: for one file, or where nothing better exists
    Together,  // once for all, where the system can
  };
  explicit FileReplaceGroup(Flush flush = Flush::Together);
  ~FileReplaceGroup();
  FileReplaceGroup(const FileReplaceGroup&) = delete;
  FileReplaceGroup& operator=(const FileReplaceGroup&) = delete;

  // Writes the temporary file for `path`; checks and failures as
  // ReplaceFileAtomically's. A path staged twice is the caller's fault.
  [[nodiscard]] Status Stage(const std::filesystem::path& path, ByteView bytes);

  // Flushes, renames and tidies up; `renamed` is told the count after each
  // rename. Call once.
  [[nodiscard]] Status Commit(const std::function<void(std::size_t renamed)>& renamed = {});

  [[nodiscard]] std::size_t StagedCount() const;
  // The paths (as given to Stage) whose new content is in place.
  [[nodiscard]] const std::vector<std::filesystem::path>& Replaced() const { return replaced_; }

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
  std::vector<std::filesystem::path> replaced_;
};

}  // namespace k4r
