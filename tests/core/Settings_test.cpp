#include "core/Settings.h"

#include <gtest/gtest.h>
#ifndef _WIN32
#include <unistd.h>
#endif

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "core/Messages.h"
#ifndef _WIN32
#include "support/ChildProcess.h"
#endif
#include "support/TempDir.h"

namespace k4r {
namespace {

namespace fs = std::filesystem;
using testing::ReadBytes;
using testing::TempDir;
using testing::WriteBytes;

TEST(SettingsPathFor, ReplacesTheExtensionOfTheFileName) {
  const struct {
    const char* program;
    const char* expected;
  } cases[] = {
      {"/opt/k4r/K4REdit.exe", "/opt/k4r/K4REdit.ini"},
      {"/opt/k4r/k4r-editor", "/opt/k4r/k4r-editor.ini"},
      {"/opt/k4r.d/editor", "/opt/k4r.d/editor.ini"},  // a dot in the folder is no extension
      {"/opt/k4r/my.editor.bin", "/opt/k4r/my.editor.ini"},
      {"/opt/k4r/editor.", "/opt/k4r/editor.ini"},
      {"/opt/k4r/.editor", "/opt/k4r/.ini"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(SettingsPathFor(c.program), fs::path(c.expected)) << c.program;
  }
}

TEST(LoadSettings, MissingOrUnreadableFileGivesDefaults) {
  TempDir dir;
  EXPECT_EQ(LoadSettings(dir / "none.ini"), Settings{});
  fs::create_directory(dir / "folder.ini");
  EXPECT_EQ(LoadSettings(dir / "folder.ini"), Settings{});
  EXPECT_EQ(Settings{}.WinTop, 100);
  EXPECT_EQ(Settings{}.WinLeft, 230);
}

TEST(LoadSettings, ReadsIntegersByTheIntegerRule) {
  const struct {
    ByteView topLine;
    std::int32_t expectedTop;
  } cases[] = {
      {"Top=-50", -50},  {"Top=0x20", 32},
      {"Top=0X20", 32},  {"Top=$20", 32},
      {"Top=abc", 100},  {"Top=", 100},
      {"Top= 7 ", 7},    {"Top=\"12\"", 12},
      {"Top=12px", 100}, {"Top=99999999999", 100},
      {";Top=5", 100},   {"Top=+3", 3},
      {"top=4", 4},      {"Top=-2147483648", -2147483647 - 1},
  };
  TempDir dir;
  const fs::path ini = dir / "k4r.ini";
  for (const auto& c : cases) {
    WriteBytes(ini, "[Win]\r\n" + ByteString(c.topLine) + "\r\nLeft=-7\r\n");
    const Settings settings = LoadSettings(ini);
    EXPECT_EQ(settings.WinTop, c.expectedTop) << c.topLine;
    EXPECT_EQ(settings.WinLeft, -7) << c.topLine;
  }
}

TEST(LoadSettings, ReadsAllFourValuesInAnyOrder) {
  TempDir dir;
  const fs::path ini = dir / "k4r.ini";
  WriteBytes(ini,
             "; written by hand\r\n[Kao]\r\nPath=D:\\\x83\x51\x81\x5b\x83\x80\\KAO_M.VX9\r\n"
             "[Open]\nDir = C:\\K4R \n[Win]\rLeft=12\rTop=34\r");
  const Settings settings = LoadSettings(ini);
  EXPECT_EQ(settings.WinTop, 34);
  EXPECT_EQ(settings.WinLeft, 12);
  EXPECT_EQ(settings.OpenDir, "C:\\K4R");
  EXPECT_EQ(settings.KaoPath, "D:\\\x83\x51\x81\x5b\x83\x80\\KAO_M.VX9");
}

TEST(LoadSettings, TextIsReadUpTo2047Bytes) {
  const ByteString exact(kSettingsTextLimit, 'a');
  const ByteString halfAtEnd = ByteString(kSettingsTextLimit - 1, 'a') + "\x83\x51" + "bc";
  const struct {
    const char* what;
    ByteString stored;
    ByteString expected;
  } cases[] = {
      {"exactly the limit", exact, exact},
      {"one byte more", exact + "b", exact},
      {"far longer", ByteString(5000, 'z'), ByteString(kSettingsTextLimit, 'z')},
      {"two-byte character across the limit", halfAtEnd, ByteString(kSettingsTextLimit - 1, 'a')},
  };
  TempDir dir;
  const fs::path ini = dir / "k4r.ini";
  for (const auto& c : cases) {
    WriteBytes(ini, "[Open]\r\nDir=" + c.stored + "\r\n[Kao]\r\nPath=" + c.stored + "\r\n");
    const Settings settings = LoadSettings(ini);
    EXPECT_EQ(settings.OpenDir, c.expected) << c.what;
    EXPECT_EQ(settings.KaoPath, c.expected) << c.what;
  }
}

TEST(SaveSettings, CreatesTheFileWithExactBytes) {
  TempDir dir;
  const fs::path ini = dir / "k4r.ini";
  ASSERT_TRUE(SaveWindowPos(ini, -50, 230));
  EXPECT_EQ(ReadBytes(ini), "[Win]\r\nTop=-50\r\nLeft=230\r\n");

  const fs::path other = dir / "other.ini";
  ASSERT_TRUE(SaveFacePath(other, "C:\\Games\\KAO_M.VX9"));
  EXPECT_EQ(ReadBytes(other), "[Kao]\r\nPath=C:\\Games\\KAO_M.VX9\r\n");
}

TEST(SaveSettings, ChangesOnlyItsOwnKeys) {
  TempDir dir;
  const fs::path ini = dir / "k4r.ini";
  const ByteString original =
      "; hand-made\n[Open]\nDir=C:\\K4R\n[win]\r\n  left = 1 \r\n; keep me\r\n\r\n[Kao]\r\nPath=old";
  WriteBytes(ini, original);

  ASSERT_TRUE(SaveWindowPos(ini, 2147483647, -2147483647 - 1));
  EXPECT_EQ(ReadBytes(ini),
            "; hand-made\n[Open]\nDir=C:\\K4R\n[win]\r\nleft=-2147483648\r\nTop=2147483647\r\n; keep me\r\n\r\n"
            "[Kao]\r\nPath=old");

  ASSERT_TRUE(SaveFacePath(ini, " \"spaced path\" "));
  EXPECT_EQ(ReadBytes(ini),
            "; hand-made\n[Open]\nDir=C:\\K4R\n[win]\r\nleft=-2147483648\r\nTop=2147483647\r\n; keep me\r\n\r\n"
            "[Kao]\r\nPath= \"spaced path\" ");
  const Settings settings = LoadSettings(ini);
  EXPECT_EQ(settings.WinTop, 2147483647);
  EXPECT_EQ(settings.WinLeft, -2147483647 - 1);
  EXPECT_EQ(settings.KaoPath, "spaced path");  // the reader trims and unquotes
}

TEST(SaveSettings, EachOperationSeesChangesMadeInBetween) {
  TempDir dir;
  const fs::path ini = dir / "k4r.ini";
  ASSERT_TRUE(SaveFacePath(ini, "a"));
  WriteBytes(ini, ReadBytes(ini) + "[Open]\r\nDir=X\r\n");  // another program edits the file
  ASSERT_TRUE(SaveFacePath(ini, ""));
  EXPECT_EQ(ReadBytes(ini), "[Kao]\r\nPath=\r\n[Open]\r\nDir=X\r\n");
  EXPECT_EQ(LoadSettings(ini).KaoPath, "");
}

#ifndef _WIN32
// Permissions do not bite for a superuser: these run as the user "nobody"
// in a child process (tests/support/ChildProcess.h) and skip only where even
// that user is not stopped by them.
constexpr const char* kNotStopped = "permission bits do not stop this user";

// Runs `body` as an unprivileged user on files handed to it; the text it
// returns, or kNotStopped when `locked` stays writable (and readable) anyway.
std::string AsUnprivilegedUser(const std::vector<fs::path>& owned, const fs::path& locked,
                               const std::function<std::string()>& body) {
  for (const fs::path& path : owned) {
    EXPECT_TRUE(testing::HandToUnprivilegedUser(path.string())) << path;
  }
  const std::optional<std::string> text = testing::RunInChild([&]() -> std::string {
    if (!testing::DropRootRights()) {
      return "cannot drop root rights";
    }
    if (access(locked.c_str(), W_OK) == 0 && access(locked.c_str(), R_OK) == 0) {
      return kNotStopped;
    }
    return body();
  });
  return text.value_or("the child failed");
}

TEST(SaveSettings, ReadOnlyFolderWithoutFileFailsWithThePath) {
  TempDir dir;
  const fs::path folder = dir / "program";
  fs::create_directory(folder);
  fs::permissions(folder, fs::perms::owner_read | fs::perms::owner_exec);
  const fs::path ini = folder / "k4r.ini";
  const std::string report = AsUnprivilegedUser({folder}, folder, [&] {
    const Status saved = SaveWindowPos(ini, 1, 2);
    const Status face = SaveFacePath(ini, "p");
    return (saved ? std::string("saved") : saved.failure().message) + "|" +
           (face ? std::string("saved") : face.failure().message);
  });
  if (report == kNotStopped) {
    GTEST_SKIP() << report;
  }
  EXPECT_EQ(report, messages::PathText(ini) + " に書き込めません|" + messages::CannotWriteSettings(ini));
  EXPECT_FALSE(fs::exists(ini));
}

TEST(SaveSettings, WritableFileInReadOnlyFolderIsStillWritten) {
  TempDir dir;
  const fs::path folder = dir / "program";
  fs::create_directory(folder);
  const fs::path ini = folder / "k4r.ini";
  WriteBytes(ini, "[Kao]\r\nPath=a rather long old path that is longer than the new one\r\n[Win]\r\nTop=1\r\n");
  fs::permissions(folder, fs::perms::owner_read | fs::perms::owner_exec);
  const std::string report = AsUnprivilegedUser({folder, ini}, folder, [&] {
    if (!SaveFacePath(ini, "short")) {
      return std::string("first write failed");
    }
    std::string text = ReadBytes(ini) + "|";
    if (!SaveWindowPos(ini, 300, 400)) {
      return std::string("second write failed");
    }
    return text + ReadBytes(ini);
  });
  if (report == kNotStopped) {
    GTEST_SKIP() << report;
  }
  EXPECT_EQ(report,
            "[Kao]\r\nPath=short\r\n[Win]\r\nTop=1\r\n|[Kao]\r\nPath=short\r\n[Win]\r\nTop=300\r\nLeft=400\r\n");
  EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()), 1);  // nothing left beside it
}

TEST(SaveSettings, ReadOnlyOrUnreadableFileIsLeftAlone) {
  const struct {
    const char* what;
    fs::perms rights;
  } cases[] = {
      {"read-only file", fs::perms::owner_read},
      {"unreadable file", fs::perms::owner_write},
  };
  for (const auto& c : cases) {
    TempDir dir;
    const fs::path ini = dir / "k4r.ini";
    const ByteString original = "[Open]\r\nDir=C:\\K4R\r\n";
    WriteBytes(ini, original);
    fs::permissions(ini, c.rights);
    const std::string report = AsUnprivilegedUser({dir.Path(), ini}, ini, [&] {
      const Status saved = SaveWindowPos(ini, 1, 2);
      return saved ? std::string("saved") : saved.failure().message;
    });
    if (report == kNotStopped) {
      GTEST_SKIP() << report;
    }
    EXPECT_EQ(report, messages::CannotWriteSettings(ini)) << c.what;
    fs::permissions(ini, fs::perms::owner_read | fs::perms::owner_write);
    EXPECT_EQ(ReadBytes(ini), original) << c.what;
  }
}

#endif  // _WIN32

}  // namespace
}  // namespace k4r
