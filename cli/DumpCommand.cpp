// k4r dump: the decoded fields of officer files as JSON or as a CSV table.

#include <CLI/CLI.hpp>
#include <memory>
#include <ostream>

#include "cli/CliSupport.h"
#include "cli/CommandParts.h"
#include "cli/Commands.h"
#include "cli/CsvWriter.h"
#include "cli/FieldHelp.h"
#include "cli/RecordCells.h"
#include "core/BushouFile.h"
#include "core/BushouRecord.h"

namespace k4r::cli {
namespace {

constexpr const char* kDescription = "Print the fields of officer files as JSON or as a CSV table";

constexpr const char* kOutput = R"(Output: with one FILE, one JSON object (indented); with several, JSON Lines:
one object per line, each starting with "file" (the FILE as given). A FILE that
cannot be read is reported on stderr, the others are still printed, and the
exit status is 1.

Keys, in this order, each followed by its companions:
)";

constexpr const char* kValues = R"(Texts keep their line breaks as stored. Positions are exactly what the file
decodes to, also outside their list; a name for a position outside its list
is null.

Texts that do not convert to UTF-8 and back to the same bytes get an extra key
right after them, e.g. "sei1_hex", with the stored bytes in hexadecimal: bytes
that are not valid CP932 (each shown as U+FFFD in the string) or one of CP932's
duplicate codes (shown as its character). Without such a key, setting the text
as shown gives the same bytes back.

With --csv: a table for spreadsheet programs, one row per FILE under a header
row. Columns: "file" (the FILE as given), then the keys above in their order,
with the skills as tokugi1 tokugi1_name .. tokugi3 tokugi3_name and every text
followed by its _hex column (empty when the text shows its bytes exactly); a
name outside its list is an empty cell. UTF-8 with a byte-order mark, CR LF
row ends, RFC 4180 quoting (a cell holding a comma, a double quote or a line
break is put in double quotes, its quotes doubled). 'k4r set --from-csv'
reads the table back; it takes a relative "file" from the table's folder, so
keep the table in the folder the dump ran in, or give absolute FILEs.

--face-file is accepted for symmetry with 'set' and not used by dump.

Examples:
  k4r dump ~/k4r-demo/SAMPLE1.K4R
  k4r dump ~/k4r-demo/*.K4R > officers.jsonl
  cd ~/k4r-demo && k4r dump --csv --officer-list BUSHOU.DAT --face-list KAO.DAT *.K4R > officers.csv
)";

// `file` first when given: the key of a line of JSON Lines.
std::string Details() {
  return std::string(kOutput) + DumpFieldHelp() + kValues;
}

Json RecordToJson(const BushouRecord& record, const ListViews& lists, const std::string* file) {
  Json object = Json::object();
  if (file != nullptr) {
    object["file"] = *file;
  }
  for (FieldCell& cell : RecordCells(record, lists, FieldLayout::Dump)) {
    object[std::string(cell.key)] = std::move(cell.value);
  }
  return object;
}

// One row of the CSV dump: the file as given, then every cell.
std::string RecordToCsv(const BushouRecord& record, const ListViews& lists, const std::string& file) {
  std::string row;
  row.reserve(512);
  AppendCsvField(row, file);
  for (const FieldCell& cell : RecordCells(record, lists, FieldLayout::Table)) {
    row += ',';
    AppendCsvValue(row, cell.value);
  }
  row += "\r\n";
  return row;
}

std::string ToText(const Json& object, int indent) {
  // Arguments may be any bytes; never let a stray one abort the output.
  return object.dump(indent, ' ', false, Json::error_handler_t::replace);
}

struct DumpOptions {
  std::vector<std::string> files;
  NameListOptions lists;
  bool csv = false;
};

int RunDump(const DumpOptions& options, std::ostream& out, std::ostream& err) {
  // The shown lists view the loaded ones, which must outlive them.
  const LoadedNameLists loaded = LoadNameLists(options.lists, err);
  const ListViews lists(loaded);
  const bool single = options.files.size() == 1 && !options.csv;
  if (options.csv) {
    std::vector<std::string_view> header{"file"};
    const std::vector<std::string_view> keys = TableKeys(lists);
    header.insert(header.end(), keys.begin(), keys.end());
    out << kUtf8ByteOrderMark << CsvRow(header);
  }
  int status = kExitOk;
  for (const std::string& file : options.files) {
    Result<ByteString> image = BushouFile::LoadFromFile(PathFromArgument(file));
    if (!image) {
      ReportFailure(err, image.failure());
      status = kExitFailure;
      continue;
    }
    const BushouRecord record = DecodeRecord(image.value());
    if (options.csv) {
      out << RecordToCsv(record, lists, file);
    } else if (single) {
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
  command->footer(Details());
  command->add_option("FILE", options->files, "Officer files (.K4R)")->required()->type_name("PATH ...");
  AddNameListOptions(*command, options->lists);
  command->add_flag("--csv", options->csv, "One CSV table for spreadsheets instead of JSON (see below)");
  return {command,
          [options](std::istream&, std::ostream& out, std::ostream& err) { return RunDump(*options, out, err); }};
}

}  // namespace k4r::cli
