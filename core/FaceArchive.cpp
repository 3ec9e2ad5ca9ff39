#include "core/FaceArchive.h"

#include <cstring>

#include "core/FileRead.h"
#include "core/Messages.h"

namespace k4r {

namespace {

std::int32_t ReadInt32Le(ByteView bytes, std::size_t at) {
  std::uint32_t value = 0;
  for (std::size_t i = 0; i < 4; ++i) {
    value |= std::uint32_t{static_cast<unsigned char>(bytes[at + i])} << (8 * i);
  }
  // Two's complement: the file holds a signed offset.
  return static_cast<std::int32_t>(value);
}

std::uint8_t ByteAt(ByteView bytes, std::int64_t at) {
  return static_cast<std::uint8_t>(bytes[static_cast<std::size_t>(at)]);
}

// A face number or image offset that cannot name a picture: nothing is read.
// The face file is named once there is one.
Failure NoSuchImage(const std::filesystem::path& path) {
  return Failure{path.empty() ? messages::ReadError() : messages::ReadErrorIn(path)};
}

}  // namespace

void PixelSurface::SetPalettePicture(std::span<const std::uint8_t> pixels, int width,
                                     std::span<const Rgb, 256> colours) {
  if (width <= 0) {
    return;
  }
  const auto rowLength = static_cast<std::size_t>(width);
  for (std::size_t i = 0; i < pixels.size(); ++i) {
    SetPixel(static_cast<int>(i % rowLength), static_cast<int>(i / rowLength), colours[pixels[i]]);
  }
}

void DrawPortrait(const FacePortrait& portrait, PixelSurface& surface) {
  surface.SetPalettePicture(portrait.pixels, FacePortrait::kWidth, portrait.colours);
}

Status FaceArchive::LoadOffsetTable(const std::filesystem::path& path) {
  // A failed load leaves no table behind: the old one would describe another file.
  hasTable_ = false;
  offsets_.fill(0);
  path_ = path;

  Result<ByteString> table = ReadFileRange(path, 0, static_cast<std::size_t>(face_file::kTableEnd));
  if (!table) {
    return table.failure();
  }
  const ByteString& bytes = table.value();
  if (static_cast<std::int64_t>(bytes.size()) < face_file::kTableEnd) {
    return Failure{messages::ReadErrorIn(path)};
  }
  for (int face = 0; face < face_file::kFaceCount; ++face) {
    const std::int64_t at = face_file::kTableOffset + face_file::kTableStride * face;
    offsets_[static_cast<std::size_t>(face)] = ReadInt32Le(bytes, static_cast<std::size_t>(at));
  }
  hasTable_ = true;
  return Success();
}

std::int32_t FaceArchive::ImageOffset(int faceNumber) const {
  if (!hasTable_ || faceNumber < 0 || faceNumber >= face_file::kFaceCount) {
    return -1;
  }
  return offsets_[static_cast<std::size_t>(faceNumber)];
}

Result<FacePortrait> FaceArchive::ReadPortrait(ListPosition faceNumber) const {
  if (!hasTable_ || faceNumber < 0 || faceNumber >= face_file::kFaceCount) {
    return NoSuchImage(path_);
  }
  const std::int64_t start = offsets_[static_cast<std::size_t>(faceNumber)];
  if (start < 0) {
    return NoSuchImage(path_);
  }
  // The range check (image wholly inside the file) is ReadFileRange's: it
  // fails when the file does not hold every byte asked for. 64-bit offsets,
  // so a start near INT32_MAX cannot wrap.
  Result<ByteString> image =
      ReadFileRange(path_, static_cast<std::uint64_t>(start), static_cast<std::size_t>(face_file::kImageSize));
  if (!image) {
    return image.failure();
  }
  const ByteString& bytes = image.value();
  if (static_cast<std::int64_t>(bytes.size()) < face_file::kImageSize) {
    return Failure{messages::ReadErrorIn(path_)};
  }

  FacePortrait portrait;
  for (std::size_t k = 0; k < portrait.colours.size(); ++k) {
    const std::int64_t entry = face_file::kPaletteOffset + 4 * static_cast<std::int64_t>(k);
    // Stored blue, green, red, then an unused byte.
    portrait.colours[k] = Rgb{ByteAt(bytes, entry + 2), ByteAt(bytes, entry + 1), ByteAt(bytes, entry)};
  }
  for (int y = 0; y < FacePortrait::kHeight; ++y) {
    const std::int64_t row = face_file::kPixelsOffset + face_file::kRowStride * y;
    std::memcpy(portrait.pixels.data() + static_cast<std::size_t>(y * FacePortrait::kWidth),
                bytes.data() + static_cast<std::size_t>(row), FacePortrait::kWidth);
  }
  return portrait;
}

}  // namespace k4r
