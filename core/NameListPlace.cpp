#include "core/NameListPlace.h"

#include <algorithm>
#include <string_view>
#include <system_error>

namespace k4r {
namespace fs = std::filesystem;

namespace {

constexpr const char* kAppFolder = "k4r-editor";
constexpr std::string_view kDefaultDataDirs = "/usr/local/share/:/usr/share/";

}  // namespace

std::vector<fs::path> NameListFolders(const NameListEnvironment& environment) {
  std::vector<fs::path> folders{environment.workingFolder};

  const fs::path dataHome(environment.xdgDataHome);
  if (dataHome.is_absolute()) {
    folders.push_back(dataHome / kAppFolder);
  } else if (environment.home.is_absolute()) {
    folders.push_back(environment.home / ".local" / "share" / kAppFolder);
  }

  const std::string_view dataDirs =
      environment.xdgDataDirs.empty() ? kDefaultDataDirs : std::string_view(environment.xdgDataDirs);
  std::size_t start = 0;
  while (start <= dataDirs.size()) {
    const std::size_t colon = std::min(dataDirs.find(':', start), dataDirs.size());
    const fs::path dir(dataDirs.substr(start, colon - start));
    if (dir.is_absolute()) {
      folders.push_back(dir / kAppFolder);
    }
    start = colon + 1;
  }
  return folders;
}

fs::path LocateNameList(const fs::path& fileName, const std::vector<fs::path>& folders) {
  for (const fs::path& folder : folders) {
    const fs::path candidate = folder / fileName;
    std::error_code error;
    // symlink_status: a dangling link is there too, and reads as unreadable.
    if (fs::symlink_status(candidate, error).type() != fs::file_type::not_found) {
      return candidate;
    }
  }
  return folders.front() / fileName;
}

}  // namespace k4r
