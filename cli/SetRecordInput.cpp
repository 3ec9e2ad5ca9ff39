#include "cli/SetRecordInput.h"

#include <algorithm>
#include <cstdint>
#include <iterator>
#include <limits>

#include "cli/SetValues.h"
#include "cli/SpreadsheetForms.h"
#include "core/BushouRecord.h"
#include "core/IntegerRule.h"
#include "core/Lifespan.h"
#include "core/Messages.h"
#include "core/OfficerFile.h"

namespace k4r::cli {
namespace {

using messages::Quoted;

std::string Shown(std::optional<std::string_view> text) {
  return text ? Quoted(*text) : "null";
}

}  // namespace

Status RecordInput::Add(std::string_view key, std::string label, std::optional<std::string> text) {
  if (key == "file") {
    if (!text) {
      return Labelled(label, Failure{"null is not a file name"});
    }
    if (file_) {
      return Labelled(label, Failure{"given twice"});
    }
    file_ = std::move(text);
    return Success();
  }
  std::string_view name = key;
  Part part = Part::Value;
  if (name.ends_with("_name")) {
    name.remove_suffix(5);
    part = Part::Name;
  } else if (name.ends_with("_hex")) {
    name.remove_suffix(4);
    part = Part::Hex;
  }
  const RecordField* field = FieldByKey(name);
  const bool fits =
      field != nullptr && (part == Part::Value || (part == Part::Name && field->list != FieldList::None) ||
                           (part == Part::Hex && field->kind == FieldKind::Text));
  if (!fits) {
    return Labelled(label, Failure{"unknown key (see k4r set --help)"});
  }
  if (!text && part != Part::Name) {
    return Labelled(label, Failure{"null is not a value here; leave the key out to keep the field"});
  }
  const auto twice = std::find_if(given_.begin(), given_.end(),
                                  [&](const Entry& entry) { return entry.id == field->id && entry.part == part; });
  if (twice != given_.end()) {
    const std::size_t start = twice == given_.begin() ? 0 : std::prev(twice)->textEnd;
    return Labelled(label, Failure{"given twice (also as " + texts_.substr(start, twice->labelEnd - start) + ")"});
  }
  if (texts_.size() + label.size() + (text ? text->size() : 0) > std::numeric_limits<std::uint32_t>::max()) {
    return Labelled(label, Failure{messages::OutOfMemory()});
  }
  texts_ += label;
  const auto labelEnd = static_cast<std::uint32_t>(texts_.size());
  if (text) {
    texts_ += *text;
  }
  given_.push_back({field->id, part, !text, labelEnd, static_cast<std::uint32_t>(texts_.size())});
  return Success();
}

void RecordInput::Reserve(std::size_t values, std::size_t bytes) {
  given_.reserve(values);
  texts_.reserve(bytes);
}

RecordInput::Parts RecordInput::PartsOf(FieldId id) const {
  Parts parts;
  std::uint32_t start = 0;
  for (const Entry& entry : given_) {
    if (entry.id == id) {
      Given given{texts_.substr(start, entry.labelEnd - start), std::nullopt};
      if (!entry.null) {
        given.text = texts_.substr(entry.labelEnd, entry.textEnd - entry.labelEnd);
      }
      (entry.part == Part::Value ? parts.value : entry.part == Part::Name ? parts.name : parts.hex) = std::move(given);
    }
    start = entry.textEnd;
  }
  return parts;
}

Status RecordInput::ApplyText(const RecordField& field, const Parts& parts, const BushouRecord& decoded,
                              BushouRecord& record) const {
  const ByteString& stored = decoded.*field.text;
  if (parts.hex) {
    const Given& hex = *parts.hex;
    const std::optional<ByteString> bytes = BytesOfHex(*hex.text);
    if (!bytes) {
      return Labelled(hex.label, Failure{Quoted(*hex.text) +
                                         " is not bytes in hexadecimal (a spreadsheet program may have read it as a "
                                         "number: 'k4r dump --xlsx' keeps it text)"});
    }
    if (parts.value && !SameTextAsStored(ShowCp932(*bytes).utf8, *parts.value->text)) {
      return Labelled(parts.value->label, Failure{Quoted(*parts.value->text) + " is not what " + hex.label +
                                                  " shows; change one of them, or leave the bytes out"});
    }
    if (*bytes == stored) {
      return Success();
    }
    if (Status set = SetTextBytes(field, *bytes, record); !set) {
      return Labelled(hex.label, set.failure());
    }
    return Success();
  }
  const std::string shown = ShowCp932(stored).utf8;
  if (!parts.value || SameTextAsStored(shown, *parts.value->text)) {
    return Success();
  }
  if (ConvertedBySpreadsheet(shown, *parts.value->text)) {
    return Labelled(parts.value->label, Failure{ConvertedMessage(shown, *parts.value->text)});
  }
  if (Status set = SetText(field, *parts.value->text, record); !set) {
    return Labelled(parts.value->label, set.failure());
  }
  return Success();
}

Status RecordInput::ApplyList(const RecordField& field, const Parts& parts, const BushouRecord& decoded,
                              BushouRecord& record, const ListViews& lists) const {
  const ListPosition position = NumberIn(field, decoded);
  const ListView* list = lists.For(field.list);
  std::optional<std::string_view> name;
  if (parts.name) {
    if (list == nullptr) {
      const char* option = field.kind == FieldKind::OfficerReference ? "--officer-list" : "--face-list";
      return Labelled(parts.name->label, Failure{"a name needs " + std::string(option)});
    }
    if (parts.name->text) {
      name = *parts.name->text;
    }
  }
  if (parts.value) {
    // A name in the position's own column counts as the command line counts it.
    Result<std::int32_t> given = IntegerOf(*parts.value->text);
    if (!given && list == nullptr) {
      const char* option = field.kind == FieldKind::OfficerReference ? "--officer-list" : "--face-list";
      return Labelled(parts.value->label, Failure{"a name needs " + std::string(option)});
    }
    if (!given && list != nullptr) {
      given = NameIsAt(*list, *parts.value->text, position) ? Result<std::int32_t>(position)
                                                            : PositionOfName(field, *parts.value->text, lists);
    }
    if (!given) {
      return Labelled(parts.value->label, given.failure());
    }
    if (parts.name && !NameIsAt(*list, name, given.value())) {
      const std::string holds =
          list->Holds(given.value()) ? Quoted(Utf8FromCp932(list->At(given.value()))) : "no entry";
      return Labelled(parts.name->label, Failure{Shown(name) + " does not agree with " + parts.value->label + " " +
                                                 std::to_string(given.value()) + ", which is " + holds});
    }
    if (given.value() == position) {
      return Success();
    }
    if (Status set = SetListPosition(field, given.value(), record, lists); !set) {
      return Labelled(parts.value->label, set.failure());
    }
    return Success();
  }
  if (!parts.name || NameIsAt(*list, name, position)) {
    return Success();
  }
  const Result<ListPosition> named = PositionOfName(field, name, lists);
  if (!named) {
    return Labelled(parts.name->label, named.failure());
  }
  if (Status set = SetListPosition(field, named.value(), record, lists); !set) {
    return Labelled(parts.name->label, set.failure());
  }
  return Success();
}

// The birth year first; then the death year, which moves the lifespan, or
// else the lifespan, which moves the death year. Given together, the three
// must agree, the file's birth year standing in for one not given.
Status RecordInput::ApplyYears(BushouRecord& record) const {
  const std::optional<Given> birth = PartsOf(FieldId::tanjou).value;
  const std::optional<Given> death = PartsOf(FieldId::botu).value;
  const std::optional<Given> lifespan = PartsOf(FieldId::jumyou).value;
  if (death && lifespan) {
    const Result<std::int32_t> d = IntegerOf(*death->text);
    const Result<std::int32_t> l = IntegerOf(*lifespan->text);
    const Result<std::int32_t> b = birth ? IntegerOf(*birth->text) : Result<std::int32_t>(record.tanjou);
    if (!d || !l || !b) {
      const Given& bad = !d ? *death : !l ? *lifespan : *birth;
      return Labelled(bad.label, (!d ? d : !l ? l : b).failure());
    }
    if (d.value() != DeathYear(b.value(), l.value())) {
      return Labelled(lifespan->label, Failure{std::to_string(l.value()) + " does not agree with " + death->label +
                                               " " + std::to_string(d.value()) + " and the birth year " +
                                               std::to_string(b.value()) + " (botu = tanjou + jumyou - 1)"});
    }
  }
  const auto set = [&record](FieldId id, const Given& given) -> Status {
    if (Status applied = SetNumber(Field(id), *given.text, record); !applied) {
      return Labelled(given.label, applied.failure());
    }
    return Success();
  };
  if (birth) {
    if (Status applied = set(FieldId::tanjou, *birth); !applied) {
      return applied;
    }
  }
  if (death) {
    return set(FieldId::botu, *death);
  }
  if (lifespan) {
    return set(FieldId::jumyou, *lifespan);
  }
  return Success();
}

Status RecordInput::ApplyStep(std::size_t index, const BushouRecord& decoded, BushouRecord& record,
                              const ListViews& lists) const {
  const RecordField& field = RecordFields()[index];
  const Parts parts = PartsAt(index);
  switch (field.kind) {
    case FieldKind::Text: return ApplyText(field, parts, decoded, record);
    case FieldKind::FixedListPosition:
    case FieldKind::OfficerReference:
    case FieldKind::Face: return ApplyList(field, parts, decoded, record, lists);
    case FieldKind::Ability:
      if (parts.value) {
        if (Status set = SetNumber(field, *parts.value->text, record); !set) {
          return Labelled(parts.value->label, set.failure());
        }
      }
      return Success();
    case FieldKind::RawByte: {
      if (!parts.value) {
        return Success();
      }
      const Result<std::int32_t> sex = IntegerOf(*parts.value->text);
      if (!sex) {
        return Labelled(parts.value->label, sex.failure());
      }
      if (sex.value() != decoded.*field.byte) {
        return Labelled(parts.value->label,
                        Failure{std::to_string(sex.value()) + " differs from the file's " +
                                std::to_string(decoded.*field.byte) + "; the sex byte is read only"});
      }
      return Success();
    }
    case FieldKind::Year: return field.id == FieldId::tanjou ? ApplyYears(record) : Success();
    case FieldKind::Lifespan: return Success();  // with the birth year
  }
  return Success();
}

std::optional<std::string> RecordInput::LabelOf(std::size_t index) const {
  // The years' step covers the two fields after the birth year.
  const std::size_t last = RecordFields()[index].id == FieldId::tanjou ? index + 2 : index;
  for (std::size_t i = index; i <= last; ++i) {
    const Parts parts = PartsAt(i);
    for (const std::optional<Given>* given : {&parts.value, &parts.name, &parts.hex}) {
      if (*given) {
        return (*given)->label;
      }
    }
  }
  return std::nullopt;
}

Status RecordInput::ApplyTo(const BushouFile& file, BushouRecord& record, const ListViews& lists) const {
  const BushouRecord decoded = DecodeRecord(file.image);
  const BushouRecord loaded = record;
  for (std::size_t index = 0; index < kFieldCount; ++index) {
    if (Status applied = ApplyStep(index, decoded, record, lists); !applied) {
      return applied;
    }
  }
  // The save's own checks, so that nothing is refused once writing starts.
  const Availability& availability = lists.loaded().availability;
  const auto savable = [&](const BushouRecord& candidate) -> Status {
    if (Result<ByteString> image = SavedImage(file, candidate, availability); !image) {
      return image.failure();
    }
    return Success();
  };
  Status checked = savable(record);
  if (checked) {
    return checked;
  }
  // Name the value that the save refuses: replay the steps one by one.
  BushouRecord replay = loaded;
  for (std::size_t index = 0; index < kFieldCount; ++index) {
    static_cast<void>(ApplyStep(index, decoded, replay, lists));
    if (!savable(replay)) {
      if (const std::optional<std::string> label = LabelOf(index)) {
        return Labelled(*label, checked.failure());
      }
      break;
    }
  }
  return checked;
}

}  // namespace k4r::cli
