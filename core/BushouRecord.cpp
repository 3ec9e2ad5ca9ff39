#include "core/BushouRecord.h"

#include <algorithm>
#include <string_view>

#include "core/Lifespan.h"
#include "core/Messages.h"
#include "core/RecordLayout.h"

namespace k4r {
namespace {

// Reading: bytes past the end of the image read as zero.
[[nodiscard]] std::uint8_t ByteAt(ByteView image, std::size_t offset) {
  return offset < image.size() ? static_cast<std::uint8_t>(image[offset]) : 0;
}

[[nodiscard]] BytePair PairAt(ByteView image, std::size_t offset) {
  return {ByteAt(image, offset), ByteAt(image, offset + 1)};
}

// A text field ends at its first zero byte or at its width.
[[nodiscard]] ByteString TextAt(ByteView image, std::size_t offset, std::size_t width) {
  if (offset >= image.size()) {
    return {};
  }
  const ByteView field = image.substr(offset, width);
  return ByteString(field.substr(0, field.find('\0')));
}

// Writing: a field past the end extends the image with zero bytes first.
class ImageWriter {
 public:
  explicit ImageWriter(ByteString& image) : image_(image) {}

  void Byte(std::size_t offset, std::uint8_t value) {
    Reach(offset + 1);
    image_[offset] = static_cast<char>(value);
  }

  void Pair(std::size_t offset, BytePair bytes) {
    Byte(offset, bytes.low);
    Byte(offset + 1, bytes.high);
  }

  // Exactly `width` bytes: the text cut on a character boundary, then zeros.
  void Text(std::size_t offset, std::size_t width, ByteView text) {
    Reach(offset + width);
    const ByteView kept = CutAtCharacterBoundary(text, width);
    std::copy(kept.begin(), kept.end(), image_.begin() + static_cast<std::ptrdiff_t>(offset));
    std::fill_n(image_.begin() + static_cast<std::ptrdiff_t>(offset + kept.size()), width - kept.size(), '\0');
  }

 private:
  void Reach(std::size_t end) {
    if (image_.size() < end) {
      image_.resize(end, '\0');
    }
  }

  ByteString& image_;
};

struct OfficerField {
  std::string_view label;
  ListPosition position;
};

}  // namespace

BushouRecord DecodeRecord(ByteView image) {
  namespace L = layout;
  BushouRecord record;
  record.sei1 = TextAt(image, L::kSei1, L::kSei1Width);
  record.mei1 = TextAt(image, L::kMei1, L::kMei1Width);
  record.sei2 = TextAt(image, L::kSei2, L::kSei2Width);
  record.mei2 = TextAt(image, L::kMei2, L::kMei2Width);
  record.retuden = TextAt(image, L::kRetuden, L::kRetudenWidth);
  record.seiji = ByteAt(image, L::kSeiji);
  record.tousotu = ByteAt(image, L::kTousotu);
  record.tiryaku = ByteAt(image, L::kTiryaku);
  record.kyouyou = ByteAt(image, L::kKyouyou);
  record.giri = ByteAt(image, L::kGiri);
  record.tokugi = {DecodeSmallPosition(ByteAt(image, L::kTokugi1)), DecodeSmallPosition(ByteAt(image, L::kTokugi2)),
                   DecodeSmallPosition(ByteAt(image, L::kTokugi3))};
  record.seibetu = ByteAt(image, L::kSeibetu);
  record.tanjou = DecodeYear(PairAt(image, L::kTanjou));
  record.botu = DecodeYear(PairAt(image, L::kBotu));
  record.jumyou = static_cast<std::int32_t>(Lifespan(record.tanjou, record.botu));
  record.shutuji = DecodeOrigin(ByteAt(image, L::kShutuji));
  record.sinjin = DecodeSmallPosition(ByteAt(image, L::kSinjin));
  record.Kyoten = DecodeBase(PairAt(image, L::kKyoten));
  record.Aishou = DecodeSmallPosition(ByteAt(image, L::kAishou));
  record.Oya = DecodeOfficerRef(PairAt(image, L::kOya));
  record.Tomo = DecodeOfficerRef(PairAt(image, L::kTomo));
  record.Teki = DecodeOfficerRef(PairAt(image, L::kTeki));
  record.Kao = DecodeFace(PairAt(image, L::kKao));
  return record;
}

Status EncodeRecord(const BushouRecord& record, ByteString& image, EncodeSwitches switches) {
  namespace L = layout;
  if (switches.officerRefs) {
    // Refuse before the first write, so a refused save leaves the image whole.
    const OfficerField officers[] = {
        {"実父武将 (Oya)", record.Oya}, {"親友武将 (Tomo)", record.Tomo}, {"敵対武将 (Teki)", record.Teki}};
    for (const OfficerField& officer : officers) {
      if (officer.position > kLastCodableOfficer) {
        return Failure{messages::OfficerHasNoCode(officer.label, officer.position, kLastCodableOfficer)};
      }
    }
  }

  ImageWriter write(image);
  write.Text(L::kSei1, L::kSei1Width, record.sei1);
  write.Text(L::kMei1, L::kMei1Width, record.mei1);
  write.Text(L::kSei2, L::kSei2Width, record.sei2);
  write.Text(L::kMei2, L::kMei2Width, record.mei2);
  write.Byte(L::kSeiji, EncodeAbility(record.seiji));
  write.Byte(L::kTousotu, EncodeAbility(record.tousotu));
  write.Byte(L::kTiryaku, EncodeAbility(record.tiryaku));
  write.Byte(L::kKyouyou, EncodeAbility(record.kyouyou));
  write.Byte(L::kGiri, EncodeAbility(record.giri));
  write.Byte(L::kTokugi1, EncodeSmallPosition(record.tokugi[0]));
  write.Byte(L::kTokugi2, EncodeSmallPosition(record.tokugi[1]));
  write.Byte(L::kTokugi3, EncodeSmallPosition(record.tokugi[2]));
  write.Pair(L::kTanjou, EncodeYear(record.tanjou));
  write.Pair(L::kBotu, EncodeYear(record.botu));
  write.Byte(L::kShutuji, EncodeOrigin(record.shutuji));
  write.Byte(L::kSinjin, EncodeSmallPosition(record.sinjin));
  write.Text(L::kRetuden, L::kRetudenWidth, record.retuden);
  write.Pair(L::kKyoten, EncodeBase(record.Kyoten));
  write.Byte(L::kAishou, EncodeSmallPosition(record.Aishou));
  if (switches.officerRefs) {
    write.Pair(L::kOya, EncodeOfficerRef(record.Oya));
    write.Pair(L::kTomo, EncodeOfficerRef(record.Tomo));
    write.Pair(L::kTeki, EncodeOfficerRef(record.Teki));
  }
  if (switches.face) {
    write.Pair(L::kKao, EncodeFace(record.Kao));
  }
  return Success();
}

}  // namespace k4r
