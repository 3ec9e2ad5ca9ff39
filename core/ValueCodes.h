#pragma once
// The value codes of the officer file: how a shown value becomes bytes and back.

#include <array>
#include <cstdint>

#include "core/Result.h"

namespace k4r {

using ListPosition = std::int32_t;  // 0 is the first entry, -1 no selection
inline constexpr ListPosition kNoSelection = -1;

struct BytePair {
  std::uint8_t low = 0;
  std::uint8_t high = 0;  // the marker byte for a year
  friend bool operator==(const BytePair&, const BytePair&) = default;
};

// Year: marker 5 means 1280 + low, any other marker 1536 + low.
[[nodiscard]] std::int32_t DecodeYear(BytePair bytes);
[[nodiscard]] BytePair EncodeYear(std::int32_t year);

// Officer reference (BushouRef): 0 none, else the position in the officer
// list plus 562. High bytes other than 2..6 decode to 0; (0..49, 2) to a
// negative position.
inline constexpr ListPosition kLastCodableOfficer = 1229;
[[nodiscard]] ListPosition DecodeOfficerRef(BytePair bytes);
// Positions 0 and -1 give (0, 0). Positions above kLastCodableOfficer have
// no code: the caller must refuse them before encoding (see EncodeRecord).
[[nodiscard]] BytePair EncodeOfficerRef(ListPosition position);

// Home base: position = 262 - code, no selection stored as 263.
[[nodiscard]] ListPosition DecodeBase(BytePair bytes);
[[nodiscard]] BytePair EncodeBase(ListPosition position);

// Origin: one byte through a fixed table; unused codes read as position 0,
// positions outside 0..11 (no selection included) store code 0.
[[nodiscard]] ListPosition DecodeOrigin(std::uint8_t code);
[[nodiscard]] std::uint8_t EncodeOrigin(ListPosition position);

// Skills, faith, compatibility: the byte is the position; no selection 255.
[[nodiscard]] ListPosition DecodeSmallPosition(std::uint8_t byte);
[[nodiscard]] std::uint8_t EncodeSmallPosition(ListPosition position);

// Face number: 16-bit position; no selection is 0xFFFF.
[[nodiscard]] ListPosition DecodeFace(BytePair bytes);
[[nodiscard]] BytePair EncodeFace(ListPosition position);

// Abilities: one byte, the low 8 bits of the value.
[[nodiscard]] std::uint8_t EncodeAbility(std::int32_t value);

}  // namespace k4r
