#pragma once
// The record layout as the file format states it, written out independently of
// the field table so that the tests check the table against it.

#include <cstddef>

namespace k4r::layout {

inline constexpr std::size_t kSei1 = 36, kSei1Width = 8;
inline constexpr std::size_t kSei2 = 45, kSei2Width = 16;
inline constexpr std::size_t kMei1 = 62, kMei1Width = 8;
inline constexpr std::size_t kMei2 = 71, kMei2Width = 16;
inline constexpr std::size_t kRetuden = 88, kRetudenWidth = 146;
inline constexpr std::size_t kKao = 236;      // 16-bit face number
inline constexpr std::size_t kTanjou = 238;   // year code: low byte, marker
inline constexpr std::size_t kBotu = 240;     // year code: low byte, marker
inline constexpr std::size_t kSeibetu = 242;  // read only
inline constexpr std::size_t kShutuji = 244;  // origin code
inline constexpr std::size_t kSinjin = 245;
inline constexpr std::size_t kOya = 248;  // officer reference
inline constexpr std::size_t kSeiji = 252;
inline constexpr std::size_t kTousotu = 253;
inline constexpr std::size_t kTiryaku = 254;
inline constexpr std::size_t kKyouyou = 255;
inline constexpr std::size_t kTokugi1 = 256, kTokugi2 = 257, kTokugi3 = 258;
inline constexpr std::size_t kKyoten = 259;  // base code
inline constexpr std::size_t kTomo = 261;    // officer reference
inline constexpr std::size_t kTeki = 263;    // officer reference
inline constexpr std::size_t kAishou = 265;
inline constexpr std::size_t kGiri = 266;

// A save extends a shorter file to this length.
inline constexpr std::size_t kRecordEnd = 267;

}  // namespace k4r::layout
