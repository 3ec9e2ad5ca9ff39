#pragma once
// Reading whole files and byte ranges, with the limits and messages of the editor.

#include <cstdint>
#include <filesystem>

#include "core/Bytes.h"
#include "core/Result.h"

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

}  // namespace k4r
