// Saves that meet real faults: a file-size limit, a read-only folder, a
// read-only target, a file system that is full and memory that runs out. Each runs in a child
// process (limits, identities and mounts stay there), as the unprivileged
// user "nobody" where permissions are concerned (and as root for a target
// without any write permission bit). After the failure the file
// on disk and the editor's image are as before, nothing is left beside the
// file, and once the fault is gone the next save works.
#ifndef _WIN32

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>
#include <sstream>

#include "core/FileReplace.h"
#include "core/Messages.h"
#include "core/OfficerFile.h"
#include "core/Settings.h"
#include "faults/FaultTools.h"
#include "support/ChildProcess.h"
#include "support/TempDir.h"

namespace k4r {
namespace {
using testing::FileNamesIn;
using testing::ReadBytes;
using testing::TempDir;
using testing::WriteBytes;
namespace fs = std::filesystem;

// kReadOnlyTargetAsRoot: a target without any write permission bit, saved
// by root, whom the permission bits themselves never stop.
enum class Fault { kFileSizeLimit, kReadOnlyFolder, kReadOnlyTarget, kReadOnlyTargetAsRoot, kFullFileSystem };

const char* NameOf(Fault fault) {
  switch (fault) {
    case Fault::kFileSizeLimit: return "file-size limit";
    case Fault::kReadOnlyFolder: return "read-only folder";
    case Fault::kReadOnlyTarget: return "read-only target";
    case Fault::kReadOnlyTargetAsRoot: return "read-only target, as root";
    case Fault::kFullFileSystem: return "full file system";
  }
  return "?";
}

constexpr const char* kFiller = "filler";
constexpr const char* kSkip = "skip: ";

// Prepares the fault around `file` (which the parent wrote) in the child.
// Empty when it is in place, else why it cannot be had here.
std::string Arrange(Fault fault, const fs::path& folder, const fs::path& file, const ByteString& content) {
  switch (fault) {
    case Fault::kFileSizeLimit: {
      std::signal(SIGXFSZ, SIG_IGN);  // a write past the limit then fails with EFBIG
      rlimit limit{};
      ::getrlimit(RLIMIT_FSIZE, &limit);
      limit.rlim_cur = content.size() / 2;
      return ::setrlimit(RLIMIT_FSIZE, &limit) == 0 ? "" : "cannot set a file-size limit";
    }
    case Fault::kReadOnlyFolder:
    case Fault::kReadOnlyTarget: {
      if (!testing::DropRootRights()) {
        return "cannot drop root rights";
      }
      const fs::path& locked = fault == Fault::kReadOnlyFolder ? folder : file;
      return ::access(locked.c_str(), W_OK) == 0 ? "permission bits do not stop this user" : "";
    }
    case Fault::kReadOnlyTargetAsRoot: return ::geteuid() == 0 ? "" : "not running as root";
    case Fault::kFullFileSystem: {
      if (std::string why = testing::MountSmallFileSystem(folder, 1 << 20); !why.empty()) {
        return why;
      }
      WriteBytes(file, content);
      return testing::FillFileSystem(folder / kFiller, 0) ? "" : "the small file system did not fill up";
    }
  }
  return "unknown fault";
}

void Lift(Fault fault, const fs::path& folder, const fs::path& file) {
  switch (fault) {
    case Fault::kFileSizeLimit: {
      rlimit limit{};
      ::getrlimit(RLIMIT_FSIZE, &limit);
      limit.rlim_cur = limit.rlim_max;
      ::setrlimit(RLIMIT_FSIZE, &limit);
      break;
    }
    case Fault::kReadOnlyFolder: ::chmod(folder.c_str(), 0755); break;
    case Fault::kReadOnlyTarget:
    case Fault::kReadOnlyTargetAsRoot: ::chmod(file.c_str(), 0644); break;
    case Fault::kFullFileSystem: fs::remove(folder / kFiller); break;
  }
}

// The parent's part: the folder and the file as the fault needs them.
void Prepare(Fault fault, const fs::path& folder, const fs::path& file, const ByteString& content) {
  fs::create_directory(folder);
  if (fault == Fault::kFullFileSystem) {
    return;  // the child writes the file into its own small file system
  }
  WriteBytes(file, content);
  ASSERT_TRUE(testing::HandToUnprivilegedUser(folder.string()));
  ASSERT_TRUE(testing::HandToUnprivilegedUser(file.string()));
  if (fault == Fault::kReadOnlyFolder) {
    ASSERT_EQ(::chmod(folder.c_str(), 0555), 0);
  }
  if (fault == Fault::kReadOnlyTarget || fault == Fault::kReadOnlyTargetAsRoot) {
    ASSERT_EQ(::chmod(file.c_str(), 0444), 0);
  }
}

std::string Listing(const fs::path& folder) {
  std::string names;
  for (const std::string& name : FileNamesIn(folder)) {
    if (name != kFiller) {
      names += name + " ";
    }
  }
  return names;
}

// An officer file longer than the record: the save keeps its length, so the
// new content needs as much room as the old.
ByteString OfficerContent() {
  ByteString content(300'000, '\0');
  for (std::size_t i = 0; i < content.size(); ++i) {
    content[i] = static_cast<char>('a' + i % 23);
  }
  return content;
}

TEST(SaveFaults, AFailedOfficerSaveKeepsFileAndImageAndTheNextSaveWorks) {
  const ByteString old = OfficerContent();
  for (const Fault fault : {Fault::kFileSizeLimit, Fault::kReadOnlyFolder, Fault::kReadOnlyTarget,
                            Fault::kReadOnlyTargetAsRoot, Fault::kFullFileSystem}) {
    SCOPED_TRACE(NameOf(fault));
    TempDir dir;
    const fs::path folder = dir / "game";
    const fs::path file = folder / "officer.K4R";
    Prepare(fault, folder, file, old);
    const auto report = testing::RunInChild([&]() -> std::string {
      if (std::string why = Arrange(fault, folder, file, old); !why.empty()) {
        return kSkip + why;
      }
      BushouFile image;
      OfficerForm form = StartForm({});
      const Availability availability{};
      if (!LoadOfficerFile(file, image, form, {}, availability, {})) {
        return "the load failed";
      }
      form.sei1 = "Changed";
      const Status failed = SaveOfficerFile(file, image, form, availability);
      std::ostringstream out;
      out << (failed ? std::string("saved") : failed.failure().message) << '\n'
          << (ReadBytes(file) == old) << (image.image == old) << '\n'
          << Listing(folder) << '\n';
      Lift(fault, folder, file);
      const Status next = SaveOfficerFile(file, image, form, availability);
      out << next.ok() << (ReadBytes(file) == image.image) << (image.image.substr(36, 8) == ByteView("Changed\0", 8))
          << '\n'
          << Listing(folder);
      return out.str();
    });
    ASSERT_TRUE(report.has_value());
    if (report->rfind(kSkip, 0) == 0) {
      std::cout << "[ SKIPPED  ] " << NameOf(fault) << ": " << *report << '\n';
      continue;
    }
    const std::string expectedMessage = fault == Fault::kFileSizeLimit || fault == Fault::kFullFileSystem
                                            ? messages::WriteError()
                                            : messages::CannotCreate(file);
    EXPECT_EQ(*report, expectedMessage + "\n11\nofficer.K4R \n111\nofficer.K4R ")
        << "lines: message; file kept, image kept; folder; next save ok, written, changed; folder";
  }
}

// The settings file is written through a temporary file too, and in place
// when the folder takes no new file. Neither may leave a half-written file.
TEST(SaveFaults, AFailedSettingsWriteLeavesTheFileAsItWas) {
  // Exactly one 4 KiB page, so that growing it needs new room on the disk.
  ByteString old = "[Win]\r\nTop=100\r\nLeft=230\r\n[Kao]\r\nPath=C:\\KAO_M.VX9\r\n";
  old += "; " + ByteString(4096 - old.size() - 4, '-') + "\r\n";
  ASSERT_EQ(old.size(), 4096U);
  for (const Fault fault :
       {Fault::kFileSizeLimit, Fault::kReadOnlyTarget, Fault::kReadOnlyTargetAsRoot, Fault::kFullFileSystem}) {
    SCOPED_TRACE(NameOf(fault));
    TempDir dir;
    const fs::path folder = dir / "program";
    const fs::path ini = folder / "k4r.ini";
    Prepare(fault, folder, ini, old);
    const auto report = testing::RunInChild([&]() -> std::string {
      if (std::string why = Arrange(fault, folder, ini, old); !why.empty()) {
        return kSkip + why;
      }
      const Status failed = SaveWindowPos(ini, 123456, -7);
      std::ostringstream out;
      out << (failed ? std::string("saved") : failed.failure().message) << '\n'
          << (ReadBytes(ini) == old) << '\n'
          << Listing(folder) << '\n';
      Lift(fault, folder, ini);
      out << SaveWindowPos(ini, 123456, -7).ok() << (LoadSettings(ini).WinTop == 123456) << '\n' << Listing(folder);
      return out.str();
    });
    ASSERT_TRUE(report.has_value());
    if (report->rfind(kSkip, 0) == 0) {
      std::cout << "[ SKIPPED  ] " << NameOf(fault) << ": " << *report << '\n';
      continue;
    }
    EXPECT_EQ(*report, messages::CannotWriteSettings(ini) + "\n1\nk4r.ini \n11\nk4r.ini ")
        << "lines: message; file kept; folder; next write ok and read back; folder";
  }
}

// A batch that meets a full disk or a file-size limit part-way (its fourth
// file is the large one) replaces none of its files and leaves nothing.
TEST(SaveFaults, ABatchThatRunsOutOfRoomPartWayWritesNothing) {
  const ByteString old(10'000, 'o');
  for (const Fault fault : {Fault::kFileSizeLimit, Fault::kFullFileSystem}) {
    SCOPED_TRACE(NameOf(fault));
    TempDir dir;
    const fs::path folder = dir / "game";
    fs::create_directory(folder);
    const auto report = testing::RunInChild([&]() -> std::string {
      std::vector<fs::path> files;
      for (const char* name : {"a.K4R", "b.K4R", "c.K4R", "d.K4R", "e.K4R"}) {
        files.push_back(folder / name);
      }
      if (fault == Fault::kFullFileSystem) {
        if (std::string why = testing::MountSmallFileSystem(folder, 1 << 20); !why.empty()) {
          return kSkip + why;
        }
      }
      for (const fs::path& file : files) {
        WriteBytes(file, old);
      }
      if (fault == Fault::kFullFileSystem && !testing::FillFileSystem(folder / kFiller, 64 << 10)) {
        return kSkip + std::string("the small file system did not fill up");
      }
      if (fault == Fault::kFileSizeLimit) {
        std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit{};
        ::getrlimit(RLIMIT_FSIZE, &limit);
        limit.rlim_cur = 100'000;
        if (::setrlimit(RLIMIT_FSIZE, &limit) != 0) {
          return kSkip + std::string("cannot set a file-size limit");
        }
      }
      // The group ends before the files are looked at, as a failed batch does.
      const std::string outcome = [&] {
        FileReplaceGroup group;
        for (std::size_t i = 0; i < files.size(); ++i) {
          const Status staged = group.Stage(files[i], ByteString(i == 3 ? 200'000 : 10'000, 'n'));
          if (!staged) {
            return std::to_string(i) + ": " + staged.failure().message;
          }
        }
        return std::string("all staged");
      }();
      std::ostringstream out;
      out << outcome << '\n';
      for (const fs::path& file : files) {
        out << (ReadBytes(file) == old);
      }
      out << '\n' << Listing(folder);
      return out.str();
    });
    ASSERT_TRUE(report.has_value());
    if (report->rfind(kSkip, 0) == 0) {
      std::cout << "[ SKIPPED  ] " << NameOf(fault) << ": " << *report << '\n';
      continue;
    }
    EXPECT_EQ(*report, "3: " + messages::WriteError() + "\n11111\na.K4R b.K4R c.K4R d.K4R e.K4R ")
        << "lines: the failing file and message; every file kept; folder";
  }
}

// Memory that runs out during the save (the address space is limited below
// what a copy of the image needs) fails it with the out-of-memory message
// instead of an exception in the caller's hands; file and image stay.
TEST(SaveFaults, RunningOutOfMemoryFailsTheSaveAndKeepsFileAndImage) {
  TempDir dir;
  const fs::path file = dir / "officer.K4R";
  constexpr std::size_t kImageSize = 32 << 20;
  ByteString old = OfficerContent();
  old.resize(kImageSize, 'x');
  WriteBytes(file, old);
  const auto report = testing::RunInChild([&]() -> std::string {
    BushouFile image;
    OfficerForm form = StartForm({});
    const Availability availability{};
    if (!LoadOfficerFile(file, image, form, {}, availability, {})) {
      return "the load failed";
    }
    form.sei1 = "Changed";
    if (std::string why = testing::LimitAddressSpace(kImageSize / 4); !why.empty()) {
      return kSkip + why;
    }
    const Status failed = SaveOfficerFile(file, image, form, availability);
    testing::LiftAddressSpaceLimit();
    std::ostringstream out;
    out << (failed ? std::string("saved") : failed.failure().message) << '\n'
        << (ReadBytes(file) == old) << (image.image == old) << '\n'
        << Listing(dir.Path()) << '\n'
        << SaveOfficerFile(file, image, form, availability).ok() << (ReadBytes(file) == image.image);
    return out.str();
  });
  ASSERT_TRUE(report.has_value()) << "the child died: an exception escaped the save";
  if (report->rfind(kSkip, 0) == 0) {
    GTEST_SKIP() << *report;
  }
  EXPECT_EQ(*report, messages::OutOfMemory() + "\n11\nofficer.K4R \n11")
      << "lines: message; file kept, image kept; folder; next save ok and written";
}

}  // namespace
}  // namespace k4r

#endif
