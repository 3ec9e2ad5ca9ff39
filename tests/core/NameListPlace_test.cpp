#include "core/NameListPlace.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <vector>

#include "support/TempDir.h"

namespace k4r {
namespace {

namespace fs = std::filesystem;
using testing::TempDir;
using testing::WriteBytes;

#ifndef _WIN32  // the XDG folders are POSIX paths; Windows looks in the working folder only
TEST(NameListFolders, WorkingFolderThenTheXdgDataFolders) {
  const struct {
    const char* what;
    NameListEnvironment environment;
    std::vector<fs::path> expected;
  } cases[] = {
      {"nothing set: the defaults",
       {"/game", "", "", "/home/u"},
       {"/game", "/home/u/.local/share/k4r-editor", "/usr/local/share/k4r-editor", "/usr/share/k4r-editor"}},
      {"both set",
       {"/game", "/data", "/a:/b/", "/home/u"},
       {"/game", "/data/k4r-editor", "/a/k4r-editor", "/b/k4r-editor"}},
      {"relative entries are ignored",
       {"/game", "rel/data", "rel:/a::", "/home/u"},
       {"/game", "/home/u/.local/share/k4r-editor", "/a/k4r-editor"}},
      {"only relative data dirs: none of them", {"/game", "/data", "x:y", "/home/u"}, {"/game", "/data/k4r-editor"}},
      {"no usable home and no data home", {"", "", "/s", ""}, {"", "/s/k4r-editor"}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(NameListFolders(c.environment), c.expected) << c.what;
  }
}
#endif

TEST(LocateNameList, FirstFolderThatHoldsTheFile) {
  TempDir dir;
  const std::vector<fs::path> folders{dir / "work", dir / "home", dir / "system"};
  for (const fs::path& folder : folders) {
    fs::create_directory(folder);
  }
  // Nowhere: the working folder's name, for the report of a missing list.
  EXPECT_EQ(LocateNameList("BUSHOU.DAT", folders), dir / "work" / "BUSHOU.DAT");
  WriteBytes(dir / "system" / "BUSHOU.DAT", "x");
  EXPECT_EQ(LocateNameList("BUSHOU.DAT", folders), dir / "system" / "BUSHOU.DAT");
  WriteBytes(dir / "home" / "BUSHOU.DAT", "x");
  EXPECT_EQ(LocateNameList("BUSHOU.DAT", folders), dir / "home" / "BUSHOU.DAT");
  // Something in the working folder that is no readable list still comes
  // first: its load reports why, rather than quietly using another list.
  fs::create_directory(dir / "work" / "BUSHOU.DAT");
  EXPECT_EQ(LocateNameList("BUSHOU.DAT", folders), dir / "work" / "BUSHOU.DAT");
  EXPECT_EQ(LocateNameList("KAO.DAT", folders), dir / "work" / "KAO.DAT");
}

}  // namespace
}  // namespace k4r
