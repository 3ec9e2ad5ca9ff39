#pragma once
// A fresh folder under the system's temporary folder, removed with its
// content when the object goes (made writable again first).

#include <filesystem>
#include <set>
#include <string>
#include <string_view>

#include "core/Bytes.h"

namespace k4r::testing {

class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  [[nodiscard]] const std::filesystem::path& Path() const { return path_; }
  [[nodiscard]] std::filesystem::path operator/(std::string_view name) const { return path_ / name; }

 private:
  std::filesystem::path path_;
};

// Whole-file helpers for tests; they abort the test run on I/O failure.
void WriteBytes(const std::filesystem::path& path, ByteView bytes);
[[nodiscard]] ByteString ReadBytes(const std::filesystem::path& path);

// The names in a folder as UTF-8, so that names outside any code page compare
// the same on every system; an unreadable folder lists what was read.
[[nodiscard]] std::set<std::string> FileNamesIn(const std::filesystem::path& folder);

}  // namespace k4r::testing
