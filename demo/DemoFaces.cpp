// Packs the demo portraits into a face graphics file: each picture reduced
// to its own 256-colour palette, stored top row first.

#include "demo/DemoFaces.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <vector>

#include "core/face_archive.h"

namespace k4r::demo {
namespace {

// Images follow the table at a round stride; the 10 bytes between two images
// are padding no reader looks at.
constexpr std::int64_t kImageStride = 16'416;
constexpr std::int64_t kFirstImage = face_file::kTableEnd + 4;  // keeps every image 4-byte aligned
constexpr char kTag[] = "K4RDEMO";

struct Shade {
  std::uint32_t rgb = 0;  // 0xRRGGBB
  std::uint32_t count = 0;
};

int Channel(std::uint32_t rgb, int channel) {
  return static_cast<int>((rgb >> (16 - 8 * channel)) & 0xFF);
}

// One box of the colour cube: a run of shades, cut again along its widest side.
struct Box {
  std::size_t begin = 0, end = 0;
  int widest = 0, spread = 0;
};

void Measure(const std::vector<Shade>& shades, Box& box) {
  std::array<int, 3> low{255, 255, 255}, high{0, 0, 0};
  for (std::size_t i = box.begin; i < box.end; ++i) {
    for (int c = 0; c < 3; ++c) {
      low[static_cast<std::size_t>(c)] = std::min(low[static_cast<std::size_t>(c)], Channel(shades[i].rgb, c));
      high[static_cast<std::size_t>(c)] = std::max(high[static_cast<std::size_t>(c)], Channel(shades[i].rgb, c));
    }
  }
  box.spread = -1;
  for (int c = 0; c < 3; ++c) {
    const int spread = high[static_cast<std::size_t>(c)] - low[static_cast<std::size_t>(c)];
    if (spread > box.spread) {
      box.spread = spread;
      box.widest = c;
    }
  }
}

struct Indexed {
  std::array<Rgb, 256> colours{};
  std::vector<std::uint8_t> pixels;  // row by row from the top
};

// Median cut: split the box of widest colour spread at its pixel-weighted
// median until there are 256 boxes; each box's mean is one palette entry.
Indexed ReduceColours(const QImage& image) {
  const int width = image.width();
  const int height = image.height();
  std::vector<std::uint32_t> all;
  all.reserve(static_cast<std::size_t>(width * height));
  for (int y = 0; y < height; ++y) {
    const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
    for (int x = 0; x < width; ++x) {
      all.push_back(line[x] & 0xFFFFFFu);
    }
  }
  std::vector<std::uint32_t> sorted = all;
  std::sort(sorted.begin(), sorted.end());
  std::vector<Shade> shades;
  for (const std::uint32_t rgb : sorted) {
    if (shades.empty() || shades.back().rgb != rgb) {
      shades.push_back({rgb, 0});
    }
    ++shades.back().count;
  }

  std::vector<Box> boxes{{0, shades.size()}};
  Measure(shades, boxes.front());
  while (boxes.size() < 256) {
    auto widest = std::max_element(boxes.begin(), boxes.end(), [](const Box& a, const Box& b) {
      const bool aSplits = a.end - a.begin > 1, bSplits = b.end - b.begin > 1;
      return aSplits != bSplits ? bSplits : a.spread < b.spread;
    });
    if (widest->end - widest->begin < 2) {
      break;  // every box holds a single shade: the picture has few colours
    }
    Box& box = *widest;
    const int channel = box.widest;
    const auto first = shades.begin() + static_cast<std::ptrdiff_t>(box.begin);
    const auto last = shades.begin() + static_cast<std::ptrdiff_t>(box.end);
    std::sort(first, last,
              [channel](const Shade& a, const Shade& b) { return Channel(a.rgb, channel) < Channel(b.rgb, channel); });
    std::uint64_t total = 0;
    for (auto it = first; it != last; ++it) {
      total += it->count;
    }
    std::uint64_t running = 0;
    std::size_t cut = box.begin;
    while (cut < box.end - 1 && running + shades[cut].count <= total / 2) {
      running += shades[cut].count;
      ++cut;
    }
    cut = std::max(cut, box.begin + 1);
    Box upper{cut, box.end};
    box.end = cut;
    Measure(shades, box);
    Measure(shades, upper);
    boxes.push_back(upper);
  }

  Indexed result;
  std::vector<std::pair<std::uint32_t, std::uint8_t>> lookup;
  lookup.reserve(shades.size());
  for (std::size_t index = 0; index < boxes.size(); ++index) {
    std::array<std::uint64_t, 3> sum{};
    std::uint64_t count = 0;
    for (std::size_t i = boxes[index].begin; i < boxes[index].end; ++i) {
      for (int c = 0; c < 3; ++c) {
        sum[static_cast<std::size_t>(c)] +=
            std::uint64_t{shades[i].count} * static_cast<unsigned>(Channel(shades[i].rgb, c));
      }
      count += shades[i].count;
      lookup.emplace_back(shades[i].rgb, static_cast<std::uint8_t>(index));
    }
    const auto mean = [&](int c) {
      return static_cast<std::uint8_t>((sum[static_cast<std::size_t>(c)] + count / 2) / count);
    };
    result.colours[index] = Rgb{mean(0), mean(1), mean(2)};
  }
  std::sort(lookup.begin(), lookup.end());
  result.pixels.reserve(all.size());
  for (const std::uint32_t rgb : all) {
    const auto found = std::lower_bound(lookup.begin(), lookup.end(), std::pair<std::uint32_t, std::uint8_t>{rgb, 0});
    result.pixels.push_back(found->second);
  }
  return result;
}

void PutInt32Le(ByteString& bytes, std::int64_t at, std::uint32_t value) {
  for (int i = 0; i < 4; ++i) {
    bytes[static_cast<std::size_t>(at + i)] = static_cast<char>((value >> (8 * i)) & 0xFF);
  }
}

void PutImage(ByteString& bytes, std::int64_t start, const Indexed& picture) {
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
    PutImage(bytes, start, ReduceColours(RenderDemoFace(face)));
  }
  return bytes;
}

}  // namespace k4r::demo
