#pragma once
// Where the name lists (BUSHOU.DAT, KAO.DAT) are looked for: the working
// folder first, then the user's and the system's data folders, so that an
// editor started from the application menu (working folder: the home
// folder) still finds lists installed once.

#include <filesystem>
#include <string>
#include <vector>

namespace k4r {

// The environment the lookup depends on, as the process has it; an unset
// variable is an empty string.
struct NameListEnvironment {
  std::filesystem::path workingFolder;
  std::string xdgDataHome;     // $XDG_DATA_HOME
  std::string xdgDataDirs;     // $XDG_DATA_DIRS, folders separated by ':'
  std::filesystem::path home;  // $HOME
};

// The folders to look in, in order: the working folder;
// <XDG_DATA_HOME>/k4r-editor (an empty or relative XDG_DATA_HOME stands for
// <home>/.local/share); <dir>/k4r-editor for each absolute dir of
// XDG_DATA_DIRS (empty: /usr/local/share:/usr/share). Relative entries are
// ignored, as the XDG base directory rules say. Nothing is looked at on disk.
[[nodiscard]] std::vector<std::filesystem::path> NameListFolders(const NameListEnvironment& environment);

// The first `folder / fileName` that is there, as anything (a folder or an
// unreadable file then reports why it cannot be read instead of hiding a
// later one); the first folder's when none holds it, so that the caller's
// load reports the list as missing. `folders` must not be empty.
[[nodiscard]] std::filesystem::path LocateNameList(const std::filesystem::path& fileName,
                                                   const std::vector<std::filesystem::path>& folders);

}  // namespace k4r
