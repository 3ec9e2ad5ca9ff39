#include <gtest/gtest.h>
#ifndef _WIN32
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

#include <csignal>
#include <set>
#include <vector>

#include "core/FileReplace.h"
#include "core/Messages.h"
#ifndef _WIN32
#include "support/ChildProcess.h"
#endif
#include "support/TempDir.h"

namespace k4r {
namespace {
using testing::FileNamesIn;
using testing::ReadBytes;
using testing::TempDir;
using testing::WriteBytes;
namespace fs = std::filesystem;

TEST(ReplaceFileAtomically, CreatesOrReplacesAndLeavesNoTemporaryFile) {
  TempDir dir;
  const fs::path path = dir / "officer.K4R";
  const ByteString contents[] = {"first", ByteString("sec\0nd", 6), "", ByteString(100'000, 'z')};
  for (const ByteString& content : contents) {
    SCOPED_TRACE(std::to_string(content.size()) + " bytes");
    ASSERT_TRUE(ReplaceFileAtomically(path, content));
    EXPECT_TRUE(ReadBytes(path) == content) << content.size() << " bytes";
    EXPECT_EQ(FileNamesIn(dir.Path()), std::set<std::string>{"officer.K4R"});
  }
}

// Permission bits and symbolic links are POSIX matters.
#ifndef _WIN32
mode_t ModeOf(const fs::path& path) {
  struct stat info {};
  EXPECT_EQ(::stat(path.c_str(), &info), 0) << path;
  return info.st_mode & 07777;
}

TEST(ReplaceFileAtomically, KeepsPermissionBitsAndGivesNewFilesTheUsualOnes) {
  TempDir dir;
  for (const mode_t mode : {mode_t{0640}, mode_t{0600}, mode_t{0755}, mode_t{0604}}) {
    SCOPED_TRACE(::testing::Message() << "mode " << std::oct << mode);
    const fs::path path = dir / ("m" + std::to_string(mode));
    WriteBytes(path, "old");
    ASSERT_EQ(::chmod(path.c_str(), mode), 0);
    ASSERT_TRUE(ReplaceFileAtomically(path, "new"));
    EXPECT_EQ(ModeOf(path), mode) << std::oct << mode;
  }
  const mode_t mask = ::umask(022);
  ::umask(mask);
  ASSERT_TRUE(ReplaceFileAtomically(dir / "fresh", "new"));
  EXPECT_EQ(ModeOf(dir / "fresh"), 0666 & ~mask);
}

TEST(ReplaceFileAtomically, FollowsSymbolicLinksAndKeepsThem) {
  TempDir dir;
  fs::create_directory(dir / "real");
  WriteBytes(dir / "real" / "target.K4R", "old");
  struct Case {
    std::string link;
    fs::path pointsTo;
  };
  const Case cases[] = {
      {"absolute.K4R", dir / "real" / "target.K4R"},
      {"relative.K4R", fs::path("real") / "target.K4R"},
      {"chain.K4R", "absolute.K4R"},
  };
  int round = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.link);
    fs::create_symlink(c.pointsTo, dir / c.link);
    const ByteString content = "new content " + std::to_string(++round);
    ASSERT_TRUE(ReplaceFileAtomically(dir / c.link, content)) << c.link;
    EXPECT_TRUE(fs::is_symlink(dir / c.link)) << c.link;
    EXPECT_EQ(fs::read_symlink(dir / c.link), c.pointsTo);
    EXPECT_EQ(ReadBytes(dir / "real" / "target.K4R"), content) << c.link;
  }
  EXPECT_EQ(FileNamesIn(dir / "real"), std::set<std::string>{"target.K4R"});

  // A link to a file that does not exist yet creates that file.
  fs::create_symlink("real/later.K4R", dir / "dangling.K4R");
  ASSERT_TRUE(ReplaceFileAtomically(dir / "dangling.K4R", "made"));
  EXPECT_TRUE(fs::is_symlink(dir / "dangling.K4R"));
  EXPECT_EQ(ReadBytes(dir / "real" / "later.K4R"), "made");
}
#endif  // _WIN32

TEST(ReplaceFileAtomically, RefusesWhatItCannotCreate) {
  TempDir dir;
  fs::create_directory(dir / "folder.K4R");
  std::vector<fs::path> paths = {dir / "missing" / "officer.K4R", dir / "folder.K4R"};
#ifndef _WIN32
  fs::create_symlink("loop.K4R", dir / "loop.K4R");
  paths.push_back(dir / "loop.K4R");
#endif
  for (const fs::path& path : paths) {
    SCOPED_TRACE(path.string());
    const Status status = ReplaceFileAtomically(path, "bytes");
    ASSERT_FALSE(status) << path;
    EXPECT_EQ(status.failure().message, messages::CannotCreate(path));
  }
  EXPECT_FALSE(fs::exists(dir / "missing"));
#ifndef _WIN32
  EXPECT_EQ(FileNamesIn(dir.Path()), (std::set<std::string>{"folder.K4R", "loop.K4R"}));
#else
  EXPECT_EQ(FileNamesIn(dir.Path()), (std::set<std::string>{"folder.K4R"}));
#endif
}

TEST(ReplaceFileAtomically, HandlesNamesNearTheLengthLimit) {
  TempDir dir;
  const fs::path path = dir / (std::string(250, 'n') + ".K4R");
  ASSERT_TRUE(ReplaceFileAtomically(path, "long"));
  EXPECT_EQ(ReadBytes(path), "long");
  EXPECT_EQ(FileNamesIn(dir.Path()).size(), 1U);
}

#ifndef _WIN32
// A write that breaks off part-way: the file-size limit stops the temporary
// file after 100 bytes (SIGXFSZ ignored, so write() fails with EFBIG).
TEST(ReplaceFileAtomically, AFailedWriteKeepsTheOldFileAndRemovesTheTemporaryOne) {
  TempDir dir;
  const fs::path path = dir / "officer.K4R";
  const ByteString old(50, 'o');
  WriteBytes(path, old);
  const auto message = testing::RunInChild([&] {
    std::signal(SIGXFSZ, SIG_IGN);
    const rlimit limit{100, 100};
    if (::setrlimit(RLIMIT_FSIZE, &limit) != 0) {
      return std::string("no limit");
    }
    const Status status = ReplaceFileAtomically(path, ByteString(300, 'n'));
    return status ? std::string("written") : status.failure().message;
  });
  ASSERT_TRUE(message.has_value());
  EXPECT_EQ(*message, messages::WriteError());
  EXPECT_EQ(ReadBytes(path), old);
  EXPECT_EQ(FileNamesIn(dir.Path()), std::set<std::string>{"officer.K4R"});
}

// Runs as user "nobody" when the tests run as root, since root writes
// whatever the permission bits say.
TEST(ReplaceFileAtomically, ReadOnlyFileOrFolderIsRefusedAndLeftAlone) {
  struct Case {
    const char* name;
    mode_t fileMode;
    mode_t folderMode;
  };
  const Case cases[] = {{"read-only file", 0444, 0755}, {"read-only folder", 0644, 0555}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TempDir dir;
    const fs::path folder = dir / "work";
    const fs::path path = folder / "officer.K4R";
    fs::create_directory(folder);
    WriteBytes(path, "old");
    ASSERT_TRUE(testing::HandToUnprivilegedUser(folder.string()));
    ASSERT_TRUE(testing::HandToUnprivilegedUser(path.string()));
    ASSERT_EQ(::chmod(path.c_str(), c.fileMode), 0);
    ASSERT_EQ(::chmod(folder.c_str(), c.folderMode), 0);
    const auto message = testing::RunInChild([&]() -> std::string {
      if (!testing::DropRootRights()) {
        return "cannot drop root rights";
      }
      // The file is the thing marked read-only in one case, the folder in the other.
      const fs::path& locked = c.folderMode == 0555 ? folder : path;
      if (::access(locked.c_str(), W_OK) == 0) {
        return "still writable";
      }
      const Status status = ReplaceFileAtomically(path, "new");
      return status ? "written" : status.failure().message;
    });
    ASSERT_TRUE(message.has_value()) << c.name;
    if (*message == "cannot drop root rights" || *message == "still writable") {
      GTEST_SKIP() << c.name << ": " << *message << "; permission bits do not stop this user here";
    }
    EXPECT_EQ(*message, messages::CannotCreate(path)) << c.name;
    EXPECT_EQ(ReadBytes(path), "old") << c.name;
    EXPECT_EQ(ModeOf(path), c.fileMode) << c.name;
    EXPECT_EQ(FileNamesIn(folder), std::set<std::string>{"officer.K4R"}) << c.name;
  }
}
#endif  // _WIN32

}  // namespace
}  // namespace k4r
