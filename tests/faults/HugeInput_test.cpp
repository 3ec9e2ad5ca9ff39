// Inputs far larger than anything the editor expects: sparse files of many
// gigabytes (they take no disk room) and endless devices. Each is answered
// with a clear failure, quickly, without taking much memory, and without
// harm to the file. Each case runs in a child process, whose peak memory is
// measured around it.
#ifndef _WIN32

#include <gtest/gtest.h>
#include <unistd.h>

#include <ctime>
#include <functional>
#include <sstream>

#include "core/FaceArchive.h"
#include "core/FileRead.h"
#include "core/Messages.h"
#include "core/NameList.h"
#include "core/OfficerFile.h"
#include "core/Settings.h"
#include "faults/FaultTools.h"
#include "support/ChildProcess.h"
#include "support/TempDir.h"

namespace k4r {
namespace {
using testing::ReadBytes;
using testing::TempDir;
using testing::WriteBytes;
namespace fs = std::filesystem;

constexpr std::uintmax_t kGiB = std::uintmax_t{1} << 30;

// A file of `size` bytes that holds `head` at its start and zeros (holes)
// after it. False when this file system cannot hold such a file.
bool MakeSparse(const fs::path& path, std::uintmax_t size, ByteView head = {}) {
  WriteBytes(path, head);
  std::error_code error;
  fs::resize_file(path, size, error);
  return !error && fs::file_size(path, error) == size;
}

struct Measured {
  std::string outcome;  // what the case reports; "" on a crash of the child
  long extraKiB = 0;    // memory the case added to the child's peak
  double seconds = 0;   // processor time: a busy machine stretches the wall clock, not this
};

Measured Measure(const std::function<std::string()>& work) {
  const std::optional<std::string> text = testing::RunInChild([&] {
    const long before = testing::PeakResidentKiB();
    const std::clock_t started = std::clock();
    const std::string outcome = work();
    const double took = static_cast<double>(std::clock() - started) / CLOCKS_PER_SEC;
    std::ostringstream out;
    out << testing::PeakResidentKiB() - before << ' ' << took << ' ' << outcome;
    return out.str();
  });
  Measured measured;
  if (text) {
    std::istringstream in(*text);
    in >> measured.extraKiB >> measured.seconds;
    in.get();
    std::getline(in, measured.outcome, '\0');
  }
  return measured;
}

// Far below the sizes involved: nothing is read whole.
constexpr long kMemoryBoundKiB = 64 * 1024;
constexpr double kTimeBoundSeconds = 10;

TEST(HugeInput, A100GigabyteOfficerFileIsRefusedAsTooLarge) {
  TempDir dir;
  const fs::path path = dir / "huge.K4R";
  if (!MakeSparse(path, 100 * kGiB, ByteString(267, 'x'))) {
    GTEST_SKIP() << "this file system holds no sparse 100 GB file";
  }
  const Measured measured = Measure([&] {
    BushouFile file;
    OfficerForm form = StartForm({});
    const OfficerForm before = form;
    const Status loaded = LoadOfficerFile(path, file, form, {}, {}, {});
    const bool untouched = file.image.empty() && file.path.empty() && form == before;
    return (loaded ? std::string("loaded") : loaded.failure().message) + (untouched ? "" : " (state changed)");
  });
  EXPECT_EQ(measured.outcome, messages::OutOfMemory());
  EXPECT_LT(measured.extraKiB, kMemoryBoundKiB);
  EXPECT_LT(measured.seconds, kTimeBoundSeconds);
  EXPECT_EQ(fs::file_size(path), 100 * kGiB);
}

TEST(HugeInput, MultiGigabyteAndEndlessNameListsAreUnreadable) {
  TempDir dir;
  const fs::path sparse = dir / kOfficerListFile;
  if (!MakeSparse(sparse, 6 * kGiB, "（なし）\r\n")) {
    GTEST_SKIP() << "this file system holds no sparse 6 GB file";
  }
  for (const fs::path& path : {sparse, fs::path("/dev/zero")}) {
    SCOPED_TRACE(path);
    if (!fs::exists(path)) {
      continue;
    }
    const Measured measured = Measure([&] {
      const NameListLoad load = LoadNameList(path);
      const bool unreadable = load.outcome == NameListLoad::Outcome::Unreadable && load.entries.empty();
      return (unreadable ? "" : "not unreadable: ") + load.failure.message;
    });
    EXPECT_EQ(measured.outcome, messages::OutOfMemory());
    // The endless device is read up to the name list limit before it is refused.
    EXPECT_LT(measured.extraKiB, 3 * kMemoryBoundKiB);
    EXPECT_LT(measured.seconds, kTimeBoundSeconds);
  }
}

TEST(HugeInput, AMultiGigabyteSettingsFileGivesDefaultsAndIsNotRewritten) {
  TempDir dir;
  const fs::path ini = dir / "k4r.ini";
  if (!MakeSparse(ini, 5 * kGiB, "[Win]\r\nTop=7\r\n")) {
    GTEST_SKIP() << "this file system holds no sparse 5 GB file";
  }
  const Measured measured = Measure([&] {
    const bool defaults = LoadSettings(ini) == Settings{};
    const Status saved = SaveWindowPos(ini, 1, 2);
    return std::string(defaults ? "defaults" : "not defaults") + "|" +
           (saved ? std::string("saved") : saved.failure().message);
  });
  EXPECT_EQ(measured.outcome, "defaults|" + messages::CannotWriteSettings(ini));
  EXPECT_LT(measured.extraKiB, kMemoryBoundKiB);
  EXPECT_LT(measured.seconds, kTimeBoundSeconds);
  EXPECT_EQ(fs::file_size(ini), 5 * kGiB);
  EXPECT_EQ(ReadFileRange(ini, 0, 14).value(), "[Win]\r\nTop=7\r\n");
}

// Image offsets near the top of the signed 32-bit range, in a file that is
// really that long: the images inside are read, the ones that run past the
// end are not.
TEST(HugeInput, FaceImagesNearTwoGigabytesAreReadOnlyWhenInside) {
  TempDir dir;
  const fs::path path = dir / "KAO_M.VX9";
  const std::int64_t size = std::int64_t{INT32_MAX} + 100;
  const std::int32_t inside = INT32_MAX - static_cast<std::int32_t>(face_file::kImageSize) + 100;
  const std::int32_t pastTheEnd = inside + 1;
  ByteString table(static_cast<std::size_t>(face_file::kTableEnd), '\0');
  const std::int32_t offsets[] = {inside, pastTheEnd, INT32_MAX, INT32_MIN, -1};
  for (std::size_t face = 0; face < std::size(offsets); ++face) {
    const auto value = static_cast<std::uint32_t>(offsets[face]);
    for (std::size_t i = 0; i < 4; ++i) {
      table[static_cast<std::size_t>(face_file::kTableOffset) + face_file::kTableStride * face + i] =
          static_cast<char>((value >> (8 * i)) & 0xFF);
    }
  }
  if (!MakeSparse(path, static_cast<std::uintmax_t>(size), table)) {
    GTEST_SKIP() << "this file system holds no sparse 2 GB file";
  }
  const Measured measured = Measure([&] {
    FaceArchive archive;
    if (!archive.LoadOffsetTable(path)) {
      return std::string("no table");
    }
    std::string outcome;
    for (int face = 0; face < static_cast<int>(std::size(offsets)); ++face) {
      const Result<FacePortrait> portrait = archive.ReadPortrait(face);
      outcome += portrait ? "read " : portrait.failure().message + " ";
    }
    return outcome;
  });
  const std::string failed = messages::ReadErrorIn(path) + " ";
  EXPECT_EQ(measured.outcome, "read " + failed + failed + failed + failed);
  EXPECT_LT(measured.extraKiB, kMemoryBoundKiB);
  EXPECT_LT(measured.seconds, kTimeBoundSeconds);
}

}  // namespace
}  // namespace k4r

#endif
