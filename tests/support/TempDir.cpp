#include "support/TempDir.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <random>
#include <string>

namespace k4r::testing {
namespace fs = std::filesystem;

TempDir::TempDir() {
  std::random_device seed;
  std::mt19937_64 random(seed());
  for (int attempt = 0; attempt < 100; ++attempt) {
    const fs::path candidate = fs::temp_directory_path() / ("k4r-test-" + std::to_string(random()));
    std::error_code error;
    if (fs::create_directory(candidate, error)) {
      path_ = candidate;
      return;
    }
  }
  std::fprintf(stderr, "TempDir: cannot create a temporary folder\n");
  std::abort();
}

TempDir::~TempDir() {
  std::error_code error;
  // Tests make folders read-only; give the rights back so removal works.
  for (auto it = fs::recursive_directory_iterator(path_, error); !error && it != fs::recursive_directory_iterator();
       it.increment(error)) {
    if (it->is_directory(error) && !it->is_symlink(error)) {
      fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, error);
    }
  }
  fs::permissions(path_, fs::perms::owner_all, fs::perm_options::add, error);
  fs::remove_all(path_, error);
}

void WriteBytes(const fs::path& path, ByteView bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  if (!out) {
    std::fprintf(stderr, "WriteBytes: cannot write %s\n", path.string().c_str());
    std::abort();
  }
}

ByteString ReadBytes(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    std::fprintf(stderr, "ReadBytes: cannot read %s\n", path.string().c_str());
    std::abort();
  }
  return ByteString(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::set<std::string> FileNamesIn(const fs::path& folder) {
  std::set<std::string> names;
  std::error_code error;
  for (fs::directory_iterator entry(folder, error), end; !error && entry != end; entry.increment(error)) {
    const std::u8string name = entry->path().filename().u8string();
    names.emplace(name.begin(), name.end());
  }
  return names;
}

}  // namespace k4r::testing
