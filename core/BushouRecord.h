#pragma once
// The decoded fields of one registered officer and the two conversions
// between them and the file image.

#include <array>
#include <cstdint>

#include "core/Bytes.h"
#include "core/Result.h"
#include "core/ValueCodes.h"

namespace k4r {

struct BushouRecord {
  ByteString sei1, mei1;  // family and given name, at most 8 bytes each
  ByteString sei2, mei2;  // their readings, at most 16 bytes each
  ByteString retuden;     // biography, at most 146 bytes
  std::int32_t seiji = 0, tousotu = 0, tiryaku = 0, kyouyou = 0, giri = 0;
  std::array<ListPosition, 3> tokugi{};
  std::uint8_t seibetu = 0;
  std::int32_t tanjou = 0, botu = 0;
  std::int32_t jumyou = 0;  // Lifespan(tanjou, botu), never stored
  ListPosition shutuji = 0, sinjin = 0, Kyoten = 0, Aishou = 0;
  ListPosition Oya = 0, Tomo = 0, Teki = 0;
  ListPosition Kao = 0;
  friend bool operator==(const BushouRecord&, const BushouRecord&) = default;
};

// Which conditional fields an encode writes.
struct EncodeSwitches {
  bool officerRefs = false;  // Oya, Tomo, Teki
  bool face = false;         // Kao
};

// Reads every field from the image; missing bytes read as zero.
[[nodiscard]] BushouRecord DecodeRecord(ByteView image);

// Writes every field of the record into the image in the save order; a field
// past the end of the image extends it with zero bytes. Texts longer than
// their field keep the longest prefix that ends on a character boundary.
// An officer reference above the last codable position is refused before
// anything is written, naming the field.
[[nodiscard]] Status EncodeRecord(const BushouRecord& record, ByteString& image, EncodeSwitches switches);

}  // namespace k4r
