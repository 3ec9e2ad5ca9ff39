#pragma once
// The face graphics file: a table of 1000 image offsets and 96 x 120
// palette pictures, read one at a time.

#include <array>
#include <cstdint>
#include <filesystem>
#include <span>

#include "core/Result.h"
#include "core/ValueCodes.h"

namespace k4r {

struct Rgb {
  std::uint8_t red = 0, green = 0, blue = 0;
  friend bool operator==(const Rgb&, const Rgb&) = default;
};

struct FacePortrait {
  static constexpr int kWidth = 96;
  static constexpr int kHeight = 120;
  std::array<Rgb, 256> colours{};
  std::array<std::uint8_t, kWidth * kHeight> pixels{};  // row by row from the top
};

// Anything on which single pixels can be set.
class PixelSurface {
 public:
  virtual ~PixelSurface() = default;
  virtual void SetPixel(int x, int y, Rgb colour) = 0;
  // A palette picture from (0, 0): `pixels` row by row, `width` to a row,
  // each a number into `colours`. By default one SetPixel per point; a
  // portrait is 11,520 points, so a surface that can convert the colour table
  // once and write whole rows saves most of the cost of drawing it.
  virtual void SetPalettePicture(std::span<const std::uint8_t> pixels, int width, std::span<const Rgb, 256> colours);
};

// Sets the 96 x 120 pixels from the surface's (0, 0); nothing else.
void DrawPortrait(const FacePortrait& portrait, PixelSurface& surface);

namespace face_file {
inline constexpr int kFaceCount = 1000;
inline constexpr std::int64_t kTableOffset = 28;
inline constexpr std::int64_t kTableStride = 20;
inline constexpr std::int64_t kTableEnd = kTableOffset + kTableStride * kFaceCount;  // 20,028
inline constexpr std::int64_t kPaletteOffset = 22;
inline constexpr std::int64_t kPixelsOffset = 1046;
inline constexpr std::int64_t kRowStride = 128;
// From the image's start through its last drawn pixel: 16,374 bytes. The whole
// image spans 16,406, but its last 32 bytes are never drawn, so a last face cut
// short there is still read and written.
inline constexpr std::int64_t kImageSize = kPixelsOffset + kRowStride * 119 + 96;
}  // namespace face_file

class FaceArchive {
 public:
  // Reads the offset table of the file at `path` (only its first 20,028
  // bytes). Fails when the file cannot be read or is shorter than the table.
  [[nodiscard]] Status LoadOffsetTable(const std::filesystem::path& path);

  [[nodiscard]] bool HasTable() const { return hasTable_; }
  [[nodiscard]] const std::filesystem::path& Path() const { return path_; }
  [[nodiscard]] std::int32_t ImageOffset(int faceNumber) const;

  // Reads the one image of `faceNumber` anew from the file. Fails, without
  // reading outside the file or the table, for a face number outside 0..999
  // (no selection included), a missing table, a file that cannot be opened
  // ("ファイル %s は開けません"), or an image not wholly inside the file.
  [[nodiscard]] Result<FacePortrait> ReadPortrait(ListPosition faceNumber) const;

 private:
  std::filesystem::path path_;
  std::array<std::int32_t, face_file::kFaceCount> offsets_{};
  bool hasTable_ = false;
};

}  // namespace k4r
