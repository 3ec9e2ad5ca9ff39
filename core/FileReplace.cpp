// Replacing a file so that a failed save never loses it: the new bytes go to
// a temporary file beside the target, reach the disk, and only then take the
// target's name in one rename.
#include <algorithm>
#include <chrono>
#include <new>
#include <optional>
#include <random>
#include <string>
#include <string_view>
#include <system_error>

#include "core/FileReplace.h"
#include "core/Messages.h"
#include "core/OsHandle.h"

#ifndef _WIN32
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#endif

namespace k4r {
namespace fs = std::filesystem;
namespace {

// Symbolic links are followed so that the file they name is replaced and the
// link itself stays. Nothing when the chain cannot be read or loops.
[[nodiscard]] std::optional<fs::path> FollowLinks(fs::path path) {
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

[[nodiscard]] fs::path FolderOf(const fs::path& target) {
  const fs::path folder = target.parent_path();
  return folder.empty() ? fs::path(".") : folder;
}

// ".<name>.k4r-tmp-XXXXXX": hidden, recognisably ours, and unique enough that
// the exclusive create rarely has to retry.
constexpr char kTempLetters[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
constexpr std::size_t kTempRandomLength = 6;

// The temporary names of a target all start with this.
[[nodiscard]] fs::path::string_type TempPrefix(const fs::path& target) {
  // Keep the whole name within the usual 255-byte limit of a folder entry.
  fs::path::string_type name = target.filename().native();
  constexpr std::size_t kNameRoom = 200;
  if (name.size() > kNameRoom) {
    name.resize(kNameRoom);
  }
  fs::path::string_type prefix(1, '.');
  prefix += name;
  for (const char letter : std::string_view(".k4r-tmp-")) {
    prefix += static_cast<fs::path::value_type>(letter);
  }
  return prefix;
}

// Drawn from the system each time: a generator kept in memory would give a
// forked process the same names as its parent, and names left by killed
// saves would then use up every attempt of the exclusive create. Throws
// std::system_error when the system has no random source to give.
[[nodiscard]] fs::path TempNameBeside(const fs::path& target) {
  std::random_device random;
  std::uniform_int_distribution<std::size_t> pick(0, sizeof kTempLetters - 2);
  fs::path::string_type name = TempPrefix(target);
  for (std::size_t i = 0; i < kTempRandomLength; ++i) {
    name += static_cast<fs::path::value_type>(kTempLetters[pick(random)]);
  }
  return FolderOf(target) / fs::path(name);
}

[[nodiscard]] bool IsTempNameOf(const fs::path::string_type& name, const fs::path::string_type& prefix) {
  if (name.size() != prefix.size() + kTempRandomLength || name.compare(0, prefix.size(), prefix) != 0) {
    return false;
  }
  const std::string_view letters(kTempLetters, sizeof kTempLetters - 1);
  return std::all_of(name.begin() + static_cast<std::ptrdiff_t>(prefix.size()), name.end(), [&](auto unit) {
    return unit < 128 && letters.find(static_cast<char>(unit)) != std::string_view::npos;
  });
}

// A save that was killed (power cut, crash, SIGKILL) leaves its temporary
// file behind. It never blocks a later save (names are random and created
// exclusively), but the next successful save of the same file removes such
// leftovers so that they do not pile up. A leftover must be older than this,
// which no save in progress is, and must not be held by a live save (see
// RemoveIfAbandoned).
constexpr auto kAbandonedAge = std::chrono::minutes(10);

[[nodiscard]] bool RemoveIfAbandoned(const fs::path& path);

// Runs after the rename, when the save has happened: nothing here may turn it
// into a failure, so running out of memory just leaves the leftovers for the
// next save.
void RemoveAbandonedTempFiles(const fs::path& target) noexcept try {
  const fs::path::string_type prefix = TempPrefix(target);
  const fs::file_time_type cutoff = fs::file_time_type::clock::now() - kAbandonedAge;
  std::error_code error;
  for (fs::directory_iterator entry(FolderOf(target), error), end; !error && entry != end; entry.increment(error)) {
    std::error_code ignored;
    if (!IsTempNameOf(entry->path().filename().native(), prefix) || entry->is_symlink(ignored) ||
        !entry->is_regular_file(ignored)) {
      continue;
    }
    const fs::file_time_type written = entry->last_write_time(ignored);
    if (!ignored && written < cutoff) {
      static_cast<void>(RemoveIfAbandoned(entry->path()));
    }
  }
} catch (const std::exception&) {
  // left for the next save
}

// Removes the temporary file unless the rename has taken it.
class TempFileGuard {
 public:
  explicit TempFileGuard(fs::path path) : path_(std::move(path)) {}
  ~TempFileGuard() {
    if (!path_.empty()) {
      std::error_code ignored;
      fs::remove(path_, ignored);
    }
  }
  TempFileGuard(const TempFileGuard&) = delete;
  TempFileGuard& operator=(const TempFileGuard&) = delete;
  void Release() { path_.clear(); }

 private:
  fs::path path_;
};

constexpr int kCreateAttempts = 100;

#ifdef _WIN32

Status ReplaceResolved(const fs::path& shown, const fs::path& target, ByteView bytes) {
  const DWORD attributes = GetFileAttributesW(target.c_str());
  const bool exists = attributes != INVALID_FILE_ATTRIBUTES;
  if (exists && (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY)) != 0) {
    return Failure{messages::CannotCreate(shown)};
  }
  fs::path tempPath;
  os::UniqueHandle temp;
  for (int attempt = 0; attempt < kCreateAttempts && !temp.valid(); ++attempt) {
    tempPath = TempNameBeside(target);
    temp = os::UniqueHandle(
        CreateFileW(tempPath.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!temp.valid() && GetLastError() != ERROR_FILE_EXISTS) {
      break;
    }
  }
  if (!temp.valid()) {
    return Failure{messages::CannotCreate(shown)};
  }
  TempFileGuard guard(tempPath);
  std::size_t done = 0;
  while (done < bytes.size()) {
    const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - done, 1U << 30));
    DWORD written = 0;
    if (!WriteFile(temp.get(), bytes.data() + done, chunk, &written, nullptr) || written == 0) {
      return Failure{messages::WriteError()};
    }
    done += written;
  }
  if (!FlushFileBuffers(temp.get()) || !temp.Close()) {
    return Failure{messages::WriteError()};
  }
  if (exists) {
    // Hidden, system and archive marks travel with the content.
    static_cast<void>(SetFileAttributesW(tempPath.c_str(), attributes));
  }
  if (!MoveFileExW(tempPath.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    return Failure{messages::CannotCreate(shown)};
  }
  guard.Release();
  RemoveAbandonedTempFiles(target);
  return Success();
}

// A live save holds its temporary file open without sharing, so deleting it
// fails; a dead one's file goes.
bool RemoveIfAbandoned(const fs::path& path) {
  return DeleteFileW(path.c_str()) != 0;
}

#else

[[nodiscard]] bool WriteAll(int fd, ByteView bytes) {
  while (!bytes.empty()) {
    const ssize_t written = ::write(fd, bytes.data(), bytes.size());
    if (written < 0 && errno == EINTR) {
      continue;
    }
    if (written <= 0) {
      return false;  // ENOSPC, EFBIG, EDQUOT, EIO: the disk took no more
    }
    bytes.remove_prefix(static_cast<std::size_t>(written));
  }
  return true;
}

// The rename is done when this runs; a folder that cannot be flushed (some
// file systems refuse) does not undo a save that has happened.
void SyncFolder(const fs::path& folder) {
  const os::UniqueHandle handle(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (handle.valid()) {
    static_cast<void>(::fsync(handle.get()));
  }
}

Status ReplaceResolved(const fs::path& shown, const fs::path& target, ByteView bytes) {
  struct stat info {};
  const bool exists = ::stat(target.c_str(), &info) == 0;
  if (!exists && errno != ENOENT) {
    return Failure{messages::CannotCreate(shown)};
  }
  // Only a plain file is replaced; a file we may not write was marked
  // read-only by its owner, even though the folder would allow the rename.
  // root may write any file, so a file without a single write bit counts as
  // marked read-only for root too, as for everyone else.
  constexpr mode_t kAnyWriteBit = S_IWUSR | S_IWGRP | S_IWOTH;
  if (exists && (!S_ISREG(info.st_mode) || (info.st_mode & kAnyWriteBit) == 0 || ::access(target.c_str(), W_OK) != 0)) {
    return Failure{messages::CannotCreate(shown)};
  }

  // A new file gets the usual rights (the umask applies); a replaced one
  // gets its predecessor's, set before any byte is written.
  const mode_t createMode = exists ? S_IRUSR | S_IWUSR : 0666;
  fs::path tempPath;
  os::UniqueHandle temp;
  for (int attempt = 0; attempt < kCreateAttempts && !temp.valid(); ++attempt) {
    tempPath = TempNameBeside(target);
    temp = os::UniqueHandle(::open(tempPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, createMode));
    if (!temp.valid() && errno != EEXIST) {
      break;
    }
  }
  if (!temp.valid()) {
    return Failure{messages::CannotCreate(shown)};
  }
  TempFileGuard guard(tempPath);
  // Marks the file as a save in progress until this process closes it or
  // dies (see RemoveIfAbandoned); a file system without locks just goes on.
  static_cast<void>(::flock(temp.get(), LOCK_EX | LOCK_NB));

  if (exists) {
    // Ownership can only be kept where we have the right to; the permission
    // bits always can. fchown first: it clears set-id bits.
    if (::fchown(temp.get(), info.st_uid, info.st_gid) != 0) {
      // not ours to give away: the file stays the saving user's
    }
    if (::fchmod(temp.get(), info.st_mode & 07777) != 0) {
      return Failure{messages::CannotCreate(shown)};
    }
  }
  if (!WriteAll(temp.get(), bytes) || ::fsync(temp.get()) != 0 || !temp.Close()) {
    return Failure{messages::WriteError()};
  }
  // Made before the rename, so that nothing after it can fail.
  const fs::path folder = FolderOf(target);
  if (::rename(tempPath.c_str(), target.c_str()) != 0) {
    return Failure{messages::CannotCreate(shown)};
  }
  guard.Release();
  SyncFolder(folder);
  RemoveAbandonedTempFiles(target);
  return Success();
}

// A live save holds a lock on its temporary file; one that died released it.
bool RemoveIfAbandoned(const fs::path& path) {
  const os::UniqueHandle file(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK));
  if (!file.valid() || ::flock(file.get(), LOCK_EX | LOCK_NB) != 0) {
    return false;
  }
  return ::unlink(path.c_str()) == 0;
}

#endif

}  // namespace

Status ReplaceFileAtomically(const fs::path& path, ByteView bytes) {
  // Paths and names take memory, and the temporary name needs the system's
  // random source; either running out fails this save like any other fault
  // (the guard has removed the temporary file by then), never as an
  // exception in the caller's event handler.
  try {
    const std::optional<fs::path> target = FollowLinks(path);
    if (!target) {
      return Failure{messages::CannotCreate(path)};
    }
    return ReplaceResolved(path, *target, bytes);
  } catch (const std::bad_alloc&) {
    return Failure{messages::OutOfMemory()};
  } catch (const std::system_error&) {
    return Failure{messages::CannotCreate(path)};
  }
}

}  // namespace k4r
