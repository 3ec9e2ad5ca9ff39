#pragma once
// The temporary files that saves write beside their targets: their names,
// and the removal of those that killed saves left behind.

#include <filesystem>
#include <optional>

namespace k4r::temp_files {

// The folder a file lies in; "." for a bare name.
[[nodiscard]] std::filesystem::path FolderOf(const std::filesystem::path& target);

// Follows symbolic links to the file they name, so that it is replaced and
// the link stays. Nothing when the chain cannot be read or loops.
[[nodiscard]] std::optional<std::filesystem::path> FollowLinks(std::filesystem::path path);

// A fresh name ".<name>.k4r-tmp-XXXXXX" beside `target`. Throws
// std::system_error when the system has no random source to give.
[[nodiscard]] std::filesystem::path NameBeside(const std::filesystem::path& target);

// Whether a folder entry's name is one that NameBeside makes, for any target.
[[nodiscard]] bool IsTempName(const std::filesystem::path& name);

// Who else may be saving in the folder when its leftovers are looked for.
enum class FolderUse {
  OnlyUs,   // no other save is running there: every unheld leftover is dead
  Unknown,  // another may be: only leftovers older than a save can take are
};

// Removes the leftovers of killed saves in `folder`: temporary files that no
// running save holds (and, unless `use` is OnlyUs, that are older than ten
// minutes). Never fails: what cannot be removed waits for the next save.
void RemoveLeftovers(const std::filesystem::path& folder, FolderUse use) noexcept;

}  // namespace k4r::temp_files
