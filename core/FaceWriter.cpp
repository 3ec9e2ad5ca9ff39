#include "core/FaceWriter.h"

#include <system_error>

#include "core/FileRead.h"
#include "core/FileReplace.h"
#include "core/Messages.h"

namespace k4r {
namespace {

namespace ff = face_file;

std::int64_t ImageOffsetIn(ByteView file, int faceNumber) {
  const auto at = static_cast<std::size_t>(ff::kTableOffset + ff::kTableStride * faceNumber);
  std::uint32_t value = 0;
  for (std::size_t i = 0; i < 4; ++i) {
    value |= std::uint32_t{static_cast<unsigned char>(file[at + i])} << (8 * i);
  }
  return static_cast<std::int32_t>(value);  // the table holds signed offsets
}

// Where face `faceNumber`'s picture starts, once it is known to lie wholly
// inside `file`.
Result<std::size_t> ImageStart(ByteView file, int faceNumber, const std::filesystem::path& path) {
  if (static_cast<std::int64_t>(file.size()) < ff::kTableEnd) {
    return Failure{messages::ReadErrorIn(path)};
  }
  if (faceNumber < 0 || faceNumber >= ff::kFaceCount) {
    return Failure{messages::FaceOutsideFile(path, faceNumber)};
  }
  const std::int64_t start = ImageOffsetIn(file, faceNumber);
  if (start < 0 || start + ff::kImageSize > static_cast<std::int64_t>(file.size())) {
    return Failure{messages::FaceOutsideFile(path, faceNumber)};
  }
  return static_cast<std::size_t>(start);
}

}  // namespace

Result<FacePortrait> FaceIn(ByteView file, int faceNumber, const std::filesystem::path& path) {
  const Result<std::size_t> start = ImageStart(file, faceNumber, path);
  if (!start) {
    return start.failure();
  }
  FacePortrait face;
  for (std::size_t k = 0; k < face.colours.size(); ++k) {
    const std::size_t entry = start.value() + static_cast<std::size_t>(ff::kPaletteOffset) + 4 * k;
    face.colours[k] = Rgb{static_cast<std::uint8_t>(file[entry + 2]), static_cast<std::uint8_t>(file[entry + 1]),
                          static_cast<std::uint8_t>(file[entry])};
  }
  for (int y = 0; y < FacePortrait::kHeight; ++y) {
    const std::size_t row = start.value() + static_cast<std::size_t>(ff::kPixelsOffset + ff::kRowStride * y);
    for (int x = 0; x < FacePortrait::kWidth; ++x) {
      face.pixels[static_cast<std::size_t>(y * FacePortrait::kWidth + x)] =
          static_cast<std::uint8_t>(file[row + static_cast<std::size_t>(x)]);
    }
  }
  return face;
}

Result<ByteString> PatchFaces(ByteString file, std::span<const NewFace> faces, const std::filesystem::path& path) {
  for (const NewFace& face : faces) {
    const Result<std::size_t> found = ImageStart(file, face.faceNumber, path);
    if (!found) {
      return found.failure();
    }
    const auto start = static_cast<std::int64_t>(found.value());
    for (std::size_t k = 0; k < face.portrait.colours.size(); ++k) {
      const auto entry = static_cast<std::size_t>(start + ff::kPaletteOffset + 4 * static_cast<std::int64_t>(k));
      file[entry] = static_cast<char>(face.portrait.colours[k].blue);
      file[entry + 1] = static_cast<char>(face.portrait.colours[k].green);
      file[entry + 2] = static_cast<char>(face.portrait.colours[k].red);
    }
    for (int y = 0; y < FacePortrait::kHeight; ++y) {
      const auto row = static_cast<std::size_t>(start + ff::kPixelsOffset + ff::kRowStride * y);
      for (int x = 0; x < FacePortrait::kWidth; ++x) {
        file[row + static_cast<std::size_t>(x)] =
            static_cast<char>(face.portrait.pixels[static_cast<std::size_t>(y * FacePortrait::kWidth + x)]);
      }
    }
  }
  return file;
}

std::filesystem::path BackupPathOf(const std::filesystem::path& path) {
  std::filesystem::path backup = path;
  backup += ".bak";
  return backup;
}

Status WriteFaces(const std::filesystem::path& path, std::span<const NewFace> faces, const FaceWriteOptions& options) {
  Result<ByteString> old = ReadWholeFile(path);
  if (!old) {
    return old.failure();
  }
  Result<ByteString> patched = PatchFaces(old.value(), faces, path);
  if (!patched) {
    return patched.failure();
  }
  if (patched.value() == old.value()) {
    return Success();
  }

  bool madeBackup = false;
  if (options.backup) {
    const std::filesystem::path backup = BackupPathOf(path);
    std::error_code error;
    // Anything by that name, even a dangling link, is someone's: left alone.
    const bool taken = std::filesystem::symlink_status(backup, error).type() != std::filesystem::file_type::not_found;
    if (!taken) {
      if (Status kept = ReplaceFileAtomically(backup, old.value()); !kept) {
        return kept;
      }
      madeBackup = true;
    }
  }
  Status replaced = ReplaceFileAtomically(path, patched.value());
  if (!replaced && madeBackup) {
    std::error_code ignored;
    std::filesystem::remove(BackupPathOf(path), ignored);
  }
  return replaced;
}

}  // namespace k4r
