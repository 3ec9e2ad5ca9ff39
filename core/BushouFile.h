#pragma once
// The image of the opened officer file and the path it came from.

#include <filesystem>

#include "core/Bytes.h"
#include "core/Result.h"

namespace k4r {

struct BushouFile {
  ByteString image;            // the whole file as last opened, patched by saves
  std::filesystem::path path;  // empty until the first successful open

  // Reads the whole file into a new buffer; this object is not touched.
  [[nodiscard]] static Result<ByteString> LoadFromFile(const std::filesystem::path& path);
  // Writes the whole image over the file at `path` (atomically).
  [[nodiscard]] Status SaveToFile(const std::filesystem::path& path) const;
};

}  // namespace k4r
