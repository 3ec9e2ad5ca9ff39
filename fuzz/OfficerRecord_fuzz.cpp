// Decode then encode of an officer file image, and encodes of arbitrary
// records. Properties:
// - a byte that no written field owns keeps its value (bytes added to extend
//   a short image are zero), and the image grows to the record's end only;
// - encoding the decoded record gives bytes that a second decode and encode
//   leaves as they are, and encoding the same record twice changes nothing;
// - a refused encode leaves the image untouched;
// - a text field reads back as the text cut to its width on a character
//   boundary and at its first zero byte.
#include <fuzzer/FuzzedDataProvider.h>

#include <array>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "core/BushouRecord.h"
#include "support/RecordLayout.h"

namespace {
using namespace k4r;
namespace L = k4r::layout;

void Require(bool condition, const char* what) {
  if (!condition) {
    std::fprintf(stderr, "property broken: %s\n", what);
    std::abort();
  }
}

// Which bytes an encode with these switches writes.
std::array<bool, L::kRecordEnd> OwnedBytes(EncodeSwitches switches) {
  std::array<bool, L::kRecordEnd> owned{};
  const auto own = [&owned](std::size_t from, std::size_t width) {
    for (std::size_t i = from; i < from + width; ++i) {
      owned[i] = true;
    }
  };
  own(L::kSei1, L::kSei1Width);
  own(L::kSei2, L::kSei2Width);
  own(L::kMei1, L::kMei1Width);
  own(L::kMei2, L::kMei2Width);
  own(L::kRetuden, L::kRetudenWidth);
  own(L::kTanjou, 2);
  own(L::kBotu, 2);
  own(L::kShutuji, 1);
  own(L::kSinjin, 1);
  own(L::kSeiji, 1);
  own(L::kTousotu, 1);
  own(L::kTiryaku, 1);
  own(L::kKyouyou, 1);
  own(L::kTokugi1, 3);
  own(L::kKyoten, 2);
  own(L::kAishou, 1);
  own(L::kGiri, 1);
  if (switches.officerRefs) {
    own(L::kOya, 2);
    own(L::kTomo, 2);
    own(L::kTeki, 2);
  }
  if (switches.face) {
    own(L::kKao, 2);
  }
  return owned;
}

void CheckUnownedBytesKept(ByteView before, ByteView after, EncodeSwitches switches) {
  const std::array<bool, L::kRecordEnd> owned = OwnedBytes(switches);
  Require(after.size() == std::max(before.size(), L::kRecordEnd), "the image grows to the record's end only");
  for (std::size_t i = 0; i < after.size(); ++i) {
    if (i < owned.size() && owned[i]) {
      continue;
    }
    const char expected = i < before.size() ? before[i] : '\0';
    Require(after[i] == expected, "a byte no field owns is unchanged");
  }
}

ByteString ExpectedText(ByteView text, std::size_t width) {
  const ByteView kept = CutAtCharacterBoundary(text, width);
  return ByteString(kept.substr(0, kept.find('\0')));
}

ListPosition AnyPosition(FuzzedDataProvider& data) {
  // Mostly plausible positions, sometimes anything at all.
  return data.ConsumeBool() ? data.ConsumeIntegralInRange<ListPosition>(-2, 1300)
                            : data.ConsumeIntegral<ListPosition>();
}

BushouRecord AnyRecord(FuzzedDataProvider& data) {
  BushouRecord record;
  record.sei1 = data.ConsumeRandomLengthString(20);
  record.mei1 = data.ConsumeRandomLengthString(20);
  record.sei2 = data.ConsumeRandomLengthString(40);
  record.mei2 = data.ConsumeRandomLengthString(40);
  record.retuden = data.ConsumeRandomLengthString(300);
  for (std::int32_t* ability : {&record.seiji, &record.tousotu, &record.tiryaku, &record.kyouyou, &record.giri}) {
    *ability = data.ConsumeIntegral<std::int32_t>();
  }
  for (ListPosition& skill : record.tokugi) {
    skill = AnyPosition(data);
  }
  record.tanjou = data.ConsumeIntegral<std::int32_t>();
  record.botu = data.ConsumeIntegral<std::int32_t>();
  for (ListPosition* position : {&record.shutuji, &record.sinjin, &record.Kyoten, &record.Aishou, &record.Oya,
                                 &record.Tomo, &record.Teki, &record.Kao}) {
    *position = AnyPosition(data);
  }
  return record;
}

void CheckDecodeEncode(ByteView original, EncodeSwitches switches) {
  const BushouRecord decoded = DecodeRecord(original);
  ByteString once(original);
  Require(static_cast<bool>(EncodeRecord(decoded, once, switches)), "a decoded record is always encodable");
  CheckUnownedBytesKept(original, once, switches);

  ByteString twice(once);
  Require(static_cast<bool>(EncodeRecord(decoded, twice, switches)), "a decoded record is always encodable");
  Require(twice == once, "encoding the same record twice gives the same bytes");

  ByteString again(once);
  Require(static_cast<bool>(EncodeRecord(DecodeRecord(once), again, switches)), "a decoded record is encodable");
  Require(again == once, "a saved image is stable under a further load and save");
}

void CheckArbitraryRecord(ByteView original, EncodeSwitches switches, const BushouRecord& record) {
  ByteString image(original);
  const Status encoded = EncodeRecord(record, image, switches);
  const bool uncodable =
      switches.officerRefs &&
      (record.Oya > kLastCodableOfficer || record.Tomo > kLastCodableOfficer || record.Teki > kLastCodableOfficer);
  Require(encoded.ok() != uncodable, "exactly an uncodable officer reference is refused");
  if (!encoded) {
    Require(image == original, "a refused encode leaves the image untouched");
    return;
  }
  CheckUnownedBytesKept(original, image, switches);
  const BushouRecord back = DecodeRecord(image);
  Require(back.sei1 == ExpectedText(record.sei1, L::kSei1Width), "sei1 reads back");
  Require(back.mei1 == ExpectedText(record.mei1, L::kMei1Width), "mei1 reads back");
  Require(back.sei2 == ExpectedText(record.sei2, L::kSei2Width), "sei2 reads back");
  Require(back.mei2 == ExpectedText(record.mei2, L::kMei2Width), "mei2 reads back");
  Require(back.retuden == ExpectedText(record.retuden, L::kRetudenWidth), "retuden reads back");
  Require(back.seiji == (record.seiji & 0xFF), "an ability keeps its low 8 bits");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
  FuzzedDataProvider data(bytes, size);
  const EncodeSwitches switches{data.ConsumeBool(), data.ConsumeBool()};
  const bool withRecord = data.ConsumeBool();
  const ByteString image = data.ConsumeRandomLengthString(400);
  CheckDecodeEncode(image, switches);
  if (withRecord) {
    CheckArbitraryRecord(image, switches, AnyRecord(data));
  }
  return 0;
}
