// Packs the demo portraits into a face graphics file: each picture reduced
// to its own 256-colour palette, stored top row first.

#include "demo/DemoFaces.h"

#include <algorithm>
#include <cstdint>

#include "core/FaceArchive.h"
#include "demo/PaletteReducer.h"

namespace k4r::demo {
namespace {

// Images follow the table at a round stride; the 10 bytes between two images
// are padding no reader looks at.
constexpr std::int64_t kImageStride = 16'416;
constexpr std::int64_t kFirstImage = face_file::kTableEnd + 4;  // keeps every image 4-byte aligned
constexpr char kTag[] = "K4RDEMO";

void PutInt32Le(ByteString& bytes, std::int64_t at, std::uint32_t value) {
  for (int i = 0; i < 4; ++i) {
    bytes[static_cast<std::size_t>(at + i)] = static_cast<char>((value >> (8 * i)) & 0xFF);
  }
}

void PutImage(ByteString& bytes, std::int64_t start, const PalettePicture& picture) {
  bytes.replace(static_cast<std::size_t>(start), sizeof kTag - 1, kTag);
  PutInt32Le(bytes, start + 8, FacePortrait::kWidth);
  PutInt32Le(bytes, start + 12, FacePortrait::kHeight);
  for (std::size_t k = 0; k < picture.colours.size(); ++k) {
    const auto entry = static_cast<std::size_t>(face_file::kPaletteOffset) + 4 * k;
    bytes[entry + static_cast<std::size_t>(start)] = static_cast<char>(picture.colours[k].blue);
    bytes[entry + static_cast<std::size_t>(start) + 1] = static_cast<char>(picture.colours[k].green);
    bytes[entry + static_cast<std::size_t>(start) + 2] = static_cast<char>(picture.colours[k].red);
  }
  for (int y = 0; y < FacePortrait::kHeight; ++y) {
    const auto row = static_cast<std::size_t>(start + face_file::kPixelsOffset + face_file::kRowStride * y);
    std::copy_n(picture.pixels.begin() + y * FacePortrait::kWidth, FacePortrait::kWidth,
                bytes.begin() + static_cast<std::ptrdiff_t>(row));
  }
}

}  // namespace

ByteString MakeDemoFaceArchive() {
  ByteString bytes(static_cast<std::size_t>(kFirstImage + kImageStride * face_file::kFaceCount), '\0');
  bytes.replace(0, sizeof kTag - 1, kTag);
  PutInt32Le(bytes, 8, face_file::kFaceCount);
  for (int face = 0; face < face_file::kFaceCount; ++face) {
    const std::int64_t start = kFirstImage + kImageStride * face;
    PutInt32Le(bytes, face_file::kTableOffset + face_file::kTableStride * face, static_cast<std::uint32_t>(start));
    PutImage(bytes, start, ReducePalette(RenderDemoFace(face)));
  }
  return bytes;
}

}  // namespace k4r::demo
