#include "cli/SetRecordInput.h"

#include <cstdint>

#include "cli/SetValues.h"
#include "core/BushouRecord.h"
#include "core/IntegerRule.h"
#include "core/Lifespan.h"
#include "core/Messages.h"
#include "core/StorableNumbers.h"

namespace k4r::cli {
namespace {

std::size_t IndexOf(const SettableField& field) {
  return static_cast<std::size_t>(&field - SettableFields().data());
}

std::string Quoted(std::string_view text) {
  std::string quoted = "'";
  quoted += text;
  quoted += "'";
  return quoted;
}

std::optional<ByteString> FromHex(std::string_view hex) {
  const auto digit = [](char c) -> int {
    if (c >= '0' && c <= '9') {
      return c - '0';
    }
    if (c >= 'a' && c <= 'f') {
      return c - 'a' + 10;
    }
    if (c >= 'A' && c <= 'F') {
      return c - 'A' + 10;
    }
    return -1;
  };
  if (hex.size() % 2 != 0) {
    return std::nullopt;
  }
  ByteString bytes;
  for (std::size_t i = 0; i < hex.size(); i += 2) {
    const int high = digit(hex[i]);
    const int low = digit(hex[i + 1]);
    if (high < 0 || low < 0) {
      return std::nullopt;
    }
    bytes.push_back(static_cast<char>(high * 16 + low));
  }
  return bytes;
}

Result<std::int32_t> Integer(std::string_view text) {
  const std::optional<std::int32_t> value = ParseInteger(text);
  if (!value) {
    return Failure{messages::NotAnInteger(text)};
  }
  return *value;
}

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
  enum class Part { Value, Name, Hex } part = Part::Value;
  if (name.ends_with("_name")) {
    name.remove_suffix(5);
    part = Part::Name;
  } else if (name.ends_with("_hex")) {
    name.remove_suffix(4);
    part = Part::Hex;
  }
  const SettableField* field = FindField(name);
  const bool fits =
      field != nullptr && (part == Part::Value || (part == Part::Name && field->kind == FieldKind::List) ||
                           (part == Part::Hex && field->kind == FieldKind::Text));
  if (!fits) {
    return Labelled(label, Failure{"unknown key (see k4r set --help)"});
  }
  if (!text && part != Part::Name) {
    return Labelled(label, Failure{"null is not a value here; leave the key out to keep the field"});
  }
  Parts& parts = parts_.at(IndexOf(*field));
  std::optional<Given>& slot = part == Part::Value ? parts.value : part == Part::Name ? parts.name : parts.hex;
  if (slot) {
    return Labelled(label, Failure{"given twice (also as " + slot->label + ")"});
  }
  slot = Given{std::move(label), std::move(text)};
  return Success();
}

const RecordInput::Parts& RecordInput::PartsOf(std::string_view name) const {
  return parts_.at(IndexOf(*FindField(name)));
}

Status RecordInput::ApplyText(const SettableField& field, const Parts& parts, const BushouRecord& record,
                              OfficerForm& form) const {
  const ByteString& stored = record.*field.stored;
  if (parts.hex) {
    const Given& hex = *parts.hex;
    const std::optional<ByteString> bytes = FromHex(*hex.text);
    if (!bytes) {
      return Labelled(hex.label, Failure{Quoted(*hex.text) + " is not bytes in hexadecimal"});
    }
    if (parts.value && ShowCp932(*bytes).utf8 != *parts.value->text) {
      return Labelled(parts.value->label, Failure{Quoted(*parts.value->text) + " is not what " + hex.label +
                                                  " shows; change one of them, or leave the bytes out"});
    }
    if (*bytes == stored) {
      return Success();
    }
    if (Status set = SetTextBytes(field, *bytes, form); !set) {
      return Labelled(hex.label, set.failure());
    }
    return Success();
  }
  if (!parts.value || *parts.value->text == ShowCp932(stored).utf8) {
    return Success();
  }
  if (Status set = SetText(field, *parts.value->text, form); !set) {
    return Labelled(parts.value->label, set.failure());
  }
  return Success();
}

Status RecordInput::ApplyList(const SettableField& field, const Parts& parts, const BushouRecord& record,
                              OfficerForm& form, const ChoiceLists& lists) const {
  const ListPosition decoded = DecodedPosition(field, record);
  const ChoiceList* list = lists.For(field);
  std::optional<std::string_view> name;
  if (parts.name) {
    if (list == nullptr) {
      const char* option = field.list == ListKind::Officers ? "--officer-list" : "--face-list";
      return Labelled(parts.name->label, Failure{"a name needs " + std::string(option)});
    }
    if (parts.name->text) {
      name = *parts.name->text;
    }
  }
  if (parts.value) {
    const Result<std::int32_t> position = Integer(*parts.value->text);
    if (!position) {
      return Labelled(parts.value->label, position.failure());
    }
    if (parts.name && !NameIsAt(*list, name, position.value())) {
      const std::string holds =
          list->Holds(position.value()) ? Quoted(Utf8FromCp932(list->At(position.value()))) : "no entry";
      return Labelled(parts.name->label, Failure{Shown(name) + " does not agree with " + parts.value->label + " " +
                                                 std::to_string(position.value()) + ", which is " + holds});
    }
    if (position.value() == decoded) {
      return Success();
    }
    if (Status set = SetListPosition(field, position.value(), form, lists); !set) {
      return Labelled(parts.value->label, set.failure());
    }
    return Success();
  }
  if (!parts.name || NameIsAt(*list, name, decoded)) {
    return Success();
  }
  const Result<ListPosition> named = PositionOfName(field, name, lists);
  if (!named) {
    return Labelled(parts.name->label, named.failure());
  }
  if (Status set = SetListPosition(field, named.value(), form, lists); !set) {
    return Labelled(parts.name->label, set.failure());
  }
  return Success();
}

// The birth year first; then the death year, which moves the lifespan, or
// else the lifespan, which moves the death year. Given together, the three
// must agree, the file's birth year standing in for one not given.
Status RecordInput::ApplyYears(OfficerForm& form) const {
  const std::optional<Given>& birth = PartsOf("tanjou").value;
  const std::optional<Given>& death = PartsOf("botu").value;
  const std::optional<Given>& lifespan = PartsOf("jumyou").value;
  if (death && lifespan) {
    const Result<std::int32_t> d = Integer(*death->text);
    const Result<std::int32_t> l = Integer(*lifespan->text);
    const Result<std::int32_t> b = Integer(birth ? *birth->text : form.tanjou);
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
  const auto set = [&form](const char* name, const Given& given) -> Status {
    if (Status applied = SetNumber(*FindField(name), *given.text, form); !applied) {
      return Labelled(given.label, applied.failure());
    }
    return Success();
  };
  if (birth) {
    if (Status applied = set("tanjou", *birth); !applied) {
      return applied;
    }
  }
  if (death) {
    return set("botu", *death);
  }
  if (lifespan) {
    return set("jumyou", *lifespan);
  }
  return Success();
}

Status RecordInput::ApplyStep(std::size_t index, const BushouRecord& record, OfficerForm& form,
                              const ChoiceLists& lists) const {
  const SettableField& field = SettableFields()[index];
  const Parts& parts = parts_.at(index);
  switch (field.kind) {
    case FieldKind::Text: return ApplyText(field, parts, record, form);
    case FieldKind::List: return ApplyList(field, parts, record, form, lists);
    case FieldKind::Ability:
      if (parts.value) {
        if (Status set = SetNumber(field, *parts.value->text, form); !set) {
          return Labelled(parts.value->label, set.failure());
        }
      }
      return Success();
    case FieldKind::ReadOnly: {
      if (!parts.value) {
        return Success();
      }
      const Result<std::int32_t> sex = Integer(*parts.value->text);
      if (!sex) {
        return Labelled(parts.value->label, sex.failure());
      }
      if (sex.value() != record.seibetu) {
        return Labelled(parts.value->label, Failure{std::to_string(sex.value()) + " differs from the file's " +
                                                    std::to_string(record.seibetu) + "; the sex byte is read only"});
      }
      return Success();
    }
    case FieldKind::BirthYear: return ApplyYears(form);
    case FieldKind::DeathYear:
    case FieldKind::Lifespan: return Success();  // with the birth year
  }
  return Success();
}

std::optional<std::string> RecordInput::LabelOf(std::size_t index) const {
  const SettableField& field = SettableFields()[index];
  // The years' step covers the two fields after the birth year.
  const std::size_t last = field.kind == FieldKind::BirthYear ? index + 2 : index;
  for (std::size_t i = index; i <= last; ++i) {
    for (const std::optional<Given>* given : {&parts_.at(i).value, &parts_.at(i).name, &parts_.at(i).hex}) {
      if (*given) {
        return (*given)->label;
      }
    }
  }
  return std::nullopt;
}

Status RecordInput::ApplyTo(const BushouFile& file, OfficerForm& form, const ChoiceLists& lists) const {
  const BushouRecord record = DecodeRecord(file.image);
  const OfficerForm loaded = form;
  const std::size_t steps = SettableFields().size();
  for (std::size_t index = 0; index < steps; ++index) {
    if (Status applied = ApplyStep(index, record, form, lists); !applied) {
      return applied;
    }
  }
  const Availability& availability = lists.loaded().availability;
  Status savable = CheckSavable(file, form, availability);
  if (savable) {
    return savable;
  }
  // Name the value that the save refuses: replay the steps one by one.
  OfficerForm replay = loaded;
  for (std::size_t index = 0; index < steps; ++index) {
    static_cast<void>(ApplyStep(index, record, replay, lists));
    if (!CheckSavable(file, replay, availability)) {
      if (const std::optional<std::string> label = LabelOf(index)) {
        return Labelled(*label, savable.failure());
      }
      break;
    }
  }
  return savable;
}

Status CheckSavable(const BushouFile& file, const OfficerForm& form, const Availability& availability) {
  const Result<BushouRecord> record = RecordFromForm(form);
  if (!record) {
    return record.failure();
  }
  if (Status storable = CheckStorableNumbers(record.value()); !storable) {
    return storable;
  }
  ByteString image = file.image;
  return EncodeRecord(record.value(), image, {availability.officerList, availability.face});
}

}  // namespace k4r::cli
