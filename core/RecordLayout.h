#pragma once
// The extent of a registered-officer (.K4R) record. Where each field lies is
// in the field table (core/FieldTable.h); every byte not named there belongs
// to the game and passes through untouched.

#include <cstddef>

namespace k4r::layout {

// A save extends a shorter file to this length.
inline constexpr std::size_t kRecordEnd = 267;

}  // namespace k4r::layout
