// Reading files whole or in part. Replacement lives in FileReplace.cpp.
#include "core/FileRead.h"

#include <algorithm>
#include <array>
#include <new>

#include "core/Messages.h"
#include "core/OsHandle.h"

#ifndef _WIN32
#include <fcntl.h>
#include <sys/stat.h>
#endif

namespace k4r {
namespace fs = std::filesystem;
namespace {

constexpr std::size_t kChunk = 64 * 1024;

#ifdef _WIN32

[[nodiscard]] os::UniqueHandle OpenForReading(const fs::path& path) {
  // Others may read the file meanwhile but not write it.
  return os::UniqueHandle(
      CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
}

// The size when the handle is a plain file, or -1 when it is not known.
[[nodiscard]] long long KnownSize(const os::UniqueHandle& file) {
  LARGE_INTEGER size{};
  return GetFileSizeEx(file.get(), &size) ? size.QuadPart : -1;
}

// Bytes read (0 at the end), or -1 on failure.
[[nodiscard]] long long ReadSome(const os::UniqueHandle& file, char* buffer, std::size_t count) {
  DWORD got = 0;
  if (!ReadFile(file.get(), buffer, static_cast<DWORD>(count), &got, nullptr)) {
    return -1;
  }
  return got;
}

[[nodiscard]] bool SeekTo(const os::UniqueHandle& file, std::uint64_t offset) {
  LARGE_INTEGER distance{};
  distance.QuadPart = static_cast<LONGLONG>(offset);
  return offset <= static_cast<std::uint64_t>(INT64_MAX) && SetFilePointerEx(file.get(), distance, nullptr, FILE_BEGIN);
}

#else

// Opened without blocking so that a named pipe cannot hang the editor, then
// switched back to blocking reads. A folder is not a file to open.
[[nodiscard]] os::UniqueHandle OpenForReading(const fs::path& path) {
  os::UniqueHandle file(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
  if (!file.valid()) {
    return file;
  }
  struct stat info {};
  if (::fstat(file.get(), &info) != 0 || S_ISDIR(info.st_mode)) {
    return {};
  }
  const int flags = ::fcntl(file.get(), F_GETFL);
  if (flags == -1 || ::fcntl(file.get(), F_SETFL, flags & ~O_NONBLOCK) == -1) {
    return {};
  }
  return file;
}

[[nodiscard]] long long KnownSize(const os::UniqueHandle& file) {
  struct stat info {};
  if (::fstat(file.get(), &info) != 0 || !S_ISREG(info.st_mode)) {
    return -1;
  }
  return info.st_size;
}

[[nodiscard]] long long ReadSome(const os::UniqueHandle& file, char* buffer, std::size_t count) {
  for (;;) {
    const ssize_t got = ::read(file.get(), buffer, count);
    if (got >= 0 || errno != EINTR) {
      return got;
    }
  }
}

[[nodiscard]] bool SeekTo(const os::UniqueHandle& file, std::uint64_t offset) {
  return offset <= static_cast<std::uint64_t>(INT64_MAX) &&
         ::lseek(file.get(), static_cast<off_t>(offset), SEEK_SET) != static_cast<off_t>(-1);
}

#endif

[[nodiscard]] Result<ByteString> ReadAll(const fs::path& path, std::uintmax_t limit) {
  const os::UniqueHandle file = OpenForReading(path);
  if (!file.valid()) {
    return Failure{messages::CannotOpen(path)};
  }
  ByteString bytes;
  const long long size = KnownSize(file);
  if (size > 0) {
    if (static_cast<std::uintmax_t>(size) > limit) {
      return Failure{messages::OutOfMemory()};
    }
    bytes.reserve(static_cast<std::size_t>(size));
  }
  // Read to the end rather than trusting the size: the file may change.
  // Not cleared: each read fills what is used, and clearing 64 KiB costs
  // more than reading a whole officer file.
  std::array<char, kChunk> buffer;
  for (;;) {
    const long long got = ReadSome(file, buffer.data(), buffer.size());
    if (got < 0) {
      return Failure{messages::ReadErrorIn(path)};
    }
    if (got == 0) {
      return bytes;
    }
    if (bytes.size() + static_cast<std::size_t>(got) > limit) {
      return Failure{messages::OutOfMemory()};
    }
    bytes.append(buffer.data(), static_cast<std::size_t>(got));
  }
}

}  // namespace

Result<ByteString> ReadWholeFile(const fs::path& path, std::uintmax_t limit) {
  try {
    return ReadAll(path, limit);
  } catch (const std::bad_alloc&) {
    return Failure{messages::OutOfMemory()};
  }
}

Result<ByteString> ReadFileRange(const fs::path& path, std::uint64_t offset, std::size_t count) {
  const os::UniqueHandle file = OpenForReading(path);
  if (!file.valid()) {
    return Failure{messages::CannotOpen(path)};
  }
  if (!SeekTo(file, offset)) {
    return Failure{messages::ReadErrorIn(path)};
  }
  try {
    ByteString bytes(count, '\0');
    std::size_t done = 0;
    while (done < count) {
      const long long got = ReadSome(file, bytes.data() + done, std::min(count - done, kChunk));
      if (got <= 0) {
        return Failure{messages::ReadErrorIn(path)};
      }
      done += static_cast<std::size_t>(got);
    }
    return bytes;
  } catch (const std::bad_alloc&) {
    return Failure{messages::OutOfMemory()};
  }
}

}  // namespace k4r
