#include "core/FieldTable.h"

#include <algorithm>
#include <array>
#include <string>

#include "core/RecordLayout.h"

namespace k4r {
namespace {

using R = BushouRecord;
using enum FieldKind;

// In the order of FieldId. Every byte of the record that no row names
// belongs to the game and passes through a save untouched.
constexpr std::array<RecordField, kFieldCount> kFields = {{
    {FieldId::sei1, "sei1", "姓", Text, 36, 8, FieldList::None, &R::sei1, nullptr, nullptr, -1, "family name"},
    {FieldId::mei1, "mei1", "名", Text, 62, 8, FieldList::None, &R::mei1, nullptr, nullptr, -1, "given name"},
    {FieldId::sei2, "sei2", "せい", Text, 45, 16, FieldList::None, &R::sei2, nullptr, nullptr, -1,
     "reading of the family name"},
    {FieldId::mei2, "mei2", "めい", Text, 71, 16, FieldList::None, &R::mei2, nullptr, nullptr, -1,
     "reading of the given name"},
    {FieldId::retuden, "retuden", "列伝", Text, 88, 146, FieldList::None, &R::retuden, nullptr, nullptr, -1,
     "biography"},
    {FieldId::seiji, "seiji", "政治", Ability, 252, 1, FieldList::None, nullptr, &R::seiji, nullptr, -1, "politics"},
    {FieldId::tousotu, "tousotu", "統率", Ability, 253, 1, FieldList::None, nullptr, &R::tousotu, nullptr, -1,
     "command"},
    {FieldId::tiryaku, "tiryaku", "知略", Ability, 254, 1, FieldList::None, nullptr, &R::tiryaku, nullptr, -1,
     "strategy"},
    {FieldId::kyouyou, "kyouyou", "教養", Ability, 255, 1, FieldList::None, nullptr, &R::kyouyou, nullptr, -1,
     "culture"},
    {FieldId::giri, "giri", "義理", Ability, 266, 1, FieldList::None, nullptr, &R::giri, nullptr, -1, "loyalty"},
    {FieldId::tokugi1, "tokugi1", "特技1", FixedListPosition, 256, 1, FieldList::Skills, nullptr, nullptr, nullptr, 0,
     "first skill"},
    {FieldId::tokugi2, "tokugi2", "特技2", FixedListPosition, 257, 1, FieldList::Skills, nullptr, nullptr, nullptr, 1,
     "second skill"},
    {FieldId::tokugi3, "tokugi3", "特技3", FixedListPosition, 258, 1, FieldList::Skills, nullptr, nullptr, nullptr, 2,
     "third skill"},
    {FieldId::seibetu, "seibetu", "性別", RawByte, 242, 1, FieldList::None, nullptr, nullptr, &R::seibetu, -1,
     "the sex byte"},
    {FieldId::tanjou, "tanjou", "誕生年", Year, 238, 2, FieldList::None, nullptr, &R::tanjou, nullptr, -1,
     "birth year"},
    {FieldId::botu, "botu", "没年", Year, 240, 2, FieldList::None, nullptr, &R::botu, nullptr, -1, "death year"},
    {FieldId::jumyou, "jumyou", "寿命", Lifespan, 0, 0, FieldList::None, nullptr, &R::jumyou, nullptr, -1,
     "lifespan, botu - tanjou + 1"},
    {FieldId::shutuji, "shutuji", "出自", FixedListPosition, 244, 1, FieldList::Origins, nullptr, &R::shutuji, nullptr,
     -1, "origin"},
    {FieldId::sinjin, "sinjin", "信心", FixedListPosition, 245, 1, FieldList::Faiths, nullptr, &R::sinjin, nullptr, -1,
     "faith"},
    {FieldId::Kyoten, "Kyoten", "所属領地", FixedListPosition, 259, 2, FieldList::Bases, nullptr, &R::Kyoten, nullptr,
     -1, "home base"},
    {FieldId::Aishou, "Aishou", "相性", FixedListPosition, 265, 1, FieldList::Compatibility, nullptr, &R::Aishou,
     nullptr, -1, "compatibility"},
    {FieldId::Oya, "Oya", "実父武将", OfficerReference, 248, 2, FieldList::Officers, nullptr, &R::Oya, nullptr, -1,
     "father"},
    {FieldId::Tomo, "Tomo", "親友武将", OfficerReference, 261, 2, FieldList::Officers, nullptr, &R::Tomo, nullptr, -1,
     "friend"},
    {FieldId::Teki, "Teki", "敵対武将", OfficerReference, 263, 2, FieldList::Officers, nullptr, &R::Teki, nullptr, -1,
     "enemy"},
    {FieldId::Kao, "Kao", "顔CG", Face, 236, 2, FieldList::Faces, nullptr, &R::Kao, nullptr, -1, "face number"},
}};

constexpr bool InIdOrder() {
  for (std::size_t i = 0; i < kFields.size(); ++i) {
    if (static_cast<std::size_t>(kFields[i].id) != i) {
      return false;
    }
  }
  return true;
}
static_assert(InIdOrder(), "the rows must follow FieldId");

// The save writes the biography after the faith and before the base, the
// officer references and the face last.
constexpr std::array kSaveOrder = {
    FieldId::sei1,    FieldId::mei1,    FieldId::sei2,    FieldId::mei2,    FieldId::seiji,   FieldId::tousotu,
    FieldId::tiryaku, FieldId::kyouyou, FieldId::giri,    FieldId::tokugi1, FieldId::tokugi2, FieldId::tokugi3,
    FieldId::tanjou,  FieldId::botu,    FieldId::shutuji, FieldId::sinjin,  FieldId::retuden, FieldId::Kyoten,
    FieldId::Aishou,  FieldId::Oya,     FieldId::Tomo,    FieldId::Teki,    FieldId::Kao,
};

}  // namespace

std::span<const RecordField> RecordFields() {
  return kFields;
}

const RecordField& Field(FieldId id) {
  return kFields[static_cast<std::size_t>(id)];
}

const RecordField* FieldByKey(std::string_view key) {
  const auto found = std::find_if(kFields.begin(), kFields.end(), [&](const RecordField& f) { return f.key == key; });
  return found == kFields.end() ? nullptr : &*found;
}

std::int32_t& NumberIn(const RecordField& field, BushouRecord& record) {
  return field.skill >= 0 ? record.tokugi[static_cast<std::size_t>(field.skill)] : record.*field.number;
}

std::int32_t NumberIn(const RecordField& field, const BushouRecord& record) {
  return field.skill >= 0 ? record.tokugi[static_cast<std::size_t>(field.skill)] : record.*field.number;
}

std::string FieldLabel(const RecordField& field) {
  return std::string(field.caption) + " (" + std::string(field.key) + ")";
}

std::span<const FieldId> SaveOrder() {
  return kSaveOrder;
}

std::vector<ByteRange> UncoveredRanges() {
  std::array<bool, layout::kRecordEnd> covered{};
  for (const RecordField& field : kFields) {
    std::fill_n(covered.begin() + static_cast<std::ptrdiff_t>(field.offset), field.width, true);
  }
  std::vector<ByteRange> ranges;
  for (std::size_t i = 0; i < covered.size(); ++i) {
    if (covered[i]) {
      continue;
    }
    if (!ranges.empty() && ranges.back().last + 1 == i) {
      ranges.back().last = i;
    } else {
      ranges.push_back({i, i});
    }
  }
  return ranges;
}

}  // namespace k4r
