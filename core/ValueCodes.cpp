#include "core/ValueCodes.h"

#include "core/Vocabulary.h"

namespace k4r {
namespace {

constexpr std::int32_t kBushouRefOffset = 562;  // position 1 is stored as 563 (0x233)
constexpr std::int32_t kBaseCodeTop = 262;      // the code of base position 0

// Origin codes 6 and 8 are unused by the game; the list skips them.
constexpr std::array<std::uint8_t, 12> kOriginCodeOfPosition = {0, 1, 2, 3, 4, 5, 7, 9, 10, 11, 12, 13};
static_assert(kOriginCodeOfPosition.size() == vocabulary::kOriginCount);

[[nodiscard]] std::int32_t Word(BytePair bytes) {
  return bytes.low + 256 * bytes.high;
}

[[nodiscard]] BytePair SplitWord(std::int32_t value) {
  return {static_cast<std::uint8_t>(value & 0xFF), static_cast<std::uint8_t>((value >> 8) & 0xFF)};
}

}  // namespace

std::int32_t DecodeYear(BytePair bytes) {
  return (bytes.high == 5 ? 1280 : 1536) + bytes.low;
}

BytePair EncodeYear(std::int32_t year) {
  return {static_cast<std::uint8_t>(year & 0xFF), static_cast<std::uint8_t>(year >= 1536 ? 6 : 5)};
}

ListPosition DecodeOfficerRef(BytePair bytes) {
  if (bytes.high < 2 || bytes.high > 6) {
    return 0;
  }
  return Word(bytes) - kBushouRefOffset;
}

BytePair EncodeOfficerRef(ListPosition position) {
  if (position <= 0 || position > kLastCodableOfficer) {
    return {0, 0};  // none; uncodable positions are refused before this point
  }
  return SplitWord(position + kBushouRefOffset);
}

ListPosition DecodeBase(BytePair bytes) {
  return kBaseCodeTop - Word(bytes);
}

BytePair EncodeBase(ListPosition position) {
  // 64-bit: 262 minus a position near INT32_MIN does not fit in 32 bits.
  const std::int64_t code = kBaseCodeTop - std::int64_t{position};
  if (code >= 256) {
    return {static_cast<std::uint8_t>((code - 256) & 0xFF), 1};
  }
  return {static_cast<std::uint8_t>(code & 0xFF), 0};
}

ListPosition DecodeOrigin(std::uint8_t code) {
  for (std::size_t position = 0; position < kOriginCodeOfPosition.size(); ++position) {
    if (kOriginCodeOfPosition[position] == code) {
      return static_cast<ListPosition>(position);
    }
  }
  return 0;
}

std::uint8_t EncodeOrigin(ListPosition position) {
  if (position < 0 || position >= static_cast<ListPosition>(kOriginCodeOfPosition.size())) {
    return 0;
  }
  return kOriginCodeOfPosition[static_cast<std::size_t>(position)];
}

ListPosition DecodeSmallPosition(std::uint8_t byte) {
  return byte;
}

std::uint8_t EncodeSmallPosition(ListPosition position) {
  return static_cast<std::uint8_t>(position & 0xFF);
}

ListPosition DecodeFace(BytePair bytes) {
  return Word(bytes);
}

BytePair EncodeFace(ListPosition position) {
  return SplitWord(position & 0xFFFF);
}

std::uint8_t EncodeAbility(std::int32_t value) {
  return static_cast<std::uint8_t>(value & 0xFF);
}

}  // namespace k4r
