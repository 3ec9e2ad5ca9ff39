#include "core/BushouRecord.h"

#include <algorithm>

#include "core/FieldTable.h"
#include "core/Lifespan.h"
#include "core/Messages.h"

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

// The code of a position depends on its list.
[[nodiscard]] ListPosition DecodePosition(const RecordField& field, ByteView image) {
  switch (field.list) {
    case FieldList::Origins: return DecodeOrigin(ByteAt(image, field.offset));
    case FieldList::Bases: return DecodeBase(PairAt(image, field.offset));
    default: return DecodeSmallPosition(ByteAt(image, field.offset));
  }
}

void EncodePosition(const RecordField& field, ListPosition position, ImageWriter& write) {
  switch (field.list) {
    case FieldList::Origins: write.Byte(field.offset, EncodeOrigin(position)); break;
    case FieldList::Bases: write.Pair(field.offset, EncodeBase(position)); break;
    default: write.Byte(field.offset, EncodeSmallPosition(position)); break;
  }
}

void DecodeField(const RecordField& field, ByteView image, BushouRecord& record) {
  switch (field.kind) {
    case FieldKind::Text: record.*field.text = TextAt(image, field.offset, field.width); return;
    case FieldKind::Ability: NumberIn(field, record) = ByteAt(image, field.offset); return;
    case FieldKind::Year: NumberIn(field, record) = DecodeYear(PairAt(image, field.offset)); return;
    case FieldKind::FixedListPosition: NumberIn(field, record) = DecodePosition(field, image); return;
    case FieldKind::OfficerReference: NumberIn(field, record) = DecodeOfficerRef(PairAt(image, field.offset)); return;
    case FieldKind::Face: NumberIn(field, record) = DecodeFace(PairAt(image, field.offset)); return;
    case FieldKind::RawByte: record.*field.byte = ByteAt(image, field.offset); return;
    case FieldKind::Lifespan: return;  // follows from the years, below
  }
}

void EncodeField(const RecordField& field, const BushouRecord& record, ImageWriter& write) {
  switch (field.kind) {
    case FieldKind::Text: write.Text(field.offset, field.width, record.*field.text); return;
    case FieldKind::Ability: write.Byte(field.offset, EncodeAbility(NumberIn(field, record))); return;
    case FieldKind::Year: write.Pair(field.offset, EncodeYear(NumberIn(field, record))); return;
    case FieldKind::FixedListPosition: EncodePosition(field, NumberIn(field, record), write); return;
    case FieldKind::OfficerReference: write.Pair(field.offset, EncodeOfficerRef(NumberIn(field, record))); return;
    case FieldKind::Face: write.Pair(field.offset, EncodeFace(NumberIn(field, record))); return;
    case FieldKind::RawByte:
    case FieldKind::Lifespan: return;  // never written
  }
}

}  // namespace

BushouRecord DecodeRecord(ByteView image) {
  BushouRecord record;
  for (const RecordField& field : RecordFields()) {
    DecodeField(field, image, record);
  }
  record.jumyou = static_cast<std::int32_t>(Lifespan(record.tanjou, record.botu));
  return record;
}

Status EncodeRecord(const BushouRecord& record, ByteString& image, EncodeSwitches switches) {
  const auto writes = [&switches](const RecordField& field) {
    return (field.kind != FieldKind::OfficerReference || switches.officerRefs) &&
           (field.kind != FieldKind::Face || switches.face);
  };
  // Refuse before the first write, so a refused save leaves the image whole.
  for (const RecordField& field : RecordFields()) {
    const ListPosition position = field.kind == FieldKind::OfficerReference ? NumberIn(field, record) : 0;
    if (writes(field) && position > kLastCodableOfficer) {
      return Failure{messages::OfficerHasNoCode(FieldLabel(field), position, kLastCodableOfficer)};
    }
  }
  ImageWriter write(image);
  for (const FieldId id : SaveOrder()) {
    if (writes(Field(id))) {
      EncodeField(Field(id), record, write);
    }
  }
  return Success();
}

}  // namespace k4r
