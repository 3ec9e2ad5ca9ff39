#include "core/BushouFile.h"

#include "core/FileRead.h"
#include "core/FileReplace.h"

namespace k4r {

Result<ByteString> BushouFile::LoadFromFile(const std::filesystem::path& source) {
  return ReadWholeFile(source);
}

// Written through a temporary file: a failed save leaves the old file whole
// instead of truncated.
Status BushouFile::SaveToFile(const std::filesystem::path& target) const {
  return ReplaceFileAtomically(target, image);
}

}  // namespace k4r
