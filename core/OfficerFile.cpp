#include "core/OfficerFile.h"

#include <cstdio>
#include <new>
#include <optional>
#include <string>

#include "core/BushouRecord.h"
#include "core/IntegerRule.h"
#include "core/Lifespan.h"
#include "core/Messages.h"
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
// that the save reports the field that fails first in its order.
class TextNumbers {
 public:
  std::int32_t Read(const std::string& text) {
    const std::optional<std::int32_t> value = ParseInteger(text);
    if (!value && !failure_) {
      failure_ = Failure{messages::NotAnInteger(text)};
    }
    return value.value_or(0);
  }
  [[nodiscard]] const std::optional<Failure>& failure() const { return failure_; }

 private:
  std::optional<Failure> failure_;
};

}  // namespace

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
  Result<ByteString> bytes = BushouFile::LoadFromFile(path);
  if (!bytes) {
    return bytes.failure();
  }
  const BushouRecord record = DecodeRecord(bytes.value());

  // Starting from the form before the load is what keeps the kept fields.
  OfficerForm next = form;
  next.sei1 = record.sei1;
  next.mei1 = record.mei1;
  next.sei2 = record.sei2;
  next.mei2 = record.mei2;
  next.seiji = std::to_string(record.seiji);
  next.tousotu = std::to_string(record.tousotu);
  next.tiryaku = std::to_string(record.tiryaku);
  next.kyouyou = std::to_string(record.kyouyou);
  next.giri = std::to_string(record.giri);
  for (std::size_t i = 0; i < record.tokugi.size(); ++i) {
    next.tokugi[i] = Shown(record.tokugi[i], vocabulary::kSkillCount);
  }
  next.seibetu = HexByte(record.seibetu);
  next.tanjou = std::to_string(record.tanjou);
  next.botu = std::to_string(record.botu);
  next.jumyou = std::to_string(Lifespan(record.tanjou, record.botu));
  next.shutuji = Shown(record.shutuji, vocabulary::kOriginCount);
  next.sinjin = Shown(record.sinjin, vocabulary::kFaithCount);
  next.retuden = record.retuden;
  if (!keep.Kyoten) {
    next.Kyoten = Shown(record.Kyoten, vocabulary::kBaseCount);
  }
  if (!keep.Aishou) {
    next.Aishou = Shown(record.Aishou, vocabulary::kCompatibilityCount);
  }
  if (availability.officerList) {
    if (!keep.Oya) {
      next.Oya = Shown(record.Oya, sizes.officers);
    }
    if (!keep.Tomo) {
      next.Tomo = Shown(record.Tomo, sizes.officers);
    }
    if (!keep.Teki) {
      next.Teki = Shown(record.Teki, sizes.officers);
    }
  }
  next.Kao = Shown(record.Kao, sizes.faces);

  file.image = std::move(bytes).value();
  file.path = path;
  form = std::move(next);
  return Success();
}

Result<BushouRecord> RecordFromForm(const OfficerForm& form) {
  BushouRecord record;
  record.sei1 = form.sei1;
  record.mei1 = form.mei1;
  record.sei2 = form.sei2;
  record.mei2 = form.mei2;
  TextNumbers numbers;
  record.seiji = numbers.Read(form.seiji);
  record.tousotu = numbers.Read(form.tousotu);
  record.tiryaku = numbers.Read(form.tiryaku);
  record.kyouyou = numbers.Read(form.kyouyou);
  record.giri = numbers.Read(form.giri);
  record.tokugi = form.tokugi;
  record.tanjou = numbers.Read(form.tanjou);
  record.botu = numbers.Read(form.botu);
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

  // The patch goes into a copy that becomes the image only once it is on
  // disk, so the image always matches the file it was last read from or
  // written to.
  BushouFile patched{file.image, file.path};
  if (Status encoded = EncodeRecord(record.value(), patched.image, {availability.officerList, availability.face});
      !encoded) {
    return encoded;
  }
  if (Status saved = patched.SaveToFile(path); !saved) {
    return saved;
  }
  file.image = std::move(patched.image);
  return Success();
} catch (const std::bad_alloc&) {
  // The record and the patched copy of the image take memory; the image and
  // the file stay as they were.
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
