// k4r find: one find-next search, as the search dialogs run it.

#include <CLI/CLI.hpp>
#include <algorithm>
#include <cstdint>
#include <limits>
#include <memory>
#include <ostream>
#include <string>

#include "bridge/Cp932.h"
#include "bridge/Messages.h"
#include "cli/CliSupport.h"
#include "cli/CommandParts.h"
#include "cli/Commands.h"
#include "core/FindInList.h"
#include "core/Messages.h"
#include "core/NameList.h"
#include "core/Vocabulary.h"

namespace k4r::cli {
namespace {

constexpr const char* kDescription = "Find the next list entry containing a text, as the search dialogs do";

constexpr const char* kDetails = R"(LIST is the word "bases" (the 100 home bases) or the path of a name list file
(CP932, one entry per line). TEXT is matched byte for byte in code page 932,
from the entry after --from to the end of the first SPAN entries and then once
more from the top; a match may run over the end of an entry.

Output and exit status:
  POSITION ENTRY   the entry to select, e.g. "4 内城"              exit 0
  no change        the match begins beyond the span                 exit 0
  ”TEXT”　は見つかりませんでした。   nothing found (the dialog's text)     exit 1

SPAN defaults to 100 for bases, 1113 for a file named BUSHOU.DAT, 1000 for
KAO.DAT and the number of entries for any other file. --from -1 (the default)
means nothing is selected. A file literally named "bases" is given as ./bases.
)";

struct FindOptions {
  std::string list;
  std::string text;
  std::int32_t from = kNoSelection;
  std::int32_t span = 0;  // 0: the list's default
};

bool NamedLike(const std::filesystem::path& path, std::string_view name) {
  const std::string actual = path.filename().string();
  return std::equal(actual.begin(), actual.end(), name.begin(), name.end(), [](char a, char b) {
    const auto upper = [](char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; };
    return upper(a) == upper(b);
  });
}

int RunFind(const FindOptions& options, std::ostream& out, std::ostream& err) {
  const std::optional<ByteString> pattern = Cp932FromUtf8(options.text);
  if (!pattern) {
    err << "k4r find: TEXT cannot be written in code page 932\n";
    return kExitUsage;
  }

  NameList entries;
  std::int32_t defaultSpan = 0;
  if (options.list == "bases") {
    const Vocabulary& bases = vocabulary::Bases();
    entries.assign(bases.entries.begin(), bases.entries.end());
    defaultSpan = search_span::kBases;
  } else {
    const std::filesystem::path path = PathFromArgument(options.list);
    NameListLoad load = LoadNameList(path);
    if (load.outcome == NameListLoad::Outcome::Missing) {
      ReportFailure(err, messages::CannotOpen(path));
      return kExitFailure;
    }
    if (load.outcome == NameListLoad::Outcome::Unreadable) {
      ReportFailure(err, load.failure);
      return kExitFailure;
    }
    entries = std::move(load.entries);
    if (NamedLike(path, kOfficerListFile)) {
      defaultSpan = search_span::kOfficers;
    } else if (NamedLike(path, kFaceListFile)) {
      defaultSpan = search_span::kFaces;
    } else {
      defaultSpan = static_cast<std::int32_t>(std::min<std::size_t>(entries.size(), INT32_MAX));
    }
  }

  // Positions past the list's end own nothing of the joined text, so a span
  // beyond one past the end gives the same outcome for every selection; the
  // cut keeps a huge --span from costing memory for nothing.
  const std::int64_t listEnd = static_cast<std::int64_t>(entries.size()) + 1;
  const std::int32_t requested = options.span > 0 ? options.span : defaultSpan;
  const auto span = static_cast<std::int32_t>(std::min<std::int64_t>(requested, listEnd));

  const ByteString joined = JoinEntries(entries);
  const FindOutcome outcome = FindInList(entries, options.from, span, joined, *pattern);
  switch (outcome.kind) {
    case FindOutcome::Kind::Select:
      out << outcome.position << ' ' << Utf8FromCp932(EntryAt(entries, outcome.position)) << '\n';
      return kExitOk;
    case FindOutcome::Kind::NoChange: out << "no change\n"; return kExitOk;
    case FindOutcome::Kind::NotFound: break;
  }
  // The dialog shows what was typed; here that is TEXT as CP932 read back.
  out << bridge::NotFoundText(bridge::FromCp932(*pattern)).toStdString() << '\n';
  return kExitFailure;
}

}  // namespace

CommandEntry AddFindCommand(CLI::App& app) {
  auto options = std::make_shared<FindOptions>();
  CLI::App* command = app.add_subcommand("find", kDescription);
  command->footer(kDetails);
  command->add_option("LIST", options->list, "\"bases\" or a name list file")->required()->type_name("bases|PATH");
  command->add_option("TEXT", options->text, "The text to find (UTF-8)")->required()->type_name("UTF-8");
  command->add_option("--from", options->from, "The selected position the search continues from (-1: none)")
      ->type_name("K")
      ->check(CLI::Range(-1, std::numeric_limits<std::int32_t>::max()).description(""));
  command->add_option("--span", options->span, "How many positions the search covers")
      ->type_name("N")
      ->check(CLI::Range(1, std::numeric_limits<std::int32_t>::max()).description(""));
  return {command,
          [options](std::istream&, std::ostream& out, std::ostream& err) { return RunFind(*options, out, err); }};
}

}  // namespace k4r::cli
