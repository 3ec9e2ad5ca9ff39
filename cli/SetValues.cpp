#include "cli/SetValues.h"

#include <cstdint>
#include <string>

#include "core/IntegerRule.h"
#include "core/Lifespan.h"
#include "core/Messages.h"
#include "core/OfficerFile.h"

namespace k4r::cli {
namespace {

constexpr std::size_t kMostSuggestions = 5;
constexpr std::size_t kMostPositionsListed = 10;

using messages::Quoted;

Result<std::int32_t> Sum(const char* what, std::int64_t value) {
  if (value < INT32_MIN || value > INT32_MAX) {
    return Failure{std::string("the ") + what + " would be " + std::to_string(value) + ", not a 32-bit integer"};
  }
  return static_cast<std::int32_t>(value);
}

std::string PositionList(std::span<const ListPosition> positions, std::size_t most) {
  std::string text;
  for (std::size_t i = 0; i < positions.size() && i < most; ++i) {
    text += (i == 0 ? "" : ", ") + std::to_string(positions[i]);
  }
  return positions.size() > most ? text + ", …" : text;
}

// Without its list loaded (and, for the face, the face file) the save leaves
// a field's bytes alone: say so rather than report a change that never
// reaches the file.
std::optional<Failure> Unwritable(const RecordField& field, const ListViews& lists) {
  const Availability& availability = lists.loaded().availability;
  if (field.kind == FieldKind::OfficerReference && !availability.officerList) {
    return Failure{"officer references are written only with a readable --officer-list"};
  }
  if (field.kind == FieldKind::Face && !availability.face) {
    return Failure{"the face number is written only with a readable --face-list and an existing --face-file"};
  }
  return std::nullopt;
}

}  // namespace

Failure Labelled(std::string_view label, const Failure& failure) {
  return Failure{std::string(label) + ": " + failure.message};
}

Status SetText(const RecordField& field, std::string_view utf8, BushouRecord& record) {
  std::optional<ByteString> bytes = Cp932FromUtf8(utf8);
  if (!bytes) {
    return Failure{Quoted(utf8) + " cannot be written in code page 932"};
  }
  if (bytes->find('\0') != ByteString::npos) {
    return Failure{"a text cannot hold the NUL character"};
  }
  // The editor gives the biography back with CR LF line breaks; measure that.
  ByteString stored = field.id == FieldId::retuden ? NormalizeLineBreaks(*bytes) : std::move(*bytes);
  if (stored.size() > field.width) {
    return Failure{Quoted(utf8) + " takes " + std::to_string(stored.size()) +
                   " bytes in code page 932; the field holds " + std::to_string(field.width)};
  }
  record.*field.text = std::move(stored);
  return Success();
}

Status SetTextBytes(const RecordField& field, ByteString bytes, BushouRecord& record) {
  if (bytes.find('\0') != ByteString::npos) {
    return Failure{"a text cannot hold the byte 00"};
  }
  ByteString stored = field.id == FieldId::retuden ? NormalizeLineBreaks(bytes) : std::move(bytes);
  if (stored.size() > field.width) {
    return Failure{"the bytes " + Quoted(HexOf(stored)) + " are " + std::to_string(stored.size()) +
                   " bytes; the field holds " + std::to_string(field.width)};
  }
  record.*field.text = std::move(stored);
  return Success();
}

// Birth year and lifespan are the window's inputs and the death year follows
// them; a death year given directly moves the lifespan instead.
Status SetNumber(const RecordField& field, std::string_view text, BushouRecord& record) {
  const Result<std::int32_t> value = IntegerOf(text);
  if (!value) {
    return value.failure();
  }
  switch (field.kind) {
    case FieldKind::Ability: NumberIn(field, record) = value.value(); return Success();
    case FieldKind::Year:
      if (field.id == FieldId::botu) {
        const Result<std::int32_t> lifespan = Sum("lifespan", Lifespan(record.tanjou, value.value()));
        if (!lifespan) {
          return lifespan.failure();
        }
        record.jumyou = lifespan.value();
        record.botu = value.value();
        return Success();
      }
      [[fallthrough]];
    case FieldKind::Lifespan: {
      const bool birthGiven = field.kind == FieldKind::Year;
      const std::int32_t birth = birthGiven ? value.value() : record.tanjou;
      const std::int32_t lifespan = birthGiven ? record.jumyou : value.value();
      const Result<std::int32_t> death = Sum("death year", DeathYear(birth, lifespan));
      if (!death) {
        return death.failure();
      }
      record.tanjou = birth;
      record.jumyou = lifespan;
      record.botu = death.value();
      return Success();
    }
    case FieldKind::Text:
    case FieldKind::FixedListPosition:
    case FieldKind::OfficerReference:
    case FieldKind::Face:
    case FieldKind::RawByte: break;
  }
  return Failure{"is not a number field"};
}

Status SetListPosition(const RecordField& field, ListPosition position, BushouRecord& record, const ListViews& lists) {
  if (std::optional<Failure> unwritable = Unwritable(field, lists)) {
    return *unwritable;
  }
  const ListView* list = lists.For(field.list);
  if (list == nullptr) {
    return Failure{"its list was not loaded"};
  }
  if (position != kNoSelection && !list->Holds(position)) {
    const std::string range = list->size() == 0 ? "the list is empty" : "0.." + std::to_string(list->size() - 1);
    return Failure{"position " + std::to_string(position) + " is outside " + list->description() + " (" + range +
                   "; -1 for none)"};
  }
  NumberIn(field, record) = position;
  return Success();
}

Result<ListPosition> PositionOfName(const RecordField& field, std::optional<std::string_view> name,
                                    const ListViews& lists) {
  if (std::optional<Failure> unwritable = Unwritable(field, lists)) {
    return *unwritable;
  }
  const ListView* list = lists.For(field.list);
  if (list == nullptr) {
    return Failure{"its list was not loaded"};
  }
  if (!name) {
    return kNoSelection;
  }
  // Compared as the file would hold it: the JIS forms of a character and its
  // code page form give the same bytes.
  const std::optional<ByteString> bytes = Cp932FromUtf8(*name);
  const std::span<const ListPosition> named = bytes ? list->Named(*bytes) : std::span<const ListPosition>{};
  if (named.size() == 1) {
    return named.front();
  }
  if (named.size() > 1) {
    return Failure{Quoted(*name) + " is the entry at several positions of " + list->description() + ": " +
                   PositionList(named, kMostPositionsListed) + "; give the position instead"};
  }
  std::string message = Quoted(*name) + " is not an entry of " + list->description();
  const std::vector<ListPosition> containing = list->Containing(*name, kMostSuggestions);
  for (std::size_t i = 0; i < containing.size() && i < kMostSuggestions; ++i) {
    message += (i == 0 ? "; entries containing it: " : ", ") + Utf8FromCp932(list->At(containing[i])) + " (" +
               std::to_string(containing[i]) + ")";
  }
  if (containing.size() > kMostSuggestions) {
    message += ", …";
  }
  return Failure{std::move(message)};
}

bool NameIsAt(const ListView& list, std::optional<std::string_view> name, ListPosition position) {
  if (!name || !list.Holds(position)) {
    return !name && !list.Holds(position);
  }
  const ByteView entry = list.At(position);
  // Shown text too: an entry whose bytes do not convert back unchanged must
  // still agree with its own dump.
  const std::optional<ByteString> bytes = Cp932FromUtf8(*name);
  return (bytes && *bytes == entry) || Utf8FromCp932(entry) == *name;
}

Status SetFromArgument(const RecordField& field, std::string_view value, BushouRecord& record, const ListViews& lists) {
  switch (field.kind) {
    case FieldKind::Text: return SetText(field, value, record);
    case FieldKind::FixedListPosition:
    case FieldKind::OfficerReference:
    case FieldKind::Face: {
      if (const std::optional<std::int32_t> position = ParseInteger(value)) {
        return SetListPosition(field, *position, record, lists);
      }
      const Result<ListPosition> named = PositionOfName(field, value, lists);
      if (!named) {
        return named.failure();
      }
      return SetListPosition(field, named.value(), record, lists);
    }
    case FieldKind::RawByte: return Failure{"read only: the sex byte is never written"};
    case FieldKind::Ability:
    case FieldKind::Year:
    case FieldKind::Lifespan: break;
  }
  return SetNumber(field, value, record);
}

}  // namespace k4r::cli
