#include <gtest/gtest.h>
#ifndef _WIN32
#include <sys/stat.h>
#include <unistd.h>
#endif

#include <random>

#include "core/FileRead.h"
#include "core/Messages.h"
#ifndef _WIN32
#include "support/ChildProcess.h"
#endif
#include "support/TempDir.h"

namespace k4r {
namespace {
using testing::TempDir;
using testing::WriteBytes;
namespace fs = std::filesystem;

ByteString RandomBytes(std::size_t size, unsigned seed) {
  std::mt19937 random(seed);
  ByteString bytes(size, '\0');
  for (char& byte : bytes) {
    byte = static_cast<char>(random() & 0xFF);
  }
  return bytes;
}

TEST(ReadWholeFile, ReadsEveryByte) {
  TempDir dir;
  for (const std::size_t size : {std::size_t{0}, std::size_t{1}, std::size_t{267}, std::size_t{200'001}}) {
    const ByteString content = RandomBytes(size, static_cast<unsigned>(size));
    WriteBytes(dir / "file.K4R", content);
    const Result<ByteString> read = ReadWholeFile(dir / "file.K4R");
    ASSERT_TRUE(read) << read.failure().message;
    EXPECT_EQ(read.value(), content) << size;
  }
}

TEST(ReadWholeFile, ReportsWhatCannotBeRead) {
  TempDir dir;
  WriteBytes(dir / "hundred", ByteString(100, 'x'));
  fs::create_directory(dir / "folder.K4R");
  struct Case {
    fs::path path;
    std::uintmax_t limit;
    std::string message;
  };
  const Case cases[] = {
      {dir / "missing.K4R", kDefaultReadLimit, messages::CannotOpen(dir / "missing.K4R")},
      {dir / "folder.K4R", kDefaultReadLimit, messages::CannotOpen(dir / "folder.K4R")},
      {dir / "hundred", 99, messages::OutOfMemory()},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.path.string() + ", limit " + std::to_string(c.limit));
    const Result<ByteString> read = ReadWholeFile(c.path, c.limit);
    ASSERT_FALSE(read) << c.path;
    EXPECT_EQ(read.failure().message, c.message);
  }
  EXPECT_TRUE(ReadWholeFile(dir / "hundred", 100));
}

// Permissions, named pipes and the unprivileged user are POSIX matters.
#ifndef _WIN32
TEST(ReadWholeFile, AnUnreadableFileCannotBeOpened) {
  TempDir dir;
  const fs::path path = dir / "secret.K4R";
  WriteBytes(path, "abc");
  ::chmod(path.c_str(), 0200);
  ASSERT_TRUE(testing::HandToUnprivilegedUser(path.string()));
  const auto message = testing::RunInChild([&]() -> std::string {
    if (!testing::DropRootRights()) {
      return "cannot drop root rights";
    }
    if (::access(path.c_str(), R_OK) == 0) {
      return "readable anyway";
    }
    const Result<ByteString> read = ReadWholeFile(path);
    return read ? "read" : read.failure().message;
  });
  ASSERT_TRUE(message.has_value());
  if (*message == "cannot drop root rights" || *message == "readable anyway") {
    GTEST_SKIP() << *message << ": permission bits do not stop this user here";
  }
  EXPECT_EQ(*message, messages::CannotOpen(path));
}

TEST(ReadWholeFile, ANamedPipeWithoutWriterDoesNotHang) {
  TempDir dir;
  const fs::path pipe = dir / "pipe.K4R";
  ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
  const Result<ByteString> read = ReadWholeFile(pipe);
  ASSERT_TRUE(read);
  EXPECT_EQ(read.value(), "");
}
#endif  // _WIN32

TEST(ReadFileRange, ReadsExactlyTheRangeOrFails) {
  TempDir dir;
  const fs::path path = dir / "faces";
  WriteBytes(path, "0123456789");
  struct Case {
    std::uint64_t offset;
    std::size_t count;
    std::optional<ByteString> expected;
  };
  const Case cases[] = {
      {0, 10, "0123456789"}, {3, 4, "3456"}, {10, 0, ""}, {7, 4, std::nullopt}, {100, 1, std::nullopt},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE("offset " + std::to_string(c.offset) + ", count " + std::to_string(c.count));
    const Result<ByteString> read = ReadFileRange(path, c.offset, c.count);
    if (c.expected) {
      ASSERT_TRUE(read) << c.offset;
      EXPECT_EQ(read.value(), *c.expected);
    } else {
      ASSERT_FALSE(read) << c.offset;
      EXPECT_EQ(read.failure().message, messages::ReadErrorIn(path));
    }
  }
  const Result<ByteString> missing = ReadFileRange(dir / "none", 0, 1);
  ASSERT_FALSE(missing);
  EXPECT_EQ(missing.failure().message, messages::CannotOpen(dir / "none"));
}

}  // namespace
}  // namespace k4r
