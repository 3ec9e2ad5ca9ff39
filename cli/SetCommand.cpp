// k4r set: open an officer file as the editor does, change fields, save it.

#include <CLI/CLI.hpp>
#include <istream>
#include <memory>
#include <optional>
#include <ostream>
#include <sstream>
#include <string>
#include <vector>

#include "cli/CliSupport.h"
#include "cli/CommandParts.h"
#include "cli/Commands.h"
#include "cli/FieldHelp.h"
#include "cli/ListViews.h"
#include "cli/SetBatch.h"
#include "cli/SetRecordInput.h"
#include "cli/SetValues.h"
#include "core/BushouFile.h"
#include "core/FileRead.h"
#include "core/Messages.h"
#include "core/OfficerFile.h"

namespace k4r::cli {
namespace {

constexpr const char* kDescription = "Change fields of an officer file and save it as the editor does";

constexpr const char* kUsage = R"(Three ways to call it:
  k4r set FILE [NAME=VALUE...]        change fields of one file
  k4r set FILE --from-json PATH       apply one object of 'k4r dump' to FILE
  k4r set --from-json LINES.jsonl     apply each line of a several-file dump
  k4r set --from-csv TABLE.csv        apply each row of 'k4r dump --csv'
Each file is opened and saved exactly as the editor opens and saves it (no
"固定" box checked); with nothing to change, that writes the editor's normal
forms of the fields back. Everything given is checked before any file is
written: one refused value, in any row, and no file changes (exit status 1).
A batch then writes every new file beside its old one and flushes them to
the disk together before the first takes its file's place, so that a full
disk part-way also changes nothing; only a failed rename, which is rare,
leaves some files new, and the message lists them. A batch that runs over
a second shows its progress on stderr while that is a terminal (-q: never).

Names (the same as in 'k4r dump'):
)";

constexpr const char* kRules = R"(Numbers are decimal or hexadecimal after "$", "0x" or "0X", 32-bit, with an
optional sign; the save refuses what the file cannot hold as given. Texts
are UTF-8 and must be expressible in code page 932.

A list field takes a position, or the text of an entry: the whole entry,
compared as code page 932 bytes (so 〜 and ～ are the same character). A value
that is a number is a position; -1 is no selection, and a position outside
its list is refused. A name that no entry is, or that several entries are
(name lists can repeat names), is refused with the entries that contain it
or the positions that hold it. Names of officers need --officer-list, of
faces --face-list.

As in the editor, the officer references are read and written only when
--officer-list names a readable list (its lines are the list), and the face
number is written only when --face-list names a readable list and --face-file
an existing file; setting them otherwise is refused.

--from-json and --from-csv take the keys of 'k4r dump', any subset of them:
  - "X_name" (and the skills' names array, or tokugi1_name.. in a table) sets
    the list field X by name when X is not given; given both, they must agree.
  - botu and jumyou given together must agree with tanjou (the given one, or
    the file's).
  - seibetu is accepted when it equals the file's, refused otherwise.
  - "X_hex" gives a text's bytes in hexadecimal; with X, they must agree.
  - A field whose values equal what 'k4r dump' shows for the file keeps the
    file's value, so a file's own dump changes nothing beyond the normal
    forms of a save; other values follow the rules of NAME=VALUE.
  - "file" names the file to change, relative to the folder of the JSON Lines
    or table (the working folder for '-') unless absolute; it is ignored when
    FILE is given.
In a table, an empty cell leaves its field alone; rows are counted as a
spreadsheet shows them (the header is row 1); a position column also takes
an entry's name. A CSV table is RFC 4180, with CR LF or LF row ends, in
UTF-8 (with or without a byte-order mark) or, when it is not valid UTF-8, in
code page 932, as Japanese Windows spreadsheet programs save "CSV";
--encoding says which. A workbook is read from its first sheet. Line breaks
in a text may be LF, CR LF or CR, and a _hex value may have spaces between
its bytes. A text that a spreadsheet program rewrote on its way through
(00000007 as 7, 12:30 as 12:30:00, a date in another form, a formula's
result) is refused: 'k4r dump --xlsx' keeps texts as text. A message names
the row (line for JSON Lines), the column (key) and the value.

Examples:
  k4r set SAMPLE1.K4R seiji=90 giri=0x5A tanjou=1530 mei1=太郎
  k4r set SAMPLE1.K4R Kyoten=江戸城 tokugi1=軍神 tokugi2=（なし） sinjin=一向宗
  k4r set SAMPLE1.K4R --officer-list BUSHOU.DAT Oya=（なし）
  k4r dump SAMPLE1.K4R > one.json      # edit one.json, then:
  k4r set SAMPLE1.K4R --from-json one.json
  k4r dump --xlsx -o table.xlsx *.K4R  # edit it in a spreadsheet, then:
  k4r set --from-xlsx table.xlsx --officer-list BUSHOU.DAT
  k4r dump --csv *.K4R > table.csv     # for scripts; then:
  k4r set --from-csv table.csv
)";

std::string Details() {
  return std::string(kUsage) + SetFieldHelp() + kRules;
}

struct Assignment {
  const RecordField* field = nullptr;
  std::string value;
};

// Checks every NAME=VALUE before any file is touched; a usage error names the
// offending argument.
std::optional<std::string> ParseAssignments(const std::vector<std::string>& arguments,
                                            std::vector<Assignment>& assignments) {
  for (const std::string& argument : arguments) {
    const std::size_t equals = argument.find('=');
    if (equals == std::string::npos) {
      return messages::Quoted(argument) + " is not NAME=VALUE";
    }
    const std::string_view name = std::string_view(argument).substr(0, equals);
    const RecordField* field = FieldByKey(name);
    if (field == nullptr) {
      return "unknown field '" + std::string(name) + "' (see k4r set --help for the names)";
    }
    if (field->kind == FieldKind::RawByte) {
      return std::string(field->key) + " is read only: the sex byte is never written";
    }
    assignments.push_back({field, argument.substr(equals + 1)});
  }
  return std::nullopt;
}

struct SetOptions {
  std::string file;
  std::vector<std::string> assignments;
  std::string fromJson;
  std::string fromCsv;
  std::string fromXlsx;
  std::string encoding;  // of the CSV table; empty: detected
  bool quiet = false;
  NameListOptions lists;
};

int UsageError(std::ostream& err, std::string_view problem) {
  err << "k4r set: " << problem << "\nRun with --help for more information.\n";
  return kExitUsage;
}

int RunAssignments(const SetOptions& options, std::ostream& err) {
  std::vector<Assignment> assignments;
  if (const std::optional<std::string> problem = ParseAssignments(options.assignments, assignments)) {
    return UsageError(err, *problem);
  }

  const LoadedNameLists lists = LoadNameLists(options.lists, err);
  const ListViews views(lists);
  const std::filesystem::path path = PathFromArgument(options.file);

  BushouRecord record;
  BushouFile file;
  if (const Status loaded = LoadOfficerRecord(path, file, record, lists.availability, lists.Sizes()); !loaded) {
    ReportFailure(err, loaded.failure());
    return kExitFailure;
  }

  for (const Assignment& assignment : assignments) {
    if (const Status applied = SetFromArgument(*assignment.field, assignment.value, record, views); !applied) {
      ReportFailure(err, Labelled(assignment.field->key, applied.failure()));
      return kExitFailure;
    }
  }

  if (const Status saved = SaveOfficerRecord(path, file, record, lists.availability); !saved) {
    ReportFailure(err, saved.failure());
    return kExitFailure;
  }
  return kExitOk;
}

// The whole input of --from-json or --from-csv: a file, or "-" for stdin.
Result<ByteString> ReadInput(const std::string& argument, std::istream& in) {
  if (argument == "-") {
    std::ostringstream content;
    content << in.rdbuf();
    if (in.bad()) {
      return Failure{messages::ReadError()};
    }
    return std::move(content).str();
  }
  return ReadWholeFile(PathFromArgument(argument));
}

// Names in a table or in JSON Lines count from the input's own folder, so
// that a table beside its files works from anywhere.
std::filesystem::path FolderOf(const std::string& argument) {
  return argument == "-" ? std::filesystem::path() : PathFromArgument(argument).parent_path();
}

TableEncoding EncodingOf(const std::string& option) {
  if (option == "utf-8") {
    return TableEncoding::Utf8;
  }
  return option == "cp932" ? TableEncoding::Cp932 : TableEncoding::Detect;
}

Result<std::vector<BatchItem>> ReadItems(const SetOptions& options, std::istream& in) {
  if (!options.fromXlsx.empty()) {
    return ItemsFromXlsx(PathFromArgument(options.fromXlsx), options.fromXlsx, FolderOf(options.fromXlsx));
  }
  const bool csv = !options.fromCsv.empty();
  const std::string& argument = csv ? options.fromCsv : options.fromJson;
  const Result<ByteString> content = ReadInput(argument, in);
  if (!content) {
    return content.failure();
  }
  const std::string source = argument == "-" ? "stdin" : argument;
  if (csv) {
    return ItemsFromCsv(content.value(), source, FolderOf(argument), EncodingOf(options.encoding));
  }
  std::optional<std::filesystem::path> file;
  if (!options.file.empty()) {
    file = PathFromArgument(options.file);
  }
  return ItemsFromJson(content.value(), source, file, FolderOf(argument));
}

int RunFromInput(const SetOptions& options, std::istream& in, std::ostream& err) {
  const bool table = !options.fromCsv.empty() || !options.fromXlsx.empty();
  if (!options.assignments.empty() || (table && !options.file.empty())) {
    return UsageError(err, table ? "--from-csv and --from-xlsx take neither FILE nor NAME=VALUE: the table's \"file\" "
                                   "column names the files"
                                 : "--from-json takes no NAME=VALUE");
  }
  if (!options.encoding.empty() && options.fromCsv.empty()) {
    return UsageError(err, "--encoding is for --from-csv");
  }
  // Started before the input is read: reading a long table counts too.
  Progress progress(err, options.quiet, "k4r set");
  const Result<std::vector<BatchItem>> items = ReadItems(options, in);
  if (!items) {
    ReportFailure(err, items.failure());
    return kExitFailure;
  }
  const LoadedNameLists lists = LoadNameLists(options.lists, err);
  const ListViews views(lists);
  return ApplyBatch(items.value(), views, err, progress);
}

int RunSet(const SetOptions& options, std::istream& in, std::ostream& err) {
  if (!options.fromJson.empty() || !options.fromCsv.empty() || !options.fromXlsx.empty()) {
    return RunFromInput(options, in, err);
  }
  if (options.file.empty()) {
    return UsageError(err, "FILE is required (or --from-json, --from-csv, --from-xlsx)");
  }
  return RunAssignments(options, err);
}

}  // namespace

CommandEntry AddSetCommand(CLI::App& app) {
  auto options = std::make_shared<SetOptions>();
  CLI::App* command = app.add_subcommand("set", kDescription);
  command->footer(Details());
  command->add_option("FILE", options->file, "Officer file (.K4R), overwritten in place")->type_name("PATH");
  command->add_option("ASSIGNMENTS", options->assignments, "Fields to change, as NAME=VALUE (see below)")
      ->type_name("NAME=VALUE");
  CLI::Option* json = command
                          ->add_option("--from-json", options->fromJson,
                                       "A 'k4r dump' object for FILE, or without FILE its JSON Lines ('-': stdin)")
                          ->type_name("PATH");
  CLI::Option* csv =
      command->add_option("--from-csv", options->fromCsv, "A 'k4r dump --csv' table, one row per file ('-': stdin)")
          ->type_name("TABLE")
          ->excludes(json);
  command
      ->add_option("--from-xlsx", options->fromXlsx,
                   "A 'k4r dump --xlsx' workbook (its first sheet), one row per file, as --from-csv")
      ->type_name("WORKBOOK")
      ->excludes(json)
      ->excludes(csv);
  command
      ->add_option("--encoding", options->encoding,
                   "The CSV table's encoding; without it, UTF-8 when it has a byte-order mark or is valid UTF-8, "
                   "else code page 932")
      ->check(CLI::IsMember({"utf-8", "cp932"}));
  AddQuietOption(*command, options->quiet);
  AddNameListOptions(*command, options->lists);
  return {command, [options](std::istream& in, std::ostream&, std::ostream& err) { return RunSet(*options, in, err); }};
}

}  // namespace k4r::cli
