// The order in which a save reaches the disk, read off the system calls of a
// real `k4r set` under strace: the new content is flushed before the rename
// puts it in place, and the folder is flushed after it, so that a crash at any
// moment leaves either the old or the new file, whole. A batch flushes every
// new file before the first rename and each folder after the last.

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <fstream>
#include <map>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "support/TempDir.h"

namespace k4r {
namespace {
using testing::TempDir;
using testing::WriteBytes;

struct SaveCalls {
  int tempFlushedAt = -1;    // fsync/fdatasync of the temporary file's descriptor
  int renamedAt = -1;        // the rename of the temporary file over the target
  int folderFlushedAt = -1;  // fsync of a descriptor opened on the target's folder
};

// strace -f prints "PID syscall(args) = result"; only the calls named in
// -e trace=... appear, in the order they returned.
SaveCalls ReadCalls(const std::string& trace, const std::string& folder, const std::string& target) {
  const std::regex openCall(R"re(openat\(AT_FDCWD, "([^"]*)", ([^)]*)\)\s*= (\d+))re");
  const std::regex flushCall(R"re((?:fsync|fdatasync)\((\d+)\)\s*= 0)re");
  const std::regex renameCall(R"re(rename(?:at2?)?\((?:AT_FDCWD, )?"([^"]*)", (?:AT_FDCWD, )?"([^"]*)")re");
  std::map<std::string, std::string> pathOfDescriptor;
  std::string tempPath;
  SaveCalls calls;
  std::istringstream lines(trace);
  std::string line;
  for (int index = 0; std::getline(lines, line); ++index) {
    std::smatch match;
    if (std::regex_search(line, match, openCall)) {
      pathOfDescriptor[match[3]] = match[1];
      if (match[1].str().find(".k4r-tmp-") != std::string::npos) {
        tempPath = match[1];
      }
    } else if (std::regex_search(line, match, flushCall)) {
      const std::string& path = pathOfDescriptor[match[1]];
      if (!tempPath.empty() && path == tempPath && calls.tempFlushedAt < 0) {
        calls.tempFlushedAt = index;
      } else if (path == folder && calls.renamedAt >= 0) {
        calls.folderFlushedAt = index;
      }
    } else if (std::regex_search(line, match, renameCall)) {
      if (match[1] == tempPath && match[2] == target) {
        calls.renamedAt = index;
      }
    }
  }
  return calls;
}

TEST(SaveDurability, ContentFlushedBeforeTheRenameAndTheFolderAfterIt) {
  if (std::system("strace -V >/dev/null 2>&1") != 0) {
    GTEST_SKIP() << "strace is not installed (scripts/install-deps installs it)";
  }
  TempDir dir;
  const std::string folder = dir.Path().string();
  const std::string target = (dir / "OFFICER.K4R").string();
  WriteBytes(target, ByteString(300, '\0'));
  const std::string trace = (dir / "trace").string();
  const std::string command = "strace -f -qq -o '" + trace +
                              "' -e trace=openat,fsync,fdatasync,rename,renameat,renameat2 "
                              "env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "
                              // LeakSanitizer cannot run under ptrace.
                              "ASAN_OPTIONS=\"${ASAN_OPTIONS:-}:detect_leaks=0\" '" K4R_BIN_DIR "/k4r' set '" +
                              target + "' seiji=99 >/dev/null 2>&1";
  const int status = std::system(command.c_str());
  ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << command;

  std::ifstream traceFile(trace);
  const std::string calls((std::istreambuf_iterator<char>(traceFile)), std::istreambuf_iterator<char>());
  const SaveCalls save = ReadCalls(calls, folder, target);
  ASSERT_GE(save.renamedAt, 0) << "no rename of a temporary file over the target:\n" << calls;
  EXPECT_GE(save.tempFlushedAt, 0) << "the temporary file was never flushed:\n" << calls;
  EXPECT_LT(save.tempFlushedAt, save.renamedAt) << calls;
  EXPECT_GT(save.folderFlushedAt, save.renamedAt) << "the folder was not flushed after the rename:\n" << calls;
}

// A batch's calls: when each temporary file was opened and flushed, when the
// folder's file system was flushed as a whole (syncfs), the renames, and the
// folder's flush after the last of them.
struct BatchCalls {
  std::map<std::string, int> tempOpenedAt;
  std::map<std::string, int> tempFlushedAt;
  int fileSystemFlushedAt = -1;
  int firstRenameAt = -1;
  int lastRenameAt = -1;
  int folderFlushedAfterRenamesAt = -1;
  std::vector<std::string> renamedTemps;
};

BatchCalls ReadBatchCalls(const std::string& trace, const std::string& folder) {
  const std::regex openCall(R"re(openat\(AT_FDCWD, "([^"]*)", ([^)]*)\)\s*= (\d+))re");
  const std::regex flushCall(R"re((fsync|fdatasync|syncfs)\((\d+)\)\s*= 0)re");
  const std::regex renameCall(R"re(rename(?:at2?)?\((?:AT_FDCWD, )?"([^"]*)", (?:AT_FDCWD, )?"([^"]*)"[^=]*= 0)re");
  std::map<std::string, std::string> pathOfDescriptor;
  BatchCalls calls;
  std::istringstream lines(trace);
  std::string line;
  for (int index = 0; std::getline(lines, line); ++index) {
    std::smatch match;
    if (std::regex_search(line, match, openCall)) {
      pathOfDescriptor[match[3]] = match[1];
      calls.tempOpenedAt.emplace(match[1], index);
    } else if (std::regex_search(line, match, flushCall)) {
      const std::string& path = pathOfDescriptor[match[2]];
      if (match[1] == "syncfs" && path == folder && calls.firstRenameAt < 0) {
        calls.fileSystemFlushedAt = index;
      } else if (path == folder && calls.lastRenameAt >= 0) {
        calls.folderFlushedAfterRenamesAt = index;
      } else if (path.find(".k4r-tmp-") != std::string::npos) {
        calls.tempFlushedAt.emplace(path, index);
      }
    } else if (std::regex_search(line, match, renameCall) && match[1].str().find(".k4r-tmp-") != std::string::npos) {
      calls.firstRenameAt = calls.firstRenameAt < 0 ? index : calls.firstRenameAt;
      calls.lastRenameAt = index;
      calls.renamedTemps.push_back(match[1]);
    }
  }
  return calls;
}

TEST(SaveDurability, ABatchFlushesEveryNewFileBeforeTheFirstRenameAndTheFolderAfterTheLast) {
  if (std::system("strace -V >/dev/null 2>&1") != 0) {
    GTEST_SKIP() << "strace is not installed (scripts/install-deps installs it)";
  }
  TempDir dir;
  const std::string folder = dir.Path().string();
  std::string table = "file,seiji\n";
  for (const char* name : {"A.K4R", "B.K4R", "C.K4R"}) {
    WriteBytes(dir / name, ByteString(300, '\0'));
    table += std::string(name) + ",77\n";
  }
  WriteBytes(dir / "table.csv", table);
  const std::string trace = (dir / "trace").string();
  const std::string command = "strace -f -qq -o '" + trace +
                              "' -e trace=openat,fsync,fdatasync,syncfs,rename,renameat,renameat2 "
                              "env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "
                              "ASAN_OPTIONS=\"${ASAN_OPTIONS:-}:detect_leaks=0\" '" K4R_BIN_DIR
                              "/k4r' set --from-csv '" +
                              (dir / "table.csv").string() + "' >/dev/null 2>&1";
  const int status = std::system(command.c_str());
  ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << command;

  std::ifstream traceFile(trace);
  const std::string text((std::istreambuf_iterator<char>(traceFile)), std::istreambuf_iterator<char>());
  const BatchCalls calls = ReadBatchCalls(text, folder);
  ASSERT_EQ(calls.renamedTemps.size(), 3U) << text;
  for (const std::string& temp : calls.renamedTemps) {
    const auto flushed = calls.tempFlushedAt.find(temp);
    const bool ownFlush = flushed != calls.tempFlushedAt.end() && flushed->second < calls.firstRenameAt;
    const bool sharedFlush = calls.fileSystemFlushedAt > calls.tempOpenedAt.at(temp);
    EXPECT_TRUE(ownFlush || sharedFlush) << temp << " was not flushed before the first rename:\n" << text;
  }
  EXPECT_GT(calls.folderFlushedAfterRenamesAt, calls.lastRenameAt) << "the folder was not flushed:\n" << text;
}

}  // namespace
}  // namespace k4r
