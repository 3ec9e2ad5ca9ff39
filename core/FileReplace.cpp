// Replacing files so that a failed save never loses one: the new bytes go to
// a temporary file beside the target, reach the disk, and only then take the
// target's name in one rename. Many files share one flush.
#include "core/FileReplace.h"

#include <algorithm>
#include <map>
#include <new>
#include <string>
#include <system_error>

#include "core/Messages.h"
#include "core/OsHandle.h"
#include "core/TempFiles.h"

#ifndef _WIN32
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#endif

namespace k4r {
namespace fs = std::filesystem;
using temp_files::FolderUse;

namespace {

constexpr int kCreateAttempts = 100;

// Removes a temporary file that never reached its target.
void RemoveTemp(const fs::path& temp) noexcept {
  std::error_code ignored;
  fs::remove(temp, ignored);
}

#ifndef _WIN32
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

[[nodiscard]] bool LockFolder(int fd, int operation) {
  int result = 0;
  do {
    result = ::flock(fd, operation);
  } while (result != 0 && errno == EINTR);
  return result == 0;
}
#else
[[nodiscard]] bool WriteAll(HANDLE file, ByteView bytes) {
  while (!bytes.empty()) {
    const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size(), 1U << 30));
    DWORD written = 0;
    if (!WriteFile(file, bytes.data(), chunk, &written, nullptr) || written == 0) {
      return false;
    }
    bytes.remove_prefix(written);
  }
  return true;
}
#endif

}  // namespace

struct FileReplaceGroup::Impl {
  struct Folder {
    fs::path path;
#ifndef _WIN32
    // Held open with a shared lock while this group saves there: a save that
    // finds the folder to itself (an exclusive lock) knows every unheld
    // temporary file in it is a dead save's.
    os::UniqueHandle handle;
    bool shared = false;
#endif
    bool renamedInto = false;
  };
  struct Staged {
    fs::path shown;
    fs::path target;
    fs::path temp;
    std::size_t folder = 0;
#ifdef _WIN32
    // Held without sharing until the rename: a live save's file cannot be
    // deleted by another save's tidying up.
    os::UniqueHandle handle;
    DWORD attributes = INVALID_FILE_ATTRIBUTES;
#endif
  };

  explicit Impl(Flush flushMode) : flush(flushMode) {}
  ~Impl() {
    for (std::size_t i = renamed; i < staged.size(); ++i) {
#ifdef _WIN32
      static_cast<void>(staged[i].handle.Close());
#endif
      RemoveTemp(staged[i].temp);
    }
  }
  Impl(const Impl&) = delete;
  Impl& operator=(const Impl&) = delete;

  std::size_t FolderFor(const fs::path& folder);
  Status StageResolved(const fs::path& shown, const fs::path& target, ByteView bytes);
  [[nodiscard]] bool FlushStaged();
  [[nodiscard]] bool Rename(Staged& file);
  void FinishFolders(bool tidy);

  Flush flush;
  std::vector<Folder> folders;
  std::map<fs::path, std::size_t> folderIndex;
  std::vector<Staged> staged;
  std::size_t renamed = 0;  // staged[0, renamed) are in place
};

std::size_t FileReplaceGroup::Impl::FolderFor(const fs::path& folder) {
  std::error_code error;
  fs::path key = fs::absolute(folder, error);
  key = (error ? folder : key).lexically_normal();
  if (const auto found = folderIndex.find(key); found != folderIndex.end()) {
    return found->second;
  }
  Folder entry;
  entry.path = folder;
#ifndef _WIN32
  entry.handle = os::UniqueHandle(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  entry.shared = entry.handle.valid() && LockFolder(entry.handle.get(), LOCK_SH);
#endif
  folders.push_back(std::move(entry));
  folderIndex.emplace(std::move(key), folders.size() - 1);
  return folders.size() - 1;
}

#ifdef _WIN32

Status FileReplaceGroup::Impl::StageResolved(const fs::path& shown, const fs::path& target, ByteView bytes) {
  const DWORD attributes = GetFileAttributesW(target.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES &&
      (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY)) != 0) {
    return Failure{messages::CannotCreate(shown)};
  }
  Staged file{shown, target, {}, FolderFor(temp_files::FolderOf(target)), {}, attributes};
  for (int attempt = 0; attempt < kCreateAttempts && !file.handle.valid(); ++attempt) {
    file.temp = temp_files::NameBeside(target);
    file.handle = os::UniqueHandle(
        CreateFileW(file.temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.handle.valid() && GetLastError() != ERROR_FILE_EXISTS) {
      break;
    }
  }
  if (!file.handle.valid()) {
    return Failure{messages::CannotCreate(shown)};
  }
  // Windows offers nothing between a flush per file and none.
  if (!WriteAll(file.handle.get(), bytes) || !FlushFileBuffers(file.handle.get())) {
    static_cast<void>(file.handle.Close());
    RemoveTemp(file.temp);
    return Failure{messages::WriteError()};
  }
  staged.push_back(std::move(file));
  return Success();
}

bool FileReplaceGroup::Impl::FlushStaged() {
  return true;  // each file was flushed as it was written
}

bool FileReplaceGroup::Impl::Rename(Staged& file) {
  if (!file.handle.Close()) {
    return false;
  }
  if (file.attributes != INVALID_FILE_ATTRIBUTES) {
    // Hidden, system and archive marks travel with the content.
    static_cast<void>(SetFileAttributesW(file.temp.c_str(), file.attributes));
  }
  return MoveFileExW(file.temp.c_str(), file.target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}

void FileReplaceGroup::Impl::FinishFolders(bool tidy) {
  for (const Folder& folder : folders) {
    if (tidy && folder.renamedInto) {
      temp_files::RemoveLeftovers(folder.path, FolderUse::Unknown);
    }
  }
}

#else

Status FileReplaceGroup::Impl::StageResolved(const fs::path& shown, const fs::path& target, ByteView bytes) {
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
  // Taken before the temporary file exists, so that no other save's tidying
  // up can mistake it for a dead one.
  const std::size_t folder = FolderFor(temp_files::FolderOf(target));

  // A new file gets the usual rights (the umask applies); a replaced one
  // gets its predecessor's, set before any byte is written.
  const mode_t createMode = exists ? S_IRUSR | S_IWUSR : 0666;
  fs::path tempPath;
  os::UniqueHandle temp;
  for (int attempt = 0; attempt < kCreateAttempts && !temp.valid(); ++attempt) {
    tempPath = temp_files::NameBeside(target);
    temp = os::UniqueHandle(::open(tempPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, createMode));
    if (!temp.valid() && errno != EEXIST) {
      break;
    }
  }
  if (!temp.valid()) {
    return Failure{messages::CannotCreate(shown)};
  }
  const auto fail = [&](std::string message) {
    static_cast<void>(temp.Close());
    RemoveTemp(tempPath);
    return Failure{std::move(message)};
  };
  // Marks the file as a save in progress while it is open, for saves that
  // cannot lock the folder; a file system without locks just goes on.
  static_cast<void>(::flock(temp.get(), LOCK_EX | LOCK_NB));
  if (exists) {
    // Ownership can only be kept where we have the right to; the permission
    // bits always can. fchown first: it clears set-id bits.
    if (::fchown(temp.get(), info.st_uid, info.st_gid) != 0) {
      // not ours to give away: the file stays the saving user's
    }
    if (::fchmod(temp.get(), info.st_mode & 07777) != 0) {
      return fail(messages::CannotCreate(shown));
    }
  }
  if (!WriteAll(temp.get(), bytes)) {
    return fail(messages::WriteError());
  }
#ifdef __linux__
  if (flush == Flush::Together) {
    // Starts the write-out now and waits for it once, in FlushStaged.
    static_cast<void>(::sync_file_range(temp.get(), 0, 0, SYNC_FILE_RANGE_WRITE));
  } else if (::fsync(temp.get()) != 0) {
    return fail(messages::WriteError());
  }
#else
  if (::fsync(temp.get()) != 0) {
    return fail(messages::WriteError());
  }
#endif
  if (!temp.Close()) {
    return fail(messages::WriteError());
  }
  staged.push_back(Staged{shown, target, std::move(tempPath), folder});
  return Success();
}

bool FileReplaceGroup::Impl::FlushStaged() {
#ifdef __linux__
  if (flush != Flush::Together) {
    return true;
  }
  // One flush of each file system holds every file written to it; it reports
  // the write-back errors since the folder was opened, before any rename.
  std::vector<dev_t> flushed;
  std::vector<bool> folderFlushed(folders.size(), false);
  for (std::size_t i = 0; i < folders.size(); ++i) {
    struct stat info {};
    if (!folders[i].handle.valid() || ::fstat(folders[i].handle.get(), &info) != 0) {
      continue;
    }
    if (std::find(flushed.begin(), flushed.end(), info.st_dev) == flushed.end()) {
      if (::syncfs(folders[i].handle.get()) != 0) {
        return false;
      }
      flushed.push_back(info.st_dev);
    }
    folderFlushed[i] = true;
  }
  // A folder that cannot be opened for reading: each of its files on its own.
  for (const Staged& file : staged) {
    if (!folderFlushed[file.folder]) {
      const os::UniqueHandle handle(::open(file.temp.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW));
      if (!handle.valid() || ::fsync(handle.get()) != 0) {
        return false;
      }
    }
  }
#endif
  return true;
}

bool FileReplaceGroup::Impl::Rename(Staged& file) {
  return ::rename(file.temp.c_str(), file.target.c_str()) == 0;
}

// The renames are done when this runs; a folder that cannot be flushed (some
// file systems refuse) does not undo saves that have happened.
void FileReplaceGroup::Impl::FinishFolders(bool tidy) {
  for (Folder& folder : folders) {
    if (!folder.renamedInto) {
      continue;
    }
    if (folder.handle.valid()) {
      static_cast<void>(::fsync(folder.handle.get()));
    } else {
      const os::UniqueHandle handle(::open(folder.path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
      if (handle.valid()) {
        static_cast<void>(::fsync(handle.get()));
      }
    }
    if (!tidy) {
      continue;
    }
    FolderUse use = FolderUse::Unknown;
    if (folder.shared) {
      static_cast<void>(LockFolder(folder.handle.get(), LOCK_UN));
      folder.shared = false;
      if (::flock(folder.handle.get(), LOCK_EX | LOCK_NB) == 0) {
        use = FolderUse::OnlyUs;
      }
    }
    temp_files::RemoveLeftovers(folder.path, use);
    if (use == FolderUse::OnlyUs) {
      static_cast<void>(LockFolder(folder.handle.get(), LOCK_UN));
    }
  }
}

#endif

FileReplaceGroup::FileReplaceGroup(Flush flush) : impl_(std::make_unique<Impl>(flush)) {}

FileReplaceGroup::~FileReplaceGroup() = default;

std::size_t FileReplaceGroup::StagedCount() const {
  return impl_->staged.size();
}

// Paths and names take memory, and the temporary name needs the system's
// random source; either running out fails this file like any other fault,
// never as an exception in the caller's event handler.
Status FileReplaceGroup::Stage(const fs::path& path, ByteView bytes) {
  try {
    const std::optional<fs::path> target = temp_files::FollowLinks(path);
    if (!target) {
      return Failure{messages::CannotCreate(path)};
    }
    return impl_->StageResolved(path, *target, bytes);
  } catch (const std::bad_alloc&) {
    return Failure{messages::OutOfMemory()};
  } catch (const std::system_error&) {
    return Failure{messages::CannotCreate(path)};
  }
}

Status FileReplaceGroup::Commit(const std::function<void(std::size_t renamed)>& renamed) {
  try {
    replaced_.reserve(impl_->staged.size());
    if (!impl_->FlushStaged()) {
      return Failure{messages::WriteError()};
    }
    for (Impl::Staged& file : impl_->staged) {
      if (!impl_->Rename(file)) {
        impl_->FinishFolders(false);
        return Failure{messages::CannotCreate(file.shown)};
      }
      ++impl_->renamed;
      impl_->folders[file.folder].renamedInto = true;
      replaced_.push_back(file.shown);
      if (renamed) {
        renamed(impl_->renamed);
      }
    }
    impl_->FinishFolders(true);
    return Success();
  } catch (const std::bad_alloc&) {
    impl_->FinishFolders(false);
    return Failure{messages::OutOfMemory()};
  }
}

Status ReplaceFileAtomically(const fs::path& path, ByteView bytes) {
  try {
    FileReplaceGroup group(FileReplaceGroup::Flush::EachFile);
    if (Status staged = group.Stage(path, bytes); !staged) {
      return staged;
    }
    return group.Commit();
  } catch (const std::bad_alloc&) {
    return Failure{messages::OutOfMemory()};
  }
}

}  // namespace k4r
