#include "core/ValueCodes.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace k4r {
namespace {

TEST(YearCode, MarkerFiveStartsAt1280AnyOtherAt1536) {
  struct Case {
    BytePair bytes;
    std::int32_t year;
  };
  const Case decoded[] = {{{255, 5}, 1535}, {{0, 6}, 1536},  {{0, 5}, 1280},     {{0, 0}, 1536},
                          {{10, 4}, 1546},  {{10, 7}, 1546}, {{255, 255}, 1791}, {{176, 5}, 1456}};
  for (const Case& c : decoded) {
    EXPECT_EQ(DecodeYear(c.bytes), c.year) << int{c.bytes.low} << "," << int{c.bytes.high};
  }
  const Case encoded[] = {{{255, 5}, 1535}, {{0, 6}, 1536},   {{0, 5}, 1280}, {{255, 6}, 1791},
                          {{176, 5}, 1200}, {{180, 5}, 1460}, {{0, 6}, 2048}};
  for (const Case& c : encoded) {
    EXPECT_EQ(EncodeYear(c.year), c.bytes) << c.year;
  }
}

TEST(YearCode, YearsFrom1280To1791SurviveAndOthersDoNot) {
  for (std::int32_t year = 1280; year <= 1791; ++year) {
    ASSERT_EQ(DecodeYear(EncodeYear(year)), year);
  }
  EXPECT_EQ(DecodeYear(EncodeYear(1200)), 1456);
  EXPECT_EQ(DecodeYear(EncodeYear(1792)), 1536);
}

TEST(OfficerRef, EncodesPositionsInTheirBands) {
  struct Case {
    ListPosition position;
    BytePair bytes;
  };
  const Case cases[] = {
      {kNoSelection, {0, 0}}, {0, {0, 0}},     {1, {51, 2}},  {205, {255, 2}}, {206, {0, 3}}, {461, {255, 3}},
      {462, {0, 4}},          {717, {255, 4}}, {718, {0, 5}}, {973, {255, 5}}, {974, {0, 6}}, {1229, {255, 6}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(EncodeOfficerRef(c.position), c.bytes) << c.position;
  }
}

TEST(OfficerRef, DecodesHighBytesTwoToSixAndNothingElse) {
  struct Case {
    BytePair bytes;
    ListPosition position;
  };
  const Case cases[] = {
      {{49, 2}, -1}, {{50, 2}, 0},  {{51, 2}, 1},  {{0, 2}, -50}, {{0, 3}, 206}, {{255, 6}, 1229},
      {{0, 7}, 0},   {{200, 7}, 0}, {{255, 1}, 0}, {{0, 0}, 0},   {{9, 255}, 0},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(DecodeOfficerRef(c.bytes), c.position) << int{c.bytes.low} << "," << int{c.bytes.high};
  }
  for (ListPosition position = 1; position <= kLastCodableOfficer; ++position) {
    ASSERT_EQ(DecodeOfficerRef(EncodeOfficerRef(position)), position);
  }
}

TEST(BaseCode, PositionIs262MinusTheCode) {
  struct Case {
    BytePair bytes;
    ListPosition position;
  };
  const Case both[] = {{{7, 1}, kNoSelection}, {{6, 1}, 0}, {{0, 1}, 6}, {{255, 0}, 7}, {{163, 0}, 99}};
  for (const Case& c : both) {
    EXPECT_EQ(DecodeBase(c.bytes), c.position) << c.position;
    EXPECT_EQ(EncodeBase(c.position), c.bytes) << c.position;
  }
  EXPECT_EQ(DecodeBase({0, 0}), 262);
  EXPECT_EQ(DecodeBase({162, 0}), 100);
}

// Found by fuzzing EncodeRecord: 262 minus INT32_MIN overflowed. Any
// position encodes, and its bytes read back as a position with those bytes.
TEST(BaseCode, ExtremePositionsEncodeWithoutOverflow) {
  for (const ListPosition position : {INT32_MIN, INT32_MIN + 1, -65536, 263, 518, INT32_MAX}) {
    const BytePair bytes = EncodeBase(position);
    EXPECT_EQ(EncodeBase(DecodeBase(bytes)), bytes) << position;
  }
}

TEST(OriginCode, MapsThroughTheTableSkippingSixAndEight) {
  const ListPosition positionOfCode[] = {0, 1, 2, 3, 4, 5, 0, 6, 0, 7, 8, 9, 10, 11, 0};
  for (std::uint8_t code = 0; code < std::size(positionOfCode); ++code) {
    EXPECT_EQ(DecodeOrigin(code), positionOfCode[code]) << int{code};
  }
  EXPECT_EQ(DecodeOrigin(255), 0);
  const std::uint8_t codeOfPosition[] = {0, 1, 2, 3, 4, 5, 7, 9, 10, 11, 12, 13};
  for (ListPosition position = 0; position < 12; ++position) {
    EXPECT_EQ(EncodeOrigin(position), codeOfPosition[position]) << position;
  }
  EXPECT_EQ(EncodeOrigin(kNoSelection), 0);
  EXPECT_EQ(EncodeOrigin(12), 0);
}

TEST(SmallCodes, NoSelectionIsAllOnesAndOtherValuesKeepTheirLowBits) {
  EXPECT_EQ(EncodeSmallPosition(kNoSelection), 255);
  EXPECT_EQ(EncodeSmallPosition(19), 19);
  EXPECT_EQ(DecodeSmallPosition(255), 255);
  EXPECT_EQ(EncodeFace(kNoSelection), (BytePair{255, 255}));
  EXPECT_EQ(EncodeFace(258), (BytePair{2, 1}));
  EXPECT_EQ(DecodeFace({2, 1}), 258);
  EXPECT_EQ(DecodeFace({255, 255}), 65535);

  const std::pair<std::int32_t, std::uint8_t> abilities[] = {{300, 44}, {-1, 255}, {256, 0}, {200, 200}, {120, 120}};
  for (const auto& [value, byte] : abilities) {
    EXPECT_EQ(EncodeAbility(value), byte) << value;
  }
}

}  // namespace
}  // namespace k4r
