// Temporary files that killed saves left behind: a successful save removes
// those in its folder that no running save can still own, and nothing else.
#include <gtest/gtest.h>

#include <chrono>
#include <set>
#include <string>

#include "core/FileReplace.h"
#include "support/TempDir.h"

#ifdef _WIN32
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>
#endif

namespace k4r {
namespace {
using testing::FileNamesIn;
using testing::ReadBytes;
using testing::TempDir;
using testing::WriteBytes;
namespace fs = std::filesystem;

void Age(const fs::path& path) {
  fs::last_write_time(path, fs::file_time_type::clock::now() - std::chrono::hours(2));
}

// Holds a file the way a save in progress holds its temporary file.
class HeldBySave {
 public:
#ifdef _WIN32
  explicit HeldBySave(const fs::path& path)
      : handle_(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr)) {}
  ~HeldBySave() {
    CloseHandle(handle_);
  }
  [[nodiscard]] bool held() const {
    return handle_ != INVALID_HANDLE_VALUE;
  }

 private:
  HANDLE handle_;
#else
  explicit HeldBySave(const fs::path& path) : fd_(::open(path.c_str(), O_WRONLY | O_CLOEXEC)) {
    held_ = fd_ >= 0 && ::flock(fd_, LOCK_EX | LOCK_NB) == 0;
  }
  ~HeldBySave() {
    ::close(fd_);
  }
  [[nodiscard]] bool held() const {
    return held_;
  }

 private:
  int fd_;
  bool held_ = false;
#endif
};

// On POSIX a save that finds the folder to itself (no other save holds it)
// knows every unheld leftover for dead; Windows has only the age to go by.
#ifdef _WIN32
constexpr bool kRecentOnesGoAtOnce = false;
#else
constexpr bool kRecentOnesGoAtOnce = true;
#endif

TEST(AbandonedTemporaryFiles, OnlyUnheldOnesOfKilledSavesAreRemoved) {
  TempDir dir;
  const fs::path path = dir / "officer.K4R";
  WriteBytes(path, "old");
  const struct {
    const char* name;
    bool aged;
    bool removed;
  } cases[] = {
      {".officer.K4R.k4r-tmp-Ab3xY9", true, true},                  // abandoned by a killed save
      {".officer.K4R.k4r-tmp-Zz0000", false, kRecentOnesGoAtOnce},  // recent, and no save runs
      {".officer.K4R.k4r-tmp-Held00", true, false},                 // a running save holds it
      {".other.K4R.k4r-tmp-Ab3xY9", true, true},                    // another file's, same folder
      {".officer.K4R.k4r-tmp-Ab3xY", true, false},                  // not a name a save makes
      {".officer.K4R.k4r-tmp-Ab3xY9z", true, false},
      {".officer.K4R.k4r-tmp-Ab-xY9", true, false},
      {"officer.K4R.k4r-tmp-Ab3xY9", true, false},
      {"..k4r-tmp-Ab3xY9", true, false},
  };
  for (const auto& c : cases) {
    WriteBytes(dir / c.name, "partial");
    if (c.aged) {
      Age(dir / c.name);
    }
  }
  fs::create_directory(dir / ".officer.K4R.k4r-tmp-Folder");
  std::error_code ignored;  // a folder's time cannot be set everywhere; it must stay either way
  fs::last_write_time(dir / ".officer.K4R.k4r-tmp-Folder", fs::file_time_type::clock::now() - std::chrono::hours(2),
                      ignored);

  {
    const HeldBySave running(dir / ".officer.K4R.k4r-tmp-Held00");
    ASSERT_TRUE(running.held());
    ASSERT_TRUE(ReplaceFileAtomically(path, "new"));
  }
  EXPECT_EQ(ReadBytes(path), "new");
  const std::set<std::string> left = FileNamesIn(dir.Path());
  for (const auto& c : cases) {
    EXPECT_EQ(left.count(c.name) == 0, c.removed) << c.name;
  }
  EXPECT_EQ(left.count(".officer.K4R.k4r-tmp-Folder"), 1U);

  // Once the save that held it is gone, its file goes with the next save.
  ASSERT_TRUE(ReplaceFileAtomically(path, "newer"));
  EXPECT_EQ(FileNamesIn(dir.Path()).count(".officer.K4R.k4r-tmp-Held00"), 0U);
}

// Another save's group still being written holds the folder: its files, and
// any recent one, may be live, so only the age counts.
TEST(AbandonedTemporaryFiles, ASaveBesideARunningGroupRemovesOnlyOldOnes) {
  TempDir dir;
  WriteBytes(dir / "one.K4R", "old one");
  WriteBytes(dir / "two.K4R", "old two");
  WriteBytes(dir / ".two.K4R.k4r-tmp-Recent", "partial");
  WriteBytes(dir / ".two.K4R.k4r-tmp-Old000", "partial");
  Age(dir / ".two.K4R.k4r-tmp-Old000");
  {
    FileReplaceGroup running;
    ASSERT_TRUE(running.Stage(dir / "one.K4R", "new one"));
    ASSERT_TRUE(ReplaceFileAtomically(dir / "two.K4R", "new two"));
    const std::set<std::string> left = FileNamesIn(dir.Path());
    EXPECT_EQ(left.count(".two.K4R.k4r-tmp-Recent"), 1U);
    EXPECT_EQ(left.count(".two.K4R.k4r-tmp-Old000"), 0U);
    ASSERT_TRUE(running.Commit());
  }
  EXPECT_EQ(ReadBytes(dir / "one.K4R"), "new one");
  EXPECT_EQ(ReadBytes(dir / "two.K4R"), "new two");
}

TEST(AbandonedTemporaryFiles, AFailedSaveRemovesNothing) {
  TempDir dir;
  const fs::path stale = dir / ".officer.K4R.k4r-tmp-Ab3xY9";
  WriteBytes(stale, "partial");
  Age(stale);
  fs::create_directory(dir / "officer.K4R");  // a folder cannot be replaced
  ASSERT_FALSE(ReplaceFileAtomically(dir / "officer.K4R", "new"));
  EXPECT_TRUE(fs::exists(stale));
}

}  // namespace
}  // namespace k4r
