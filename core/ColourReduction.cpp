#include "core/ColourReduction.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <limits>
#include <unordered_map>
#include <utility>

namespace k4r {
namespace {

constexpr std::size_t kPaletteSize = 256;
// Rounds of moving each entry to the mean of the colours nearest to it after
// the box cut: the first few take most of the error away.
constexpr int kRefinementRounds = 4;
// Share of a pixel's error passed on to its neighbours. Full Floyd-Steinberg
// speckles the smooth skin of a 96 x 120 face; three quarters keeps the
// gradients free of bands without the grain.
constexpr int kDitherPercent = 75;

struct Shade {
  std::uint32_t rgb = 0;
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

struct Box {
  std::size_t begin = 0, end = 0;
  Moments moments;
  double error = 0;
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

std::vector<Shade> ShadesOf(std::span<const std::uint32_t> pixels) {
  std::vector<std::uint32_t> sorted(pixels.begin(), pixels.end());
  std::sort(sorted.begin(), sorted.end());
  std::vector<Shade> shades;
  for (const std::uint32_t rgb : sorted) {
    if (shades.empty() || shades.back().rgb != rgb) {
      shades.push_back({rgb, 0});
    }
    ++shades.back().count;
  }
  return shades;
}

int SquaredDistance(int r, int g, int b, Rgb colour) {
  const int dr = r - colour.red, dg = g - colour.green, db = b - colour.blue;
  return dr * dr + dg * dg + db * db;
}

// Nearest entry of a colour table. The entries are kept sorted by green, so
// a search walks out from the wanted green and stops once the green distance
// alone is worse than the best found: a small part of the 256 entries.
class NearestColour {
 public:
  explicit NearestColour(std::span<const Rgb> colours) : colours_(colours) {
    order_.reserve(colours.size());
    for (std::size_t i = 0; i < colours.size(); ++i) {
      order_.push_back({colours[i], static_cast<std::uint8_t>(i)});
    }
    // Equal colours in table order: the first of them is found.
    std::stable_sort(order_.begin(), order_.end(),
                     [](const Entry& a, const Entry& b) { return a.colour.green < b.colour.green; });
  }

  // `guess`, an entry likely to be near (the last answer for a neighbour),
  // only makes the walk shorter: the answer is the same without it.
  [[nodiscard]] std::uint8_t Find(int r, int g, int b, std::uint8_t guess = 0) const {
    const auto start = std::lower_bound(order_.begin(), order_.end(), g,
                                        [](const Entry& entry, int green) { return entry.colour.green < green; });
    std::uint8_t found = guess < colours_.size() ? guess : 0;
    int best = SquaredDistance(r, g, b, colours_[found]);
    const auto consider = [&](const Entry& entry) {
      const int distance = SquaredDistance(r, g, b, entry.colour);
      if (distance < best || (distance == best && entry.number < found)) {
        best = distance;
        found = entry.number;
      }
    };
    for (auto up = start; up != order_.end(); ++up) {
      const int dg = up->colour.green - g;
      if (dg * dg > best) {
        break;
      }
      consider(*up);
    }
    for (auto down = start; down != order_.begin();) {
      --down;
      const int dg = g - down->colour.green;
      if (dg * dg > best) {
        break;
      }
      consider(*down);
    }
    return found;
  }

 private:
  struct Entry {
    Rgb colour;
    std::uint8_t number = 0;
  };
  std::span<const Rgb> colours_;
  std::vector<Entry> order_;
};

// Moves each entry to the pixel-weighted mean of the shades nearest to it,
// a few rounds or until nothing moves. Entries no shade chooses stay.
void Refine(std::vector<Rgb>& colours, const std::vector<Shade>& shades) {
  std::vector<std::uint8_t> nearestOf(shades.size(), 0);  // each round starts from the last one's
  for (int round = 0; round < kRefinementRounds; ++round) {
    std::vector<Moments> groups(colours.size());
    const NearestColour nearest(colours);
    for (std::size_t i = 0; i < shades.size(); ++i) {
      const Shade& shade = shades[i];
      nearestOf[i] = nearest.Find(Channel(shade.rgb, 0), Channel(shade.rgb, 1), Channel(shade.rgb, 2), nearestOf[i]);
      groups[nearestOf[i]].Add(shade);
    }
    bool moved = false;
    for (std::size_t i = 0; i < colours.size(); ++i) {
      if (groups[i].count == 0) {
        continue;
      }
      const Rgb mean = groups[i].Mean();
      moved = moved || !(mean == colours[i]);
      colours[i] = mean;
    }
    if (!moved) {
      return;
    }
  }
}

// Floyd-Steinberg over the picture, rows in alternating directions so the
// error does not drift to one side.
void MapDithered(std::span<const Rgb> picture, const NearestColour& nearest, std::span<const Rgb> colours,
                 FacePortrait& face) {
  constexpr int kWidth = FacePortrait::kWidth;
  // Error carried into this row and the next, in 1/16 of a level, per channel;
  // one column of margin on either side.
  std::vector<std::array<int, 3>> here(kWidth + 2), next(kWidth + 2);
  std::uint8_t last = 0;
  for (int y = 0; y < FacePortrait::kHeight; ++y) {
    const bool leftToRight = y % 2 == 0;
    const int step = leftToRight ? 1 : -1;
    for (int i = 0; i < kWidth; ++i) {
      const int x = leftToRight ? i : kWidth - 1 - i;
      const auto at = static_cast<std::size_t>(y * kWidth + x);
      const Rgb source = picture[at];
      const std::array<int, 3> wanted = {
          std::clamp(source.red + here[static_cast<std::size_t>(x + 1)][0] / 16, 0, 255),
          std::clamp(source.green + here[static_cast<std::size_t>(x + 1)][1] / 16, 0, 255),
          std::clamp(source.blue + here[static_cast<std::size_t>(x + 1)][2] / 16, 0, 255)};
      const std::uint8_t number = nearest.Find(wanted[0], wanted[1], wanted[2], last);
      last = number;
      face.pixels[at] = number;
      const Rgb got = colours[number];
      const std::array<int, 3> error = {(wanted[0] - got.red) * kDitherPercent / 100,
                                        (wanted[1] - got.green) * kDitherPercent / 100,
                                        (wanted[2] - got.blue) * kDitherPercent / 100};
      const auto ahead = static_cast<std::size_t>(x + 1 + step);
      const auto behind = static_cast<std::size_t>(x + 1 - step);
      const auto below = static_cast<std::size_t>(x + 1);
      for (std::size_t c = 0; c < 3; ++c) {
        here[ahead][c] += error[c] * 7;
        next[behind][c] += error[c] * 3;
        next[below][c] += error[c] * 5;
        next[ahead][c] += error[c];
      }
    }
    here.swap(next);
    std::fill(next.begin(), next.end(), std::array<int, 3>{});
  }
}

// The present table serves when it holds every colour of the picture.
bool MapOntoPresent(std::span<const Rgb> picture, const FacePortrait& present, FacePortrait& face) {
  std::unordered_map<std::uint32_t, std::uint8_t> numberOf;
  for (std::size_t k = present.colours.size(); k-- > 0;) {
    numberOf[PackRgb(present.colours[k])] = static_cast<std::uint8_t>(k);  // the first of equal entries
  }
  for (std::size_t i = 0; i < picture.size(); ++i) {
    if (picture[i] == present.colours[present.pixels[i]]) {
      face.pixels[i] = present.pixels[i];
      continue;
    }
    const auto found = numberOf.find(PackRgb(picture[i]));
    if (found == numberOf.end()) {
      return false;
    }
    face.pixels[i] = found->second;
  }
  face.colours = present.colours;
  return true;
}

// Up to 256 boxes over `shades` (which it reorders), largest error cut first.
std::vector<Box> CutBoxes(std::vector<Shade>& shades) {
  if (shades.empty()) {
    return {};
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
  return boxes;
}

}  // namespace

VarianceCutResult VarianceCut(std::span<const std::uint32_t> pixels) {
  std::vector<Shade> shades = ShadesOf(pixels);
  const std::vector<Box> boxes = CutBoxes(shades);
  VarianceCutResult result;
  // Each pixel takes its own box's entry: exact for the means, and no search.
  std::vector<std::pair<std::uint32_t, std::uint8_t>> entryOf;
  entryOf.reserve(shades.size());
  for (std::size_t index = 0; index < boxes.size(); ++index) {
    result.colours.push_back(boxes[index].moments.Mean());
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

FacePortrait ReduceToFace(std::span<const Rgb> picture, const FacePortrait& present, const ReductionOptions& options) {
  FacePortrait face;
  if (picture.size() != face.pixels.size()) {
    return present;
  }
  if (MapOntoPresent(picture, present, face)) {
    return face;
  }
  face.colours = present.colours;
  std::vector<Rgb> colours(present.colours.begin(), present.colours.end());
  if (options.palette == PaletteChoice::New) {
    std::vector<std::uint32_t> packed;
    packed.reserve(picture.size());
    for (const Rgb colour : picture) {
      packed.push_back(PackRgb(colour));
    }
    std::vector<Shade> shades = ShadesOf(packed);
    colours.clear();
    for (const Box& box : CutBoxes(shades)) {
      colours.push_back(box.moments.Mean());
    }
    // Few colours come back exact; refining could only blur them.
    if (shades.size() > kPaletteSize) {
      Refine(colours, shades);
    }
    std::copy(colours.begin(), colours.end(), face.colours.begin());
  }
  const NearestColour nearest(colours);
  if (options.dither) {
    MapDithered(picture, nearest, colours, face);
  } else {
    for (std::size_t i = 0; i < picture.size(); ++i) {
      face.pixels[i] = nearest.Find(picture[i].red, picture[i].green, picture[i].blue, i > 0 ? face.pixels[i - 1] : 0);
    }
  }
  return face;
}

double PeakSignalToNoise(std::span<const Rgb> a, std::span<const Rgb> b) {
  const std::size_t count = std::min(a.size(), b.size());
  double squared = 0;
  for (std::size_t i = 0; i < count; ++i) {
    squared += SquaredDistance(a[i].red, a[i].green, a[i].blue, b[i]);
  }
  if (squared == 0 || count == 0) {
    return std::numeric_limits<double>::infinity();
  }
  const double meanSquared = squared / (3.0 * static_cast<double>(count));
  return 10.0 * std::log10(255.0 * 255.0 / meanSquared);
}

}  // namespace k4r
