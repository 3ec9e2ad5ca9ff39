// A saving process killed with SIGKILL at random moments: afterwards the file
// holds the old or the new content, never a mix and never nothing, and the
// temporary files that killed saves leave behind never stop a later save.
#ifndef _WIN32

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <iostream>
#include <random>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "core/FileReplace.h"
#include "faults/FaultTools.h"
#include "support/TempDir.h"

namespace k4r {
namespace {
using testing::FileNamesIn;
using testing::ReadBytes;
using testing::TempDir;
using testing::WriteBytes;
namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

constexpr int kTrials = 200;
// A busy machine can delay the children so much that the first trials tell
// nothing; the test goes on, with longer delays, until they do.
constexpr int kMostTrials = 2000;
constexpr int kTrialsPerWidening = 50;
constexpr long kLongestDelayEverMicroseconds = 1'000'000;

// Two contents that differ in every byte and in length, large enough that
// writing one takes many steps.
ByteString Content(char first, std::size_t size) {
  ByteString content(size, '\0');
  for (std::size_t i = 0; i < size; ++i) {
    content[i] = static_cast<char>(first + static_cast<char>(i % 7));
  }
  return content;
}

// Says over `ready` that it runs, then saves the other content over and over
// until killed.
[[noreturn]] void SaveForever(int ready, const fs::path& path, const ByteString& first, const ByteString& second) {
  if (::write(ready, "r", 1) != 1) {
    ::_exit(4);
  }
  for (std::size_t round = 0;; ++round) {
    if (!ReplaceFileAtomically(path, round % 2 == 0 ? second : first)) {
      ::_exit(3);
    }
  }
}

TEST(KilledSave, TheFileIsAlwaysWholeAndLeftoversNeverBlockTheNextSave) {
  TempDir dir;
  const fs::path path = dir / "officer.K4R";
  const ByteString old = Content('a', 400'000);
  const ByteString fresh = Content('K', 250'000);
  WriteBytes(path, old);

  // How long one save takes here, so that the kills land before, inside and
  // after the first save of each child.
  const Clock::time_point started = Clock::now();
  for (int i = 0; i < 4; ++i) {
    ASSERT_TRUE(ReplaceFileAtomically(path, i % 2 == 0 ? fresh : old));
  }
  const auto saveTime = std::chrono::duration_cast<std::chrono::microseconds>(Clock::now() - started) / 4;
  const unsigned seed = std::random_device{}();
  std::mt19937 random(seed);
  long longestDelay = 3 * saveTime.count() + 200;

  int holdsOld = 0, holdsNew = 0, lost = 0, killedMidSave = 0, trials = 0;
  for (; trials < kMostTrials && (trials < kTrials || holdsNew == 0 || killedMidSave == 0); ++trials) {
    const int trial = trials;
    if (trial > 0 && trial % kTrialsPerWidening == 0 && (holdsNew == 0 || killedMidSave == 0)) {
      longestDelay = std::min(2 * longestDelay, kLongestDelayEverMicroseconds);
    }
    const std::set<std::string> before = FileNamesIn(dir.Path());
    const ByteString expectedOld = ReadBytes(path);
    int ready[2];
    ASSERT_EQ(::pipe(ready), 0);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      ::close(ready[0]);
      SaveForever(ready[1], path, expectedOld, expectedOld == old ? fresh : old);
    }
    ::close(ready[1]);
    // The delay starts once the child runs: starting it is no part of a save.
    char byte = 0;
    const bool running = ::read(ready[0], &byte, 1) == 1;
    ::close(ready[0]);
    if (running) {
      std::this_thread::sleep_for(
          std::chrono::microseconds(std::uniform_int_distribution<long>(0, longestDelay)(random)));
    }
    ::kill(child, SIGKILL);
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFSIGNALED(status)) << "the saving child stopped by itself: " << status;

    const ByteString now = ReadBytes(path);
    if (now == old || now == fresh) {
      (now == expectedOld ? holdsOld : holdsNew) += 1;
    } else {
      ++lost;
      ADD_FAILURE() << "trial " << trial << " (seed " << seed << "): the file holds " << now.size()
                    << " bytes that are neither content";
    }
    killedMidSave += FileNamesIn(dir.Path()).size() > before.size() ? 1 : 0;
  }
  const std::size_t leftovers = FileNamesIn(dir.Path()).size() - 1;
  std::cout << "[ FAULTS   ] SIGKILL during saves: " << trials << " trials, " << holdsOld << " old, " << holdsNew
            << " new, " << killedMidSave << " killed inside a save, " << lost << " files lost, " << leftovers
            << " temporary files left (seed " << seed << ", one save " << saveTime.count() << " us, delays up to "
            << longestDelay << " us)\n";
  EXPECT_EQ(lost, 0);
  EXPECT_GT(holdsNew, 0) << "no child ever finished a save: the kills came too early to tell anything";
  EXPECT_GT(killedMidSave, 0) << "no kill landed inside a save";

  // The leftovers do not stop the next save, which, running alone in the
  // folder, knows them all for dead and removes them at once, however recent.
  ASSERT_TRUE(ReplaceFileAtomically(path, old));
  EXPECT_EQ(FileNamesIn(dir.Path()), std::set<std::string>{"officer.K4R"});
  EXPECT_EQ(ReadBytes(path), old);
}

// A batch of files saved together, killed at random moments: each file is
// old or new, whole, and the next batch goes through.
TEST(KilledSave, EachFileOfAKilledBatchIsWhole) {
  TempDir dir;
  constexpr int kFiles = 12;
  constexpr int kBatchTrials = 60;
  const ByteString old = Content('a', 40'000);
  const ByteString fresh = Content('K', 25'000);
  std::vector<fs::path> paths;
  for (int i = 0; i < kFiles; ++i) {
    paths.push_back(dir / ("officer" + std::to_string(i) + ".K4R"));
    WriteBytes(paths.back(), old);
  }
  const auto saveAll = [&paths](const ByteString& content) {
    FileReplaceGroup group;
    for (const fs::path& path : paths) {
      if (!group.Stage(path, content)) {
        return false;
      }
    }
    return static_cast<bool>(group.Commit());
  };
  const Clock::time_point started = Clock::now();
  ASSERT_TRUE(saveAll(old));
  const long batchMicroseconds =
      std::chrono::duration_cast<std::chrono::microseconds>(Clock::now() - started).count() + 100;
  const unsigned seed = std::random_device{}();
  std::mt19937 random(seed);
  int torn = 0, mixed = 0;
  for (int trial = 0; trial < kBatchTrials; ++trial) {
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      ::_exit(saveAll(trial % 2 == 0 ? fresh : old) ? 0 : 3);
    }
    std::this_thread::sleep_for(
        std::chrono::microseconds(std::uniform_int_distribution<long>(0, 2 * batchMicroseconds)(random)));
    ::kill(child, SIGKILL);
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    std::set<std::size_t> sizes;
    for (const fs::path& path : paths) {
      const ByteString now = ReadBytes(path);
      torn += now == old || now == fresh ? 0 : 1;
      sizes.insert(now.size());
    }
    mixed += sizes.size() > 1 ? 1 : 0;
  }
  std::cout << "[ FAULTS   ] SIGKILL during batches: " << kBatchTrials << " trials, " << mixed
            << " killed among the renames (seed " << seed << ")\n";
  EXPECT_EQ(torn, 0) << "seed " << seed;
  ASSERT_TRUE(saveAll(fresh));
  for (const fs::path& path : paths) {
    EXPECT_EQ(ReadBytes(path), fresh);
  }
  EXPECT_EQ(FileNamesIn(dir.Path()).size(), static_cast<std::size_t>(kFiles)) << "leftovers were not removed";
}

}  // namespace
}  // namespace k4r

#endif
