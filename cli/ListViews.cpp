#include "cli/ListViews.h"

#include <QString>

#include "bridge/Cp932.h"
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

std::string ListDescription(FieldList list) {
  switch (list) {
    case FieldList::Skills: return "the skills";
    case FieldList::Origins: return "the origins";
    case FieldList::Faiths: return "the faiths";
    case FieldList::Bases: return "the bases";
    case FieldList::Compatibility: return "the compatibility values";
    case FieldList::Officers: return "the officer list";
    case FieldList::Faces: return "the face list";
    case FieldList::None: break;
  }
  return "";
}

ListView::ListView(std::string description, std::vector<ByteView> entries)
    : description_(std::move(description)), entries_(std::move(entries)), shown_(entries_.size()) {}

ByteView ListView::At(ListPosition position) const {
  return Holds(position) ? entries_[static_cast<std::size_t>(position)] : ByteView{};
}

const Json& ListView::Shown(ListPosition position) const {
  static const Json kNone = nullptr;
  if (!Holds(position)) {
    return kNone;
  }
  std::optional<Json>& shown = shown_[static_cast<std::size_t>(position)];
  if (!shown) {
    shown = Json(Utf8FromCp932(At(position)));
  }
  return *shown;
}

std::span<const ListPosition> ListView::Named(ByteView bytes) const {
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

std::vector<ListPosition> ListView::Containing(std::string_view text, std::size_t limit) const {
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

ListViews::ListViews(const LoadedNameLists& loaded)
    : loaded_(loaded),
      skills_(ListDescription(FieldList::Skills), Views(vocabulary::Skills().entries)),
      origins_(ListDescription(FieldList::Origins), Views(vocabulary::Origins().entries)),
      faiths_(ListDescription(FieldList::Faiths), Views(vocabulary::Faiths().entries)),
      bases_(ListDescription(FieldList::Bases), Views(vocabulary::Bases().entries)),
      compatibility_(ListDescription(FieldList::Compatibility), Views(vocabulary::Compatibility().entries)) {
  if (loaded.officers) {
    officers_.emplace(ListDescription(FieldList::Officers), Views(*loaded.officers));
  }
  if (loaded.faces) {
    faces_.emplace(ListDescription(FieldList::Faces), Views(*loaded.faces));
  }
}

const ListView* ListViews::For(FieldList list) const {
  switch (list) {
    case FieldList::Skills: return &skills_;
    case FieldList::Origins: return &origins_;
    case FieldList::Faiths: return &faiths_;
    case FieldList::Bases: return &bases_;
    case FieldList::Compatibility: return &compatibility_;
    case FieldList::Officers: return officers_ ? &*officers_ : nullptr;
    case FieldList::Faces: return faces_ ? &*faces_ : nullptr;
    case FieldList::None: break;
  }
  return nullptr;
}

}  // namespace k4r::cli
