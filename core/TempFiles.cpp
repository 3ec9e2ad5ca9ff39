#include "core/TempFiles.h"

#include <algorithm>
#include <chrono>
#include <random>
#include <string>
#include <string_view>
#include <system_error>

#ifdef _WIN32
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include "core/OsHandle.h"
#endif

namespace k4r::temp_files {
namespace fs = std::filesystem;
namespace {

// Random, recognisably ours, and unique enough that the exclusive create
// rarely has to retry.
constexpr char kLetters[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
constexpr std::size_t kRandomLength = 6;
constexpr std::string_view kMark = ".k4r-tmp-";

// Where another save may be running, a leftover must be older than this,
// which no save in progress is.
constexpr auto kAbandonedAge = std::chrono::minutes(10);

// A live save holds its temporary file (a lock on POSIX, an unshared handle
// on Windows); one that died released it.
[[nodiscard]] bool RemoveIfUnheld(const fs::path& path) {
#ifdef _WIN32
  return DeleteFileW(path.c_str()) != 0;
#else
  const os::UniqueHandle file(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK));
  if (!file.valid() || ::flock(file.get(), LOCK_EX | LOCK_NB) != 0) {
    return false;
  }
  return ::unlink(path.c_str()) == 0;
#endif
}

}  // namespace

fs::path FolderOf(const fs::path& target) {
  const fs::path folder = target.parent_path();
  return folder.empty() ? fs::path(".") : folder;
}

std::optional<fs::path> FollowLinks(fs::path path) {
  constexpr int kMaxHops = 40;
  for (int hop = 0; hop < kMaxHops; ++hop) {
    std::error_code error;
    const fs::file_status status = fs::symlink_status(path, error);
    if (!fs::is_symlink(status)) {
      return path;
    }
    const fs::path next = fs::read_symlink(path, error);
    if (error) {
      return std::nullopt;
    }
    path = next.is_absolute() ? next : path.parent_path() / next;
  }
  return std::nullopt;
}

// Drawn from the system each time: a generator kept in memory would give a
// forked process the same names as its parent, and names left by killed
// saves would then use up every attempt of the exclusive create.
fs::path NameBeside(const fs::path& target) {
  // Keep the whole name within the usual 255-byte limit of a folder entry.
  fs::path::string_type name = target.filename().native();
  constexpr std::size_t kNameRoom = 200;
  if (name.size() > kNameRoom) {
    name.resize(kNameRoom);
  }
  fs::path::string_type temp(1, '.');
  temp += name;
  for (const char letter : kMark) {
    temp += static_cast<fs::path::value_type>(letter);
  }
  std::random_device random;
  std::uniform_int_distribution<std::size_t> pick(0, sizeof kLetters - 2);
  for (std::size_t i = 0; i < kRandomLength; ++i) {
    temp += static_cast<fs::path::value_type>(kLetters[pick(random)]);
  }
  return FolderOf(target) / fs::path(temp);
}

bool IsTempName(const fs::path& path) {
  const fs::path::string_type& name = path.native();
  const std::size_t tail = kMark.size() + kRandomLength;
  // "." + at least one character of the target's name + the mark + letters.
  if (name.size() < tail + 2 || name[0] != '.') {
    return false;
  }
  const std::size_t markAt = name.size() - tail;
  if (!std::equal(kMark.begin(), kMark.end(), name.begin() + static_cast<std::ptrdiff_t>(markAt),
                  [](char mark, auto unit) { return static_cast<fs::path::value_type>(mark) == unit; })) {
    return false;
  }
  const std::string_view letters(kLetters, sizeof kLetters - 1);
  return std::all_of(name.end() - static_cast<std::ptrdiff_t>(kRandomLength), name.end(), [&](auto unit) {
    return unit < 128 && letters.find(static_cast<char>(unit)) != std::string_view::npos;
  });
}

// Runs after the renames, when the saves have happened: nothing here may
// turn them into a failure, so running out of memory just leaves the
// leftovers for the next save.
void RemoveLeftovers(const fs::path& folder, FolderUse use) noexcept try {
  const fs::file_time_type cutoff = fs::file_time_type::clock::now() - kAbandonedAge;
  std::error_code error;
  for (fs::directory_iterator entry(folder, error), end; !error && entry != end; entry.increment(error)) {
    std::error_code ignored;
    if (!IsTempName(entry->path().filename()) || entry->is_symlink(ignored) || !entry->is_regular_file(ignored)) {
      continue;
    }
    if (use == FolderUse::Unknown) {
      const fs::file_time_type written = entry->last_write_time(ignored);
      if (ignored || written >= cutoff) {
        continue;
      }
    }
    static_cast<void>(RemoveIfUnheld(entry->path()));
  }
} catch (const std::exception&) {
  // left for the next save
}

}  // namespace k4r::temp_files
