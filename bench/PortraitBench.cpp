// One portrait from the 1000-face demo file: the editor's way (the face's
// 16,406 bytes, then DrawPortrait into a QImage) against reading the whole
// file first and decoding from memory. Both draw the same way; both cycle
// through the faces so that every read is a different part of the file
// (from the page cache after the first pass).

#include <benchmark/benchmark.h>

#include <cstring>
#include <stdexcept>

#include "BenchSupport.h"
#include "bridge/PortraitImage.h"
#include "core/FaceArchive.h"
#include "core/FileRead.h"

namespace k4r::bench {
namespace {

FaceArchive OpenArchive() {
  FaceArchive archive;
  if (!archive.LoadOffsetTable(Demo().faceFile)) {
    throw std::runtime_error("cannot read the demo face table");
  }
  return archive;
}

// The image of one face decoded from the whole file in memory, the layout
// read exactly as FaceArchive reads it.
FacePortrait DecodeFromWholeFile(ByteView file, std::int64_t start) {
  const ByteView bytes = file.substr(static_cast<std::size_t>(start), static_cast<std::size_t>(face_file::kImageSize));
  FacePortrait portrait;
  for (std::size_t k = 0; k < portrait.colours.size(); ++k) {
    const std::size_t entry = static_cast<std::size_t>(face_file::kPaletteOffset) + 4 * k;
    portrait.colours[k] = Rgb{static_cast<std::uint8_t>(bytes[entry + 2]), static_cast<std::uint8_t>(bytes[entry + 1]),
                              static_cast<std::uint8_t>(bytes[entry])};
  }
  for (int y = 0; y < FacePortrait::kHeight; ++y) {
    const std::size_t row = static_cast<std::size_t>(face_file::kPixelsOffset + face_file::kRowStride * y);
    std::memcpy(portrait.pixels.data() + static_cast<std::size_t>(y * FacePortrait::kWidth), bytes.data() + row,
                FacePortrait::kWidth);
  }
  return portrait;
}

void BM_PortraitFaceRange(benchmark::State& state) {
  const FaceArchive archive = OpenArchive();
  int face = 0;
  for (auto _ : state) {
    Result<FacePortrait> portrait = archive.ReadPortrait(face);
    if (!portrait) {
      state.SkipWithError("ReadPortrait failed");
      break;
    }
    QImage image = bridge::PortraitToImage(portrait.value());
    benchmark::DoNotOptimize(image.constBits());
    face = (face + 1) % face_file::kFaceCount;
  }
}

void BM_PortraitWholeFile(benchmark::State& state) {
  const FaceArchive archive = OpenArchive();
  int face = 0;
  for (auto _ : state) {
    Result<ByteString> file = ReadWholeFile(archive.Path());
    if (!file) {
      state.SkipWithError("ReadWholeFile failed");
      break;
    }
    const FacePortrait portrait = DecodeFromWholeFile(file.value(), archive.ImageOffset(face));
    QImage image = bridge::PortraitToImage(portrait);
    benchmark::DoNotOptimize(image.constBits());
    face = (face + 1) % face_file::kFaceCount;
  }
}

// The two halves of the editor's way, to see where its time goes.
void BM_PortraitReadOnly(benchmark::State& state) {
  const FaceArchive archive = OpenArchive();
  int face = 0;
  for (auto _ : state) {
    Result<FacePortrait> portrait = archive.ReadPortrait(face);
    benchmark::DoNotOptimize(portrait);
    face = (face + 1) % face_file::kFaceCount;
  }
}

void BM_PortraitDrawOnly(benchmark::State& state) {
  const FaceArchive archive = OpenArchive();
  const FacePortrait portrait = archive.ReadPortrait(1).value();
  for (auto _ : state) {
    QImage image = bridge::PortraitToImage(portrait);
    benchmark::DoNotOptimize(image.constBits());
  }
}

}  // namespace

BENCHMARK(BM_PortraitFaceRange)->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK(BM_PortraitWholeFile)->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK(BM_PortraitReadOnly)->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK(BM_PortraitDrawOnly)->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly(true);

}  // namespace k4r::bench
