// Writing faces into a face graphics file: which bytes may change, and
// which files are refused.

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>

#include "core/FaceWriter.h"
#include "core/Messages.h"
#include "support/TempDir.h"

namespace k4r {
namespace {
using testing::ReadBytes;
using testing::TempDir;
using testing::WriteBytes;
namespace fs = std::filesystem;

// The layout's own numbers: 1000 table entries of 20 bytes from offset 28,
// the image offset in each entry's first 4 bytes; an image is a 22-byte
// lead-in, 256 colours of 4 bytes (blue, green, red, unused) and 120 rows of
// 128 bytes of which the first 96 are drawn: 16,406 bytes.
constexpr std::size_t kTableEnd = 20028;
constexpr std::size_t kImageBytes = 16406;

void PutOffset(ByteString& file, int face, std::int64_t offset) {
  for (std::size_t i = 0; i < 4; ++i) {
    file[28 + 20 * static_cast<std::size_t>(face) + i] =
        static_cast<char>((static_cast<std::uint32_t>(offset) >> (8 * i)) & 0xFF);
  }
}

// A table and two images of bytes that differ from anything written; face 7
// at the first image, face 999 at the second, face 5 past the end.
ByteString FaceFile() {
  ByteString file(kTableEnd + 2 * kImageBytes + 9, '\0');
  for (std::size_t i = 0; i < file.size(); ++i) {
    file[i] = static_cast<char>((i * 131 + 17) % 251);
  }
  for (int face = 0; face < 1000; ++face) {
    PutOffset(file, face, -1);
  }
  PutOffset(file, 7, kTableEnd);
  PutOffset(file, 999, kTableEnd + kImageBytes + 9);
  PutOffset(file, 5, kTableEnd + 2 * kImageBytes);
  return file;
}

FacePortrait Portrait(int seed) {
  FacePortrait portrait;
  for (std::size_t k = 0; k < 256; ++k) {
    portrait.colours[k] = Rgb{static_cast<std::uint8_t>(k + seed), static_cast<std::uint8_t>(3 * k + 1),
                              static_cast<std::uint8_t>(255 - k)};
  }
  for (std::size_t i = 0; i < portrait.pixels.size(); ++i) {
    portrait.pixels[i] = static_cast<std::uint8_t>((i * 7 + static_cast<std::size_t>(seed)) % 256);
  }
  return portrait;
}

// What the byte at `at` of an image must be after `portrait` was written,
// or nullopt where the old byte must stay.
std::optional<std::uint8_t> Written(std::size_t at, const FacePortrait& portrait) {
  if (at >= 22 && at < 22 + 1024) {
    const std::size_t k = (at - 22) / 4;
    switch ((at - 22) % 4) {
      case 0: return portrait.colours[k].blue;
      case 1: return portrait.colours[k].green;
      case 2: return portrait.colours[k].red;
      default: return std::nullopt;
    }
  }
  if (at >= 1046 && (at - 1046) % 128 < 96) {
    const std::size_t y = (at - 1046) / 128, x = (at - 1046) % 128;
    return portrait.pixels[y * 96 + x];
  }
  return std::nullopt;
}

TEST(FaceWriter, OnlyTheColoursAndDrawnPixelsOfTheFacesChange) {
  const ByteString old = FaceFile();
  const std::vector<NewFace> faces{{7, Portrait(1)}, {999, Portrait(2)}};
  const Result<ByteString> patched = PatchFaces(old, faces, "KAO_M.VX9");
  ASSERT_TRUE(patched) << patched.failure().message;
  const ByteString& bytes = patched.value();
  ASSERT_EQ(bytes.size(), old.size());
  const std::size_t starts[] = {kTableEnd, kTableEnd + kImageBytes + 9};
  for (std::size_t at = 0; at < bytes.size(); ++at) {
    std::optional<std::uint8_t> expected;
    for (std::size_t face = 0; face < 2; ++face) {
      if (at >= starts[face] && at < starts[face] + kImageBytes) {
        expected = Written(at - starts[face], faces[face].portrait);
      }
    }
    ASSERT_EQ(static_cast<std::uint8_t>(bytes[at]), expected.value_or(static_cast<std::uint8_t>(old[at])))
        << "byte " << at;
  }
}

TEST(FaceWriter, RefusesFacesOutsideTheFileAndWritesNothing) {
  ByteString straddling = FaceFile();
  // The last drawn byte, S + 1046 + 128 x 119 + 95, one past the end.
  PutOffset(straddling, 7, static_cast<std::int64_t>(straddling.size() - (1046 + 128 * 119 + 95)));
  const struct {
    const char* name;
    ByteString file;
    int face;
    bool namesFace;  // else: the file is too short for its table
  } cases[] = {
      {"past the end", FaceFile(), 5, true},
      {"negative offset", FaceFile(), 6, true},
      {"last drawn byte outside", straddling, 7, true},
      {"shorter than the table", ByteString(kTableEnd - 1, '\0'), 0, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    TempDir dir;
    const fs::path path = dir / "KAO_M.VX9";
    WriteBytes(path, c.file);
    const std::vector<NewFace> faces{{7 == c.face ? 999 : 7, Portrait(1)}, {c.face, Portrait(2)}};
    const Status written = WriteFaces(path, faces, {});
    ASSERT_FALSE(written);
    EXPECT_EQ(written.failure().message,
              c.namesFace ? messages::FaceOutsideFile(path, c.face) : messages::ReadErrorIn(path));
    EXPECT_EQ(ReadBytes(path), c.file);
    EXPECT_EQ(testing::FileNamesIn(dir.Path()), std::set<std::string>{"KAO_M.VX9"});
  }
}

}  // namespace
}  // namespace k4r
