#include "core/FaceArchive.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <limits>
#include <vector>

#include "core/Messages.h"
#include "support/TempDir.h"

namespace k4r {
namespace {

using testing::TempDir;
using testing::WriteBytes;

constexpr std::int64_t kImageSize = face_file::kImageSize;

void PutInt32Le(ByteString& bytes, std::int64_t at, std::int32_t value) {
  const auto bits = static_cast<std::uint32_t>(value);
  for (int i = 0; i < 4; ++i) {
    bytes[static_cast<std::size_t>(at + i)] = static_cast<char>((bits >> (8 * i)) & 0xFF);
  }
}

void PutByte(ByteString& bytes, std::int64_t at, int value) {
  bytes[static_cast<std::size_t>(at)] = static_cast<char>(value);
}

// The picture every generated image carries, given a seed: the colour number
// encodes the position, and the colour of each number encodes the seed, so a
// swapped row, column, palette channel or image shows.
std::uint8_t ExpectedIndex(int seed, int x, int y) {
  return static_cast<std::uint8_t>((x + 3 * y + seed) & 0xFF);
}
Rgb ExpectedColour(int seed, int k) {
  return Rgb{static_cast<std::uint8_t>(k), static_cast<std::uint8_t>((255 - k + seed) & 0xFF),
             static_cast<std::uint8_t>((k * 7 + seed) & 0xFF)};
}

// Writes an image at `start` of `bytes`. The bytes the reader must skip
// (lead-in, fourth palette byte, row tails) are filled with `junk`.
void PutImage(ByteString& bytes, std::int64_t start, int seed, int junk = 0xEE) {
  for (std::int64_t i = 0; i < kImageSize; ++i) {
    PutByte(bytes, start + i, junk);
  }
  for (int k = 0; k < 256; ++k) {
    const Rgb colour = ExpectedColour(seed, k);
    const std::int64_t entry = start + face_file::kPaletteOffset + 4 * k;
    PutByte(bytes, entry, colour.blue);
    PutByte(bytes, entry + 1, colour.green);
    PutByte(bytes, entry + 2, colour.red);
  }
  for (int y = 0; y < FacePortrait::kHeight; ++y) {
    for (int x = 0; x < FacePortrait::kWidth; ++x) {
      PutByte(bytes, start + face_file::kPixelsOffset + face_file::kRowStride * y + x, ExpectedIndex(seed, x, y));
    }
  }
}

// A face file of `imageCount` images packed after the table; face i shows
// image i % imageCount.
ByteString MakeArchive(int imageCount, int junk = 0xEE) {
  ByteString bytes(static_cast<std::size_t>(face_file::kTableEnd + imageCount * kImageSize), static_cast<char>(junk));
  for (int image = 0; image < imageCount; ++image) {
    PutImage(bytes, face_file::kTableEnd + image * kImageSize, image, junk);
  }
  for (int face = 0; face < face_file::kFaceCount; ++face) {
    PutInt32Le(bytes, face_file::kTableOffset + face_file::kTableStride * face,
               static_cast<std::int32_t>(face_file::kTableEnd + (face % imageCount) * kImageSize));
  }
  return bytes;
}

void ExpectShowsImage(const FacePortrait& portrait, int seed) {
  for (int k = 0; k < 256; ++k) {
    ASSERT_EQ(portrait.colours[static_cast<std::size_t>(k)], ExpectedColour(seed, k)) << "colour " << k;
  }
  for (int y = 0; y < FacePortrait::kHeight; ++y) {
    for (int x = 0; x < FacePortrait::kWidth; ++x) {
      ASSERT_EQ(portrait.pixels[static_cast<std::size_t>(y * FacePortrait::kWidth + x)], ExpectedIndex(seed, x, y))
          << "pixel " << x << "," << y;
    }
  }
}

// Records what DrawPortrait sets, point by point.
class RecordingSurface final : public PixelSurface {
 public:
  void SetPixel(int x, int y, Rgb colour) override { calls.push_back({x, y, colour}); }
  struct Call {
    int x, y;
    Rgb colour;
  };
  std::vector<Call> calls;
};

class FaceArchiveTest : public ::testing::Test {
 protected:
  std::filesystem::path Write(const ByteString& bytes) {
    WriteBytes(path_, bytes);
    return path_;
  }
  TempDir dir_;
  std::filesystem::path path_ = dir_ / "KAO_M.VX9";
};

TEST_F(FaceArchiveTest, FirstAndLastTableEntriesNameTheirImages) {
  // Face 0's entry at 28, face 999's at 20,008: give them images of their own.
  ByteString bytes = MakeArchive(3);
  PutInt32Le(bytes, 28, static_cast<std::int32_t>(face_file::kTableEnd + 2 * kImageSize));
  PutInt32Le(bytes, 20'008, static_cast<std::int32_t>(face_file::kTableEnd + 1 * kImageSize));
  FaceArchive archive;
  ASSERT_TRUE(archive.LoadOffsetTable(Write(bytes)).ok());
  ASSERT_TRUE(archive.HasTable());
  EXPECT_EQ(archive.Path(), path_);
  EXPECT_EQ(archive.ImageOffset(0), face_file::kTableEnd + 2 * kImageSize);
  EXPECT_EQ(archive.ImageOffset(999), face_file::kTableEnd + kImageSize);

  const struct {
    int face;
    int image;
  } cases[] = {{0, 2}, {1, 1}, {2, 2}, {3, 0}, {998, 2}, {999, 1}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.face);
    Result<FacePortrait> portrait = archive.ReadPortrait(c.face);
    ASSERT_TRUE(portrait.ok()) << portrait.failure().message;
    ExpectShowsImage(portrait.value(), c.image);
  }
}

TEST_F(FaceArchiveTest, ColourNumber255UsesTheLastPaletteEntry) {
  ByteString bytes = MakeArchive(1);
  const std::int64_t start = face_file::kTableEnd;
  PutByte(bytes, start + 1042, 0x12);  // blue
  PutByte(bytes, start + 1043, 0x34);  // green
  PutByte(bytes, start + 1044, 0x56);  // red
  PutByte(bytes, start + face_file::kPixelsOffset + 5, 255);
  FaceArchive archive;
  ASSERT_TRUE(archive.LoadOffsetTable(Write(bytes)).ok());
  Result<FacePortrait> portrait = archive.ReadPortrait(0);
  ASSERT_TRUE(portrait.ok());
  EXPECT_EQ(portrait.value().colours[255], (Rgb{0x56, 0x34, 0x12}));

  RecordingSurface surface;
  DrawPortrait(portrait.value(), surface);
  ASSERT_EQ(surface.calls.size(), std::size_t{96 * 120});
  bool found = false;
  for (const auto& call : surface.calls) {
    if (call.x == 5 && call.y == 0) {
      EXPECT_EQ(call.colour, (Rgb{0x56, 0x34, 0x12}));
      found = true;
    }
  }
  EXPECT_TRUE(found);
}

TEST_F(FaceArchiveTest, SkippedBytesNeverChangeThePicture) {
  // The lead-in, the fourth byte of each colour and bytes 96..127 of each row
  // differ between the two files; the pictures must not.
  FaceArchive zeros;
  FaceArchive ones;
  ASSERT_TRUE(zeros.LoadOffsetTable(Write(MakeArchive(1, 0x00))).ok());
  Result<FacePortrait> fromZeros = zeros.ReadPortrait(0);
  ASSERT_TRUE(ones.LoadOffsetTable(Write(MakeArchive(1, 0xFF))).ok());
  Result<FacePortrait> fromOnes = ones.ReadPortrait(0);
  ASSERT_TRUE(fromZeros.ok());
  ASSERT_TRUE(fromOnes.ok());
  ExpectShowsImage(fromZeros.value(), 0);
  ExpectShowsImage(fromOnes.value(), 0);
}

TEST_F(FaceArchiveTest, DrawsEveryPointOnceRowZeroAtTheTop) {
  FaceArchive archive;
  ASSERT_TRUE(archive.LoadOffsetTable(Write(MakeArchive(2))).ok());
  Result<FacePortrait> portrait = archive.ReadPortrait(1);
  ASSERT_TRUE(portrait.ok());

  RecordingSurface surface;
  DrawPortrait(portrait.value(), surface);
  std::vector<int> times(96 * 120, 0);
  for (const auto& call : surface.calls) {
    ASSERT_TRUE(call.x >= 0 && call.x < 96 && call.y >= 0 && call.y < 120) << call.x << "," << call.y;
    ++times[static_cast<std::size_t>(call.y * 96 + call.x)];
    // The first row in the file is row 0 of the surface.
    EXPECT_EQ(call.colour, ExpectedColour(1, ExpectedIndex(1, call.x, call.y)));
  }
  for (int count : times) {
    ASSERT_EQ(count, 1);
  }
}

TEST_F(FaceArchiveTest, ImagesNotWhollyInsideTheFileFail) {
  const ByteString good = MakeArchive(1);
  const auto size = static_cast<std::int64_t>(good.size());
  const std::int32_t int32Max = std::numeric_limits<std::int32_t>::max();
  const struct {
    const char* name;
    std::int32_t offset;
    bool readable;
  } cases[] = {
      {"exactly at the end", static_cast<std::int32_t>(size - kImageSize), true},
      {"at zero, overlapping the table", 0, true},
      {"one byte past the end", static_cast<std::int32_t>(size - kImageSize + 1), false},
      {"starting at the end", static_cast<std::int32_t>(size), false},
      {"far past the end", static_cast<std::int32_t>(size * 4), false},
      {"minus one", -1, false},
      {"most negative", std::numeric_limits<std::int32_t>::min(), false},
      {"largest", int32Max, false},
      {"largest less the image", int32Max - static_cast<std::int32_t>(kImageSize) + 1, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    ByteString bytes = good;
    PutInt32Le(bytes, face_file::kTableOffset + face_file::kTableStride * 7, c.offset);
    FaceArchive archive;
    ASSERT_TRUE(archive.LoadOffsetTable(Write(bytes)).ok());
    EXPECT_EQ(archive.ImageOffset(7), c.offset);
    Result<FacePortrait> portrait = archive.ReadPortrait(7);
    EXPECT_EQ(portrait.ok(), c.readable);
    if (!portrait.ok()) {
      EXPECT_FALSE(portrait.failure().message.empty());
    }
    // Its neighbours are untouched.
    EXPECT_TRUE(archive.ReadPortrait(6).ok());
  }
}

TEST_F(FaceArchiveTest, TruncatedFiles) {
  const ByteString full = MakeArchive(1);
  const struct {
    std::int64_t length;
    bool tableLoads;
    bool imageReads;
  } cases[] = {
      {0, false, false},
      {28, false, false},
      {face_file::kTableEnd - 1, false, false},
      {face_file::kTableEnd, true, false},
      {face_file::kTableEnd + face_file::kPixelsOffset, true, false},
      {face_file::kTableEnd + kImageSize - 33, true, false},  // the last row is cut
      {face_file::kTableEnd + kImageSize - 1, true, false},
      {face_file::kTableEnd + kImageSize, true, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.length);
    FaceArchive archive;
    const Status loaded = archive.LoadOffsetTable(Write(full.substr(0, static_cast<std::size_t>(c.length))));
    EXPECT_EQ(loaded.ok(), c.tableLoads);
    EXPECT_EQ(archive.HasTable(), c.tableLoads);
    Result<FacePortrait> portrait = archive.ReadPortrait(0);
    EXPECT_EQ(portrait.ok(), c.imageReads);
    if (portrait.ok()) {
      ExpectShowsImage(portrait.value(), 0);
    }
  }
}

TEST_F(FaceArchiveTest, AFailedLoadDropsTheOldTable) {
  FaceArchive archive;
  ASSERT_TRUE(archive.LoadOffsetTable(Write(MakeArchive(1))).ok());
  const std::filesystem::path shortFile = dir_ / "short.VX9";
  WriteBytes(shortFile, ByteString(100, '\0'));
  EXPECT_FALSE(archive.LoadOffsetTable(shortFile).ok());
  EXPECT_FALSE(archive.HasTable());
  EXPECT_FALSE(archive.ReadPortrait(0).ok());
}

TEST_F(FaceArchiveTest, MissingOrUnopenableFile) {
  const std::filesystem::path missing = dir_ / "missing.VX9";
  FaceArchive archive;
  const Status loaded = archive.LoadOffsetTable(missing);
  ASSERT_FALSE(loaded.ok());
  EXPECT_EQ(loaded.failure().message, messages::CannotOpen(missing));
  EXPECT_FALSE(archive.HasTable());

  FaceArchive folder;
  EXPECT_FALSE(folder.LoadOffsetTable(dir_.Path()).ok());
  EXPECT_FALSE(folder.HasTable());
}

TEST_F(FaceArchiveTest, FileRemovedAfterStartIsReportedAsCannotOpen) {
  FaceArchive archive;
  ASSERT_TRUE(archive.LoadOffsetTable(Write(MakeArchive(1))).ok());
  std::filesystem::remove(path_);
  Result<FacePortrait> portrait = archive.ReadPortrait(0);
  ASSERT_FALSE(portrait.ok());
  EXPECT_EQ(portrait.failure().message, messages::CannotOpen(path_));
}

TEST_F(FaceArchiveTest, FileChangedOnDiskGivesNewPicturesThroughTheOldTable) {
  FaceArchive archive;
  ASSERT_TRUE(archive.LoadOffsetTable(Write(MakeArchive(2))).ok());
  ASSERT_EQ(archive.ImageOffset(1), face_file::kTableEnd + kImageSize);

  // The new file swaps its two images and points every table entry at the
  // first one; the archive still reads at the old offsets.
  ByteString changed = MakeArchive(2);
  PutImage(changed, face_file::kTableEnd, 41);
  PutImage(changed, face_file::kTableEnd + kImageSize, 40);
  for (int face = 0; face < face_file::kFaceCount; ++face) {
    PutInt32Le(changed, face_file::kTableOffset + face_file::kTableStride * face,
               static_cast<std::int32_t>(face_file::kTableEnd));
  }
  Write(changed);

  EXPECT_EQ(archive.ImageOffset(1), face_file::kTableEnd + kImageSize);
  Result<FacePortrait> first = archive.ReadPortrait(0);
  Result<FacePortrait> second = archive.ReadPortrait(1);
  ASSERT_TRUE(first.ok());
  ASSERT_TRUE(second.ok());
  ExpectShowsImage(first.value(), 41);
  ExpectShowsImage(second.value(), 40);

  // Cut short on disk: the old table now points past the end.
  Write(changed.substr(0, static_cast<std::size_t>(face_file::kTableEnd + kImageSize)));
  EXPECT_TRUE(archive.ReadPortrait(0).ok());
  EXPECT_FALSE(archive.ReadPortrait(1).ok());
}

TEST_F(FaceArchiveTest, FaceNumbersOutsideTheTableFail) {
  FaceArchive archive;
  ASSERT_TRUE(archive.LoadOffsetTable(Write(MakeArchive(1))).ok());
  for (const ListPosition face : {kNoSelection, -2, 1000, 1001, std::numeric_limits<ListPosition>::min(),
                                  std::numeric_limits<ListPosition>::max()}) {
    SCOPED_TRACE(face);
    Result<FacePortrait> portrait = archive.ReadPortrait(face);
    ASSERT_FALSE(portrait.ok());
    EXPECT_FALSE(portrait.failure().message.empty());
  }
  EXPECT_TRUE(archive.ReadPortrait(999).ok());
}

TEST_F(FaceArchiveTest, NothingReadsWithoutATable) {
  Write(MakeArchive(1));
  const FaceArchive archive;
  EXPECT_FALSE(archive.HasTable());
  EXPECT_FALSE(archive.ReadPortrait(0).ok());
}

}  // namespace
}  // namespace k4r
