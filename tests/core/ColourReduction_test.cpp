// Reducing pictures to a face's 256 colours: what must come back exact.

#include <gtest/gtest.h>

#include "core/ColourReduction.h"

namespace k4r {
namespace {

std::vector<Rgb> Drawn(const FacePortrait& face) {
  std::vector<Rgb> picture;
  for (const std::uint8_t number : face.pixels) {
    picture.push_back(face.colours[number]);
  }
  return picture;
}

TEST(ColourReduction, Pictures) {
  // Every colour twice in the table (entries k and k + 128), both copies in use.
  FacePortrait present;
  for (std::size_t k = 0; k < 256; ++k) {
    present.colours[k] = Rgb{static_cast<std::uint8_t>(2 * (k % 128)), 9, 40};
    present.pixels[k * 40] = static_cast<std::uint8_t>(k);
  }
  std::vector<Rgb> fewNew, grey(96 * 120, Rgb{100, 110, 120});
  for (std::size_t i = 0; i < 96 * 120; ++i) {
    fewNew.push_back(Rgb{static_cast<std::uint8_t>(i % 200), 1, 255});  // 200 colours, none present
  }
  const struct {
    const char* name;
    std::vector<Rgb> picture;
    PaletteChoice palette;
    bool exact, keepsTable;
  } cases[] = {
      {"present face, duplicate colours", Drawn(present), PaletteChoice::New, true, true},
      {"few new colours", fewNew, PaletteChoice::New, true, false},
      {"onto the present table", grey, PaletteChoice::Keep, false, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    for (const bool dither : {false, true}) {
      const FacePortrait face = ReduceToFace(c.picture, present, {c.palette, dither});
      EXPECT_EQ(Drawn(face) == c.picture, c.exact);
      EXPECT_EQ(face.colours == present.colours, c.keepsTable);
      if (c.keepsTable && c.exact) {
        EXPECT_EQ(face.pixels, present.pixels);  // not the first of two equal entries
      }
    }
  }
  // The present table's nearest to (100, 110, 120) is (100, 9, 40).
  EXPECT_EQ(Drawn(ReduceToFace(grey, present, {PaletteChoice::Keep, false}))[5], (Rgb{100, 9, 40}));
}

}  // namespace
}  // namespace k4r
