// The face archive read from arbitrary files with arbitrary face numbers.
// The file lives in a memory file (memfd), opened through its /proc path as
// any other file. Properties:
// - the table loads exactly when the file holds all of it, and then holds
//   the file's offsets;
// - a portrait is read exactly when the face number is inside the table and
//   its whole image lies inside the file, and then matches the bytes there;
// - otherwise the read fails with the read error, without touching memory
//   outside the file's bytes (AddressSanitizer watches that).
#include <fuzzer/FuzzedDataProvider.h>
#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "core/Bytes.h"
#include "core/FaceArchive.h"
#include "core/Messages.h"

namespace {
using namespace k4r;
namespace F = k4r::face_file;

void Require(bool condition, const char* what) {
  if (!condition) {
    std::fprintf(stderr, "property broken: %s\n", what);
    std::abort();
  }
}

// One memory file for the whole run, rewritten for every input.
int MemoryFile() {
  static const int fd = [] {
    const int created = ::memfd_create("k4r-face-fuzz", MFD_CLOEXEC);
    Require(created >= 0, "memfd_create works");
    return created;
  }();
  return fd;
}

void Store(const ByteString& content) {
  const int fd = MemoryFile();
  Require(::ftruncate(fd, 0) == 0, "the memory file can be emptied");
  std::size_t done = 0;
  while (done < content.size()) {
    const ssize_t written = ::pwrite(fd, content.data() + done, content.size() - done, static_cast<off_t>(done));
    Require(written > 0, "the memory file takes the bytes");
    done += static_cast<std::size_t>(written);
  }
}

void PutInt32(ByteString& file, std::size_t at, std::int32_t value) {
  for (std::size_t i = 0; i < 4 && at + i < file.size(); ++i) {
    file[at + i] = static_cast<char>((static_cast<std::uint32_t>(value) >> (8 * i)) & 0xFF);
  }
}

std::int32_t GetInt32(const ByteString& file, std::size_t at) {
  std::uint32_t value = 0;
  for (std::size_t i = 0; i < 4; ++i) {
    value |= std::uint32_t{static_cast<unsigned char>(file[at + i])} << (8 * i);
  }
  return static_cast<std::int32_t>(value);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
  FuzzedDataProvider data(bytes, size);
  // A file of any length around the table and one or two images, with some
  // table entries aimed by the input and the rest of the input as content.
  const std::size_t length = data.ConsumeIntegralInRange<std::size_t>(0, 2 * F::kTableEnd + F::kImageSize);
  const std::size_t aimed = data.ConsumeIntegralInRange<std::size_t>(0, 8);
  std::vector<std::pair<int, std::int32_t>> entries;
  for (std::size_t i = 0; i < aimed; ++i) {
    const int face = data.ConsumeIntegralInRange<int>(0, F::kFaceCount - 1);
    const std::int32_t offset = data.ConsumeBool()
                                    ? data.ConsumeIntegralInRange<std::int32_t>(-2, static_cast<std::int32_t>(length))
                                    : data.ConsumeIntegral<std::int32_t>();
    entries.emplace_back(face, offset);
  }
  std::vector<ListPosition> faces;
  const std::size_t reads = data.ConsumeIntegralInRange<std::size_t>(1, 6);
  for (std::size_t i = 0; i < reads; ++i) {
    faces.push_back(data.ConsumeBool() ? data.ConsumeIntegralInRange<ListPosition>(-2, F::kFaceCount + 1)
                                       : data.ConsumeIntegral<ListPosition>());
  }
  ByteString file(length, '\0');
  const std::size_t contentAt = data.ConsumeIntegralInRange<std::size_t>(0, length);
  const ByteString content = data.ConsumeRemainingBytesAsString();
  file.replace(contentAt, std::min(content.size(), length - contentAt), content, 0, length - contentAt);
  for (const auto& [face, offset] : entries) {
    PutInt32(file, static_cast<std::size_t>(F::kTableOffset + F::kTableStride * face), offset);
  }
  Store(file);

  const std::string path = "/proc/self/fd/" + std::to_string(MemoryFile());
  FaceArchive archive;
  const Status loaded = archive.LoadOffsetTable(path);
  const bool wholeTable = static_cast<std::int64_t>(file.size()) >= F::kTableEnd;
  Require(loaded.ok() == wholeTable, "the table loads exactly when the file holds it");
  Require(archive.HasTable() == wholeTable, "a failed load leaves no table");

  for (const ListPosition face : faces) {
    const Result<FacePortrait> portrait = archive.ReadPortrait(face);
    const bool inTable = wholeTable && face >= 0 && face < F::kFaceCount;
    const std::int64_t start =
        inTable ? GetInt32(file, static_cast<std::size_t>(F::kTableOffset + F::kTableStride * face)) : -1;
    Require(archive.ImageOffset(face) == (inTable ? start : -1), "the table holds the file's offsets");
    const bool inside = inTable && start >= 0 && start + F::kImageSize <= static_cast<std::int64_t>(file.size());
    Require(portrait.ok() == inside, "a portrait is read exactly when its image lies inside the file");
    if (!portrait) {
      Require(portrait.failure().message == messages::ReadErrorIn(path),
              "a picture outside the file is a read error of it");
      continue;
    }
    const FacePortrait& picture = portrait.value();
    const auto at = [&](std::int64_t offset) {
      return static_cast<std::uint8_t>(file[static_cast<std::size_t>(start + offset)]);
    };
    for (int k = 0; k < 256; ++k) {
      const Rgb expected{at(F::kPaletteOffset + 4 * k + 2), at(F::kPaletteOffset + 4 * k + 1),
                         at(F::kPaletteOffset + 4 * k)};
      Require(picture.colours[static_cast<std::size_t>(k)] == expected, "the colour table matches the file");
    }
    for (int y = 0; y < FacePortrait::kHeight; ++y) {
      for (int x = 0; x < FacePortrait::kWidth; ++x) {
        Require(picture.pixels[static_cast<std::size_t>(y * FacePortrait::kWidth + x)] ==
                    at(F::kPixelsOffset + F::kRowStride * y + x),
                "the pixels match the file");
      }
    }
  }
  return 0;
}
