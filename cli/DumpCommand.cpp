// k4r dump: the decoded fields of officer files as JSON.

#include <CLI/CLI.hpp>
#include <memory>
#include <nlohmann/json.hpp>
#include <ostream>
#include <span>

#include "cli/CliSupport.h"
#include "cli/CommandParts.h"
#include "cli/Commands.h"
#include "core/bushou_file.h"
#include "core/bushou_record.h"

namespace k4r::cli {
namespace {

using Json = nlohmann::ordered_json;

constexpr const char* kDescription = "Print the fields of officer files as JSON";

constexpr const char* kDetails = R"(Output: with one FILE, one JSON object (indented); with several, JSON Lines:
one object per line, each starting with "file" (the FILE as given). A FILE that
cannot be read is reported on stderr, the others are still printed, and the
exit status is 1.

Keys, in this order, each followed by its companions:
  sei1 mei1 sei2 mei2 retuden   texts (family name, given name, their readings,
                                biography with its line breaks as stored)
  seiji tousotu tiryaku kyouyou giri   abilities (the stored byte, 0..255)
  tokugi        the three skill positions, tokugi_names their entries
  seibetu       the sex byte as a number (read only)
  tanjou botu   birth and death year; jumyou = botu - tanjou + 1
  shutuji sinjin Kyoten Aishou   origin, faith, base, compatibility positions,
                each with its entry beside it: shutuji_name .. Kyoten_name ..
  Oya Tomo Teki   father, friend, enemy (positions in the officer list; 0 none);
                Oya_name.. only with --officer-list
  Kao           face number; Kao_name only with --face-list
Positions are exactly what the file decodes to, also outside their list; a
name for a position outside its list is null.

Texts that do not convert to UTF-8 and back to the same bytes get an extra key
right after them, e.g. "sei1_hex", with the stored bytes in hexadecimal: bytes
that are not valid CP932 (each shown as U+FFFD in the string) or one of CP932's
duplicate codes (shown as its character). Without such a key, setting the text
as shown gives the same bytes back.

--face-file is accepted for symmetry with 'set' and not used by dump.
)";

void AddText(Json& object, const char* key, ByteView bytes) {
  ShownText shown = ShowCp932(bytes);
  object[key] = std::move(shown.utf8);
  if (!shown.exact) {
    object[std::string(key) + "_hex"] = HexOf(bytes);
  }
}

// The entries of one list as JSON, each converted once per run: thousands of
// files name the same few entries.
class ShownList {
 public:
  template <typename Entry>
  explicit ShownList(std::span<const Entry> entries)
      : entries_(entries.begin(), entries.end()), shown_(entries.size()) {}

  // The entry at `position`, or null outside the list.
  const Json& At(ListPosition position) const {
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

 private:
  std::vector<ByteView> entries_;
  mutable std::vector<std::optional<Json>> shown_;
};

struct ShownLists {
  ShownList skills{vocabulary::Skills().entries};
  ShownList origins{vocabulary::Origins().entries};
  ShownList faiths{vocabulary::Faiths().entries};
  ShownList bases{vocabulary::Bases().entries};
  ShownList compatibility{vocabulary::Compatibility().entries};
  std::optional<ShownList> officers, faces;

  explicit ShownLists(const LoadedNameLists& lists) {
    if (lists.officers) {
      officers.emplace(std::span<const ByteString>(*lists.officers));
    }
    if (lists.faces) {
      faces.emplace(std::span<const ByteString>(*lists.faces));
    }
  }
};

// `file` first when given: the key of a line of JSON Lines.
Json RecordToJson(const BushouRecord& record, const ShownLists& lists, const std::string* file) {
  Json object = Json::object();
  if (file != nullptr) {
    object["file"] = *file;
  }
  AddText(object, "sei1", record.sei1);
  AddText(object, "mei1", record.mei1);
  AddText(object, "sei2", record.sei2);
  AddText(object, "mei2", record.mei2);
  AddText(object, "retuden", record.retuden);
  object["seiji"] = record.seiji;
  object["tousotu"] = record.tousotu;
  object["tiryaku"] = record.tiryaku;
  object["kyouyou"] = record.kyouyou;
  object["giri"] = record.giri;
  object["tokugi"] = Json::array({record.tokugi[0], record.tokugi[1], record.tokugi[2]});
  object["tokugi_names"] = Json::array(
      {lists.skills.At(record.tokugi[0]), lists.skills.At(record.tokugi[1]), lists.skills.At(record.tokugi[2])});
  object["seibetu"] = record.seibetu;
  object["tanjou"] = record.tanjou;
  object["botu"] = record.botu;
  object["jumyou"] = record.jumyou;
  object["shutuji"] = record.shutuji;
  object["shutuji_name"] = lists.origins.At(record.shutuji);
  object["sinjin"] = record.sinjin;
  object["sinjin_name"] = lists.faiths.At(record.sinjin);
  object["Kyoten"] = record.Kyoten;
  object["Kyoten_name"] = lists.bases.At(record.Kyoten);
  object["Aishou"] = record.Aishou;
  object["Aishou_name"] = lists.compatibility.At(record.Aishou);
  const std::pair<const char*, ListPosition> references[] = {
      {"Oya", record.Oya}, {"Tomo", record.Tomo}, {"Teki", record.Teki}};
  for (const auto& [key, position] : references) {
    object[key] = position;
    if (lists.officers) {
      object[std::string(key) + "_name"] = lists.officers->At(position);
    }
  }
  object["Kao"] = record.Kao;
  if (lists.faces) {
    object["Kao_name"] = lists.faces->At(record.Kao);
  }
  return object;
}

std::string ToText(const Json& object, int indent) {
  // Arguments may be any bytes; never let a stray one abort the output.
  return object.dump(indent, ' ', false, Json::error_handler_t::replace);
}

struct DumpOptions {
  std::vector<std::string> files;
  NameListOptions lists;
};

int RunDump(const DumpOptions& options, std::ostream& out, std::ostream& err) {
  // The shown lists view the loaded ones, which must outlive them.
  const LoadedNameLists loaded = LoadNameLists(options.lists, err);
  const ShownLists lists(loaded);
  const bool single = options.files.size() == 1;
  int status = kExitOk;
  for (const std::string& file : options.files) {
    Result<ByteString> image = BushouFile::LoadFromFile(PathFromArgument(file));
    if (!image) {
      ReportFailure(err, image.failure());
      status = kExitFailure;
      continue;
    }
    const BushouRecord record = DecodeRecord(image.value());
    if (single) {
      out << ToText(RecordToJson(record, lists, nullptr), 2) << '\n';
    } else {
      out << ToText(RecordToJson(record, lists, &file), -1) << '\n';
    }
  }
  out.flush();
  return status;
}

}  // namespace

CommandEntry AddDumpCommand(CLI::App& app) {
  auto options = std::make_shared<DumpOptions>();
  CLI::App* command = app.add_subcommand("dump", kDescription);
  command->footer(kDetails);
  command->add_option("FILE", options->files, "Officer files (.K4R)")->required()->type_name("PATH ...");
  AddNameListOptions(*command, options->lists);
  return {command, [options](std::ostream& out, std::ostream& err) { return RunDump(*options, out, err); }};
}

}  // namespace k4r::cli
