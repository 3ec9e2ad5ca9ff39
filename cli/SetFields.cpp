#include "cli/SetFields.h"

#include <QString>
#include <algorithm>

#include "bridge/Cp932.h"
#include "core/RecordLayout.h"
#include "core/Vocabulary.h"

namespace k4r::cli {
namespace {

std::vector<ByteView> Views(std::span<const ByteView> entries) {
  return {entries.begin(), entries.end()};
}

std::vector<ByteView> Views(const NameList& entries) {
  return {entries.begin(), entries.end()};
}

}  // namespace

std::span<const SettableField> SettableFields() {
  using F = OfficerForm;
  using R = BushouRecord;
  static const SettableField fields[] = {
      {.name = "sei1", .kind = FieldKind::Text, .text = &F::sei1, .stored = &R::sei1, .width = layout::kSei1Width},
      {.name = "mei1", .kind = FieldKind::Text, .text = &F::mei1, .stored = &R::mei1, .width = layout::kMei1Width},
      {.name = "sei2", .kind = FieldKind::Text, .text = &F::sei2, .stored = &R::sei2, .width = layout::kSei2Width},
      {.name = "mei2", .kind = FieldKind::Text, .text = &F::mei2, .stored = &R::mei2, .width = layout::kMei2Width},
      {.name = "retuden",
       .kind = FieldKind::Text,
       .text = &F::retuden,
       .stored = &R::retuden,
       .width = layout::kRetudenWidth},
      {.name = "seiji", .kind = FieldKind::Ability, .number = &F::seiji},
      {.name = "tousotu", .kind = FieldKind::Ability, .number = &F::tousotu},
      {.name = "tiryaku", .kind = FieldKind::Ability, .number = &F::tiryaku},
      {.name = "kyouyou", .kind = FieldKind::Ability, .number = &F::kyouyou},
      {.name = "giri", .kind = FieldKind::Ability, .number = &F::giri},
      {.name = "tokugi1", .kind = FieldKind::List, .list = ListKind::Skills, .skill = 0},
      {.name = "tokugi2", .kind = FieldKind::List, .list = ListKind::Skills, .skill = 1},
      {.name = "tokugi3", .kind = FieldKind::List, .list = ListKind::Skills, .skill = 2},
      {.name = "seibetu", .kind = FieldKind::ReadOnly},
      {.name = "tanjou", .kind = FieldKind::BirthYear},
      {.name = "botu", .kind = FieldKind::DeathYear},
      {.name = "jumyou", .kind = FieldKind::Lifespan},
      {.name = "shutuji",
       .kind = FieldKind::List,
       .list = ListKind::Origins,
       .position = &F::shutuji,
       .decoded = &R::shutuji},
      {.name = "sinjin",
       .kind = FieldKind::List,
       .list = ListKind::Faiths,
       .position = &F::sinjin,
       .decoded = &R::sinjin},
      {.name = "Kyoten",
       .kind = FieldKind::List,
       .list = ListKind::Bases,
       .position = &F::Kyoten,
       .decoded = &R::Kyoten},
      {.name = "Aishou",
       .kind = FieldKind::List,
       .list = ListKind::Compatibility,
       .position = &F::Aishou,
       .decoded = &R::Aishou},
      {.name = "Oya", .kind = FieldKind::List, .list = ListKind::Officers, .position = &F::Oya, .decoded = &R::Oya},
      {.name = "Tomo", .kind = FieldKind::List, .list = ListKind::Officers, .position = &F::Tomo, .decoded = &R::Tomo},
      {.name = "Teki", .kind = FieldKind::List, .list = ListKind::Officers, .position = &F::Teki, .decoded = &R::Teki},
      {.name = "Kao", .kind = FieldKind::List, .list = ListKind::Faces, .position = &F::Kao, .decoded = &R::Kao},
  };
  return fields;
}

const SettableField* FindField(std::string_view name) {
  const std::span<const SettableField> fields = SettableFields();
  const auto found = std::find_if(fields.begin(), fields.end(), [&](const SettableField& f) { return f.name == name; });
  return found == fields.end() ? nullptr : &*found;
}

ListPosition& PositionIn(const SettableField& field, OfficerForm& form) {
  return field.skill >= 0 ? form.tokugi[static_cast<std::size_t>(field.skill)] : form.*field.position;
}

ListPosition DecodedPosition(const SettableField& field, const BushouRecord& record) {
  return field.skill >= 0 ? record.tokugi[static_cast<std::size_t>(field.skill)] : record.*field.decoded;
}

ChoiceList::ChoiceList(std::string description, std::vector<ByteView> entries)
    : description_(std::move(description)), entries_(std::move(entries)) {}

ByteView ChoiceList::At(ListPosition position) const {
  return Holds(position) ? entries_[static_cast<std::size_t>(position)] : ByteView{};
}

std::span<const ListPosition> ChoiceList::Named(ByteView bytes) const {
  if (index_.empty() && !entries_.empty()) {
    for (std::size_t i = 0; i < entries_.size(); ++i) {
      index_[ByteString(entries_[i])].push_back(static_cast<ListPosition>(i));
    }
  }
  const auto found = index_.find(ByteString(bytes));
  if (found == index_.end()) {
    return {};
  }
  return found->second;
}

std::vector<ListPosition> ChoiceList::Containing(std::string_view text, std::size_t limit) const {
  // Through the code page and back, so that the JIS forms of a character
  // meet the forms the entries show.
  QString wanted = bridge::FromUtf8(text);
  if (const std::optional<ByteString> bytes = bridge::ToCp932(wanted)) {
    wanted = bridge::FromCp932(*bytes);
  }
  std::vector<ListPosition> found;
  if (wanted.isEmpty()) {
    return found;
  }
  for (std::size_t i = 0; i < entries_.size() && found.size() <= limit; ++i) {
    if (bridge::FromCp932(entries_[i]).contains(wanted)) {
      found.push_back(static_cast<ListPosition>(i));
    }
  }
  return found;
}

ChoiceLists::ChoiceLists(const LoadedNameLists& lists)
    : loaded_(lists),
      skills_("the skills", Views(vocabulary::Skills().entries)),
      origins_("the origins", Views(vocabulary::Origins().entries)),
      faiths_("the faiths", Views(vocabulary::Faiths().entries)),
      bases_("the bases", Views(vocabulary::Bases().entries)),
      compatibility_("the compatibility values", Views(vocabulary::Compatibility().entries)) {
  if (lists.officers) {
    officers_.emplace("the officer list", Views(*lists.officers));
  }
  if (lists.faces) {
    faces_.emplace("the face list", Views(*lists.faces));
  }
}

const ChoiceList* ChoiceLists::For(const SettableField& field) const {
  switch (field.list) {
    case ListKind::Skills: return &skills_;
    case ListKind::Origins: return &origins_;
    case ListKind::Faiths: return &faiths_;
    case ListKind::Bases: return &bases_;
    case ListKind::Compatibility: return &compatibility_;
    case ListKind::Officers: return officers_ ? &*officers_ : nullptr;
    case ListKind::Faces: return faces_ ? &*faces_ : nullptr;
    case ListKind::None: break;
  }
  return nullptr;
}

}  // namespace k4r::cli
