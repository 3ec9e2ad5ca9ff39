#include "core/OfficerFile.h"

#include <cstdio>
#include <new>
#include <optional>
#include <string>
#include <utility>

#include "core/BushouRecord.h"
#include "core/FieldTable.h"
#include "core/IntegerRule.h"
#include "core/Lifespan.h"
#include "core/Messages.h"
#include "core/StorableNumbers.h"
#include "core/Vocabulary.h"

namespace k4r {
namespace {

// A list shows no selection for a position outside it.
[[nodiscard]] ListPosition Shown(ListPosition position, std::int32_t listLength) {
  return position >= 0 && position < listLength ? position : kNoSelection;
}

[[nodiscard]] std::string HexByte(std::uint8_t byte) {
  char text[3] = {};
  std::snprintf(text, sizeof text, "%02X", static_cast<unsigned>(byte));
  return text;
}

// Converts a box's text as the save does, remembering the first failure so
// that the save reports the field that fails first in its order, by the
// caption the user sees beside the box.
class TextNumbers {
 public:
  std::int32_t Read(FieldId id, const std::string& text) {
    Result<std::int32_t> value = IntegerOf(text);
    if (!value && !failure_) {
      failure_ = Failure{messages::NotAnIntegerIn(Field(id).caption, text)};
    }
    return value ? value.value() : 0;
  }
  [[nodiscard]] const std::optional<Failure>& failure() const { return failure_; }

 private:
  std::optional<Failure> failure_;
};

// The positions a load may keep, from the form before it.
[[nodiscard]] BushouRecord KeptPositions(const OfficerForm& form) {
  BushouRecord kept;
  kept.Kyoten = form.Kyoten;
  kept.Aishou = form.Aishou;
  kept.Oya = form.Oya;
  kept.Tomo = form.Tomo;
  kept.Teki = form.Teki;
  return kept;
}

[[nodiscard]] OfficerForm FormOf(const BushouRecord& record) {
  OfficerForm form;
  form.sei1 = record.sei1;
  form.mei1 = record.mei1;
  form.sei2 = record.sei2;
  form.mei2 = record.mei2;
  form.retuden = record.retuden;
  form.seiji = std::to_string(record.seiji);
  form.tousotu = std::to_string(record.tousotu);
  form.tiryaku = std::to_string(record.tiryaku);
  form.kyouyou = std::to_string(record.kyouyou);
  form.giri = std::to_string(record.giri);
  form.tokugi = record.tokugi;
  form.seibetu = HexByte(record.seibetu);
  form.tanjou = std::to_string(record.tanjou);
  form.botu = std::to_string(record.botu);
  form.jumyou = std::to_string(Lifespan(record.tanjou, record.botu));
  form.shutuji = record.shutuji;
  form.sinjin = record.sinjin;
  form.Kyoten = record.Kyoten;
  form.Aishou = record.Aishou;
  form.Oya = record.Oya;
  form.Tomo = record.Tomo;
  form.Teki = record.Teki;
  form.Kao = record.Kao;
  return form;
}

}  // namespace

std::int32_t ListLength(FieldList list, const NameListSizes& sizes) {
  switch (list) {
    case FieldList::Skills: return vocabulary::kSkillCount;
    case FieldList::Origins: return vocabulary::kOriginCount;
    case FieldList::Faiths: return vocabulary::kFaithCount;
    case FieldList::Bases: return vocabulary::kBaseCount;
    case FieldList::Compatibility: return vocabulary::kCompatibilityCount;
    case FieldList::Officers: return sizes.officers;
    case FieldList::Faces: return sizes.faces;
    case FieldList::None: break;
  }
  return 0;
}

BushouRecord RecordAsLoaded(BushouRecord decoded, const BushouRecord& before, const Availability& availability,
                            const NameListSizes& sizes, const KeepFlags& keep) {
  for (const RecordField& field : RecordFields()) {
    if (field.list != FieldList::None) {
      std::int32_t& position = NumberIn(field, decoded);
      position = Shown(position, ListLength(field.list, sizes));
    }
  }
  const std::pair<bool, ListPosition BushouRecord::*> kept[] = {
      {keep.Kyoten, &BushouRecord::Kyoten},
      {keep.Aishou, &BushouRecord::Aishou},
      {keep.Oya || !availability.officerList, &BushouRecord::Oya},
      {keep.Tomo || !availability.officerList, &BushouRecord::Tomo},
      {keep.Teki || !availability.officerList, &BushouRecord::Teki},
  };
  for (const auto& [keeps, member] : kept) {
    if (keeps) {
      decoded.*member = before.*member;
    }
  }
  return decoded;
}

Status LoadOfficerRecord(const std::filesystem::path& path, BushouFile& file, BushouRecord& record,
                         const Availability& availability, const NameListSizes& sizes, const KeepFlags& keep) {
  Result<ByteString> bytes = BushouFile::LoadFromFile(path);
  if (!bytes) {
    return bytes.failure();
  }
  record = RecordAsLoaded(DecodeRecord(bytes.value()), record, availability, sizes, keep);
  file.image = std::move(bytes).value();
  file.path = path;
  return Success();
}

Result<ByteString> SavedImage(const BushouFile& file, const BushouRecord& record,
                              const Availability& availability) try {
  // Every caller gets the number check: a number the file would store as
  // another one must never reach it.
  if (Status storable = CheckStorableNumbers(record); !storable) {
    return storable.failure();
  }
  BushouRecord stored = record;
  stored.retuden = NormalizeLineBreaks(record.retuden);
  ByteString image = file.image;
  if (Status encoded = EncodeRecord(stored, image, {availability.officerList, availability.face}); !encoded) {
    return encoded.failure();
  }
  return image;
} catch (const std::bad_alloc&) {
  return Failure{messages::OutOfMemory()};
}

Status SaveOfficerRecord(const std::filesystem::path& path, BushouFile& file, const BushouRecord& record,
                         const Availability& availability) try {
  // The new image becomes the file's only once it is on disk, so the image
  // always matches the file it was last read from or written to.
  Result<ByteString> image = SavedImage(file, record, availability);
  if (!image) {
    return image.failure();
  }
  BushouFile patched{std::move(image).value(), file.path};
  if (Status saved = patched.SaveToFile(path); !saved) {
    return saved;
  }
  file.image = std::move(patched.image);
  return Success();
} catch (const std::bad_alloc&) {
  return Failure{messages::OutOfMemory()};
}

OfficerForm StartForm(const NameListSizes& sizes) {
  OfficerForm form;
  // A name list that was not loaded (or is empty) shows no selection.
  const ListPosition firstOfficer = sizes.officers > 0 ? 0 : kNoSelection;
  form.Oya = form.Tomo = form.Teki = firstOfficer;
  form.Kao = sizes.faces > 0 ? 0 : kNoSelection;
  return form;
}

Status LoadOfficerFile(const std::filesystem::path& path, BushouFile& file, OfficerForm& form, const KeepFlags& keep,
                       const Availability& availability, const NameListSizes& sizes) {
  BushouRecord record = KeptPositions(form);
  if (Status loaded = LoadOfficerRecord(path, file, record, availability, sizes, keep); !loaded) {
    return loaded;
  }
  form = FormOf(record);
  return Success();
}

Result<BushouRecord> RecordFromForm(const OfficerForm& form) {
  BushouRecord record;
  record.sei1 = form.sei1;
  record.mei1 = form.mei1;
  record.sei2 = form.sei2;
  record.mei2 = form.mei2;
  TextNumbers numbers;
  record.seiji = numbers.Read(FieldId::seiji, form.seiji);
  record.tousotu = numbers.Read(FieldId::tousotu, form.tousotu);
  record.tiryaku = numbers.Read(FieldId::tiryaku, form.tiryaku);
  record.kyouyou = numbers.Read(FieldId::kyouyou, form.kyouyou);
  record.giri = numbers.Read(FieldId::giri, form.giri);
  record.tokugi = form.tokugi;
  record.tanjou = numbers.Read(FieldId::tanjou, form.tanjou);
  record.botu = numbers.Read(FieldId::botu, form.botu);
  if (numbers.failure()) {
    return *numbers.failure();
  }
  record.shutuji = form.shutuji;
  record.sinjin = form.sinjin;
  record.retuden = NormalizeLineBreaks(form.retuden);
  record.Kyoten = form.Kyoten;
  record.Aishou = form.Aishou;
  record.Oya = form.Oya;
  record.Tomo = form.Tomo;
  record.Teki = form.Teki;
  record.Kao = form.Kao;
  return record;
}

Status SaveOfficerFile(const std::filesystem::path& path, BushouFile& file, const OfficerForm& form,
                       const Availability& availability) try {
  Result<BushouRecord> record = RecordFromForm(form);
  if (!record) {
    return record.failure();
  }
  return SaveOfficerRecord(path, file, record.value(), availability);
} catch (const std::bad_alloc&) {
  return Failure{messages::OutOfMemory()};
}

ByteString NormalizeLineBreaks(ByteView text) {
  // CR and LF never occur inside a two-byte character, so a byte scan is safe.
  ByteString normalized;
  normalized.reserve(text.size() + text.size() / 8);
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char byte = text[i];
    if (byte == '\r' || byte == '\n') {
      normalized += "\r\n";
      if (byte == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
        ++i;
      }
    } else {
      normalized += byte;
    }
  }
  return normalized;
}

}  // namespace k4r
