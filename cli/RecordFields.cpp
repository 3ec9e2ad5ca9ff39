#include "cli/RecordFields.h"

#include <array>
#include <string>

#include "core/Vocabulary.h"

namespace k4r::cli {

ShownList::ShownList(std::span<const ByteView> entries)
    : entries_(entries.begin(), entries.end()), shown_(entries.size()) {}

ShownList::ShownList(std::span<const ByteString> entries)
    : entries_(entries.begin(), entries.end()), shown_(entries.size()) {}

const Json& ShownList::At(ListPosition position) const {
  static const Json kNone = nullptr;
  if (position < 0 || static_cast<std::size_t>(position) >= entries_.size()) {
    return kNone;
  }
  const auto index = static_cast<std::size_t>(position);
  if (!shown_[index]) {
    shown_[index] = Json(Utf8FromCp932(entries_[index]));
  }
  return *shown_[index];
}

ShownLists::ShownLists(const LoadedNameLists& loaded)
    : skills(vocabulary::Skills().entries),
      origins(vocabulary::Origins().entries),
      faiths(vocabulary::Faiths().entries),
      bases(vocabulary::Bases().entries),
      compatibility(vocabulary::Compatibility().entries) {
  if (loaded.officers) {
    officers.emplace(std::span<const ByteString>(*loaded.officers));
  }
  if (loaded.faces) {
    faces.emplace(std::span<const ByteString>(*loaded.faces));
  }
}

namespace {

class CellWriter {
 public:
  CellWriter(std::vector<FieldCell>& cells, FieldLayout layout) : cells_(cells), layout_(layout) {}

  void Value(std::string_view key, Json value) { cells_.push_back({key, std::move(value), false}); }
  void Companion(std::string_view key, Json value) { cells_.push_back({key, std::move(value), true}); }

  // A text and, where converting it back would not give its bytes, the bytes.
  void Text(std::string_view key, std::string_view hexKey, ByteView bytes) {
    ShownText shown = ShowCp932(bytes);
    Value(key, std::move(shown.utf8));
    if (!shown.exact) {
      Companion(hexKey, HexOf(bytes));
    } else if (layout_ == FieldLayout::Table) {
      Companion(hexKey, nullptr);
    }
  }

  void Position(std::string_view key, std::string_view nameKey, ListPosition position, const ShownList& list) {
    Value(key, position);
    Companion(nameKey, list.At(position));
  }

 private:
  std::vector<FieldCell>& cells_;
  FieldLayout layout_;
};

}  // namespace

std::vector<FieldCell> RecordCells(const BushouRecord& record, const ShownLists& lists, FieldLayout layout) {
  std::vector<FieldCell> cells;
  cells.reserve(48);
  CellWriter write(cells, layout);
  write.Text("sei1", "sei1_hex", record.sei1);
  write.Text("mei1", "mei1_hex", record.mei1);
  write.Text("sei2", "sei2_hex", record.sei2);
  write.Text("mei2", "mei2_hex", record.mei2);
  write.Text("retuden", "retuden_hex", record.retuden);
  write.Value("seiji", record.seiji);
  write.Value("tousotu", record.tousotu);
  write.Value("tiryaku", record.tiryaku);
  write.Value("kyouyou", record.kyouyou);
  write.Value("giri", record.giri);
  if (layout == FieldLayout::Dump) {
    write.Value("tokugi", Json::array({record.tokugi[0], record.tokugi[1], record.tokugi[2]}));
    write.Companion("tokugi_names", Json::array({lists.skills.At(record.tokugi[0]), lists.skills.At(record.tokugi[1]),
                                                 lists.skills.At(record.tokugi[2])}));
  } else {
    static constexpr std::array<std::pair<std::string_view, std::string_view>, 3> kSkillKeys = {
        {{"tokugi1", "tokugi1_name"}, {"tokugi2", "tokugi2_name"}, {"tokugi3", "tokugi3_name"}}};
    for (std::size_t i = 0; i < kSkillKeys.size(); ++i) {
      write.Position(kSkillKeys[i].first, kSkillKeys[i].second, record.tokugi[i], lists.skills);
    }
  }
  write.Value("seibetu", record.seibetu);
  write.Value("tanjou", record.tanjou);
  write.Value("botu", record.botu);
  write.Value("jumyou", record.jumyou);
  write.Position("shutuji", "shutuji_name", record.shutuji, lists.origins);
  write.Position("sinjin", "sinjin_name", record.sinjin, lists.faiths);
  write.Position("Kyoten", "Kyoten_name", record.Kyoten, lists.bases);
  write.Position("Aishou", "Aishou_name", record.Aishou, lists.compatibility);
  const std::array<std::pair<std::string_view, ListPosition>, 3> references = {
      {{"Oya", record.Oya}, {"Tomo", record.Tomo}, {"Teki", record.Teki}}};
  static constexpr std::array<std::string_view, 3> kReferenceNames = {"Oya_name", "Tomo_name", "Teki_name"};
  for (std::size_t i = 0; i < references.size(); ++i) {
    if (lists.officers) {
      write.Position(references[i].first, kReferenceNames[i], references[i].second, *lists.officers);
    } else {
      write.Value(references[i].first, references[i].second);
    }
  }
  if (lists.faces) {
    write.Position("Kao", "Kao_name", record.Kao, *lists.faces);
  } else {
    write.Value("Kao", record.Kao);
  }
  return cells;
}

std::vector<std::string_view> TableKeys(const ShownLists& lists) {
  std::vector<std::string_view> keys;
  for (const FieldCell& cell : RecordCells(BushouRecord{}, lists, FieldLayout::Table)) {
    keys.push_back(cell.key);
  }
  return keys;
}

}  // namespace k4r::cli
