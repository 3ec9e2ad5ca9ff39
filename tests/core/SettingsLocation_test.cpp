#include <gtest/gtest.h>
#ifndef _WIN32
#include <unistd.h>
#endif

#include <filesystem>
#include <optional>
#include <string>

#include "core/Settings.h"
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

[[nodiscard]] std::ptrdiff_t EntryCount(const fs::path& folder) {
  return std::distance(fs::directory_iterator(folder), fs::directory_iterator());
}

TEST(ChooseSettingsPath, WritableProgramFolderKeepsTheFileBesideTheProgram) {
  TempDir dir;
  const fs::path program = dir / "k4r-editor";
  WriteBytes(program, "program");
  const fs::path chosen = ChooseSettingsPath(program, dir / "config", dir / "home");
  EXPECT_EQ(chosen, dir / "k4r-editor.ini");
  EXPECT_EQ(EntryCount(dir.Path()), 1) << "the writability check leaves nothing behind";

  // A save there works and reads back under the same keys.
  ASSERT_TRUE(SaveWindowPos(chosen, 5, 6));
  EXPECT_EQ(ReadBytes(chosen), "[Win]\r\nTop=5\r\nLeft=6\r\n");
  EXPECT_FALSE(fs::exists(dir / "config"));
}

TEST(ChooseSettingsPath, MissingProgramFolderFallsBackToTheConfigurationFolder) {
  TempDir dir;
  const struct {
    const char* what;
    fs::path xdg;
    fs::path home;
    fs::path expected;
  } cases[] = {
      {"XDG_CONFIG_HOME set", dir / "xdg", dir / "home", dir / "xdg/k4r-editor/k4r-editor.ini"},
      {"XDG_CONFIG_HOME empty", "", dir / "home", dir / "home/.config/k4r-editor/k4r-editor.ini"},
      {"XDG_CONFIG_HOME relative", "relative/config", dir / "home", dir / "home/.config/k4r-editor/k4r-editor.ini"},
      {"no usable folder at all", "", "", dir / "gone/k4r-editor.ini"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ChooseSettingsPath(dir / "gone/k4r-editor", c.xdg, c.home), c.expected) << c.what;
  }
}

TEST(SaveSettings, CreatesTheConfigurationFolderWhenWriting) {
  TempDir dir;
  const fs::path ini = dir / "home/.config/k4r-editor/k4r-editor.ini";
  ASSERT_TRUE(SaveFacePath(ini, "/games/KAO_M.VX9"));
  ASSERT_TRUE(SaveWindowPos(ini, 10, 20));
  EXPECT_EQ(ReadBytes(ini), "[Kao]\r\nPath=/games/KAO_M.VX9\r\n[Win]\r\nTop=10\r\nLeft=20\r\n");
  const Settings loaded = LoadSettings(ini);
  EXPECT_EQ(loaded.WinTop, 10);
  EXPECT_EQ(loaded.WinLeft, 20);
  EXPECT_EQ(loaded.KaoPath, "/games/KAO_M.VX9");
}

#ifndef _WIN32
// A read-only program folder as an installed editor sees it: as the user
// "nobody" in a child process, since permission bits do not stop root.
// The child reports "<chosen path>|<result of a save there>|<bytes read back>".
[[nodiscard]] std::string ChooseAndSaveAsUnprivilegedUser(const fs::path& program, const fs::path& xdg,
                                                          const fs::path& home) {
  const std::optional<std::string> text = testing::RunInChild([&]() -> std::string {
    if (!testing::DropRootRights()) {
      return "cannot drop root rights";
    }
    if (access(program.parent_path().c_str(), W_OK) == 0) {
      return "not stopped";
    }
    const fs::path chosen = ChooseSettingsPath(program, xdg, home);
    const Status saved = SaveWindowPos(chosen, 7, 8);
    return chosen.string() + "|" + (saved ? std::string("saved") : saved.failure().message) + "|" +
           std::to_string(LoadSettings(chosen).WinTop);
  });
  return text.value_or("the child failed");
}

TEST(ChooseSettingsPath, ReadOnlyProgramFolder) {
  const struct {
    const char* what;
    bool fileBesideProgram;
    bool xdgSet;
    const char* expected;  // relative to the temporary folder
  } cases[] = {
      {"no file beside: XDG_CONFIG_HOME", false, true, "xdg/k4r-editor/k4r-editor.ini|saved|7"},
      {"no file beside: ~/.config", false, false, "home/.config/k4r-editor/k4r-editor.ini|saved|7"},
      // The file is kept where it is; its own rights decide whether saves work.
      {"file already beside", true, true, "program/k4r-editor.ini|saved|7"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    TempDir dir;
    const fs::path folder = dir / "program";
    const fs::path home = dir / "home";
    fs::create_directories(home);
    fs::create_directory(folder);
    WriteBytes(folder / "k4r-editor", "program");
    if (c.fileBesideProgram) {
      WriteBytes(folder / "k4r-editor.ini", "[Win]\r\nTop=1\r\n");
      ASSERT_TRUE(testing::HandToUnprivilegedUser((folder / "k4r-editor.ini").string()));
    }
    fs::permissions(folder, fs::perms::owner_read | fs::perms::owner_exec | fs::perms::group_read |
                                fs::perms::group_exec | fs::perms::others_read | fs::perms::others_exec);
    ASSERT_TRUE(testing::HandToUnprivilegedUser(home.string()));
    ASSERT_TRUE(testing::HandToUnprivilegedUser(dir.Path().string()));
    const fs::path xdg = c.xdgSet ? dir / "xdg" : fs::path();
    const std::string report = ChooseAndSaveAsUnprivilegedUser(folder / "k4r-editor", xdg, home);
    if (report == "not stopped") {
      GTEST_SKIP() << "permission bits do not stop this user";
    }
    EXPECT_EQ(report, (dir.Path() / c.expected).string()) << c.what;
    EXPECT_EQ(EntryCount(folder), c.fileBesideProgram ? 2 : 1) << c.what << ": nothing new in the program folder";
  }
}
#endif  // _WIN32

}  // namespace
}  // namespace k4r
