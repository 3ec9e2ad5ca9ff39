#include "demo/PaletteReducer.h"

#include <algorithm>
#include <cstddef>
#include <utility>

namespace k4r::demo {
namespace {

constexpr std::size_t kPaletteSize = 256;

struct Shade {
  std::uint32_t rgb = 0;  // 0xRRGGBB
  std::uint32_t count = 0;
};

int Channel(std::uint32_t rgb, int channel) {
  return static_cast<int>((rgb >> (16 - 8 * channel)) & 0xFF);
}

// Pixel-weighted sums over a run of shades: enough for its mean and its
// squared error. Integer, so the result does not depend on summing order.
struct Moments {
  std::uint64_t count = 0;
  std::array<std::uint64_t, 3> sum{}, squares{};

  void Add(const Shade& shade) {
    count += shade.count;
    for (std::size_t c = 0; c < 3; ++c) {
      const auto value = static_cast<std::uint64_t>(Channel(shade.rgb, static_cast<int>(c)));
      sum[c] += value * shade.count;
      squares[c] += value * value * shade.count;
    }
  }
  [[nodiscard]] Moments Minus(const Moments& other) const {
    Moments rest;
    rest.count = count - other.count;
    for (std::size_t c = 0; c < 3; ++c) {
      rest.sum[c] = sum[c] - other.sum[c];
      rest.squares[c] = squares[c] - other.squares[c];
    }
    return rest;
  }
  // Summed squared distance of the pixels from their mean, in one channel.
  [[nodiscard]] double Error(std::size_t c) const {
    if (count == 0) {
      return 0;
    }
    const auto total = static_cast<double>(sum[c]);
    return static_cast<double>(squares[c]) - total * total / static_cast<double>(count);
  }
  [[nodiscard]] double Error() const { return Error(0) + Error(1) + Error(2); }
  [[nodiscard]] Rgb Mean() const {
    const auto mean = [this](std::size_t c) { return static_cast<std::uint8_t>((sum[c] + count / 2) / count); };
    return Rgb{mean(0), mean(1), mean(2)};
  }
};

// One box of the colour cube: a run of shades in `shades`.
struct Box {
  std::size_t begin = 0, end = 0;
  Moments moments;
  double error = 0;  // of `moments`, kept: every round compares all boxes
  [[nodiscard]] bool Splits() const { return end - begin > 1; }
};

Box MakeBox(const std::vector<Shade>& shades, std::size_t begin, std::size_t end) {
  Box box{begin, end, {}, 0};
  for (std::size_t i = begin; i < end; ++i) {
    box.moments.Add(shades[i]);
  }
  box.error = box.moments.Error();
  return box;
}

// Cuts `box` along its channel of largest variance, where the two halves
// keep the least squared error; returns the upper half.
Box Split(std::vector<Shade>& shades, Box& box) {
  std::size_t channel = 0;
  for (std::size_t c = 1; c < 3; ++c) {
    if (box.moments.Error(c) > box.moments.Error(channel)) {
      channel = c;
    }
  }
  const auto first = shades.begin() + static_cast<std::ptrdiff_t>(box.begin);
  const auto last = shades.begin() + static_cast<std::ptrdiff_t>(box.end);
  // Ties broken by the whole colour: the same order with every standard library.
  std::sort(first, last, [channel](const Shade& a, const Shade& b) {
    const int ca = Channel(a.rgb, static_cast<int>(channel)), cb = Channel(b.rgb, static_cast<int>(channel));
    return ca != cb ? ca < cb : a.rgb < b.rgb;
  });
  Moments lower;
  std::size_t bestCut = box.begin + 1;
  double bestError = -1;
  for (std::size_t cut = box.begin + 1; cut < box.end; ++cut) {
    lower.Add(shades[cut - 1]);
    const double error = lower.Error() + box.moments.Minus(lower).Error();
    if (bestError < 0 || error < bestError) {
      bestError = error;
      bestCut = cut;
    }
  }
  Box upper = MakeBox(shades, bestCut, box.end);
  box = MakeBox(shades, box.begin, bestCut);
  return upper;
}

}  // namespace

PalettePicture ReducePalette(const QImage& source) {
  const QImage image = source.convertToFormat(QImage::Format_RGB32);
  std::vector<std::uint32_t> pixels;
  pixels.reserve(static_cast<std::size_t>(image.width()) * static_cast<std::size_t>(image.height()));
  for (int y = 0; y < image.height(); ++y) {
    const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
    for (int x = 0; x < image.width(); ++x) {
      pixels.push_back(line[x] & 0xFFFFFFu);
    }
  }
  std::vector<std::uint32_t> sorted = pixels;
  std::sort(sorted.begin(), sorted.end());
  std::vector<Shade> shades;
  for (const std::uint32_t rgb : sorted) {
    if (shades.empty() || shades.back().rgb != rgb) {
      shades.push_back({rgb, 0});
    }
    ++shades.back().count;
  }

  PalettePicture result;
  if (shades.empty()) {
    return result;
  }
  std::vector<Box> boxes{MakeBox(shades, 0, shades.size())};
  while (boxes.size() < kPaletteSize) {
    const auto worst = std::max_element(boxes.begin(), boxes.end(), [](const Box& a, const Box& b) {
      return a.Splits() != b.Splits() ? b.Splits() : a.error < b.error;
    });
    if (!worst->Splits()) {
      break;  // every box holds a single shade: the picture has few colours
    }
    boxes.push_back(Split(shades, *worst));
  }

  // Each pixel takes its own box's entry: exact for the means, and no search.
  std::vector<std::pair<std::uint32_t, std::uint8_t>> entryOf;
  entryOf.reserve(shades.size());
  for (std::size_t index = 0; index < boxes.size(); ++index) {
    result.colours[index] = boxes[index].moments.Mean();
    for (std::size_t i = boxes[index].begin; i < boxes[index].end; ++i) {
      entryOf.emplace_back(shades[i].rgb, static_cast<std::uint8_t>(index));
    }
  }
  std::sort(entryOf.begin(), entryOf.end());
  result.pixels.reserve(pixels.size());
  for (const std::uint32_t rgb : pixels) {
    const auto found = std::lower_bound(entryOf.begin(), entryOf.end(), std::pair<std::uint32_t, std::uint8_t>{rgb, 0});
    result.pixels.push_back(found->second);
  }
  return result;
}

}  // namespace k4r::demo
